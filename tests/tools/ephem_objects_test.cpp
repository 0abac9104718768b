// celvane-ephem --object, --list and --star, run as a user would: the
// program finds the shipped object files beside itself.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

using namespace tooltest;

namespace {

// No data folder of the user's own gets in the way.
const std::string kNoUserData = "XDG_DATA_HOME=/nonexistent-celvane-data";
const std::string kMoment = "--utc 2026-06-09T22:00:00 --lat 48.2 --lon 16.4";

}  // namespace

TEST(CelvaneEphemObjects, UserObjectByKey) {
    const RunResult r = Ephem("--object 'Obj12,Messier' --json " + kMoment, kNoUserData);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"object\":{\"key\":\"Obj12,Messier\",\"kind\":5,", 0), 0u) << r.out;
    EXPECT_EQ(Text(r.out, "name"), "M 13");
    EXPECT_EQ(Text(r.out, "subtitle"), "Globular cluster: Hercules Cluster (NGC 6205)");
    EXPECT_NEAR(Number(r.out, "vmag"), 5.8, 1e-4);
    EXPECT_NEAR(Number(r.out, "distance_au") / 63241.08, 23157, 1);
    // J2000 16h41m41s +36 27.6'. Annual precession m + n sin(ra) tan(dec) =
    // 3.075 s - 0.930 s in right ascension and n cos(ra) = -6.7" in
    // declination: over 26.44 years +56.7 s and -178".
    EXPECT_NEAR(Number(r.out, "ra_h"), 16.6949 + 0.01575, 0.001);
    EXPECT_NEAR(Number(r.out, "dec_deg"), 36.4608 - 0.0494, 0.005);
    EXPECT_EQ(Text(r.out, "constellation"), "Her");
}

TEST(CelvaneEphemObjects, EveryKindOfKey) {
    RunResult r = Ephem("--object ConOri --json " + kMoment, kNoUserData);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(Text(r.out, "name"), "Hunter");
    EXPECT_NE(r.out.find("\"vmag\":null"), std::string::npos) << r.out;

    r = Ephem("--object 'AC1P,Comets' --json " + kMoment, kNoUserData);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(Number(r.out, "kind"), 6);
    EXPECT_EQ(Text(r.out, "name"), "1P/Halley");
    EXPECT_GT(Number(r.out, "r_au"), 30);  // near aphelion (35 AU in 2023)
}

TEST(CelvaneEphemObjects, KeysThatNameNothing) {
    for (const char* key : {"'Obj110,Messier'", "Obj12", "ConXyz", "Nothing", "'AC999X,Comets'"}) {
        const RunResult r = Ephem(std::string("--object ") + key + " --json " + kMoment, kNoUserData);
        EXPECT_EQ(r.status, 1) << key;
        EXPECT_EQ(r.out, "{\"object\":null}\n") << key;
    }
    const RunResult r = Ephem("--object 'Obj0,NoSuchFile' " + kMoment, kNoUserData);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Error reading file "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("No object Obj0,NoSuchFile"), std::string::npos) << r.out;
}

TEST(CelvaneEphemObjects, ListAFile) {
    RunResult r = Ephem("--list Messier --json " + kMoment, kNoUserData);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"file\":\"Messier\",\"objects\":[{\"index\":0,\"key\":\"Obj0,Messier\",\"name\":\"M 1\","
                          "\"info\":\"Supernova remnant: Crab Nebula, Taurus A (NGC 1952)\",\"vmag\":8.4",
                          0),
              0u)
        << r.out.substr(0, 300);
    EXPECT_EQ(Count(r.out, "\"index\":"), 110u);

    // A comet file, named in another letter case: the file's own name wins.
    r = Ephem("--list comets --json " + kMoment, kNoUserData);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"file\":\"Comets\",\"objects\":[{\"index\":0,\"key\":\"AC", 0), 0u) << r.out.substr(0, 200);
}

TEST(EphemStar, SiriusAsJson) {
    const RunResult r = Ephem("--star \"HR 2491\" --json --utc 2000-01-01T12:00:00 --lat 0 --lon 0");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"star\":{", 0), 0u) << r.out;
    EXPECT_EQ(Number(r.out, "hip"), 32349);
    EXPECT_DOUBLE_EQ(Number(r.out, "vmag"), -1.46);
    EXPECT_EQ(Number(r.out, "parallax_mas"), 379);
    EXPECT_EQ(Text(r.out, "spectral"), "A1Vm");
    // 06h45m08.9s -16d42m58s (BSC5, J2000), to the Q15 resolution.
    EXPECT_NEAR(Number(r.out, "ra_j2000_h"), 6 + 45 / 60.0 + 8.9 / 3600, 2e-5 * 24 / 6.283);
    EXPECT_NEAR(Number(r.out, "dec_j2000_deg"), -(16 + 42 / 60.0 + 58 / 3600.0), 0.002);
}

TEST(EphemStar, OtherCataloguesAndNotFound) {
    RunResult r = Ephem("--star \"TYC 3105-2070-1\" --json");
    EXPECT_EQ(Number(r.out, "hr"), 7001);
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
