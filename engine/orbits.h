// Comets and asteroids: osculating two-body orbits referred to the ecliptic
// and equinox J2000, turned into a heliocentric position for a moment
// (Kepler's equation for elliptic, near-parabolic and hyperbolic orbits), and
// their visual magnitudes. The elements come from the user's orbit files;
// Ephemeris::OrbitApparent turns the position into a topocentric vector.
#pragma once

#include <cstdint>

#include "engine/astrotime.h"
#include "engine/vecmath.h"

namespace Calc {

// Gaussian gravitational constant, radians per day for a = 1 AU.
constexpr float kGaussK = 0.0172021f;

struct OrbitElements {
    // 0 = asteroid (semi-major axis and mean anomaly at the epoch); non-zero =
    // comet (perihelion distance and time of perihelion).
    int32_t kind = 0;
    // Asteroid: the epoch of the mean anomaly. Comet: the time of perihelion.
    AstroTime epoch;
    float meanAnomaly = 0;    // degrees at the epoch (asteroids only)
    float distance = 1;       // semi-major axis a (asteroid) or perihelion distance q (comet), AU
    float eccentricity = 0;   // e
    float argPerihelion = 0;  // omega, degrees
    float inclination = 0;    // i, degrees
    float node = 0;           // Omega, degrees
    // H (asteroid) or the comet's absolute magnitude; -1000 or 0: no magnitude.
    float absMagnitude = kMissing;
    // G (asteroid) or the comet's factor K of log10 r.
    float slope = 0;
    // Derived by PrepareOrbit: unit vectors towards perihelion and 90 degrees
    // ahead in the orbit plane, ecliptic J2000.
    Vec3 P;
    Vec3 Q;

    bool IsComet() const { return kind != 0; }
};

// Computes P and Q from omega, i and Omega; call once after the elements are set.
void PrepareOrbit(OrbitElements& el);

// Heliocentric position at `moment`, AU, ecliptic and equinox J2000.
// e > 1.01 is solved as a hyperbola, e > 0.98 with the near-parabolic
// (Stumpff function) method, anything else as an ellipse.
Vec3 OrbitPosition(const OrbitElements& el, AstroTime moment);

// The position in the orbit plane (x towards perihelion, y 90 degrees ahead)
// for a perihelion distance q, eccentricity e, days dt since perihelion
// passage (comets) or since the epoch (asteroids, with the mean anomaly M0 in
// radians at the epoch). Exposed for the checks of the three solvers.
void OrbitPlanePosition(float q, float e, float dt, float M0, float& x, float& y);

// Visual magnitude for the distances from the observer (delta) and the Sun
// (r), AU, and the cosine of the phase angle; -1000 when the elements carry
// no magnitude or the phase is too large for the H, G law (above 120 degrees).
float OrbitMagnitude(const OrbitElements& el, float delta, float r, float cosPhase);

}  // namespace Calc
