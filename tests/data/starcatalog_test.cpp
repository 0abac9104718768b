#include "data/starcatalog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "data/starfile.h"
#include "star_fixture.h"

using namespace Data;
using startest::StarTest;

namespace {

// The program's proper names (name, HR) in their numbering.
std::vector<std::pair<std::string, int>> ProperNames() {
    std::ifstream in(CELVANE_SOURCE_DIR "/catalogs/stars/proper_names.csv");
    std::vector<std::pair<std::string, int>> out;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        const size_t comma = line.rfind(',');
        out.emplace_back(line.substr(0, comma), std::stoi(line.substr(comma + 1)));
    }
    return out;
}

int NameNumber(const std::string& name) {
    const auto names = ProperNames();
    for (size_t k = 0; k < names.size(); ++k)
        if (names[k].first == name) return static_cast<int>(k) + 1;
    return 0;
}

}  // namespace

// Positions, magnitudes, HIP and TYC numbers of every star are checked
// against the source catalogues with the catalogue builder's tests.
TEST_F(StarTest, BrightStarsDecodeToTheirNamesAndDesignations) {
    const struct {
        int hr;
        const char* name;
        BayerFlamsteed bf;
        const char16_t* spectral;  // BSC5
    } cases[] = {{2491, "Sirius", {1, 0, 9, 19}, u"A1Vm"},  // 9 alpha CMa
                 {7001, "Vega", {1, 0, 3, 51}, u"A0Va"},    // 3 alpha Lyr
                 {424, "Polaris", {1, 0, 1, 83}, u"F7:Ib-II"}};  // 1 alpha UMi
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hr);
        const StarNumber n = HrToStarIndex(c.hr);
        ASSERT_GE(n, 0);
        const StarInfo s = ReadStar(n);
        EXPECT_EQ(s.hr, c.hr);
        EXPECT_EQ(s.properName, NameNumber(c.name));
        EXPECT_EQ(std::make_tuple(s.bayerFlamsteed.letter, s.bayerFlamsteed.digit, s.bayerFlamsteed.flamsteed,
                                  s.bayerFlamsteed.constellation),
                  std::make_tuple(c.bf.letter, c.bf.digit, c.bf.flamsteed, c.bf.constellation));
        EXPECT_EQ(s.spectral, c.spectral);
        // The first ten bytes are the position and magnitude.
        const StarPosition p = ReadStarPosition(n);
        EXPECT_EQ(std::make_tuple(p.X(), p.Y(), p.Z(), p.MagnitudeCode() - 148),
                  std::make_tuple(s.x, s.y, s.z, int(s.magnitude)));
    }
}

TEST_F(StarTest, StarListedUnderSeveralHrNumbersIsNamedByTheOneWithAProperName) {
    // gamma1/gamma2 Ari (HR 545, 546) are one Hipparcos star; HR 546 carries
    // the proper name. theta1/theta2 Eri (HR 897, 898): the first is named.
    const StarNumber mesarthim = HrToStarIndex(545);
    ASSERT_GE(mesarthim, 0);
    EXPECT_EQ(HrToStarIndex(546), mesarthim);
    EXPECT_EQ(StarIndexToHr(mesarthim), 546);
    const StarNumber acamar = HrToStarIndex(897);
    ASSERT_GE(acamar, 0);
    EXPECT_EQ(HrToStarIndex(898), acamar);
    EXPECT_EQ(StarIndexToHr(acamar), 897);
    EXPECT_EQ(ReadStar(acamar).properName, NameNumber("Acamar"));
    // An unnamed pair keeps its first HR: HR 1505/1506 share HIP 21986.
    const StarNumber pair = HrToStarIndex(1505);
    ASSERT_GE(pair, 0);
    EXPECT_EQ(HrToStarIndex(1506), pair);
    EXPECT_EQ(StarIndexToHr(pair), 1505);
}

TEST_F(StarTest, EveryHrNumberMapsBackToAStarWithThatHr) {
    for (int hr : {0, -3, 9111}) EXPECT_EQ(HrToStarIndex(hr), -1) << hr;
    EXPECT_EQ(StarIndexToHr(-1), 0);
    EXPECT_EQ(StarIndexToHr(9999), 0);
    std::set<StarNumber> stars;
    for (int hr = 1; hr <= kMaxHr; ++hr) {
        const StarNumber n = HrToStarIndex(hr);
        if (n < 0) continue;
        stars.insert(n);
        const int back = StarIndexToHr(n);
        ASSERT_NE(back, 0) << hr;
        // Either the same HR or another HR of the same star.
        EXPECT_EQ(HrToStarIndex(back), n) << hr;
    }
    // Each star record of the tree that is not padding has an HR number.
    uint32_t real = 0;
    for (uint32_t b = 0; b < BrightBlockCount(); ++b)
        for (int j = 0; j < kStarsPerBlock; ++j)
            if (!RecordIsPadding(BrightBlock(b) + j * kStarRecordSize)) ++real;
    EXPECT_EQ(real, stars.size());
}

TEST_F(StarTest, ProperNameTable) {
    const auto names = ProperNames();
    ASSERT_EQ(names.size(), size_t(kProperNameCount));
    for (int k = 1; k <= kProperNameCount; ++k) {
        const int hr = names[k - 1].second;
        EXPECT_EQ(ProperNameStarHr(k), hr) << k;
        EXPECT_TRUE(HasProperName(hr)) << hr;
        // The name's star decodes to it, unless two names share a star
        // (Izar: HR 5505 and 5506 are one Hipparcos star) and the other wins.
        const StarInfo s = ReadStar(HrToStarIndex(hr));
        EXPECT_NE(s.properName, 0) << names[k - 1].first;
    }
    EXPECT_EQ(ProperNameStarHr(292), 0);
    EXPECT_FALSE(HasProperName(1));
}

TEST_F(StarTest, BayerAndFlamsteedLists) {
    // Each star listed once; HR numbers above 8192 need the bit map.
    std::set<int> bayer, flamsteed;
    for (int i = 0; i < kBayerListCount; ++i) {
        EXPECT_NE(BayerFlamsteedOf(BayerListHr(i)).letter, 0) << BayerListHr(i);
        EXPECT_TRUE(bayer.insert(BayerListHr(i)).second) << "listed twice: " << BayerListHr(i);
    }
    EXPECT_GT(*bayer.rbegin(), 8192);
    for (int i = 0; i < kFlamsteedListCount; ++i) {
        EXPECT_NE(BayerFlamsteedOf(FlamsteedListHr(i)).flamsteed, 0) << FlamsteedListHr(i);
        EXPECT_TRUE(flamsteed.insert(FlamsteedListHr(i)).second);
    }
    EXPECT_EQ(BayerListHr(kBayerListCount), 0);
    // 61 Cyg (HR 8085) and alpha1 Cen (HR 5459).
    const BayerFlamsteed cyg = BayerFlamsteedOf(8085), cen = BayerFlamsteedOf(5459);
    EXPECT_EQ(std::make_tuple(cyg.flamsteed, cyg.constellation), std::make_tuple(61, 30));
    EXPECT_EQ(std::make_tuple(cen.letter, cen.digit, cen.constellation), std::make_tuple(1, 1, 14));
    EXPECT_EQ(BayerFlamsteedOf(9110).letter, 0);
}

TEST_F(StarTest, HipStarsOfStarsDat) {
    StarPDBFileReader file(startest::StarsDat());
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.HipStars(), 1877u * 63);
    EXPECT_EQ(file.TycStars(), 0u);
    // Sirius in the HIP section: Hipparcos V, parallax and spectral type.
    StarInfo s;
    for (uint32_t i = 0; i < file.HipStars() && s.hip != 32349; ++i) s = ReadStar(kHipStarBase + StarNumber(i));
    ASSERT_EQ(s.hip, 32349u);
    EXPECT_EQ(s.tyc, (TycNumber{5949, 2777, 1}));
    EXPECT_EQ(s.magnitude, -144);
    EXPECT_EQ(s.parallax, 379u);
    EXPECT_EQ(s.spectral, u"A1V+DA");
    EXPECT_EQ(s.hr, 0);  // HR numbers belong to the bright stars only
    EXPECT_EQ(ReadStar(kHipStarBase + static_cast<StarNumber>(file.HipStars())).hip, 0u);
    EXPECT_EQ(ReadStar(kTycStarBase).hip, 0u);
    EXPECT_EQ(ReadStar(-1).hip, 0u);
    EXPECT_EQ(ReadStarPosition(-5).X(), 0);
    // Without the file only the bright stars remain.
    SetStarFilePath(u"/nonexistent/stars.dat");
    EXPECT_EQ(ReadStar(kHipStarBase + 5).hip, 0u);
    EXPECT_EQ(ReadStarPosition(kHipStarBase + 5).Z(), 0);
    EXPECT_EQ(ReadStar(HrToStarIndex(2491)).hip, 32349u);
}
