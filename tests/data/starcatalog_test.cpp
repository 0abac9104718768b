#include "data/starcatalog.h"

#include <gtest/gtest.h>

#include <fstream>
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
    // An unnamed pair keeps its first HR: HR 1505/1506 share HIP 21986.
    const StarNumber pair = HrToStarIndex(1505);
    ASSERT_GE(pair, 0);
    EXPECT_EQ(HrToStarIndex(1506), pair);
    EXPECT_EQ(StarIndexToHr(pair), 1505);
    for (int hr : {0, -3, 9111}) EXPECT_EQ(HrToStarIndex(hr), -1) << hr;
    EXPECT_EQ(StarIndexToHr(9999), 0);
}
TEST_F(StarTest, BayerAndFlamsteedDesignations) {
    // 61 Cyg (HR 8085), alpha1 Cen (HR 5459) and 24 alpha PsA (HR 8728:
    // HR numbers above 8192 need the bit map); HR 9110 has neither.
    const BayerFlamsteed cyg = BayerFlamsteedOf(8085), cen = BayerFlamsteedOf(5459), psa = BayerFlamsteedOf(8728);
    EXPECT_EQ(std::make_tuple(cyg.flamsteed, cyg.constellation), std::make_tuple(61, 30));
    EXPECT_EQ(std::make_tuple(cen.letter, cen.digit, cen.constellation), std::make_tuple(1, 1, 14));
    EXPECT_EQ(std::make_tuple(psa.letter, psa.flamsteed), std::make_tuple(1, 24));
    EXPECT_EQ(BayerFlamsteedOf(9110).letter, 0);
}

TEST_F(StarTest, HipStarsOfStarsDat) {
    StarPDBFileReader file(startest::StarsDat());
    ASSERT_TRUE(file.IsOpen());
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
    EXPECT_EQ(ReadStar(-1).hip, 0u);
}
