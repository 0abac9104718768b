#include "engine/sunmoon.h"

#include <gtest/gtest.h>

using namespace Calc;

namespace {
float Deg(float rad) {
    float d = rad * kRadToDeg;
    return d < 0 ? d + 360.0f : d;
}
}  // namespace

TEST(SunMoon, SunAgainstReferenceMoments) {
    ResetSunMoonMemos();
    Vec3 s = SunPosition(kJ2000);
    EXPECT_NEAR(Deg(s.x), 280.38f, 0.01f);
    EXPECT_EQ(s.y, 0.0f);
    EXPECT_NEAR(s.z, 0.98331f, 1e-5f);
    // Meeus ex. 25.a, 1992-10-13 0h: 199.90988 deg, R = 0.99766 AU.
    s = SunPosition(AstroTime{48908, 0});
    EXPECT_NEAR(Deg(s.x), 199.909f, 0.005f);
    EXPECT_NEAR(s.z, 0.99766f, 2e-5f);
}

TEST(SunMoon, MoonAgainstReferenceMoments) {
    ResetSunMoonMemos();
    Vec3 m = MoonPosition(kJ2000);
    EXPECT_NEAR(Deg(m.x), 223.32f, 0.01f);
    EXPECT_NEAR(m.y * kRadToDeg, 5.17f, 0.01f);
    EXPECT_NEAR(m.z, 402481.0f, 2.0f);
    // Meeus ex. 47.a, 1992-04-12 0h: 133.162655, -3.229126 deg, 368409.7 km
    // (the truncated series gives 368414 km).
    m = MoonPosition(AstroTime{48724, 0});
    EXPECT_NEAR(Deg(m.x), 133.16f, 0.01f);
    EXPECT_NEAR(m.y * kRadToDeg, -3.23f, 0.01f);
    EXPECT_NEAR(m.z, 368414.0f, 2.0f);
}
