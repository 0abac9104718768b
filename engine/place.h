// An observer's place: where on the Earth, and which clock it keeps. A plain
// value; the places database and the preferences store and edit it.
#pragma once

#include <cstdint>
#include <string>

namespace Calc {

struct Place {
    float latitude = 51.48f;  // degrees, north positive
    float longitude = 0.0f;   // degrees, WEST positive
    float elevation = 0.0f;   // metres; kept with the place, not used by the engine
    std::u16string name = u"Greenwich";
    std::u16string region = u"Europe";
    int32_t timeZone = 0;     // standard-time offset from UT, minutes, EAST positive

    // A default-made place is Greenwich.
    static Place Default() { return Place(); }
};

inline bool operator==(const Place& a, const Place& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude && a.elevation == b.elevation &&
           a.name == b.name && a.region == b.region && a.timeZone == b.timeZone;
}
inline bool operator!=(const Place& a, const Place& b) { return !(a == b); }

}  // namespace Calc
