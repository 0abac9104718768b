// celvane-ephem's event, season, phase, physical and magnetic sections, run
// as a user would run them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "tool_run.h"

using namespace tooltest;

namespace {

// Seconds of the day of "YYYY-MM-DDTHH:MM:SS".
int ClockSeconds(const std::string& iso) {
    int h = 0, m = 0, s = 0;
    if (iso.size() < 19 || std::sscanf(iso.c_str() + 11, "%d:%d:%d", &h, &m, &s) != 3) return -1;
    return (h * 60 + m) * 60 + s;
}

}  // namespace

TEST(CelvaneEphemSections, EventsOfAMidsummerDayInLondon) {
    const RunResult r = Ephem("--utc 2026-06-21T10:00:00 --lat 51.48 --lon 0 --zone 0 --summer 1 --events --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"local_date\":\"2026-06-21\",\"events\":[", 0), 0u) << r.out;
    const std::vector<std::string> rows = Items(r.out, "events");
    ASSERT_EQ(rows.size(), 15u) << r.out;
    EXPECT_EQ(Text(rows[0], "name"), "sunrise");
    EXPECT_EQ(Text(rows[14], "name"), "astronomical_end");
    // Sunrise about 03:43 UT at azimuth 49, summer time an hour later.
    EXPECT_TRUE(Has(rows[0], "\"found\":true"));
    EXPECT_NEAR(ClockSeconds(Text(rows[0], "utc")), 3 * 3600 + 43 * 60, 90);
    EXPECT_EQ(ClockSeconds(Text(rows[0], "local")) - ClockSeconds(Text(rows[0], "utc")), 3600);
    EXPECT_NEAR(Number(rows[0], "az_deg"), 49.0, 0.5);
    // No astronomical night in London at midsummer.
    for (int i : {13, 14}) EXPECT_TRUE(Has(rows[i], "\"found\":false,\"utc\":null")) << rows[i];
    // About 16 h 38 min of day.
    EXPECT_NEAR(Number(r.out, "day_length_s"), 16 * 3600 + 38 * 60, 180);
}

TEST(CelvaneEphemSections, PolarDayShowsNoSunsetInText) {
    // The twilight view's table: no sunrise or sunset, the transit shown;
    // no day or night length.
    const RunResult r = Ephem("--utc 2025-06-21T12:00:00 --lat 78.2 --lon 15.6 --events --lang en");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\nSun +- +[0-9]+:[0-9]+[^-\n]* +-\n"))) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\nDay/Night Length +- +-\n"))) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\nSunset +-\n"))) << r.out;
    // Vienna, summer time: the moonset of 22:41 UT falls on the next local
    // date, marked ">".
    const RunResult vienna =
        Ephem("--utc 2026-06-21T12:00:00 --lat 48.2 --lon 16.4 --zone 60 --summer 1 --events --lang en");
    EXPECT_TRUE(std::regex_search(vienna.out, std::regex("\nMoon [^\n]* >\n"))) << vienna.out;
}

TEST(CelvaneEphemSections, SeasonsOf2000) {
    const RunResult r = Ephem("--seasons 2000 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<std::string> q = Items(r.out, "seasons");
    ASSERT_EQ(q.size(), 4u) << r.out;
    // 2000-03-20 07:35 and 12-21 13:37 UT.
    EXPECT_EQ(Text(q[0], "utc").substr(0, 10), "2000-03-20");
    EXPECT_NEAR(ClockSeconds(Text(q[0], "utc")), 7 * 3600 + 35 * 60, 150);
    EXPECT_EQ(Text(q[3], "utc").substr(0, 10), "2000-12-21");
}

TEST(CelvaneEphemSections, NextPhasesFromTheMoment) {
    const RunResult r = Ephem("--utc 2000-01-01T00:00:00 --phases 3 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<std::string> p = Items(r.out, "phases");
    ASSERT_EQ(p.size(), 3u) << r.out;
    // New Moon 2000-01-06 18:14 UT, full Moon on the 21st.
    EXPECT_EQ(Number(p[0], "phase"), 0);
    EXPECT_EQ(Text(p[0], "utc").substr(0, 10), "2000-01-06");
    EXPECT_NEAR(ClockSeconds(Text(p[0], "utc")), 18 * 3600 + 14 * 60, 120);
    EXPECT_EQ(Text(p[2], "utc").substr(0, 10), "2000-01-21");
    // A moment just after a phase starts with the next one.
    const RunResult after = Ephem("--utc 2000-01-06T19:00:00 --phases 1 --json");
    EXPECT_EQ(Number(Items(after.out, "phases").at(0), "k"), 1);
}

TEST(CelvaneEphemSections, MagneticFieldAndItsYears) {
    const RunResult r = Ephem("--utc 2026-06-21T12:00:00 --lat 51.48 --lon 0 --magnetic --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(Has(r.out, "\"magnetic\":{\"valid\":true,\"model\":\"WMM2025\"")) << r.out;
    // Greenwich in 2026: about 1 degree east, inclination 66.5, 49100 nT.
    EXPECT_NEAR(Number(r.out, "declination_deg"), 1.2, 0.5);
    EXPECT_NEAR(Number(r.out, "intensity_nt"), 49100, 400);
    const RunResult late = Ephem("--utc 2031-01-01T00:00:00 --magnetic --json");
    ASSERT_EQ(late.status, 0);
    EXPECT_TRUE(Has(late.out, "\"valid\":false,\"model\":null,\"declination_deg\":null")) << late.out;
}

TEST(CelvaneEphemSections, PhysicalData) {
    const RunResult r = Ephem("--utc 1992-12-16T00:00:59 --physical --json");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<std::string> moons = Items(r.out, "moons");
    ASSERT_EQ(moons.size(), 4u) << r.out;
    // Meeus's examples for this moment: Io at X = -3.44, Saturn's rings
    // 35.87" across.
    EXPECT_EQ(Text(moons[0], "letter"), "I");
    EXPECT_NEAR(Number(moons[0], "x"), -3.44, 0.03);
    EXPECT_NEAR(Number(r.out, "ring_major_arcsec"), 35.87, 0.05);
}

TEST(CelvaneEphemSections, SectionsCombineIntoOneObject) {
    const RunResult r = Ephem("--utc 2024-01-01T00:00:00 --json --magnetic --seasons 2024 --events");
    ASSERT_EQ(r.status, 0) << r.out;
    // In a fixed order whatever the order of the options.
    const size_t events = r.out.find("\"events\":"), seasons = r.out.find("\"seasons\":"),
                 magnetic = r.out.find("\"magnetic\":");
    ASSERT_NE(events, std::string::npos);
    EXPECT_LT(events, seasons);
    EXPECT_LT(seasons, magnetic);
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "}\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '{'), std::count(r.out.begin(), r.out.end(), '}'));
    EXPECT_FALSE(Has(r.out, "\"bodies\"")) << "the plain body data stays out";
}
