// celvane-ephem: the engine's answers for one moment and place, as text or
// JSON. Longitude on the command line is EAST positive (the usual
// geographic sign); the engine itself counts longitude west positive.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "data/messages.h"
#include "data/native/posix_platform.h"
#include "data/numtext.h"
#include "engine/astrotime.h"
#include "engine/constellations.h"
#include "engine/ephemeris.h"
#include "engine/events.h"
#include "engine/magnetic.h"
#include "engine/physical.h"
#include "engine/sunmoon.h"
#include "engine/vecmath.h"
#include "ephem_star.h"

using namespace Calc;

namespace {

const char kUsage[] =
    "usage: celvane-ephem [--utc YYYY-MM-DDTHH:MM:SS] [--lat DEG] [--lon DEG] [--json]\n"
    "  --utc   the moment in UT (default: now)\n"
    "  --lat   latitude in degrees, north positive (default 51.48)\n"
    "  --lon   longitude in degrees, east positive (default 0)\n"
    "  --json  print one JSON object instead of text\n"
    "  --lang  de or en: the language of the text (default: the locale's)\n"
    "  --star TEXT    the star of a catalogue number (\"HR 2491\", \"HIP 32349\",\n"
    "                 \"TYC 5949-2777-1\") and its apparent place; exit status 1 if none\n"
    "  --constellation RA_H DEC_DEG\n"
    "          print the constellation of a direction (J2000) instead\n"
    "  --zone MIN     the place's standard-time offset, minutes east of UT (default 0)\n"
    "  --summer MODE  0 standard time, 1 summer time (+60 min), 2 the system's zone (default 0)\n"
    "The following print only what they name (several may be combined):\n"
    "  --events       rise, transit and set of the Sun and Moon and the twilights\n"
    "                 for the moment's local date\n"
    "  --seasons YEAR the equinoxes and solstices of YEAR (1000 .. 3000)\n"
    "  --phases N     the next N principal phases of the Moon (1 .. 1000)\n"
    "  --physical     diameters, magnitudes, Moon phase, Saturn's rings, Jupiter's\n"
    "                 central meridians and moons, Mars' central meridian\n"
    "  --magnetic     the magnetic declination, inclination and total intensity\n";

struct Options {
    AstroTime utc;
    bool haveUtc = false;
    double lat = 51.48;
    double lonEast = 0.0;
    bool json = false;
    uint16_t language = 0;  // 0: the locale's
    bool constellation = false;
    double raHours = 0.0;  // J2000, for --constellation
    double decDeg = 0.0;
    int32_t zoneMinutes = 0;
    int32_t summerMode = 0;
    bool events = false;
    bool seasons = false;
    int32_t seasonYear = 0;
    bool phases = false;
    int32_t phaseCount = 0;
    bool physical = false;
    bool magnetic = false;
    std::string star;  // --star
    bool haveStar = false;
    bool Sections() const { return events || seasons || phases || physical || magnetic; }
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "celvane-ephem: %s\n", message.c_str());
    std::exit(2);
}

bool ParseNumberArg(const char* text, double& out) { return Data::ParseNumber(PL::FromUtf8(text), out); }

// A whole number within [lo, hi].
bool ParseIntArg(const char* text, int32_t lo, int32_t hi, int32_t& out) {
    double v = 0;
    if (!ParseNumberArg(text, v) || v != std::floor(v) || v < lo || v > hi) return false;
    out = static_cast<int32_t>(v);
    return true;
}

// YYYY-MM-DDTHH:MM:SS (seconds optional, a trailing Z allowed; the year may be
// negative, astronomical numbering). The date must exist in its calendar.
bool ParseUtc(const std::string& s, AstroTime& out) {
    int y, mo, d, h, mi, sec = 0;
    char tail[4] = {0};
    int n = std::sscanf(s.c_str(), "%d-%d-%dT%d:%d:%d%3s", &y, &mo, &d, &h, &mi, &sec, tail);
    if (n < 5) return false;
    if (n == 7 && std::strcmp(tail, "Z") != 0) return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || sec < 0 || sec > 59)
        return false;
    if (y < -4700 || y > 9999) return false;
    AstroTime t = FromCalendar(y, mo, d, h, mi, sec);
    CalendarDate back = ToCalendar(t);
    if (back.year != y || back.month != mo || back.day != d) return false;  // e.g. 31 April
    out = t;
    return true;
}

Options ParseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) Fail("option " + a + " needs a value");
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--lang") {
            const std::string v = value();
            if (v == "de") o.language = 0x407;
            else if (v == "en") o.language = 0x409;
            else Fail("invalid --lang '" + v + "' (want de or en)");
        } else if (a == "--utc") {
            const char* v = value();
            if (!ParseUtc(v, o.utc)) Fail(std::string("invalid --utc moment '") + v + "' (want YYYY-MM-DDTHH:MM:SS)");
            o.haveUtc = true;
        } else if (a == "--lat") {
            const char* v = value();
            if (!ParseNumberArg(v, o.lat) || o.lat < -90 || o.lat > 90)
                Fail(std::string("invalid --lat '") + v + "' (want -90 .. 90)");
        } else if (a == "--lon") {
            const char* v = value();
            if (!ParseNumberArg(v, o.lonEast) || o.lonEast < -180 || o.lonEast > 180)
                Fail(std::string("invalid --lon '") + v + "' (want -180 .. 180, east positive)");
        } else if (a == "--star") {
            o.star = value();
            o.haveStar = true;
        } else if (a == "--constellation") {
            const char* ra = value();
            const char* dec = value();
            if (!ParseNumberArg(ra, o.raHours) || o.raHours < 0 || o.raHours > 24)
                Fail(std::string("invalid right ascension '") + ra + "' (want 0 .. 24 hours)");
            if (!ParseNumberArg(dec, o.decDeg) || o.decDeg < -90 || o.decDeg > 90)
                Fail(std::string("invalid declination '") + dec + "' (want -90 .. 90 degrees)");
            o.constellation = true;
        } else if (a == "--zone") {
            const char* v = value();
            if (!ParseIntArg(v, -840, 840, o.zoneMinutes))
                Fail(std::string("invalid --zone '") + v + "' (want whole minutes -840 .. 840, east positive)");
        } else if (a == "--summer") {
            const char* v = value();
            if (!ParseIntArg(v, 0, 2, o.summerMode)) Fail(std::string("invalid --summer '") + v + "' (want 0, 1 or 2)");
        } else if (a == "--events") {
            o.events = true;
        } else if (a == "--seasons") {
            const char* v = value();
            if (!ParseIntArg(v, 1000, 3000, o.seasonYear))
                Fail(std::string("invalid --seasons year '") + v + "' (want 1000 .. 3000)");
            o.seasons = true;
        } else if (a == "--phases") {
            const char* v = value();
            if (!ParseIntArg(v, 1, 1000, o.phaseCount))
                Fail(std::string("invalid --phases count '") + v + "' (want 1 .. 1000)");
            o.phases = true;
        } else if (a == "--physical") {
            o.physical = true;
        } else if (a == "--magnetic") {
            o.magnetic = true;
        } else {
            Fail("unknown argument '" + a + "' (see --help)");
        }
    }
    return o;
}

float Degrees360(float rad) { return Reduce(rad * kRadToDeg, 360.0f); }

std::string UtcText(AstroTime t) {
    CalendarDate c = ToCalendar(t);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                  c.second);
    return buf;
}

const char* const kBodyNames[kBodyCount] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                             "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};

const char* Abbreviation(int constellation) {
    const char* a = ConstellationAbbreviationAscii(constellation);
    return a ? a : "";
}

// The constellation of a J2000 direction: precessed to the equinox of the
// boundaries, B1875.0.
int PrintConstellation(const Options& o) {
    const double ra = o.raHours * 0.26179938779914941;
    const double dec = o.decDeg * 0.017453292519943296;
    const Vec3 j2000{static_cast<float>(std::cos(dec) * std::cos(ra)), static_cast<float>(std::cos(dec) * std::sin(ra)),
                     static_cast<float>(std::sin(dec))};
    const char* abbr = Abbreviation(ConstellationOf(MulMatT(Precession(0.0f, -1.25f), j2000)));
    if (o.json)
        std::printf("{\"ra_h\":%.6f,\"dec_deg\":%.6f,\"constellation\":\"%s\"}\n", o.raHours, o.decDeg, abbr);
    else
        std::printf("%s\n", abbr);
    return 0;
}

void PrintBodiesJson(Ephemeris& e) {
    std::printf(",\"bodies\":[");
    for (int i = 0; i < kBodyCount; ++i) {
        const BodyInfo& b = e.Info(i);
        std::printf(
            "%s{\"index\":%d,\"name\":\"%s\",\"ra_h\":%.6f,\"dec_deg\":%.6f,\"ha_h\":%.6f,"
            "\"ecl_lon_deg\":%.6f,\"ecl_lat_deg\":%.6f,\"az_deg\":%.6f,\"alt_deg\":%.6f,"
            "\"constellation\":\"%s\",\"r_au\":%.8f,\"delta_au\":%.8f,\"phase_deg\":%.6f,"
            "\"elongation_deg\":%.6f,\"illuminated_pct\":%.6f,\"sky_phase_rad\":%.6f,"
            "\"sun_direction_rad\":%.6f}",
            i ? "," : "", i, kBodyNames[i], b.ra, b.dec, b.hourAngle, b.eclipticLon, b.eclipticLat, b.azimuth,
            b.altitude, Abbreviation(b.constellation), b.sunDistance, b.distance, b.phaseAngle, b.elongation,
            b.illuminated, b.skyPhaseAngle, b.sunDirection);
    }
    const Vec3 shadow = e.ApparentPosition(kEarthShadow);
    std::printf("],\"earth_shadow\":{\"x_au\":%.9f,\"y_au\":%.9f,\"z_au\":%.9f}", shadow.x, shadow.y, shadow.z);
}

// --- text output, in the user's language ---------------------------------------

// The native platform with the language of --lang: messages and the date
// and time patterns follow it.
class ToolPlatform : public PL::PosixPlatform {
public:
    uint16_t language = 0;
    uint16_t UserLanguage() override { return language ? language : PL::PosixPlatform::UserLanguage(); }
};

using Data::Message;
const Message kMsgMoment{{0x409, u"Moment (UT)"}, {0x407, u"Zeitpunkt (UT)"}};
const Message kMsgPlace{{0x409, u"Place"}, {0x407, u"Ort"}};
const Message kMsgJulianDay{{0x409, u"Julian Day"}, {0x407, u"Julianisches Datum"}};
const Message kMsgCenturies{{0x409, u"T (centuries)"}, {0x407, u"T (Jahrhunderte)"}};
const Message kMsgSiderealGreenwich{{0x409, u"GMST"}, {0x407, u"Sternzeit Greenwich"}};
const Message kMsgSiderealLocal{{0x409, u"LST"}, {0x407, u"Ortssternzeit"}};
const Message kMsgEquationOfTime{{0x409, u"Equation of time"}, {0x407, u"Zeitgleichung"}};
const Message kMsgEclipticLine{{0x409, u"longitude {0}, latitude {1}, distance {2}"},
                               {0x407, u"L\u00e4nge {0}, Breite {1}, Entfernung {2}"}};
const Message kMsgEarthShadow{{0x409, u"Earth's shadow   x {0}, y {1}, z {2} AU (topocentric, equator of date)"},
                              {0x407, u"Erdschatten      x {0}, y {1}, z {2} AE (topozentrisch, \u00c4quator des Datums)"}};
const Message kMsgColumns[] = {
    {{0x409, u"Body"}, {0x407, u"Objekt"}},         {{0x409, u"RA"}, {0x407, u"RA"}},
    {{0x409, u"Dec"}, {0x407, u"Dekl."}},           {{0x409, u"HA"}, {0x407, u"SW"}},
    {{0x409, u"Azimuth"}, {0x407, u"Azimut"}},      {{0x409, u"Altitude"}, {0x407, u"H\u00f6he"}},
    {{0x409, u"Const"}, {0x407, u"Sternb."}},       {{0x409, u"Distance"}, {0x407, u"Entfernung"}},
    {{0x409, u"Light time"}, {0x407, u"Lichtzeit"}}, {{0x409, u"Sun dist."}, {0x407, u"Sonnenabst."}},
    {{0x409, u"Phase"}, {0x407, u"Phase"}},         {{0x409, u"Elong."}, {0x407, u"Elong."}},
    {{0x409, u"Illum."}, {0x407, u"Beleucht."}}};
const Message kMsgBodies[kBodyCount] = {
    {{0x409, u"Sun"}, {0x407, u"Sonne"}},         {{0x409, u"Moon"}, {0x407, u"Mond"}},
    {{0x409, u"Mercury"}, {0x407, u"Merkur"}},    {{0x409, u"Venus"}, {0x407, u"Venus"}},
    {{0x409, u"Mars"}, {0x407, u"Mars"}},         {{0x409, u"Jupiter"}, {0x407, u"Jupiter"}},
    {{0x409, u"Saturn"}, {0x407, u"Saturn"}},     {{0x409, u"Uranus"}, {0x407, u"Uranus"}},
    {{0x409, u"Neptune"}, {0x407, u"Neptun"}},    {{0x409, u"Pluto"}, {0x407, u"Pluto"}}};

constexpr double kKmPerAU = 149597870.7;

void Put(const std::u16string& s) { std::fputs(PL::ToUtf8(s).c_str(), stdout); }

// Left-aligned in `width` characters (UTF-16 units, not bytes).
std::u16string Pad(std::u16string s, size_t width) {
    if (s.size() < width) s.append(width - s.size(), u' ');
    return s + u' ';
}

void Line(const Message& label, const std::u16string& value) { Put(Pad(Data::MessageText(label), 16) + value + u"\n"); }

std::u16string Deg(double x, double resolution) { return Data::FormatResolution(x, resolution) + u"\u00b0"; }

void PrintText(const Options& o, AstroTime t, float T, float gmst, float lst, float eot, const Vec3& sun,
               const Vec3& moon, Ephemeris& e) {
    using namespace Data;
    Line(kMsgMoment, FormatDate(t) + u" " + FormatTime(t) + u"  (" + PL::FromUtf8(UtcText(t)) + u")");
    Line(kMsgPlace, FormatLatitude(o.lat) + u", " + FormatLongitude(-o.lonEast));
    Line(kMsgJulianDay, FormatResolution(ToJulianDay(t), -0.000001));
    Line(kMsgCenturies, FormatSignificant(T, 9));
    Line(kMsgSiderealGreenwich, FormatSexagesimal(gmst, u"hms1", kHourUnits));
    Line(kMsgSiderealLocal, FormatSexagesimal(lst, u"hms1", kHourUnits));
    Line(kMsgEquationOfTime, FormatHoursAuto(eot));
    Line(kMsgBodies[0], MessageFormat(kMsgEclipticLine, FormatDegrees(Degrees360(sun.x)))
                            .Arg(FormatDegrees(sun.y * kRadToDeg))
                            .Arg(FormatDistance(sun.z * kKmPerAU))
                            .Format());
    Line(kMsgBodies[1], MessageFormat(kMsgEclipticLine, FormatDegrees(Degrees360(moon.x)))
                            .Arg(FormatDegrees(moon.y * kRadToDeg))
                            .Arg(FormatDistance(moon.z))
                            .Format());

    static const size_t kWidths[] = {8, 9, 8, 9, 8, 8, 7, 12, 10, 11, 7, 7, 9};
    std::u16string head = u"\n";
    for (size_t c = 0; c < std::size(kWidths); ++c) head += Pad(MessageText(kMsgColumns[c]), kWidths[c]);
    while (head.back() == u' ') head.pop_back();
    Put(head + u"\n");
    for (int i = 0; i < kBodyCount; ++i) {
        const BodyInfo& b = e.Info(i);
        const std::u16string cells[] = {MessageText(kMsgBodies[i]),
                                        FormatRightAscension(b.ra),
                                        FormatDegrees(b.dec),
                                        FormatHourAngle(b.hourAngle),
                                        FormatDegrees(b.azimuth),
                                        FormatDegrees(b.altitude),
                                        PL::FromUtf8(Abbreviation(b.constellation)),
                                        FormatDistance(b.distance * kKmPerAU),
                                        FormatLightTime(b.distance * kKmPerAU),
                                        i == 0 ? u"-" : FormatDistance(b.sunDistance * kKmPerAU),
                                        Deg(b.phaseAngle, 0.1),
                                        Deg(b.elongation, 0.1),
                                        FormatResolution(b.illuminated, 0.1) + u"%"};
        std::u16string row;
        for (size_t c = 0; c < std::size(kWidths); ++c) row += Pad(cells[c], kWidths[c]);
        while (!row.empty() && row.back() == u' ') row.pop_back();
        Put(row + u"\n");
    }
    const Vec3 shadow = e.ApparentPosition(kEarthShadow);
    Put(MessageFormat(kMsgEarthShadow, FormatSignificant(shadow.x, 9))
            .Arg(FormatSignificant(shadow.y, 9))
            .Arg(FormatSignificant(shadow.z, 9))
            .Format() +
        u"\n");
}

// --- --events, --seasons, --phases, --physical, --magnetic -----------------------

const char* const kTwilightRowNames[kTwilightRowCount] = {
    "sunrise",          "sun_transit",     "sunset",       "moonrise",         "moon_transit",
    "moonset",          "sunrise_previous", "sunset_previous", "sunrise_next", "civil_begin",
    "civil_end",        "nautical_begin",  "nautical_end", "astronomical_begin", "astronomical_end"};
const char* const kSeasonNames[4] = {"March equinox", "June solstice", "September equinox", "December solstice"};
const char* const kPhaseNames[4] = {"new Moon", "first quarter", "full Moon", "last quarter"};

std::string DateText(AstroTime t) {
    CalendarDate c = ToCalendar(t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
    return buf;
}

// A duration in seconds as text for people: hours and minutes, signed.
std::string DurationText(int32_t seconds) { return PL::ToUtf8(Data::FormatHoursAuto(seconds / 3600.0)); }

// The twilight view's day length, night length and change of the day length
// against the previous day, where the events they need were found.
struct DayLengths {
    bool haveDay = false, haveNight = false, haveChange = false;
    int32_t day = 0, night = 0, change = 0;
};

DayLengths Lengths(const TwilightDay& d) {
    const RiseSetEvent* e = d.events;
    DayLengths l;
    if (e[kSunrise].found && e[kSunset].found) {
        l.haveDay = true;
        l.day = DiffSeconds(e[kSunset].ut, e[kSunrise].ut);
    }
    if (e[kSunset].found && e[kSunriseNext].found) {
        l.haveNight = true;
        l.night = DiffSeconds(e[kSunriseNext].ut, e[kSunset].ut);
    }
    if (l.haveDay && e[kSunrisePrevious].found && e[kSunsetPrevious].found) {
        l.haveChange = true;
        l.change = l.day - DiffSeconds(e[kSunsetPrevious].ut, e[kSunrisePrevious].ut);
    }
    return l;
}

void JsonSeconds(const char* key, bool have, int32_t v) {
    if (have)
        std::printf(",\"%s\":%d", key, v);
    else
        std::printf(",\"%s\":null", key);
}

void EventsJson(const Options& o, AstroTime t, const Place& place) {
    const TwilightDay d = TwilightEvents(t, place, o.summerMode);
    std::printf("\"local_date\":\"%s\",\"events\":[", DateText(d.localDate).c_str());
    for (int i = 0; i < kTwilightRowCount; ++i) {
        const RiseSetEvent& e = d.events[i];
        std::printf("%s{\"row\":%d,\"name\":\"%s\",\"found\":%s", i ? "," : "", i, kTwilightRowNames[i],
                    e.found ? "true" : "false");
        if (e.found)
            std::printf(",\"utc\":\"%s\",\"local\":\"%s\",\"az_deg\":%.4f,\"alt_deg\":%.4f}", UtcText(e.ut).c_str(),
                        UtcText(e.local).c_str(), e.azimuth, e.altitude);
        else
            std::printf(",\"utc\":null,\"local\":null,\"az_deg\":null,\"alt_deg\":null}");
    }
    std::printf("]");
    const DayLengths l = Lengths(d);
    JsonSeconds("day_length_s", l.haveDay, l.day);
    JsonSeconds("night_length_s", l.haveNight, l.night);
    JsonSeconds("day_length_change_s", l.haveChange, l.change);
}

void EventsText(const Options& o, AstroTime t, const Place& place) {
    const TwilightDay d = TwilightEvents(t, place, o.summerMode);
    std::printf("Events of the local date %s\n", DateText(d.localDate).c_str());
    std::printf("%-20s %-19s %-19s %9s %9s\n", "Event", "UT", "Local time", "Azimuth", "Altitude");
    for (int i = 0; i < kTwilightRowCount; ++i) {
        const RiseSetEvent& e = d.events[i];
        if (e.found)
            std::printf("%-20s %-19s %-19s %9.3f %9.3f\n", kTwilightRowNames[i], UtcText(e.ut).c_str(),
                        UtcText(e.local).c_str(), e.azimuth, e.altitude);
        else
            std::printf("%-20s %-19s\n", kTwilightRowNames[i], "-");
    }
    const DayLengths l = Lengths(d);
    std::printf("Day length           %s\n", l.haveDay ? DurationText(l.day).c_str() : "-");
    std::printf("Night length         %s\n", l.haveNight ? DurationText(l.night).c_str() : "-");
    std::printf("Change to prev. day  %s\n", l.haveChange ? DurationText(l.change).c_str() : "-");
}

void SeasonsOut(const Options& o, Ephemeris& e, bool json) {
    if (json)
        std::printf("\"seasons\":[");
    else
        std::printf("Equinoxes and solstices of %d\n", o.seasonYear);
    for (int q = 0; q < 4; ++q) {
        const AstroTime t = SeasonEvent(o.seasonYear, q);
        if (json)
            std::printf("%s{\"quarter\":%d,\"name\":\"%s\",\"utc\":\"%s\",\"local\":\"%s\"}", q ? "," : "", q,
                        kSeasonNames[q], UtcText(t).c_str(), UtcText(e.LocalTime(t)).c_str());
        else
            std::printf("%-18s %s UT   %s local\n", kSeasonNames[q], UtcText(t).c_str(), UtcText(e.LocalTime(t)).c_str());
    }
    if (json) std::printf("]");
}

void PhasesOut(const Options& o, Ephemeris& e, bool json) {
    // From the quarter nearest the moment on to the first one not before it.
    MoonPhaseIterator it;
    it.Start(e.moment);
    while (Compare(it.Moment(), e.moment) < 0) it.Next();
    if (json)
        std::printf("\"phases\":[");
    else
        std::printf("Phases of the Moon\n");
    for (int i = 0; i < o.phaseCount; ++i, it.Next()) {
        const AstroTime t = it.Moment();
        if (json)
            std::printf("%s{\"k\":%d,\"phase\":%d,\"name\":\"%s\",\"utc\":\"%s\",\"local\":\"%s\"}", i ? "," : "",
                        it.Index(), it.Phase(), kPhaseNames[it.Phase()], UtcText(t).c_str(),
                        UtcText(e.LocalTime(t)).c_str());
        else
            std::printf("%-14s k %6d  %s UT   %s local\n", kPhaseNames[it.Phase()], it.Index(), UtcText(t).c_str(),
                        UtcText(e.LocalTime(t)).c_str());
    }
    if (json) std::printf("]");
}

void PhysicalOut(Ephemeris& e, bool json) {
    const AstroTime t = e.moment;
    const MoonPhaseInfo moon = e.MoonPhaseData();
    const float age = MoonAge(t);
    const float colongitude = MoonColongitude(t);
    const MarsMeridian mars = MarsCentralMeridian(t);
    const JupiterMeridians jm = JupiterCentralMeridians(t);
    JupiterMoon moons[kJupiterMoonCount];
    JupiterMoons(t, moons);
    const DiscSize jupiter = e.JupiterDisc();
    const DiscSize saturn = e.SaturnDisc();
    const DiscSize rings = e.SaturnRings();
    const float tilt = e.SaturnTilt();
    if (json) {
        std::printf("\"physical\":{\"bodies\":[");
        for (int i = 0; i < kBodyCount; ++i)
            std::printf("%s{\"index\":%d,\"name\":\"%s\",\"diameter_arcsec\":%.4f,\"magnitude\":%.3f}", i ? "," : "",
                        i, kBodyNames[i], e.AngularDiameter(i), e.Magnitude(i));
        std::printf("],\"moon\":{\"age_days\":%.4f,\"illuminated_pct\":%.3f,\"waxing\":%s,\"sun_angle_rad\":%.5f,"
                    "\"sun_direction_rad\":%.5f,\"axis_angle_rad\":%.5f,\"colongitude_deg\":%.3f}",
                    age, moon.illuminated, moon.waxing ? "true" : "false", moon.sunAngle, moon.sunDirection,
                    moon.axisAngle, colongitude);
        std::printf(",\"mars\":{\"central_meridian_deg\":%d,\"earth_declination_deg\":%d}", mars.centralMeridian,
                    mars.earthDeclination);
        std::printf(",\"jupiter\":{\"equatorial_arcsec\":%.3f,\"polar_arcsec\":%.3f,\"central_meridian_1_deg\":%d,"
                    "\"central_meridian_2_deg\":%d,\"moons\":[",
                    jupiter.major, jupiter.minor, jm.system1, jm.system2);
        for (int i = 0; i < kJupiterMoonCount; ++i)
            std::printf("%s{\"letter\":\"%c\",\"x\":%.3f,\"y\":%.3f,\"in_front\":%s}", i ? "," : "",
                        static_cast<char>(moons[i].letter), moons[i].x, moons[i].y, moons[i].inFront ? "true" : "false");
        std::printf("]},\"saturn\":{\"tilt_sine\":%.5f,\"tilt_deg\":%.3f,\"equatorial_arcsec\":%.3f,"
                    "\"polar_arcsec\":%.3f,\"ring_major_arcsec\":%.3f,\"ring_minor_arcsec\":%.3f}}",
                    tilt, Asin(tilt) * kRadToDeg, saturn.major, saturn.minor, rings.major, rings.minor);
        return;
    }
    std::printf("%-8s %14s %10s\n", "Body", "Diameter (\")", "Magnitude");
    for (int i = 0; i < kBodyCount; ++i)
        std::printf("%-8s %14.3f %10.2f\n", kBodyNames[i], e.AngularDiameter(i), e.Magnitude(i));
    std::printf("Moon     age %.2f days, illuminated %.1f %%, %s, colongitude %.2f deg\n", age, moon.illuminated,
                moon.waxing ? "waxing" : "waning", colongitude);
    std::printf("         Sun on the disc: angle %.4f rad, direction %.4f rad; axis %.4f rad\n", moon.sunAngle,
                moon.sunDirection, moon.axisAngle);
    std::printf("Mars     central meridian %d deg, Earth's declination %d deg\n", mars.centralMeridian,
                mars.earthDeclination);
    std::printf("Jupiter  %.2f x %.2f\", central meridians I %d deg, II %d deg\n", jupiter.major, jupiter.minor,
                jm.system1, jm.system2);
    for (const JupiterMoon& m : moons)
        std::printf("         %c  X %+7.3f  Y %+7.3f  %s\n", static_cast<char>(m.letter), m.x, m.y,
                    m.inFront ? "in front" : "behind");
    std::printf("Saturn   %.2f x %.2f\", rings %.2f x %.2f\", ring tilt %.3f deg\n", saturn.major, saturn.minor,
                rings.major, rings.minor, Asin(tilt) * kRadToDeg);
}

void MagneticOut(Ephemeris& e, bool json) {
    MagneticModel mm;
    mm.latitude = e.place.latitude;
    mm.longitude = e.place.longitude;
    mm.height = 0.0f;
    mm.moment = e.moment;
    mm.Recompute();
    const std::string model = PL::ToUtf8(mm.ModelName());
    if (json) {
        if (mm.valid)
            std::printf("\"magnetic\":{\"valid\":true,\"model\":\"%s\",\"declination_deg\":%.4f,"
                        "\"inclination_deg\":%.4f,\"intensity_nt\":%.1f}",
                        model.c_str(), mm.declination, mm.inclination, mm.intensity);
        else
            std::printf("\"magnetic\":{\"valid\":false,\"model\":null,\"declination_deg\":null,"
                        "\"inclination_deg\":null,\"intensity_nt\":null}");
        return;
    }
    if (mm.valid)
        std::printf("Magnetic field   %s: declination %.3f deg, inclination %.3f deg, intensity %.1f nT\n",
                    model.c_str(), mm.declination, mm.inclination, mm.intensity);
    else
        std::printf("Magnetic field   no model for this moment and place\n");
}

int PrintSections(const Options& o, Ephemeris& e) {
    const bool json = o.json;
    bool first = true;
    auto next = [&]() {
        if (json)
            std::printf(first ? "{" : ",");
        else if (!first)
            std::printf("\n");
        first = false;
    };
    if (o.events) {
        next();
        if (json)
            EventsJson(o, e.moment, e.place);
        else
            EventsText(o, e.moment, e.place);
    }
    if (o.seasons) {
        next();
        SeasonsOut(o, e, json);
    }
    if (o.phases) {
        next();
        PhasesOut(o, e, json);
    }
    if (o.physical) {
        next();
        PhysicalOut(e, json);
    }
    if (o.magnetic) {
        next();
        MagneticOut(e, json);
    }
    if (json) std::printf("}\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    ToolPlatform platform;
    PL::SetCurrent(&platform);
    Options o = ParseArgs(argc, argv);
    platform.language = o.language;
    if (o.constellation) return PrintConstellation(o);
    const AstroTime t = o.haveUtc ? o.utc : Now();
    const float westLon = static_cast<float>(-o.lonEast);

    const float T = JulianCenturies(t);
    const float gmst = GreenwichSiderealTime(t);
    const float lst = LocalSiderealTime(gmst, westLon);
    const float eot = EquationOfTime(t);
    const Vec3 sun = SunPosition(t);
    const Vec3 moon = MoonPosition(t);

    Ephemeris ephemeris;
    ephemeris.moment = t;
    ephemeris.place.latitude = static_cast<float>(o.lat);
    ephemeris.place.longitude = westLon;
    ephemeris.place.timeZone = o.zoneMinutes;
    ephemeris.summerMode = o.summerMode;
    ephemeris.Invalidate();
    if (o.haveStar) return PrintStar(o.star, ephemeris, o.json);
    if (o.Sections()) return PrintSections(o, ephemeris);

    if (o.json) {
        std::printf(
            "{\"utc\":\"%s\",\"mjd_day\":%d,\"mjd_seconds\":%d,\"jd\":%.6f,\"t\":%.9f,"
            "\"gmst_h\":%.6f,\"lst_h\":%.6f,\"eot_h\":%.6f,"
            "\"sun\":{\"lon_deg\":%.6f,\"lat_deg\":%.6f,\"dist_au\":%.8f},"
            "\"moon\":{\"lon_deg\":%.6f,\"lat_deg\":%.6f,\"dist_km\":%.3f}",
            UtcText(t).c_str(), t.day, t.seconds, ToJulianDay(t), T, gmst, lst, eot, Degrees360(sun.x),
            sun.y * kRadToDeg, sun.z, Degrees360(moon.x), moon.y * kRadToDeg, moon.z);
        PrintBodiesJson(ephemeris);
        std::printf("}\n");
        return 0;
    }
    PrintText(o, t, T, gmst, lst, eot, sun, moon, ephemeris);
    return 0;
}
