// The places database: the region and time-zone vocabularies, the table of
// built-in places, and the places the user defines, kept in "places.dat" in
// the data folder.
//
// "places.dat" is UTF-8 text, one user place a line, in order of name:
//     latitude,longitude,elevation,zone,region,name
//     47.37,-8.54,408,60,User defined,Home
// (degrees north, degrees WEST, metres, minutes east of UT). The region is
// the text before the first comma of the rest, the name everything after it
// (names may contain commas); a rest without a comma is all name, region
// "User defined".
//
// Damaged files cost no data: a malformed line is skipped and the others
// are kept, and the first rewrite of such a file keeps the original as
// "places.bak"; a file that exists but cannot be read is never overwritten;
// every rewrite goes through "places.tmp" (settings/safefile.h).
#pragma once

#include "engine/place.h"
#include "settings/properties.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace Data {

using Calc::Place;

// --- regions ------------------------------------------------------------------------

// In the order of the dialogs' region list. Only "User defined" places are
// user places; the others are built in.
enum Region : uint8_t {
    kRegionAfrica,
    kRegionAmerica,
    kRegionAsia,
    kRegionCarribean,
    kRegionEurope,
    kRegionOceania,
    kRegionUserDefined,
    kRegionCount
};
extern const char16_t* const kRegionNames[kRegionCount];
extern const char16_t kUserDefinedRegion[];  // "User defined"

// --- time zones ----------------------------------------------------------------------

// The zones the place editor offers, from -720 to 840 minutes; every name
// starts with a space, which belongs to it (" Nepal").
struct TimeZoneName {
    int32_t minutes;
    const char16_t* name;
};
constexpr size_t kTimeZoneCount = 45;
extern const TimeZoneName kTimeZones[kTimeZoneCount];

// --- built-in places -------------------------------------------------------------------

// One row of the generated table (settings/places_table.cpp).
struct BuiltinPlace {
    const char16_t* name;
    uint8_t region;       // a Region below kRegionUserDefined
    int16_t latitude10;   // tenths of a degree, north positive
    int16_t longitude10;  // tenths of a degree, WEST positive
    int16_t timeZone;     // standard time, minutes east of UT
};
constexpr size_t kBuiltinPlaceCount = 608;
// In ordinal order of name.
extern const BuiltinPlace kBuiltinPlaces[kBuiltinPlaceCount];

Place MakePlace(const BuiltinPlace& row);

// "Greenwich": 51.48 N, 0, elevation 0, region "Europe", zone 0 -- the place
// of fresh preferences and of a fresh ephemeris.
Place DefaultPlace();
// A new place: 0, 0, elevation 0, name "?", region "User defined", zone 0.
Place BlankPlace();

// --- the current place in the preferences ---------------------------------------------------

// Keys "Name", "Region" (text), "Latitude", "Longitude", "Elevation" (floats,
// 16 digits) and "Timezone" (integer).
void WritePlace(PropertyWriter& w, const Place& place);
// Starts from the blank place; every key that is present and readable
// replaces its field. A latitude beyond +-90, a longitude beyond +-180 or a
// zone beyond a day counts as unreadable. False, `place` unchanged, when
// none of the six keys is present.
bool ReadPlace(const PropertyReader& r, Place& place);

// --- the places file ------------------------------------------------------------------------

using PlaceMap = std::map<std::u16string, Place>;  // by name, ordinal order

// One line of "places.dat" (without line end). The floats have up to six
// significant digits, as a stream writes them.
std::u16string FormatPlaceLine(const Place& place);
// Reads one line. False for a malformed line: a number missing, a separator
// missing, or a place that is not storable.
bool ParsePlaceLine(const std::u16string& line, Place& place);
// What a line can hold and give back: latitude within +-90, longitude
// within +-180, elevation within +-1e7, a zone within a day, a non-empty
// name, no line break in name or region, no comma in the region.
bool IsStorablePlace(const Place& place);

// The user places of one data folder.
class UserPlaceStore {
public:
    explicit UserPlaceStore(std::u16string folder = std::u16string());

    // Another folder; the places are loaded again on next use.
    void SetFolder(const std::u16string& folder);
    const std::u16string& Folder() const { return folder_; }

    // Loads "places.dat" unless that was done (or it is missing: then every
    // use tries again). True when loaded.
    bool EnsureLoaded();
    bool Loaded() const { return loaded_; }
    // Lines of the last load that were malformed and skipped.
    size_t SkippedLines() const { return skipped_; }
    // Lines of the last load that were not UTF-8 and were read as
    // Windows-1252.
    size_t DamagedLines() const { return damaged_; }
    const PlaceMap& Places() const { return places_; }

    // The built-in places and then the user places into `map` (so a user
    // place replaces a built-in place of the same name).
    void AllPlaces(PlaceMap& map);
    // Keeps a storable place of region "User defined", replacing a user
    // place of that name, and writes the file. False (nothing kept, nothing
    // written) for other places.
    bool Save(const Place& place);
    // Removes the user place of that name and writes the file; false when
    // there was none (nothing written).
    bool Remove(const std::u16string& name);
    // Whether the last write reached the file.
    bool LastWriteOk() const { return lastWriteOk_; }

    std::u16string FilePath() const;
    std::u16string TwinPath() const;
    std::u16string BackupPath() const;

private:
    void Load();
    void Write();

    std::u16string folder_;
    std::u16string loadedFrom_;  // the file or its twin
    PlaceMap places_;
    bool loaded_ = false;
    bool keepBackup_ = false;  // the file had malformed lines: keep it before rewriting
    size_t skipped_ = 0;
    size_t damaged_ = 0;
    bool lastWriteOk_ = true;
};

// The program-wide store, in the data folder that start-up gives it.
UserPlaceStore& UserPlaces();
void SetUserPlacesFolder(const std::u16string& folder);

// The operations of the place dialogs on the program-wide store.
void AllPlaces(PlaceMap& map);
bool SaveUserPlace(const Place& place);
bool DeleteUserPlace(const std::u16string& name);

}  // namespace Data
