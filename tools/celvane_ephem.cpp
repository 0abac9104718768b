// celvane-ephem: the engine's answers for one moment and place, as text or
// JSON. Longitude on the command line is EAST positive (the usual
// geographic sign); the engine itself counts longitude west positive.
#include <cstdio>
#include <cstring>
#include <string>

#include "data/native/posix_platform.h"
#include "data/numtext.h"
#include "engine/astrotime.h"
#include "engine/sunmoon.h"
#include "engine/vecmath.h"

using namespace Calc;

namespace {

const char kUsage[] =
    "usage: celvane-ephem [--utc YYYY-MM-DDTHH:MM:SS] [--lat DEG] [--lon DEG] [--json]\n"
    "  --utc   the moment in UT (default: now)\n"
    "  --lat   latitude in degrees, north positive (default 51.48)\n"
    "  --lon   longitude in degrees, east positive (default 0)\n"
    "  --json  print one JSON object instead of text\n";

struct Options {
    AstroTime utc;
    bool haveUtc = false;
    double lat = 51.48;
    double lonEast = 0.0;
    bool json = false;
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

}  // namespace

int main(int argc, char** argv) {
    PL::PosixPlatform platform;
    PL::SetCurrent(&platform);
    Options o = ParseArgs(argc, argv);
    const AstroTime t = o.haveUtc ? o.utc : Now();
    const float westLon = static_cast<float>(-o.lonEast);

    const float T = JulianCenturies(t);
    const float gmst = GreenwichSiderealTime(t);
    const float lst = LocalSiderealTime(gmst, westLon);
    const float eot = EquationOfTime(t);
    const Vec3 sun = SunPosition(t);
    const Vec3 moon = MoonPosition(t);

    if (o.json) {
        std::printf(
            "{\"utc\":\"%s\",\"mjd_day\":%d,\"mjd_seconds\":%d,\"jd\":%.6f,\"t\":%.9f,"
            "\"gmst_h\":%.6f,\"lst_h\":%.6f,\"eot_h\":%.6f,"
            "\"sun\":{\"lon_deg\":%.6f,\"lat_deg\":%.6f,\"dist_au\":%.8f},"
            "\"moon\":{\"lon_deg\":%.6f,\"lat_deg\":%.6f,\"dist_km\":%.3f}}\n",
            UtcText(t).c_str(), t.day, t.seconds, ToJulianDay(t), T, gmst, lst, eot, Degrees360(sun.x),
            sun.y * kRadToDeg, sun.z, Degrees360(moon.x), moon.y * kRadToDeg, moon.z);
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
    return 0;
}
