#include "settings/places.h"

#include "data/platform.h"
#include "data/utf8stream.h"
#include "settings/properties.h"
#include "settings/safefile.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Data {

const char16_t kUserDefinedRegion[] = u"User defined";

const char16_t* const kRegionNames[kRegionCount] = {u"Africa", u"America", u"Asia",  u"Carribean",
                                                   u"Europe", u"Oceania", kUserDefinedRegion};

const TimeZoneName kTimeZones[kTimeZoneCount] = {
    {-720, u" Dateline"},
    {-660, u" Samoa"},
    {-600, u" Hawaii"},
    {-570, u" Marquesas Islands"},
    {-540, u" Alaska"},
    {-480, u" NA Pacific"},
    {-420, u" NA Mountain"},
    {-360, u" NA Central"},
    {-360, u" Mexico"},
    {-300, u" NA Eastern"},
    {-300, u" SA Pacific"},
    {-240, u" NA Atlantic"},
    {-240, u" SA Western"},
    {-210, u" Newfoundland"},
    {-180, u" SA Eastern"},
    {-120, u" Mid-Atlantic"},
    {-60, u" Azores"},
    {0, u" London (UTC)"},
    {60, u" W.&Cen.Europe"},
    {120, u" E.Europe (OEZ)"},
    {120, u" S.Africa"},
    {180, u" Russia"},
    {180, u" Saudi Arabia"},
    {210, u" Iran"},
    {240, u" Arabia"},
    {270, u" Afghanistan"},
    {300, u" W.Asia"},
    {330, u" India"},
    {345, u" Nepal"},
    {360, u" Cen.Asia"},
    {390, u" Burma"},
    {390, u" Cocos Island"},
    {420, u" Bangkok"},
    {480, u" China, W.Austr."},
    {540, u" Japan"},
    {570, u" Cen.Austr."},
    {600, u" W.Pacific"},
    {600, u" E.Austr."},
    {630, u" Lord Howe Island"},
    {660, u" Cen.Pacific"},
    {690, u" Norfolk Island"},
    {720, u" New Zealand"},
    {765, u" Catham Islands"},
    {780, u" Tonga"},
    {840, u" Line Islands"},
};

Place MakePlace(const BuiltinPlace& row) {
    Place p;
    p.latitude = row.latitude10 / 10.0f;
    p.longitude = row.longitude10 / 10.0f;
    p.elevation = 0.0f;
    p.name = row.name;
    p.region = row.region < kRegionCount ? kRegionNames[row.region] : kUserDefinedRegion;
    p.timeZone = row.timeZone;
    return p;
}

Place DefaultPlace() {
    Place p;
    p.latitude = 51.48f;
    p.longitude = 0.0f;
    p.elevation = 0.0f;
    p.name = u"Greenwich";
    p.region = kRegionNames[kRegionEurope];
    p.timeZone = 0;
    return p;
}

Place BlankPlace() {
    Place p;
    p.latitude = 0.0f;
    p.longitude = 0.0f;
    p.elevation = 0.0f;
    p.name = u"?";
    p.region = kUserDefinedRegion;
    p.timeZone = 0;
    return p;
}

// --- the current place in the preferences ------------------------------------------------------

namespace {

constexpr int kMaxZoneMinutes = 24 * 60;
// Far beyond any place on the Earth, and far enough from the float's limit
// that six significant digits never round past it.
constexpr float kMaxElevation = 1e7f;

bool HasLineBreak(const std::u16string& s) {
    return s.find_first_of(u"\r\n") != std::u16string::npos;
}

}  // namespace

bool IsStorablePlace(const Place& p) {
    return std::fabs(p.latitude) <= 90.0f && std::fabs(p.longitude) <= 180.0f &&
           std::fabs(p.elevation) <= kMaxElevation && p.timeZone >= -kMaxZoneMinutes &&
           p.timeZone <= kMaxZoneMinutes && !p.name.empty() && !HasLineBreak(p.name) && !HasLineBreak(p.region) &&
           p.region.find(u',') == std::u16string::npos;
}

void WritePlace(PropertyWriter& w, const Place& p) {
    WriteText(w, u"Name", p.name);
    WriteText(w, u"Region", p.region);
    WriteFloat(w, u"Latitude", p.latitude);
    WriteFloat(w, u"Longitude", p.longitude);
    WriteFloat(w, u"Elevation", p.elevation);
    WriteInt(w, u"Timezone", p.timeZone);
}

bool ReadPlace(const PropertyReader& r, Place& place) {
    // A section without any of the keys (lost to an edit or a damaged file)
    // names no place: reading it field by field would give the blank place,
    // an observer at 0, 0 under the name "?".
    static const char16_t* const kKeys[] = {u"Name", u"Region", u"Latitude", u"Longitude", u"Elevation", u"Timezone"};
    if (std::none_of(std::begin(kKeys), std::end(kKeys), [&r](const char16_t* key) { return r.Has(key); }))
        return false;
    Place p = BlankPlace();
    ReadText(r, u"Name", p.name);
    ReadText(r, u"Region", p.region);
    float v;
    if (ReadFloat(r, u"Latitude", v) && std::fabs(v) <= 90.0f) p.latitude = v;
    if (ReadFloat(r, u"Longitude", v) && std::fabs(v) <= 180.0f) p.longitude = v;
    ReadFloat(r, u"Elevation", p.elevation);
    int32_t zone;
    if (ReadInt(r, u"Timezone", zone) && zone >= -kMaxZoneMinutes && zone <= kMaxZoneMinutes) p.timeZone = zone;
    place = p;
    return true;
}

// --- the line format ----------------------------------------------------------------------

std::u16string FormatPlaceLine(const Place& p) {
    std::u16string s = GeneralText(p.latitude, 6);
    s += u',';
    s += GeneralText(p.longitude, 6);
    s += u',';
    s += GeneralText(p.elevation, 6);
    s += u',';
    s += IntText(p.timeZone);
    s += u',';
    s += p.region;
    s += u',';
    s += p.name;
    return s;
}

namespace {

// Steps over the separator after a number: one character of whatever kind,
// both halves of a surrogate pair when it is one (stepping over half would
// leave the other half, a lone surrogate, at the start of the next field).
bool SkipSeparator(const std::u16string& line, size_t& pos) {
    if (pos >= line.size()) return false;
    const bool pair = line[pos] >= 0xD800 && line[pos] <= 0xDBFF && pos + 1 < line.size() &&
                      line[pos + 1] >= 0xDC00 && line[pos + 1] <= 0xDFFF;
    pos += pair ? 2 : 1;
    return true;
}

}  // namespace

bool ParsePlaceLine(const std::u16string& line, Place& out) {
    // The fields as a stream reads them: a number, then one separator
    // character of whatever kind, and so on; the rest of the line after the
    // zone's separator is region and name.
    size_t pos = 0;
    float lat, lon, elev;
    long long zone;
    if (!ScanFloat(line, pos, lat) || !SkipSeparator(line, pos)) return false;
    if (!ScanFloat(line, pos, lon) || !SkipSeparator(line, pos)) return false;
    if (!ScanFloat(line, pos, elev) || !SkipSeparator(line, pos)) return false;
    if (!ScanLong(line, pos, zone) || !SkipSeparator(line, pos)) return false;
    if (zone < -kMaxZoneMinutes || zone > kMaxZoneMinutes) return false;
    const std::u16string rest = line.substr(pos);
    Place p;
    const size_t comma = rest.find(u',');
    if (comma == std::u16string::npos) {
        p.region = kUserDefinedRegion;
        p.name = rest;
    } else {
        p.region = rest.substr(0, comma);
        p.name = rest.substr(comma + 1);
    }
    p.latitude = lat;
    p.longitude = lon;
    p.elevation = elev;
    p.timeZone = static_cast<int32_t>(zone);
    if (!IsStorablePlace(p)) return false;
    out = p;
    return true;
}

// --- the user places ---------------------------------------------------------------------------

UserPlaceStore::UserPlaceStore(std::u16string folder) : folder_(std::move(folder)) {}

void UserPlaceStore::SetFolder(const std::u16string& folder) {
    folder_ = folder;
    places_.clear();
    loaded_ = false;
    keepBackup_ = false;
    skipped_ = 0;
    damaged_ = 0;
}

std::u16string UserPlaceStore::FilePath() const { return JoinPath(folder_, u"places.dat"); }
std::u16string UserPlaceStore::TwinPath() const { return JoinPath(folder_, u"places.tmp"); }
std::u16string UserPlaceStore::BackupPath() const { return JoinPath(folder_, u"places.bak"); }

bool UserPlaceStore::EnsureLoaded() {
    if (!loaded_) Load();
    return loaded_;
}

void UserPlaceStore::Load() {
    places_.clear();
    skipped_ = 0;
    damaged_ = 0;
    keepBackup_ = false;
    const std::u16string path = FileToRead(FilePath(), TwinPath());
    loadedFrom_ = path;
    if (path.empty()) return;  // no file yet: nothing to keep, try again next time
    PL::TextLines text;
    const bool read = PL::ReadTextLines(path, text);
    for (const std::u16string& line : text.lines) {
        if (line.find_first_not_of(u" \t\v\f") == std::u16string::npos) continue;  // a blank line
        Place p;
        if (ParsePlaceLine(line, p)) places_[p.name] = p;
        else ++skipped_;
    }
    // A read error leaves the places read so far in view, but the file is
    // not counted as loaded, so that no rewrite drops the unread rest.
    if (!read) return;
    // Malformed lines are dropped and lines that were not UTF-8 are read in
    // the legacy code page: either way the file as it was is kept.
    damaged_ = text.damaged;
    keepBackup_ = skipped_ > 0 || damaged_ > 0;
    loaded_ = true;
}

void UserPlaceStore::Write() {
    lastWriteOk_ = false;
    PL::Platform& pl = PL::Current();
    // A file that exists but could not be read in full is not replaced by
    // what little was read of it.
    if (!loaded_ && pl.FileExists(FilePath())) return;
    if (keepBackup_) {
        // The skipped lines live on in the copy.
        if (!CopyFileBytes(loadedFrom_, BackupPath())) return;
        keepBackup_ = false;
    }
    lastWriteOk_ = WriteReplacing(FilePath(), TwinPath(), [this](std::basic_ostream<char16_t>& out) {
        for (const auto& kv : places_) {
            out << FormatPlaceLine(kv.second) << u'\n';
            if (!out) return false;
        }
        return true;
    });
    // The file now holds exactly the map.
    if (lastWriteOk_) loaded_ = true;
}

void UserPlaceStore::AllPlaces(PlaceMap& map) {
    EnsureLoaded();
    for (const BuiltinPlace& row : kBuiltinPlaces) map[row.name] = MakePlace(row);
    for (const auto& kv : places_) map[kv.first] = kv.second;
}

bool UserPlaceStore::Save(const Place& place) {
    if (place.region != kUserDefinedRegion || !IsStorablePlace(place)) return false;
    EnsureLoaded();
    places_[place.name] = place;
    Write();
    return true;
}

bool UserPlaceStore::Remove(const std::u16string& name) {
    EnsureLoaded();
    if (places_.erase(name) == 0) return false;
    Write();
    return true;
}

UserPlaceStore& UserPlaces() {
    static UserPlaceStore store;
    return store;
}

void SetUserPlacesFolder(const std::u16string& folder) { UserPlaces().SetFolder(folder); }

void AllPlaces(PlaceMap& map) { UserPlaces().AllPlaces(map); }
bool SaveUserPlace(const Place& place) { return UserPlaces().Save(place); }
bool DeleteUserPlace(const std::u16string& name) { return UserPlaces().Remove(name); }

}  // namespace Data
