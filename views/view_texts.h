// Texts the three main views share: the tips of the toolbar buttons they
// have in common, and the lines of the displayed moment and place.
#pragma once

#include "data/messages.h"
#include "engine/place.h"

#include <cstdint>
#include <string>

namespace UI {

inline constexpr Data::Message kMsgTimeMode{{0x409, u"Time Mode"}, {0x407, u"Zeitmodus"}};
inline constexpr Data::Message kMsgSkyView{{0x409, u"Sky View"}, {0x407, u"Himmelsansicht"}};
inline constexpr Data::Message kMsgCompassView{{0x409, u"Compass View"}, {0x407, u"Kompassansicht"}};
inline constexpr Data::Message kMsgSearchObject{{0x409, u"Search Object"}, {0x407, u"Objekt suchen"}};

// The place's name, or for an unnamed place its latitude and longitude.
std::u16string PlaceName(const Calc::Place& place);
// An offset from universal time in minutes: "UTC", "UTC+1", "UTC-3:30".
std::u16string UtcOffsetText(int32_t minutes);
// The program's displayed moment on the place's clock ("date time"), and
// the place with its offset from universal time ("name, UTC+1"): the sky
// view's location panel and the compass view's lines.
std::u16string DisplayedTimeLine();
std::u16string DisplayedPlaceLine();

}  // namespace UI
