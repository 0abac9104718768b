// The compass view's arithmetic: the dials in tall and wide areas (worked by
// hand from the layout rule), points on the dials with north up and south
// up, the free quadrant, and the arrow keys' time steps.
#include "views/core/compass_dial.h"

#include "settings/preferences.h"

#include <gtest/gtest.h>

namespace {

using namespace UI::Compass;
using Calc::AstroTime;

TEST(CompassDials, TallAndWideAreas) {
    // 240 x 300 at (0, 40): 200 w = 48000 <= 250 h = 75000, so r = 0.4 w = 96,
    // centred vertically: cy = 40 + 96 + (300 - 192) / 2 = 190.
    DialLayout d = LayoutDials(0, 40, 240, 300);
    EXPECT_EQ(d.r, 96);
    EXPECT_EQ(d.cy, 190);
    EXPECT_EQ(d.ax, 240 - 1 - 96);
    EXPECT_EQ(d.bx, 96);
    // 400 x 200 at (10, 20): wide, r = h / 2 = 100, the pair 290 wide leaves
    // g = 55 on each side.
    d = LayoutDials(10, 20, 400, 200);
    EXPECT_EQ(d.r, 100);
    EXPECT_EQ(d.cy, 120);
    EXPECT_EQ(d.ax, 10 + 400 - 1 - 100 - 55);
    EXPECT_EQ(d.bx, 10 + 55 + 100);
    // Exactly 1.25 times as wide as high still counts as tall.
    EXPECT_EQ(LayoutDials(0, 0, 250, 200).r, 100);
    EXPECT_EQ(LayoutDials(0, 0, 251, 200).ax, 251 - 1 - 100);
    // A window narrower than the pair of dials: no gap, nothing negative.
    d = LayoutDials(0, 0, 260, 200);
    EXPECT_EQ(d.r, 100);
    EXPECT_EQ(d.bx, 100);
    // An empty area gives a zero radius, not a negative one.
    EXPECT_EQ(LayoutDials(0, 0, -5, 10).r, 0);
}

TEST(CompassDials, PointsOnTheDials) {
    const DialLayout d = LayoutDials(0, 0, 400, 200);  // ax 244, bx 155, cy 100
    auto at = [&](double az, bool south) { return AzimuthPoint(d, az, 80, south); };
    EXPECT_EQ(at(0, false).x, d.ax);
    EXPECT_EQ(at(0, false).y, d.cy - 80);  // north at the top
    EXPECT_EQ(at(90, false).x, d.ax + 80);  // east to the right
    EXPECT_EQ(at(0, true).y, d.cy + 80);    // south up: north at the bottom
    EXPECT_EQ(at(90, true).x, d.ax - 80);   // and east to the left
    // 30 degrees: sin 0.5, cos 0.866.
    EXPECT_EQ(at(30, false).x, d.ax + 40);
    EXPECT_EQ(at(30, false).y, d.cy - 69);
    EXPECT_EQ(at(-90, false).x, d.ax - 80);  // angles outside 0..360 wrap
    // Altitude: the horizon to the left, the zenith up, the nadir down.
    EXPECT_EQ(AltitudePoint(d, 0, 80).x, d.bx - 80);
    EXPECT_EQ(AltitudePoint(d, -90, 80).y, d.cy + 80);
    EXPECT_EQ(AltitudePoint(d, 30, 80).y, d.cy - 40);
}

TEST(CompassDials, QuadrantOfTheNeedle) {
    EXPECT_EQ(AzimuthQuadrant(45, false), 0);   // upper right
    EXPECT_EQ(AzimuthQuadrant(315, false), 1);  // upper left
    EXPECT_EQ(AzimuthQuadrant(135, false), 3);
    EXPECT_EQ(AzimuthQuadrant(45, true), 2);    // south up turns the dial by half
    EXPECT_EQ(AzimuthQuadrant(150, true), 1);  // 330 on the dial
    EXPECT_EQ(AzimuthQuadrant(-45, false), 1);
}

TEST(CompassDials, ArrowKeysStepTheDisplayedTime) {
    const AstroTime now{60000, 1000};
    const AstroTime stored{59000, 500};
    Data::TimeSettings t;
    t.time = stored;
    // Live clock, step mode 0: the keys do nothing.
    t.useCurrentTime = true;
    t.stepMode = 0;
    EXPECT_FALSE(StepDisplayTime(t, now, -1, 3600));
    EXPECT_TRUE(t.useCurrentTime);
    // Step mode 1 steps from now and stops the clock.
    t.stepMode = 1;
    EXPECT_TRUE(StepDisplayTime(t, now, -1, 3600));
    EXPECT_FALSE(t.useCurrentTime);
    EXPECT_EQ(t.time, (AstroTime{59999, 1000 + 86400 - 3600}));
    // Without the clock the stored time moves on, across midnight.
    EXPECT_TRUE(StepDisplayTime(t, now, +1, 86400));
    EXPECT_EQ(t.time, (AstroTime{60000, 83800}));
    // Step mode 2 steps from the last explicit time.
    t.time = stored;
    t.useCurrentTime = true;
    t.stepMode = 2;
    EXPECT_TRUE(StepDisplayTime(t, now, +1, 86400));
    EXPECT_EQ(t.time, (AstroTime{59001, 500}));
    // A step onto the invalid moment (day 0, second 0) is refused.
    t.useCurrentTime = false;
    t.time = AstroTime{0, 3600};
    EXPECT_FALSE(StepDisplayTime(t, now, -1, 3600));
    EXPECT_EQ(t.time, (AstroTime{0, 3600}));
}

}  // namespace
