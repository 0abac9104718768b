// The sky window under Wine (null display driver): the map painted into a
// real window, stylus gestures, keys in both navigation modes, the zoom
// slider and the reference object's panel.
#include "tests/wine/ui/ui_test_util.h"

#include "app/shell.h"
#include "data/messages.h"
#include "data/starcatalog.h"
#include "settings/preferences.h"
#include "views/sky_window.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <memory>

namespace {

using UI::SkyWindow;
using UI::SkyWindowControl;

const Data::AstroObjRef kJupiter(Data::kObjBody, 5);

class SkyWindowTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = Data::Preferences::Instance();
        Data::LoadStarResources();
        Data::Preferences& prefs = Data::Preferences::Instance();
        prefs = Data::Preferences();
        // 2026-12-07 00:00 UT at Greenwich, looking east: Jupiter stands in Leo.
        prefs.time.useCurrentTime = false;
        prefs.time.time = Calc::AstroTime{61381, 0};
        prefs.skyView.az = 100;
        prefs.skyView.alt = 30;
        prefs.skyView.viewAngle = 90;
        UI::ApplyPreferences();
        sky_.reset(new SkyWindow());
        sky_->Create(uitest::FrameClass(), nullptr, WS_OVERLAPPEDWINDOW);
        SetWindowPos(sky_->GetHandle(), nullptr, 0, 0, 480, 640, SWP_NOZORDER);
        ShowWindow(sky_->GetHandle(), SW_SHOW);
        Paint();
    }
    void TearDown() override {
        sky_.reset();
        Data::Preferences::Instance() = saved_;
        Data::SetUserLangId(0);
    }
    void Paint() { UpdateWindow(Map()); }
    HWND Map() { return sky_->Map().GetHandle(); }
    // Press at p, move by (dx, dy), lift there.
    void Gesture(UI::SkyMap::ScreenPoint p, int dx, int dy) {
        SendMessageW(Map(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(Map(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x + dx, p.y + dy));
        SendMessageW(Map(), WM_LBUTTONUP, 0, MAKELPARAM(p.x + dx, p.y + dy));
        Paint();
    }
    Data::SkyViewState& Sky() { return Data::Preferences::Instance().skyView; }

    Data::Preferences saved_;
    std::unique_ptr<SkyWindow> sky_;
};

TEST_F(SkyWindowTest, FivePixelsIsATapAndSixStartADrag) {
    UI::SkyMap::ScreenPoint p;
    ASSERT_TRUE(sky_->Map().View().ScreenPositionOf(kJupiter, p));
    const float az = Sky().az, alt = Sky().alt;

    Gesture(p, 5, 5);  // a tap: the hit test finds Jupiter at the press point
    EXPECT_EQ(Sky().selectedObj, kJupiter);
    EXPECT_EQ(sky_->PanelMode(), UI::kPanelObject);
    EXPECT_TRUE(Sky().az == az && Sky().alt == alt);  // the view stays
    EXPECT_TRUE(sky_->Map().MarkerActive());
    EXPECT_EQ(sky_->Map().CurrentGesture(), SkyWindowControl::kIdle);
    EXPECT_EQ(sky_->ObjectPanel().Lines().at(0), u"Jupiter");

    Gesture(UI::SkyMap::ScreenPoint{p.x + 40, p.y + 40}, 6, 0);  // a drag: the view turns, no hit test
    EXPECT_NE(Sky().az, az);
    EXPECT_EQ(Sky().selectedObj, kJupiter);
    EXPECT_EQ(sky_->PanelMode(), UI::kPanelObject);  // the panel of before the drag is back
    EXPECT_EQ(sky_->Map().CurrentGesture(), SkyWindowControl::kIdle);
}

// Tapping empty sky, or turning the view until the selection leaves the map,
// clears the selection and brings the location panel back.
TEST_F(SkyWindowTest, TheSelectionGoesByATapOnEmptySkyOrLeavingTheMap) {
    UI::SkyMap::ScreenPoint p;
    ASSERT_TRUE(sky_->Map().View().ScreenPositionOf(kJupiter, p));
    UI::SkyMap::ScreenPoint empty{-1, -1};
    for (int y = 20; y < 400 && empty.x < 0; y += 13)
        for (int x = 20; x < 460 && empty.x < 0; x += 17)
            if (sky_->Map().View().HitTest(x, y).kind == Data::kObjNone) empty = UI::SkyMap::ScreenPoint{x, y};
    ASSERT_GE(empty.x, 0);
    for (bool tap : {true, false}) {
        Gesture(p, 0, 0);
        ASSERT_EQ(sky_->PanelMode(), UI::kPanelObject);
        if (tap) {
            Gesture(empty, 1, 0);
        } else {
            Sky().az += 180;  // Jupiter is now behind the viewer
            sky_->Update(UI::kUpdateGeneral);
            EXPECT_EQ(Sky().selectedObj, kJupiter);  // until the map is painted
            Paint();
        }
        EXPECT_EQ(Sky().selectedObj.kind, Data::kObjNone) << tap;
        EXPECT_EQ(sky_->PanelMode(), UI::kPanelLocation) << tap;
        EXPECT_FALSE(sky_->Map().MarkerActive()) << tap;
        EXPECT_FALSE(sky_->Toolbar().Button(5)->IsEnabled());  // object info needs a selection
    }
}

TEST_F(SkyWindowTest, InFullScreenThePanelOverlaysTheMapForSevenSeconds) {
    SetForegroundWindow(sky_->GetHandle());
    sky_->ToggleFullScreen();
    ASSERT_TRUE(sky_->IsFullScreen());
    EXPECT_EQ(sky_->PanelState(), UI::kPanelHidden);
    sky_->PressButton(8);  // the location panel, for a while, over the map
    EXPECT_EQ(sky_->PanelState(), UI::kPanelForAWhile);
    EXPECT_TRUE(IsWindowVisible(sky_->LocationPanel().GetHandle()));
    RECT client, mapNow;
    GetClientRect(sky_->GetHandle(), &client);
    GetWindowRect(sky_->Map().GetHandle(), &mapNow);
    EXPECT_EQ(mapNow.bottom - mapNow.top + mwcl::GetClientSize(sky_->Toolbar().GetHandle()).cy, client.bottom);
    SendMessageW(sky_->GetHandle(), WM_TIMER, SkyWindow::kPanelTimer, 0);  // the seven seconds are over
    EXPECT_EQ(sky_->PanelState(), UI::kPanelHidden);
    EXPECT_FALSE(IsWindowVisible(sky_->LocationPanel().GetHandle()));
    sky_->ToggleFullScreen();
    EXPECT_FALSE(sky_->IsFullScreen());
    EXPECT_EQ(sky_->PanelState(), UI::kPanelPermanent);
    EXPECT_TRUE(IsWindowVisible(sky_->LocationPanel().GetHandle()));
}

TEST_F(SkyWindowTest, ArrowKeysTurnTheViewOrStepTimeAndZoom) {
    Sky().az = 359;
    Sky().alt = 0;
    Sky().viewAngle = 10;  // a step of 2 degrees
    sky_->HandleKey(VK_RIGHT);  // across north
    EXPECT_NEAR(Sky().az, 1.0f, 1e-3f);

    sky_->HandleKey(VK_RETURN);
    ASSERT_EQ(Sky().navigationMode, 1);
    EXPECT_TRUE(sky_->Toolbar().Button(12)->IsChecked());
    Sky().viewAngle = 180;
    sky_->HandleKey(VK_LEFT);  // the widest field stays
    EXPECT_EQ(Sky().viewAngle, 180.0f);
    sky_->HandleKey(VK_RIGHT);
    EXPECT_EQ(Sky().viewAngle, 120.0f);
    // Up: one time step back.
    const Calc::AstroTime before = Data::Preferences::Instance().time.time;
    sky_->HandleKey(VK_UP);
    EXPECT_EQ(Calc::DiffSeconds(before, Data::Preferences::Instance().time.time), 3600);
    EXPECT_EQ(UI::ProgramEphemeris().moment, Data::Preferences::Instance().time.time);
}

TEST_F(SkyWindowTest, TheZoomSliderStandsAtTheFirstLevelNotAboveTheField) {
    Sky().viewAngle = 50;
    sky_->PressButton(9);  // the zoom panel
    ASSERT_EQ(sky_->PanelMode(), UI::kPanelZoom);
    EXPECT_EQ(SendMessageW(sky_->ZoomPanel().Trackbar(), TBM_GETPOS, 0, 0), 4);
    // Moving it sets the field of that level.
    SendMessageW(sky_->ZoomPanel().Trackbar(), TBM_SETPOS, TRUE, 2);
    SendMessageW(sky_->ZoomPanel().GetHandle(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(sky_->ZoomPanel().Trackbar()));
    EXPECT_EQ(Sky().viewAngle, 90.0f);
    // Tapping "Mag {0}" at the right switches to the magnitude mode, which
    // runs 0..1000 at the slider's value.
    RECT client;
    GetClientRect(sky_->ZoomPanel().GetHandle(), &client);
    const int line = UI::LineHeight();
    const int top = (client.bottom - 2 * line) / 2;
    SendMessageW(sky_->ZoomPanel().GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(client.right - 3 * line, top + line + line / 2));
    EXPECT_FALSE(sky_->ZoomPanel().ZoomMode());
    EXPECT_EQ(SendMessageW(sky_->ZoomPanel().Trackbar(), TBM_GETRANGEMAX, 0, 0), 1000);
    EXPECT_EQ(SendMessageW(sky_->ZoomPanel().Trackbar(), TBM_GETPOS, 0, 0), 657);
}

TEST_F(SkyWindowTest, AReferenceShowsTheAngularDistanceAndForbidsCentreMode) {
    Sky().selectedObj = kJupiter;
    sky_->Update(UI::kUpdateGeneral);
    sky_->PressButton(4);  // Jupiter becomes the reference
    EXPECT_EQ(Sky().angularDistRefObj, kJupiter);
    Sky().selectedObj = Data::AstroObjRef(Data::kObjBody, 4);  // Mars
    sky_->Update(UI::kUpdateGeneral);
    const auto& lines = sky_->ObjectPanel().Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].rfind(u"Angular distance: ", 0), 0u);
    sky_->PressButton(6);  // centre: the map moves, centre mode stays off
    EXPECT_FALSE(Sky().centerMode);
    sky_->PressButton(4);  // the reference goes
    EXPECT_EQ(Sky().angularDistRefObj.kind, Data::kObjNone);
    sky_->PressButton(6);
    EXPECT_TRUE(Sky().centerMode);
}

}  // namespace
