// celvane-ephem --star: a star named by its catalogue number, decoded, with
// its apparent place for the ephemeris's moment and place.
#pragma once

#include <string>

namespace Calc {
class Ephemeris;
}

// Prints the star that `text` names ("HR 2491", "HIP 32349",
// "TYC 5949-2777-1"), as text or JSON; 0, or 1 when there is no such star.
// The bright-star resources and stars.dat are looked for beside the program
// (stars.dat also in the data folder's "celvane" folder).
int PrintStar(const std::string& text, Calc::Ephemeris& ephemeris, bool json);
