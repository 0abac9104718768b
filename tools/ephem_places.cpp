#include "ephem_places.h"

#include <cstdio>
#include <string>
#include <vector>

#include "ephem_json.h"
#include "data/numtext.h"
#include "data/objectfiles.h"
#include "data/platform.h"
#include "settings/places.h"
#include "settings/properties.h"

namespace {

std::u16string Lower(const std::u16string& s) {
    std::u16string out = s;
    for (char16_t& c : out)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return out;
}

Data::PlaceMap All() {
    // The user places live where the program keeps them.
    Data::SetUserPlacesFolder(Data::ObjectFileManagerBase::DataFolder());
    Data::PlaceMap all;
    Data::AllPlaces(all);
    return all;
}

std::string Number(float v) { return PL::ToUtf8(Data::GeneralText(v, 6)); }

// "+01:00", "-03:30".
std::string ZoneText(int minutes) {
    char buf[16];
    const int m = minutes < 0 ? -minutes : minutes;
    std::snprintf(buf, sizeof buf, "%c%02d:%02d", minutes < 0 ? '-' : '+', m / 60, m % 60);
    return buf;
}

}  // namespace

bool FindPlace(const std::string& name, Calc::Place& place) {
    const Data::PlaceMap all = All();
    const std::u16string wanted = PL::FromUtf8(name);
    auto exact = all.find(wanted);
    if (exact != all.end()) {
        place = exact->second;
        return true;
    }
    std::vector<const Calc::Place*> hits;
    for (const auto& kv : all)
        if (Lower(kv.first) == Lower(wanted)) hits.push_back(&kv.second);
    if (hits.size() == 1) {
        place = *hits.front();
        return true;
    }
    if (hits.empty()) {
        std::fprintf(stderr, "celvane-ephem: no place '%s' (see --places)\n", name.c_str());
    } else {
        std::fprintf(stderr, "celvane-ephem: '%s' names several places:", name.c_str());
        for (const Calc::Place* p : hits) std::fprintf(stderr, " '%s'", PL::ToUtf8(p->name).c_str());
        std::fputc('\n', stderr);
    }
    return false;
}

int PrintPlaces(const std::string& region, bool json) {
    std::u16string filter = PL::FromUtf8(region);
    if (!filter.empty()) {
        bool known = false;
        for (const char16_t* r : Data::kRegionNames) {
            if (Lower(filter) == Lower(r)) {
                filter = r;
                known = true;
            }
        }
        if (!known) {
            std::fprintf(stderr, "celvane-ephem: no region '%s' (want one of:", region.c_str());
            for (const char16_t* r : Data::kRegionNames) std::fprintf(stderr, " \"%s\"", PL::ToUtf8(r).c_str());
            std::fputs(")\n", stderr);
            return 2;
        }
    }
    const Data::PlaceMap all = All();
    if (json) std::fputs("{\"places\":[", stdout);
    bool first = true;
    for (const auto& kv : all) {
        const Calc::Place& p = kv.second;
        if (!filter.empty() && p.region != filter) continue;
        if (json) {
            std::printf("%s{\"name\":%s,\"region\":%s,\"lat\":%s,\"lon_west\":%s,\"zone_min\":%d}", first ? "" : ",",
                        JsonText(p.name).c_str(), JsonText(p.region).c_str(), Number(p.latitude).c_str(),
                        Number(p.longitude).c_str(), p.timeZone);
        } else {
            std::printf("%-32s %-12s %-9s %-10s UTC%s\n", PL::ToUtf8(p.name).c_str(), PL::ToUtf8(p.region).c_str(),
                        PL::ToUtf8(Data::FormatLatitude(p.latitude)).c_str(),
                        PL::ToUtf8(Data::FormatLongitude(p.longitude)).c_str(), ZoneText(p.timeZone).c_str());
        }
        first = false;
    }
    if (json) std::fputs("]}\n", stdout);
    return 0;
}
