#include "engine/fixedangle.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Calc;

TEST(FixedAngle, IsqrtIsTheFloorSquareRoot) {
    // Both sides of every perfect square of the 16-bit range, and the top.
    EXPECT_EQ(Isqrt(0), 0);
    EXPECT_EQ(Isqrt(4294967295u), 65535);
    for (uint32_t k = 1; k < 65536; ++k) {
        ASSERT_EQ(Isqrt(k * k), k);
        ASSERT_EQ(Isqrt(k * k - 1), k - 1);
    }
}

TEST(FixedAngle, ArcTangentTableAndKnownValues) {
    // AtanRatio(k, 32) lands exactly on table entry k: round(atan(k/32) 32768/pi) + 1.
    for (uint32_t k = 0; k < 32; ++k)
        ASSERT_EQ(AtanRatio(k, 32), std::lround(std::atan(k / 32.0) * 32768 / M_PI) + 1) << k;
    // The last entry, 8192, only shows through interpolation: 63/64 is
    // halfway between entries 31 and 32, (8026 + 8192) / 2 + 1.
    EXPECT_EQ(AtanRatio(63, 64), 8110);
    EXPECT_EQ(AtanRatio(0, 0), 0);
    // Beyond the 16-bit domain: no division by zero, and still the right angle.
    EXPECT_EQ(AtanRatio(1000, 65536), AtanRatio(500, 32768));
    EXPECT_EQ(AtanRatio(65536, 65537), 8192);
    EXPECT_EQ(AtanRatio(0xFFFFFFFFu, 0xFFFFFFFFu), 8192);
    EXPECT_NEAR(AtanRatio(70000, 200000), std::atan(0.35) * 32768 / M_PI, 3);
    EXPECT_EQ(Atan2i(0, 100), 1);
    EXPECT_EQ(Atan2i(100, 100), 8192);
    EXPECT_EQ(Atan2i(100, 0), 16383);
    EXPECT_EQ(Atan2i(0, -100), 32767);
    EXPECT_EQ(Atan2i(-100, 0), 49153);
    EXPECT_EQ(Atan2i(-32768, -32768), 8192 + 32768);
}

TEST(FixedAngle, Atan2iFollowsTheTrueAngleOverTheDomain) {
    int worst = 0;
    for (int y = -32768; y < 32768; y += 397) {
        for (int x = -32768; x < 32768; x += 389) {
            if (x == 0 && y == 0) continue;
            double a = std::atan2(static_cast<double>(y), static_cast<double>(x)) * 32768 / M_PI;
            if (a < 0) a += 65536;
            int got = Atan2i(static_cast<int16_t>(y), static_cast<int16_t>(x));
            int diff = std::abs(got - static_cast<int>(std::lround(a)));
            if (diff > 32768) diff = 65536 - diff;
            worst = std::max(worst, diff);
        }
    }
    EXPECT_LE(worst, 3);
}

TEST(FixedAngle, SineTableAndQuadrants) {
    EXPECT_EQ(Sin16(49152), -32766);
    int worst = 0;
    for (uint32_t a = 0; a < 65536; ++a) {
        double exact = 32767 * std::sin(a * 2 * M_PI / 65536);
        worst = std::max(worst, static_cast<int>(std::lround(std::abs(Sin16(static_cast<uint16_t>(a)) - exact))));
        ASSERT_EQ(Cos16(static_cast<uint16_t>(a)), Sin16(static_cast<uint16_t>((a + 16384) & 0xFFFF)));
        if (a >= 1 && a <= 16384) {
            // Mirror symmetry within the first half turn is exact...
            ASSERT_EQ(Sin16(static_cast<uint16_t>(a)), Sin16(static_cast<uint16_t>(32768 - a))) << a;
        }
        if (a < 32768) {
            // ...and the second half turn is 1 - v.
            ASSERT_EQ(Sin16(static_cast<uint16_t>(a + 32768)), 1 - Sin16(static_cast<uint16_t>(a))) << a;
        }
    }
    EXPECT_LE(worst, 2);
}

// The star catalogue's positions were encoded with exactly these entries
// (up to 1.8 units off the true sine), so the check is bit for bit: a
// mistyped entry would still pass a tolerance against the true sine.
TEST(FixedAngle, SineTableIsBitExact) {
    const int16_t kTable[129] = {
        0,     402,   804,   1206,  1608,  2009,  2411,  2811,  3212,  3612,  4011,  4410,  4808,  5206,  5602,
        5998,  6393,  6787,  7180,  7571,  7962,  8352,  8740,  9127,  9512,  9896,  10279, 10660, 11039, 11417,
        11793, 12167, 12540, 12910, 13279, 13646, 14010, 14373, 14733, 15091, 15447, 15800, 16151, 16500, 16846,
        17190, 17531, 17869, 18205, 18538, 18868, 19196, 19520, 19842, 20160, 20476, 20788, 21097, 21403, 21706,
        22006, 22302, 22595, 22885, 23171, 23453, 23732, 24008, 24280, 24548, 24812, 25073, 25330, 25583, 25833,
        26078, 26320, 26557, 26791, 27020, 27246, 27467, 27684, 27897, 28106, 28311, 28511, 28707, 28899, 29086,
        29269, 29448, 29622, 29792, 29957, 30118, 30274, 30426, 30573, 30715, 30853, 30986, 31114, 31238, 31357,
        31472, 31581, 31686, 31786, 31882, 31972, 32058, 32139, 32215, 32286, 32352, 32414, 32470, 32522, 32569,
        32611, 32647, 32680, 32707, 32729, 32746, 32758, 32766, 32767};
    // Angle k x 128 reads entry k with no interpolation.
    for (int k = 0; k <= 128; ++k) ASSERT_EQ(Sin16(static_cast<uint16_t>(k * 128)), kTable[k]) << k;
}

TEST(FixedAngle, Rotate16) {
    int32_t u = 32767, v = 0;
    Rotate16(u, v, 16384);  // a quarter turn
    EXPECT_EQ(u, 0);
    EXPECT_EQ(v, 32766);
    u = -32767;
    v = -32767;
    Rotate16(u, v, 8192);  // largest products stay in 32 bits
    EXPECT_NEAR(u, 0, 2);
    EXPECT_NEAR(v, -46339, 2);
}
