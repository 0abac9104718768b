// The compass and twilight views under Wine, driven by real messages: the
// pixels of an icon at azimuth 0 with south up, grey icons below the horizon
// and red needles for the current object, magnetic against true azimuths with
// the model of the moment at the place's height, the view-direction widget's
// steps and Edit..., and the twilight page's taps and day steps.
#include "tests/wine/ui/ui_test_util.h"

#include "app/shell.h"
#include "engine/events.h"
#include "engine/magnetic.h"
#include "settings/preferences.h"
#include "views/compass_menus.h"
#include "views/compass_navigation.h"
#include "views/compass_window.h"
#include "views/sky_window.h"
#include "views/twilight_window.h"

#include <cmath>
#include <string>

namespace {

using Data::AstroObjRef;
using UI::CompassWindow;
using UI::TwilightWindow;

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGrey = RGB(128, 128, 128);

// A window's client area of a wanted size.
void SizeClient(HWND hwnd, int w, int h) {
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), GetMenu(hwnd) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

// The compass view painted into a picture of its client area.
struct Picture : uitest::Canvas {
    explicit Picture(CompassWindow& view)
        : Canvas(mwcl::GetClientSize(view.GetHandle()).cx, mwcl::GetClientSize(view.GetHandle()).cy, RGB(1, 2, 3)) {
        GetClientRect(view.GetHandle(), &client);
        view.PaintInto(Dc(), client);
    }
    // Pixels of a colour in the square of half side `half` around (x, y).
    int Count(int x, int y, int half, COLORREF colour) const {
        int n = 0;
        for (int j = std::max(0, y - half); j <= std::min<int>(client.bottom - 1, y + half); ++j)
            for (int i = std::max(0, x - half); i <= std::min<int>(client.right - 1, x + half); ++i)
                if (At(i, j) == colour) ++n;
        return n;
    }
    RECT client{};
};

using uitest::Tap;

void ButtonPress(UI::LayoutedToolbar& bar, int index) {
    UI::Layout::Rect r;
    bar.Button(index)->GetRect(r);
    Tap(bar.GetHandle(), r.x + r.width / 2, r.y + r.height / 2);
}

void Key(HWND hwnd, UINT key) { SendMessageW(hwnd, WM_KEYDOWN, key, key == VK_UP ? 0x01480001 : 0x01500001); }

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

    Data::Preferences saved_;
};

// --- the compass view ---------------------------------------------------------------------

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
    UI::ApplyPreferences();

    CompassWindow view;
    view.Create(uitest::FrameClass(), nullptr, WS_OVERLAPPEDWINDOW);
    SizeClient(view.GetHandle(), 640, 480);
    Picture p(view);
    const CompassWindow::SlotState& sun = view.Slot(0);
    ASSERT_TRUE(sun.used);
    EXPECT_NEAR(std::fmod(sun.azimuth + 180.0, 360.0) - 180.0, 0.0, 0.05);
    EXPECT_LT(sun.altitude, 0);
    const UI::Compass::DialLayout d = view.Dials();
    const int ring = d.r - view.IconCell() / 2 - 4, half = view.IconCell() / 2;
    // The Sun's icon below the centre, grey; nothing of it above.
    EXPECT_GT(p.Count(d.ax, d.cy + ring, half, kGrey), 3);
    EXPECT_EQ(p.Count(d.ax, d.cy - ring, half, kGrey), 0);
    // The current object's needles are red wherever it stands; Venus, never
    // far from the Sun, is below the horizon at midnight too.
    const CompassWindow::SlotState& venus = view.Slot(3);
    EXPECT_LT(venus.altitude, 0);
    const UI::Compass::Point az = UI::Compass::AzimuthPoint(d, venus.azimuth, d.r / 2, true);
    EXPECT_GT(p.Count(az.x, az.y, 1, kRed), 0);

    // Tapping the Sun's icon makes it the current object: red at the bottom.
    EXPECT_EQ(view.SlotAt(POINT{d.ax, d.cy + ring}), 0);
    Tap(view.GetHandle(), d.ax, d.cy + ring);
    EXPECT_EQ(prefs.compassSelection, 0);
    Picture q(view);
    EXPECT_GT(q.Count(d.ax, d.cy + d.r / 2, 1, kRed), 0);
    EXPECT_EQ(q.Count(d.ax, d.cy + ring, half, kGrey), 0);
    view.Destroy();
}

TEST_F(ViewsTest, MagneticAzimuthsUseTheModelOfTheMomentAtThePlacesHeight) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.place.latitude = 46.5f;
    prefs.place.longitude = -8.0f;  // 8 degrees east
    prefs.place.elevation = 3500;   // metres
    prefs.magnetic = 1;
    prefs.time.time = Calc::FromCalendar(2026, 8, 1, 22, 0);
    UI::ApplyPreferences();
    CompassWindow view;
    view.Create(uitest::FrameClass(), nullptr, WS_OVERLAPPEDWINDOW);
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
        EXPECT_NEAR(std::fmod(s.trueAzimuth - s.azimuth + 540.0, 360.0) - 180.0, reference.declination, 1e-3) << i;
    }
    EXPECT_EQ(view.AzimuthText().substr(0, 3), u"AzM");
    EXPECT_NE(view.StatusText().find(u"WMM2025"), std::u16string::npos);

    // Outside the models' years the view says so and shows true azimuths,
    // labelled as such.
    prefs.magnetic = 1;
    prefs.time.time = Calc::FromCalendar(2034, 1, 1);
    UI::ApplyPreferences();
    view.Refresh();
    EXPECT_FALSE(view.ShowsMagnetic());
    EXPECT_TRUE(view.MagneticUnknown());
    EXPECT_EQ(view.Slot(1).azimuth, view.Slot(1).trueAzimuth);
    EXPECT_EQ(view.AzimuthText().substr(0, 3), u"Az.");
    EXPECT_NE(view.StatusText().find(u"2010-2030"), std::u16string::npos);
    view.Destroy();
}

TEST_F(ViewsTest, CompassTakesTheSkySelectionAndShowsItsObjectInTheSky) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.compassSelection = 10;  // empty: the first object becomes current
    CompassWindow view;
    view.Create(uitest::FrameClass(), nullptr, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(view.CurrentSlot(), 0);
    // An object not in the list takes slot 10; one of the list becomes current in its slot.
    const AstroObjRef vega(Data::kObjStar, 0x12345);
    view.TakeTarget(vega);
    EXPECT_EQ(view.CurrentSlot(), 10);
    EXPECT_EQ(prefs.compass[10].object, vega);
    view.TakeTarget(AstroObjRef(Data::kObjBody, 5));
    EXPECT_EQ(view.CurrentSlot(), 5);

    // "Show object in sky": the sky view takes the object as its selection.
    UI::SkyWindow sky;
    sky.Create(uitest::FrameClass(), nullptr, WS_OVERLAPPEDWINDOW);
    UI::SetMainWindows(&view, &sky, nullptr);
    ShowWindow(view.GetHandle(), SW_SHOW);
    prefs.skyView.centerMode = true;
    ButtonPress(view.Toolbar(), CompassWindow::kBtnShowInSky);
    EXPECT_EQ(prefs.skyView.selectedObj, AstroObjRef(Data::kObjBody, 5));
    EXPECT_FALSE(prefs.skyView.centerMode);
    EXPECT_EQ(sky.PanelMode(), UI::kPanelObject);
    EXPECT_EQ(prefs.viewMode, UI::kViewSky);
    EXPECT_TRUE(IsWindowVisible(sky.GetHandle()));
    UI::SetMainWindows(nullptr, nullptr, nullptr);
    sky.Destroy();
    view.Destroy();
}

// --- the view-direction widget -----------------------------------------------------------

TEST(CompassNavigation, TheZenithStopsAndTheWidestFieldCapsTheAzimuthStep) {
    using Nav = UI::CompassNavigationControl;
    double az = 0, alt = 89;
    Nav::Nudge(Nav::kArrowUp, 10, az, alt);
    EXPECT_EQ(alt, 90);
    // At the zenith the step is capped by field / 180: 36 / max(cos 90, 1).
    Nav::Nudge(Nav::kArrowRight, 180, az, alt);
    EXPECT_NEAR(az, 36, 1e-6);
    EXPECT_EQ(Nav::ArrowAt(62, 40, POINT{31, 20}), Nav::kNoArrow);
}

// "Edit..." of the widget's menus takes the direction typed into the view
// direction dialog.
TEST(CompassNavigation, EditTakesTheTypedDirection) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    UI::CompassNavigationControl nav;
    nav.Create(parent, 77, RECT{0, 0, 62, 40});
    UI::Dialogs().viewDirection = [](HWND, double& az, double& alt) {
        az = 12.5;
        alt = 33;
        return true;
    };
    EXPECT_TRUE(nav.ApplyMenuCommand(IDC_AZ_EDIT));
    EXPECT_TRUE(nav.Azimuth() == 12.5 && nav.Altitude() == 33) << nav.Azimuth() << " " << nav.Altitude();
    UI::ResetDialogs();
    DestroyWindow(parent);
}

// --- the twilight view ---------------------------------------------------------------------

TEST_F(ViewsTest, TwilightUpAndDownStepADayAndTheDayLengthChange) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    prefs.place.latitude = 48.2f;
    prefs.place.longitude = -16.4f;
    prefs.place.timeZone = 60;
    prefs.time.useCurrentTime = true;  // the keys start from the displayed moment and stop the clock
    UI::ApplyPreferences();
    TwilightWindow view;
    view.Create(uitest::FrameClass(), nullptr, WS_OVERLAPPEDWINDOW);
    const int32_t today = view.Day().localDate.day;
    Key(view.GetHandle(), VK_DOWN);
    EXPECT_FALSE(prefs.time.useCurrentTime);
    EXPECT_EQ(view.Day().localDate.day, today + 1);
    Key(view.GetHandle(), VK_UP);
    Key(view.GetHandle(), VK_UP);
    EXPECT_EQ(view.Day().localDate.day, today - 1);
    // A tap on the page leaves the keys to the window.
    UI::Layout::Rect footer;
    view.Page().Table().GetItem(15, 0)->GetRect(footer);
    ShowWindow(view.GetHandle(), SW_SHOW);
    SetForegroundWindow(view.GetHandle());
    SetFocus(view.GetHandle());
    Tap(view.Page().GetHandle(), footer.x + 2, footer.y + 2);
    ASSERT_EQ(GetFocus(), view.GetHandle());
    Key(GetFocus(), VK_DOWN);
    EXPECT_EQ(view.Day().localDate.day, today);

    // Early May in Vienna: the change against the day before, from the
    // previous day's own sunrise and sunset.
    prefs.time.time = Calc::FromCalendar(2025, 5, 1, 10);
    UI::ApplyPreferences();
    view.Refresh();
    const Calc::RiseSetEvent* e = view.Day().events;
    const int32_t length = Calc::DiffSeconds(e[Calc::kSunset].ut, e[Calc::kSunrise].ut);
    const int32_t previous = Calc::DiffSeconds(e[Calc::kSunsetPrevious].ut, e[Calc::kSunrisePrevious].ut);
    EXPECT_GT(length - previous, 120);  // days grow by about 3 minutes in early May
    EXPECT_LT(length - previous, 240);
    EXPECT_EQ(view.Texts().change, UI::Twilight::DurationText(length - previous));
    // The day before, computed on its own, has that previous length.
    Key(view.GetHandle(), VK_UP);
    const Calc::RiseSetEvent* y = view.Day().events;
    EXPECT_NEAR(Calc::DiffSeconds(y[Calc::kSunset].ut, y[Calc::kSunrise].ut), previous, 2);
    view.Destroy();
}

TEST_F(ViewsTest, TwilightTapsOpenTheDialogs) {
    Data::Preferences::Instance().place.name = u"Troms\u00f8";
    UI::ApplyPreferences();
    TwilightWindow view;
    view.Create(uitest::FrameClass(), nullptr, WS_OVERLAPPEDWINDOW);
    SizeClient(view.GetHandle(), 480, 600);
    int placeDialogs = 0;
    AstroObjRef asked;
    UI::Dialogs().location = [&](HWND) { ++placeDialogs; return false; };
    UI::Dialogs().objectInfo = [&](HWND, AstroObjRef& o) { asked = o; return false; };
    UI::Layout::TableLayoutManager& t = view.Page().Table();
    EXPECT_EQ(dynamic_cast<UI::Layout::TextItem*>(t.GetItem(1, 1))->Text(), u"Troms\u00f8");
    auto tap = [&](int row, int column) {
        UI::Layout::Rect r;
        t.GetItem(row, column)->GetRect(r);
        Tap(view.Page().GetHandle(), r.x + 2, r.y + r.height / 2);
    };
    tap(1, 1);
    EXPECT_EQ(placeDialogs, 1);
    tap(5, 0);
    EXPECT_EQ(asked, AstroObjRef(Data::kObjBody, 1));
    view.Destroy();
}

}  // namespace
