#include <gtest/gtest.h>

#include <cmath>

#include "engine/astrotime.h"
#include "engine/constellations.h"
#include "engine/ephemeris.h"
#include "engine/planets.h"
#include "engine/sunmoon.h"
#include "engine_test_util.h"

using namespace Calc;
using engine_test::EphemerisAt;

namespace {

constexpr double kRad = 57.29577951308232;

double AngleDeg(Vec3 a, Vec3 b) {
    const double d = (double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z) /
                     (std::sqrt(double(a.x) * a.x + double(a.y) * a.y + double(a.z) * a.z) *
                      std::sqrt(double(b.x) * b.x + double(b.y) * b.y + double(b.z) * b.z));
    return std::acos(std::max(-1.0, std::min(1.0, d))) * kRad;
}

}  // namespace

TEST(Ephemeris, SunAtJ2000) {
    Ephemeris e = EphemerisAt(kJ2000);
    const BodyInfo& sun = e.Info(kSun);
    EXPECT_TRUE(sun.sunDistance == 0.0f && sun.illuminated == 100.0f && sun.elongation == 0.0f);
    // Early January the Sun stands in Sagittarius, at about 18.75 h, -23.0.
    EXPECT_STREQ(ConstellationAbbreviationAscii(sun.constellation), "Sgr");
    EXPECT_NEAR(sun.ra, 18.75, 0.02);
    EXPECT_NEAR(sun.dec, -23.03, 0.05);
    // At noon UT at Greenwich the Sun is near the meridian (equation of time
    // -3.3 min at the start of January).
    EXPECT_NEAR(sun.azimuth, 180.0, 1.5);
    EXPECT_NEAR(sun.altitude, 90.0 - 51.48 - 23.03, 0.05);
}

TEST(Ephemeris, CachesUntilInvalidated) {
    Ephemeris e = EphemerisAt(FromCalendar(2010, 3, 1, 22, 0, 0));
    const BodyInfo before = e.Info(kMars);
    const float lstBefore = e.Lst();

    // A new place without Invalidate keeps the old answers, bit for bit.
    e.place.latitude = -33.9f;
    e.place.longitude = -18.4f;
    EXPECT_TRUE(e.Info(kMars).altitude == before.altitude && e.Lst() == lstBefore);

    e.Invalidate();
    EXPECT_NEAR(e.Lst(), std::fmod(lstBefore + 18.4 / 15 + 24, 24.0), 1e-4);
    EXPECT_GT(std::fabs(e.Info(kMars).altitude - before.altitude), 1.0f);
}

TEST(Ephemeris, HorizonTransforms) {
    Ephemeris e = EphemerisAt(FromCalendar(2005, 6, 1, 3, 0, 0), 40.0f, 75.0f);
    const float lst = e.Lst();
    // On the meridian; at hour angle -6 h, rising in the east; the pole.
    const struct {
        float ra, dec, az, alt;
    } cases[] = {{lst, 0.0f, 180.0f, 50.0f}, {lst + 6.0f, 0.0f, 90.0f, 0.0f}, {3.0f, 90.0f, 0.0f, 40.0f}};
    float az, alt, ra, dec;
    for (const auto& c : cases) {
        e.EquatorialToHorizontal(c.ra, c.dec, az, alt);
        EXPECT_NEAR(engine_test::AngleDiff(az, c.az), 0.0, 0.01) << c.ra << " " << c.dec;
        EXPECT_NEAR(alt, c.alt, 0.01) << c.ra << " " << c.dec;
    }
    // Back: the zenith.
    e.HorizontalToEquatorial(0.0f, 90.0f, ra, dec);
    EXPECT_TRUE(std::fabs(dec - 40.0f) < 0.01f && std::fabs(Reduce(ra, 24.0f) - lst) < 0.01f);
}

// The Earth's shadow lies opposite the Sun at the Moon's distance.
TEST(Ephemeris, EarthShadow) {
    Ephemeris e = EphemerisAt(FromCalendar(2000, 1, 21, 4, 44, 0));  // total lunar eclipse
    const Vec3 shadow = e.ApparentPosition(kEarthShadow) - e.ObserverOffset();
    const Vec3 sun = e.ApparentPosition(kSun) - e.ObserverOffset();
    const Vec3 moon = e.ApparentPosition(kMoon) - e.ObserverOffset();
    EXPECT_NEAR(AngleDeg(shadow, sun), 180.0, 1e-3);
    EXPECT_NEAR(Length(shadow), Length(moon), 1e-9);
    // In mid-eclipse the Moon stands inside the umbra (radius about 0.7 degree).
    EXPECT_LT(AngleDeg(shadow, moon), 0.7);
    const BodyInfo& m = e.Info(kMoon);
    EXPECT_GT(m.illuminated, 99.9f);
}

// Elongation is negative east of the Sun: Venus on its greatest eastern
// (2020-03-24, 46.1 E) and western (2020-08-13, 45.8 W) elongations, about
// half lit.
TEST(Ephemeris, ElongationSignAndPhase) {
    Ephemeris east = EphemerisAt(FromCalendar(2020, 3, 24, 22, 0, 0));
    EXPECT_NEAR(east.Info(kVenus).elongation, -46.1, 0.4);
    EXPECT_NEAR(east.Info(kVenus).illuminated, 50.0, 3.0);
    Ephemeris west = EphemerisAt(FromCalendar(2020, 8, 13, 0, 0, 0));
    EXPECT_NEAR(west.Info(kVenus).elongation, 45.8, 0.4);
    EXPECT_NEAR(west.Info(kVenus).phaseAngle, 90.0, 3.0);
    // Mars at its close opposition of 2003 (0.3727 AU on 27 August).
    Ephemeris opp = EphemerisAt(FromCalendar(2003, 8, 27, 10, 0, 0));
    const BodyInfo& mars = opp.Info(kMars);
    EXPECT_NEAR(mars.distance, 0.3727, 0.002);
    EXPECT_GT(std::fabs(mars.elongation), 170.0f);
    EXPECT_LT(mars.phaseAngle, 10.0f);
    EXPECT_NEAR(mars.sunDistance, 1.381, 0.003);
}

// Fields 13 and 14: the phase angle again, and the direction of the Sun on
// the sky in the observer's horizontal frame.
TEST(Ephemeris, SkyConstruction) {
    Ephemeris e = EphemerisAt(FromCalendar(2012, 5, 2, 15, 0, 0));
    // Far objects 10 degrees straight above and below the Sun on the sky:
    // the Sun is towards the nadir (-pi/2), then towards the zenith (+pi/2).
    const BodyInfo& sun = e.Info(kSun);
    const Mat3 h = e.HorizonMatrix();
    const float az = sun.azimuth * 0.017453292f;
    for (float dAlt : {10.0f, -10.0f}) {
        const float alt = (sun.altitude + dAlt) * 0.017453292f;
        const Vec3 v = MulMat(h, SphToCart({az, alt, 1000.0f}));
        const BodyInfo i = e.InfoFor(v);
        EXPECT_NEAR(i.sunDirection, dAlt > 0 ? -1.5707963 : 1.5707963, 0.01) << dAlt;
        EXPECT_NEAR(std::fabs(i.elongation), 10.0, 0.05) << dAlt;
        EXPECT_NEAR(i.skyPhaseAngle * kRad, i.phaseAngle, 0.05) << dAlt;
    }
}

// A heliocentric J2000 ecliptic vector reaches the same place as the
// planet theory does through the ecliptic of date.
TEST(Ephemeris, OrbitApparentMatchesThePlanets) {
    Ephemeris e = EphemerisAt(FromCalendar(2030, 7, 4, 1, 0, 0));
    for (int body = kMercury; body <= kPluto; ++body) {
        const Vec3 ofDate = MulMatT(e.ObliquityMatrix(), SphToCart(e.TheoryPosition(body)));
        const Vec3 j2000 = MulMat(Obliquity(0.0f), MulMat(e.PrecessionMatrix(), ofDate));
        const Vec3 b = e.ApparentPosition(body);
        EXPECT_NEAR(Length(e.OrbitApparent(j2000) - b) / Length(b), 0.0, 2e-6) << body;
    }
}
