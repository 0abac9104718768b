#include "data/messages.h"
#include "data/native/test_platform.h"
#include "data/numtext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

using namespace Data;

const std::u16string kDeg = kDegreeUnits;
const double kInf = std::numeric_limits<double>::infinity();

struct NumberCase {
    double x;
    double digits;  // significant digits or resolution
    const char16_t* text;
};

// --- decimal -------------------------------------------------------------------------

TEST(FormatSignificant, Examples) {
    const NumberCase cases[] = {
        {1234567, 4, u"1235000"} /* exponent 6 stays fixed */, {12345678, 4, u"1.235e7"},
        {0.00001234, 3, u"1.23e-5"}, {0.0001234, 3, u"0.000123"} /* exponent -4 stays fixed */, {2, -3, u"2.00"},
        // Rounding carries into the exponent.
        {9.9996, -4, u"10.00"}, {999999.7, 6, u"1000000"}, {9999999.7, 4, u"1e7"},
        // The digit count is clamped; zero and non-finite values have texts.
        {1.0 / 3, -40, u"0.333333333333333"}, {-0.0, 3, u"0"}, {-kInf, 3, u"-Inf"}, {std::nan(""), 3, u"NaN"},
        // The ends of the double range.
        {1.7976931348623157e308, 3, u"1.8e308"}, {4.9406564584124654e-324, 1, u"5e-324"}};
    for (const NumberCase& c : cases)
        EXPECT_EQ(FormatSignificant(c.x, static_cast<int>(c.digits)), c.text) << c.x << " " << c.digits;
}

// A fuzz input: 1000001515700095 to 15 digits lies halfway and rounds up;
// reading the text back in double precision lands an eighth off the exact
// 1000001515700100 -- within half a unit of the last digit written and a few
// units of the last bit.
TEST(FormatSignificant, HalfwayValuesRoundUpAndReadBackClosely) {
    EXPECT_EQ(FormatSignificant(1000001515700095.0, 15), u"1.0000015157001e15");
    double back = 0;
    ASSERT_TRUE(ParseNumber(u"1.0000015157001e15", back));
    EXPECT_NEAR(back, 1000001515700100.0, 1000001515700100.0 * 4 * DBL_EPSILON);
}

TEST(FormatResolution, Examples) {
    const NumberCase cases[] = {
        {2, -0.1, u"2.0"}, {2, 0.1, u"2"}, {1234.5678, 10, u"1230"},
        {-7.25, 0.5, u"-7.3"} /* resolution 0.5 has exponent -1 */, {12345678, 1, u"1.2345678e7"},
        // Carries, and values below one unit of the resolution's digit still
        // round to nearest; what shows as zero has no sign.
        {99.96, -0.1, u"100.0"}, {0.06, 0.1, u"0.1"}, {0.3, 1, u"0"}, {-0.004, -0.1, u"0.0"},
        // Zero means fifteen digits.
        {1.0 / 3, 0, u"0.333333333333333"}, {2.5e-9, 0, u"2.5e-9"}};
    for (const NumberCase& c : cases) EXPECT_EQ(FormatResolution(c.x, c.digits), c.text) << c.x << " " << c.digits;
}

TEST(ParseNumber, Grammar) {
    struct Case {
        const char16_t* text;
        double value;
    } ok[] = {{u"+.5", 0.5}, {u"5.", 5}, {u" 1 2 . 5 e 1 ", 125}, {u"1E-3", 0.001}, {u"0e99999", 0},
              {u"1e-400", 0}, {u"123456789012345678", 123456789012345678.0}};
    for (const Case& c : ok) {
        double v = -1;
        EXPECT_TRUE(ParseNumber(c.text, v)) << PL::ToUtf8(c.text);
        EXPECT_DOUBLE_EQ(v, c.value) << PL::ToUtf8(c.text);
    }
    for (const char16_t* bad : {u"", u"+", u".", u"e5", u"1e+", u"1.2.3", u"1,5", u"--1", u"0x10", u"nan", u"1e400",
                                u"\u0661", u"1234567890123456789", u"0000000000000000001"}) {
        double w = 42;
        EXPECT_FALSE(ParseNumber(bad, w)) << PL::ToUtf8(bad);
        EXPECT_EQ(w, 42) << "a failed read changes nothing";
    }
}

// --- sexagesimal -------------------------------------------------------------------------

TEST(FormatSexagesimal, Examples) {
    const std::u16string h = kHourUnits;
    const struct {
        double x;
        const char16_t* spec;
        const std::u16string& units;
        const char16_t* text;
    } cases[] = {
        {5.58833, u"hm1", h, u"5h35.3m"}, {-5.38333, u"hm0", kDeg, u"-5\u00b023'"}, {12.0, u"hm1", h, u"12h00m"},
        // Units, decimals and padding; a leading 0 keeps the decimals' zeros.
        {12.0, u"hm01", h, u"12h00.0m"}, {1.0 + 2.0 / 60 + 3.26 / 3600, u"hms1", h, u"1h02m03.3s"},
        {-0.5, u"hms0", kDeg, u"-0\u00b030'00\""}, {5.25, u"h2", h, u"5.25h"},
        // Larger units fold into a first minute or second field.
        {2.5, u"ms0", h, u"150m00s"}, {2.0, u"s0", h, u"7200s"},
        // Fields never take the exponent form: the reader has none.
        {5 + 1e-7, u"hm6", h, u"5h00.000006m"}, {42000, u"s3", kDeg, u"151200000\""},
        // Rounding carries through every field.
        {1.9999999, u"hms0", h, u"2h00m00s"}, {(1 + 59.9999 / 60) / 60, u"ms0", h, u"2m00s"},
        {-89.99999, u"hm0", kDeg, u"-90\u00b000'"},
        // A negative value that rounds to zero in every field is zero (the
        // Sun's ecliptic latitude is a few 1e-5 degrees either side of it);
        // anything that shows a digit keeps its sign.
        {-1e-7, u"hms2", h, u"0h00m00s"}, {-0.0001, u"ms0", kDeg, u"0'00\""},
        {-1e-6, u"hms3", h, u"-0h00m00.004s"}, {-0.0002, u"hms3", h, u"-0h00m00.72s"},
        // The alternative follows the size, not the sign; with fewer
        // alternatives than the size asks for, the last one.
        {150, kAutoAngleSpec, h, u"150h00m"}, {0.01, kAutoAngleSpec, h, u"36s"}, {0.0001, kAutoAngleSpec, h, u"0.36s"},
        {-0.5, kAutoAngleSpec, h, u"-30m00s"}, {0.001, u"hm0|ms1", h, u"0m03.6s"}};
    for (const auto& c : cases) EXPECT_EQ(FormatSexagesimal(c.x, c.spec, c.units), c.text) << c.x;
    EXPECT_EQ(FormatHoursMinutes(-0.001), u"0h00m");
    EXPECT_EQ(FormatHoursMinutes(-0.01), u"-0h01m");
    EXPECT_EQ(FormatDegreesAuto(-1e-9), FormatDegreesAuto(0.0));
    EXPECT_EQ(FormatDaysTime(-0.0001, false), u"0d0h00m");
    for (const char16_t* spec : {u"", u"hm21", u"hs1", u"mh", u"hm-1", u"|hm1"})
        EXPECT_EQ(FormatSexagesimal(150, spec, h), u"Invalid format specification") << PL::ToUtf8(spec);
}

TEST(ParseSexagesimal, Grammar) {
    struct Case {
        const char16_t* text;
        double value;
    } ok[] = {{u"5h35.3m", 5.588333}, {u"-0:30", -0.5}, {u"12 30", 1230}, {u"45\"", 0.0125}, {u"1h30", 1.5},
              {u"1h3s", 1 + 3 / 3600.0}, {u"10m5", 10 / 60.0 + 5 / 3600.0}, {u" - 1 h 30 m ", -1.5}};
    for (const Case& c : ok) {
        float v = -999;
        EXPECT_TRUE(ParseSexagesimal(c.text, v)) << PL::ToUtf8(c.text);
        EXPECT_NEAR(v, c.value, 1e-5 * std::max(1.0, std::fabs(c.value))) << PL::ToUtf8(c.text);
    }
    for (const char16_t* bad : {u"12:30:15", u"", u"-", u"+-1", u"1h-2m", u"m30", u"1e5", u"2m1h", u"1s2",
                                u"1234567890123456789", u"12h30m15s4", u"5h 35.3m x"}) {
        float v = 42;
        EXPECT_FALSE(ParseSexagesimal(bad, v)) << PL::ToUtf8(bad);
        EXPECT_EQ(v, 42) << "a failed read changes nothing";
    }
}

// --- named formatters ---------------------------------------------------------------------

class NamedFormatters : public ::testing::Test {
protected:
    void SetUp() override { Data::SetUserLangId(0); }

    PL::TestPlatform platform;
    PL::ScopedPlatform scope{platform};
};

TEST_F(NamedFormatters, AnglesHemispheresDistancesAndDays) {
    platform.language = 0x409;
    EXPECT_EQ(FormatDegreesDecimal(-0.04), u"0\u00b0");
    EXPECT_EQ(FormatLatitude(-5.38333), u"5\u00b023'S");
    EXPECT_EQ(FormatLongitude(0), u"0\u00b000'W");
    EXPECT_EQ(FormatLongitudeDecimal(71.06), u"71.1\u00b0W");
    EXPECT_EQ(FormatHourAngle(13.25), u"10h45E");
    EXPECT_EQ(FormatHourAngle(-1), u"1h00E");  // reduced into [0, 24)
    EXPECT_EQ(FormatDistance(29919574.4), u"0.2 AU");
    EXPECT_EQ(FormatDistance(29919574), u"2.992e7 km");
    EXPECT_EQ(FormatDistance(9.4607e12), u"1 ly");
    EXPECT_EQ(FormatLightTime(149597872), u"8m19s");
    EXPECT_EQ(FormatLightTime(384400), u"1.282 s");
    EXPECT_EQ(FormatLightTime(1e10), u"");
    platform.language = 0x407;
    EXPECT_EQ(FormatLongitudeDecimal(-3.96), u"4\u00b0O");
    EXPECT_EQ(FormatDistance(9.4607e13), u"10 Lj");
    EXPECT_EQ(FormatDaysTime(1.23456, true), u"1.2346");
    EXPECT_EQ(FormatDaysTime(-1.5, false), u"-1d12h00m");
    EXPECT_EQ(FormatDaysTime(2.9999999, false), u"3d0h00m");  // not 2d24h00m
    EXPECT_EQ(FormatDaysTime(29.530589, false), u"29d12h44m");
}

}  // namespace
