// The ephemeris context: one moment and one observer's place, and, computed
// on demand and cached until the next Invalidate, the sidereal time, the
// frame matrices and the positions and data of the Sun, the Moon, the
// planets and Pluto. The program keeps one for the displayed moment; event
// searches keep private ones that they move in time.
//
// The caches are explicit: whoever changes moment, place or summerMode must
// call Invalidate right after; nothing else notices the change.
#pragma once

#include <cstdint>

#include "engine/astrotime.h"
#include "engine/place.h"
#include "engine/vecmath.h"

namespace Calc {

enum BodyIndex : int {
    kSun = 0,
    kMoon = 1,
    kMercury = 2,
    kVenus = 3,
    kMars = 4,
    kJupiter = 5,
    kSaturn = 6,
    kUranus = 7,
    kNeptune = 8,
    kPluto = 9,
    kEarthShadow = 10  // the anti-solar point at the Moon's distance
};
constexpr int kBodyCount = 10;          // bodies with a theory and a BodyInfo
constexpr int kApparentBodyCount = 11;  // the Earth's shadow has a position only

// Coordinates and phase data of a body or of any direction, fifteen values.
struct BodyInfo {
    float ra = 0;              // 0: right ascension, equator of date, topocentric, hours 0..24
    float dec = 0;             // 1: declination, degrees
    float hourAngle = 0;       // 2: lst - ra, hours 0..24
    float eclipticLon = 0;     // 3: ecliptic longitude of date, degrees 0..360
    float eclipticLat = 0;     // 4: ecliptic latitude, degrees
    float azimuth = 0;         // 5: from north through east, degrees 0..360
    float altitude = 0;        // 6: degrees, no refraction
    int32_t constellation = 0; // 7: constellation index
    float sunDistance = 0;     // 8: AU
    float distance = 0;        // 9: from the observer, AU
    float phaseAngle = 0;      // 10: degrees
    float elongation = 0;      // 11: degrees, negative when east of the Sun
    float illuminated = 0;     // 12: illuminated part of the disc, percent
    float skyPhaseAngle = 0;   // 13: the phase angle from the construction on the sky, radians
    float sunDirection = 0;    // 14: direction of the Sun from the body's centre on the sky, radians
                               //     (0 towards increasing azimuth, pi/2 towards the zenith)
};
static_assert(sizeof(BodyInfo) == 15 * 4, "fifteen 32-bit values");

// Results of the physical ephemeris (engine/physical.h).
struct DiscSize;
struct MoonPhaseInfo;

// What InfoFor fills: everything, or the coordinates only (fields 0..7).
enum class InfoFields { All, Position };

class Ephemeris {
public:
    Ephemeris();
    virtual ~Ephemeris();

    // --- the state; writers call Invalidate after changing any of it -------
    AstroTime moment;          // UT
    Place place;
    int32_t summerMode = 0;    // SummerTimeMode of astrotime.h

    // Drops every cached value.
    void Invalidate();

    // Clock conversions with the place's zone and the summer-time mode.
    AstroTime LocalTime(AstroTime ut) const;
    AstroTime LocalTime() const { return LocalTime(moment); }
    AstroTime UniversalTime(AstroTime local) const;

    // Sidereal time (hours) and Julian centuries of the moment.
    void UpdateTime();
    float Gmst();
    float Lst();
    float Centuries();

    // The frame matrices and vectors of the moment and place.
    void UpdateFrames();
    Vec3 ObserverOffset();       // observer to the Earth's centre, equatorial of date, AU
    Mat3 HorizonMatrix();        // MulMatT: equatorial of date -> horizontal
    Mat3 ObliquityMatrix();      // MulMat: equatorial of date -> ecliptic of date
    Mat3 PrecessionMatrix();     // MulMatT: equatorial J2000 -> of date
    Mat3 EclipticJ2000ToDate();  // MulMatT: ecliptic J2000 -> equatorial of date
    Vec3 SunTopocentric();       // the Sun seen from the observer, equatorial of date, AU

    // Theory output of body 0..9 as (longitude rad, latitude rad, radius AU):
    // geocentric ecliptic of date for the Sun and Moon, heliocentric for the
    // rest. Other indices give (0, 0, 1).
    Vec3 TheoryPosition(int body);
    // Topocentric equatorial-of-date vector (AU) of body 0..10; other
    // indices give the zero vector.
    Vec3 ApparentPosition(int body);
    // The data of body 0..9; other indices give an all-zero record.
    const BodyInfo& Info(int body);
    // The same data for any topocentric equatorial-of-date vector (comets,
    // asteroids, user objects); nothing is cached.
    BodyInfo InfoFor(Vec3 v, InfoFields fields = InfoFields::All);

    // A star: J2000 equatorial unit vector to the equator of date.
    Vec3 StarApparent(Vec3 j2000);
    // A comet or asteroid: heliocentric ecliptic J2000 vector (AU) to the
    // topocentric equatorial vector of date.
    Vec3 OrbitApparent(Vec3 heliocentricEclipticJ2000);

    // (ra hours, dec degrees) of date -> (azimuth, altitude) degrees; the
    // azimuth is not reduced to 0..360.
    void EquatorialToHorizontal(float raHours, float decDeg, float& azimuthDeg, float& altitudeDeg);
    // (azimuth, altitude) degrees -> (ra hours, possibly negative, dec degrees).
    void HorizontalToEquatorial(float azimuthDeg, float altitudeDeg, float& raHours, float& decDeg);

    // --- physical ephemeris (engine/physical.h, physical.cpp) ---------------
    // Apparent diameter of body 0..9, arcseconds (0 for other indices).
    float AngularDiameter(int body);
    // Jupiter's equatorial and polar diameters, arcseconds.
    DiscSize JupiterDisc();
    // Saturn's equatorial and polar diameters, arcseconds.
    DiscSize SaturnDisc();
    // The outer ring's major axis and its signed minor axis, arcseconds.
    DiscSize SaturnRings();
    // Sine of the tilt of Saturn's rings, cached: cos i sin b - sin i cos b
    // sin(l - node) of the ecliptic longitude and latitude of date, that is
    // positive when the rings' south face is turned towards the observer
    // (the opposite sign of the almanacs' B).
    float SaturnTilt();
    // Visual magnitude of body 0..9; -1000 for other indices.
    float Magnitude(int body);
    // The Moon's appearance: the Sun's direction on its disc, its axis and
    // the waxing flag.
    MoonPhaseInfo MoonPhaseData();

protected:
    // Fields 0..7 of v into out; fields 8..14 are left alone.
    void PositionInfo(Vec3 v, BodyInfo& out);
    // Fields 8..14 of v into out; needs fields 5 and 6.
    void PhaseInfo(Vec3 v, BodyInfo& out);

    bool timeValid = false;
    float gmst = 0;
    float lst = 0;
    float t = 0;

    bool framesValid = false;
    Vec3 observerHorizontal;
    Mat3 horizon;
    Vec3 observerEquatorial;
    Mat3 obliquity;
    Vec3 sunEcliptic;
    Mat3 precession;
    Mat3 eclipticJ2000ToDate;
    Vec3 sunTopocentric;
    Mat3 toB1875;  // MulMatT: equatorial of date -> B1875.0, for the constellation

    Vec3 apparent[kApparentBodyCount];
    bool apparentValid[kApparentBodyCount] = {};
    Vec3 theory[kBodyCount];
    bool theoryValid[kBodyCount] = {};
    BodyInfo info[kBodyCount];
    bool infoValid[kBodyCount] = {};

    float saturnTilt = 0;  // sine of the tilt of Saturn's rings
    bool saturnTiltValid = false;
};

}  // namespace Calc
