// Shows one settings dialog for a screenshot: the dialog opens as the
// program opens it, its window rectangle is written to the ready file, and
// it closes once the photographer leaves "<ready>.done" beside it.
//   celvane-dialog-shot --dialog NAME --ready FILE [--files FOLDER]
// NAME: settime, timestep, placeedit, placechoose, magdecl, activefiles,
// skyview, skyview2, compassobj, viewdirection.
#include "app/active_files_dialog.h"
#include "app/compass_objects_dialog.h"
#include "app/magdecl_dialog.h"
#include "app/place_dialogs.h"
#include "app/settime_dialog.h"
#include "app/shell.h"
#include "app/skyview_settings_dialog.h"
#include "data/messages.h"
#include "data/objectfiles.h"
#include "settings/places.h"
#include "settings/preferences.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

mwcl::Dialog* g_dialog = nullptr;
std::u16string g_ready;
DWORD g_started = 0;
bool g_reported = false;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_dialog || !g_dialog->GetHandle()) return;
    HWND d = g_dialog->GetHandle();
    if (!g_reported && GetTickCount() - g_started > 1200) {
        RECT r;
        GetWindowRect(d, &r);
        const std::u16string tmp = g_ready + u".tmp";
        if (std::FILE* f = PL::Current().OpenFile(tmp, "wb")) {
            std::fprintf(f, "%d %d %d %d\n", static_cast<int>(r.left), static_cast<int>(r.top),
                         static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top));
            std::fclose(f);
            PL::Current().MoveFile(tmp, g_ready);
        }
        g_reported = true;
    }
    if ((g_reported && PL::Current().FileExists(g_ready + u".done")) || GetTickCount() - g_started > 30000)
        PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
}

void CALLBACK ShowSecondPage(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_dialog && g_dialog->GetHandle()) static_cast<UI::SkyViewSettingsDialog*>(g_dialog)->ShowPage(1);
}

}  // namespace

extern "C" int wmain(int argc, WCHAR** argv) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    mwcl::SetInstance(GetModuleHandleW(nullptr));
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    Data::SetUserLangId(GetUserDefaultLangID());
    std::u16string name, files;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::u16string key = U16(argv[i]);
        if (key == u"--dialog") name = U16(argv[i + 1]);
        if (key == u"--ready") g_ready = U16(argv[i + 1]);
        if (key == u"--files") files = U16(argv[i + 1]);
    }

    // A fixed evening at a place with a zone and summer time of its own.
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.place = Data::DefaultPlace();
    prefs.place.name = u"Zürich";
    prefs.place.latitude = 47.37f;
    prefs.place.longitude = -8.54f;
    prefs.place.timeZone = 60;
    prefs.place.region = Data::kUserDefinedRegion;
    prefs.dstAdjust = 1;
    prefs.time.useCurrentTime = false;
    prefs.time.time = Calc::FromCalendar(2026, 3, 20, 20, 30, 0);
    prefs.time.step = 3600;
    UI::ApplyPreferences();
    if (!files.empty()) {
        WCHAR temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        Data::ObjectFileManagerBase::SetFolders(files, U16(temp));
        Data::UserObjectFiles().Load(u"Messier", false);
    }

    std::unique_ptr<mwcl::Dialog> dialog;
    if (name == u"settime") {
        auto* d = new UI::SetTimeDialog();
        d->SetTimeSettings(prefs.time);
        dialog.reset(d);
    } else if (name == u"timestep") {
        auto* d = new UI::TimeStepDialog();
        d->SetTimeSettings(prefs.time);
        dialog.reset(d);
    } else if (name == u"placeedit") {
        auto* d = new UI::PlaceEditDialog();
        d->SetPlace(prefs.place, prefs.dstAdjust);
        dialog.reset(d);
    } else if (name == u"placechoose") {
        auto* d = new UI::PlaceChooseDialog();
        d->SetPlace(Data::DefaultPlace());
        dialog.reset(d);
    } else if (name == u"magdecl") {
        auto* d = new UI::MagneticDeclinationDialog();
        d->SetMagnetic(true);
        dialog.reset(d);
    } else if (name == u"activefiles") {
        dialog.reset(new UI::ActiveFilesDialog());
    } else if (name == u"skyview" || name == u"skyview2") {
        auto* d = new UI::SkyViewSettingsDialog();
        d->SetSettings(prefs.display);
        dialog.reset(d);
    } else if (name == u"compassobj") {
        // A few slots filled, one hidden, the rest empty.
        for (int i = 0; i < 6; ++i) prefs.compass[i].object = Data::AstroObjRef(Data::kObjBody, i);
        prefs.compass[6].object = Data::AstroObjRef(Data::kObjConstellation, 56);
        prefs.compassHide[3] = true;
        dialog.reset(new UI::CompassObjDialog());
    } else if (name == u"viewdirection") {
        auto* d = new UI::SetViewDirectionDialog();
        d->SetDirection(135.5f, 32.25f);
        dialog.reset(d);
    } else {
        std::fprintf(stderr, "unknown dialog\n");
        return 2;
    }
    g_dialog = dialog.get();
    g_started = GetTickCount();
    if (name == u"skyview2") SetTimer(nullptr, 0, 300, ShowSecondPage);
    SetTimer(nullptr, 0, 100, Tick);
    const INT_PTR result = dialog->DoModal(nullptr);
    return result < 0 ? 1 : 0;
}
