#include "ephem_star.h"

#include "ephem_json.h"

#include <cmath>
#include <cstdio>

#include "data/platform.h"
#include "data/starcatalog.h"
#include "data/starlookup.h"
#include "engine/constellations.h"
#include "engine/ephemeris.h"
#include "engine/vecmath.h"

namespace {

// "stars.dat" in the program's folder, else in the data folder.
std::u16string LocateStarFile() {
    PL::Platform& pl = PL::Current();
    const std::u16string sep(1, pl.PathSeparator());
    for (const std::u16string& candidate : {pl.ProgramFolder() + sep + u"stars.dat",
                                            pl.AppDataFolder() + sep + u"celvane" + sep + u"stars.dat"})
        if (pl.FileExists(candidate)) return candidate;
    return std::u16string();
}


}  // namespace

int PrintStar(const std::string& text, Calc::Ephemeris& ephemeris, bool json) {
    Data::LoadStarResources();
    Data::SetStarFilePath(LocateStarFile());
    const Data::StarNumber n = Data::StarFromNumberText(PL::FromUtf8(text));
    if (n < 0) {
        if (json) std::printf("{\"star\":null}\n");
        else std::printf("No star %s\n", text.c_str());
        return 1;
    }
    const Data::StarInfo s = Data::ReadStar(n);
    const std::string tyc = s.tyc.tyc1 ? std::to_string(s.tyc.tyc1) + "-" + std::to_string(s.tyc.tyc2) + "-" +
                                             std::to_string(s.tyc.tyc3)
                                       : std::string();
    const Calc::Vec3 j2000{s.x / 32767.0f, s.y / 32767.0f, s.z / 32767.0f};
    double ra = std::atan2(double(j2000.y), double(j2000.x)) * 12 / 3.14159265358979323846;
    if (ra < 0) ra += 24;
    const double dec = std::atan2(double(j2000.z), std::hypot(double(j2000.x), double(j2000.y))) * 180 /
                       3.14159265358979323846;
    const Calc::BodyInfo b = ephemeris.InfoFor(ephemeris.StarApparent(j2000), Calc::InfoFields::Position);
    const char* con = Calc::ConstellationAbbreviationAscii(b.constellation);
    const std::string spectral = PL::ToUtf8(s.spectral);
    if (json) {
        std::printf(
            "{\"star\":{\"number\":%d,\"hr\":%u,\"hip\":%u,\"tyc\":%s,\"vmag\":%.2f,\"colour_class\":%u,"
            "\"parallax_mas\":%u,\"spectral\":%s,\"ra_j2000_h\":%.6f,\"dec_j2000_deg\":%.6f,"
            "\"ra_h\":%.6f,\"dec_deg\":%.6f,\"az_deg\":%.6f,\"alt_deg\":%.6f,\"constellation\":\"%s\"}}\n",
            n, unsigned(s.hr), unsigned(s.hip), JsonText(tyc).c_str(), s.magnitude / 100.0,
            unsigned(s.colourClass), unsigned(s.parallax), JsonText(spectral).c_str(), ra, dec, b.ra, b.dec,
            b.azimuth, b.altitude, con ? con : "");
        return 0;
    }
    std::printf("Star             %s (star number %d)\n", PL::ToUtf8(Data::StarNumberRowText(n)).c_str(), n);
    std::printf("V                %.2f\n", s.magnitude / 100.0);
    std::printf("Colour class     %u\n", unsigned(s.colourClass));
    if (s.parallax) std::printf("Parallax         %u mas\n", unsigned(s.parallax));
    if (!spectral.empty()) std::printf("Spectral type    %s\n", spectral.c_str());
    std::printf("J2000            RA %.6f h, Dec %.6f deg\n", ra, dec);
    std::printf("Apparent         RA %.6f h, Dec %.6f deg, Az %.4f deg, Alt %.4f deg, %s\n", b.ra, b.dec,
                b.azimuth, b.altitude, con ? con : "");
    return 0;
}
