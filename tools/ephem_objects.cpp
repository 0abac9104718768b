#include "ephem_objects.h"

#include "ephem_json.h"

#include <cstdio>

#include "data/messages.h"
#include "data/numtext.h"
#include "data/objectfiles.h"
#include "data/objects.h"
#include "data/platform.h"
#include "data/starcatalog.h"
#include "engine/ephemeris.h"
#include "engine/vecmath.h"

namespace {

using Data::Message;
const Message kMsgObject{{0x409, u"Object"}, {0x407, u"Objekt"}};
const Message kMsgKey{{0x409, u"Key"}, {0x407, u"Schl\u00fcssel"}};
const Message kMsgKind{{0x409, u"Kind"}, {0x407, u"Art"}};
const Message kMsgSubtitle{{0x409, u"Description"}, {0x407, u"Beschreibung"}};
const Message kMsgMagnitude{{0x409, u"Magnitude"}, {0x407, u"Helligkeit"}};
const Message kMsgDistance{{0x409, u"Distance"}, {0x407, u"Entfernung"}};
const Message kMsgRaDec{{0x409, u"RA, Dec"}, {0x407, u"RA, Dekl."}};
const Message kMsgHourAngle{{0x409, u"Hour angle"}, {0x407, u"Stundenwinkel"}};
const Message kMsgEcliptic{{0x409, u"Ecliptic"}, {0x407, u"Ekliptikal"}};
const Message kMsgAzAlt{{0x409, u"Azimuth, alt."}, {0x407, u"Azimut, H\u00f6he"}};
const Message kMsgConstellation{{0x409, u"Constellation"}, {0x407, u"Sternbild"}};
const Message kMsgSunDistance{{0x409, u"Sun distance"}, {0x407, u"Sonnenabstand"}};
const Message kMsgPhase{{0x409, u"Phase, elong."}, {0x407, u"Phase, Elong."}};
const Message kMsgIlluminated{{0x409, u"Illuminated"}, {0x407, u"Beleuchtet"}};
const Message kMsgNoObject{{0x409, u"No object {0}"}, {0x407, u"Kein Objekt {0}"}};
const Message kMsgSummary{{0x409, u"Summary"}, {0x407, u"Kurzinfo"}};

constexpr double kKmPerAu = 149597870.7;

void Put(const std::u16string& s) { std::fputs(PL::ToUtf8(s).c_str(), stdout); }

void Line(const Message& label, const std::u16string& value) {
    std::u16string l = Data::MessageText(label);
    if (l.size() < 16) l.append(16 - l.size(), u' ');
    Put(l + u' ' + value + u'\n');
}


// A number, or null for the missing-value marker.
std::string JsonNumber(float v, bool missing) {
    if (missing) return "null";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6f", static_cast<double>(v));
    return buf;
}

// The star catalogues: the bright-star resources beside the program and
// stars.dat beside it or in the data folder.
void UseStarCatalogues() {
    Data::LoadStarResources();
    PL::Platform& pl = PL::Current();
    for (const std::u16string& folder :
         {Data::ObjectFileManagerBase::ProgramFolder(), Data::ObjectFileManagerBase::DataFolder()}) {
        const std::u16string path = Data::ObjectFileManagerBase::JoinPath(folder, u"stars.dat");
        if (pl.FileExists(path)) {
            Data::SetStarFilePath(path);
            return;
        }
    }
}

// The file of an "Obj..." or "AC..." key, loaded into its manager; the
// error text when that fails.
std::u16string LoadFileOfKey(const std::u16string& key) {
    const size_t comma = key.find(u',');
    if (comma == std::u16string::npos) return std::u16string();
    const std::u16string file = key.substr(comma + 1);
    if (key.compare(0, 3, u"Obj") == 0) return Data::UserObjectFiles().Load(file, false);
    if (key.compare(0, 2, u"AC") == 0) return Data::CometFiles().Load(file, false);
    return std::u16string();
}

// True when the object of a kind 5 or 6 reference exists, or for the other kinds.
bool Resolves(const Data::AstroObjRef& r) {
    if (r.kind == Data::kObjUser) return Data::FindUserObject(r) != nullptr;
    if (r.kind == Data::kObjComet) return Data::FindComet(r) != nullptr;
    return r.kind != Data::kObjNone;
}

// Whether a file name ends in an extension, without regard to letter case.
bool EndsIn(const std::u16string& file, const std::u16string& extension) {
    if (file.size() <= extension.size()) return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        char16_t c = file[file.size() - extension.size() + i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        if (c != extension[i]) return false;
    }
    return true;
}

}  // namespace

int PrintObject(const std::string& keyText, Calc::Ephemeris& ephemeris, bool json) {
    UseStarCatalogues();
    for (const char16_t* f : {u"Messier", u"Caldwell"}) Data::UserObjectFiles().Load(f, false);
    for (const char16_t* f : {u"Asteroids", u"Comets"}) Data::CometFiles().Load(f, false);
    const std::u16string key = PL::FromUtf8(keyText);
    const std::u16string error = LoadFileOfKey(key);
    const Data::AstroObjRef ref = Data::ParseObjectKey(key);
    if (!Resolves(ref)) {
        if (!error.empty()) std::fprintf(stderr, "celvane-ephem: %s\n", PL::ToUtf8(error).c_str());
        if (json)
            std::printf("{\"object\":null}\n");
        else
            Put(Data::MessageFormat(kMsgNoObject, key).Format() + u"\n");
        return 1;
    }
    const float mag = Data::ObjectMagnitude(ref, ephemeris);
    const float au = Data::ObjectDistance(ref, ephemeris);
    const Calc::BodyInfo b = Data::ObjectInfo(ref, ephemeris);
    const std::u16string con = Data::ConstellationAbbreviation(b.constellation);
    const bool missingMag = mag == Calc::kMissing;
    if (json) {
        std::printf(
            "{\"object\":{\"key\":%s,\"kind\":%u,\"name\":%s,\"subtitle\":%s,\"vmag\":%s,\"distance_au\":%s,"
            "\"ra_h\":%.6f,\"dec_deg\":%.6f,\"az_deg\":%.6f,\"alt_deg\":%.6f,\"constellation\":%s,"
            "\"ha_h\":%.6f,\"ecl_lon_deg\":%.6f,\"ecl_lat_deg\":%.6f,\"r_au\":%.8f,\"delta_au\":%.8f,"
            "\"phase_deg\":%.6f,\"elongation_deg\":%.6f,\"illuminated_pct\":%.6f,\"summary\":%s}}\n",
            JsonText(Data::ObjectKey(ref)).c_str(), ref.kind, JsonText(Data::ObjectName(ref)).c_str(),
            JsonText(Data::ObjectSubtitle(ref)).c_str(), JsonNumber(mag, missingMag).c_str(),
            JsonNumber(au, au == 0).c_str(), b.ra, b.dec, b.azimuth, b.altitude, JsonText(con).c_str(), b.hourAngle,
            b.eclipticLon, b.eclipticLat, b.sunDistance, b.distance, b.phaseAngle, b.elongation, b.illuminated,
            JsonText(Data::ObjectSummary(ref, ephemeris)).c_str());
        return 0;
    }
    using namespace Data;
    Line(kMsgObject, ObjectName(ref));
    Line(kMsgKey, ObjectKey(ref));
    Line(kMsgKind, FormatInt(ref.kind));
    const std::u16string subtitle = ObjectSubtitle(ref);
    if (!subtitle.empty()) Line(kMsgSubtitle, subtitle);
    Line(kMsgMagnitude, missingMag ? u"-" : FormatResolution(mag, 0.01));
    Line(kMsgDistance, au == 0 ? u"-" : FormatDistance(au * kKmPerAu));
    Line(kMsgRaDec, FormatRightAscension(b.ra) + u", " + FormatDegrees(b.dec));
    Line(kMsgHourAngle, FormatHourAngle(b.hourAngle));
    Line(kMsgEcliptic, FormatDegrees(b.eclipticLon) + u", " + FormatDegrees(b.eclipticLat));
    Line(kMsgAzAlt, FormatDegrees(b.azimuth) + u", " + FormatDegrees(b.altitude));
    Line(kMsgConstellation, con);
    if (ref.kind == kObjBody || ref.kind == kObjComet) {
        Line(kMsgSunDistance, FormatDistance(b.sunDistance * kKmPerAu));
        Line(kMsgPhase, FormatResolution(b.phaseAngle, 0.1) + u"\u00b0, " + FormatResolution(b.elongation, 0.1) +
                            u"\u00b0");
        Line(kMsgIlluminated, FormatResolution(b.illuminated, 0.1) + u"%");
    }
    Line(kMsgSummary, ObjectSummary(ref, ephemeris));
    return 0;
}

int PrintObjectList(const std::string& fileText, Calc::Ephemeris& ephemeris, bool json) {
    std::u16string file = PL::FromUtf8(fileText);
    // A path (a folder separator in it, or a file of that name in the
    // current folder) is listed from its own folder, which then stands in
    // for both folders the program searches: a file that is not there is
    // not looked for anywhere else.
    const size_t separator = file.find_last_of(u"/\\");
    if (separator != std::u16string::npos || PL::Current().FileExists(file)) {
        if (PL::Current().FileExists(file) && !EndsIn(file, u".pco") && !EndsIn(file, u".puo")) {
            std::fprintf(stderr,
                         "celvane-ephem: %s is no user-object (.puo) or comet (.pco) file; celvane-mpc converts "
                         "the MPC's element files\n",
                         fileText.c_str());
            return 1;
        }
        std::u16string folder = u".";
        if (separator != std::u16string::npos) folder = separator == 0 ? file.substr(0, 1) : file.substr(0, separator);
        file.erase(0, separator == std::u16string::npos ? 0 : separator + 1);
        Data::ObjectFileManagerBase::SetFolders(folder, folder);
    }
    // An explicit extension chooses the manager; otherwise a user-object
    // file if there is one, else a comet file.
    bool comets = false;
    if (EndsIn(file, u".pco")) {
        comets = true;
        file.resize(file.size() - 4);
    } else if (EndsIn(file, u".puo")) {
        file.resize(file.size() - 4);
    } else {
        std::u16string name, path;
        bool inProgram = false;
        Data::UserObjectFiles().Resolve(file, name, path, inProgram);
        if (!PL::Current().FileExists(path)) {
            Data::CometFiles().Resolve(file, name, path, inProgram);
            comets = PL::Current().FileExists(path);
        }
    }
    // The name as the file is called on the device (its letter case) is the key.
    {
        std::u16string name, path;
        bool inProgram = false;
        if (comets)
            Data::CometFiles().Resolve(file, name, path, inProgram);
        else
            Data::UserObjectFiles().Resolve(file, name, path, inProgram);
        file = name;
    }
    const std::u16string error =
        comets ? Data::CometFiles().Load(file, false) : Data::UserObjectFiles().Load(file, false);
    if (!error.empty()) {
        std::fprintf(stderr, "celvane-ephem: %s\n", PL::ToUtf8(error).c_str());
        return 1;
    }
    const size_t count =
        comets ? Data::CometFiles().FindStore(file).size() : Data::UserObjectFiles().FindStore(file).size();
    if (json) std::printf("{\"file\":%s,\"objects\":[", JsonText(file).c_str());
    for (size_t i = 0; i < count; ++i) {
        const Data::AstroObjRef ref(comets ? Data::kObjComet : Data::kObjUser, static_cast<int32_t>(i), file);
        const float mag = Data::ObjectMagnitude(ref, ephemeris);
        if (json) {
            std::printf("%s{\"index\":%zu,\"key\":%s,\"name\":%s,\"info\":%s,\"vmag\":%s}", i ? "," : "", i,
                        JsonText(Data::ObjectKey(ref)).c_str(), JsonText(Data::ObjectName(ref)).c_str(),
                        JsonText(Data::ObjectSubtitle(ref)).c_str(), JsonNumber(mag, mag == Calc::kMissing).c_str());
        } else {
            std::u16string row = Data::FormatInt(static_cast<long long>(i));
            row.resize(6, u' ');
            std::u16string key = Data::ObjectKey(ref);
            if (key.size() < 24) key.resize(24, u' ');
            std::u16string m = mag == Calc::kMissing ? u"-" : Data::FormatResolution(mag, 0.1);
            if (m.size() < 7) m.insert(0, 7 - m.size(), u' ');
            Put(row + key + u' ' + m + u"  " + Data::ObjectName(ref) + u"  " + Data::ObjectSubtitle(ref) + u"\n");
        }
    }
    if (json) std::printf("]}\n");
    return 0;
}
