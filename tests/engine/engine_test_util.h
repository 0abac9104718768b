// Shared by the engine tests: angles and moments in double precision, and
// an ephemeris for a moment and place.
#pragma once

#include <cmath>

#include "data/native/test_platform.h"
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

// A zone of `bias` minutes west with an hour of summer time between two
// rules (month, week of the month 1..5 (5 = the last), on Sundays, hour).
inline PL::TimeZoneInfo Zone(int bias, PL::SystemTime daylight, PL::SystemTime standard) {
    PL::TimeZoneInfo tz;
    tz.bias = bias;
    tz.daylightBias = -60;
    tz.daylightDate = daylight;
    tz.standardDate = standard;
    return tz;
}
// Central Europe: UT+1, summer time from the last Sunday of March 02:00 to
// the last Sunday of October 03:00 local.
inline PL::TimeZoneInfo CentralEurope() { return Zone(-60, {0, 3, 0, 5, 2, 0, 0, 0}, {0, 10, 0, 5, 3, 0, 0, 0}); }

}  // namespace engine_test
