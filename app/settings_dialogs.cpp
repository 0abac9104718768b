#include "app/settings_dialogs.h"

#include "app/active_files_dialog.h"
#include "app/magdecl_dialog.h"
#include "app/place_dialogs.h"
#include "app/settime_dialog.h"
#include "app/shell.h"
#include "data/objectfiles.h"
#include "winlib/wstr.h"

namespace UI {

SettingsMessageFunction& SettingsMessageHook() {
    static SettingsMessageFunction hook;
    return hook;
}

int ShowSettingsMessage(HWND owner, const std::u16string& text, UINT flags, const char16_t* caption) {
    if (SettingsMessageHook()) return SettingsMessageHook()(owner, text, flags);
    return MessageBoxW(owner, W(text), caption ? W(caption) : nullptr, flags);
}

SettingsHelpFunction& SettingsHelpHook() {
    static SettingsHelpFunction hook;
    return hook;
}

void ShowSettingsHelp(const std::u16string& topic) {
    if (SettingsHelpHook()) {
        SettingsHelpHook()(topic);
        return;
    }
    ShowHelp(topic);
}

RECT ChildRect(HWND dialog, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int PlaceButtonsBottomRight(HWND dialog, int* margin) {
    const SIZE client = mwcl::GetClientSize(dialog);
    RECT unit{7, 0, 50, 14};  // margin, button width and height in dialog units
    MapDialogRect(dialog, &unit);
    const int m = unit.left, bw = unit.right, bh = unit.bottom;
    const int top = client.cy - m - bh;
    int right = client.cx - m;
    for (int id : {IDCANCEL, IDOK}) {
        if (HWND button = GetDlgItem(dialog, id)) {
            MoveWindow(button, right - bw, top, bw, bh, TRUE);
            right -= bw + m;
        }
    }
    if (margin) *margin = m;
    return top - m / 2;
}

bool RunLocationCommand(HWND owner) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    PlaceEditDialog dialog;
    dialog.SetPlace(prefs.place, prefs.dstAdjust);
    if (dialog.DoModal(owner) != IDOK) return false;
    prefs.place = dialog.GetPlace();
    prefs.dstAdjust = dialog.GetMode();
    ApplyPreferences();
    return true;
}

bool RunSetTimeDialog(HWND owner, Data::TimeSettings& time) {
    SetTimeDialog dialog;
    dialog.SetTimeSettings(time);
    if (dialog.DoModal(owner) != IDOK) return false;
    time = dialog.GetTimeSettings();
    return true;
}

bool RunTimeStepDialog(HWND owner, Data::TimeSettings& time) {
    TimeStepDialog dialog;
    dialog.SetTimeSettings(time);
    if (dialog.DoModal(owner) != IDOK) return false;
    time = dialog.GetTimeSettings();
    return true;
}

bool RunDisplayTimeCommand(HWND owner) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    Data::TimeSettings time = prefs.time;
    if (!RunSetTimeDialog(owner, time)) return false;
    prefs.time = time;
    ApplyPreferences();
    return true;
}

bool RunMagneticDeclinationDialog(HWND owner, int32_t& magnetic) {
    MagneticDeclinationDialog dialog;
    dialog.SetMagnetic(magnetic == 1);
    if (dialog.DoModal(owner) == IDOK) magnetic = dialog.Magnetic() ? 1 : 0;
    return true;
}

bool RunActiveFilesDialog(HWND owner) {
    ActiveFilesDialog dialog;
    dialog.DoModal(owner);
    // The preferences name the loaded files from now on (and keep them on shutdown).
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.activeUserObjFiles.clear();
    Data::UserObjectFiles().ListLoadedFiles(prefs.activeUserObjFiles);
    prefs.activeCometFiles.clear();
    Data::CometFiles().ListLoadedFiles(prefs.activeCometFiles);
    return true;
}

void InstallSettingsDialogs() {
    SettingsDialogs& d = Dialogs();
    if (!d.location) d.location = RunLocationCommand;
    if (!d.displayTime) d.displayTime = RunSetTimeDialog;
    if (!d.timeStep) d.timeStep = RunTimeStepDialog;
    if (!d.magneticDeclination) d.magneticDeclination = RunMagneticDeclinationDialog;
    if (!d.dataFiles) d.dataFiles = RunActiveFilesDialog;
}

}  // namespace UI
