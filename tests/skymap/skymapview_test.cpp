// The sky map's projection and view operations, with numbers worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/astrotime.h"
#include "engine/ephemeris.h"
#include "skymap/core/skymapview.h"

using namespace UI::SkyMap;
using Calc::Vec3;

namespace {

::testing::AssertionResult At(const ScreenPoint& p, int x, int y, int tolerance = 0) {
    if (std::abs(p.x - x) <= tolerance && std::abs(p.y - y) <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << p.x << ", " << p.y << ") instead of (" << x << ", " << y << ")";
}

class ViewTest : public ::testing::Test {
protected:
    ViewTest() {
        eph.moment = Calc::FromCalendar(2026, 1, 15, 22, 0, 0);
        eph.Invalidate();
    }
    // By default a small map of 240 x 268 pixels.
    void Map(float field, float az, float alt, int w = 240, int h = 268) {
        view.SetSize(w, h);
        view.SetFieldOfView(field);
        view.SetCentre(az, alt);
    }
    // Projects a view-frame (no rotation) or frame vector.
    ScreenPoint P(Q15Vec v, const Q15Mat* r = nullptr) {
        ScreenPoint p;
        EXPECT_TRUE(view.Project(v, r, p));
        return p;
    }
    ScreenPoint P(Vec3 v, Frame f) {
        ScreenPoint p;
        EXPECT_TRUE(view.ProjectDirection(v, f, p));
        return p;
    }

    Calc::Ephemeris eph;
    SkyMapView view{eph};
};

// k = trunc((m - m/30) x 180/f x 0.8491473198856037), m the shorter side.
TEST_F(ViewTest, Scale) {
    Map(90, 0, 0);
    EXPECT_EQ(view.Scale(), 394);  // 232 x 2 x 0.84914732 = 394.004
    EXPECT_TRUE(view.CentreX() == 120 && view.CentreY() == 134);
}

TEST_F(ViewTest, Project) {
    Map(90, 0, 0);
    EXPECT_TRUE(At(P(Q15Vec{0, 32767, 0}), 120, 134));
    // Depth 0, 90 degrees off: 32767 x 394 / 55805 = 231.3 pixels (k / 1.7030854),
    // truncated towards zero on either side; y grows downwards.
    EXPECT_TRUE(At(P(Q15Vec{32767, 0, 0}), 351, 134));
    EXPECT_TRUE(At(P(Q15Vec{-32767, 0, 0}), 120 - 231, 134));
    EXPECT_TRUE(At(P(Q15Vec{0, 0, 32767}), 120, 134 - 231));
    // Opposite the centre, and just behind the viewer: never drawn.
    ScreenPoint p;
    EXPECT_FALSE(view.Project(Q15Vec{0, -32767, 0}, nullptr, p));
    EXPECT_TRUE(At(p, -20, -20));
    EXPECT_FALSE(view.Project(Q15Vec{32767, -1, 0}, nullptr, p));

    // Looking north at the horizon the rotation swaps x and y. Azimuth 10,
    // altitude 0 is Q15 (32269, 5689, 0): depth = 32767 x 32269 >> 15 = 32268,
    // right = 32767 x 5689 >> 15 = 5688, sx = 120 + 5688 x 394 / 88073 = 120 + 25.4.
    const Q15Mat& r = view.RotationQ15(Frame::Horizontal);
    EXPECT_TRUE(At(P(Q15Vec{32269, 5689, 0}, &r), 145, 134));   // east is to the right
    EXPECT_TRUE(At(P(Q15Vec{32269, 0, 5689}, &r), 120, 109));   // the zenith up
}

// Once k >= 32768, x k leaves 32 bits. 1920 x 1080 at 4.5 degrees: k =
// trunc(1044 x 40 x 0.84914732) = 35460. A star 2200/32767 radian right of
// the centre (depth 32693) is at 960 + 2200 x 35460 / 88498 = 960 + 881.5:
// on the map, so it must be drawn.
TEST_F(ViewTest, WideMapAtSmallFieldsKeepsItsEdges) {
    Map(4.5f, 0, 0, 1920, 1080);
    ASSERT_EQ(view.Scale(), 35460);
    EXPECT_TRUE(At(P(Q15Vec{2200, 32693, -2200}), 1841, 540 + 881));
    EXPECT_TRUE(view.OnMap(P(Q15Vec{2200, 32693, 0})));
    EXPECT_FALSE(view.OnMap(P(Q15Vec{2200, 32693, -2200})));
    // 4000 x 4000 at 1/3 degree: k = trunc(3867 x 540 x 0.84914732) = 1773172;
    // 1500 k = 2.66e9 > 2^31: 1500 k / (32732 + 55805) = 30041.
    Map(1.0f / 3, 0, 0, 4000, 4000);
    EXPECT_EQ(view.Scale(), 1773172);
    EXPECT_TRUE(At(P(Q15Vec{-60, 32767, 45}), 2000 - 1201, 2000 - 900));  // 60 k / 88572 = 1201.2
    EXPECT_EQ(P(Q15Vec{1500, 32732, 0}).x, 2000 + 30041);
}

TEST_F(ViewTest, UnprojectNearAndBeyondTheRim) {
    Map(90, 0, 0);
    // The front hemisphere's rim is at 394 / 1.7030854 = 231.3 pixels.
    Vec3 v = view.Unproject(120 + 232, 134);
    EXPECT_TRUE(v.x == 0 && v.y == 0 && v.z == 0);
    // 25 pixels right: q = 394 sqrt(394^2 - 1.9005 x 625) = 154640.9, z =
    // (q - 625 d) / (625 + 394^2) = 0.985343, x = 25 (z + d) / 394 = 0.170585.
    v = view.Unproject(145, 134);
    EXPECT_NEAR(v.y, 0.985343f, 2e-6f);
    EXPECT_NEAR(v.x, 0.170585f, 2e-6f);
}

// Each derived rotation must put its frame's vectors on the pixel of the same
// direction in the equatorial frame. The celestial pole stands at azimuth 0,
// altitude = latitude; the ecliptic pole is equatorial (0, -sin eps, cos eps);
// J2000 directions go through the engine's precession (a shift of 9 pixels
// here).
TEST_F(ViewTest, FrameRotationsAgree) {
    Map(10, 0, 51.48f);
    EXPECT_TRUE(At(P({0, 0, 1}, Frame::Equatorial), 120, 134, 1));
    const float t = eph.Centuries();
    const float eps = (23.439291f - 0.013004166f * t) * Calc::kDegToRad;
    const ScreenPoint e = P({0, -std::sin(eps), std::cos(eps)}, Frame::Equatorial);
    EXPECT_TRUE(At(P({0, 0, 1}, Frame::Ecliptic), e.x, e.y, 1));
    const Vec3 j2000 = Calc::MulMat(eph.PrecessionMatrix(), view.UnprojectTo(Frame::Equatorial, 100, 150));
    EXPECT_TRUE(At(P(j2000, Frame::J2000), 100, 150, 1));
}

TEST_F(ViewTest, SettersDropThePictureAndKeepTheirRanges) {
    Map(90, 10, 20);
    view.SetPicture(std::make_unique<MapPicture>());
    view.UpdateRotations();
    view.SetMagnitudeLimit(7.257f);
    EXPECT_TRUE(!view.Picture() && view.Dirty());
    EXPECT_EQ(view.MagLimit(), 725);
    // Azimuth reduced into [0, 360), altitude clamped; nonsense refused.
    view.SetCentre(365, 100);
    EXPECT_TRUE(view.CentreAz() == 5 && view.CentreAlt() == 90);
    view.SetCentre(-1e-9f, -95);
    EXPECT_EQ(view.CentreAlt(), -90);
    EXPECT_TRUE(view.CentreAz() >= 0 && view.CentreAz() < 360);
    for (float f : {0.0f, -5.0f, NAN}) view.SetFieldOfView(f);
    EXPECT_EQ(view.FieldOfView(), 90.0f);
}

// p = 90 / 240 = 0.375 degrees a pixel; c = max(cos a, f / 180).
TEST_F(ViewTest, PanRates) {
    Map(90, 180, 80);  // cos 80 < 0.5: the floor holds
    EXPECT_NEAR(view.PanRates(120, 134).azimuthPerPixel, -0.75f, 1e-6f);
    // The stylus 10 right and 8 down from the centre; the point there is 3.14
    // degrees below the horizon (8 x 2.7031 / 394 radian), c = 0.99850.
    Map(90, 180, 0);
    view.PanBy(120, 134, 130, 142);
    EXPECT_NEAR(view.CentreAz(), 180 - 3.7556f, 0.002f);
    EXPECT_FLOAT_EQ(view.CentreAlt(), 3.0f);
}

TEST_F(ViewTest, ZoomAboutKeepsThePointUnderTheStylus) {
    struct Case {
        float az, alt, from, to;
        int x, y;
    };
    const Case cases[] = {
        {150, 40, 20, 30, 60, 200}, {2, 10, 10, 7.5f, 20, 150}, {0, 85, 45, 30, 200, 240}, {90, 0, 1, 0.75f, 5, 5},
    };
    for (const Case& c : cases) {
        Map(c.from, c.az, c.alt);
        const Vec3 object = view.UnprojectTo(Frame::Horizontal, c.x, c.y);
        view.ZoomAbout(c.to, c.x, c.y);
        EXPECT_EQ(view.FieldOfView(), c.to);
        EXPECT_TRUE(At(P(object, Frame::Horizontal), c.x, c.y, 1)) << c.az << " " << c.alt;
    }
    // No sky under the point (beyond the hemisphere's image): the field
    // changes about the centre.
    Map(180, 150, 40, 600, 240);
    view.ZoomAbout(120, 0, 0);
    EXPECT_EQ(view.FieldOfView(), 120);
    EXPECT_TRUE(view.CentreAz() == 150 && view.CentreAlt() == 40);
}

// 240 x 268 at 10 degrees: a = 268/240, s = trunc(111.67) = 111, k = 3546.
TEST_F(ViewTest, VisibleWindowAcrossZeroAndAtThePoles) {
    auto window = [&](float az, float alt) {
        Map(10, az, alt);
        const VisibleRange r = view.VisibleWindow(Frame::Horizontal);
        return std::vector<int32_t>{r.lonMin, r.lonMax, r.latMin, r.latMax};
    };
    // Altitude 20: latitude 1200 +- 666'; w = 6 x 111 x 32768 / trunc(cos 20 x
    // 32767 = 30790.9996) = 708: longitude 600 - 708 = -108 across 0 to 1308.
    EXPECT_EQ(window(10, 20), (std::vector<int32_t>{-108, 1308, 534, 1866}));
    const VisibleRange r = view.VisibleWindow(Frame::Horizontal);
    // The star enumerator's box runs from the direction of -108' (below 0h).
    const StarBox box = StarSearchBox(r);
    EXPECT_NEAR(box.yFrom, 32767 * std::sin(-108 / 3437.7468), 2);
    // Altitude 80: the zenith is 229 pixels above the centre (y = -95, past the
    // quarter margin at -67): latitude 4134..5400 (clamped), w = 21823488 / 5689.
    EXPECT_EQ(window(10, 80), (std::vector<int32_t>{600 - 3836, 600 + 3836, 4134, 5400}));
    // Altitude 82: the zenith, 183 pixels up (y = -49), is near the map: a
    // polar cap 5400 - 12 x 111 .. 5400 with all longitudes.
    EXPECT_EQ(window(10, 82), (std::vector<int32_t>{0, 21600, 4068, 5400}));
    // s >= 900 (90 degrees x 1.117): the whole sphere.
    Map(90, 10, 20);
    const VisibleRange all = view.VisibleWindow(Frame::Horizontal);
    EXPECT_TRUE(all.WholeCircle() && all.latMin == -5400 && all.latMax == 5400);
    // The whole circle's box ends just before 0h.
    const StarBox whole = StarSearchBox(all);
    EXPECT_TRUE(whole.xFrom == 32767 && whole.yFrom == 0 && whole.xTo == 32767 && whole.yTo == -1);
}

// q = sin(f/4)^2, n = (s/1000)^2 x 2000 + 10,
// m = floor((log10(n / 2q) - 0.9) x 2.1276596 x 10 + 0.5) / 10.
TEST(AutomaticMagnitude, FollowsFieldAndSlider) {
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(90, 657), 5.5f);   // log10(2981.6) = 3.4745 -> 5.478
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(1.0f / 3, 1000), 16.0f);  // 16.5, capped
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(180, -50), 0.2f);  // the slider clamped
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(90, NAN), AutomaticMagnitudeLimit(90, 0));
}

}  // namespace
