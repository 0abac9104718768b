// The hit test: the tap radius, the order of the kinds and the strict
// comparisons, with real bodies, stars and object files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/objectfiles.h"
#include "data/star_fixture.h"
#include "data/starcatalog.h"
#include "data/starenum.h"
#include "engine/astrotime.h"
#include "skymap/core/skymapview.h"

using namespace UI::SkyMap;
using Data::AstroObjRef;
using Calc::Vec3;

namespace {

TEST(HitRadius, ByDotsPerInchAndField) {
    EXPECT_EQ(HitRadiusForDpi(135, 136), 6);  // mean 135.5
    EXPECT_EQ(HitRadiusForDpi(136, 136), 12);
    EXPECT_EQ(StarFinderRadius(90), 1024);  // a sixteenth of the field: 90 x 11.377778
    EXPECT_EQ(StarFinderRadius(0.2f), 3);   // 2.3, raised to 3
}

class HitTestTest : public startest::StarTest {
protected:
    void SetUp() override {
        startest::StarTest::SetUp();
        root_ = ::testing::TempDir() + "celvane_hittest_" + std::to_string(::getpid());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
        Data::ObjectFileManagerBase::SetFolders(PL::FromUtf8(root_), PL::FromUtf8(root_));
        eph.moment = Calc::FromCalendar(2026, 1, 15, 22, 0, 0);
        eph.Invalidate();
        view.SetSize(240, 268);
        view.SetFieldOfView(10);
        Show(true, false, false);
    }
    void TearDown() override {
        Data::UserObjectFiles().UnloadAll();
        Data::CometFiles().UnloadAll();
        Data::ObjectFileManagerBase::UseDefaultFolders();
        std::filesystem::remove_all(root_);
        startest::StarTest::TearDown();
    }

    void Show(bool planets, bool objects, bool comets, float filter = 15) {
        Data::SkyDisplaySettings options;
        options.showPlanets = planets;
        options.showUserObjects = objects;
        options.showComets = comets;
        options.magFilter = filter;
        view.SetOptions(options);
    }
    // A paint's start: rotations, filters and the star limit.
    void Paint(float starLimit) {
        view.SetMagnitudeLimit(starLimit);
        view.PreparePaint();
    }
    // The one user object of the file "Taps": magnitude `mag`, at the sky
    // point under (x, y).
    AstroObjRef UserObjectAt(int x, int y, float mag) {
        const Vec3 s = Calc::CartToSph(view.UnprojectTo(Frame::J2000, x, y));
        char line[200];
        std::snprintf(line, sizeof line, "U0;test;%.7f;%.6f;1;0;%.1f;0\n", Calc::Reduce(s.x, Calc::kTwoPi) * 3.8197186,
                      s.y * 57.29578, mag);
        std::ofstream(root_ + "/Taps.puo", std::ios::binary) << line;
        EXPECT_EQ(Data::UserObjectFiles().Load(u"Taps", true), u"");
        return AstroObjRef(Data::kObjUser, 0, u"Taps");
    }
    ScreenPoint At(const AstroObjRef& ref) {
        ScreenPoint p;
        EXPECT_TRUE(view.ScreenPositionOf(ref, p));
        return p;
    }
    static AstroObjRef Body(int b) { return AstroObjRef(Data::kObjBody, b); }
    static AstroObjRef Star(Data::StarNumber n) { return AstroObjRef(Data::kObjStar, n); }

    Calc::Ephemeris eph;
    SkyMapView view{eph};
    std::string root_;
};

// Jupiter (at opposition in January 2026) at the centre of a 10 degree map;
// no stars (limit -5).
TEST_F(HitTestTest, BodiesWithinTheRadiusStrictlyAndFirst) {
    view.CentreOnEquatorial(eph.ApparentPosition(Calc::kJupiter));
    Paint(-5);
    const ScreenPoint j = At(Body(Calc::kJupiter));
    EXPECT_EQ(view.HitTest(j.x, j.y), Body(Calc::kJupiter));
    EXPECT_EQ(view.HitTest(j.x + 5, j.y), Body(Calc::kJupiter));  // 25 < 36
    EXPECT_EQ(view.HitTest(j.x + 6, j.y).kind, Data::kObjNone);   // 36, not below
    EXPECT_EQ(view.HitTest(j.x - 5, j.y + 4).kind, Data::kObjNone);   // 41

    // A body wins over a nearer user object; hidden, it is not found.
    const AstroObjRef u = UserObjectAt(j.x + 4, j.y, 8);
    Show(true, true, false);
    Paint(-5);
    ASSERT_LE(std::abs(At(u).x - (j.x + 4)), 1);
    EXPECT_EQ(view.HitTest(j.x + 4, j.y), Body(Calc::kJupiter));  // 16 pixels^2 against about 0
    Show(false, true, false);
    Paint(-5);
    EXPECT_EQ(view.HitTest(j.x + 4, j.y), u);
}

// Sirius (HR 2491, magnitude -1.46) at the centre, a user object 3 pixels
// to its right.
TEST_F(HitTestTest, UserObjectsBeforeStarsAndTheFiltersOfTheLastPaint) {
    const Data::StarNumber sirius = Data::HrToStarIndex(2491);
    ASSERT_GE(sirius, 0);
    const Data::StarPosition p = Data::ReadStarPosition(sirius);
    view.CentreOnEquatorial(eph.StarApparent({p.X() / 32767.0f, p.Y() / 32767.0f, p.Z() / 32767.0f}));
    Paint(6.5f);
    const ScreenPoint s = At(Star(sirius));
    const AstroObjRef u = UserObjectAt(s.x + 3, s.y, 12);

    Paint(6.5f);
    EXPECT_EQ(view.HitTest(s.x + 2, s.y), Star(sirius));

    Show(true, true, false);
    Paint(6.5f);
    EXPECT_EQ(view.HitTest(s.x, s.y), u);  // 9 pixels^2 against 0, but user objects come first

    // Fainter than the filter: not tappable, even when selected.
    Show(true, true, false, 10);
    Paint(6.5f);
    view.SetSelected(u);
    EXPECT_EQ(view.HitTest(s.x + 3, s.y), Star(sirius));
    // The filter of the last paint counts, not the options since.
    Show(true, true, false, 15);
    EXPECT_EQ(view.HitTest(s.x + 3, s.y), Star(sirius));
    view.PreparePaint();
    EXPECT_EQ(view.HitTest(s.x + 3, s.y), u);

    // Stars fainter than the last star layer's limit are not found.
    Show(true, false, false);
    Paint(-2);
    EXPECT_EQ(view.HitTest(s.x, s.y).kind, Data::kObjNone);
}

// Ceres and the star nearest to it, on a field chosen so that the two are
// 3 to 5 pixels apart: the comet or asteroid found first keeps its place
// only when it is nearer on the screen.
TEST_F(HitTestTest, CometsAgainstTheNearestStar) {
    // Ceres' elements, with the mean anomaly given.
    auto write = [&](const char* meanAnomaly) {
        std::ofstream(root_ + "/Taps.pco", std::ios::binary) << "1 Ceres;Main-belt asteroid;0;0;2461200.5;" << meanAnomaly
                                                             << ";2.7655526;0.0796923;73.29420;80.24863;10.58803;3.34;0.15\n";
        return Data::CometFiles().Load(u"Taps", true);
    };
    ASSERT_EQ(write("274.41935"), u"");
    const AstroObjRef ceres(Data::kObjComet, 0, u"Taps");
    Vec3 c;
    float mag;
    CometApparent(*Data::CometFiles().FindStore(u"Taps")[0], eph, c, mag);
    ASSERT_TRUE(mag > 5.0f && mag < 10.0f) << mag;
    const Q15Vec j = ToQ15(Calc::MulMat(eph.PrecessionMatrix(), Calc::Unit(c)));
    const Data::NearestStar near = Data::FindNearestStar(j.x, j.y, j.z, 900, 2000);
    ASSERT_NE(near.star, Data::kNoStar);
    const Data::StarPosition sp = Data::ReadStarPosition(near.star);
    const Vec3 star = eph.StarApparent({sp.X() / 32767.0f, sp.Y() / 32767.0f, sp.Z() / 32767.0f});
    // About 3280 degrees of field per radian of separation give 4 pixels.
    const float field = Calc::AngleBetween(star, Calc::Unit(c)) * 3280.0f;
    ASSERT_TRUE(field > 0.05f && field < 60.0f) << field;
    view.SetFieldOfView(field);
    view.CentreOnEquatorial(c);
    Show(true, false, true);
    Paint(9);
    const ScreenPoint pc = At(ceres);
    const ScreenPoint ps = At(Star(near.star));
    const int d2 = (pc.x - ps.x) * (pc.x - ps.x) + (pc.y - ps.y) * (pc.y - ps.y);
    ASSERT_TRUE(d2 >= 9 && d2 <= 25) << d2;

    EXPECT_EQ(view.HitTest(pc.x, pc.y), ceres);
    EXPECT_EQ(view.HitTest(ps.x, ps.y), Star(near.star));

    // The positions are those of the moment: five days later Ceres has
    // moved (a degree or more, over 12 pixels at this field of 19 degrees).
    Show(true, false, true);
    Paint(9);
    ASSERT_EQ(view.CometSpots().size(), 1u);
    for (int days : {5, -5}) {
        eph.moment = Calc::AddSeconds(eph.moment, days * 86400);
        eph.Invalidate();
        view.Invalidate();
        EXPECT_EQ(view.HitTest(pc.x, pc.y) == ceres, days < 0) << days;
    }
    // A file reloaded with as many entries as before: the next paint takes
    // the new elements (ten degrees further along the orbit); an unloaded
    // file's bodies cannot be tapped.
    Paint(9);
    ASSERT_EQ(write("284.41935"), u"");
    Paint(9);
    EXPECT_NE(view.HitTest(pc.x, pc.y), ceres);
    Data::CometFiles().Unload(u"Taps");
    EXPECT_EQ(view.HitTest(pc.x, pc.y), Star(near.star));
}

// The object model answers (0, 1, 0) -- right ascension 6h on the equator --
// for what it cannot resolve; centred there, none of it may be on the map.
// The corner of a wide map at 180 degrees lies beyond the front hemisphere's
// image: no direction, no star search.
TEST_F(HitTestTest, OnlyResolvedObjectsHaveAPlaceAndOnlyTheHemisphereIsTapped) {
    view.CentreOnEquatorial({0, 1, 0});
    ScreenPoint p;
    EXPECT_FALSE(view.ScreenPositionOf(Star(9500), p));  // past the bright stars held
    EXPECT_FALSE(view.ScreenPositionOf(AstroObjRef(Data::kObjUser, 0, u"NotLoaded"), p));
    EXPECT_FALSE(view.ScreenPositionOf(AstroObjRef(4, 0), p));
    EXPECT_FALSE(view.ScreenPositionOf(AstroObjRef(), p));

    view.SetFieldOfView(180);
    view.SetSize(600, 240);
    Paint(16);
    EXPECT_EQ(view.Unproject(0, 0).y, 0.0f);
    EXPECT_EQ(view.HitTest(0, 0).kind, Data::kObjNone);
}

}  // namespace
