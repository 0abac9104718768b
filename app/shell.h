// The application shell: start-up and shutdown, the process-wide state of
// the program (folders, the shared Ephemeris and MagneticModel, the three
// main windows), help, and the settings dialogs the menus open.
#pragma once

#include "data/objects.h"
#include "data/platform.h"
#include "engine/ephemeris.h"
#include "engine/magnetic.h"
#include "settings/preferences.h"
#include "winlib/mwcl.h"

#include <functional>
#include <string>
#include <vector>

namespace UI {

class CelvaneBaseWindow;

// The program's version, as the about box and the help name it.
extern const char16_t kCelvaneVersion[];

// View modes (the preferences' View/Mode).
enum ViewMode : int32_t { kViewCompass = 0, kViewSky = 1, kViewTwilight = 3 };

// Menu commands of the main windows and their accelerators.
enum Command : int {
    kCmdQuit = 40001,          // Ctrl+Q
    kCmdFullScreen = 40002,    // F11
    kCmdCompass = 40005,
    kCmdSky = 40007,
    kCmdLocation = 40009,
    kCmdDisplayTime = 40015,
    kCmdMagneticDeclination = 40017,
    kCmdTwilight = 40020,
    kCmdDataFiles = 40080,
    kCmdTimeStep = 40083,
    kCmdAbout = 40085,
};
// Resources of the program.
constexpr int kMainMenu = 103;       // 113 in German
constexpr int kAcceleratorTable = 102;

// A folder problem at start-up: the program cannot run without its folders.
class DirectoryError {
public:
    explicit DirectoryError(std::u16string text) : text_(std::move(text)) {}
    const std::u16string& Text() const { return text_; }

private:
    std::u16string text_;
};

// --- the process-wide state ----------------------------------------------------------------

// The folder of the executable, without a trailing separator.
const std::u16string& ApplicationDirectory();
// The application-data folder joined with "celvane".
const std::u16string& DataDirectory();
// The log file name formed at start ("Celvane.20260320T213000.log"); the
// program keeps no log, so no file of that name is ever written.
const std::u16string& LogFileName();
// The main window of a view mode (compass for anything but 1 and 3); null
// before start-up made them and after shutdown deleted them.
CelvaneBaseWindow* MainWindow(int32_t viewMode);
// Installs the three main windows (start-up, and tests that build their own).
void SetMainWindows(CelvaneBaseWindow* compass, CelvaneBaseWindow* sky, CelvaneBaseWindow* twilight);

// The Ephemeris of the current moment and place that the views read.
Calc::Ephemeris& ProgramEphemeris();
// The magnetic field at the current place and moment.
Calc::MagneticModel& ProgramMagneticModel();

// --- operations ------------------------------------------------------------------------

// folder + "\" + name, with no separator added after "\" or "/".
std::u16string JoinDirectory(const std::u16string& folder, const std::u16string& name);
// "Celvane." + "YYYYMMDDThhmmss" of a UTC time + ".log".
std::u16string FormLogFileName(const PL::SystemTime& utc);

// Start-up step 1: works out the application folder and the data folder and
// creates the data folder. Throws DirectoryError with the text of the problem.
void PrepareDirectories();

// The place, summer-time mode and moment (now with the live clock, else the
// stored time) from the preferences into the program's Ephemeris, which is
// recomputed, and the place and moment into the magnetic model (its height
// in kilometres from the place's elevation in metres).
void ApplyPreferences();
// With the live clock on: the Ephemeris (and the magnetic model) to now.
void RefreshCurrentTime();

// The dialog template to load for the user's language: name + "_%04x" of
// the language, else of its primary language, else the name itself.
mwcl::ResourceName LocalizedResourceName(const mwcl::ResourceName& name);

// Every "stars.dat" that exists in the program folder, the data folder and
// on the removable drives (the program's own path repeated there, then the
// drive's root), in that order; only the first when firstOnly.
std::vector<std::u16string> FindStarFiles(bool firstOnly);

// The help file of the user's language ("celvane.htm", "celvane-de.htm")
// beside the program, else in the Windows folder; empty when there is none.
std::u16string HelpFilePath();
// A page in the temporary folder that forwards to the help file at a topic
// (a copy of the help file beside it); empty when it could not be made.
std::u16string HelpTopicPage(const std::u16string& helpFile, const std::u16string& topic);
// Opens the help file at a topic in the user's browser; false when there
// is no help file or nothing could open it.
bool ShowHelp(const std::u16string& topic);
// The help of the about command, or the "Help file not found" box.
void ShowAbout(HWND owner);

// Stops the program: a "Fatal Error" box, exit code 255.
[[noreturn]] void FatalError(const std::u16string& text);

// The dialogs that the Settings menu and the views open, one registry for
// all: the program's own from the start; tests put their own in and
// ResetDialogs puts the program's back. A hook left empty leaves its command,
// button or tap without effect.
struct SettingsDialogs {
    // Each settings dialog reports whether it changed something; the time
    // dialogs edit a copy of the time settings, the magnetic declination
    // dialog the magnetic switch.
    std::function<bool(HWND owner)> location;
    std::function<bool(HWND owner, Data::TimeSettings& time)> displayTime;
    std::function<bool(HWND owner, Data::TimeSettings& time)> timeStep;
    std::function<bool(HWND owner, int32_t& magnetic)> magneticDeclination;
    std::function<bool(HWND owner)> dataFiles;
    // Object info for `object`; true with `object` replaced when the user
    // went on to another object in the dialog.
    std::function<bool(HWND owner, Data::AstroObjRef& object)> objectInfo;
    // Object search (constellations offered) starting from `object`; true
    // with the chosen object.
    std::function<bool(HWND owner, Data::AstroObjRef& object)> objectSearch;
    // The compass object dialog ("Customize..."): edits the preferences'
    // compass slots in place.
    std::function<void(HWND owner)> compassObjects;
    // The view direction dialog with a direction; true with the typed one.
    std::function<bool(HWND owner, double& azimuth, double& altitude)> viewDirection;
};
SettingsDialogs& Dialogs();
void ResetDialogs();

// The whole program: start-up, the message loop, shutdown. Returns the exit
// code (0), also when another instance was brought to the front instead.
int CelvaneMain(HINSTANCE instance);

}  // namespace UI
