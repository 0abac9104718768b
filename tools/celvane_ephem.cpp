// celvane-ephem: the engine's answers for one moment and place, as text or
// JSON. Longitude on the command line is EAST positive (the usual
// geographic sign); the engine itself counts longitude west positive.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "data/messages.h"
#ifdef _WIN32
#include "winlib/platform_win32.h"
#include "winlib/win32.h"
#include "winlib/wstr.h"
#else
#include "data/native/posix_platform.h"
#endif
#include "data/numtext.h"
#include "engine/astrotime.h"
#include "engine/constellations.h"
#include "engine/ephemeris.h"
#include "engine/sunmoon.h"
#include "engine/vecmath.h"
#include "ephem_events.h"
#include "ephem_objects.h"
#include "ephem_places.h"
#include "ephem_star.h"
#include "observer_args.h"

using namespace Calc;

namespace {

const char kUsage[] =
    "usage: celvane-ephem [--utc YYYY-MM-DDTHH:MM:SS] [--lat DEG] [--lon DEG] [--json]\n"
    "  --utc   the moment in UT (default: now)\n"
    "  --lat   latitude in degrees, north positive (default 51.48)\n"
    "  --lon   longitude in degrees, east positive (default 0)\n"
    "  --place NAME   a built-in or user place (\"Zurich\", \"New York, NY\") instead of\n"
    "                 --lat, --lon and --zone\n"
    "  --places [REGION]  list the places (of one region: Africa, America, Asia,\n"
    "                 Carribean, Europe, Oceania, \"User defined\")\n"
    "  --json  print one JSON object instead of text\n"
    "  --lang  de or en: the language of the text (default: the locale's)\n"
    "  --star TEXT    the star of a catalogue number (\"HR 2491\", \"HIP 32349\",\n"
    "                 \"TYC 5949-2777-1\") and its apparent place; exit status 1 if none\n"
    "  --object KEY   any object by its key (\"Mars\", \"Star4126\", \"ConOri\",\n"
    "                 \"Obj12,Messier\", \"AC1P,Comets\"): name, description, magnitude,\n"
    "                 distance and place; exit status 1 if it names nothing\n"
    "  --list FILE    the objects of a user-object (.puo) or comet (.pco) file\n"
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
    ObserverArgs observer;  // --utc, --lat, --lon, --place, --zone, --summer
    bool json = false;
    uint16_t language = 0;  // 0: the locale's
    bool constellation = false;
    double raHours = 0.0;  // J2000, for --constellation
    double decDeg = 0.0;
    bool events = false;
    bool seasons = false;
    int32_t seasonYear = 0;
    bool phases = false;
    int32_t phaseCount = 0;
    bool physical = false;
    bool magnetic = false;
    std::string object;  // --object
    bool haveObject = false;
    std::string list;  // --list
    bool haveList = false;
    std::string star;  // --star
    bool haveStar = false;
    bool listPlaces = false;  // --places
    std::string placesRegion;
    bool Sections() const { return events || seasons || phases || physical || magnetic; }
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "celvane-ephem: %s\n", message.c_str());
    std::exit(2);
}

Options ParseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) Fail("option " + a + " needs a value");
            return argv[++i];
        };
        if (ParseObserverArg(argc, argv, i, o.observer, Fail)) {
            continue;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--lang") {
            const std::string v = value();
            if (v == "de") o.language = 0x407;
            else if (v == "en") o.language = 0x409;
            else Fail("invalid --lang '" + v + "' (want de or en)");
        } else if (a == "--places") {
            // The region is optional.
            if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) o.placesRegion = argv[++i];
            o.listPlaces = true;
        } else if (a == "--object") {
            o.object = value();
            o.haveObject = true;
        } else if (a == "--list") {
            o.list = value();
            o.haveList = true;
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
    CheckObserverArgs(o.observer, Fail);
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

// The system's platform layer with the language of --lang: messages and the
// date and time patterns follow it.
#ifdef _WIN32
using SystemPlatform = PL::Win32Platform;
#else
using SystemPlatform = PL::PosixPlatform;
#endif
class ToolPlatform : public SystemPlatform {
public:
    uint16_t language = 0;
    uint16_t UserLanguage() override { return language ? language : SystemPlatform::UserLanguage(); }
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
    Line(kMsgPlace, FormatLatitude(o.observer.lat) + u", " + FormatLongitude(-o.observer.lonEast));
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

}  // namespace

#ifdef _WIN32
int EphemMain(int argc, char** argv);

// Windows hands the arguments over in UTF-16: they become UTF-8 like a POSIX
// command line's, and the console shows the UTF-8 output as such.
extern "C" int wmain(int argc, WCHAR** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(PL::ToUtf8(U16(argv[i])));
    std::vector<char*> pointers;
    for (std::string& a : args) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    SetConsoleOutputCP(CP_UTF8);
    return EphemMain(argc, pointers.data());
}

int EphemMain(int argc, char** argv) {
#else
int main(int argc, char** argv) {
#endif
    ToolPlatform platform;
    PL::SetCurrent(&platform);
    Options o = ParseArgs(argc, argv);
    platform.language = o.language;
    if (o.constellation) return PrintConstellation(o);
    if (o.listPlaces) return PrintPlaces(o.placesRegion, o.json);
    Ephemeris ephemeris;
    if (!ApplyObserverArgs(o.observer, Now(), ephemeris)) return 1;
    const AstroTime t = ephemeris.moment;
    const float westLon = ephemeris.place.longitude;

    const float T = JulianCenturies(t);
    const float gmst = GreenwichSiderealTime(t);
    const float lst = LocalSiderealTime(gmst, westLon);
    const float eot = EquationOfTime(t);
    const Vec3 sun = SunPosition(t);
    const Vec3 moon = MoonPosition(t);

    if (o.haveStar) return PrintStar(o.star, ephemeris, o.json);
    if (o.haveObject) return PrintObject(o.object, ephemeris, o.json);
    if (o.haveList) return PrintObjectList(o.list, ephemeris, o.json);
    if (o.Sections()) {
        EventSections sections;
        sections.events = o.events;
        sections.seasons = o.seasons;
        sections.seasonYear = o.seasonYear;
        sections.phases = o.phases;
        sections.phaseCount = o.phaseCount;
        sections.physical = o.physical;
        sections.magnetic = o.magnetic;
        return PrintEventSections(sections, ephemeris, o.json);
    }

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
