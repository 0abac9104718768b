// Short series for the Sun and the Moon (Montenbruck & Pfleger, Astronomy
// on the Personal Computer, ch. 3; Moon distance from the largest terms of
// Meeus ch. 47). Geocentric ecliptic of date, as (longitude rad, latitude
// rad, distance): the Sun's distance in AU, the Moon's in km.
#pragma once

#include "engine/astrotime.h"
#include "engine/vecmath.h"

namespace Calc {

Vec3 SunPosition(AstroTime t);
Vec3 MoonPosition(AstroTime t);

// The fundamental arguments in revolutions, for the day split at period P so
// that single precision keeps the fraction.
struct LunarArguments {
    float l;   // Moon's mean anomaly
    float D;   // mean elongation
    float ls;  // Sun's mean anomaly
    float L0;  // Moon's mean longitude
    float F;   // argument of latitude
};
LunarArguments MoonArguments(AstroTime t);
float SunMeanAnomaly(AstroTime t);  // revolutions

// frac(a0 + a1 r + aq q + as seconds), q = day / period (toward zero).
float SplitDayArgument(AstroTime t, int32_t period, float a0, float a1, float aq, float as);

// The one-entry memos are process-wide; tests and benchmarks may clear them.
void ResetSunMoonMemos();

}  // namespace Calc
