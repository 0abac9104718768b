// The settings dialogs under Wine, driven by real messages: text typed into
// their fields, buttons clicked, boxes checked, OK and Cancel pressed; what
// they hand back, store in the preferences and write to disk is read back.
#include "tests/wine/app/app_test_util.h"

#include "app/active_files_dialog.h"
#include "app/base_window.h"
#include "app/place_dialogs.h"
#include "app/settime_dialog.h"
#include "app/settings_dialogs.h"
#include "app/shell.h"
#include "app/skyview_settings_dialog.h"
#include "data/messages.h"
#include "data/objectfiles.h"
#include "data/platform.h"
#include "settings/places.h"
#include "settings/preferences.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using apptest::ReadAll;
using apptest::WriteAll;

// --- driving a modal dialog ----------------------------------------------------------------

std::function<void()> g_driver;

void CALLBACK RunDriver(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto driver = std::move(g_driver);
    g_driver = nullptr;
    if (driver) driver();
}

// `driver` runs on the active window once the next modal dialog is up.
void WhenOpen(std::function<void(HWND)> driver) {
    g_driver = [driver] { driver(GetActiveWindow()); };
    SetTimer(nullptr, 0, 10, RunDriver);
}

// Runs the dialog modally with `driver` inside its message loop. The driver
// ends the dialog; one still open after it is cancelled, so that a failed
// test cannot hang.
INT_PTR Drive(mwcl::Dialog& dialog, std::function<void(HWND)> driver) {
    WhenOpen([&dialog, driver](HWND) {
        driver(dialog.GetHandle());
        if (dialog.GetHandle() && IsWindow(dialog.GetHandle()))
            PostMessageW(dialog.GetHandle(), WM_COMMAND, IDCANCEL, 0);
    });
    return dialog.DoModal(nullptr);
}

void Type(HWND field, const std::u16string& text) { SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(text))); }
void Type(HWND dialog, int id, const std::u16string& text) { Type(GetDlgItem(dialog, id), text); }
// Typed key by key, as a keyboard would (the field's text replaced first).
void TypeKeys(HWND field, const std::u16string& text) {
    SendMessageW(field, EM_SETSEL, 0, -1);
    SendMessageW(field, WM_CHAR, VK_BACK, 0);
    for (char16_t c : text) SendMessageW(field, WM_CHAR, c, 0);
}
std::u16string Text(HWND dialog, int id) { return mwcl::GetWindowTextOf(GetDlgItem(dialog, id)); }
void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
void PressOk(HWND dialog) { SendMessageW(dialog, WM_COMMAND, IDOK, 0); }
void MenuCommand(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, id, 0); }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
HWND ComboEdit(HWND dialog, int id) { return FindWindowExW(GetDlgItem(dialog, id), nullptr, L"Edit", nullptr); }
// A combo box's row chosen, as a click in its list tells the dialog.
void Choose(HWND dialog, int id, int row) {
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, row, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The message boxes the dialogs show, answered with `answer`, and the help topics asked for.
struct Messages {
    std::vector<std::u16string> texts, help;
    std::vector<UINT> flags;
    int answer = IDOK;
    Messages() {
        UI::SettingsMessageHook() = [this](HWND, const std::u16string& text, UINT f) {
            texts.push_back(text);
            flags.push_back(f);
            return answer;
        };
        UI::SettingsHelpHook() = [this](const std::u16string& topic) { help.push_back(topic); };
    }
    ~Messages() {
        UI::SettingsMessageHook() = nullptr;
        UI::SettingsHelpHook() = nullptr;
    }
};

std::u16string TempFolder(const char16_t* name) {
    WCHAR temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::u16string folder = UI::JoinDirectory(U16(temp), name);
    CreateDirectoryW(W(folder), nullptr);
    return folder;
}

class SettingsDialogTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = Data::Preferences::Instance();
        Data::SetUserLangId(0x409);
        Data::Preferences& p = Data::Preferences::Instance();
        p.place = Data::DefaultPlace();
        p.dstAdjust = 0;
        p.time = Data::TimeSettings{};
    }
    void TearDown() override {
        Data::Preferences::Instance() = saved_;
        Data::SetUserLangId(0);
        UI::ApplyPreferences();
    }
    Data::Preferences saved_;
};

// --- display time and time step ----------------------------------------------------------------
// The drivers check what the dialogs show as they go; each test also checks
// how its dialog ended, so that a dialog that never opened fails.

TEST_F(SettingsDialogTest, SetTimeJulianDateLocalTimeAndUtcFollowEachOther) {
    Messages box;
    Data::Preferences::Instance().place.timeZone = 60;  // local = UT + 1 h
    UI::SetTimeDialog dialog;
    Data::TimeSettings time;
    time.useCurrentTime = true;
    dialog.SetTimeSettings(time);
    EXPECT_EQ(IDOK, Drive(dialog, [&](HWND d) {
        EXPECT_TRUE(!Enabled(d, 1011) && !Enabled(d, 1007) && !Enabled(d, 1008));  // the live clock
        Click(d, 1010);
        TypeKeys(GetDlgItem(d, 1011), u"2451545.0");  // 2000-01-01 12:00 UT
        const std::u16string utc = Text(d, 1012);
        EXPECT_TRUE(utc.find(u"2000") != utc.npos && utc.find(u"12") != utc.npos) << PL::ToUtf8(utc);
        SYSTEMTIME local{};
        SendDlgItemMessageW(d, 1008, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local));
        EXPECT_EQ(local.wHour, 13);  // the picker shows local time
        PressOk(d);
    }));
    EXPECT_FALSE(dialog.GetTimeSettings().useCurrentTime);
    EXPECT_EQ(dialog.GetTimeSettings().time, Calc::kJ2000);
    EXPECT_TRUE(box.texts.empty());
}

TEST_F(SettingsDialogTest, SetTimeRefusesAJulianDateOutside1900To2099AndKeepsTheText) {
    Messages box;
    UI::SetTimeDialog dialog;
    Data::TimeSettings time;
    time.useCurrentTime = false;
    time.time = Calc::kJ2000;
    dialog.SetTimeSettings(time);
    EXPECT_EQ(IDCANCEL, Drive(dialog, [&](HWND d) {
        Type(d, 1011, u"2415020");  // 1899-12-31 12:00
        PressOk(d);
        EXPECT_TRUE(IsWindow(d));
        EXPECT_EQ(Text(d, 1011), u"2415020");
        SendMessageW(d, WM_COMMAND, IDCANCEL, 0);
    }));
    ASSERT_EQ(box.texts, std::vector<std::u16string>{u"Invalid julian date"});
    EXPECT_EQ(box.flags[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(dialog.GetTimeSettings().time, Calc::kJ2000);  // typing it changed nothing

    Calc::AstroTime t;
    EXPECT_FALSE(UI::ParseDialogJulianDay(u"2488070", t));  // 2100-01-01
    EXPECT_TRUE(UI::ParseDialogJulianDay(u"2488069", t));   // 2099-12-31
}

TEST_F(SettingsDialogTest, TimeStepPresetsTypedAmountsAndRefusesBelowASecond) {
    Messages box;
    UI::TimeStepDialog dialog;
    Data::TimeSettings time;
    time.step = 100;
    time.stepMode = 1;
    dialog.SetTimeSettings(time);
    EXPECT_EQ(IDOK, Drive(dialog, [&](HWND d) {
        // The one-hour preset: the field holds the number, the unit list the unit.
        Choose(d, 1099, 2);
        uitest::Pump(100);
        EXPECT_EQ(Text(d, 1099) + u" " + Text(d, 1100), u"1 hours");
        // Minutes, then 0.01 of them: refused, the text kept.
        Choose(d, 1100, 0);
        TypeKeys(ComboEdit(d, 1099), u"0.01");
        PressOk(d);
        EXPECT_TRUE(IsWindow(d));
        EXPECT_EQ(Text(d, 1099), u"0.01");
        TypeKeys(ComboEdit(d, 1099), u"0.5");
        Click(d, 1104);
        PressOk(d);
    }));
    EXPECT_EQ(box.texts, std::vector<std::u16string>{u"Please enter a valid value."});
    EXPECT_EQ(dialog.GetTimeSettings().step, 30);
    EXPECT_EQ(dialog.GetTimeSettings().stepMode, 2);
}

// 100 years of seconds do not fit a step; a zone is all or nothing.
TEST(TypedValues, StepsTooLongAndZones) {
    int32_t step = 0;
    EXPECT_FALSE(UI::StepFromAmount(u"100", 4, step));
    int32_t z = 0;
    EXPECT_TRUE(UI::ParseZoneText(u" -0:30 ", z) && z == -30);
    for (const char16_t* text : {u"24:00", u"1:60", u"+05:45 Nepal", u""}) EXPECT_FALSE(UI::ParseZoneText(text, z));
}

// --- places ------------------------------------------------------------------------------------

// A platform whose files cannot be replaced: every write of places.dat fails.
class FailingReplacePlatform : public PL::Win32Platform {
public:
    bool ReplaceFile(const std::u16string&, const std::u16string&) override { return false; }
    bool MoveFile(const std::u16string&, const std::u16string&) override { return false; }
};

class PlaceDialogTest : public SettingsDialogTest {
protected:
    void SetUp() override {
        SettingsDialogTest::SetUp();
        folder_ = TempFolder(u"celvane-places-test");
        PL::Current().DeleteFile(UI::JoinDirectory(folder_, u"places.dat"));
        Data::SetUserPlacesFolder(folder_);
    }
    void TearDown() override {
        PL::Current().DeleteFile(UI::JoinDirectory(folder_, u"places.dat"));
        SettingsDialogTest::TearDown();
    }
    std::string File() const { return ReadAll(UI::JoinDirectory(folder_, u"places.dat")); }
    static Data::Place UserPlace(const char16_t* name, float latitude) {
        Data::Place place = Data::BlankPlace();
        place.name = name;
        place.latitude = latitude;
        EXPECT_TRUE(Data::SaveUserPlace(place));
        return place;
    }
    std::u16string folder_;
};

TEST_F(PlaceDialogTest, ANewPlaceIsCheckedSavedAndMadeCurrent) {
    Messages box;
    // Through the menu command's entry, as the Settings menu runs it.
    WhenOpen([&](HWND d) {
        EXPECT_FALSE(Enabled(d, 1001));  // a built-in place
        MenuCommand(d, UI::PlaceEditDialog::kCmdNew);
        EXPECT_TRUE(Enabled(d, 1001));
        // Each refusal keeps everything typed.
        for (const std::u16string name : {u"Home\tBase", u"", Data::kBuiltinPlaces[0].name}) {
            Type(d, 1001, name);
            PressOk(d);
        }
        Type(d, 1001, u"Home, sweet home");
        Type(d, 1002, u"91");
        PressOk(d);
        Type(d, 1002, u"47:22");
        Type(d, 1003, u"8:32");
        Click(d, 1013);  // east
        Type(ComboEdit(d, 1006), u"+15:00");
        PressOk(d);
        EXPECT_EQ((std::vector<std::u16string>{Text(d, 1001), Text(d, 1002), Text(d, 1003), Text(d, 1006)}),
                  (std::vector<std::u16string>{u"Home, sweet home", u"47:22", u"8:32", u"+15:00"}));
        Type(ComboEdit(d, 1006), u"+1:00");
        Click(d, 1009);  // +1h
        PressOk(d);
    });
    EXPECT_TRUE(UI::RunLocationCommand(nullptr));
    EXPECT_EQ(box.texts, (std::vector<std::u16string>{
                             u"A location name cannot contain line breaks or tabs.",
                             u"Please enter a name for the location.",
                             u"A location named \"" + std::u16string(Data::kBuiltinPlaces[0].name) + u"\" already exists.",
                             u"The latitude must lie between 0° and 90°.",
                             u"The time zone must lie between -12:00 and +14:00."}));
    const Data::Preferences& p = Data::Preferences::Instance();
    EXPECT_EQ(p.place.name, u"Home, sweet home");
    EXPECT_NEAR(p.place.latitude, 47.3667, 1e-3);
    EXPECT_NEAR(p.place.longitude, -8.5333, 1e-3);
    EXPECT_EQ(p.place.timeZone, 60);
    EXPECT_EQ(p.dstAdjust, 1);
    EXPECT_NE(File().find(PL::ToUtf8(Data::FormatPlaceLine(p.place))), std::string::npos) << File();
}

TEST_F(PlaceDialogTest, AFailedSaveSaysSoKeepsTheDialogOpenAndTheOldFile) {
    Messages box;
    const Data::Place home = UserPlace(u"Home", 10);
    const std::string before = File();
    ASSERT_FALSE(before.empty());
    FailingReplacePlatform failing;
    PL::Platform* previous = PL::SetCurrent(&failing);
    UI::PlaceEditDialog dialog;
    dialog.SetPlace(home, 0);
    EXPECT_EQ(IDOK, Drive(dialog, [&](HWND d) {
        Type(d, 1002, u"20");
        PressOk(d);
        EXPECT_TRUE(IsWindow(d));
        PL::SetCurrent(previous);  // the disk is back: the same OK now saves
        EXPECT_EQ(File(), before);
        PressOk(d);
    }));
    PL::SetCurrent(previous);
    ASSERT_EQ(box.texts.size(), 1u);
    EXPECT_NE(box.texts[0].find(u"Error writing file"), std::u16string::npos);
    EXPECT_NE(File().find("20,"), std::string::npos) << File();
}

// --- active files ------------------------------------------------------------------------------

TEST_F(SettingsDialogTest, CheckingAFileLoadsItAndABadFileStaysUncheckedWithItsMessage) {
    Messages box;
    const std::u16string program = TempFolder(u"celvane-files-program");
    const std::u16string data = TempFolder(u"celvane-files-data");
    const std::string record = "X 1;Test object;5h35m;-5°23';1;1;4.0;1344\n";
    WriteAll(UI::JoinDirectory(program, u"Good.puo"), record);
    WriteAll(UI::JoinDirectory(data, u"Bad.puo"), record + "not;a;line\n");
    Data::ObjectFileManagerBase::SetFolders(program, data);
    Data::UserObjectFiles().UnloadAll();
    UI::ActiveFilesDialog dialog;
    EXPECT_EQ(IDOK, Drive(dialog, [&](HWND d) {
        ASSERT_EQ(dialog.Names(), (std::vector<std::u16string>{u"Good", u"Bad"}));
        HWND list = GetDlgItem(d, 1088);
        ListView_SetCheckState(list, 0, TRUE);
        ListView_SetCheckState(list, 1, TRUE);
        EXPECT_TRUE(ListView_GetCheckState(list, 0));
        EXPECT_FALSE(ListView_GetCheckState(list, 1));
        PressOk(d);
    }));
    EXPECT_TRUE(Data::UserObjectFiles().IsLoaded(u"Good"));
    EXPECT_FALSE(Data::UserObjectFiles().IsLoaded(u"Bad"));
    ASSERT_EQ(box.texts.size(), 1u);
    EXPECT_NE(box.texts[0].find(u"on line 2"), std::u16string::npos) << PL::ToUtf8(box.texts[0]);
    Data::UserObjectFiles().UnloadAll();
    Data::ObjectFileManagerBase::UseDefaultFolders();
}

// --- sky view settings -------------------------------------------------------------------------

TEST_F(SettingsDialogTest, SkyViewSettingsGridsTelradOrderAndABadNumber) {
    Messages box;
    Data::SkyDisplaySettings s;
    s.raDecGrid = true;
    s.altAzGrid = true;
    s.tapInfo = 7;
    s.telradDiameter1 = 0.5f;
    UI::SkyViewSettingsDialog dialog;
    dialog.SetSettings(s);
    EXPECT_EQ(IDOK, Drive(dialog, [&](HWND d) {
        HWND p1 = dialog.Page(0), p2 = dialog.Page(1);
        EXPECT_TRUE(Checked(p1, 1039) && !Checked(p1, 1040));  // one grid only
        Type(p2, 1059, u"x");
        box.answer = IDCANCEL;
        PressOk(d);
        EXPECT_EQ(dialog.PageShown(), 1);
        EXPECT_EQ(Text(p2, 1059), u"0.5");
        box.answer = IDOK;
        Type(p2, 1059, u"4");
        Type(p2, 1061, u"0.5");
        Type(p2, 1062, u"2");
        PressOk(d);
    }));
    EXPECT_EQ(box.texts, std::vector<std::u16string>{u"Please enter a valid number."});
    const Data::SkyDisplaySettings& out = dialog.GetSettings();
    EXPECT_TRUE(out.raDecGrid && !out.altAzGrid);
    EXPECT_EQ(out.tapInfo, 0);
    EXPECT_FLOAT_EQ(out.telradDiameter1, 0.5f);
    EXPECT_FLOAT_EQ(out.telradDiameter2, 2.0f);
    EXPECT_FLOAT_EQ(out.telradDiameter3, 4.0f);
}

// --- the menu commands -------------------------------------------------------------------------

TEST_F(SettingsDialogTest, TheSettingsMenuOpensTheDialogsAndConfirmedChangesReachTheViews) {
    apptest::TestView sky(UI::kViewSky);
    UI::SetMainWindows(nullptr, &sky, nullptr);
    Data::Preferences& p = Data::Preferences::Instance();
    p.time.step = 60;
    auto command = [&](int id) { SendMessageW(sky.GetHandle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); };

    // Settings > Set Time Step: 2 hours typed, OK.
    WhenOpen([](HWND d) {
        Choose(d, 1100, 1);
        TypeKeys(ComboEdit(d, 1099), u"2");
        PressOk(d);
    });
    command(UI::kCmdTimeStep);
    EXPECT_EQ(p.time.step, 7200);
    EXPECT_GE(sky.refreshes, 1);

    // Settings > Magnetic Declination, at a moment the model knows: its
    // field strength shown, "Magnetic (AzM)" chosen, OK.
    p.magnetic = 0;
    p.time.useCurrentTime = false;
    p.time.time = Calc::FromCalendar(2020, 6, 1);
    UI::ApplyPreferences();
    bool ran = false;
    WhenOpen([&](HWND d) {
        ran = true;
        EXPECT_TRUE(Checked(d, 1009));  // true azimuths
        EXPECT_NE(Text(d, 1022).find(u" nT"), std::u16string::npos);
        Click(d, 1015);
        PressOk(d);
    });
    command(UI::kCmdMagneticDeclination);
    EXPECT_TRUE(ran);
    EXPECT_EQ(p.magnetic, 1);

    UI::SetMainWindows(nullptr, nullptr, nullptr);
}

}  // namespace
