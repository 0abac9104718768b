// The compass and twilight views under Wine, driven by real messages: the
// dials' geometry in a tall and a wide window, the pixels of an icon at
// azimuth 0 with south up, grey icons below the horizon and red needles for
// the current object, magnetic against true azimuths with the model of the
// moment at the place's height, the twilight page's texts and markers, and
// the arrow keys stepping a day.
#include "tests/wine/winelib_gtest.h"

#include "app/shell.h"
#include "engine/events.h"
#include "engine/magnetic.h"
#include "settings/preferences.h"
#include "views/compass_menus.h"
#include "views/compass_navigation.h"
#include "views/compass_window.h"
#include "views/sky_window.h"
#include "views/core/compass_dial.h"
#include "views/twilight_window.h"
#include "views/view_texts.h"

#include <cmath>
#include <string>

namespace {

using Calc::AstroTime;
using Data::AstroObjRef;
using UI::CompassWindow;
using UI::TwilightWindow;

const mwcl::WindowClass& Class() {
    static mwcl::WindowClass cls(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return cls;
}

// A window's client area of a wanted size.
void SizeClient(HWND hwnd, int w, int h) {
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), GetMenu(hwnd) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

// The view painted into a 32-bit picture of its client area.
class Picture {
public:
    explicit Picture(CompassWindow& view) {
        GetClientRect(view.GetHandle(), &client_);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = client_.right;
        bi.bmiHeader.biHeight = -client_.bottom;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        view.PaintInto(dc_, client_);
        GdiFlush();
    }
    ~Picture() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= client_.right || y >= client_.bottom) return CLR_INVALID;
        const uint32_t p = bits_[y * client_.right + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of a colour in the square of half side `half` around (x, y).
    int Count(int x, int y, int half, COLORREF colour) const {
        int n = 0;
        for (int j = y - half; j <= y + half; ++j)
            for (int i = x - half; i <= x + half; ++i)
                if (At(i, j) == colour) ++n;
        return n;
    }

private:
    RECT client_{};
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// A tap on a toolbar button (press and release on it).
void ButtonPress(UI::LayoutedToolbar& bar, int index) {
    UI::Layout::Rect r;
    bar.Button(index)->GetRect(r);
    const LPARAM at = MAKELPARAM(r.x + r.width / 2, r.y + r.height / 2);
    SendMessageW(bar.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(bar.GetHandle(), WM_LBUTTONUP, 0, at);
}

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGrey = RGB(128, 128, 128);

class ViewsTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = Data::Preferences::Instance();
        Data::Preferences& prefs = Data::Preferences::Instance();
        prefs.place = Calc::Place();  // Greenwich
        prefs.place.elevation = 0;
        prefs.dstAdjust = 0;
        prefs.time.useCurrentTime = false;
        prefs.time.time = Calc::FromCalendar(2025, 3, 10, 21, 0);
        prefs.magnetic = 0;
        prefs.origin = false;
        prefs.compassDisplay = 0;
        for (int i = 0; i < Data::kCompassSlots; ++i) {
            prefs.compass[i].object = i < 10 ? AstroObjRef(Data::kObjBody, i) : AstroObjRef();
            prefs.compassHide[i] = i >= 7;
        }
        prefs.compassSelection = 1;  // the Moon
        UI::ApplyPreferences();
    }
    void TearDown() override {
        UI::SetMainWindows(nullptr, nullptr, nullptr);
        UI::ResetDialogs();
        Data::Preferences::Instance() = saved_;
        UI::ApplyPreferences();
    }
    void Apply() {
        UI::ApplyPreferences();
    }

    Data::Preferences saved_;
};

// --- the compass view ---------------------------------------------------------------------

TEST_F(ViewsTest, CompassDialsInATallAndAWideWindow) {
    CompassWindow view;
    view.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    SizeClient(view.GetHandle(), 300, 640);
    {
        Picture p(view);
        const RECT a = view.DialArea();
        const int w = a.right - a.left, h = a.bottom - a.top;
        ASSERT_LE(200 * w, 250 * h);
        const UI::Compass::DialLayout d = view.Dials();
        EXPECT_EQ(d.r, static_cast<int>(0.4 * w));
        EXPECT_EQ(d.ax, a.left + w - 1 - d.r);
        EXPECT_EQ(d.bx, a.left + d.r);
        EXPECT_EQ(d.cy, a.top + d.r + (h - 2 * d.r) / 2);
        // The azimuth dial's ring is drawn in black at its top.
        EXPECT_GT(p.Count(d.ax, d.cy - d.r, 1, RGB(0, 0, 0)), 0);
        // The dials begin below the toolbar and the two text lines.
        RECT info;
        GetWindowRect(view.InfoLines().GetHandle(), &info);
        EXPECT_GE(view.DrawingArea().top, info.bottom - info.top);
    }
    SizeClient(view.GetHandle(), 800, 420);
    {
        Picture p(view);
        const RECT a = view.DialArea();
        const int w = a.right - a.left, h = a.bottom - a.top;
        ASSERT_GT(200 * w, 250 * h);
        const UI::Compass::DialLayout d = view.Dials();
        EXPECT_EQ(d.r, h / 2);
        EXPECT_EQ(d.cy, a.top + d.r);
        const int g = (w - std::min(static_cast<int>(2.9 * d.r), w)) / 2;
        EXPECT_EQ(d.ax, a.left + w - 1 - d.r - g);
        EXPECT_EQ(d.bx, a.left + g + d.r);
    }
    view.Destroy();
}

TEST_F(ViewsTest, SouthUpPutsAzimuthZeroAtTheBottomGreyBelowTheHorizonRedNeedles) {
    // The Sun at its lower culmination stands due north (azimuth 0), below
    // the horizon at Greenwich in March.
    Data::Preferences& prefs = Data::Preferences::Instance();
    Calc::RiseSetSearch search(prefs.place, 0);
    search.SetBody(0);
    search.SetMoment(Calc::FromCalendar(2025, 3, 10, 12));
    prefs.time.time = search.LowerCulminationAfter().ut;
    prefs.origin = true;
    prefs.compassSelection = 3;  // Venus, the current object; the Sun is one of the others
    Apply();

    CompassWindow view;
    view.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    SizeClient(view.GetHandle(), 640, 480);
    Picture p(view);
    const CompassWindow::SlotState& sun = view.Slot(0);
    ASSERT_TRUE(sun.used);
    EXPECT_NEAR(std::fmod(sun.azimuth + 180.0, 360.0) - 180.0, 0.0, 0.05);
    EXPECT_LT(sun.altitude, 0);
    const UI::Compass::DialLayout d = view.Dials();
    const int ring = d.r - view.IconCell() / 2 - 4;
    // The Sun's icon below the centre, grey; nothing of it above.
    EXPECT_GT(p.Count(d.ax, d.cy + ring, view.IconCell() / 2, kGrey), 3);
    EXPECT_EQ(p.Count(d.ax, d.cy - ring, view.IconCell() / 2, kGrey), 0);
    // A tap on it makes it the current object.
    POINT tap{d.ax, d.cy + ring};
    EXPECT_EQ(view.SlotAt(tap), 0);

    // The current object's needles are red wherever it stands; Venus, never
    // far from the Sun, is below the horizon at midnight too.
    const CompassWindow::SlotState& venus = view.Slot(3);
    EXPECT_LT(venus.altitude, 0);
    const UI::Compass::Point half = UI::Compass::AzimuthPoint(d, venus.azimuth, d.r / 2, true);
    EXPECT_GT(p.Count(half.x, half.y, 1, kRed), 0);
    const UI::Compass::Point alt = UI::Compass::AltitudePoint(d, venus.altitude, d.r / 2);
    EXPECT_GT(p.Count(alt.x, alt.y, 1, kRed), 0);

    // Tapping the Sun's icon through the mouse messages selects its slot.
    SendMessageW(view.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tap.x, tap.y));
    SendMessageW(view.GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(tap.x, tap.y));
    EXPECT_EQ(prefs.compassSelection, 0);
    // Now the Sun is current: red at the bottom of the dial.
    Picture q(view);
    EXPECT_GT(q.Count(d.ax, d.cy + d.r / 2, 1, kRed), 0);
    EXPECT_EQ(q.Count(d.ax, d.cy + ring, view.IconCell() / 2, kGrey), 0);
    view.Destroy();
}

TEST_F(ViewsTest, MagneticAzimuthsUseTheModelOfTheMomentAtThePlacesHeight) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.place.latitude = 46.5f;
    prefs.place.longitude = -8.0f;  // 8 degrees east
    prefs.place.elevation = 3500;   // metres
    prefs.magnetic = 1;
    prefs.time.time = Calc::FromCalendar(2026, 8, 1, 22, 0);
    Apply();
    CompassWindow view;
    view.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(view.ShowsMagnetic());
    Calc::MagneticModel reference;
    reference.latitude = 46.5f;
    reference.longitude = -8.0f;
    reference.height = 3.5f;
    reference.moment = prefs.time.time;
    reference.Recompute();
    ASSERT_TRUE(reference.valid);
    EXPECT_NEAR(view.MagneticDeclination(), reference.declination, 1e-4);
    for (int i : {0, 1, 4}) {
        const CompassWindow::SlotState& s = view.Slot(i);
        const double diff = std::fmod(s.trueAzimuth - s.azimuth + 540.0, 360.0) - 180.0;
        EXPECT_NEAR(diff, reference.declination, 1e-3) << i;
    }
    EXPECT_EQ(view.AzimuthText().substr(0, 3), u"AzM");
    EXPECT_NE(view.StatusText().find(u"WMM2025"), std::u16string::npos);

    // True azimuths when magnetic ones are off.
    prefs.magnetic = 0;
    view.Refresh();
    EXPECT_FALSE(view.ShowsMagnetic());
    EXPECT_EQ(view.Slot(1).azimuth, view.Slot(1).trueAzimuth);
    EXPECT_EQ(view.AzimuthText().substr(0, 3), u"Az.");

    // Outside the models' years the view says so and shows true azimuths,
    // labelled as such.
    prefs.magnetic = 1;
    prefs.time.time = Calc::FromCalendar(2034, 1, 1);
    Apply();
    view.Refresh();
    EXPECT_FALSE(view.ShowsMagnetic());
    EXPECT_TRUE(view.MagneticUnknown());
    EXPECT_EQ(view.Slot(1).azimuth, view.Slot(1).trueAzimuth);
    EXPECT_EQ(view.AzimuthText().substr(0, 3), u"Az.");
    EXPECT_NE(view.StatusText().find(u"2010-2030"), std::u16string::npos);
    view.Destroy();
}

TEST_F(ViewsTest, CompassTakesTheSkySelectionKeysAndTaps) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.compassSelection = 10;  // empty: the first object becomes current
    CompassWindow view;
    view.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(view.CurrentSlot(), 0);
    // An object of the list becomes current in its slot; another one takes slot 10.
    view.TakeTarget(AstroObjRef(Data::kObjBody, 5));
    EXPECT_EQ(view.CurrentSlot(), 5);
    const AstroObjRef vega(Data::kObjStar, 0x12345);
    view.TakeTarget(vega);
    EXPECT_EQ(view.CurrentSlot(), 10);
    EXPECT_EQ(prefs.compass[10].object, vega);

    // Up: one time step back; Down: one on.
    prefs.time.step = 3600;
    const AstroTime start = prefs.time.time;
    SendMessageW(view.GetHandle(), WM_KEYDOWN, VK_UP, 0x01480001);
    EXPECT_EQ(Calc::DiffSeconds(prefs.time.time, start), -3600);
    EXPECT_EQ(UI::ProgramEphemeris().moment, prefs.time.time);
    SendMessageW(view.GetHandle(), WM_KEYDOWN, VK_DOWN, 0x01500001);
    EXPECT_EQ(prefs.time.time, start);

    // The date line opens the time dialog, the place line the place dialog,
    // through the Settings menu's commands.
    int timeDialogs = 0, placeDialogs = 0;
    UI::Dialogs().displayTime = [&](HWND, Data::TimeSettings&) { ++timeDialogs; return false; };
    UI::Dialogs().location = [&](HWND) { ++placeDialogs; return false; };
    UI::Layout::TableControl& info = view.InfoLines();
    RECT r;
    GetClientRect(info.GetHandle(), &r);
    const int lineHeight = r.bottom / 2;
    for (int line = 0; line < 2; ++line) {
        const LPARAM at = MAKELPARAM(8, line * lineHeight + lineHeight / 2);
        SendMessageW(info.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(info.GetHandle(), WM_LBUTTONUP, 0, at);
    }
    EXPECT_EQ(timeDialogs, 1);
    EXPECT_EQ(placeDialogs, 1);

    // Object info from the toolbar: a body chosen there becomes current.
    UI::Dialogs().objectInfo = [](HWND, AstroObjRef& o) {
        o = AstroObjRef(Data::kObjBody, 6);
        return true;
    };
    ButtonPress(view.Toolbar(), CompassWindow::kBtnObjectInfo);
    EXPECT_EQ(view.CurrentSlot(), 6);

    // "Show object in sky": the sky view takes the object as its selection.
    UI::SkyWindow sky;
    sky.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    UI::SetMainWindows(&view, &sky, nullptr);
    ShowWindow(view.GetHandle(), SW_SHOW);
    prefs.skyView.centerMode = true;
    ButtonPress(view.Toolbar(), CompassWindow::kBtnShowInSky);
    EXPECT_EQ(prefs.skyView.selectedObj, AstroObjRef(Data::kObjBody, 6));
    EXPECT_FALSE(prefs.skyView.centerMode);
    EXPECT_EQ(sky.PanelMode(), UI::kPanelObject);
    EXPECT_EQ(prefs.viewMode, UI::kViewSky);
    EXPECT_TRUE(IsWindowVisible(sky.GetHandle()));
    EXPECT_FALSE(IsWindowVisible(view.GetHandle()));
    UI::SetMainWindows(nullptr, nullptr, nullptr);
    sky.Destroy();
    view.Destroy();
}

// --- the view-direction widget -----------------------------------------------------------

TEST(CompassNavigation, ArrowsStepAndWrap) {
    using Nav = UI::CompassNavigationControl;
    // A control 62 x 40: arrows in squares of 10.
    EXPECT_EQ(Nav::ArrowAt(62, 40, POINT{2, 2}), Nav::kArrowUp);
    EXPECT_EQ(Nav::ArrowAt(62, 40, POINT{2, 35}), Nav::kArrowDown);
    EXPECT_EQ(Nav::ArrowAt(62, 40, POINT{24, 35}), Nav::kArrowLeft);
    EXPECT_EQ(Nav::ArrowAt(62, 40, POINT{58, 35}), Nav::kArrowRight);
    EXPECT_EQ(Nav::ArrowAt(62, 40, POINT{31, 20}), Nav::kNoArrow);
    // A field of 10 degrees: steps of 2; right at 359 gives 1, left at 1 gives 359.
    double az = 359, alt = 0;
    Nav::Nudge(Nav::kArrowRight, 10, az, alt);
    EXPECT_NEAR(az, 1, 1e-9);
    Nav::Nudge(Nav::kArrowLeft, 10, az, alt);
    EXPECT_NEAR(az, 359, 1e-9);
    // Altitude stops at the zenith; high up the azimuth step widens.
    alt = 89;
    Nav::Nudge(Nav::kArrowUp, 10, az, alt);
    EXPECT_EQ(alt, 90);
    az = 100;
    alt = 60;
    Nav::Nudge(Nav::kArrowRight, 10, az, alt);
    EXPECT_NEAR(az, 104, 1e-6);  // 2 / cos 60
    // At the widest field the step is capped by field / 180.
    az = 0;
    alt = 90;
    Nav::Nudge(Nav::kArrowRight, 180, az, alt);
    EXPECT_NEAR(az, 36, 1e-6);
}

TEST(CompassNavigation, PresetMenusAndTheirCommands) {
    for (int id : {IDM_DIRECTION_PRESETS, IDM_DIRECTION_PRESETS_DE}) {
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
        ASSERT_NE(menu, nullptr) << id;
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 11);
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 1)), 10);
        EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 10), static_cast<UINT>(IDC_ALT_EDIT));
        wchar_t text[32];
        GetMenuStringW(GetSubMenu(menu, 1), IDC_AZ_PRESET_FIRST + 1, text, 32, MF_BYCOMMAND);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), id == IDM_DIRECTION_PRESETS ? u"&NE" : u"&NO");
        DestroyMenu(menu);
    }
    // A parent hears of each change; "Edit..." takes the typed direction.
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    UI::CompassNavigationControl nav;
    nav.Create(parent, 77, RECT{0, 0, 62, 40});
    nav.SetDirection(400, -100);
    EXPECT_EQ(nav.Azimuth(), 360);
    EXPECT_EQ(nav.Altitude(), -90);
    EXPECT_TRUE(nav.ApplyMenuCommand(IDC_ALT_PRESET_FIRST + 2));  // +45
    EXPECT_EQ(nav.Altitude(), 45);
    EXPECT_TRUE(nav.ApplyMenuCommand(IDC_AZ_PRESET_FIRST + 6));  // W
    EXPECT_EQ(nav.Azimuth(), 270);
    EXPECT_FALSE(nav.ApplyMenuCommand(IDC_AZ_PRESET_FIRST + 6));  // no change
    UI::Dialogs().viewDirection = nullptr;
    EXPECT_FALSE(nav.ApplyMenuCommand(IDC_AZ_EDIT));            // no dialog
    UI::Dialogs().viewDirection = [](HWND, double& az, double& alt) {
        az = 12.5;
        alt = 33;
        return true;
    };
    EXPECT_TRUE(nav.ApplyMenuCommand(IDC_AZ_EDIT));
    EXPECT_EQ(nav.Azimuth(), 12.5);
    EXPECT_EQ(nav.Altitude(), 33);
    UI::ResetDialogs();
    // A tap on the right arrow moves the azimuth by a fifth of the field.
    nav.SetViewAngle(10);
    nav.SetDirection(359, 0);
    SendMessageW(nav.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(58, 35));
    SendMessageW(nav.GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(58, 35));
    EXPECT_NEAR(nav.Azimuth(), 1, 1e-9);
    DestroyWindow(parent);
}

// --- the twilight view ---------------------------------------------------------------------

TEST_F(ViewsTest, TwilightPolarSummerHasNoSunsetNorTwilights) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.place.latitude = 70.0f;
    prefs.place.longitude = -19.0f;
    prefs.place.timeZone = 60;
    prefs.place.name = u"Troms\u00f8";
    prefs.time.time = Calc::FromCalendar(2026, 6, 21, 10);
    Apply();
    TwilightWindow view;
    view.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    const UI::Twilight::PageTexts& t = view.Texts();
    EXPECT_EQ(t.times[Calc::kSunrise], u"-");
    EXPECT_EQ(t.times[Calc::kSunset], u"-");
    EXPECT_EQ(t.markers[Calc::kSunset], u" ");
    EXPECT_NE(t.times[Calc::kSunTransit], u"-");
    EXPECT_EQ(t.dayLength, u"-");
    EXPECT_EQ(t.nightLength, u"-");
    EXPECT_EQ(t.change, u"-");
    EXPECT_EQ(t.times[Calc::kAstronomicalBegin], u"-");
    EXPECT_EQ(t.times[Calc::kAstronomicalEnd], u"-");
    EXPECT_EQ(UI::PlaceName(UI::ProgramEphemeris().place), u"Troms\u00f8");
    view.Destroy();
}

TEST_F(ViewsTest, TwilightMarksMoonEventsOfTheDayBeforeAndAfter) {
    // Over a month at Greenwich the Moon rises on the evening before the
    // displayed day on some days and sets after the next midnight on others;
    // each marker follows the event's local day.
    TwilightWindow view;
    view.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    Data::Preferences& prefs = Data::Preferences::Instance();
    int before = 0, after = 0;
    for (int day = 1; day <= 30; ++day) {
        prefs.time.time = Calc::FromCalendar(2025, 4, day, 12);
        Apply();
        view.Refresh();
        const Calc::TwilightDay& d = view.Day();
        const int32_t shown = UI::ProgramEphemeris().LocalTime().day;
        for (int row : {Calc::kMoonrise, Calc::kMoonTransit, Calc::kMoonset}) {
            const Calc::RiseSetEvent& e = d.events[row];
            const std::u16string& m = view.Texts().markers[row];
            if (!e.found)
                EXPECT_EQ(m, u" ");
            else if (e.local.day < shown)
                EXPECT_EQ(m, u"<");
            else if (e.local.day > shown)
                EXPECT_EQ(m, u">");
            else
                EXPECT_EQ(m, u" ");
            if (m == u"<") ++before;
            if (m == u">") ++after;
        }
        EXPECT_EQ(view.Texts().markers[Calc::kSunrise], u" ");
    }
    EXPECT_GT(before, 0);
    EXPECT_GT(after, 0);
    view.Destroy();
}

TEST_F(ViewsTest, TwilightUpAndDownStepADayAndTheDayLengthChange) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.place.latitude = 48.2f;
    prefs.place.longitude = -16.4f;
    prefs.place.timeZone = 60;
    prefs.time.useCurrentTime = true;  // the keys start from the displayed moment and stop the clock
    Apply();
    TwilightWindow view;
    view.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    const int32_t today = view.Day().localDate.day;
    SendMessageW(view.GetHandle(), WM_KEYDOWN, VK_DOWN, 0x01500001);
    EXPECT_FALSE(prefs.time.useCurrentTime);
    EXPECT_EQ(view.Day().localDate.day, today + 1);
    SendMessageW(view.GetHandle(), WM_KEYDOWN, VK_UP, 0x01480001);
    SendMessageW(view.GetHandle(), WM_KEYDOWN, VK_UP, 0x01480001);
    EXPECT_EQ(view.Day().localDate.day, today - 1);
    // A tap on the page leaves the keys to the window.
    UI::Layout::Rect footer;
    view.Page().Table().GetItem(15, 0)->GetRect(footer);
    const LPARAM at = MAKELPARAM(footer.x + 2, footer.y + 2);
    ShowWindow(view.GetHandle(), SW_SHOW);
    SetForegroundWindow(view.GetHandle());
    SetFocus(view.GetHandle());
    SendMessageW(view.Page().GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(view.Page().GetHandle(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(GetFocus(), view.GetHandle());
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, 0x01500001);
    EXPECT_EQ(view.Day().localDate.day, today);
    // The day toolbar's buttons do the same.
    ButtonPress(view.DayToolbar(), TwilightWindow::kBtnNextDay);
    EXPECT_EQ(view.Day().localDate.day, today + 1);

    // Early May in Vienna: the change against the day before, from the
    // previous day's own sunrise and sunset.
    prefs.time.time = Calc::FromCalendar(2025, 5, 1, 10);
    Apply();
    view.Refresh();
    const Calc::RiseSetEvent* e = view.Day().events;
    const int32_t length = Calc::DiffSeconds(e[Calc::kSunset].ut, e[Calc::kSunrise].ut);
    const int32_t previous = Calc::DiffSeconds(e[Calc::kSunsetPrevious].ut, e[Calc::kSunrisePrevious].ut);
    EXPECT_GT(length - previous, 120);  // days grow by about 3 minutes in early May
    EXPECT_LT(length - previous, 240);
    EXPECT_EQ(view.Texts().change, UI::Twilight::DurationText(length - previous));
    // The day before, computed on its own, has that previous length.
    SendMessageW(view.GetHandle(), WM_KEYDOWN, VK_UP, 0x01480001);
    const Calc::RiseSetEvent* y = view.Day().events;
    EXPECT_NEAR(Calc::DiffSeconds(y[Calc::kSunset].ut, y[Calc::kSunrise].ut), previous, 2);
    view.Destroy();
}

TEST_F(ViewsTest, TwilightTapsOpenTheDialogs) {
    TwilightWindow view;
    view.Create(Class(), nullptr, WS_OVERLAPPEDWINDOW);
    SizeClient(view.GetHandle(), 480, 600);
    int timeDialogs = 0, placeDialogs = 0;
    AstroObjRef asked;
    UI::Dialogs().displayTime = [&](HWND, Data::TimeSettings&) { ++timeDialogs; return false; };
    UI::Dialogs().location = [&](HWND) { ++placeDialogs; return false; };
    UI::Dialogs().objectInfo = [&](HWND, AstroObjRef& o) { asked = o; return false; };
    UI::Layout::TableLayoutManager& t = view.Page().Table();
    auto tap = [&](int row, int column) {
        UI::Layout::Rect r;
        t.GetItem(row, column)->GetRect(r);
        const LPARAM at = MAKELPARAM(r.x + 2, r.y + r.height / 2);
        SendMessageW(view.Page().GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(view.Page().GetHandle(), WM_LBUTTONUP, 0, at);
    };
    tap(0, 1);
    EXPECT_EQ(timeDialogs, 1);
    tap(1, 1);
    EXPECT_EQ(placeDialogs, 1);
    tap(5, 0);
    EXPECT_EQ(asked, AstroObjRef(Data::kObjBody, 1));
    tap(4, 0);
    EXPECT_EQ(asked, AstroObjRef(Data::kObjBody, 0));
    view.Destroy();
}

}  // namespace
