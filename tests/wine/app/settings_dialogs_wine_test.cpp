// The settings dialogs under Wine, driven by real messages: text typed into
// their fields, buttons clicked, boxes checked, OK and Cancel pressed; what
// they hand back, store in the preferences and write to disk is read back.
#include "tests/wine/winelib_gtest.h"

#include "app/active_files_dialog.h"
#include "app/base_window.h"
#include "app/compass_objects_dialog.h"
#include "app/magdecl_dialog.h"
#include "app/place_dialogs.h"
#include "app/settime_dialog.h"
#include "app/settings_dialogs.h"
#include "app/shell.h"
#include "app/skyview_settings_dialog.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "data/objectfiles.h"
#include "data/platform.h"
#include "settings/places.h"
#include "settings/preferences.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using UI::ShowSettingsMessage;

// --- driving a modal dialog ----------------------------------------------------------------

std::function<void()> g_driver;

void CALLBACK RunDriver(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto driver = std::move(g_driver);
    g_driver = nullptr;
    if (driver) driver();
}

// Runs the dialog modally; `driver` runs inside its message loop once it is
// up. The driver ends the dialog (OK or Cancel); a dialog still open after
// it is cancelled, so that a failed test cannot hang.
INT_PTR Drive(mwcl::Dialog& dialog, std::function<void(HWND)> driver) {
    g_driver = [&dialog, driver] {
        driver(dialog.GetHandle());
        if (dialog.GetHandle() && IsWindow(dialog.GetHandle()))
            PostMessageW(dialog.GetHandle(), WM_COMMAND, IDCANCEL, 0);
    };
    SetTimer(nullptr, 0, 10, RunDriver);
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

void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

// The message boxes the dialogs show, answered with `answer`.
struct Messages {
    std::vector<std::u16string> texts;
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
    std::u16string Last() const { return texts.empty() ? std::u16string() : texts.back(); }
    std::vector<std::u16string> help;
};

std::u16string TempFolder(const char16_t* name) {
    WCHAR temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::u16string folder = UI::JoinDirectory(U16(temp), name);
    CreateDirectoryW(W(folder), nullptr);
    return folder;
}

void WriteText(const std::u16string& path, const std::string& text) {
    std::FILE* f = PL::Current().OpenFile(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

std::string ReadText(const std::u16string& path) {
    std::string out;
    if (std::FILE* f = PL::Current().OpenFile(path, "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        std::fclose(f);
    }
    return out;
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

// --- display time ----------------------------------------------------------------------------

TEST_F(SettingsDialogTest, SetTimeJulianDateLocalTimeAndUtcFollowEachOther) {
    Messages box;
    Data::Preferences::Instance().place.timeZone = 60;  // local = UT + 1 h
    UI::SetTimeDialog dialog;
    Data::TimeSettings time;
    time.useCurrentTime = true;
    dialog.SetTimeSettings(time);
    bool liveDisabled = false;
    std::u16string utc;
    SYSTEMTIME local{};
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        liveDisabled = !Enabled(d, 1011) && !Enabled(d, 1007) && !Enabled(d, 1008);
        Click(d, 1010);
        TypeKeys(GetDlgItem(d, 1011), u"2451545.0");  // 2000-01-01 12:00 UT
        utc = Text(d, 1012);
        SendDlgItemMessageW(d, 1008, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local));
        PressOk(d);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(liveDisabled);
    EXPECT_FALSE(dialog.GetTimeSettings().useCurrentTime);
    EXPECT_EQ(dialog.GetTimeSettings().time, Calc::kJ2000);
    EXPECT_NE(utc.find(u"2000"), std::u16string::npos) << PL::ToUtf8(utc);
    EXPECT_NE(utc.find(u"12"), std::u16string::npos) << PL::ToUtf8(utc);
    EXPECT_EQ(local.wHour, 13);  // the picker shows local time
    EXPECT_TRUE(box.texts.empty());

    // The pickers the other way: local 2024-03-05 22:30:15 is 21:30:15 UT.
    UI::SetTimeDialog second;
    time.useCurrentTime = false;
    time.time = Calc::kJ2000;
    second.SetTimeSettings(time);
    std::u16string julian;
    Drive(second, [&](HWND d) {
        SYSTEMTIME st{};
        st.wYear = 2024, st.wMonth = 3, st.wDay = 5, st.wHour = 22, st.wMinute = 30, st.wSecond = 15;
        SendDlgItemMessageW(d, 1007, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
        SendDlgItemMessageW(d, 1008, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
        NMDATETIMECHANGE change{};
        change.nmhdr.hwndFrom = GetDlgItem(d, 1008);
        change.nmhdr.idFrom = 1008;
        change.nmhdr.code = DTN_DATETIMECHANGE;
        change.dwFlags = GDT_VALID;
        change.st = st;
        SendMessageW(d, WM_NOTIFY, 1008, reinterpret_cast<LPARAM>(&change));
        julian = Text(d, 1011);
        PressOk(d);
    });
    EXPECT_EQ(second.GetTimeSettings().time, Calc::FromCalendar(2024, 3, 5, 21, 30, 15));
    EXPECT_EQ(julian, Calc::FormatJulianDay(Calc::FromCalendar(2024, 3, 5, 21, 30, 15), -5));
}

TEST_F(SettingsDialogTest, SetTimeRefusesAJulianDateOutside1900To2099AndKeepsTheText) {
    Messages box;
    UI::SetTimeDialog dialog;
    Data::TimeSettings time;
    time.useCurrentTime = false;
    time.time = Calc::kJ2000;
    dialog.SetTimeSettings(time);
    std::u16string kept;
    bool stillOpen = false;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        Type(d, 1011, u"2415020");  // 1899-12-31 12:00
        PressOk(d);
        stillOpen = IsWindow(d) != FALSE;
        kept = Text(d, 1011);
        SendMessageW(d, WM_HELP, 0, 0);
        SendMessageW(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(kept, u"2415020");
    ASSERT_EQ(box.texts.size(), 1u);
    EXPECT_EQ(box.texts[0], u"Invalid julian date");
    EXPECT_EQ(box.flags[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(dialog.GetTimeSettings().time, Calc::kJ2000);  // typing it changed nothing
    EXPECT_EQ(box.help, std::vector<std::u16string>{u"settime"});

    Calc::AstroTime t;
    EXPECT_FALSE(UI::ParseDialogJulianDay(u"2488070", t));  // 2100-01-01
    EXPECT_TRUE(UI::ParseDialogJulianDay(u"2488069", t));   // 2099-12-31
}

// --- time step -------------------------------------------------------------------------------

TEST(TimeStep, BestUnitArrowsAndAmounts) {
    struct Case {
        int32_t step;
        int unit;
        double amount;
    } cases[] = {{7200, 1, 2}, {90000, 1, 25}, {86164, 2, 1}, {120, 0, 2}, {30, 0, 0.5}, {31536000, 4, 1}, {604800, 3, 7}};
    for (const Case& c : cases) {
        int unit = -1;
        double amount = 0;
        UI::BestStepUnit(c.step, unit, amount);
        EXPECT_EQ(unit, c.unit) << c.step;
        EXPECT_DOUBLE_EQ(amount, c.amount) << c.step;
    }
    EXPECT_EQ(UI::NextStepPreset(60, -1), 60);
    EXPECT_EQ(UI::NextStepPreset(31536000, 1), 31536000);
    EXPECT_EQ(UI::NextStepPreset(100, 1), 600);
    EXPECT_EQ(UI::NextStepPreset(100, -1), 60);
    int32_t step = 0;
    EXPECT_TRUE(UI::StepFromAmount(u"0.5", 0, step));
    EXPECT_EQ(step, 30);
    EXPECT_FALSE(UI::StepFromAmount(u"0.01", 0, step));
    EXPECT_FALSE(UI::StepFromAmount(u"100", 4, step));  // beyond 32 bits
    EXPECT_FALSE(UI::StepFromAmount(u"abc", 1, step));
}

TEST_F(SettingsDialogTest, TimeStepTakesTypedAmountsPresetsAndRefusesBelowASecond) {
    Messages box;
    UI::TimeStepDialog dialog;
    Data::TimeSettings time;
    time.step = 3600;
    time.stepMode = 1;
    dialog.SetTimeSettings(time);
    std::u16string afterPreset, unitAfterPreset, kept;
    bool stillOpen = false;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        // The one-hour preset: the field holds the number, the unit list the unit.
        SendDlgItemMessageW(d, 1099, CB_SETCURSEL, 2, 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(1099, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(d, 1099)));
        Pump(100);
        afterPreset = Text(d, 1099);
        unitAfterPreset = Text(d, 1100);
        // Minutes, then 0.01 of them: refused.
        SendDlgItemMessageW(d, 1100, CB_SETCURSEL, 0, 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(1100, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(d, 1100)));
        TypeKeys(ComboEdit(d, 1099), u"0.01");
        PressOk(d);
        stillOpen = IsWindow(d) != FALSE;
        kept = Text(d, 1099);
        TypeKeys(ComboEdit(d, 1099), u"0.5");
        Click(d, 1104);
        PressOk(d);
    });
    EXPECT_EQ(afterPreset, u"1");
    EXPECT_EQ(unitAfterPreset, u"hours");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(kept, u"0.01");
    ASSERT_EQ(box.texts.size(), 1u);
    EXPECT_EQ(box.texts[0], u"Please enter a valid value.");
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetTimeSettings().step, 30);
    EXPECT_EQ(dialog.GetTimeSettings().stepMode, 2);
}

TEST_F(SettingsDialogTest, TimeStepArrowsWalkThePresets) {
    UI::TimeStepDialog dialog;
    Data::TimeSettings time;
    time.step = 100;
    dialog.SetTimeSettings(time);
    std::u16string shown;
    Drive(dialog, [&](HWND d) {
        NMUPDOWN ud{};
        ud.hdr.hwndFrom = GetDlgItem(d, 1101);
        ud.hdr.idFrom = 1101;
        ud.hdr.code = UDN_DELTAPOS;
        ud.iDelta = 1;
        SendMessageW(d, WM_NOTIFY, 1101, reinterpret_cast<LPARAM>(&ud));
        shown = Text(d, 1099) + u" " + Text(d, 1100);
        PressOk(d);
    });
    EXPECT_EQ(dialog.GetTimeSettings().step, 600);
    EXPECT_EQ(shown, u"10 min");
}

// --- places ------------------------------------------------------------------------------------

TEST(Zone, TextsThatReadAndTextsThatDoNot) {
    int32_t z = 0;
    EXPECT_TRUE(UI::ParseZoneText(u"+5:45", z));
    EXPECT_EQ(z, 345);
    EXPECT_TRUE(UI::ParseZoneText(u"-3:30", z));
    EXPECT_EQ(z, -210);
    EXPECT_TRUE(UI::ParseZoneText(u" -0:30 ", z));
    EXPECT_EQ(z, -30);
    EXPECT_TRUE(UI::ParseZoneText(u"14", z));
    EXPECT_EQ(z, 840);
    EXPECT_FALSE(UI::ParseZoneText(u"24:00", z));
    EXPECT_FALSE(UI::ParseZoneText(u"1:60", z));
    EXPECT_FALSE(UI::ParseZoneText(u"+05:45 Nepal", z));
    EXPECT_FALSE(UI::ParseZoneText(u"", z));
    EXPECT_EQ(UI::FormatZone(-210), u"-03:30");
    EXPECT_EQ(UI::FormatZone(60), u"+01:00");
}

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
    std::string File() const { return ReadText(UI::JoinDirectory(folder_, u"places.dat")); }
    std::u16string folder_;
};

TEST_F(PlaceDialogTest, ANewPlaceIsCheckedSavedAndMadeCurrent) {
    Messages box;
    bool builtInLocked = false, newUnlocked = false;
    std::vector<std::u16string> keptAfterRefusal;
    // Through the menu command's entry, as the Settings menu runs it.
    std::function<void(HWND)> driver = [&](HWND d) {
        HMENU menu = GetMenu(d);
        builtInLocked = !Enabled(d, 1001) && !Enabled(d, 1002) && !Enabled(d, 1006) && menu &&
                        (GetMenuState(menu, UI::PlaceEditDialog::kCmdDelete, MF_BYCOMMAND) & MF_GRAYED);
        MenuCommand(d, UI::PlaceEditDialog::kCmdNew);
        newUnlocked = Enabled(d, 1001) && Enabled(d, 1002) && Enabled(d, 1006) &&
                      !(GetMenuState(menu, UI::PlaceEditDialog::kCmdDelete, MF_BYCOMMAND) & MF_GRAYED);
        // Each refusal keeps everything typed.
        Type(d, 1001, u"Home\tBase");
        PressOk(d);
        Type(d, 1001, u"");
        PressOk(d);
        Type(d, 1001, Data::kBuiltinPlaces[0].name);
        PressOk(d);
        Type(d, 1001, u"Home, sweet home");
        Type(d, 1002, u"91");
        PressOk(d);
        Type(d, 1002, u"47:22");
        Type(d, 1003, u"8:32");
        Click(d, 1013);  // east
        Type(ComboEdit(d, 1006), u"+15:00");
        PressOk(d);
        keptAfterRefusal = {Text(d, 1001), Text(d, 1002), Text(d, 1003), Text(d, 1006)};
        Type(ComboEdit(d, 1006), u"+1:00");
        Click(d, 1009);  // +1h
        PressOk(d);
    };
    g_driver = [&] {
        HWND d = GetActiveWindow();
        driver(d);
    };
    SetTimer(nullptr, 0, 10, RunDriver);
    EXPECT_TRUE(UI::RunLocationCommand(nullptr));
    EXPECT_TRUE(builtInLocked);
    EXPECT_TRUE(newUnlocked);
    ASSERT_EQ(box.texts.size(), 5u);
    EXPECT_EQ(box.texts[0], u"A location name cannot contain line breaks or tabs.");
    EXPECT_EQ(box.texts[1], u"Please enter a name for the location.");
    EXPECT_EQ(box.texts[2], u"A location named \"" + std::u16string(Data::kBuiltinPlaces[0].name) + u"\" already exists.");
    EXPECT_EQ(box.texts[3], u"The latitude must lie between 0° and 90°.");
    EXPECT_EQ(box.texts[4], u"The time zone must lie between -12:00 and +14:00.");
    EXPECT_EQ(keptAfterRefusal,
              (std::vector<std::u16string>{u"Home, sweet home", u"47:22", u"8:32", u"+15:00"}));
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
    Data::Place home = Data::BlankPlace();
    home.name = u"Home";
    home.latitude = 10;
    ASSERT_TRUE(Data::SaveUserPlace(home));
    const std::string before = File();
    ASSERT_FALSE(before.empty());

    FailingReplacePlatform failing;
    PL::Platform* previous = PL::SetCurrent(&failing);
    UI::PlaceEditDialog dialog;
    dialog.SetPlace(home, 0);
    bool stillOpen = false;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        Type(d, 1002, u"20");
        PressOk(d);
        stillOpen = IsWindow(d) != FALSE;
        PL::SetCurrent(previous);  // the disk is back: the same OK now saves
        PressOk(d);
    });
    PL::SetCurrent(previous);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(box.texts.size(), 1u);
    EXPECT_NE(box.texts[0].find(u"Error writing file"), std::u16string::npos);
    EXPECT_EQ(result, IDOK);
    EXPECT_NE(File(), before);
    EXPECT_NE(File().find("20,"), std::string::npos) << File();
}

TEST_F(PlaceDialogTest, DeletingTheOnlyUserPlaceShowsTheNearestBuiltInPlace) {
    Messages box;
    Data::Place home = Data::BlankPlace();
    home.name = u"Near Greenwich";
    home.latitude = 51.5f;
    home.longitude = 0.01f;
    ASSERT_TRUE(Data::SaveUserPlace(home));
    UI::PlaceEditDialog dialog;
    dialog.SetPlace(home, 0);
    std::u16string shownName;
    Drive(dialog, [&](HWND d) {
        MenuCommand(d, UI::PlaceEditDialog::kCmdDelete);
        shownName = Text(d, 1001);
        PressOk(d);
    });
    EXPECT_EQ(File().find("Near Greenwich"), std::string::npos) << File();
    EXPECT_TRUE(Data::UserPlaces().Places().empty());
    EXPECT_EQ(shownName, u"Greenwich");
    EXPECT_EQ(dialog.GetPlace().region, u"Europe");
    EXPECT_TRUE(box.texts.empty());
}

TEST_F(PlaceDialogTest, TheChooserFiltersByRegionAndReturnsTheSelectedRow) {
    Data::Place home = Data::BlankPlace();
    home.name = u"Home";
    ASSERT_TRUE(Data::SaveUserPlace(home));
    UI::PlaceChooseDialog chooser;
    chooser.SetPlace(home);
    size_t userRows = 0, allRows = 0;
    Drive(chooser, [&](HWND d) {
        userRows = chooser.Shown().size();
        SendDlgItemMessageW(d, 1005, CB_SETCURSEL, 0, 0);  // "All"
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(1005, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(d, 1005)));
        allRows = chooser.Shown().size();
        for (size_t i = 0; i < chooser.Shown().size(); ++i)
            if (chooser.Shown()[i].name == u"Greenwich") {
                LVITEMW item{};
                item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                item.state = LVIS_SELECTED | LVIS_FOCUSED;
                SendDlgItemMessageW(d, 1006, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
            }
        PressOk(d);
    });
    EXPECT_EQ(userRows, 1u);
    EXPECT_EQ(allRows, Data::kBuiltinPlaceCount + 1);
    EXPECT_EQ(chooser.GetPlace().name, u"Greenwich");
}

// --- magnetic declination ----------------------------------------------------------------------

TEST_F(SettingsDialogTest, MagneticDeclinationShowsTheFieldOrDashesAndTheSwitch) {
    EXPECT_EQ(UI::FormatDeclination(-2.34f), u"2.3°W");
    EXPECT_EQ(UI::FormatDeclination(0.0f), u"0°W");
    EXPECT_EQ(UI::FormatDeclination(3.06f), u"3.1°E");

    Data::Preferences& p = Data::Preferences::Instance();
    p.time.useCurrentTime = false;
    p.time.time = Calc::FromCalendar(2009, 6, 1);
    UI::ApplyPreferences();
    UI::MagneticDeclinationDialog outside;
    outside.SetMagnetic(false);
    std::vector<std::u16string> dashes;
    Drive(outside, [&](HWND d) {
        dashes = {Text(d, 1020), Text(d, 1021), Text(d, 1022)};
        Click(d, 1015);
        PressOk(d);
    });
    EXPECT_EQ(dashes, (std::vector<std::u16string>{u"-", u"-", u"-"}));
    EXPECT_TRUE(outside.Magnetic());

    p.time.time = Calc::FromCalendar(2020, 6, 1);
    UI::ApplyPreferences();
    int32_t magnetic = 1;
    std::u16string decl, intensity, place;
    bool trueChecked = true;
    g_driver = [&] {
        HWND d = GetActiveWindow();
        decl = Text(d, 1020);
        intensity = Text(d, 1022);
        place = Text(d, 1019);
        trueChecked = Checked(d, 1009);
        Click(d, 1009);
        PressOk(d);
    };
    SetTimer(nullptr, 0, 10, RunDriver);
    EXPECT_TRUE(UI::RunMagneticDeclinationDialog(nullptr, magnetic));
    EXPECT_EQ(magnetic, 0);
    EXPECT_FALSE(trueChecked);
    EXPECT_EQ(place, u"Greenwich");
    EXPECT_NE(decl.find(u"°"), std::u16string::npos);
    EXPECT_NE(intensity.find(u" nT"), std::u16string::npos);
}

// --- active files ------------------------------------------------------------------------------

TEST_F(SettingsDialogTest, CheckingAFileLoadsItAndABadFileStaysUncheckedWithItsMessage) {
    Messages box;
    const std::u16string program = TempFolder(u"celvane-files-program");
    const std::u16string data = TempFolder(u"celvane-files-data");
    WriteText(UI::JoinDirectory(program, u"Good.puo"), "X 1;Test object;5h35m;-5°23';1;1;4.0;1344\n");
    WriteText(UI::JoinDirectory(data, u"Bad.puo"), "X 1;Test object;5h35m;-5°23';1;1;4.0;1344\nnot;a;line\n");
    WriteText(UI::JoinDirectory(data, u"Tails.pco"), "");
    Data::ObjectFileManagerBase::SetFolders(program, data);
    Data::UserObjectFiles().UnloadAll();
    UI::ActiveFilesDialog dialog;
    std::vector<std::u16string> objects, comets;
    bool goodChecked = false, badChecked = true;
    Drive(dialog, [&](HWND d) {
        objects = dialog.Names();
        HWND list = GetDlgItem(d, 1088);
        auto check = [&](const std::u16string& name) {
            for (size_t i = 0; i < dialog.Names().size(); ++i)
                if (dialog.Names()[i] == name) ListView_SetCheckState(list, static_cast<int>(i), TRUE);
        };
        auto isChecked = [&](const std::u16string& name) {
            for (size_t i = 0; i < dialog.Names().size(); ++i)
                if (dialog.Names()[i] == name) return ListView_GetCheckState(list, static_cast<int>(i)) != 0;
            return false;
        };
        check(u"Good");
        check(u"Bad");
        goodChecked = isChecked(u"Good");
        badChecked = isChecked(u"Bad");
        Click(d, 1087);
        comets = dialog.Names();
        PressOk(d);
    });
    EXPECT_EQ(objects, (std::vector<std::u16string>{u"Good", u"Bad"}));
    EXPECT_EQ(comets, (std::vector<std::u16string>{u"Tails"}));
    EXPECT_TRUE(goodChecked);
    EXPECT_FALSE(badChecked);
    EXPECT_TRUE(Data::UserObjectFiles().IsLoaded(u"Good"));
    EXPECT_FALSE(Data::UserObjectFiles().IsLoaded(u"Bad"));
    EXPECT_EQ(Data::UserObjectFiles().FindStore(u"Good").size(), 1u);
    ASSERT_EQ(box.texts.size(), 1u);
    EXPECT_NE(box.texts[0].find(u"on line 2"), std::u16string::npos) << PL::ToUtf8(box.texts[0]);
    Data::UserObjectFiles().UnloadAll();
    Data::ObjectFileManagerBase::UseDefaultFolders();
}

// --- sky view settings and view direction ----------------------------------------------------

TEST_F(SettingsDialogTest, SkyViewSettingsGridsTelradOrderAndABadNumber) {
    Messages box;
    Data::SkyDisplaySettings s;
    s.raDecGrid = true;
    s.altAzGrid = true;
    s.tapInfo = 7;
    s.telradDiameter1 = 0.5f;
    UI::SkyViewSettingsDialog dialog;
    dialog.SetSettings(s);
    bool onlyRaDec = false, noTap = false;
    int pageAfterBad = -1;
    std::u16string restored;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        HWND p1 = dialog.Page(0), p2 = dialog.Page(1);
        onlyRaDec = Checked(p1, 1039) && !Checked(p1, 1040);
        noTap = !Checked(p2, 1053) && !Checked(p2, 1054) && !Checked(p2, 1055) && !Checked(p2, 1056);
        Type(p2, 1059, u"x");
        box.answer = IDCANCEL;
        PressOk(d);
        pageAfterBad = dialog.PageShown();
        restored = Text(p2, 1059);
        box.answer = IDOK;
        Type(p2, 1059, u"4");
        Type(p2, 1061, u"0.5");
        Type(p2, 1062, u"2");
        PressOk(d);
    });
    EXPECT_TRUE(onlyRaDec);
    EXPECT_TRUE(noTap);
    EXPECT_EQ(pageAfterBad, 1);
    EXPECT_EQ(restored, u"0.5");
    ASSERT_EQ(box.texts.size(), 1u);
    EXPECT_EQ(box.texts[0], u"Please enter a valid number.");
    EXPECT_EQ(result, IDOK);
    const Data::SkyDisplaySettings& out = dialog.GetSettings();
    EXPECT_FALSE(out.altAzGrid);
    EXPECT_TRUE(out.raDecGrid);
    EXPECT_EQ(out.tapInfo, 0);
    EXPECT_FLOAT_EQ(out.telradDiameter1, 0.5f);
    EXPECT_FLOAT_EQ(out.telradDiameter2, 2.0f);
    EXPECT_FLOAT_EQ(out.telradDiameter3, 4.0f);
}

TEST_F(SettingsDialogTest, ViewDirectionConvertsLiveBetweenTheTwoForms) {
    Messages box;
    Data::Preferences& p = Data::Preferences::Instance();
    p.time.useCurrentTime = false;
    p.time.time = Calc::kJ2000;
    UI::ApplyPreferences();
    UI::SetViewDirectionDialog dialog;
    dialog.SetDirection(180.0f, 30.0f);
    bool raLocked = false;
    std::u16string az, alt;
    Drive(dialog, [&](HWND d) {
        raLocked = !Enabled(d, 1097) && !Enabled(d, 1094) && Enabled(d, 1095);
        Click(d, 1090);
        // The equatorial form of azimuth 90, altitude 10, typed in.
        float ra = 0, dec = 0;
        UI::ProgramEphemeris().HorizontalToEquatorial(90.0f, 10.0f, ra, dec);
        Type(d, 1097, Data::FormatRightAscension(ra < 0 ? ra + 24 : ra));
        Type(d, 1094, Data::FormatDegrees(dec));
        az = Text(d, 1095);
        alt = Text(d, 1096);
        PressOk(d);
    });
    EXPECT_TRUE(raLocked);
    EXPECT_TRUE(dialog.EquatorialMode());
    EXPECT_NEAR(dialog.Azimuth(), 90.0f, 0.1f);
    EXPECT_NEAR(dialog.Altitude(), 10.0f, 0.1f);
    float azShown = 0, altShown = 0;
    EXPECT_TRUE(Data::ParseSexagesimal(az, azShown)) << PL::ToUtf8(az);
    EXPECT_TRUE(Data::ParseSexagesimal(alt, altShown)) << PL::ToUtf8(alt);
    EXPECT_NEAR(azShown, 90.0f, 0.1f);
    EXPECT_NEAR(altShown, 10.0f, 0.1f);
    EXPECT_TRUE(box.texts.empty());
}

// --- compass objects ---------------------------------------------------------------------------

TEST_F(SettingsDialogTest, CompassObjectsShowNamesAndHideFlagsAndCancelKeepsTheChanges) {
    Data::Preferences& p = Data::Preferences::Instance();
    for (auto& slot : p.compass) slot.object = Data::AstroObjRef();
    p.compassHide.fill(false);
    p.compass[0].object = Data::AstroObjRef(Data::kObjBody, 4);  // Mars
    p.compassHide[1] = true;
    UI::CompassObjDialog dialog;
    std::u16string first, empty;
    bool firstChecked = false, secondChecked = true;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        first = Text(d, 1075);
        empty = Text(d, 1076);
        firstChecked = Checked(d, 1063);
        secondChecked = Checked(d, 1064);
        Click(d, 1063);  // hide Mars
        Click(d, 1064);  // show the empty slot
        SendMessageW(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(first, Data::ObjectName(Data::AstroObjRef(Data::kObjBody, 4)));
    EXPECT_EQ(empty, u" -- ");
    EXPECT_TRUE(firstChecked);
    EXPECT_FALSE(secondChecked);
    EXPECT_TRUE(p.compassHide[0]);
    EXPECT_FALSE(p.compassHide[1]);
}

// --- the menu commands -------------------------------------------------------------------------

HWND FindDescendant(HWND root, int id) {
    for (HWND c = GetWindow(root, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(c) == id) return c;
        if (HWND found = FindDescendant(c, id)) return found;
    }
    return nullptr;
}

class CountingView : public UI::CelvaneBaseWindow {
public:
    explicit CountingView(int32_t mode) : UI::CelvaneBaseWindow(mode) {}
    void Refresh() override { ++refreshes; }
    int refreshes = 0;
};

TEST_F(SettingsDialogTest, TheSettingsMenuOpensTheDialogsAndConfirmedChangesReachTheViews) {
    static mwcl::WindowClass cls(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    CountingView sky(UI::kViewSky);
    sky.Create(cls, nullptr, WS_OVERLAPPEDWINDOW);
    UI::SetMainWindows(nullptr, &sky, nullptr);
    Data::Preferences& p = Data::Preferences::Instance();
    p.time.step = 60;

    // Settings > Set Time Step: 2 hours typed, OK.
    g_driver = [] {
        HWND d = GetActiveWindow();
        SendDlgItemMessageW(d, 1100, CB_SETCURSEL, 1, 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(1100, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(d, 1100)));
        TypeKeys(ComboEdit(d, 1099), u"2");
        PressOk(d);
    };
    SetTimer(nullptr, 0, 10, RunDriver);
    SendMessageW(sky.GetHandle(), WM_COMMAND, MAKEWPARAM(UI::kCmdTimeStep, 0), 0);
    EXPECT_EQ(p.time.step, 7200);
    EXPECT_GE(sky.refreshes, 1);

    // Cancel changes nothing.
    const Data::TimeSettings before = p.time;
    g_driver = [] { SendMessageW(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0); };
    SetTimer(nullptr, 0, 10, RunDriver);
    SendMessageW(sky.GetHandle(), WM_COMMAND, MAKEWPARAM(UI::kCmdDisplayTime, 0), 0);
    EXPECT_EQ(p.time.useCurrentTime, before.useCurrentTime);
    EXPECT_EQ(p.time.step, before.step);

    // Settings > Magnetic Declination: "Magnetic (AzM)" chosen, OK.
    p.magnetic = 0;
    g_driver = [] {
        HWND d = GetActiveWindow();
        Click(d, 1015);
        PressOk(d);
    };
    SetTimer(nullptr, 0, 10, RunDriver);
    SendMessageW(sky.GetHandle(), WM_COMMAND, MAKEWPARAM(UI::kCmdMagneticDeclination, 0), 0);
    EXPECT_EQ(p.magnetic, 1);

    // The sky view's settings: a grid switched on reaches the preferences and the map redraws.
    p.display.raDecGrid = false;
    g_driver = [] {
        HWND d = GetActiveWindow();
        // The first page is a child dialog of the container; its grid box by id.
        HWND box = FindDescendant(d, 1039);
        if (box) SendMessageW(box, BM_CLICK, 0, 0);
        PressOk(d);
    };
    SetTimer(nullptr, 0, 10, RunDriver);
    const int refreshes = sky.refreshes;
    EXPECT_TRUE(UI::RunSkyViewSettings(nullptr));
    EXPECT_TRUE(p.display.raDecGrid);
    EXPECT_EQ(sky.refreshes, refreshes + 1);
    UI::SetMainWindows(nullptr, nullptr, nullptr);
}

}  // namespace
