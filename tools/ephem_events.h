// celvane-ephem's event sections: the twilight view's day (--events), the
// equinoxes and solstices of a year (--seasons), the next phases of the Moon
// (--phases), the physical ephemeris (--physical) and the magnetic field
// (--magnetic), as JSON or as text in the user's language.
#pragma once

#include <cstdint>

#include "engine/ephemeris.h"

struct EventSections {
    bool events = false;
    bool seasons = false;
    int32_t seasonYear = 2000;  // 1000 .. 3000
    bool phases = false;
    int32_t phaseCount = 0;     // 1 .. 1000
    bool physical = false;
    bool magnetic = false;
    bool Any() const { return events || seasons || phases || physical || magnetic; }
};

// Prints the asked-for sections for the ephemeris's moment, place, zone and
// summer-time mode: with `json` one object holding them in the order above,
// otherwise blocks of text. Returns the exit status.
int PrintEventSections(const EventSections& sections, Calc::Ephemeris& ephemeris, bool json);
