#include <gtest/gtest.h>

#include <cmath>

#include "engine/astrotime.h"
#include "engine/planets.h"
#include "engine_test_util.h"

using namespace Calc;
using engine_test::AngleDiff;

namespace {

double Deg(float rad) { return rad / engine_test::kDeg; }

}  // namespace

// The J2000.0 positions of the theories (Montenbruck & Pfleger's series
// evaluated at T = 0), to 0.01 degree and 0.001 AU.
TEST(Planets, PositionsAtJ2000) {
    struct Row {
        int body;
        const char* name;
        double lon, lat, r;
    };
    const Row rows[] = {
        {2, "Mercury", 253.79, -3.02, 0.46665}, {3, "Venus", 182.58, 3.26, 0.72023},
        {4, "Mars", 359.38, -1.42, 1.39137},    {5, "Jupiter", 36.34, -1.17, 4.96498},
        {6, "Saturn", 45.71, -2.31, 9.1804},    {7, "Uranus", 316.41, -0.69, 19.92694},
        {8, "Neptune", 303.91, 0.23, 30.1191},  {9, "Pluto", 250.53, 11.18, 30.22702},
    };
    const float T = JulianCenturies(kJ2000);
    for (const Row& row : rows) {
        const Vec3 p = PlanetPosition(row.body, kJ2000, T);
        EXPECT_NEAR(AngleDiff(Deg(p.x), row.lon), 0.0, 0.01) << row.name;
        EXPECT_NEAR(Deg(p.y), row.lat, 0.01) << row.name;
        EXPECT_NEAR(p.z, row.r, 0.001) << row.name;
        EXPECT_GE(p.x, 0.0f) << row.name;
        EXPECT_LT(p.x, 6.2831855f) << row.name;
    }
}

// The split day number must not make the mean anomaly jump where the
// quotient of the split changes (every 88 days for Mercury, 225 for Venus):
// one second apart the positions are nearly equal.
TEST(Planets, InnerPlanetsContinuousAcrossSplitDays) {
    for (int k : {200, 229, 230, 260, 500, 585, 586, 600, 700}) {
        for (int period : {88, 225}) {
            Vec3 (*const position)(AstroTime) = period == 88 ? MercuryPosition : VenusPosition;
            const Vec3 a = position(AstroTime{period * k - 1, 86399}), b = position(AstroTime{period * k, 0});
            EXPECT_NEAR(AngleDiff(Deg(a.x), Deg(b.x)), 0.0, 0.001) << period << " " << k;
            EXPECT_NEAR(a.y, b.y, 1e-5) << period << " " << k;
            EXPECT_NEAR(a.z, b.z, 1e-5) << period << " " << k;
        }
    }
}

// Meeus, Astronomical Algorithms, example 32.a: Venus on 1992-12-20 0h,
// L = 26.114, B = -2.621, R = 0.724603 (full VSOP87). The short series
// agree to the accuracy they claim.
TEST(Planets, VenusAgainstMeeus) {
    const AstroTime t = FromCalendar(1992, 12, 20);
    const Vec3 p = VenusPosition(t);
    EXPECT_NEAR(AngleDiff(Deg(p.x), 26.114), 0.0, 0.1);
    EXPECT_NEAR(Deg(p.y), -2.621, 0.02);
    EXPECT_NEAR(p.z, 0.724603, 0.0005);
}
