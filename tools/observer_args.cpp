#include "observer_args.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/numtext.h"
#include "data/platform.h"
#include "ephem_places.h"
#include "engine/place.h"

using Calc::AstroTime;

const char kObserverUsage[] =
    "  --utc YYYY-MM-DDTHH:MM:SS  the moment in UT (default: now)\n"
    "  --lat DEG      latitude in degrees, north positive (default 51.48)\n"
    "  --lon DEG      longitude in degrees, east positive (default 0)\n"
    "  --place NAME   a built-in or user place (\"Zurich\", \"New York, NY\") instead of\n"
    "                 --lat, --lon and --zone\n"
    "  --zone MIN     the place's standard-time offset, minutes east of UT (default 0)\n"
    "  --summer MODE  0 standard time, 1 summer time (+60 min), 2 the system's zone (default 0)\n";

bool ParseNumberArg(const char* text, double& out) { return Data::ParseNumber(PL::FromUtf8(text), out); }

bool ParseIntArg(const char* text, int32_t lo, int32_t hi, int32_t& out) {
    double v = 0;
    if (!ParseNumberArg(text, v) || v != std::floor(v) || v < lo || v > hi) return false;
    out = static_cast<int32_t>(v);
    return true;
}

bool ParseUtc(const std::string& s, AstroTime& out) {
    int y, mo, d, h, mi, sec = 0;
    int used = -1;
    if (std::sscanf(s.c_str(), "%d-%d-%dT%d:%d%n", &y, &mo, &d, &h, &mi, &used) != 5 || used < 0) return false;
    const char* rest = s.c_str() + used;
    if (*rest == ':') {
        int more = -1;
        if (std::sscanf(rest, ":%d%n", &sec, &more) != 1 || more < 0) return false;
        rest += more;
    }
    // Nothing may follow but the Z of UT.
    if (*rest == 'Z') ++rest;
    if (*rest != '\0') return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || sec < 0 || sec > 59)
        return false;
    if (y < -4700 || y > 9999) return false;
    AstroTime t = Calc::FromCalendar(y, mo, d, h, mi, sec);
    Calc::CalendarDate back = Calc::ToCalendar(t);
    if (back.year != y || back.month != mo || back.day != d) return false;  // e.g. 31 April
    out = t;
    return true;
}

bool ParseObserverArg(int argc, char** argv, int& i, ObserverArgs& o, ArgFailure fail) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* {
        if (i + 1 >= argc) fail("option " + a + " needs a value");
        return argv[++i];
    };
    if (a == "--utc") {
        const char* v = value();
        if (!ParseUtc(v, o.utc)) fail(std::string("invalid --utc moment '") + v + "' (want YYYY-MM-DDTHH:MM:SS)");
        o.haveUtc = true;
    } else if (a == "--lat") {
        const char* v = value();
        if (!ParseNumberArg(v, o.lat) || o.lat < -90 || o.lat > 90)
            fail(std::string("invalid --lat '") + v + "' (want -90 .. 90)");
        o.haveLatLon = true;
    } else if (a == "--lon") {
        const char* v = value();
        if (!ParseNumberArg(v, o.lonEast) || o.lonEast < -180 || o.lonEast > 180)
            fail(std::string("invalid --lon '") + v + "' (want -180 .. 180, east positive)");
        o.haveLatLon = true;
    } else if (a == "--place") {
        o.place = value();
        o.havePlace = true;
    } else if (a == "--zone") {
        const char* v = value();
        if (!ParseIntArg(v, -840, 840, o.zoneMinutes))
            fail(std::string("invalid --zone '") + v + "' (want whole minutes -840 .. 840, east positive)");
        o.haveLatLon = true;
    } else if (a == "--summer") {
        const char* v = value();
        if (!ParseIntArg(v, 0, 2, o.summerMode)) fail(std::string("invalid --summer '") + v + "' (want 0, 1 or 2)");
    } else {
        return false;
    }
    return true;
}

void CheckObserverArgs(const ObserverArgs& o, ArgFailure fail) {
    if (o.havePlace && o.haveLatLon) fail("--place replaces --lat, --lon and --zone; give one or the other");
}

bool ApplyObserverArgs(ObserverArgs& o, AstroTime now, Calc::Ephemeris& ephemeris) {
    Calc::Place place;
    if (o.havePlace) {
        if (!FindPlace(o.place, place)) return false;
        o.lat = place.latitude;
        o.lonEast = -place.longitude;
        o.zoneMinutes = place.timeZone;
    }
    ephemeris.moment = o.haveUtc ? o.utc : now;
    if (o.havePlace) {
        ephemeris.place = place;
    } else {
        ephemeris.place.latitude = static_cast<float>(o.lat);
        ephemeris.place.longitude = static_cast<float>(-o.lonEast);
        ephemeris.place.timeZone = o.zoneMinutes;
    }
    ephemeris.summerMode = o.summerMode;
    ephemeris.Invalidate();
    return true;
}
