// Shared by the engine tests: angles and moments in double precision, and
// an ephemeris for a moment and place.
#pragma once

#include <cmath>

#include "engine/astrotime.h"
#include "engine/ephemeris.h"

namespace engine_test {

constexpr double kPiD = 3.14159265358979323846;
constexpr double kDeg = kPiD / 180.0;  // radians per degree

inline double MjdOf(Calc::AstroTime t) { return t.day + t.seconds / 86400.0; }

// a - b in degrees, the short way round (-180 .. 180).
inline double AngleDiff(double a, double b) { return std::remainder(a - b, 360.0); }

// Greenwich unless another place is given.
inline Calc::Ephemeris EphemerisAt(Calc::AstroTime t, float latitude = 51.48f, float westLongitude = 0.0f) {
    Calc::Ephemeris e;
    e.moment = t;
    e.place.latitude = latitude;
    e.place.longitude = westLongitude;
    e.Invalidate();
    return e;
}

}  // namespace engine_test
