#include "data/starformat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <fstream>
#include <vector>


using namespace Data;

namespace {

int16_t Q15(double v) { return static_cast<int16_t>(std::lround(v * 32767)); }

struct Dir {
    int16_t x, y, z;
};
Dir Direction(double raDeg, double decDeg) {
    const double d = 3.14159265358979323846 / 180;
    return {Q15(std::cos(decDeg * d) * std::cos(raDeg * d)), Q15(std::cos(decDeg * d) * std::sin(raDeg * d)),
            Q15(std::sin(decDeg * d))};
}

}  // namespace

TEST(StarFormat, TychoRegionOfKnownStars) {
    // TYC1 of the Tycho-2 numbers of Sirius, Vega and Polaris, from their
    // Bright Star Catalogue positions.
    const Dir sirius = Direction((6 + 45 / 60.0 + 8.9 / 3600) * 15, -(16 + 42 / 60.0 + 58 / 3600.0));
    EXPECT_EQ(TycRegionOf(sirius.x, sirius.y, sirius.z), 5949);
    const Dir polaris = Direction((2 + 31 / 60.0 + 48.7 / 3600) * 15, 89 + 15 / 60.0 + 51 / 3600.0);
    EXPECT_EQ(TycRegionOf(polaris.x, polaris.y, polaris.z), 4628);
    // The first region starts at 0h on the equator, the last is at the south pole.
    EXPECT_EQ(TycRegionOf(32767, 1, 10), 1);
    EXPECT_GE(TycRegionOf(0, 0, -32767), 9490);
}

TEST(StarFormat, RightAscensionOrder) {
    // 0h, 3h, 6h, 9h, 12h, 15h, 18h, 21h: strictly increasing.
    const int dirs[8][2] = {{32767, 0},      {23170, 23170},   {0, 32767},      {-23170, 23170},
                            {-32767, 0},     {-23170, -23170}, {1, -32767},     {23170, -23170}};
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j) {
            const int c = CompareRa(dirs[i][0], dirs[i][1], dirs[j][0], dirs[j][1]);
            EXPECT_EQ(c, i < j ? -1 : (i > j ? 1 : 0)) << i << " " << j;
        }
    // The end of the circle (32767, -1) is after everything; the same
    // direction at another length compares equal.
    EXPECT_GT(CompareRa(32767, -1, 23170, -23170), 0);
    EXPECT_EQ(CompareRa(100, 200, 1000, 2000), 0);
}

TEST(StarFormat, PairCodedText) {
    // L = 3 literals "A", "0", "V"; pairs: 4 = (1, 2) "A0", 5 = (4, 3) "A0V".
    const uint8_t table[] = {3, 0, 2, 0, 'A', '0', 'V', 1, 2, 4, 3, 5, 0, 4, 2, 0, 3, 0};
    PairCodedText t(table, sizeof table);
    ASSERT_TRUE(t.Valid());
    EXPECT_EQ(t.HeaderSize(), 11u);
    EXPECT_EQ(t.TextAt(11), u"A0V");
    EXPECT_EQ(t.TextAt(13), u"A00");
    EXPECT_EQ(t.TextAt(100), u"");  // beyond the table
    // Characters are 8-bit and widened as they are.
    const uint8_t latin[] = {1, 0, 0, 0, 0xE9, 1, 1, 0};
    EXPECT_EQ(PairCodedText(latin, sizeof latin).TextAt(5), u"\u00e9\u00e9");
}

TEST(StarFormat, HostilePairTablesEndQuickly) {
    // A pair that expands to itself, a code beyond the table, L + P > 255,
    // a table shorter than its header says.
    const uint8_t self[] = {1, 0, 1, 0, 'x', 2, 2, 2, 0};
    EXPECT_LE(PairCodedText(self, sizeof self).TextAt(7).size(), kMaxSpectralText);
    // An expansion that doubles at each level writes at most the limit.
    std::vector<uint8_t> doubling = {1, 0, 200, 0, 'y'};
    for (int p = 0; p < 200; ++p) {
        doubling.push_back(static_cast<uint8_t>(p + 1));
        doubling.push_back(static_cast<uint8_t>(p + 1));
    }
    doubling.push_back(201);
    doubling.push_back(0);
    const std::u16string d = PairCodedText(doubling.data(), doubling.size()).TextAt(doubling.size() - 2);
    EXPECT_EQ(d.size(), kMaxSpectralText);
    const uint8_t beyond[] = {1, 0, 0, 0, 'z', 9, 1, 0};
    EXPECT_EQ(PairCodedText(beyond, sizeof beyond).TextAt(5), u"z");
    const uint8_t tooMany[] = {200, 0, 100, 0, 'a'};
    EXPECT_FALSE(PairCodedText(tooMany, sizeof tooMany).Valid());
    const uint8_t shortTable[] = {5, 0, 0, 0, 'a'};
    EXPECT_EQ(PairCodedText(shortTable, sizeof shortTable).TextAt(4), u"");
}

// A fuzz finding: a damaged spectral table whose codes expand into long runs
// that write nothing took up to 65536 expansion steps for every text, over
// 200 million for the table's offsets (seconds for a list of stars, minutes
// under the sanitizers). Counted in steps, not timed.
TEST(StarFormat, ADamagedSpectralTableDecodesQuickly) {
    std::ifstream in(CELVANE_SOURCE_DIR "/tests/data/fuzz/spectral_table_slow", std::ios::binary);
    const std::vector<uint8_t> table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(table.size(), 4832u);
    const PairCodedText text(table.data(), table.size());
    ASSERT_TRUE(text.Valid());
    long long total = 0;
    for (size_t offset = 0; offset < table.size(); ++offset) {
        int steps = 0;
        ASSERT_LE(text.TextAt(offset, &steps).size(), kMaxSpectralText);
        total += steps;
    }
    EXPECT_LT(total, 6000000);
}
