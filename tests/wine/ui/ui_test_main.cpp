// Entry point of the window-library tests. Besides running the tests, the
// program plays the second process of the fatal-error tests when started
// with one of their switches.
#include "tests/wine/wine_test_main.h"

#include "data/platform.h"
#include "layout/items.h"
#include "winlib/mwcl.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

extern "C" int wmain(int argc, WCHAR** argv) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);

    const std::u16string mode = argc >= 2 ? U16(argv[1]) : std::u16string();
    if (mode == u"--fatal-registration") {
        // The library's first class name is taken: registering it must end the process.
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = W(u"mwcl$1");
        RegisterClassW(&wc);
        mwcl::WindowClass cls(0, nullptr);
        return 0;  // not reached when the failure is fatal
    }

    if (mode == u"--fatal-bitmap-dc") {
        // A bitmap item over a screen context must stop the program.
        UI::Layout::BitmapItem item(GetDC(nullptr), false);
        return 0;  // not reached when the failure is fatal
    }

    winetest::RunAllTestsAndExit(argc, argv);
}
