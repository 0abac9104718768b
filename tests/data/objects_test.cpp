#include "data/objects.h"

#include "data/messages.h"
#include "data/objectfiles.h"
#include "data/objectnames.h"
#include "data/starcatalog.h"
#include "data/starenum.h"
#include "engine/orbits.h"
#include "star_fixture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace Data;

namespace {

// The bright stars and stars.dat, the four shipped object files loaded into
// the program-wide managers, English texts.
class ObjectModelTest : public startest::StarTest {
protected:
    void SetUp() override {
        startest::StarTest::SetUp();
        platform_->language = 0x409;
        SetUserLangId(0);
        ObjectFileManagerBase::SetFolders(PL::FromUtf8(CELVANE_SOURCE_DIR "/resources/data"),
                                          u"/nonexistent-data-folder");
        for (const char16_t* f : {u"Messier", u"Caldwell"}) ASSERT_EQ(UserObjectFiles().Load(f, false), u"");
        for (const char16_t* f : {u"Asteroids", u"Comets"}) ASSERT_EQ(CometFiles().Load(f, false), u"");
        eph.moment = kMoment;
        eph.Invalidate();
    }
    void TearDown() override {
        UserObjectFiles().UnloadAll();
        CometFiles().UnloadAll();
        ObjectFileManagerBase::UseDefaultFolders();
        SetUserLangId(0);
        startest::StarTest::TearDown();
    }

    // 2026-06-09 0h UT, the asteroids' epoch.
    static constexpr Calc::AstroTime kMoment{61200, 0};
    Calc::Ephemeris eph;
};

AstroObjRef Messier(int n) { return AstroObjRef(kObjUser, n - 1, u"Messier"); }

int IndexOfComet(const std::u16string& file, const std::u16string& name) {
    const auto& list = CometFiles().FindStore(file);
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i]->name == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

TEST(ObjectNames, NamesKeysAndDesignations) {
    PL::TestPlatform platform;
    PL::ScopedPlatform scope(platform);
    platform.language = 0x407;
    SetUserLangId(0);
    EXPECT_EQ(BodyName(10), u"Stern");
    EXPECT_EQ(BodyKeyName(2), u"Mercury");  // keys are English whatever the language
    // The second part of Serpens has the Latin name of 73 and no common name.
    EXPECT_EQ(ConstellationAbbreviation(89), u"");
    EXPECT_EQ(ConstellationLatinName(88), u"Serpens");
    EXPECT_EQ(ConstellationFromAbbreviation(u"cma"), 19);
    for (const char16_t* bad : {u"Xyz", u"CM", u"CMaj"}) EXPECT_EQ(ConstellationFromAbbreviation(bad), -1);
    for (int i = 0; i < 88; ++i) EXPECT_EQ(ConstellationFromAbbreviation(ConstellationAbbreviation(i)), i);

    EXPECT_EQ(GreekLetter(18), u"\u03c3");  // sigma: the final sigma is skipped
    EXPECT_EQ(FormatBayerFlamsteed(1, 1, 0, 14), u"\u03b11 Cen");
    EXPECT_EQ(FormatBayerFlamsteed(24, 0, 0, 88), u"\u03c9 Ser");
}

TEST_F(ObjectModelTest, StarDesignations) {
    // HR 2491: Flamsteed 9, alpha, Canis Major, Sirius, HIP 32349, TYC 5949-2777-1.
    const StarNumber sirius = HrToStarIndex(2491);
    ASSERT_GE(sirius, 0);
    StarNameLines s = StarNames(sirius);
    EXPECT_EQ(s.primary, u"9 \u03b1 CMa, Sirius");
    EXPECT_EQ(s.secondary, u"HIP 32349, TYC 5949-2777-1");
    EXPECT_EQ(ObjectName(AstroObjRef(kObjStar, sirius)), s.primary);
    EXPECT_EQ(ObjectSubtitle(AstroObjRef(kObjStar, sirius)), s.secondary);
    // A Bayer star without a proper name: the HIP number after the
    // designation, the HR number after the TYC number.
    s = StarNames(HrToStarIndex(8085));  // 61 Cyg A
    EXPECT_EQ(s.primary, u"61 Cyg, HIP 104214");
    EXPECT_EQ(s.secondary.rfind(u"TYC ", 0), 0u);
    EXPECT_EQ(s.secondary.substr(s.secondary.size() - 9), u", HR 8085");
    // A proper name without Bayer or Flamsteed designation still shows.
    EXPECT_EQ(StarNames(HrToStarIndex(2422)).primary, u"Plaskett's star");
    // A star of the HIP section: no Bayer or Flamsteed designation, no HR number.
    const StarNumber hip = FindStarByHip(1);
    ASSERT_GE(hip, kHipStarBase);
    s = StarNames(hip);
    EXPECT_EQ(s.primary.rfind(u"HIP 1", 0), 0u);
    EXPECT_EQ(s.secondary, u"");
}

TEST_F(ObjectModelTest, NamesSubtitlesAndIcons) {
    EXPECT_EQ(ObjectName(AstroObjRef()), u"-");
    EXPECT_EQ(ObjectName(AstroObjRef(kObjConstellation, 88)), u"");
    EXPECT_EQ(ObjectName(AstroObjRef(4, 0)), u"<Name>\u00a3\u00a3\u00a3###");
    EXPECT_EQ(ObjectName(Messier(42)), u"M 42");
    EXPECT_EQ(ObjectSubtitle(Messier(42)), u"Bright nebula: Orion Nebula (NGC 1976)");
    const int halley = IndexOfComet(u"Comets", u"1P/Halley");
    ASSERT_GE(halley, 0);
    const AstroObjRef halleyRef(kObjComet, halley, u"Comets");
    EXPECT_EQ(ObjectName(halleyRef), u"1P/Halley");

    auto icon = [](const AstroObjRef& r) {
        const ObjectIconRef i = ObjectIcon(r);
        return std::make_pair(i.list, i.image);
    };
    EXPECT_EQ(icon(Messier(31)), std::make_pair(2, 1));  // a galaxy in "objects"
    EXPECT_EQ(icon(halleyRef), std::make_pair(1, 4));    // a periodic comet: 0 + 4

    // References into unloaded files or past the end of a list behave as
    // nothing, with an empty name.
    // So do star numbers that no catalogue holds (a stored selection from a
    // star file no longer present): not a star of magnitude -1.48 at the
    // zero vector.
    for (const AstroObjRef& r : {AstroObjRef(kObjUser, 0, u"NotLoaded"), AstroObjRef(kObjUser, 110, u"Messier"),
                                 AstroObjRef(kObjUser, -1, u"Messier"), AstroObjRef(kObjComet, 9999, u"Comets"),
                                 AstroObjRef(kObjStar, -7), AstroObjRef(kObjStar, 2147483647)}) {
        if (r.kind != kObjStar) {
            EXPECT_EQ(ObjectName(r), u"");
            EXPECT_EQ(ObjectSubtitle(r), u"");
            EXPECT_EQ(icon(r), std::make_pair(0, 0));
        }
        const Calc::Vec3 p = ObjectPosition(r, eph);
        EXPECT_EQ(p.x, 0.0f);
        EXPECT_EQ(p.y, 1.0f);
        EXPECT_EQ(p.z, 0.0f);
        EXPECT_EQ(ObjectMagnitude(r, eph), Calc::kMissing);
        EXPECT_EQ(ObjectDistance(r, eph), 0.0f);
        EXPECT_EQ(ObjectSummary(r, eph), u"");
        // A user object keeps its key (its file may come back); a comet's
        // key needs its name, which only the file holds.
        if (r.kind == kObjUser) {
            EXPECT_EQ(ParseObjectKey(ObjectKey(r)), r);
        }
        if (r.kind == kObjComet) {
            EXPECT_EQ(ObjectKey(r), u"");
        }
    }
    // Unloading a file turns its references into nothing.
    const AstroObjRef m1 = Messier(1);
    EXPECT_EQ(ObjectName(m1), u"M 1");
    UserObjectFiles().Unload(u"Messier");
    EXPECT_EQ(ObjectName(m1), u"");
}

TEST_F(ObjectModelTest, PositionsMagnitudesDistances) {
    // A user object: its stored direction, at J2000 unchanged by precession.
    eph.moment = Calc::kJ2000;
    eph.Invalidate();
    Calc::BodyInfo info = ObjectInfo(Messier(42), eph);
    EXPECT_NEAR(info.ra, 5.588083f, 0.001f);
    EXPECT_NEAR(info.dec, -5.39028f, 0.01f);
    EXPECT_EQ(info.constellation, 59);  // Orion
    EXPECT_EQ(ObjectMagnitude(Messier(42), eph), 4.0f);
    EXPECT_FLOAT_EQ(ObjectDistance(Messier(42), eph), 1344.0f * 63241.08f);
    EXPECT_EQ(ObjectSummary(Messier(42), eph), u"m4, Ori");

    // A star: Sirius, V -1.46, parallax 379 mas (8.6 light years).
    const AstroObjRef sirius(kObjStar, HrToStarIndex(2491));
    EXPECT_NEAR(ObjectMagnitude(sirius, eph), -1.46f, 0.011f);
    EXPECT_NEAR(ObjectDistance(sirius, eph) / 63241.08f, 8.6f, 0.05f);

    // A constellation: its centre, no magnitude.
    const AstroObjRef orion(kObjConstellation, 59);
    EXPECT_EQ(ObjectInfo(orion, eph).constellation, 59);
    EXPECT_EQ(ObjectMagnitude(orion, eph), Calc::kMissing);
    EXPECT_EQ(ObjectInfo(AstroObjRef(kObjConstellation, 88), eph).constellation, 73);

    // A body: the ephemeris's distance, the Sun's 0.98333 AU at J2000.
    EXPECT_NEAR(ObjectDistance(AstroObjRef(kObjBody, 0), eph), 0.9833f, 0.001f);
}

TEST_F(ObjectModelTest, CometsAndAsteroids) {
    // Halley at its 2061 perihelion: q = 0.571 AU from the Sun.
    const AstroObjRef halley(kObjComet, IndexOfComet(u"Comets", u"1P/Halley"), u"Comets");
    const Comet* c = FindComet(halley);
    ASSERT_NE(c, nullptr);
    eph.moment = c->orbit.epoch;
    eph.Invalidate();
    const Calc::Vec3 v = ObjectPosition(halley, eph);
    EXPECT_NEAR(Calc::Length(v - eph.ApparentPosition(Calc::kSun)), 0.571135f, 1e-4f);
    EXPECT_FLOAT_EQ(ObjectDistance(halley, eph), Calc::Length(v));
    // m = H0 + 5 log Delta + K log r with H0 5.5, K 8.
    const float delta = Calc::Length(v);
    EXPECT_NEAR(ObjectMagnitude(halley, eph), 5.5f + 5 * std::log10(delta) + 8 * std::log10(0.571135f), 0.01f);

    // Ceres at its epoch: M 274.41935, e 0.0796923 give E 269.85 (Kepler's
    // equation), r = a (1 - e cos E) = 2.7661 AU.
    const AstroObjRef ceres(kObjComet, 0, u"Asteroids");
    eph.moment = Calc::AstroTime{61200, 0};
    eph.Invalidate();
    EXPECT_NEAR(Calc::Length(ObjectPosition(ceres, eph) - eph.ApparentPosition(Calc::kSun)), 2.7661f, 0.002f);
}

TEST_F(ObjectModelTest, KeysAndTheirParsing) {
    EXPECT_EQ(ObjectKey(AstroObjRef(kObjConstellation, 19)), u"ConCMa");
    EXPECT_EQ(ObjectKey(Messier(13)), u"Obj12,Messier");
    EXPECT_EQ(ObjectKey(AstroObjRef(kObjComet, IndexOfComet(u"Comets", u"C/1995 O1 (Hale-Bopp)"), u"Comets")),
              u"ACC/1995O1,Comets");
    EXPECT_EQ(ObjectKey(AstroObjRef(kObjComet, 0, u"Asteroids")), u"AC1,Asteroids");

    const AstroObjRef halley(kObjComet, IndexOfComet(u"Comets", u"1P/Halley"), u"Comets");
    const struct {
        const char16_t* key;
        AstroObjRef ref;
    } cases[] = {{u"sun", AstroObjRef()}, {u"Star 77", AstroObjRef(kObjStar, 77)}, {u"Starx", AstroObjRef(kObjStar, 0)},
                 {u"Concma", AstroObjRef(kObjConstellation, 19)}, {u"ConCM", AstroObjRef()}, {u"Obj12", AstroObjRef()},
                 {u"AC1P,NotLoaded", AstroObjRef()}, {u"ACnothing,Comets", AstroObjRef()}, {u"AC1P,Comets", halley},
                 // A user-object key names its file even before the file is loaded.
                 {u"Obj12,Elsewhere", AstroObjRef(kObjUser, 12, u"Elsewhere")}};
    for (const auto& c : cases) EXPECT_EQ(ParseObjectKey(c.key), c.ref) << PL::ToUtf8(c.key);
    EXPECT_EQ(ObjectName(ParseObjectKey(u"Obj12,Elsewhere")), u"");

    // Every object's key reads back as the object.
    std::vector<AstroObjRef> refs = {
        AstroObjRef(kObjBody, 0),           AstroObjRef(kObjBody, 9),       AstroObjRef(kObjStar, 0),
        AstroObjRef(kObjStar, HrToStarIndex(9110)), AstroObjRef(kObjStar, kHipStarBase + 118000),
        AstroObjRef(kObjStar, kTycStarBase + 5),    AstroObjRef(kObjConstellation, 87)};
    for (const char16_t* f : {u"Messier", u"Caldwell"})
        for (size_t i = 0; i < UserObjectFiles().FindStore(f).size(); ++i) refs.emplace_back(kObjUser, int32_t(i), f);
    for (const char16_t* f : {u"Asteroids", u"Comets"})
        for (size_t i = 0; i < CometFiles().FindStore(f).size(); ++i) refs.emplace_back(kObjComet, int32_t(i), f);
    EXPECT_GT(refs.size(), 500u);
    for (const AstroObjRef& r : refs) EXPECT_EQ(ParseObjectKey(ObjectKey(r)), r) << PL::ToUtf8(ObjectKey(r));
    EXPECT_EQ(ParseObjectKey(ObjectKey(AstroObjRef(kObjConstellation, 88))), AstroObjRef(kObjConstellation, 73));
}

// Comets with neither a number nor a designation in their names (files
// converted from the MPC's lists hold some) share the empty key: a saved
// selection of one comes back as the first of them, never as nothing.
TEST_F(ObjectModelTest, BodiesWithoutKeyRestoreTheFirstSuch) {
    const std::string dir = ::testing::TempDir() + "celvane_objkeys_" + std::to_string(::getpid());
    std::system(("mkdir -p '" + dir + "'").c_str());
    std::ofstream(dir + "/Mine.pco", std::ios::binary)
        << "\xEF\xBB\xBF"
           "Encke;short period;0;1;2460240.5;0;0.33;0.85;187;334;11;14;10\r\n"
           "C/2020 F3 (NEOWISE);great comet;1;1;2459034.18;0;0.29;0.9992;37;61;129;7;10\r\n"
           "Tempel;no key either;0;1;2460000.5;0;1.4;0.5;179;68;10;8;10\r\n";
    ObjectFileManagerBase::SetFolders(PL::FromUtf8(dir), PL::FromUtf8(dir));
    ASSERT_EQ(CometFiles().Load(u"Mine", false), u"");
    const AstroObjRef encke(kObjComet, 0, u"Mine"), neowise(kObjComet, 1, u"Mine"), tempel(kObjComet, 2, u"Mine");
    EXPECT_EQ(ObjectKey(encke), u"AC,Mine");
    EXPECT_EQ(ParseObjectKey(ObjectKey(encke)), encke);
    EXPECT_EQ(ParseObjectKey(ObjectKey(neowise)), neowise);
    EXPECT_EQ(ParseObjectKey(ObjectKey(tempel)), encke);  // the first body with an empty key wins
    CometFiles().Unload(u"Mine");
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST_F(ObjectModelTest, FrenchNames) {
    platform_->language = 0x40C;
    EXPECT_EQ(ObjectName(AstroObjRef(kObjBody, 9)), u"Pluton");
    EXPECT_EQ(ObjectName(AstroObjRef(kObjConstellation, 27)), u"le Croix du Sud");
}
