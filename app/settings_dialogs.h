// What the settings dialogs share: their message boxes and help, and the
// entry points that the Settings menu and the views call.
#pragma once

#include "data/objects.h"
#include "settings/preferences.h"
#include "winlib/mwcl.h"

#include <functional>
#include <string>

namespace UI {

// Every message box of the settings dialogs goes through here; a test puts
// its own function in to read the text and give the answer. Without one
// the system's message box shows, with the system's default caption when
// `caption` is null.
using SettingsMessageFunction = std::function<int(HWND owner, const std::u16string& text, UINT flags)>;
SettingsMessageFunction& SettingsMessageHook();
int ShowSettingsMessage(HWND owner, const std::u16string& text, UINT flags, const char16_t* caption = nullptr);

// The help topics of the dialogs open through here (tests look at the topic
// instead of starting a browser).
using SettingsHelpFunction = std::function<void(const std::u16string& topic)>;
SettingsHelpFunction& SettingsHelpHook();
void ShowSettingsHelp(const std::u16string& topic);

// A child window's rectangle in its dialog's client coordinates.
RECT ChildRect(HWND dialog, HWND child);
// The resizable dialogs keep their buttons (50 x 14 dialog units; Cancel
// rightmost when there is one, then OK) in the bottom right corner, a margin
// of 7 units from the edges and from each other. Returns where the content
// above them ends (half a margin above them); `margin` receives the margin.
int PlaceButtonsBottomRight(HWND dialog, int* margin = nullptr);

// --- entry points ---------------------------------------------------------------------------

// "Set Location": the place editor on the preferences' place and summer-time
// mode; on OK they become current and the engine follows (ApplyPreferences).
// True when something changed.
bool RunLocationCommand(HWND owner);
// "Set Display Time" / "Set Time Step" on a copy of the time settings;
// true (and the copy edited) on OK.
bool RunSetTimeDialog(HWND owner, Data::TimeSettings& time);
bool RunTimeStepDialog(HWND owner, Data::TimeSettings& time);
// "Magnetic Declination": `magnetic` in and, on OK, out (1 magnetic, 0 true).
bool RunMagneticDeclinationDialog(HWND owner, int32_t& magnetic);
// "Data Files": the active files dialog; true (changes take effect at once).
bool RunActiveFilesDialog(HWND owner);

// The set-time dialog as the menu command runs it: the preferences' time
// settings, stored and applied on OK. True on OK.
bool RunDisplayTimeCommand(HWND owner);

// Gives the shell's Settings menu these dialogs (the entries still empty).
void InstallSettingsDialogs();

}  // namespace UI
