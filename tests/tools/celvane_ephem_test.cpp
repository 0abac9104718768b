// Runs the celvane-ephem program as a user would and reads its output.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <regex>
#include <string>

namespace {

struct RunResult {
    int status;
    std::string out;
};

RunResult Ephem(const std::string& args) {
    std::string cmd = std::string(CELVANE_BINARY_DIR) + "/tools/celvane-ephem " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    RunResult r{-1, ""};
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

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
    std::smatch m;
    if (!std::regex_search(scope, m, std::regex("\"" + key + "\":(-?[0-9.eE+-]+)"))) return -1e30;
    return std::stod(m[1]);
}

}  // namespace

TEST(CelvaneEphem, JsonAtJ2000) {
    RunResult r = Ephem("--utc 2000-01-01T12:00:00 --lat 51.48 --lon 0.0 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"utc\":\"2000-01-01T12:00:00\""), std::string::npos) << r.out;
    EXPECT_EQ(Field(r.out, "mjd_day"), 51544);
    EXPECT_EQ(Field(r.out, "mjd_seconds"), 43200);
    EXPECT_DOUBLE_EQ(Field(r.out, "jd"), 2451545.0);
    EXPECT_NEAR(Field(r.out, "t"), 0.0, 1e-6);
    EXPECT_NEAR(Field(r.out, "gmst_h"), 18.6974, 2e-4);
    EXPECT_NEAR(Field(r.out, "lst_h"), 18.6974, 2e-4);
    EXPECT_NEAR(Field(r.out, "sun.lon_deg"), 280.38, 0.01);
    EXPECT_NEAR(Field(r.out, "sun.dist_au"), 0.98331, 1e-5);
    EXPECT_NEAR(Field(r.out, "moon.lon_deg"), 223.32, 0.01);
    EXPECT_NEAR(Field(r.out, "moon.lat_deg"), 5.17, 0.01);
    EXPECT_NEAR(Field(r.out, "moon.dist_km"), 402481, 2);
}

TEST(CelvaneEphem, EastLongitudeShiftsLocalSiderealTime) {
    RunResult r = Ephem("--utc 2000-01-01T12:00:00 --lat 52.5 --lon 13.4 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NEAR(Field(r.out, "lst_h") - Field(r.out, "gmst_h"), 0.893333, 2e-4);
}

TEST(CelvaneEphem, BadArgumentsGetOneLineAndStatus2) {
    for (const char* bad : {"--utc 2000-02-30T00:00:00", "--utc yesterday", "--lat 91", "--lon abc",
                            "--frobnicate", "--utc", "--utc 2000-01-01T25:00:00"}) {
        RunResult r = Ephem(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        EXPECT_EQ(r.out.rfind("celvane-ephem: ", 0), 0u) << r.out;
    }
}

TEST(CelvaneEphem, DefaultsToNow) {
    RunResult r = Ephem("--json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_GT(Field(r.out, "jd"), 2461000.0);  // later than 2025
}
