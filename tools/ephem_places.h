// celvane-ephem --place NAME and --places [REGION]: the program's built-in
// places and the user's places ("places.dat" in the data folder).
#pragma once

#include <string>

#include "engine/place.h"

// The place of that name among the built-in and user places (a user place
// wins over a built-in one of the same name); the name is compared exactly,
// then without regard to ASCII letter case when that finds only one place.
// False, with a message on stderr, when none (or several) match.
bool FindPlace(const std::string& name, Calc::Place& place);

// Prints the places of a region ("Europe", "User defined", ...; empty: all),
// in order of name: as text lines, or as
// {"places":[{"name":..,"region":..,"lat":..,"lon_west":..,"zone_min":..},...]}.
// 0, or 2 for a region that does not exist.
int PrintPlaces(const std::string& region, bool json);
