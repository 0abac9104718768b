// The twilight view's page as texts: the day's fifteen events (computed by
// Calc::TwilightEvents) turned into the times, day markers and durations the
// table shows, with the labels in the user's language.
#pragma once

#include <string>

#include "data/messages.h"
#include "engine/events.h"

namespace UI {
namespace Twilight {

// The labels of the page.
extern const Data::Message kMsgDate, kMsgLocation, kMsgRise, kMsgTransit, kMsgSet, kMsgSun, kMsgMoon,
    kMsgDayNight, kMsgDiff, kMsgTwilight, kMsgMorning, kMsgEvening, kMsgCivil, kMsgNautical, kMsgAstronomical,
    kMsgMarkers;

struct PageTexts {
    std::u16string date;
    // Every event's local time, "-" when it does not happen.
    std::u16string times[Calc::kTwilightRowCount];
    // The Sun's and the Moon's rows (0 .. 5): "<" for an event on the day
    // before the displayed one, ">" for one on the day after, " " otherwise.
    std::u16string markers[6];
    std::u16string dayLength, nightLength, change;
};

// The day marker of an event against the displayed local day.
std::u16string DayMarker(const Calc::RiseSetEvent& event, int32_t displayedLocalDay);

// A duration in seconds as hours ("15h48m", "-2m32s"; the sign kept).
std::u16string DurationText(int32_t seconds);

// The texts of a day; `displayedLocal` is the displayed moment on the
// place's clock (its date is shown, its day number decides the markers).
PageTexts MakePageTexts(const Calc::TwilightDay& day, Calc::AstroTime displayedLocal);

}  // namespace Twilight
}  // namespace UI
