// The observer and moment options shared by the command-line programs
// (celvane-ephem, celvane-chart): --utc, --lat, --lon, --place, --zone and
// --summer, read the same way by both, and the Ephemeris they describe.
#pragma once

#include <cstdint>
#include <string>

#include "engine/astrotime.h"
#include "engine/ephemeris.h"

struct ObserverArgs {
    Calc::AstroTime utc;
    bool haveUtc = false;
    double lat = 51.48;   // Greenwich
    double lonEast = 0.0;
    int32_t zoneMinutes = 0;
    int32_t summerMode = 0;
    std::string place;  // --place
    bool havePlace = false;
    bool haveLatLon = false;  // --lat, --lon or --zone
};

// Reports a bad argument: prints "<program>: message" and ends the program
// with exit status 2. Each program passes its own.
using ArgFailure = void (*)(const std::string& message);

// A decimal number as the program reads numbers (no locale).
bool ParseNumberArg(const char* text, double& out);
// A whole number within [lo, hi].
bool ParseIntArg(const char* text, int32_t lo, int32_t hi, int32_t& out);
// YYYY-MM-DDTHH:MM:SS (seconds optional, a trailing Z allowed; the year may
// be negative, astronomical numbering). The date must exist in its calendar.
bool ParseUtc(const std::string& s, Calc::AstroTime& out);

// If argv[i] is one of the observer options, reads it and its value
// (advancing i past the value) and returns true; a bad value goes to fail.
bool ParseObserverArg(int argc, char** argv, int& i, ObserverArgs& o, ArgFailure fail);
// After all arguments: --place with --lat, --lon or --zone is refused.
void CheckObserverArgs(const ObserverArgs& o, ArgFailure fail);

// The usage lines of the observer options.
extern const char kObserverUsage[];

// Looks up --place (into o's latitude, longitude and zone) and sets the
// Ephemeris' moment (now when no --utc), place and summer-time mode, then
// invalidates it. False, with a message on stderr, for an unknown place.
bool ApplyObserverArgs(ObserverArgs& o, Calc::AstroTime now, Calc::Ephemeris& ephemeris);
