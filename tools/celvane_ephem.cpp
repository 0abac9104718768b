// celvane-ephem: the engine's answers for one moment and place, as text or
// JSON. Longitude on the command line is EAST positive (the usual
// geographic sign); the engine itself counts longitude west positive.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "data/native/posix_platform.h"
#include "data/numtext.h"
#include "engine/astrotime.h"
#include "engine/constellations.h"
#include "engine/ephemeris.h"
#include "engine/sunmoon.h"
#include "engine/vecmath.h"

using namespace Calc;

namespace {

const char kUsage[] =
    "usage: celvane-ephem [--utc YYYY-MM-DDTHH:MM:SS] [--lat DEG] [--lon DEG] [--json]\n"
    "  --utc   the moment in UT (default: now)\n"
    "  --lat   latitude in degrees, north positive (default 51.48)\n"
    "  --lon   longitude in degrees, east positive (default 0)\n"
    "  --json  print one JSON object instead of text\n"
    "  --constellation RA_H DEC_DEG\n"
    "          print the constellation of a direction (J2000) instead\n";

struct Options {
    AstroTime utc;
    bool haveUtc = false;
    double lat = 51.48;
    double lonEast = 0.0;
    bool json = false;
    bool constellation = false;
    double raHours = 0.0;  // J2000, for --constellation
    double decDeg = 0.0;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "celvane-ephem: %s\n", message.c_str());
    std::exit(2);
}

bool ParseNumberArg(const char* text, double& out) { return Data::ParseNumber(PL::FromUtf8(text), out); }

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
        } else if (a == "--constellation") {
            const char* ra = value();
            const char* dec = value();
            if (!ParseNumberArg(ra, o.raHours) || o.raHours < 0 || o.raHours > 24)
                Fail(std::string("invalid right ascension '") + ra + "' (want 0 .. 24 hours)");
            if (!ParseNumberArg(dec, o.decDeg) || o.decDeg < -90 || o.decDeg > 90)
                Fail(std::string("invalid declination '") + dec + "' (want -90 .. 90 degrees)");
            o.constellation = true;
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

void PrintBodiesText(Ephemeris& e) {
    std::printf("\n%-8s %10s %10s %10s %10s %10s %6s %11s %11s %8s %8s %6s\n", "Body", "RA (h)", "Dec", "HA (h)",
                "Azimuth", "Altitude", "Const", "r (AU)", "Delta (AU)", "Phase", "Elong", "Illum%");
    for (int i = 0; i < kBodyCount; ++i) {
        const BodyInfo& b = e.Info(i);
        std::printf("%-8s %10.5f %10.4f %10.5f %10.4f %10.4f %6s %11.6f %11.6f %8.3f %8.3f %6.2f\n", kBodyNames[i],
                    b.ra, b.dec, b.hourAngle, b.azimuth, b.altitude, Abbreviation(b.constellation), b.sunDistance,
                    b.distance, b.phaseAngle, b.elongation, b.illuminated);
    }
    const Vec3 shadow = e.ApparentPosition(kEarthShadow);
    std::printf("Earth's shadow   x %.9f, y %.9f, z %.9f AU (topocentric, equator of date)\n", shadow.x, shadow.y,
                shadow.z);
}

}  // namespace

int main(int argc, char** argv) {
    PL::PosixPlatform platform;
    PL::SetCurrent(&platform);
    Options o = ParseArgs(argc, argv);
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
    ephemeris.Invalidate();

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
    std::printf("Moment (UT)      %s\n", UtcText(t).c_str());
    std::printf("Place            latitude %.4f, longitude %.4f (east positive)\n", o.lat, o.lonEast);
    std::printf("MJD              day %d, second %d\n", t.day, t.seconds);
    std::printf("Julian Day       %.6f\n", ToJulianDay(t));
    std::printf("T (centuries)    %.9f\n", T);
    std::printf("GMST             %.6f h\n", gmst);
    std::printf("LST              %.6f h\n", lst);
    std::printf("Equation of time %.6f h\n", eot);
    std::printf("Sun              longitude %.5f deg, latitude %.5f deg, distance %.7f AU\n", Degrees360(sun.x),
                sun.y * kRadToDeg, sun.z);
    std::printf("Moon             longitude %.5f deg, latitude %.5f deg, distance %.1f km\n", Degrees360(moon.x),
                moon.y * kRadToDeg, moon.z);
    PrintBodiesText(ephemeris);
    return 0;
}
