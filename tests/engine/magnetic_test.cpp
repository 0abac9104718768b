// The magnetic model against NOAA's published test values for every shipped
// model (the 100-point tables reach from 87 S to 89 N and up to 100 km), and
// its validity rules.

#include "engine/magnetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/astrotime.h"
#include "engine_test_util.h"

namespace {

using Calc::AstroTime;
using Calc::FromCalendar;
using Calc::MagneticModel;

const std::string kCatalogDir = std::string(CELVANE_SOURCE_DIR) + "/catalogs/magnetic/";

std::string Narrow(const char16_t* s) { return std::string(s, s + std::char_traits<char16_t>::length(s)); }

// The first moment whose year, in the model's whole hundredths counted from
// MJD 0 = 1858.88 in years of 365.25 days, is the given decimal year.
AstroTime MomentOfYear(double year) {
    long hundredths = std::lround(year * 100) - 185888;
    long day = (hundredths * 1461 + 399) / 400;
    return AstroTime{static_cast<int32_t>(day), 0};
}

// The field computed for a place (degrees, west longitude; km) and moment.
MagneticModel FieldAt(double lat, double lonWest, double heightKm, AstroTime moment) {
    MagneticModel mm;
    mm.latitude = static_cast<float>(lat);
    mm.longitude = static_cast<float>(lonWest);
    mm.height = static_cast<float>(heightKm);
    mm.moment = moment;
    mm.Recompute();
    return mm;
}

// ---------------------------------------------------------------------------
// NOAA test tables (CSV with a header naming the columns, '#' comments).

struct TestPoint {
    double year, heightKm, lat, lonEast;
    double d, i, f;        // degrees, degrees, nT
    int fDecimals;         // digits the table prints for F
    int line;
};

std::vector<TestPoint> ReadTestTable(const std::string& file) {
    std::ifstream in(kCatalogDir + file);
    EXPECT_TRUE(in) << file;
    std::vector<TestPoint> points;
    std::map<std::string, size_t> col;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        std::stringstream ss(line);
        for (std::string cell; std::getline(ss, cell, ',');) f.push_back(cell);
        if (col.empty()) {
            for (size_t k = 0; k < f.size(); ++k) col[f[k]] = k;
            continue;
        }
        auto num = [&](const char* name) { return std::stod(f[col.at(name)]); };
        const std::string& ftext = f[col.at("F_nT")];
        const size_t dot = ftext.find('.');
        const int fDecimals = dot == std::string::npos ? 0 : static_cast<int>(ftext.size() - dot - 1);
        points.push_back({num("date_decimal_year"), num("height_km"), num("lat_deg"), num("lon_deg"), num("D_deg"),
                          num("I_deg"), num("F_nT"), fDecimals, lineNo});
    }
    return points;
}

double AngleDiff(double a, double b) { return std::fabs(engine_test::AngleDiff(a, b)); }

struct TableCase {
    const char* file;
    const char* model;
    size_t rows;
};

class NoaaTestValues : public ::testing::TestWithParam<TableCase> {};

// D and I are printed to 0.01 degree, F to 0.1 nT (the 2025 table prints F to
// 1e-6 nT). The allowance on top of the printed rounding is what single
// precision costs: 0.0005 degree, and for F 0.045 nT.
TEST_P(NoaaTestValues, DeclinationInclinationIntensityWithinRounding) {
    const TableCase& tc = GetParam();
    std::vector<TestPoint> points = ReadTestTable(tc.file);
    ASSERT_EQ(points.size(), tc.rows);
    for (const TestPoint& p : points) {
        const MagneticModel mm = FieldAt(p.lat, -p.lonEast, p.heightKm, MomentOfYear(p.year));
        ASSERT_EQ(MagneticModel::YearHundredths(mm.moment), std::lround(p.year * 100));
        SCOPED_TRACE(std::string(tc.file) + " line " + std::to_string(p.line));
        ASSERT_EQ(Narrow(mm.ModelName()), tc.model);
        const double fRound = 0.5 * std::pow(10.0, -p.fDecimals);
        EXPECT_LE(AngleDiff(mm.declination, p.d), 0.005 + 0.0005);
        EXPECT_LE(std::fabs(mm.inclination - p.i), 0.005 + 0.0005);
        EXPECT_LE(std::fabs(mm.intensity - p.f), fRound + 0.045);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryShippedModel, NoaaTestValues,
    ::testing::Values(TableCase{"WMM2010_test_values.csv", "WMM2010", 12},
                      TableCase{"WMM2015v2_test_values.csv", "WMM2015v2", 12},
                      TableCase{"WMM2020_TEST_VALUES_100.csv", "WMM2020", 100},
                      TableCase{"WMM2025_TEST_VALUES_100.csv", "WMM2025", 100}));

TEST(MagneticModel, PoleFormulaContinuesTheFieldToThePoles) {
    for (float pole : {90.0f, -90.0f}) {
        for (float lonWest : {0.0f, 75.0f, -140.0f}) {
            const MagneticModel at = FieldAt(pole, lonWest, 0, FromCalendar(2022, 6, 1));
            const MagneticModel near = FieldAt(pole > 0 ? 89.999 : -89.999, lonWest, 0, FromCalendar(2022, 6, 1));
            ASSERT_EQ(at.valid, 1);
            EXPECT_TRUE(std::isfinite(at.declination));
            // 0.001 degree of latitude (110 m) moves the field by well under 1 nT.
            EXPECT_NEAR(at.intensity, near.intensity, 1.0);
            EXPECT_NEAR(at.inclination, near.inclination, 0.01);
            EXPECT_LE(AngleDiff(at.declination, near.declination), 0.1);
        }
    }
}

// Leaving the models' years and coming back to the same moment must restore
// the results rather than keep the cleared ones.
TEST(MagneticModel, ValidOnlyWithinTheShippedModelsYears) {
    MagneticModel mm = FieldAt(48.2, -16.4, 0, FromCalendar(2023, 5, 5));
    const float d = mm.declination, f = mm.intensity;
    struct Y {
        int year, month, day;
        const char* model;  // "" = not valid
    } const cases[] = {{2009, 12, 1, ""},         {2010, 1, 1, "WMM2010"}, {2014, 12, 28, "WMM2010"},
                       {2015, 1, 6, "WMM2015v2"}, {2020, 1, 6, "WMM2020"}, {2029, 12, 31, "WMM2025"},
                       {2030, 2, 1, ""}};
    for (const Y& y : cases) {
        mm.moment = FromCalendar(y.year, y.month, y.day);
        mm.Recompute();
        SCOPED_TRACE(std::to_string(y.year) + "-" + std::to_string(y.month));
        EXPECT_EQ(mm.valid, y.model[0] ? 1 : 0);
        EXPECT_EQ(Narrow(mm.ModelName()), y.model);
        // Outside the models the field is cleared.
        EXPECT_TRUE(y.model[0] || (mm.declination == 0.0f && mm.inclination == 0.0f && mm.intensity == 0.0f));
    }
    mm.moment = FromCalendar(2023, 5, 5);
    mm.Recompute();
    EXPECT_TRUE(mm.valid == 1 && mm.declination == d && mm.intensity == f);
}

TEST(MagneticModel, MagneticAzimuthSubtractsTheDeclinationWhenValid) {
    // NOAA WMM2020 test point: 2020.0, 0 km, 0 N 120 E: D = 0.16 deg.
    MagneticModel mm;
    mm.latitude = 0;
    mm.longitude = -120;
    mm.moment = MomentOfYear(2020.0);
    EXPECT_NEAR(mm.MagneticAzimuth(0.1f), -0.06f, 0.006f);  // not reduced to 0..360
    mm.moment = FromCalendar(2008, 1, 1);
    EXPECT_EQ(mm.MagneticAzimuth(100.0f), 100.0f);
    EXPECT_EQ(mm.valid, 0);
}

TEST(MagneticModel, NonsensePlacesGiveNoFieldAndNoCrash) {
    const float nan = std::nanf("");
    struct P {
        float lat, lonWest, height;
    } places[] = {{nan, 0, 0}, {0, nan, 0}, {0, 0, nan}, {95.0f, 0, 0}, {-90.5f, 0, 0},
                  {10, 0, -6000.0f}, {10, 0, -150.0f}, {10, 0, INFINITY}, {10, 0, 1e30f}};
    for (const P& p : places) {
        MagneticModel mm = FieldAt(p.lat, p.lonWest, p.height, FromCalendar(2024, 1, 1));
        EXPECT_TRUE(mm.valid == 0 && mm.intensity == 0.0f) << p.lat << " " << p.lonWest << " " << p.height;
        EXPECT_EQ(mm.MagneticAzimuth(42.0f), 42.0f);
    }
}

}  // namespace
