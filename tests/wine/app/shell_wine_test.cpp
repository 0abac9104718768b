// The application shell under Wine: the program started as a second process
// with its own application-data folder (start-up, Ctrl+Q, view mode, a
// second instance), and in this process the base window's live clock,
// the detection of a wake-up, view switching, the menus in both languages and the
// search for stars.dat.
#include "tests/wine/app/app_test_util.h"

#include "app/base_window.h"
#include "app/resume_notifier.h"
#include "app/shell.h"
#include "data/messages.h"
#include "settings/preferences.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using apptest::ReadAll;
using apptest::WriteAll;
using apptest::TestView;
using uitest::Pump;

// A fresh folder under the temporary folder, removed (with its files) at the end.
class TempFolder {
public:
    TempFolder() {
        char16_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, W(base));
        char name[64];
        std::snprintf(name, sizeof name, "celvane-shell-%lu-%lu", static_cast<unsigned long>(GetCurrentProcessId()),
                      static_cast<unsigned long>(GetTickCount()));
        path_ = std::u16string(U(W(base))) + PL::FromUtf8(name);
        CreateDirectoryW(W(path_), nullptr);
    }
    ~TempFolder() {
        const std::u16string from = path_ + u'\0';  // a list, ended by a second NUL
        SHFILEOPSTRUCTW op{};
        op.wFunc = FO_DELETE;
        op.pFrom = W(from.c_str());
        op.fFlags = FOF_NO_UI;
        SHFileOperationW(&op);
    }
    const std::u16string& Path() const { return path_; }

private:
    std::u16string path_;
};

// Points the user's application-data folder at another folder while it
// lives (the registry value the shell folder query reads), then puts the
// old value back.
class ScopedAppData {
public:
    explicit ScopedAppData(const std::u16string& folder) {
        RegCreateKeyExW(HKEY_CURRENT_USER, W(kKey), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD type = 0, size = sizeof old_;
        had_ = RegQueryValueExW(key_, W(u"AppData"), nullptr, &type, reinterpret_cast<BYTE*>(old_), &size) ==
               ERROR_SUCCESS;
        oldSize_ = size;
        oldType_ = type;
        RegSetValueExW(key_, W(u"AppData"), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(char16_t)));
    }
    ~ScopedAppData() {
        if (had_)
            RegSetValueExW(key_, W(u"AppData"), 0, oldType_, reinterpret_cast<const BYTE*>(old_), oldSize_);
        else
            RegDeleteValueW(key_, W(u"AppData"));
        RegCloseKey(key_);
    }

private:
    static constexpr char16_t kKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key_ = nullptr;
    bool had_ = false;
    WCHAR old_[MAX_PATH * 2] = {};
    DWORD oldSize_ = 0, oldType_ = 0;
};

// The program as a second process.
class Program {
public:
    Program(const std::u16string& report, const char16_t* action) {
        // The module itself (name.exe.so): Wine starts it as a Winelib program.
        std::u16string cmd = u"\"" + apptest::ModulePath() + u".so\" --shell \"" + report + u"\" " + action;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ok_ = CreateProcessW(nullptr, W(&cmd[0]), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != 0;
    }
    ~Program() {
        if (!ok_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    bool Started() const { return ok_; }
    DWORD Id() const { return pi_.dwProcessId; }
    // The exit code, or -1 when it did not end in time.
    long Wait(DWORD ms = 30000) {
        if (!ok_ || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<long>(code);
    }
    // The visible main window of the process (the windows of its first thread).
    HWND MainWindow() const {
        HWND found = nullptr;
        EnumThreadWindows(pi_.dwThreadId, FindMain, reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    static BOOL CALLBACK FindMain(HWND hwnd, LPARAM found) {
        if (!IsWindowVisible(hwnd) || !GetPropW(hwnd, W(u"mwclActivateable"))) return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    PROCESS_INFORMATION pi_{};
    bool ok_ = false;
};

bool WaitForFile(const std::u16string& path, DWORD ms = 30000) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        if (GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES && !ReadAll(path).empty()) return true;
        Sleep(50);
    }
    return false;
}

const char kPrefsHeader[] = "\xEF\xBB\xBF[FORMAT]\r\nVersion=1\r\n";

// First of all tests, before anything runs a Settings command: the object
// info dialog's place and time links call these hooks directly.
TEST(Shell, TheProgramsDialogsAreThereFromTheStart) {
    const UI::SettingsDialogs& d = UI::Dialogs();
    EXPECT_TRUE(d.location && d.displayTime && d.timeStep && d.magneticDeclination && d.dataFiles);
    EXPECT_TRUE(d.objectInfo && d.objectSearch && d.compassObjects && d.viewDirection);
}

// --- the program, started as a second process -------------------------------------------------

TEST(ShellStartUp, CreatesTheDataFolderAndSavesThePreferencesOnCtrlQ) {
    TempFolder appData;
    ScopedAppData scoped(appData.Path());
    const std::u16string data = appData.Path() + u"\\celvane";
    const std::u16string report = appData.Path() + u"\\report.txt";

    Program first(report, u"ctrlq");
    ASSERT_TRUE(first.Started());
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_TRUE(PL::Current().FolderExists(data));
    EXPECT_EQ(ReadAll(report), "view=0\n");  // no preferences: the compass view
    const std::string saved = ReadAll(data + u"\\prefs.dat");
    EXPECT_NE(saved.find("Mode=0"), std::string::npos);

    // Preferences read at start and written back whole: a section of another
    // program survives; the sky view comes up for view mode 1, the twilight
    // view for 3, the compass view for anything else.
    for (const char* mode : {"1", "3", "7"}) {
        WriteAll(data + u"\\prefs.dat", std::string(kPrefsHeader) + "[View]\r\nMode=" + mode + "\r\n[Other]\r\nKeep=yes\r\n");
        DeleteFileW(W(report));
        Program again(report, u"ctrlq");
        EXPECT_EQ(again.Wait(), 0) << mode;
        EXPECT_EQ(ReadAll(report), std::string("view=") + (*mode == '1' || *mode == '3' ? mode : "0") + "\n") << mode;
        const std::string kept = ReadAll(data + u"\\prefs.dat");
        EXPECT_NE(kept.find("Keep=yes"), std::string::npos) << mode;
        EXPECT_NE(kept.find("[SkyView]"), std::string::npos) << mode;  // written by the program, not just kept
    }
}

TEST(ShellStartUp, ASecondInstanceBringsTheFirstToTheFrontAndLeavesThePreferences) {
    TempFolder appData;
    ScopedAppData scoped(appData.Path());
    const std::u16string prefs = appData.Path() + u"\\celvane\\prefs.dat";
    CreateDirectoryW(W(appData.Path() + u"\\celvane"), nullptr);
    const std::string written = std::string(kPrefsHeader) + "[View]\r\nMode=1\r\n";
    WriteAll(prefs, written);

    const std::u16string reportA = appData.Path() + u"\\a.txt";
    Program first(reportA, u"stay");
    ASSERT_TRUE(WaitForFile(reportA));
    HWND main = first.MainWindow();
    ASSERT_NE(main, nullptr);
    // Something else in front meanwhile.
    HWND other = CreateWindowExW(0, W(u"STATIC"), W(u"other"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    Pump(100);

    const std::u16string reportB = appData.Path() + u"\\b.txt";
    Program second(reportB, u"ctrlq");
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_EQ(GetFileAttributesW(W(reportB)), INVALID_FILE_ATTRIBUTES);  // no loop ran, no windows
    EXPECT_EQ(ReadAll(prefs), written);
    Pump(200);
    DWORD frontPid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &frontPid);
    EXPECT_EQ(frontPid, first.Id());
    DestroyWindow(other);

    // Closing the window ends the first instance, which saves.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_NE(ReadAll(prefs), written);
}

// The start-up measurement's hook: with CELVANE_REPORT_FIRST_PAINT naming a
// file, the sky view's first paint writes the wall-clock time and the time
// since the process was created there, both in milliseconds.
TEST(ShellStartUp, TheSkyMapsFirstPaintIsReportedWhenAsked) {
    TempFolder appData;
    ScopedAppData scoped(appData.Path());
    CreateDirectoryW(W(appData.Path() + u"\\celvane"), nullptr);
    WriteAll(appData.Path() + u"\\celvane\\prefs.dat", std::string(kPrefsHeader) + "[View]\r\nMode=1\r\n");
    const std::u16string paint = appData.Path() + u"\\paint.txt";
    const auto unixMs = [] {
        FILETIME f;
        GetSystemTimeAsFileTime(&f);
        return static_cast<long long>(((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
                                          10000 -
                                      11644473600000ULL);
    };
    const long long before = unixMs();
    SetEnvironmentVariableW(W(u"CELVANE_REPORT_FIRST_PAINT"), W(paint));
    Program program(appData.Path() + u"\\report.txt", u"ctrlq");
    SetEnvironmentVariableW(W(u"CELVANE_REPORT_FIRST_PAINT"), nullptr);
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(program.Wait(), 0);
    const long long after = unixMs();
    EXPECT_EQ(ReadAll(appData.Path() + u"\\report.txt"), "view=1\n");
    long long end = 0, sinceCreation = -1;
    ASSERT_EQ(std::sscanf(ReadAll(paint).c_str(), "%lld %lld", &end, &sinceCreation), 2) << ReadAll(paint);
    EXPECT_GE(end, before);
    EXPECT_LE(end, after);
    EXPECT_GE(sinceCreation, 0);
    EXPECT_LE(sinceCreation, after - before + 1);
}

// --- the base window in this process -----------------------------------------------------------

// A settable clock.
class ClockPlatform : public PL::Win32Platform {
public:
    PL::SystemTime now;
    PL::SystemTime UtcNow() override { return now; }
};

// 2026-03-20 (a Friday) at a time of day.
PL::SystemTime At(uint16_t hour, uint16_t minute, uint16_t second, uint16_t ms) {
    return PL::SystemTime{2026, 3, 5, 20, hour, minute, second, ms};
}

class BaseWindowTest : public testing::Test {
protected:
    void SetUp() override {
        previous_ = PL::SetCurrent(&clock_);
        clock_.now = At(21, 34, 56, 789);
        prefs_ = Data::Preferences::Instance();
        Data::Preferences::Instance().time.useCurrentTime = true;
    }
    void TearDown() override {
        UI::SetMainWindows(nullptr, nullptr, nullptr);
        Data::Preferences::Instance() = prefs_;
        Data::SetUserLangId(0);
        PL::SetCurrent(previous_);
    }
    ClockPlatform clock_;
    PL::Platform* previous_ = nullptr;
    Data::Preferences prefs_;
};

TEST(LiveClock, WaitsForTheNextFullMinuteAndPushesAnEarlyTickOn) {
    int32_t minute = -1;
    // 21:34:56.789 -> 3.211 s to 21:35:00.
    EXPECT_EQ(UI::LiveClockDelay(At(21, 34, 56, 789), false, -1, minute), 3211);
    EXPECT_EQ(minute, 34);
    // On the full minute a whole minute.
    EXPECT_EQ(UI::LiveClockDelay(At(21, 35, 0, 0), false, 34, minute), 60000);
    // The tick meant for 21:35 arrives at 21:34:59.990, still in the minute of
    // the last tick (34): the next one is at 21:36, not 10 ms later.
    EXPECT_EQ(UI::LiveClockDelay(At(21, 34, 59, 990), true, 34, minute), 60010);
    // The same moment re-armed by activation, not by the timer: no push.
    EXPECT_EQ(UI::LiveClockDelay(At(21, 34, 59, 990), false, 34, minute), 10);
}

TEST_F(BaseWindowTest, ArmingTheLiveClockReadsTheClockAndRegistersForResume) {
    TestView view(UI::kViewSky);
    EXPECT_EQ(view.ArmLiveClock(false), 3211);
    EXPECT_EQ(view.LastMinute(), 34);
    EXPECT_TRUE(UI::ResumeNotifier::IsRegistered(view.GetHandle()));
    // Without the live clock: no timer, and the window no longer listens.
    Data::Preferences::Instance().time.useCurrentTime = false;
    EXPECT_EQ(view.ArmLiveClock(false), -1);
    EXPECT_FALSE(UI::ResumeNotifier::IsRegistered(view.GetHandle()));
}

TEST(ClockJump, AWallClockRunningAheadOfTheSleepFreeClockIsAWakeUp) {
    UI::ClockJumpDetector d;
    EXPECT_FALSE(d.Look(1000000, 500));        // the first look only primes
    EXPECT_FALSE(d.Look(1004100, 4400));       // 0.2 s of drift
    EXPECT_TRUE(d.Look(1004100 + 3600000, 6400));  // an hour asleep
    EXPECT_FALSE(d.Look(1004100 + 3602000, 8400));
    EXPECT_TRUE(d.Look(1004100 + 3602000 - 600000, 10400));  // the clock set back ten minutes
}

TEST_F(BaseWindowTest, SwitchingViewsShowsTheTargetHandsOverTheSelectionAndRemembersTheMode) {
    TestView compass(UI::kViewCompass), sky(UI::kViewSky), twilight(UI::kViewTwilight);
    UI::SetMainWindows(&compass, &sky, &twilight);
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.viewMode = UI::kViewSky;
    prefs.skyView.selectedObj = Data::AstroObjRef(Data::kObjBody, 4);  // Mars
    ShowWindow(sky.GetHandle(), SW_SHOW);

    SendMessageW(sky.GetHandle(), WM_COMMAND, MAKEWPARAM(UI::kCmdCompass, 0), 0);
    EXPECT_TRUE(IsWindowVisible(compass.GetHandle()));
    EXPECT_FALSE(IsWindowVisible(sky.GetHandle()));
    EXPECT_EQ(prefs.viewMode, UI::kViewCompass);
    EXPECT_EQ(compass.target, prefs.skyView.selectedObj);
}

TEST_F(BaseWindowTest, FullScreenCoversTheMonitorAndLeavingRestoresThePlacement) {
    TestView view(UI::kViewSky);
    SetWindowPos(view.GetHandle(), nullptr, 40, 30, 300, 400, SWP_NOZORDER);
    ShowWindow(view.GetHandle(), SW_SHOW);
    SetForegroundWindow(view.GetHandle());
    Pump(50);
    RECT before;
    GetWindowRect(view.GetHandle(), &before);
    view.ToggleFullScreen();
    ASSERT_TRUE(view.IsFullScreen());
    RECT full, screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(view.GetHandle(), &full);
    EXPECT_TRUE(EqualRect(&full, &screen));
    view.ToggleFullScreen();
    EXPECT_FALSE(view.IsFullScreen());
    RECT after;
    GetWindowRect(view.GetHandle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

// German for every German-speaking region, English for everyone else; the
// same commands in both.
TEST_F(BaseWindowTest, TheMenusSpeakTheUsersLanguage) {
    for (uint16_t lang : {0x0409, 0x0807, 0x040c}) {
        Data::SetUserLangId(lang);
        TestView view(UI::kViewCompass);
        HMENU bar = view.MenuBar();
        ASSERT_NE(bar, nullptr);
        char16_t title[64] = {};
        GetMenuStringW(bar, 1, W(title), 64, MF_BYPOSITION);
        EXPECT_EQ(std::u16string(title), lang == 0x0807 ? u"Einstellungen" : u"Settings") << std::hex << lang;
        EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 1), 0), static_cast<UINT>(UI::kCmdLocation)) << std::hex << lang;
    }
}

// --- folders, star files and help -----------------------------------------------------------------

// Records the files asked about and knows removable drives.
class CardPlatform : public PL::Win32Platform {
public:
    std::vector<std::u16string> asked;
    std::vector<std::u16string> existing;
    std::vector<std::u16string> StorageCards() override { return {u"E:\\", u"F:\\"}; }
    bool FileExists(const std::u16string& path) override {
        asked.push_back(path);
        return std::find(existing.begin(), existing.end(), path) != existing.end();
    }
};

TEST(Shell, FindStarFilesLooksBesideTheProgramInTheDataFolderAndOnRemovableDrives) {
    UI::PrepareDirectories();
    CardPlatform cards;
    PL::Platform* previous = PL::SetCurrent(&cards);
    const std::u16string app = UI::ApplicationDirectory();
    ASSERT_GE(app.size(), 3u);
    ASSERT_EQ(app[1], u':');
    const std::u16string appOnCard = app.substr(3);  // without "C:\"
    cards.existing = {UI::DataDirectory() + u"\\stars.dat", u"F:\\stars.dat"};
    const std::vector<std::u16string> all = UI::FindStarFiles(false);
    const std::vector<std::u16string> expectedAsked = {
        app + u"\\stars.dat", UI::DataDirectory() + u"\\stars.dat", u"E:\\" + appOnCard + u"\\stars.dat",
        u"E:\\stars.dat", u"F:\\" + appOnCard + u"\\stars.dat", u"F:\\stars.dat"};
    EXPECT_EQ(cards.asked, expectedAsked);
    EXPECT_EQ(all, (std::vector<std::u16string>{UI::DataDirectory() + u"\\stars.dat", u"F:\\stars.dat"}));
    PL::SetCurrent(previous);
}

TEST(Shell, LogNameAndHelpFile) {
    EXPECT_EQ(UI::FormLogFileName(At(7, 5, 9, 999)), u"Celvane.20260320T070509.log");

    UI::PrepareDirectories();
    // The help files are copied beside this program as beside Celvane.
    Data::SetUserLangId(0x0409);
    EXPECT_EQ(UI::HelpFilePath(), UI::ApplicationDirectory() + u"\\celvane.htm");
    Data::SetUserLangId(0x0c07);  // German (Austria)
    EXPECT_EQ(UI::HelpFilePath(), UI::ApplicationDirectory() + u"\\celvane-de.htm");
    // The browser gets a page that forwards to the topic beside a copy of the help.
    const std::u16string page = UI::HelpTopicPage(UI::HelpFilePath(), u"settime");
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page.substr(page.size() - 23), u"\\celvane-de-settime.htm");
    EXPECT_NE(ReadAll(page).find("url=celvane-de.htm#settime\""), std::string::npos);
    Data::SetUserLangId(0);
}

}  // namespace
