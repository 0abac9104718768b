#include "engine/astrotime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "data/native/test_platform.h"

using namespace Calc;

namespace {

// A zone of `bias` minutes west with an hour of summer time between two
// rules (month, week of the month 1..5 (5 = the last), on Sundays, hour).
PL::TimeZoneInfo Zone(int bias, PL::SystemTime daylight, PL::SystemTime standard) {
    PL::TimeZoneInfo tz;
    tz.bias = bias;
    tz.daylightBias = -60;
    tz.daylightDate = daylight;
    tz.standardDate = standard;
    return tz;
}
// Central Europe: UT+1, summer time from the last Sunday of March 02:00 to
// the last Sunday of October 03:00 local.
PL::TimeZoneInfo CentralEurope() { return Zone(-60, {0, 3, 0, 5, 2, 0, 0, 0}, {0, 10, 0, 5, 3, 0, 0, 0}); }

// Meeus, Astronomical Algorithms, table 7.a and examples 7.a-7.c.
struct JdCase {
    int y, m, d, h, mi, s;
    double jd;
};
const JdCase kMeeus[] = {
    {2000, 1, 1, 12, 0, 0, 2451545.0},   {1999, 1, 1, 0, 0, 0, 2451179.5},   {1987, 1, 27, 0, 0, 0, 2446822.5},
    {1987, 6, 19, 12, 0, 0, 2446966.0},  {1988, 1, 27, 0, 0, 0, 2447187.5},  {1988, 6, 19, 12, 0, 0, 2447332.0},
    {1900, 1, 1, 0, 0, 0, 2415020.5},    {1600, 1, 1, 0, 0, 0, 2305447.5},   {1600, 12, 31, 0, 0, 0, 2305812.5},
    {837, 4, 10, 7, 12, 0, 2026871.8},   {-123, 12, 31, 0, 0, 0, 1676496.5}, {-122, 1, 1, 0, 0, 0, 1676497.5},
    {-1000, 7, 12, 12, 0, 0, 1356001.0}, {-1000, 2, 29, 0, 0, 0, 1355866.5}, {-1001, 8, 17, 21, 36, 0, 1355671.4},
    {-4712, 1, 1, 12, 0, 0, 0.0},        {1957, 10, 4, 19, 26, 24, 2436116.31}, {333, 1, 27, 12, 0, 0, 1842713.0},
};


AstroTime At(int y, int m, int d, int h, int mi, int s = 0) { return Normalize(FromCalendar(y, m, d, h, mi, s)); }

}  // namespace

TEST(AstroTime, CalendarAgainstMeeusTable) {
    for (const JdCase& c : kMeeus) {
        AstroTime t = FromCalendar(c.y, c.m, c.d, c.h, c.mi, c.s);
        EXPECT_NEAR(ToJulianDay(t), c.jd, 1e-6) << c.y << "-" << c.m << "-" << c.d;
        const CalendarDate b = ToCalendar(t);
        EXPECT_EQ((std::vector<int>{b.year, b.month, b.day, b.hour, b.minute, b.second}),
                  (std::vector<int>{c.y, c.m, c.d, c.h, c.mi, c.s}));
    }
}

TEST(AstroTime, J2000AndGregorianReform) {
    EXPECT_EQ(FromCalendar(2000, 1, 1, 12, 0, 0), kJ2000);
    EXPECT_EQ(FromCalendar(1582, 10, 15).day - FromCalendar(1582, 10, 4).day, 1);
    CalendarDate next = ToCalendar(AstroTime{FromCalendar(1582, 10, 4).day + 1, 0});
    EXPECT_EQ(next.month, 10);
    EXPECT_EQ(next.day, 15);
}

TEST(AstroTime, CalendarRoundTripsOverAllEras) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> day(-2400000, 2000000);  // 4713 BC .. AD 7334
    std::uniform_int_distribution<int32_t> sec(0, 86399);
    for (int i = 0; i < 5000; ++i) {
        AstroTime t{day(rng), sec(rng)};
        AstroTime back = FromCalendar(ToCalendar(t));
        ASSERT_EQ(back.day, t.day) << t.day << " " << t.seconds;
        ASSERT_EQ(back.seconds, t.seconds) << t.day << " " << t.seconds;
    }
    // Every second of one day, where the hour/minute/second split works in floats.
    for (int32_t s = 0; s < 86400; ++s) {
        AstroTime t{51544, s};
        ASSERT_EQ(FromCalendar(ToCalendar(t)).seconds, s);
    }
}

TEST(AstroTime, SecondsArithmeticNormalises) {
    AstroTime t{51544, 0};
    EXPECT_EQ(AddSeconds(t, -86400 * 3 - 5), (AstroTime{51540, 86395}));
    EXPECT_EQ(AddSeconds(t, 86400 * 2 + 7), (AstroTime{51546, 7}));
    EXPECT_EQ(Normalize(AstroTime{10, -1}), (AstroTime{9, 86399}));
    EXPECT_EQ(SubSeconds(t, INT32_MIN).day, 51544 + 24855);
    EXPECT_EQ(DiffSeconds(AstroTime{51545, 10}, AstroTime{51544, 86390}), 20);
    EXPECT_EQ(Compare(AstroTime{-3, 5}, AstroTime{-2, 0}), -1);
    EXPECT_EQ(DayOfWeek(FromCalendar(1858, 11, 16)), 2);  // a Tuesday
}

TEST(AstroTime, JulianDayConversionAndText) {
    EXPECT_EQ(FromJulianDay(51544.5), FromJulianDay(2451545.0));
    EXPECT_EQ(FromJulianDay(2451545.25), (AstroTime{51544, 64800}));
    for (double jd : {2400000.0, 2.1e9, std::nan("")}) EXPECT_FALSE(FromJulianDay(jd).IsValid()) << jd;

    AstroTime t;
    EXPECT_TRUE(ParseJulianDay(u" 2451545.5 ", t));
    EXPECT_EQ(t, (AstroTime{51545, 0}));
    // Text that is no number, and numbers that FromJulianDay turns into no time.
    for (const char16_t* text : {u"abc", u"-5", u"3e9", u"2400000", u"2400000.9", u"0.3", u"1234567"}) {
        t = AstroTime{1, 1};
        EXPECT_FALSE(ParseJulianDay(text, t)) << std::string(text, text + std::char_traits<char16_t>::length(text));
        EXPECT_FALSE(t.IsValid());
    }
    EXPECT_TRUE(ParseJulianDay(u"2400001", t));
    EXPECT_EQ(t, (AstroTime{0, 43200}));

    EXPECT_EQ(FormatJulianDay(FromCalendar(2000, 1, 1, 11, 59, 59), 0), u"2451545");
    EXPECT_EQ(FormatJulianDay(FromCalendar(2000, 1, 1, 0, 0, 0), 1), u"2451544.5");
    EXPECT_EQ(FormatJulianDay(FromCalendar(2000, 1, 1, 18, 0, 0), 3), u"2451545.250");
    EXPECT_EQ(FormatJulianDay(FromCalendar(2000, 1, 1, 18, 0, 0), -3), u"2451 545.250");
    // Rounding up to the next whole day carries into the integer part.
    EXPECT_EQ(FormatJulianDay(FromCalendar(2000, 1, 1, 11, 59, 59), 2), u"2451545.00");
    EXPECT_EQ(FormatJulianDay(AstroTime{}, 3), u"0");
}

TEST(AstroTime, SiderealTimeAndEquationOfTime) {
    // GMST at J2000.0 is 18.697374558 h (IAU 1982).
    EXPECT_NEAR(GreenwichSiderealTime(kJ2000), 18.697374558f, 2e-4f);
    // Meeus ex. 12.b: 1987-04-10 19:21:00 UT, 8h34m57.0896s.
    EXPECT_NEAR(GreenwichSiderealTime(FromCalendar(1987, 4, 10, 19, 21, 0)), 8.5825249f, 2e-4f);
    float g = GreenwichSiderealTime(FromCalendar(2024, 6, 1, 3, 0, 0));
    EXPECT_NEAR(LocalSiderealTime(g, -13.4f), std::fmod(g + 0.8933333f, 24.0f), 1e-4f);
    EXPECT_NEAR(LocalSiderealTime(0.5f, 170.0f), 13.1666667f, 1e-4f);  // wraps into 0..24
    // Meeus ex. 28.b: 1992-10-13 0h, E = 13m42.6s; the short series is good to a few seconds.
    EXPECT_NEAR(EquationOfTime(FromCalendar(1992, 10, 13)), 13.71f / 60.0f, 0.002f);
    // Mid-February minimum (-14.2 min).
    EXPECT_NEAR(EquationOfTime(FromCalendar(2025, 2, 11)), -14.2f / 60.0f, 0.003f);
}

TEST(AstroTime, FixedZoneModes) {
    AstroTime t = At(2024, 7, 1, 12, 0);
    EXPECT_EQ(UtcToLocal(t, 60, kSummerTime), At(2024, 7, 1, 14, 0));
    EXPECT_EQ(UtcToLocal(t, -300, kStandardTime), At(2024, 7, 1, 7, 0));
    EXPECT_EQ(LocalToUtc(At(2024, 7, 1, 14, 0), 60, kSummerTime), t);
    EXPECT_EQ(LocalToUtc(At(2024, 1, 1, 2, 0), 330, kStandardTime), At(2023, 12, 31, 20, 30));
}

// The device's zone: summer time by weekday rules in both hemispheres and
// by absolute dates, a zone without summer time (whose state the platform
// reports as "unknown"), and a failed query, which leaves the time as it is.
TEST(AstroTime, DeviceZoneRules) {
    PL::TestPlatform p;
    PL::ScopedPlatform scope(p);
    PL::TimeZoneInfo absolute = CentralEurope(), tokyo;
    absolute.daylightDate = PL::SystemTime{2024, 4, 0, 10, 12, 30, 0, 0};  // 10 April 12:30 local
    absolute.standardDate = PL::SystemTime{2024, 9, 0, 2, 6, 0, 0, 0};     // 2 September 06:00 local
    tokyo.bias = -540;
    using S = PL::TimeZoneStatus;
    const struct {
        S status;
        PL::TimeZoneInfo zone;
        int offset;
        std::vector<std::pair<AstroTime, AstroTime>> utcLocal;  // the second also converts back
        std::vector<std::pair<AstroTime, AstroTime>> oneWay;    // in the hour skipped or repeated
    } zones[] = {
        // 2024: summer time 31 March 01:00 UT to 27 October 01:00 UT; 2025 from 30 March.
        {S::Standard, CentralEurope(), 60,
         {{At(2024, 3, 31, 0, 59, 59), At(2024, 3, 31, 1, 59, 59)}, {At(2024, 3, 31, 1, 0), At(2024, 3, 31, 3, 0)},
          {At(2025, 3, 30, 1, 30), At(2025, 3, 30, 3, 30)}},
         {{At(2024, 10, 27, 0, 59, 59), At(2024, 10, 27, 2, 59, 59)}, {At(2024, 10, 27, 1, 0), At(2024, 10, 27, 2, 0)}}},
        // 2024: summer time ends 7 April 03:00 AEDT (6 April 16:00 UT), starts
        // 6 October 02:00 AEST (5 October 16:00 UT).
        {S::Daylight, Zone(-600, {0, 10, 0, 1, 2, 0, 0, 0}, {0, 4, 0, 1, 3, 0, 0, 0}), 600,
         {{At(2024, 10, 5, 15, 59, 59), At(2024, 10, 6, 1, 59, 59)}, {At(2024, 10, 5, 16, 0), At(2024, 10, 6, 3, 0)},
          {At(2024, 7, 1, 0, 0), At(2024, 7, 1, 10, 0)}},
         {{At(2024, 4, 6, 15, 59, 59), At(2024, 4, 7, 2, 59, 59)}, {At(2024, 4, 6, 16, 0), At(2024, 4, 7, 2, 0)}}},
        {S::Standard, absolute, 60,
         {{At(2024, 4, 10, 11, 29), At(2024, 4, 10, 12, 29)}, {At(2024, 4, 10, 11, 30), At(2024, 4, 10, 13, 30)}},
         {{At(2024, 9, 2, 4, 0), At(2024, 9, 2, 5, 0)}}},
        {S::Unknown, tokyo, 540, {{At(2024, 7, 1, 0, 0), At(2024, 7, 1, 9, 0)}}, {}},
        {S::Failed, tokyo, 0, {{At(2024, 7, 1, 0, 0), At(2024, 7, 1, 0, 0)}}, {}},
    };
    for (const auto& z : zones) {
        p.zone = {z.status, z.zone};
        EXPECT_EQ(DeviceZoneOffset(), z.offset);
        for (const auto& c : z.utcLocal) {
            EXPECT_EQ(UtcToLocal(c.first, 0, kDeviceZone), c.second) << z.offset << " " << ToJulianDay(c.first);
            EXPECT_EQ(LocalToUtc(c.second, 0, kDeviceZone), c.first) << z.offset << " " << ToJulianDay(c.first);
        }
        for (const auto& c : z.oneWay)
            EXPECT_EQ(UtcToLocal(c.first, 0, kDeviceZone), c.second) << z.offset << " " << ToJulianDay(c.first);
    }
}
