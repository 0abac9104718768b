// The sky map painter, checked by reading pixels back from the painted
// bitmap: grid colour and label, the choice of one grid, star sizes and
// colours, the Telrad rings' limit, the Sun's disc, the Moon's lit side and
// the magnitude filter of user objects.
#include "tests/wine/winelib_gtest.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "data/objectfiles.h"
#include "data/objects.h"
#include "data/platform.h"
#include "data/starcatalog.h"
#include "engine/astrotime.h"
#include "engine/ephemeris.h"
#include "skymap/core/skymapview.h"
#include "skymap/moon_picture.h"
#include "skymap/painter.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

using namespace UI::SkyMap;

namespace {

const COLORREF kGrid = RGB(0, 101, 156);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kMagenta = RGB(255, 0, 255);

class SkyMapPaint : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static PL::Win32Platform platform;
        PL::SetCurrent(&platform);
        Data::LoadStarResources();
        Data::SetStarFilePath(u"");
    }

    SkyMapPaint() : view(eph) {
        // Greenwich.
        eph.place.latitude = 51.48f;
        eph.place.longitude = 0;
        SetMoment(2026, 1, 15, 22, 0);
        // Nothing but what a test switches on.
        options.constellationLines = options.constellationNames = options.ecliptic = options.horizon =
            options.showPlanets = false;
    }

    void SetMoment(int y, int mo, int d, int h, int mi) {
        eph.moment = Calc::FromCalendar(y, mo, d, h, mi, 0);
        eph.Invalidate();
        view.Invalidate();
    }

    // By default without stars (limit -1).
    MapBitmap& PaintWith(const Data::SkyDisplaySettings& s, int w, int h, float field, float magLimit = -1.0f) {
        view.SetOptions(s);
        view.SetSize(w, h);
        view.SetFieldOfView(field);
        view.SetMagnitudeLimit(magLimit);
        MapBitmap* map = Paint(view, 96, &report);
        EXPECT_NE(map, nullptr);
        return *map;
    }

    // The picture's rows as bytes, for comparing whole pictures.
    static std::string Bytes(const MapBitmap& map) {
        return std::string(reinterpret_cast<const char*>(map.Row0() + map.RowStep() * (map.Height() - 1)),
                           map.Stride() * map.Height());
    }
    static int Count(const MapBitmap& map, COLORREF c, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (map.Get(x, y) == c) ++n;
        return n;
    }

    Calc::Ephemeris eph;
    SkyMapView view;
    Data::SkyDisplaySettings options;
    PaintReport report;
};

// Star sizes: (L - M) x 6 / L, clamped to 0..6, plus one when bold; the
// limit L is clamped to 2.00 .. 11.00 by the caller.
TEST(StarShapes, SizesAndShapesByHand) {
    EXPECT_EQ(StarSize(600, 599, false), 0);   // 6 / 600 -> 0
    EXPECT_EQ(StarSize(600, 500, false), 1);   // 600 / 600
    EXPECT_EQ(StarSize(600, -146, true), 7);   // 7.46 clamped to 6; bold: a circle of diameter 7
    EXPECT_EQ(StarSize(600, 700, true), 1);    // fainter than the limit: 0, bold 1

    MapBitmap map(20, 20, RGB(0, 0, 0));
    ASSERT_TRUE(map.Valid());
    // Size 2, natural tint of class 0: a plus of five pixels.
    const COLORREF orange = StarColour(1, 0);
    DrawStar(map, 10, 10, 2, orange);
    for (auto p : {std::pair<int, int>{10, 10}, {9, 10}, {11, 10}, {10, 9}, {10, 11}})
        EXPECT_EQ(map.Get(p.first, p.second), orange) << p.first << "," << p.second;
    EXPECT_EQ(map.Get(9, 9), RGB(0, 0, 0));
    EXPECT_EQ(map.Get(11, 11), RGB(0, 0, 0));
    // Size 3 at the edge: the 3 x 3 square, the part on the map.
    DrawStar(map, 0, 5, 3, StarColour(2, 15));
    EXPECT_EQ(map.Get(0, 4), RGB(0, 67, 255));
    EXPECT_EQ(map.Get(1, 6), RGB(0, 67, 255));
    EXPECT_EQ(map.Get(2, 5), RGB(0, 0, 0));
}

TEST(GridText, LabelAndSegmentClipping) {
    EXPECT_EQ(GridLabel(108000, 72000, true), u"2h,20\u00b0/div");
    EXPECT_EQ(GridLabel(600, 600, false), u"10',10'/div");
    EXPECT_EQ(GridLabel(75, 30, true), u"5s,30\"/div");

    // Both ends off a 100 x 100 map, the segment across it.
    int64_t x0 = -50, y0 = 50, x1 = 150, y1 = 50;
    ASSERT_TRUE(ClipSegment(x0, y0, x1, y1, 100, 100));
    EXPECT_TRUE(x0 == 0 && x1 == 99 && y0 == 50);
    // Far away on a desktop map, still clipped exactly.
    x0 = y0 = -3000000;
    x1 = y1 = 3000099;
    ASSERT_TRUE(ClipSegment(x0, y0, x1, y1, 100, 100));
    EXPECT_TRUE(x0 == 0 && y0 == 0 && x1 == 99 && y1 == 99);
    // Passing beside the map.
    x0 = -10, y0 = 120, x1 = 120, y1 = 130;
    EXPECT_FALSE(ClipSegment(x0, y0, x1, y1, 100, 100));
}

// Looking south at the horizon with the altitude/azimuth grid: the horizon
// (altitude 0) and the meridian of azimuth 180 cross at the centre, in the
// grid's colour; 20-degree lines.
TEST_F(SkyMapPaint, GridLinesAndLabel) {
    options.altAzGrid = true;
    view.SetCentre(180, 0);
    const MapBitmap& map = PaintWith(options, 240, 240, 90);
    EXPECT_EQ(map.Get(120, 120), kGrid);
    EXPECT_EQ(map.Get(120, 60), kGrid);   // the meridian above the centre
    EXPECT_EQ(map.Get(60, 120), kGrid);   // the horizon left of it
    EXPECT_EQ(report.gridLabel, u"20\u00b0,20\u00b0/div");
    // The label in the top right corner, light grey.
    EXPECT_GT(Count(map, RGB(180, 180, 180), 150, 0, 239, 20), 5);

    // Looking north at 30 degrees the longitude window runs from below 0 to
    // above 0: the meridians of azimuth 350 and 10 are both drawn, about 76
    // pixels either side of the centre (k = 1181, 10 degrees ~ k x 0.1745 /
    // 2.70 pixels), with 10-degree spacing.
    view.SetCentre(0, 0);
    const MapBitmap& north = PaintWith(options, 240, 240, 30);
    EXPECT_EQ(report.gridLabel, u"10\u00b0,10\u00b0/div");
    EXPECT_GT(Count(north, kGrid, 38, 90, 50, 100), 0);    // azimuth 350
    EXPECT_GT(Count(north, kGrid, 190, 90, 202, 100), 0);  // azimuth 10
    EXPECT_GT(Count(north, kGrid, 119, 90, 121, 100), 5);  // azimuth 0
}

// With both grids switched on only the altitude/azimuth grid is drawn: the
// picture equals that of the altitude/azimuth grid alone, and differs from
// the right ascension grid's.
TEST_F(SkyMapPaint, BothGridsDrawOnlyAltAz) {
    view.SetCentre(135, 40);
    Data::SkyDisplaySettings s = options;
    s.altAzGrid = true;
    s.raDecGrid = true;
    const std::string both = Bytes(PaintWith(s, 200, 160, 60));
    const std::u16string bothLabel = report.gridLabel;
    s.raDecGrid = false;
    EXPECT_TRUE(both == Bytes(PaintWith(s, 200, 160, 60)));
    EXPECT_EQ(bothLabel, report.gridLabel);
    s.altAzGrid = false;
    s.raDecGrid = true;
    EXPECT_FALSE(both == Bytes(PaintWith(s, 200, 160, 60)));
    EXPECT_NE(report.gridLabel.find(u'h'), std::u16string::npos);  // hours of right ascension
}

// Telrad rings at a field of 2 degrees on a 600 x 240 map (m = 120): the
// 0.5-degree ring has radius 30, the 2-degree ring 120 (= m, drawn), the
// 4-degree ring 240 > m and is skipped, although it would cross the map.
TEST_F(SkyMapPaint, TelradRingBeyondHalfTheShorterSideIsSkipped) {
    options.telradShow = true;
    view.SetCentre(0, 89);  // the northern sky, away from the Sun and Moon
    const MapBitmap& map = PaintWith(options, 600, 240, 2);
    EXPECT_GT(Count(map, kYellow, 268, 110, 274, 130), 0);  // 0.5 degrees: x = 300 - 30
    EXPECT_GT(Count(map, kYellow, 178, 100, 184, 140), 0);  // 2 degrees: x = 300 - 120
    EXPECT_EQ(Count(map, kYellow, 0, 0, 100, 239), 0);      // 4 degrees: x = 300 - 240 would be here
    EXPECT_EQ(Count(map, kYellow, 500, 0, 599, 239), 0);

    // With the 4-degree ring at 1.5 degrees instead: radius 80, drawn.
    options.telradDiameter3 = 1.0f;
    const MapBitmap& again = PaintWith(options, 600, 240, 2);
    EXPECT_GT(Count(again, kYellow, 238, 100, 244, 140), 0);  // x = 300 - 60
}

// The Sun in February (about 1940" across) at a field of 2 degrees on a
// map whose shorter side is 240 pixels: 120 / 2 x D / 7200 = 32 pixels, a
// black disc with a yellow outline; at 10.5 degrees the green icon.
TEST_F(SkyMapPaint, SunDiscAtTwoDegrees) {
    SetMoment(2026, 2, 20, 12, 0);  // Mercury and Venus well away from it
    const float d = eph.AngularDiameter(Calc::kSun);
    ASSERT_GE(d, 1920.0f);
    ASSERT_LT(d, 2040.0f);
    options.showPlanets = true;
    view.CentreOnEquatorial(eph.ApparentPosition(Calc::kSun));
    const MapBitmap& map = PaintWith(options, 240, 320, 2);
    ScreenPoint sun;
    ASSERT_TRUE(view.ProjectDirection(eph.ApparentPosition(Calc::kSun), Frame::Equatorial, sun));
    EXPECT_NEAR(sun.x, 120, 2);
    EXPECT_NEAR(sun.y, 160, 2);
    EXPECT_EQ(map.Get(sun.x, sun.y), RGB(0, 0, 0));
    // The outline on the centre's row: from x - 32 to x + 31 (the bounding
    // box's right edge is exclusive).
    EXPECT_TRUE(map.Get(sun.x - 33, sun.y) != kYellow && map.Get(sun.x - 32, sun.y) == kYellow);
    EXPECT_TRUE(map.Get(sun.x + 31, sun.y) == kYellow && map.Get(sun.x + 32, sun.y) != kYellow);
    // Inside the outline the disc is black (the square's corners lie 28 pixels out).
    EXPECT_EQ(Count(map, RGB(0, 0, 0), sun.x - 20, sun.y - 20, sun.x + 20, sun.y + 20), 41 * 41);

    const MapBitmap& wide = PaintWith(options, 240, 320, 10.5f);
    EXPECT_EQ(Count(wide, kYellow, 0, 0, 239, 319), 0);
    EXPECT_GT(Count(wide, kGreen, sun.x - 6, sun.y - 6, sun.x + 6, sun.y + 6), 5);
}

// The Moon at first quarter (2026-01-26): at a field of 2 degrees its lit
// half is the one towards the Sun. The Sun's direction on the screen is
// found independently, by projecting a point a little way from the Moon
// along the great circle towards the Sun.
TEST_F(SkyMapPaint, MoonLitSideFacesTheSun) {
    SetMoment(2026, 1, 26, 18, 0);
    options.showPlanets = true;
    const Calc::Vec3 moonAu = eph.ApparentPosition(Calc::kMoon);
    view.CentreOnEquatorial(moonAu);
    const MapBitmap& map = PaintWith(options, 240, 240, 2);

    const Calc::Vec3 m = Calc::Unit(moonAu), s = Calc::Unit(eph.ApparentPosition(Calc::kSun));
    const Calc::Vec3 towards = Calc::Unit(s - m * Calc::Dot(m, s));
    ScreenPoint centre, step;
    ASSERT_TRUE(view.ProjectDirection(m, Frame::Equatorial, centre));
    ASSERT_TRUE(view.ProjectDirection(m + towards * 0.003f, Frame::Equatorial, step));
    const double dx = step.x - centre.x, dy = step.y - centre.y, len = std::hypot(dx, dy);
    ASSERT_GT(len, 5.0);
    const int r = static_cast<int>(120 / 2.0 * eph.AngularDiameter(Calc::kMoon) * 0.000138889);
    ASSERT_GT(r, 12);
    // Mean brightness of the disc's two halves (0 dark, 1 lit), a little
    // inside the edge and away from the terminator.
    double grey[2] = {0, 0};
    int n[2] = {0, 0};
    for (int y = -r + 2; y <= r - 2; ++y) {
        for (int x = -r + 2; x <= r - 2; ++x) {
            const double along = (x * dx + y * dy) / len;
            if (x * x + y * y > (r - 2) * (r - 2) || std::fabs(along) < r * 0.3) continue;
            const COLORREF c = map.Get(centre.x + x, centre.y + y);
            grey[along > 0] += (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3.0;
            ++n[along > 0];
        }
    }
    ASSERT_TRUE(n[0] > 100 && n[1] > 100);
    // Lit pixels are c/2 + 128 (at least 128), unlit ones c/2 (at most 127).
    EXPECT_GT(grey[1] / n[1], 128.0);
    EXPECT_LT(grey[0] / n[0], 110.0);
}

// A user object fainter than the magnitude filter is not drawn unless it is
// the selected object.
TEST_F(SkyMapPaint, FaintUserObjectOnlyWhenSelected) {
    WCHAR folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::u16string d16 = U16(folder);
    const std::u16string file = d16 + u"celvane_paint_test.puo";
    {
        // Right ascension 3h, declination +60: near the zenith in the evening.
        const std::string text =
            "Faint;Test object;3h0m;60\xc2\xb0" "0';1;16;12.5;0\r\nBright;Test object;3h30m;60\xc2\xb0" "0';1;16;3.0;0\r\n";
        std::FILE* f = PL::Current().OpenFile(file, "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    Data::ObjectFileManagerBase::SetFolders(d16, d16);
    Data::UserObjectFiles().UnloadAll();
    ASSERT_EQ(Data::UserObjectFiles().Load(u"celvane_paint_test", true), u"");

    SetMoment(2026, 1, 15, 22, 0);
    options.showUserObjects = true;
    options.magFilter = 10.0f;
    const Data::AstroObjRef faint(Data::kObjUser, 0, u"celvane_paint_test");
    const Data::AstroObjRef bright(Data::kObjUser, 1, u"celvane_paint_test");
    view.CentreOnEquatorial(Data::ObjectPosition(faint, eph));
    const MapBitmap* map = &PaintWith(options, 300, 300, 20);
    ScreenPoint pf, pb;
    ASSERT_TRUE(view.ScreenPositionOf(faint, pf) && view.ScreenPositionOf(bright, pb));
    auto magenta = [&](const ScreenPoint& p) { return Count(*map, kMagenta, p.x - 5, p.y - 5, p.x + 5, p.y + 5); };
    EXPECT_EQ(magenta(pf), 0);
    EXPECT_GT(magenta(pb), 3);
    view.SetSelected(faint);
    map = &PaintWith(options, 300, 300, 20);
    EXPECT_GT(magenta(pf), 3);

    Data::UserObjectFiles().UnloadAll();
    DeleteFileW(W(file));
}

// A bright star is drawn at its projected pixel in its colour class's tint;
// the star layer reports how many stars it wrote.
TEST_F(SkyMapPaint, StarAtItsPixelInItsColour) {
    const Data::StarNumber vega = Data::HrToStarIndex(7001);
    ASSERT_GE(vega, 0);
    const Data::StarPosition pos = Data::ReadStarPosition(vega);
    options.starColour = 2;
    view.CentreOnEquatorial(eph.StarApparent(Calc::Vec3{pos.X() / 32767.0f, pos.Y() / 32767.0f, pos.Z() / 32767.0f}));
    const MapBitmap& map = PaintWith(options, 200, 200, 20, 6.0f);
    ScreenPoint pt;
    ASSERT_TRUE(view.ScreenPositionOf(Data::AstroObjRef(Data::kObjStar, vega), pt));
    // Vega (0.03) under the limit 6.00: (600 - 3) x 6 / 600 = 5, a circle.
    const COLORREF tint = StarColour(2, Data::RecordColourClass(pos.bytes));
    EXPECT_EQ(map.Get(pt.x, pt.y), tint);
    EXPECT_EQ(map.Get(pt.x + 1, pt.y), tint);
    EXPECT_NE(map.Get(pt.x + 4, pt.y + 4), tint);
    EXPECT_GT(report.starsDrawn, 20);
}

// A constellation line whose both ends lie off the map still shows where it
// crosses it: Orion's belt from Alnitak (HR 1948) to Alnilam (HR 1903),
// 1.35 degrees long, through the middle of a 0.5-degree field.
TEST_F(SkyMapPaint, ConstellationLineCrossingTheMapIsDrawn) {
    options.constellationLines = true;
    const Data::StarPosition a = Data::ReadStarPosition(Data::HrToStarIndex(1948));
    const Data::StarPosition b = Data::ReadStarPosition(Data::HrToStarIndex(1903));
    const Calc::Vec3 mid{(a.X() + b.X()) / 65534.0f, (a.Y() + b.Y()) / 65534.0f, (a.Z() + b.Z()) / 65534.0f};
    view.CentreOnEquatorial(eph.StarApparent(mid));
    const MapBitmap& map = PaintWith(options, 200, 200, 0.5f);
    ScreenPoint p;
    for (int hr : {1948, 1903}) EXPECT_FALSE(view.ScreenPositionOf(Data::AstroObjRef(Data::kObjStar, Data::HrToStarIndex(hr)), p));
    // The line runs through the centre and across the whole map.
    const COLORREF line = RGB(0, 154, 99);
    EXPECT_GT(Count(map, line, 95, 95, 105, 105), 0);
    EXPECT_GT(Count(map, line, 0, 0, 199, 199), 150);
}

// The Moon picture is copied with black transparent: the square's corners
// outside the disc leave the map as it was; the disc is the picture, its
// lit half (towards the bright limb, here to the right) lighter than 128.
TEST(MoonPicture, CornersStayAndTheLitHalfFacesTheLimb) {
    MapBitmap map(100, 100, RGB(200, 0, 0));
    ASSERT_TRUE(map.Valid());
    MoonShape shape;
    shape.radius = 30;
    shape.phaseAngle = 1.5707963f;  // a quarter: half lit
    shape.brightLimb = 0;           // the Sun to the right
    DrawMoonPicture(map.Context(), 50, 50, shape);
    GdiFlush();
    EXPECT_EQ(map.Get(21, 21), RGB(200, 0, 0));  // corners of the 61-pixel square
    EXPECT_EQ(map.Get(79, 79), RGB(200, 0, 0));
    EXPECT_EQ(map.Get(50, 15), RGB(200, 0, 0));  // outside the square
    EXPECT_GE(GetGValue(map.Get(70, 50)), 128);  // the lit half
    EXPECT_LT(GetGValue(map.Get(30, 50)), 128);
}

}  // namespace
