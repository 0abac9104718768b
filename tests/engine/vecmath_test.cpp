#include "engine/vecmath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/astrotime.h"

using namespace Calc;

TEST(MathLibrary, SinCosAcrossOctantsAndSigns) {
    double worst = 0;
    for (int i = -200000; i <= 200000; i += 97) {
        float x = i * 0.00037f;  // -74 .. 74 rad, every octant many times
        float s, c;
        SinCos(x, &s, &c);
        worst = std::max(worst, std::abs(s - std::sin(static_cast<double>(x))));
        worst = std::max(worst, std::abs(c - std::cos(static_cast<double>(x))));
    }
    EXPECT_LT(worst, 3e-7);
    float s, c;
    SinCos(2e8f, &s, &c);
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(c, 1.0f);
}

TEST(MathLibrary, ArcTangentsAndInverses) {
    // On the axes exactly.
    EXPECT_EQ(Atan2(0, 0), 0.0f);
    EXPECT_TRUE(Atan2(1, 0) == kHalfPi && Atan2(-1, 0) == -kHalfPi && Atan2(0, -1) == kPi);
    double worst = 0;
    for (int i = 0; i < 720; ++i) {
        for (float r : {1e-3f, 0.7f, 1.0f, 3e4f}) {
            float y = r * std::sin(i * 0.5 * M_PI / 180), x = r * std::cos(i * 0.5 * M_PI / 180);
            worst = std::max(worst, std::abs(Atan2(y, x) - std::atan2(static_cast<double>(y), static_cast<double>(x))));
        }
    }
    EXPECT_LT(worst, 5e-7);
    worst = 0;
    for (int i = -1000; i <= 1000; ++i) {
        float x = i / 1000.0f;
        worst = std::max(worst, std::abs(Asin(x) - std::asin(static_cast<double>(x))));
        worst = std::max(worst, std::abs(Acos(x) - std::acos(static_cast<double>(x))));
        worst = std::max(worst, std::abs(Atan(x * 50) - std::atan(x * 50.0)));
    }
    EXPECT_LT(worst, 1e-6);
    // A NaN reaching the arc tangents comes back as NaN (no endless recursion).
    const float nan = std::nanf("");
    EXPECT_TRUE(std::isnan(Atan(nan)) && std::isnan(Atan2(nan, 1.0f)) && std::isnan(Atan2(1.0f, nan)));
    EXPECT_FLOAT_EQ(Atan(std::numeric_limits<float>::infinity()), kHalfPi);
}

TEST(MathLibrary, LogarithmsAndExponentials) {
    for (float x : {0.0f, -0.0f, -3.0f}) EXPECT_TRUE(Log2(x) == kMissing && Log10(x) == kMissing && Ln(x) == kMissing);
    EXPECT_EQ(Log2(1.0f), 0.0f);
    for (float x = 1e-30f; x < 1e30f; x *= 1.37f) {
        ASSERT_NEAR(Log2(x), std::log2(static_cast<double>(x)), 2e-6 * std::max(1.0, std::abs(std::log2(static_cast<double>(x))))) << x;
    }
    EXPECT_NEAR(Log2(1e-40f), std::log2(1e-40), 1e-4);  // subnormal input
    EXPECT_NEAR(Log10(2.0f), 0.30103f, 1e-6f);
    EXPECT_NEAR(Ln(10.0f), 2.3025851f, 2e-6f);
    for (float x = -20; x <= 20; x += 0.0137f) {
        double e = std::expm1(static_cast<double>(x));
        // Within +-0.35 no scaling by 2^n happens: near full precision there.
        ASSERT_NEAR(ExpM1(x), e, (std::abs(x) < 0.35f ? 2e-7 : 1e-6) * std::abs(e) + 1e-12) << x;
        // Below -1 the argument is scaled by log2(e) in single precision: a few ulp.
        ASSERT_NEAR(Exp(x), std::exp(static_cast<double>(x)), 1e-6 * std::exp(static_cast<double>(x))) << x;
        float sh, ch;
        SinhCosh(x, &sh, &ch);
        ASSERT_NEAR(sh, std::sinh(static_cast<double>(x)), 1e-6 * std::cosh(static_cast<double>(x))) << x;
        ASSERT_NEAR(ch, std::cosh(static_cast<double>(x)), 1e-6 * std::cosh(static_cast<double>(x))) << x;
    }
    EXPECT_NEAR(ExpM1(1e-6f), 1e-6f, 1e-12f);  // no cancellation near zero
    EXPECT_TRUE(std::isinf(ExpM1(100.0f)));
    EXPECT_EQ(ExpM1(-100.0f), -1.0f);
}

TEST(MathLibrary, ReductionNeverNegative) {
    EXPECT_FLOAT_EQ(Reduce(-30.0f, 24.0f), 18.0f);
    for (float x = -1000; x < 1000; x += 0.731f) {
        float r = Reduce(x, kTwoPi);
        ASSERT_GE(r, 0.0f);
        ASSERT_LE(r, kTwoPi);
    }
}

TEST(Frames, SphericalConversionsAndAngles) {
    Vec3 z = CartToSph(Vec3{0, 0, 0});
    EXPECT_TRUE(z.x == 0.0f && z.y == 0.0f && z.z == 0.0f);
    Vec3 a = SphToCart(Vec3{0.3f, 0.2f, 1});
    Vec3 b = SphToCart(Vec3{0.3f + 1e-4f, 0.2f, 1});
    EXPECT_NEAR(AngleBetween(a, b), 1e-4 * std::cos(0.2), 1.5e-7);  // chord branch, float vectors
    Vec3 c = SphToCart(Vec3{2.0f, -0.4f, 1});
    double exact = std::acos(std::sin(0.2) * std::sin(-0.4) + std::cos(0.2) * std::cos(-0.4) * std::cos(1.7));
    EXPECT_NEAR(AngleBetween(a, c * 3.0f), exact, 1e-6);
    EXPECT_EQ(Unit(Vec3{0, 0, 0}).x, 0.0f);
}

TEST(Frames, ObliquityAndPrecession) {
    // The March equinox direction has ecliptic latitude 0; the celestial pole
    // lies 23.44 degrees from the ecliptic pole.
    Vec3 pole = MulMat(Obliquity(0), Vec3{0, 0, 1});
    EXPECT_NEAR(std::acos(pole.z) * 180 / M_PI, 23.439291, 1e-4);

    // Meeus ex. 21.b (proper motion already applied): theta Persei from
    // J2000.0 to 2028-11-13.19, T = 0.288670500.
    Vec3 from = SphToCart(Vec3{41.054063f * kDegToRad, 49.227750f * kDegToRad, 1});
    Vec3 to = CartToSph(MulMatT(Precession(0, 0.2886705f), from));
    EXPECT_NEAR(to.x * kRadToDeg, 41.547214, 3e-4);
    EXPECT_NEAR(to.y * kRadToDeg, 49.348483, 3e-4);
    // The J2000 equinox seen in the ecliptic of 2100: general precession of
    // 5029.1" in longitude.
    Vec3 ecl = CartToSph(MulMat(Obliquity(1), MulMatT(Precession(0, 1), Vec3{1, 0, 0})));
    EXPECT_NEAR(ecl.x * kRadToDeg, 5029.0966 / 3600, 6e-4);
}

// The directions of the horizon frame are checked through the ephemeris
// (HorizonTransforms); here the observer's offset.
TEST(Frames, TopocentricOffset) {
    const Mat3 h = Horizon(5.5f, 51.48f * kDegToRad);
    Vec3 off = TopocentricOffset(h);
    EXPECT_NEAR(Length(off), 6378.14 / 149597870.7, 1e-10);
    Vec3 offH = MulMatT(h, off);
    EXPECT_NEAR(offH.z, -Length(off), 1e-11f);  // straight down
}
