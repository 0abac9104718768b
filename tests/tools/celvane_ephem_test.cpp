// Runs the celvane-ephem program as a user would and reads its output.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tool_run.h"

using namespace tooltest;

namespace {

double Field(const std::string& json, const std::string& path) {
    // path like "sun.lon_deg" or "jd"
    std::string key = path;
    std::string scope = json;
    size_t dot = path.find('.');
    if (dot != std::string::npos) {
        size_t at = json.find("\"" + path.substr(0, dot) + "\":{");
        if (at == std::string::npos) return -1e30;
        scope = json.substr(at, json.find('}', at) - at);
        key = path.substr(dot + 1);
    }
    return Number(scope, key);
}

}  // namespace

TEST(CelvaneEphem, JsonAtJ2000) {
    RunResult r = Ephem("--utc 2000-01-01T12:00:00 --lat 51.48 --lon 0.0 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"utc\":\"2000-01-01T12:00:00\""), std::string::npos) << r.out;
    EXPECT_EQ(Field(r.out, "mjd_day"), 51544);
    EXPECT_DOUBLE_EQ(Field(r.out, "jd"), 2451545.0);
    EXPECT_NEAR(Field(r.out, "gmst_h"), 18.6974, 2e-4);
    EXPECT_NEAR(Field(r.out, "sun.lon_deg"), 280.38, 0.01);
    EXPECT_NEAR(Field(r.out, "moon.lon_deg"), 223.32, 0.01);
    EXPECT_NEAR(Field(r.out, "moon.dist_km"), 402481, 2);
    EXPECT_GT(Field(Ephem("--json").out, "jd"), 2461000.0);  // without --utc: now, later than 2025
}

TEST(CelvaneEphem, BadArgumentsGetOneLineAndStatus2) {
    for (const char* bad : {"--utc 2000-02-30T00:00:00", "--lat 91", "--frobnicate", "--utc",
                            "--utc 2000-01-01T12:00junk", "--utc 2000-01-01T12:00:00.5", "--utc '2000-01-01T12:00:00 Z'",
                            "--seasons 2000.5", "--phases 1001", "--zone 1.5", "--constellation 25 0",
                            "--constellation 1", "--lang fr", "--place Zurich --lon 3"}) {
        RunResult r = Ephem(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        EXPECT_EQ(r.out.rfind("celvane-ephem: ", 0), 0u) << r.out;
    }
}

namespace {

// The object of body `index` in the "bodies" array.
std::string Body(const std::string& json, int index) {
    const size_t at = json.find("{\"index\":" + std::to_string(index) + ",");
    if (at == std::string::npos) return "";
    return json.substr(at, json.find('}', at) - at + 1);
}

}  // namespace

TEST(CelvaneEphem, BodiesAtJ2000) {
    RunResult r = Ephem("--utc 2000-01-01T12:00:00 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(Text(Body(r.out, 9), "name"), "Pluto");
    EXPECT_EQ(Body(r.out, 10), "");
    const std::string sun = Body(r.out, 0);
    EXPECT_EQ(Text(sun, "constellation"), "Sgr");
    EXPECT_NEAR(Field(sun, "delta_au"), 0.98331, 1e-4);
    EXPECT_NEAR(Field(Body(r.out, 4), "r_au"), 1.39137, 0.002);  // Mars' heliocentric distance
    EXPECT_EQ(Text(Body(r.out, 5), "constellation"), "Psc");    // Jupiter, early 2000
}

TEST(CelvaneEphem, ConstellationOfADirection) {
    const struct {
        const char* args;
        const char* abbr;
    } cases[] = {{"0 -90", "Oct"}, {"6.75 -16.7", "CMa"}, {"24 0", "Psc"}};
    for (const auto& c : cases) {
        RunResult r = Ephem(std::string("--constellation ") + c.args);
        EXPECT_EQ(r.status, 0) << c.args;
        EXPECT_EQ(r.out, std::string(c.abbr) + "\n") << c.args;
    }
    RunResult j = Ephem("--constellation 12.5 60 --json");
    EXPECT_EQ(Text(j.out, "constellation"), "UMa") << j.out;
}
