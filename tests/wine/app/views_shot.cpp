// Shows the compass or the twilight view for a screenshot: the scenes of the
// pictures in docs/screenshots, with the preferences set in memory (no
// preferences file is read or written).
//   celvane_views_shot <scene> <ready-file> [exit-after-ms]
// Scenes: compass (the Moon current, planets in the list), compass-south
// (south up, magnetic azimuths), twilight (Vienna, midsummer), twilight-polar
// (70 degrees north, midsummer). The ready file is written once the window
// has painted.
#include "app/shell.h"
#include "data/messages.h"
#include "data/starcatalog.h"
#include "settings/preferences.h"
#include "views/compass_window.h"
#include "views/twilight_window.h"
#include "winlib/platform_win32.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::u16string g_ready;

void CALLBACK Ready(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (std::FILE* f = PL::Current().OpenFile(g_ready, "wb")) std::fclose(f);
}

void CALLBACK Quit(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
}

}  // namespace

extern "C" int wmain(int argc, WCHAR** argv) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    mwcl::SetInstance(GetModuleHandleW(nullptr));
    if (argc < 3) {
        std::fprintf(stderr, "usage: celvane_views_shot <scene> <ready-file> [exit-after-ms]\n");
        return 2;
    }
    const std::u16string scene = U16(argv[1]);
    g_ready = U16(argv[2]);
    const UINT exitAfter = argc >= 4 ? static_cast<UINT>(std::atoi(PL::ToUtf8(U16(argv[3])).c_str())) : 30000;
    Data::SetUserLangId(GetUserDefaultLangID());

    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.time.useCurrentTime = false;
    prefs.place = Calc::Place();
    prefs.place.timeZone = 60;
    const bool twilight = scene == u"twilight" || scene == u"twilight-polar";
    if (scene == u"compass" || scene == u"compass-south") {
        prefs.place.name = u"Berlin";
        prefs.place.latitude = 52.52f;
        prefs.place.longitude = -13.40f;
        prefs.place.elevation = 34;
        prefs.dstAdjust = 0;
        prefs.time.time = Calc::FromCalendar(2026, 3, 28, 19, 30);
        for (int i = 0; i < Data::kCompassSlots; ++i) {
            prefs.compass[i].object = i < 10 ? Data::AstroObjRef(Data::kObjBody, i) : Data::AstroObjRef();
            prefs.compassHide[i] = i >= 7;
        }
        prefs.compassSelection = 1;  // the Moon
        prefs.origin = scene == u"compass-south";
        prefs.magnetic = scene == u"compass-south" ? 1 : 0;
    } else if (twilight) {
        // Vienna, or an unnamed place whose coordinates the page shows.
        prefs.place.name = scene == u"twilight" ? u"Wien" : u"";
        prefs.place.latitude = scene == u"twilight" ? 48.21f : 70.0f;
        prefs.place.longitude = scene == u"twilight" ? -16.37f : -19.0f;
        prefs.dstAdjust = 1;
        prefs.time.time = Calc::FromCalendar(2026, 6, 21, 10, 0);
    } else {
        std::fprintf(stderr, "unknown scene\n");
        return 2;
    }
    UI::ApplyPreferences();

    mwcl::WindowClass windowClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    std::unique_ptr<UI::CelvaneBaseWindow> view;
    if (twilight)
        view.reset(new UI::TwilightWindow());
    else
        view.reset(new UI::CompassWindow());
    view->Create(windowClass, nullptr, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    const int w = UI::ScaledPixels(twilight ? 420 : 560), h = UI::ScaledPixels(twilight ? 460 : 440);
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    SetWindowPos(view->GetHandle(), nullptr, UI::ScaledPixels(24), UI::ScaledPixels(24), r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER);
    ShowWindow(view->GetHandle(), SW_SHOW);
    SetForegroundWindow(view->GetHandle());
    UpdateWindow(view->GetHandle());
    SetTimer(nullptr, 0, 800, Ready);
    SetTimer(nullptr, 0, exitAfter, Quit);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    view->Destroy();
    return 0;
}
