#include "app/shell.h"

#include "app/astroobj_choose.h"
#include "app/base_window.h"
#include "app/compass_objects_dialog.h"
#include "app/objinfo.h"
#include "app/settings_dialogs.h"
#include "app/skyview_settings_dialog.h"
#include "data/messages.h"
#include "data/objectfiles.h"
#include "data/starcatalog.h"
#include "settings/places.h"
#include "views/compass_window.h"
#include "views/sky_window.h"
#include "views/twilight_window.h"
#include "winlib/platform_win32.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace UI {

const char16_t kCelvaneVersion[] = u"0.1";

namespace {

const Data::Message kMsgHelpFile{{0x409, u"celvane.htm"}, {0x407, u"celvane-de.htm"}};
const Data::Message kMsgHelpNotFound{{0x409, u"Error: Help file not found."},
                                     {0x407, u"Fehler: Hilfedatei nicht gefunden."}};
const Data::Message kMsgAboutCaption{{0x409, u"Celvane {0}"}};

std::u16string g_applicationDirectory;
std::u16string g_dataDirectory;
std::u16string g_logFileName;
CelvaneBaseWindow* g_compass = nullptr;
CelvaneBaseWindow* g_sky = nullptr;
CelvaneBaseWindow* g_twilight = nullptr;

bool EndsWithSeparator(const std::u16string& s) { return !s.empty() && (s.back() == u'\\' || s.back() == u'/'); }

// The program keeps no log: the sink takes a file name and declines it, so
// nothing is ever written. The name is formed all the same so that a log,
// should one be wanted, has its place and name.
class LogSink {
public:
    bool Open(const std::u16string& path) { return false; }
};

// The folder of a Windows special folder; empty when the system has none.
std::u16string SpecialFolder(int csidl, bool create) {
    WCHAR buf[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buf, csidl, create ? TRUE : FALSE)) return std::u16string();
    return U16(buf);
}

}  // namespace

// --- process-wide state ---------------------------------------------------------------------

const std::u16string& ApplicationDirectory() { return g_applicationDirectory; }
const std::u16string& DataDirectory() { return g_dataDirectory; }
const std::u16string& LogFileName() { return g_logFileName; }

CelvaneBaseWindow* MainWindow(int32_t viewMode) {
    switch (viewMode) {
    case kViewSky: return g_sky;
    case kViewTwilight: return g_twilight;
    default: return g_compass;
    }
}

void SetMainWindows(CelvaneBaseWindow* compass, CelvaneBaseWindow* sky, CelvaneBaseWindow* twilight) {
    g_compass = compass;
    g_sky = sky;
    g_twilight = twilight;
}

Calc::Ephemeris& ProgramEphemeris() {
    static Calc::Ephemeris ephemeris;
    return ephemeris;
}

Calc::MagneticModel& ProgramMagneticModel() {
    static Calc::MagneticModel model;
    return model;
}

namespace {

SettingsDialogs ProgramDialogs() {
    SettingsDialogs d;
    d.location = RunLocationCommand;
    d.displayTime = RunSetTimeDialog;
    d.timeStep = RunTimeStepDialog;
    d.magneticDeclination = RunMagneticDeclinationDialog;
    d.dataFiles = RunActiveFilesDialog;
    // The object the info dialog shows last (the user may have moved on to
    // another one there) is the one chosen.
    d.objectInfo = [](HWND owner, Data::AstroObjRef& object) {
        ObjInfoDialog dialog(object);
        dialog.DoModal(owner);
        const Data::AstroObjRef& shown = dialog.Shown();
        if (shown.kind == Data::kObjNone || shown == object) return false;
        object = shown;
        return true;
    };
    // The views can point at a constellation's centre: the set is offered.
    d.objectSearch = [](HWND owner, Data::AstroObjRef& object) { return ChooseAstroObject(owner, object, true); };
    d.compassObjects = RunCompassObjDialog;
    d.viewDirection = [](HWND owner, double& azimuth, double& altitude) {
        float az = static_cast<float>(azimuth), alt = static_cast<float>(altitude);
        if (!RunSetViewDirection(owner, az, alt)) return false;
        azimuth = az;
        altitude = alt;
        return true;
    };
    return d;
}

}  // namespace

SettingsDialogs& Dialogs() {
    static SettingsDialogs dialogs = ProgramDialogs();
    return dialogs;
}

void ResetDialogs() { Dialogs() = ProgramDialogs(); }

// --- folders ---------------------------------------------------------------------------------

std::u16string JoinDirectory(const std::u16string& folder, const std::u16string& name) {
    if (folder.empty() || EndsWithSeparator(folder)) return folder + name;
    return folder + u"\\" + name;
}

std::u16string FormLogFileName(const PL::SystemTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04hu%02hu%02huT%02hu%02hu%02hu", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return u"Celvane." + PL::FromUtf8(buf) + u".log";
}

void PrepareDirectories() {
    std::u16string module(MAX_PATH, u'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, W(&module[0]), static_cast<DWORD>(module.size()));
        if (n < module.size()) {
            module.resize(n);
            break;
        }
        if (module.size() >= 32768) {
            module.clear();
            break;
        }
        module.resize(module.size() * 2);
    }
    const size_t cut = module.find_last_of(u"\\/");
    if (module.size() < 2 || cut == std::u16string::npos) throw DirectoryError(u"Could not get application directory.");
    g_applicationDirectory = module.substr(0, cut);

    const std::u16string appData = SpecialFolder(CSIDL_APPDATA, true);
    if (appData.empty()) throw DirectoryError(u"SHGetSpecialFolderPath for CSIDL_APPDATA failed.");
    g_dataDirectory = JoinDirectory(appData, u"celvane");
    if (!CreateDirectoryW(W(g_dataDirectory), nullptr)) {
        // An existing folder is fine; a file of that name is not, since the
        // preferences could never be written there.
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(W(g_dataDirectory));
        if (error != ERROR_ALREADY_EXISTS || attributes == INVALID_FILE_ATTRIBUTES ||
            !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw DirectoryError(u"Creating read/write data directory failed.");
    }
}

// --- preferences into the engine -------------------------------------------------------------

void ApplyPreferences() {
    const Data::Preferences& prefs = Data::Preferences::Instance();
    Calc::Ephemeris& ephemeris = ProgramEphemeris();
    ephemeris.place = prefs.place;
    ephemeris.summerMode = prefs.dstAdjust;
    ephemeris.moment = prefs.time.useCurrentTime ? Calc::Now() : prefs.time.time;
    ephemeris.Invalidate();
    ephemeris.UpdateTime();
    ephemeris.UpdateFrames();

    Calc::MagneticModel& magnetic = ProgramMagneticModel();
    magnetic.longitude = prefs.place.longitude;
    magnetic.latitude = prefs.place.latitude;
    // The place keeps its elevation in metres; the field model wants kilometres.
    magnetic.height = prefs.place.elevation / 1000.0f;
    magnetic.moment = ephemeris.moment;
}

void RefreshCurrentTime() {
    if (!Data::Preferences::Instance().time.useCurrentTime) return;
    Calc::Ephemeris& ephemeris = ProgramEphemeris();
    ephemeris.moment = Calc::Now();
    ephemeris.Invalidate();
    ephemeris.UpdateTime();
    ephemeris.UpdateFrames();
    ProgramMagneticModel().moment = ephemeris.moment;
}

mwcl::ResourceName LocalizedResourceName(const mwcl::ResourceName& name) {
    return mwcl::LocalizedDialogName(name, mwcl::Instance());
}

// --- star files -------------------------------------------------------------------------------

std::vector<std::u16string> FindStarFiles(bool firstOnly) {
    static const char16_t kName[] = u"stars.dat";
    std::vector<std::u16string> candidates;
    const std::u16string& app = ApplicationDirectory();
    candidates.push_back(JoinDirectory(app, kName));
    candidates.push_back(JoinDirectory(DataDirectory(), kName));
    // The program's own folder repeated on each removable drive ("E:" +
    // "\Program Files\Celvane\stars.dat"), then the drive's root.
    std::u16string appOnCard = app;
    if (appOnCard.size() >= 2 && appOnCard[1] == u':') appOnCard.erase(0, 2);
    while (!appOnCard.empty() && (appOnCard.front() == u'\\' || appOnCard.front() == u'/')) appOnCard.erase(0, 1);
    for (const std::u16string& card : PL::Current().StorageCards()) {
        if (!appOnCard.empty()) candidates.push_back(JoinDirectory(JoinDirectory(card, appOnCard), kName));
        candidates.push_back(JoinDirectory(card, kName));
    }
    std::vector<std::u16string> found;
    for (const std::u16string& path : candidates) {
        if (!PL::Current().FileExists(path)) continue;
        found.push_back(path);
        if (firstOnly) break;
    }
    return found;
}

// --- help -------------------------------------------------------------------------------------

std::u16string HelpFilePath() {
    const std::u16string name = Data::MessageText(kMsgHelpFile);
    // The help ships beside the program; the Windows folder is where a
    // handheld keeps it.
    std::u16string path = JoinDirectory(ApplicationDirectory().empty() ? PL::Current().ProgramFolder()
                                                                        : ApplicationDirectory(),
                                        name);
    if (PL::Current().FileExists(path)) return path;
    const std::u16string windows = SpecialFolder(CSIDL_WINDOWS, false);
    if (windows.empty()) return std::u16string();
    path = JoinDirectory(windows, name);
    return PL::Current().FileExists(path) ? path : std::u16string();
}

// A browser opened on a file drops a "#topic" given with it (and under
// Wine the file URL is turned into a Linux path first, which loses it too).
// So the help file is copied into a folder of the temporary folder beside a
// small page that forwards to "celvane.htm#topic" by a relative link, and
// that page is opened: every browser follows it, on Windows and under Wine.
std::u16string HelpTopicPage(const std::u16string& helpFile, const std::u16string& topic) {
    WCHAR temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return std::u16string();
    const std::u16string folder = JoinDirectory(U16(temp), u"celvane-help");
    CreateDirectoryW(W(folder), nullptr);
    const size_t cut = helpFile.find_last_of(u"\\/");
    const std::u16string name = cut == std::u16string::npos ? helpFile : helpFile.substr(cut + 1);
    if (!CopyFileW(W(helpFile), W(JoinDirectory(folder, name)), FALSE)) return std::u16string();
    // Topics are the program's own words; anything else stays out of the page.
    std::u16string safeTopic;
    for (char16_t c : topic)
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) safeTopic += c;
    const std::u16string base = name.substr(0, name.find_last_of(u'.'));
    const std::u16string page = JoinDirectory(folder, base + u"-" + (safeTopic.empty() ? u"index" : safeTopic) + u".htm");
    const std::string target = PL::ToUtf8(name) + (safeTopic.empty() ? "" : "#" + PL::ToUtf8(safeTopic));
    std::FILE* f = PL::Current().OpenFile(page, "wb");
    if (!f) return std::u16string();
    const std::string html = "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\">"
                             "<meta http-equiv=\"refresh\" content=\"0; url=" + target + "\">"
                             "<title>Celvane</title></head>\r\n<body><p><a href=\"" + target +
                             "\">Celvane</a></p></body></html>\r\n";
    const bool ok = std::fwrite(html.data(), 1, html.size(), f) == html.size();
    if (std::fclose(f) != 0 || !ok) return std::u16string();
    return page;
}

bool ShowHelp(const std::u16string& topic) {
    const std::u16string path = HelpFilePath();
    if (path.empty()) return false;
    std::u16string open = HelpTopicPage(path, topic);
    // Without a page of its own the help opens at its beginning.
    if (open.empty()) open = path;
    const HINSTANCE started = ShellExecuteW(nullptr, W(u"open"), W(open), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(started) > 32) return true;
    // No program is associated with ".htm" (a Wine prefix made without its
    // HTML engine): the HTML file class's own command, the browser, opens it.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = W(u"open");
    info.lpFile = W(open);
    info.lpClass = W(u"htmlfile");
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

void ShowAbout(HWND owner) {
    if (ShowHelp(u"about")) return;
    const std::u16string caption = Data::MessageFormat(kMsgAboutCaption, kCelvaneVersion).Format();
    MessageBoxW(owner, W(Data::MessageText(kMsgHelpNotFound)), W(caption), MB_OK | MB_ICONERROR);
}

void FatalError(const std::u16string& text) { mwcl::FatalError(text); }

// --- the program -------------------------------------------------------------------------------

namespace {

// The main windows open at the handheld's portrait proportion, 480 x 640
// at 96 dots per inch, as large as the screen's work area allows, centred.
void PlaceMainWindow(HWND hwnd) {
    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT want{0, 0, ScaledPixels(480), ScaledPixels(640)};
    AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), GetMenu(hwnd) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    const int workW = work.right - work.left, workH = work.bottom - work.top;
    const int w = std::min<int>(want.right - want.left, workW);
    const int h = std::min<int>(want.bottom - want.top, workH);
    SetWindowPos(hwnd, nullptr, work.left + (workW - w) / 2, work.top + (workH - h) / 2, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int CelvaneMain(HINSTANCE instance) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    mwcl::SetInstance(instance);

    // 1. The folders, and the star catalogues built into the program.
    try {
        PrepareDirectories();
    } catch (const DirectoryError& e) {
        // Without its folders the program cannot keep the user's settings:
        // it says why and does not start.
        FatalError(e.Text());
    }
    Data::LoadStarResources();

    // 2. The log's name, offered beside the program, then in the data folder.
    g_logFileName = FormLogFileName(PL::UtcNow());
    LogSink log;
    if (!log.Open(JoinDirectory(g_applicationDirectory, g_logFileName)))
        log.Open(JoinDirectory(g_dataDirectory, g_logFileName));

    // 3. One instance: another one comes to the front instead.
    if (!mwcl::InitApplication(u"celvane", instance)) return 0;

    // 4. The user's language (the preferences may replace it).
    Data::SetUserLangId(GetUserDefaultLangID());

    // 5. The main windows' class.
    mwcl::WindowClass windowClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));

    // 6. The preferences, with the object files they name and the user's places.
    Data::ObjectFileManagerBase::SetFolders(g_applicationDirectory, g_dataDirectory);
    Data::SetUserPlacesFolder(g_dataDirectory);
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.Load(g_dataDirectory);

    // 7. The star file: the remembered one while it exists, else the first found.
    if (prefs.starFile.empty() || !PL::Current().FileExists(prefs.starFile)) {
        const std::vector<std::u16string> found = FindStarFiles(true);
        if (!found.empty()) prefs.starFile = found.front();
    }
    Data::SetStarFilePath(PL::Current().FileExists(prefs.starFile) ? prefs.starFile : std::u16string());

    // 8. The preferences into the engine.
    ApplyPreferences();

    // 9. The three main windows, none shown yet.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    std::unique_ptr<CelvaneBaseWindow> compass(new CompassWindow());
    compass->Create(windowClass, nullptr, style);
    std::unique_ptr<CelvaneBaseWindow> sky(new SkyWindow());
    sky->Create(windowClass, nullptr, style);
    std::unique_ptr<CelvaneBaseWindow> twilight(new TwilightWindow());
    twilight->Create(windowClass, nullptr, style);
    SetMainWindows(compass.get(), sky.get(), twilight.get());
    for (CelvaneBaseWindow* w : {compass.get(), sky.get(), twilight.get()}) PlaceMainWindow(w->GetHandle());

    // 10. The view the preferences name.
    ShowWindow(MainWindow(prefs.viewMode)->GetHandle(), SW_SHOW);

    // 11. Ctrl+Q (and F11) and the message loop.
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(kAcceleratorTable));
    mwcl::RunMessageLoop(accelerators);

    // Shutdown.
    SetMainWindows(nullptr, nullptr, nullptr);
    compass.reset();
    sky.reset();
    twilight.reset();
    prefs.Save(g_dataDirectory);
    windowClass.Unregister();
    return 0;
}

}  // namespace UI
