// Entry point of the application-shell tests. Started with "--shell REPORT
// ACTION" the program is Celvane itself (the whole start-up, message loop
// and shutdown) for the tests that run it as a second process: once the
// loop runs, it writes which view is shown to REPORT and then, for the
// action "ctrlq", presses Ctrl+Q; for "stay" it waits to be closed.
#include "tests/wine/wine_test_main.h"

#include "app/base_window.h"
#include "app/shell.h"
#include "data/platform.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <cstdio>

namespace {

std::u16string g_report;
std::u16string g_action;

void Press(WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void CALLBACK Started(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    int shown = -1;
    for (int mode : {UI::kViewCompass, UI::kViewSky, UI::kViewTwilight}) {
        UI::CelvaneBaseWindow* w = UI::MainWindow(mode);
        if (w && IsWindowVisible(w->GetHandle())) shown = mode;
    }
    if (std::FILE* f = PL::Current().OpenFile(g_report, "wb")) {
        std::fprintf(f, "view=%d\n", shown);
        std::fclose(f);
    }
    if (g_action == u"ctrlq") {
        UI::CelvaneBaseWindow* w = UI::MainWindow(shown);
        if (w) SetForegroundWindow(w->GetHandle());
        Press(VK_CONTROL, false);
        Press('Q', false);
        Press('Q', true);
        Press(VK_CONTROL, true);
    }
}

}  // namespace

extern "C" int wmain(int argc, WCHAR** argv) {
    const std::u16string mode = argc >= 2 ? U16(argv[1]) : std::u16string();
    if (mode == u"--shell" && argc >= 4) {
        g_report = U16(argv[2]);
        g_action = U16(argv[3]);
        // Fires once the message loop runs.
        SetTimer(nullptr, 0, 200, Started);
        const int code = UI::CelvaneMain(GetModuleHandleW(nullptr));
        std::fflush(stdout);
        ExitProcess(static_cast<UINT>(code));
    }

    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    winetest::RunAllTestsAndExit(argc, argv);
}
