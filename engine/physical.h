// Physical ephemeris: apparent diameters, magnitudes, the Moon's phase data
// and colongitude, Saturn's ring tilt and ring size, Jupiter's central
// meridians and Galilean moons, and Mars' central meridian.
//
// The figures that depend on the observer (diameters, magnitudes, Saturn's
// rings, the Moon's phase) are members of Ephemeris (declared there, defined
// in physical.cpp); the rest are functions of the moment alone.
#pragma once

#include <cstdint>

#include "engine/astrotime.h"
#include "engine/ephemeris.h"

namespace Calc {

// Jupiter's polar diameter at 1 AU (arcseconds).
constexpr float kJupiterPolarAt1Au = 184.12f;
// Saturn's outer ring diameter at 1 AU (arcseconds).
constexpr float kSaturnRingAt1Au = 375.35f;

// Two apparent axes of a disc or ring, arcseconds. The minor axis of the
// rings carries the sign of the ring tilt.
struct DiscSize {
    float major = 0;
    float minor = 0;
};

// The Moon's appearance for drawing it.
struct MoonPhaseInfo {
    // The Sun's direction seen from the Moon's centre, in the horizontal
    // frame turned so that the Moon lies on the x axis: the angle between it
    // and the direction back to the observer (about the phase angle), and
    // its direction on the sky (0 towards increasing azimuth, pi/2 towards
    // the zenith). Radians.
    float sunAngle = 0;
    float sunDirection = 0;
    // Position angle of the Moon's axis relative to the vertical (the axis'
    // position angle less the parallactic angle), radians.
    float axisAngle = 0;
    float illuminated = 0;  // percent
    uint8_t waxing = 0;     // 1 from new to full Moon
};

// One Galilean moon: apparent rectangular coordinates in Jupiter's
// equatorial radii (X positive towards the west, Y towards the north, both
// on the sky), whether it lies on the near side of Jupiter, and its letter.
struct JupiterMoon {
    float x = 0;
    float y = 0;
    uint8_t inFront = 0;  // 1 when cos u >= 0: nearer the Earth than Jupiter
    char16_t letter = 0;  // 'I', 'E', 'G', 'C'
};
constexpr int kJupiterMoonCount = 4;

// Jupiter's central meridians in systems I and II, whole degrees 0..360
// (Meeus, ch. 43, low accuracy).
struct JupiterMeridians {
    int32_t system1 = 0;
    int32_t system2 = 0;
};

// Mars' central meridian and the planetocentric declination of the Earth,
// whole degrees (Meeus, ch. 42, simplified).
struct MarsMeridian {
    int32_t centralMeridian = 0;
    int32_t earthDeclination = 0;
};

// The selenographic colongitude of the Sun, degrees 0..360 (Meeus, ch. 53,
// without the librations): about 0 at first quarter, 90 at full Moon.
float MoonColongitude(AstroTime t);
JupiterMeridians JupiterCentralMeridians(AstroTime t);
// Io, Europa, Ganymede, Callisto (Meeus, ch. 44, low accuracy).
void JupiterMoons(AstroTime t, JupiterMoon out[kJupiterMoonCount]);
MarsMeridian MarsCentralMeridian(AstroTime t);

}  // namespace Calc
