// The sky map's projection and view operations, with numbers worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/astrotime.h"
#include "engine/ephemeris.h"
#include "skymap/core/skymapview.h"

using namespace UI::SkyMap;
using Calc::Vec3;

namespace {

class ViewTest : public ::testing::Test {
protected:
    ViewTest() {
        eph.moment = Calc::FromCalendar(2026, 1, 15, 22, 0, 0);
        eph.Invalidate();
    }
    // A map of the handheld's size: 240 x 268 (the sky window without its panels).
    void Handheld(float field, float az, float alt) {
        view.SetSize(240, 268);
        view.SetFieldOfView(field);
        view.SetCentre(az, alt);
    }
    Vec3 Horizontal(float azDeg, float altDeg) {
        return Calc::SphToCart({azDeg * Calc::kDegToRad, altDeg * Calc::kDegToRad, 1.0f});
    }

    Calc::Ephemeris eph;
    SkyMapView view{eph};
};

TEST_F(ViewTest, StartsAsDocumented) {
    EXPECT_EQ(view.CentreAz(), 0.0f);
    EXPECT_EQ(view.CentreAlt(), 0.0f);
    EXPECT_EQ(view.FieldOfView(), 45.0f);
    EXPECT_EQ(view.Width(), 100);
    EXPECT_EQ(view.Height(), 100);
    EXPECT_TRUE(view.Dirty());
    EXPECT_EQ(view.Picture(), nullptr);
    EXPECT_EQ(view.Selected().kind, Data::kObjNone);
}

// k = trunc((m - m/30) x 180/f x 0.8491473198856037), m the shorter side.
TEST_F(ViewTest, Scale) {
    Handheld(90, 0, 0);
    // 232 x 2 x 0.84914732 = 394.004
    EXPECT_EQ(view.Scale(), 394);
    EXPECT_EQ(view.CentreX(), 120);
    EXPECT_EQ(view.CentreY(), 134);
    // 1920 x 1080 at 30 degrees: 1044 x 6 x 0.84914732 = 5319.06
    view.SetSize(1920, 1080);
    view.SetFieldOfView(30);
    EXPECT_EQ(view.Scale(), 5319);
    EXPECT_EQ(view.CentreX(), 960);
    EXPECT_EQ(view.CentreY(), 540);
    // 241 x 269: cx and cy by integer division; 241 - 8 = 233.
    view.SetSize(241, 269);
    view.SetFieldOfView(90);
    EXPECT_EQ(view.Scale(), 395);  // 466 x 0.84914732 = 395.70
    EXPECT_EQ(view.CentreX(), 120);
    EXPECT_EQ(view.CentreY(), 134);
}

TEST_F(ViewTest, ProjectViewFrameVectors) {
    Handheld(90, 0, 0);
    ScreenPoint p;
    // The view centre.
    ASSERT_TRUE(view.Project(Q15Vec{0, 32767, 0}, nullptr, p));
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(p.y, 134);
    // Depth 0, 90 degrees to the right: 32767 x 394 / 55805 = 231.3 pixels,
    // that is k / 1.7030854.
    ASSERT_TRUE(view.Project(Q15Vec{32767, 0, 0}, nullptr, p));
    EXPECT_EQ(p.x, 351);
    EXPECT_EQ(p.y, 134);
    // 90 degrees up: y grows downwards.
    ASSERT_TRUE(view.Project(Q15Vec{0, 0, 32767}, nullptr, p));
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(p.y, 134 - 231);
    // Left and down truncate towards zero: -231.3 -> -231.
    ASSERT_TRUE(view.Project(Q15Vec{-32767, 0, -1}, nullptr, p));
    EXPECT_EQ(p.x, 120 - 231);
    EXPECT_EQ(p.y, 134);
    // Opposite the centre, and just behind the viewer: never drawn.
    EXPECT_FALSE(view.Project(Q15Vec{0, -32767, 0}, nullptr, p));
    EXPECT_EQ(p.x, -20);
    EXPECT_EQ(p.y, -20);
    EXPECT_FALSE(view.Project(Q15Vec{32767, -1, 0}, nullptr, p));
}

// Looking north at the horizon: the horizontal vector of azimuth 10, altitude
// 0 is Q15 (32269, 5689, 0); viewRot is (0 1 0 / 1 0 0 / 0 0 1) x 32767.
// depth = 32767 x 32269 >> 15 = 32268, right = 32767 x 5689 >> 15 = 5688,
// sx = 120 + 5688 x 394 / (32268 + 55805) = 120 + 25.4.
TEST_F(ViewTest, ProjectThroughTheViewRotation) {
    Handheld(90, 0, 0);
    const Q15Mat& r = view.RotationQ15(Frame::Horizontal);
    const int16_t expected[9] = {0, 32767, 0, 32767, 0, 0, 0, 0, 32767};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(r.m[i], expected[i]) << i;
    ScreenPoint p;
    ASSERT_TRUE(view.Project(Q15Vec{32269, 5689, 0}, &r, p));
    EXPECT_EQ(p.x, 145);  // east is to the right
    EXPECT_EQ(p.y, 134);
    ASSERT_TRUE(view.Project(Q15Vec{32269, 0, 5689}, &r, p));
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(p.y, 109);  // the zenith side is up
    // West of north, behind the observer (south), the nadir side.
    ASSERT_TRUE(view.Project(Q15Vec{32269, -5689, 0}, &r, p));
    EXPECT_EQ(p.x, 95);
    EXPECT_FALSE(view.Project(Q15Vec{-32269, 5689, 0}, &r, p));
}

// Once k >= 32768 the products leave 32 bits. 1920 x 1080 at 4.5 degrees:
// k = trunc(1044 x 40 x 0.84914732) = 35460. A star 2200/32767 radian right
// of the centre (depth 32693) is at 960 + 2200 x 35460 / 88498 = 960 + 881.5,
// on the map: it must be drawn.
TEST_F(ViewTest, WideMapAtSmallFieldsKeepsItsEdges) {
    view.SetSize(1920, 1080);
    view.SetFieldOfView(4.5f);
    ASSERT_EQ(view.Scale(), 35460);
    ScreenPoint p;
    ASSERT_TRUE(view.Project(Q15Vec{2200, 32693, -2200}, nullptr, p));
    EXPECT_EQ(p.x, 1841);
    EXPECT_EQ(p.y, 540 + 881);
    EXPECT_FALSE(view.OnMap(p));  // below the bottom edge
    ASSERT_TRUE(view.Project(Q15Vec{2200, 32693, 0}, nullptr, p));
    EXPECT_TRUE(view.OnMap(p));
    // The smallest field on a 4000 pixel square: products of 2^33 and more.
    view.SetSize(4000, 4000);
    view.SetFieldOfView(1.0f / 3);
    ASSERT_GT(view.Scale(), 1700000);
    // k = trunc(3867 x 540 x 0.84914732) = 1773172; 60 x k / 88572 = 1201.2.
    EXPECT_EQ(view.Scale(), 1773172);
    ASSERT_TRUE(view.Project(Q15Vec{-60, 32767, 45}, nullptr, p));
    EXPECT_EQ(p.x, 2000 - 1201);
    EXPECT_EQ(p.y, 2000 - 900);
    // 1500 x k = 2.66e9 passes 2^31: 1500 x k / (32732 + 55805) = 30041.
    ASSERT_TRUE(view.Project(Q15Vec{1500, 32732, 0}, nullptr, p));
    EXPECT_EQ(p.x, 2000 + 30041);
}

TEST_F(ViewTest, UnprojectCentreRimAndBeyond) {
    Handheld(90, 0, 0);
    Vec3 v = view.Unproject(120, 134);
    EXPECT_FLOAT_EQ(v.x, 0);
    EXPECT_FLOAT_EQ(v.y, 1);
    EXPECT_FLOAT_EQ(v.z, 0);
    // The front hemisphere's rim is at 394 / 1.7030854 = 231.3 pixels.
    v = view.Unproject(120 + 232, 134);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.z, 0);
    v = view.Unproject(120, 134 - 231);
    EXPECT_NEAR(Calc::Length(v), 1.0f, 1e-5f);
    EXPECT_GE(v.y, 0.0f);
    EXPECT_LT(v.y, 0.005f);
    // 25 pixels right: q = 394 sqrt(394^2 - 1.9005 x 625) = 154640.9,
    // z = (q - 625 d) / (625 + 394^2) = 0.985343, f = (z + d) / 394:
    // x = 25 f = 0.170585, an angle of 9.822 degrees.
    v = view.Unproject(145, 134);
    EXPECT_NEAR(v.y, 0.985343f, 2e-6f);
    EXPECT_NEAR(v.x, 0.170585f, 2e-6f);
    EXPECT_NEAR(std::atan2(v.x, v.y) * 57.29578f, 9.822f, 0.001f);
}

// The float inverse undone by the integer projection. At the smallest field
// on a desktop map (k = 478715) one Q15 unit (6.3 arcseconds) is k / 88572 =
// 5.4 pixels, and the truncated vector and rotation elements add up to about
// two units: the picture itself (and the star catalogue, stored in Q15) has
// this precision there.
TEST_F(ViewTest, UnprojectThenProjectComesBack) {
    struct Case {
        int w, h;
        float field, az, alt;
        int tolerance;
    };
    for (const Case& c : {Case{240, 268, 30, 123, 35, 1}, Case{1920, 1080, 1.0f / 3, 300, -60, 11}}) {
        view.SetSize(c.w, c.h);
        view.SetFieldOfView(c.field);
        view.SetCentre(c.az, c.alt);
        for (int y = 0; y < c.h; y += c.h / 14) {
            for (int x = 0; x < c.w; x += c.w / 14) {
                const Vec3 h = view.UnprojectTo(Frame::Horizontal, x, y);
                ScreenPoint p;
                ASSERT_TRUE(view.ProjectDirection(h, Frame::Horizontal, p));
                EXPECT_LE(std::abs(p.x - x), c.tolerance) << c.w << ": " << x << "," << y;
                EXPECT_LE(std::abs(p.y - y), c.tolerance) << c.w << ": " << x << "," << y;
            }
        }
    }
}

// Each derived rotation must project its frame's vectors onto the same pixel
// as the equatorial vector of the same direction. The celestial pole stands
// at azimuth 0 and altitude = latitude; the ecliptic pole is equatorial
// (0, -sin eps, cos eps).
TEST_F(ViewTest, FrameRotationsAgree) {
    Handheld(10, 0, 51.48f);
    ScreenPoint a, b;
    ASSERT_TRUE(view.ProjectDirection({0, 0, 1}, Frame::Equatorial, a));
    EXPECT_LE(std::abs(a.x - 120), 1);
    EXPECT_LE(std::abs(a.y - 134), 1);

    const float t = eph.Centuries();
    const float eps = (23.439291f - 0.013004166f * t) * Calc::kDegToRad;
    ASSERT_TRUE(view.ProjectDirection({0, 0, 1}, Frame::Ecliptic, a));
    ASSERT_TRUE(view.ProjectDirection({0, -std::sin(eps), std::cos(eps)}, Frame::Equatorial, b));
    EXPECT_LE(std::abs(a.x - b.x), 1);
    EXPECT_LE(std::abs(a.y - b.y), 1);

    // A direction near the centre in J2000 and B1875, compared through the
    // engine's precession (a 26-year and a 151-year shift: 9 and 50 pixels).
    const Vec3 j2000 = Calc::MulMatT(Calc::Transpose(eph.PrecessionMatrix()), view.UnprojectTo(Frame::Equatorial, 100, 150));
    ASSERT_TRUE(view.ProjectDirection(j2000, Frame::J2000, a));
    ASSERT_TRUE(view.ProjectDirection(eph.StarApparent(j2000), Frame::Equatorial, b));
    EXPECT_LE(std::abs(a.x - b.x), 1);
    EXPECT_LE(std::abs(a.y - b.y), 1);
    EXPECT_LE(std::abs(a.x - 100), 1);
    EXPECT_LE(std::abs(a.y - 150), 1);

    const Vec3 b1875 = Calc::MulMat(Calc::Precession(-1.249979f, t), view.UnprojectTo(Frame::Equatorial, 60, 200));
    ASSERT_TRUE(view.ProjectDirection(b1875, Frame::B1875, a));
    EXPECT_LE(std::abs(a.x - 60), 1);
    EXPECT_LE(std::abs(a.y - 200), 1);
}

TEST_F(ViewTest, SettersDropThePictureOnlyWhenSomethingChanges) {
    struct Picture : MapPicture {
        explicit Picture(bool* gone) : gone(gone) {}
        ~Picture() override { *gone = true; }
        bool* gone;
    };
    Handheld(90, 10, 20);
    view.UpdateRotations();
    bool gone = false;
    view.SetPicture(std::make_unique<Picture>(&gone));
    view.SetCentre(370, 20);  // the same centre
    view.SetFieldOfView(90);
    view.SetSize(240, 268);
    view.SetMagnitudeLimit(view.MagLimit() / 100.0f);
    view.SetSelected(Data::AstroObjRef(Data::kObjBody, 4));
    EXPECT_FALSE(gone);
    EXPECT_FALSE(view.Dirty());
    view.SetMagnitudeLimit(7.257f);
    EXPECT_TRUE(gone);
    EXPECT_TRUE(view.Dirty());
    EXPECT_EQ(view.MagLimit(), 725);

    // Azimuth reduced, altitude clamped.
    view.SetCentre(365, 100);
    EXPECT_FLOAT_EQ(view.CentreAz(), 5);
    EXPECT_FLOAT_EQ(view.CentreAlt(), 90);
    view.SetCentre(-10, 0);
    EXPECT_FLOAT_EQ(view.CentreAz(), 350);
    view.SetCentre(-1e-9f, -95);
    EXPECT_GE(view.CentreAz(), 0.0f);
    EXPECT_LT(view.CentreAz(), 360.0f);
    EXPECT_FLOAT_EQ(view.CentreAlt(), -90);
    // Nonsense is refused.
    view.SetFieldOfView(0);
    view.SetFieldOfView(-5);
    view.SetFieldOfView(NAN);
    EXPECT_EQ(view.FieldOfView(), 90.0f);
    view.SetFieldOfView(1e30f);
    EXPECT_EQ(view.FieldOfView(), 180.0f);
    view.SetCentre(1e30f, 0);
    EXPECT_GE(view.CentreAz(), 0.0f);
    EXPECT_LT(view.CentreAz(), 360.0f);
    view.VisibleWindow(Frame::J2000);
    view.PanBy(0, 0, 5, 5);
}

TEST_F(ViewTest, OnAndNearTheMap) {
    Handheld(90, 0, 0);
    EXPECT_TRUE(view.OnMap({0, 0}));
    EXPECT_TRUE(view.OnMap({239, 267}));
    EXPECT_FALSE(view.OnMap({240, 10}));
    EXPECT_FALSE(view.OnMap({10, 268}));
    EXPECT_FALSE(view.OnMap({-1, 10}));
    // A quarter on each side: x -60..300, y -67..335.
    EXPECT_TRUE(view.NearMap({-60, -67}));
    EXPECT_TRUE(view.NearMap({300, 335}));
    EXPECT_FALSE(view.NearMap({-61, 0}));
    EXPECT_FALSE(view.NearMap({0, 336}));
}

// p = 90 / 240 = 0.375 degrees a pixel; c = max(cos a, f / 180).
TEST_F(ViewTest, PanRates) {
    Handheld(90, 180, 0);
    PanRate r = view.PanRates(120, 134);
    EXPECT_FLOAT_EQ(r.altitudePerPixel, 0.375f);
    EXPECT_NEAR(r.azimuthPerPixel, -0.375f, 1e-6f);
    Handheld(90, 180, 60);  // cos 60 = 0.5 = 90 / 180
    EXPECT_NEAR(view.PanRates(120, 134).azimuthPerPixel, -0.75f, 1e-5f);
    Handheld(90, 180, 80);  // cos 80 < 0.5: the floor holds
    EXPECT_NEAR(view.PanRates(120, 134).azimuthPerPixel, -0.75f, 1e-6f);
    Handheld(10, 180, 80);  // p = 10 / 240, c = cos 80 = 0.173648
    r = view.PanRates(120, 134);
    EXPECT_NEAR(r.altitudePerPixel, 0.0416667f, 1e-6f);
    EXPECT_NEAR(r.azimuthPerPixel, -0.239953f, 2e-5f);

    // The stylus 10 right and 8 down from the centre: the point there is
    // 3.14 degrees below the horizon (8 x 2.7031 / 394 radian), c = 0.99850.
    Handheld(90, 180, 0);
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
        {150, 40, 30, 20, 190, 80},  {150, 40, 20, 30, 60, 200},  {2, 10, 10, 7.5f, 20, 150},
        {200, -20, 3, 2, 230, 10},   {0, 85, 45, 30, 200, 240},  {90, 0, 1, 0.75f, 5, 5},
    };
    for (const Case& c : cases) {
        Handheld(c.from, c.az, c.alt);
        const Vec3 object = view.UnprojectTo(Frame::Horizontal, c.x, c.y);
        view.ZoomAbout(c.to, c.x, c.y);
        EXPECT_EQ(view.FieldOfView(), c.to);
        ScreenPoint p;
        ASSERT_TRUE(view.ProjectDirection(object, Frame::Horizontal, p));
        EXPECT_LE(std::abs(p.x - c.x), 1) << c.az << " " << c.alt << " " << c.from;
        EXPECT_LE(std::abs(p.y - c.y), 1) << c.az << " " << c.alt << " " << c.from;
    }
    // The same field: nothing happens.
    Handheld(30, 150, 40);
    view.ZoomAbout(30, 10, 10);
    EXPECT_EQ(view.CentreAz(), 150.0f);
    EXPECT_EQ(view.CentreAlt(), 40.0f);
    // No sky under the point (beyond the hemisphere's image): the field
    // changes about the centre.
    Handheld(180, 150, 40);
    view.SetSize(600, 240);
    view.ZoomAbout(120, 0, 0);
    EXPECT_EQ(view.FieldOfView(), 120.0f);
    EXPECT_EQ(view.CentreAz(), 150.0f);
    EXPECT_EQ(view.CentreAlt(), 40.0f);
}

// 240 x 268 at 10 degrees: a = 268/240, s = trunc(111.67) = 111, k = 3546.
TEST_F(ViewTest, VisibleWindowAcrossNorthAndAtThePoles) {
    // Centre azimuth 10, altitude 20: latitude 1200 +- 666 arcminutes;
    // w = 6 x 111 x 32768 / trunc(cos 20 x 32767 = 30790.9996) = 708, so the
    // longitude window runs from 600 - 708 = -108 across 0 to 1308.
    Handheld(10, 10, 20);
    VisibleRange r = view.VisibleWindow(Frame::Horizontal);
    EXPECT_EQ(r.latMin, 534);
    EXPECT_EQ(r.latMax, 1866);
    EXPECT_EQ(r.lonMin, -108);
    EXPECT_EQ(r.lonMax, 1308);
    EXPECT_EQ(r.cosLat, 30790);

    // Altitude 80: the zenith is 229 pixels above the centre (y = -95, past
    // the quarter margin at -67): latitude 4134..5466, clamped to 5400; cos 80
    // x 32767 = 5689, w = 3836.
    Handheld(10, 10, 80);
    r = view.VisibleWindow(Frame::Horizontal);
    EXPECT_EQ(r.latMin, 4134);
    EXPECT_EQ(r.latMax, 5400);
    EXPECT_EQ(r.lonMin, 600 - 3836);
    EXPECT_EQ(r.lonMax, 600 + 3836);

    // Altitude 82: the zenith, 183 pixels up (y = -49), is near the map:
    // a polar cap 5400 - 12 x 111 .. 5400, all longitudes.
    Handheld(10, 10, 82);
    r = view.VisibleWindow(Frame::Horizontal);
    EXPECT_EQ(r.latMin, 4068);
    EXPECT_EQ(r.latMax, 5400);
    EXPECT_TRUE(r.WholeCircle());
    Handheld(10, 300, -85);
    r = view.VisibleWindow(Frame::Horizontal);
    EXPECT_EQ(r.latMin, -5400);
    EXPECT_EQ(r.latMax, -4068);
    EXPECT_TRUE(r.WholeCircle());

    // s >= 900 (90 degrees x 1.117): the whole sphere.
    Handheld(90, 10, 20);
    r = view.VisibleWindow(Frame::Horizontal);
    EXPECT_TRUE(r.WholeCircle());
    EXPECT_EQ(r.latMin, -5400);
    EXPECT_EQ(r.latMax, 5400);
}

TEST_F(ViewTest, VisibleWindowAcrossZeroHours) {
    // Centred on right ascension 0h15m (3.75 degrees = 225 arcminutes),
    // declination +20: longitude 225 +- 708.
    Handheld(10, 0, 0);
    const float ra = 3.75f * Calc::kDegToRad, dec = 20 * Calc::kDegToRad;
    view.CentreOnEquatorial(Calc::SphToCart({ra, dec, 1}));
    const VisibleRange r = view.VisibleWindow(Frame::Equatorial);
    EXPECT_NEAR(r.lonMin, 225 - 708, 1);
    EXPECT_NEAR(r.lonMax, 225 + 708, 1);
    EXPECT_NEAR(r.latMin, 1200 - 666, 1);
    EXPECT_NEAR(r.latMax, 1200 + 666, 1);
    // As the star enumerator's box: from -483' to 933', z from sin 8.9 to sin 31.1 degrees.
    const StarBox box = StarSearchBox(r);
    EXPECT_NEAR(box.xFrom, 32767 * std::cos(r.lonMin / 3437.7468), 2);
    EXPECT_NEAR(box.yFrom, 32767 * std::sin(r.lonMin / 3437.7468), 2);
    EXPECT_LT(box.yFrom, 0);
    EXPECT_GT(box.yTo, 0);
    EXPECT_NEAR(box.zMin, 32767 * std::sin(r.latMin / 3437.7468), 2);
    EXPECT_NEAR(box.zMax, 32767 * std::sin(r.latMax / 3437.7468), 2);
    // The whole circle ends just before 0h.
    const StarBox all = StarSearchBox(VisibleRange());
    EXPECT_EQ(all.xFrom, 32767);
    EXPECT_EQ(all.yFrom, 0);
    EXPECT_EQ(all.xTo, 32767);
    EXPECT_EQ(all.yTo, -1);
}

TEST(FieldLevels, StepsAndSlider) {
    EXPECT_EQ(FieldLevel(0), 180.0f);
    EXPECT_EQ(FieldLevel(9), 7.5f);
    EXPECT_EQ(FieldLevel(17), 1.0f / 3);
    EXPECT_EQ(ZoomInField(90), 60.0f);
    EXPECT_EQ(ZoomOutField(90), 120.0f);
    EXPECT_EQ(FieldLevelIndex(90), 2);
    // The ends stay.
    EXPECT_EQ(ZoomInField(1.0f / 3), 1.0f / 3);
    EXPECT_EQ(ZoomOutField(180), 180.0f);
    EXPECT_EQ(ZoomOutField(1.0f / 3), 0.5f);
    EXPECT_EQ(ZoomInField(0.5f), 1.0f / 3);
    EXPECT_EQ(FieldLevelIndex(1.0f / 3), 17);
    EXPECT_EQ(FieldLevelIndex(0.5f), 16);
    // A field between levels snaps to a neighbour.
    EXPECT_EQ(ZoomInField(100), 60.0f);
    EXPECT_EQ(ZoomOutField(100), 120.0f);
    EXPECT_EQ(FieldLevelIndex(100), 2);
    EXPECT_EQ(ZoomInField(0.4f), 1.0f / 3);
    EXPECT_EQ(ZoomOutField(0.4f), 0.5f);
    EXPECT_EQ(ZoomOutField(250), 180.0f);
}

// q = sin(f/4)^2, n = (s/1000)^2 x 2000 + 10,
// m = floor((log10(n / 2q) - 0.9) x 2.1276596 x 10 + 0.5) / 10.
TEST(AutomaticMagnitude, FollowsFieldAndSlider) {
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(90, 657), 5.5f);   // log10(2981.6) = 3.4745 -> 5.478
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(10, 657), 9.5f);   // log10(229496) = 5.3608 -> 9.491
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(180, 0), 0.2f);    // log10(10) = 1 -> 0.213
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(1.0f / 3, 1000), 16.0f);  // 16.5, capped
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(0, 657), 16.0f);
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(-3, 657), 16.0f);
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(180, -50), 0.2f);  // the slider's ends
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(90, NAN), AutomaticMagnitudeLimit(90, 0));
    EXPECT_FLOAT_EQ(AutomaticMagnitudeLimit(90, 5000), AutomaticMagnitudeLimit(90, 1000));
}

}  // namespace
