#include "views/core/twilight_table.h"

#include "data/numtext.h"

namespace UI {
namespace Twilight {

using Data::Message;
using namespace Calc;

const Message kMsgDate{{0x409, u"Date"}, {0x407, u"Datum"}};
const Message kMsgLocation{{0x409, u"Location"}, {0x407, u"Ort"}};
const Message kMsgRise{{0x409, u"Rise"}, {0x407, u"Aufg."}};
const Message kMsgTransit{{0x409, u"Transit"}, {0x407, u"Durchg."}};
const Message kMsgSet{{0x409, u"Set"}, {0x407, u"Unterg."}};
const Message kMsgSun{{0x409, u"Sun"}, {0x407, u"Sonne"}};
const Message kMsgMoon{{0x409, u"Moon"}, {0x407, u"Mond"}};
const Message kMsgDayNight{{0x409, u"Day/Night Length"}, {0x407, u"Tag-/Nachtl\u00e4nge"}};
const Message kMsgDiff{{0x409, u"Diff. to prev. day"}, {0x407, u"Diff. zu vorh. Tag"}};
const Message kMsgTwilight{{0x409, u"Twilight"}, {0x407, u"D\u00e4mmerung"}};
const Message kMsgMorning{{0x409, u"Morning"}, {0x407, u"Morgen"}};
const Message kMsgEvening{{0x409, u"Evening"}, {0x407, u"Abend"}};
const Message kMsgCivil{{0x409, u"Civil"}, {0x407, u"B\u00fcrgerlich"}};
const Message kMsgNautical{{0x409, u"Nautical"}, {0x407, u"Nautisch"}};
const Message kMsgAstronomical{{0x409, u"Astronomical"}, {0x407, u"Astronomisch"}};
const Message kMsgMarkers{{0x409, u"</> = previous/following day"}, {0x407, u"</> = vorheriger/folgender Tag"}};

std::u16string DayMarker(const RiseSetEvent& event, int32_t displayedLocalDay) {
    if (!event.found) return u" ";
    if (event.local.day < displayedLocalDay) return u"<";
    if (event.local.day > displayedLocalDay) return u">";
    return u" ";
}

std::u16string DurationText(int32_t seconds) { return Data::FormatHoursAuto(seconds * 0.00027777778); }

PageTexts MakePageTexts(const TwilightDay& day, AstroTime displayedLocal) {
    PageTexts p;
    const RiseSetEvent* e = day.events;
    p.date = Data::FormatDate(displayedLocal);
    for (int i = 0; i < kTwilightRowCount; ++i) p.times[i] = e[i].found ? Data::FormatTime(e[i].local) : u"-";
    for (int i = 0; i < 6; ++i) p.markers[i] = DayMarker(e[i], displayedLocal.day);
    const bool sunrise = e[kSunrise].found != 0, sunset = e[kSunset].found != 0;
    p.dayLength = sunrise && sunset ? DurationText(DiffSeconds(e[kSunset].ut, e[kSunrise].ut)) : u"-";
    p.nightLength =
        sunset && e[kSunriseNext].found ? DurationText(DiffSeconds(e[kSunriseNext].ut, e[kSunset].ut)) : u"-";
    if (sunrise && sunset && e[kSunrisePrevious].found && e[kSunsetPrevious].found)
        p.change = DurationText(DiffSeconds(e[kSunset].ut, e[kSunrise].ut) -
                                DiffSeconds(e[kSunsetPrevious].ut, e[kSunrisePrevious].ut));
    else
        p.change = u"-";
    return p;
}

}  // namespace Twilight
}  // namespace UI
