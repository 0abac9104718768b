#include <gtest/gtest.h>

#include <cmath>

#include "engine/astrotime.h"
#include "engine/ephemeris.h"
#include "engine/events.h"
#include "engine/physical.h"
#include "engine_test_util.h"

using namespace Calc;
using engine_test::EphemerisAt;

namespace {

// 1992 December 16, 0h dynamical time, the moment of Meeus's worked
// examples for Jupiter and Saturn. The engine knows no Delta-T and puts its
// moment into the formulae as it is, so the examples' JDE 2448972.50068 is
// given as 00:00:59.
const AstroTime kMeeusDecember1992{48972, 59};

}  // namespace

TEST(Physical, DiametersFollowTheDistance) {
    // The Sun: 32.5' at perihelion (early January), 31.5' at aphelion (early July).
    EXPECT_NEAR(EphemerisAt(FromCalendar(2024, 1, 3)).AngularDiameter(kSun) / 60.0, 32.53, 0.03);
    EXPECT_NEAR(EphemerisAt(FromCalendar(2024, 7, 5)).AngularDiameter(kSun) / 60.0, 31.46, 0.03);
    // Jupiter at its opposition of 2022-09-26: 49.9" x 46.7" (almanac).
    Ephemeris e = EphemerisAt(FromCalendar(2022, 9, 26, 20));
    EXPECT_NEAR(e.JupiterDisc().major, 49.9, 0.2);
    EXPECT_NEAR(e.JupiterDisc().minor, 46.7, 0.2);
}

TEST(Physical, MagnitudesAtOppositions) {
    // Published (Astronomical Almanac) magnitudes at oppositions: Jupiter
    // -2.9 (2022-09-26), Mars -2.6 (2020-10-13), Saturn +0.3 (2022-08-14,
    // rings open 14 degrees), Uranus 5.6 (2022-11-09).
    EXPECT_NEAR(EphemerisAt(FromCalendar(2022, 9, 26, 20)).Magnitude(kJupiter), -2.94, 0.15);
    EXPECT_NEAR(EphemerisAt(FromCalendar(2020, 10, 13, 23)).Magnitude(kMars), -2.6, 0.15);
    EXPECT_NEAR(EphemerisAt(FromCalendar(2022, 8, 14, 17)).Magnitude(kSaturn), 0.3, 0.2);
    EXPECT_NEAR(EphemerisAt(FromCalendar(2022, 11, 9, 8)).Magnitude(kUranus), 5.6, 0.15);
    // Full Moon about -12.7.
    EXPECT_NEAR(EphemerisAt(MoonPhaseEvent(1202)).Magnitude(kMoon), -12.7, 0.3);
}

TEST(Physical, SaturnRingsOfMeeusExample) {
    // Meeus, example 45.a: B = +16.442 deg, a = 35.87", b = 10.15". The
    // engine's tilt carries the opposite sign (north face turned towards us).
    Ephemeris e = EphemerisAt(kMeeusDecember1992);
    const float s = e.SaturnTilt();
    EXPECT_NEAR(Asin(s) * kRadToDeg, -16.442, 0.05);
    const DiscSize rings = e.SaturnRings();
    EXPECT_NEAR(rings.major, 35.87, 0.03);
    EXPECT_NEAR(rings.minor, -10.15, 0.03);
}

// Meeus, ch. 44 (low accuracy), in double precision: X and Y of the four
// moons at an MJD, with the orbital radii and Ganymede's epoch this engine
// uses (which differ from the second edition's by under 0.01 radii).
void MeeusJupiterMoons(double mjd, double x[4], double y[4]) {
    const double p = 3.14159265358979324 / 180.0;
    const double d = mjd - 51544.5;
    const double V = (172.74 + 0.00111588 * d) * p, M = (357.529 + 0.9856003 * d) * p;
    const double N = (20.020 + 0.0830853 * d + 0.329 * std::sin(V)) * p;
    const double J = (66.115 + 0.9025179 * d - 0.329 * std::sin(V)) * p;
    const double A = (1.915 * std::sin(M) + 0.020 * std::sin(2 * M)) * p;
    const double B = (5.555 * std::sin(N) + 0.168 * std::sin(2 * N)) * p;
    const double K = J + A - B;
    const double R = 1.00014 - 0.01671 * std::cos(M) - 0.00014 * std::cos(2 * M);
    const double r = 5.20872 - 0.25208 * std::cos(N) - 0.00611 * std::cos(2 * N);
    const double delta = std::sqrt(r * r + R * R - 2 * r * R * std::cos(K));
    const double psi = std::asin(R / delta * std::sin(K));
    const double lambda = (34.35 + 0.083091 * d + 0.329 * std::sin(V)) * p + B;
    const double DE = 3.12 * p * std::sin(lambda + 42.8 * p) - 2.22 * p * std::sin(psi) * std::cos(lambda + 22 * p) -
                      1.30 * p * (r - delta) / delta * std::sin(lambda - 100.5 * p);
    const double t = d - delta / 173;
    double u[4] = {163.8069 * p + 203.4058646 * p * t + psi - B, 358.4140 * p + 101.2916335 * p * t + psi - B,
                   5.7129 * p + 50.2345180 * p * t + psi - B, 224.8092 * p + 21.4879800 * p * t + psi - B};
    const double G = (331.18 + 50.310482 * t) * p, H = (87.45 + 21.569231 * t) * p;
    const double rad[4] = {5.9073 - 0.0244 * std::cos(2 * (u[0] - u[1])), 9.3991 - 0.0882 * std::cos(2 * (u[1] - u[2])),
                           14.9924 - 0.0216 * std::cos(G), 26.3699 - 0.1935 * std::cos(H)};
    const double c[4] = {0.473 * p * std::sin(2 * (u[0] - u[1])), 1.065 * p * std::sin(2 * (u[1] - u[2])),
                         0.165 * p * std::sin(G), 0.843 * p * std::sin(H)};
    for (int i = 0; i < 4; ++i) {
        x[i] = rad[i] * std::sin(u[i] + c[i]);
        y[i] = -rad[i] * std::cos(u[i] + c[i]) * std::sin(DE);
    }
}

// Over the next century the moons keep their places: Io turns 0.565
// revolutions a day, so the day count must keep its fraction, and the
// Earth's declination on Jupiter rests on lambda = 34.35 degrees.
// (The reference reproduces Meeus's example 44.a at the first moment.)
TEST(Physical, JupiterMoonsAgreeWithADoublePrecisionSolution) {
    for (const AstroTime t : {kMeeusDecember1992, FromCalendar(2001, 3, 7, 5, 0, 0), FromCalendar(2026, 12, 7, 1, 30),
                              FromCalendar(2061, 6, 1, 12), FromCalendar(2100, 1, 1, 0, 0, 0),
                              FromCalendar(2100, 7, 15, 18, 45, 10)}) {
        JupiterMoon m[kJupiterMoonCount];
        JupiterMoons(t, m);
        double x[4], y[4];
        MeeusJupiterMoons(t.day + t.seconds / 86400.0, x, y);
        for (int i = 0; i < kJupiterMoonCount; ++i) {
            EXPECT_NEAR(m[i].x, x[i], 0.004 * (i + 2)) << "moon " << i << " at MJD " << t.day;
            EXPECT_NEAR(m[i].y, y[i], 0.003) << "moon " << i << " at MJD " << t.day;
        }
    }
}

TEST(Physical, CentralMeridiansOfMeeusExamples) {
    // Meeus, example 43.b (low accuracy): Jupiter's system I 268.12, system II 72.79.
    const JupiterMeridians j = JupiterCentralMeridians(kMeeusDecember1992);
    EXPECT_NEAR(j.system1, 268, 1);
    EXPECT_NEAR(j.system2, 73, 1);
    // Meeus, example 42.a (1992 November 9, 0h TD): Mars' DE = +12.44,
    // central meridian 111.55.
    const MarsMeridian m = MarsCentralMeridian(AstroTime{48935, 59});
    EXPECT_NEAR(m.earthDeclination, 12, 1);
    EXPECT_NEAR(m.centralMeridian, 112, 1);
}

TEST(Physical, MoonColongitudeFollowsThePhases) {
    // Colongitude: about 0 at first quarter, 90 at full Moon, 180 at last
    // quarter, 270 at new Moon (the libration in longitude moves it by up to
    // 8 degrees).
    for (int32_t k = 1200; k < 1240; ++k) {
        const double expected = std::fmod(90.0 * (MoonPhaseOf(k) + 3), 360.0);
        const double c = MoonColongitude(MoonPhaseEvent(k));
        const double diff = std::fmod(c - expected + 540.0, 360.0) - 180.0;
        EXPECT_LT(std::fabs(diff), 9.0) << k;
    }
}

TEST(Physical, MoonPhaseDataDescribesTheLitSide) {
    // Near first quarter the Sun stands about 90 degrees from the Moon; the
    // illuminated part is that of the Moon's BodyInfo.
    Ephemeris e = EphemerisAt(MoonPhaseEvent(1201), 48.0f, -11.0f);
    const MoonPhaseInfo p = e.MoonPhaseData();
    EXPECT_NEAR(p.sunAngle * kRadToDeg, 90.0, 3.0);
    EXPECT_FLOAT_EQ(p.illuminated, e.Info(kMoon).illuminated);
    EXPECT_NEAR(p.illuminated, 50.0, 3.0);
    // The bright limb points to the Sun, as the BodyInfo's direction of the Sun does.
    EXPECT_NEAR(p.sunDirection, e.Info(kMoon).sunDirection, 0.01);
    // Waxing until the full Moon.
    const AstroTime full = MoonPhaseEvent(1202);
    EXPECT_EQ(EphemerisAt(SubSeconds(full, 1800)).MoonPhaseData().waxing, 1);
    EXPECT_EQ(EphemerisAt(AddSeconds(full, 1800)).MoonPhaseData().waxing, 0);
}
