#include "views/view_texts.h"

#include "app/shell.h"
#include "data/numtext.h"
#include "data/platform.h"

#include <cstdio>
#include <cstdlib>

namespace UI {

std::u16string PlaceName(const Calc::Place& place) {
    if (!place.name.empty()) return place.name;
    return Data::FormatLatitude(place.latitude) + u", " + Data::FormatLongitude(place.longitude);
}

std::u16string UtcOffsetText(int32_t minutes) {
    if (minutes == 0) return u"UTC";
    const int32_t m = std::abs(minutes);
    char buf[24];
    if (m % 60 == 0)
        std::snprintf(buf, sizeof buf, "UTC%c%d", minutes < 0 ? '-' : '+', m / 60);
    else
        std::snprintf(buf, sizeof buf, "UTC%c%d:%02d", minutes < 0 ? '-' : '+', m / 60, m % 60);
    return PL::FromUtf8(buf);
}

std::u16string DisplayedTimeLine() {
    const Calc::AstroTime local = ProgramEphemeris().LocalTime();
    return Data::FormatDate(local) + u" " + Data::FormatTime(local);
}

std::u16string DisplayedPlaceLine() {
    Calc::Ephemeris& eph = ProgramEphemeris();
    return PlaceName(eph.place) + u", " + UtcOffsetText(Calc::DiffSeconds(eph.LocalTime(), eph.moment) / 60);
}

}  // namespace UI
