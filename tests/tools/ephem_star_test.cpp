// celvane-ephem --star, run as a user would.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

using namespace tooltest;

TEST(EphemStar, SiriusAsJson) {
    const RunResult r = Ephem("--star \"HR 2491\" --json --utc 2000-01-01T12:00:00 --lat 0 --lon 0");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"star\":{", 0), 0u) << r.out;
    EXPECT_EQ(Number(r.out, "hr"), 2491);
    EXPECT_EQ(Number(r.out, "hip"), 32349);
    EXPECT_EQ(Text(r.out, "tyc"), "5949-2777-1");
    EXPECT_DOUBLE_EQ(Number(r.out, "vmag"), -1.46);
    EXPECT_EQ(Number(r.out, "parallax_mas"), 379);
    EXPECT_EQ(Text(r.out, "spectral"), "A1Vm");
    // 06h45m08.9s -16d42m58s (BSC5, J2000), to the Q15 resolution.
    EXPECT_NEAR(Number(r.out, "ra_j2000_h"), 6 + 45 / 60.0 + 8.9 / 3600, 2e-5 * 24 / 6.283);
    EXPECT_NEAR(Number(r.out, "dec_j2000_deg"), -(16 + 42 / 60.0 + 58 / 3600.0), 0.002);
    EXPECT_EQ(Text(r.out, "constellation"), "CMa");
}

TEST(EphemStar, OtherCataloguesAndNotFound) {
    RunResult r = Ephem("--star \"TYC 3105-2070-1\" --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(Number(r.out, "hr"), 7001);
    EXPECT_EQ(Number(r.out, "hip"), 91262);
    // A Hipparcos star of stars.dat: no HR number.
    r = Ephem("--star \"HIP 120416\" --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(Number(r.out, "hr"), 0);
    EXPECT_EQ(Number(r.out, "hip"), 120416);
    r = Ephem("--star \"HR 92\" --json");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "{\"star\":null}\n");
    r = Ephem("--star hr424");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("HR 424, HIP 11767, TYC 4628-237-1"), std::string::npos) << r.out;
}
