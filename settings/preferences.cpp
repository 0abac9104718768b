#include "settings/preferences.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/messages.h"
#include "data/objectfiles.h"
#include "data/platform.h"
#include "data/utf8stream.h"
#include "settings/safefile.h"

namespace Data {

void WriteObjectRef(PropertyWriter& w, const std::u16string& key, const AstroObjRef& ref) {
    w.Set(key, ObjectKey(ref));
}

bool ReadObjectRef(const PropertyReader& r, const std::u16string& key, AstroObjRef& ref) {
    std::u16string text;
    if (!r.Get(key, text)) return false;
    ref = ParseObjectKey(text);
    return true;
}

namespace {

const char16_t kFormat[] = u"FORMAT";
const char16_t kAppVersion[] = u"APPVERSION";
const char16_t kProgramVersion[] = u"0.1";
const char16_t kLanguage[] = u"Language";
const char16_t kCurrentLocation[] = u"CurrentLocation";
const char16_t kDisplayTime[] = u"DisplayTime";
const char16_t kAzimuthDisplay[] = u"AzimuthDisplay";
const char16_t kView[] = u"View";
const char16_t kSkyView[] = u"SkyView";
const char16_t kCompassView[] = u"CompassView";
const char16_t kActiveUserObjFiles[] = u"ActiveUserObjFiles";
const char16_t kActiveCometFiles[] = u"ActiveCometFiles";
const char16_t kStarFiles[] = u"StarFiles";

// A Julian Date as the moment it stands for, to the nearest second. Dates
// beyond the program's range (JD 0 .. 2e9) are unreadable.
bool FromJulianDate(double jd, Calc::AstroTime& t) {
    if (!(jd > 0.0 && jd <= 2e9)) return false;
    const double mjd = jd - 2400000.5;
    double day = std::floor(mjd);
    double seconds = std::floor((mjd - day) * 86400.0 + 0.5);
    if (seconds >= 86400.0) {
        day += 1.0;
        seconds -= 86400.0;
    }
    Calc::AstroTime v;
    v.day = static_cast<int32_t>(day);
    v.seconds = static_cast<int32_t>(seconds);
    if (!v.IsValid()) return false;
    t = v;
    return true;
}

// Typed reads that also refuse values outside a range.
bool ReadIntIn(const PropertyReader& r, const std::u16string& key, int32_t lo, int32_t hi, int32_t& value) {
    int32_t v;
    if (!ReadInt(r, key, v) || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool ReadFloatIn(const PropertyReader& r, const std::u16string& key, float lo, float hi, float& value) {
    float v;
    if (!ReadFloat(r, key, v) || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool IsKnownLanguage(uint16_t id) {
    const uint16_t primary = id & 0x3FF;
    return primary == 0x07 || primary == 0x09;
}

constexpr float kAnyFloat = std::numeric_limits<float>::max();
constexpr int32_t kAnyInt = std::numeric_limits<int32_t>::max();

std::u16string Number(size_t i) { return IntText(static_cast<long long>(i)); }

void ReadFileList(const SectionStore& store, const std::u16string& section, std::vector<std::u16string>& list) {
    list.clear();
    auto s = store.AllSections().find(section);
    if (s == store.AllSections().end()) return;
    // "0", "1", ... up to the first gap.
    for (size_t i = 0;; ++i) {
        auto it = s->second.find(Number(i));
        if (it == s->second.end()) break;
        list.push_back(it->second);
    }
}

void WriteFileList(SectionStore& store, const std::u16string& section, const std::vector<std::u16string>& list) {
    store.RemoveSection(section);
    if (list.empty()) return;
    SectionPropertyWriter w(store.Section(section));
    for (size_t i = 0; i < list.size(); ++i) WriteText(w, Number(i), list[i]);
}

template <class T>
std::vector<std::u16string> Loaded(ObjectFileManager<T>& manager) {
    std::vector<std::u16string> names;
    manager.ListLoadedFiles(names);
    return names;
}

// Loads the files of an active list; returns the names that failed (a
// damaged file, a removable card that is not in).
template <class T>
std::vector<std::u16string> Activate(ObjectFileManager<T>& manager, const std::vector<std::u16string>& names) {
    manager.UnloadAll();
    std::vector<std::u16string> failed;
    for (const std::u16string& name : names) {
        if (!manager.Load(name, false).empty()) failed.push_back(name);
    }
    return failed;
}

// The active list to save: the loaded files, then those that failed to
// load and are still not loaded -- they stay active until they load again,
// rather than dropping out of the list for good.
template <class T>
std::vector<std::u16string> ActiveList(ObjectFileManager<T>& manager, const std::vector<std::u16string>& failed) {
    std::vector<std::u16string> names = Loaded(manager);
    for (const std::u16string& name : failed) {
        if (!manager.IsLoaded(name) && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

}  // namespace

// --- defaults ---------------------------------------------------------------------------------

Preferences& Preferences::Instance() {
    static Preferences prefs;
    return prefs;
}

Preferences::Preferences() { ResetToDefaults(); }

void Preferences::ResetToDefaults() {
    place = DefaultPlace();
    dstAdjust = 0;
    time = TimeSettings();
    time.time = Calc::Now();
    magnetic = 0;
    origin = false;
    viewMode = 0;
    display = SkyDisplaySettings();
    skyView = SkyViewState();
    for (int i = 0; i < kCompassSlots; ++i) {
        // Sun, Moon and the planets to Pluto; the last slot empty.
        compass[i].object = i < 10 ? AstroObjRef(kObjBody, i) : AstroObjRef();
        compassHide[i] = i >= 7;
    }
    compassSelection = 0;
    compassDisplay = 0;
    activeUserObjFiles = {u"Messier", u"Caldwell"};
    activeCometFiles = {u"Asteroids", u"Comets"};
    languageOverride = 0;
}

// --- the store ----------------------------------------------------------------------------------

// An object key that names nothing loaded now -- a comet of a file that did
// not load, a key of a later version -- reads as no object; it is kept and
// written back as it was unless the field has been changed since, so that a
// missing file costs no compass slot or selection.
bool Preferences::ReadHeldRef(const PropertyReader& r, const std::u16string& section, const std::u16string& key,
                              AstroObjRef& ref) {
    std::u16string text;
    if (!r.Get(key, text)) return false;
    ref = ParseObjectKey(text);
    const std::u16string id = section + u'\n' + key;
    if (!text.empty() && ObjectKey(ref).empty()) heldKeys_[id] = {ref, text};
    else heldKeys_.erase(id);
    return true;
}

void Preferences::WriteHeldRef(PropertyWriter& w, const std::u16string& section, const std::u16string& key,
                               const AstroObjRef& ref) const {
    auto held = heldKeys_.find(section + u'\n' + key);
    if (held != heldKeys_.end() && held->second.first == ref && ObjectKey(ref).empty()) {
        w.Set(key, held->second.second);
        return;
    }
    WriteObjectRef(w, key, ref);
}

void Preferences::ReadFromStore() {
    if (store.Get(kFormat, u"Version") != u"1") {
        ResetToDefaults();
        return;
    }

    if (store.Has(kLanguage, u"langid")) {
        SectionPropertyReader r(store.Section(kLanguage));
        // Only a language the program has (German or English, any region)
        // overrides the device's.
        if (!ReadUInt16(r, u"langid", languageOverride) || !IsKnownLanguage(languageOverride))
            languageOverride = 0;
        if (languageOverride != 0) SetUserLangId(languageOverride);
    }

    {
        SectionPropertyReader r(store.Section(kCurrentLocation));
        ReadPlace(r, place);  // a file without the place keeps the default place
        ReadIntIn(r, u"DstAdjust", 0, 2, dstAdjust);
    }
    {
        SectionPropertyReader r(store.Section(kDisplayTime));
        if (!ReadBool(r, u"UseCurrentTime", time.useCurrentTime)) time.useCurrentTime = true;
        double jd;
        if (!ReadDouble(r, u"Time", jd) || !FromJulianDate(jd, time.time)) time.time = Calc::Now();
        if (!ReadIntIn(r, u"Step", 1, kAnyInt, time.step)) time.step = 3600;
        if (!ReadIntIn(r, u"StepMode", 0, 2, time.stepMode)) time.stepMode = 1;
    }
    {
        SectionPropertyReader r(store.Section(kAzimuthDisplay));
        ReadIntIn(r, u"Magnetic", 0, 1, magnetic);
        ReadBool(r, u"Origin", origin);
    }
    {
        SectionPropertyReader r(store.Section(kView));
        // The start-up shows the sky for 1, the twilight for 3 and the
        // compass for anything else; the field holds what is shown, so that
        // the next save writes it back.
        int32_t mode = 0;
        if (ReadInt(r, u"Mode", mode)) viewMode = (mode == 1 || mode == 3) ? mode : 0;
    }
    {
        SectionPropertyReader r(store.Section(kSkyView));
        SkyDisplaySettings& d = display;
        ReadBool(r, u"RaDecGrid", d.raDecGrid);
        ReadBool(r, u"AltAzGrid", d.altAzGrid);
        ReadBool(r, u"ConstellationLines", d.constellationLines);
        ReadBool(r, u"ConstellationNames", d.constellationNames);
        ReadBool(r, u"ConstellationBoundaries", d.constellationBoundaries);
        ReadBool(r, u"Ecliptic", d.ecliptic);
        ReadBool(r, u"Horizon", d.horizon);
        ReadBool(r, u"Planets", d.showPlanets);
        ReadBool(r, u"Objects", d.showUserObjects);
        ReadBool(r, u"Comets", d.showComets);
        ReadFloat(r, u"ComAstMagFilter", d.magFilter);
        ReadIntIn(r, u"StarDisplayColor", 0, 2, d.starColour);
        ReadBool(r, u"StarsBold", d.starsBold);
        ReadBool(r, u"TelradShow", d.telradShow);
        ReadFloatIn(r, u"TelradDiameter1", 0.0f, 180.0f, d.telradDiameter1);
        ReadFloatIn(r, u"TelradDiameter2", 0.0f, 180.0f, d.telradDiameter2);
        ReadFloatIn(r, u"TelradDiameter3", 0.0f, 180.0f, d.telradDiameter3);
        ReadIntIn(r, u"TapInfo", 0, 3, d.tapInfo);

        SkyViewState& v = skyView;
        ReadFloatIn(r, u"Az", -kAnyFloat, kAnyFloat, v.az);
        ReadFloatIn(r, u"Alt", -90.0f, 90.0f, v.alt);
        float angle;
        if (ReadFloatIn(r, u"ViewAngle", 0.0f, 180.0f, angle) && angle > 0.0f) v.viewAngle = angle;
        ReadFloatIn(r, u"MagThreshold", 0.0f, 1000.0f, v.magThreshold);
        ReadIntIn(r, u"NavigationMode", 0, 1, v.navigationMode);
        if (!ReadHeldRef(r, kSkyView, u"SelectedObj", v.selectedObj)) v.selectedObj = AstroObjRef();
        if (!ReadHeldRef(r, kSkyView, u"AngularDistRefObj", v.angularDistRefObj))
            v.angularDistRefObj = AstroObjRef();
        ReadBool(r, u"CenterMode", v.centerMode);
    }
    {
        SectionPropertyReader r(store.Section(kCompassView));
        for (int i = 0; i < kCompassSlots; ++i) {
            const std::u16string n = Number(static_cast<size_t>(i));
            ReadHeldRef(r, kCompassView, u"Obj" + n, compass[i].object);
            ReadBool(r, u"Hide" + n, compassHide[i]);
        }
        ReadIntIn(r, u"Selection", 0, kCompassSlots - 1, compassSelection);
        ReadInt(r, u"Display", compassDisplay);
    }
    ReadFileList(store, kActiveUserObjFiles, activeUserObjFiles);
    ReadFileList(store, kActiveCometFiles, activeCometFiles);
    if (store.Has(kStarFiles, u"CurrentFile")) starFile = store.Get(kStarFiles, u"CurrentFile");
}

void Preferences::WriteToStore() {
    store.Section(kFormat)[u"Version"] = u"1";
    {
        PropertySection& s = store.Section(kAppVersion);
        s[u"Last"] = kProgramVersion;
        s[kProgramVersion] = u"";
    }
    if (languageOverride != 0) {
        SectionPropertyWriter w(store.Section(kLanguage));
        WriteUInt16(w, u"langid", languageOverride);
    }
    {
        SectionPropertyWriter w(store.Section(kCurrentLocation));
        WritePlace(w, place);
        WriteInt(w, u"DstAdjust", dstAdjust);
    }
    {
        SectionPropertyWriter w(store.Section(kDisplayTime));
        WriteBool(w, u"UseCurrentTime", time.useCurrentTime);
        WriteDouble(w, u"Time", Calc::ToJulianDay(time.time));
        WriteInt(w, u"Step", time.step);
        WriteInt(w, u"StepMode", time.stepMode);
    }
    {
        SectionPropertyWriter w(store.Section(kAzimuthDisplay));
        WriteInt(w, u"Magnetic", magnetic);
        WriteBool(w, u"Origin", origin);
    }
    {
        SectionPropertyWriter w(store.Section(kView));
        WriteInt(w, u"Mode", viewMode);
    }
    {
        SectionPropertyWriter w(store.Section(kSkyView));
        const SkyDisplaySettings& d = display;
        WriteBool(w, u"RaDecGrid", d.raDecGrid);
        WriteBool(w, u"AltAzGrid", d.altAzGrid);
        WriteBool(w, u"ConstellationLines", d.constellationLines);
        WriteBool(w, u"ConstellationNames", d.constellationNames);
        WriteBool(w, u"ConstellationBoundaries", d.constellationBoundaries);
        WriteBool(w, u"Ecliptic", d.ecliptic);
        WriteBool(w, u"Horizon", d.horizon);
        WriteBool(w, u"Planets", d.showPlanets);
        WriteBool(w, u"Objects", d.showUserObjects);
        WriteBool(w, u"Comets", d.showComets);
        WriteFloat(w, u"ComAstMagFilter", d.magFilter);
        WriteInt(w, u"StarDisplayColor", d.starColour);
        WriteBool(w, u"StarsBold", d.starsBold);
        WriteBool(w, u"TelradShow", d.telradShow);
        WriteFloat(w, u"TelradDiameter1", d.telradDiameter1);
        WriteFloat(w, u"TelradDiameter2", d.telradDiameter2);
        WriteFloat(w, u"TelradDiameter3", d.telradDiameter3);
        WriteInt(w, u"TapInfo", d.tapInfo);

        const SkyViewState& v = skyView;
        WriteFloat(w, u"Az", v.az);
        WriteFloat(w, u"Alt", v.alt);
        WriteFloat(w, u"ViewAngle", v.viewAngle);
        WriteFloat(w, u"MagThreshold", v.magThreshold);
        WriteInt(w, u"NavigationMode", v.navigationMode);
        WriteHeldRef(w, kSkyView, u"SelectedObj", v.selectedObj);
        WriteHeldRef(w, kSkyView, u"AngularDistRefObj", v.angularDistRefObj);
        WriteBool(w, u"CenterMode", v.centerMode);
    }
    {
        SectionPropertyWriter w(store.Section(kCompassView));
        for (int i = 0; i < kCompassSlots; ++i) {
            const std::u16string n = Number(static_cast<size_t>(i));
            WriteHeldRef(w, kCompassView, u"Obj" + n, compass[i].object);
            WriteBool(w, u"Hide" + n, compassHide[i]);
        }
        WriteInt(w, u"Selection", compassSelection);
        WriteInt(w, u"Display", compassDisplay);
    }
    WriteFileList(store, kActiveUserObjFiles, activeUserObjFiles);
    WriteFileList(store, kActiveCometFiles, activeCometFiles);
    if (!starFile.empty()) store.Section(kStarFiles)[u"CurrentFile"] = starFile;
}

// --- the file -------------------------------------------------------------------------------------

bool Preferences::Load(const std::u16string& dataFolder) {
    ResetToDefaults();
    store.Clear();
    keepFile_ = false;
    keepBackup_ = false;
    heldKeys_.clear();
    const std::u16string path = FileToRead(JoinPath(dataFolder, u"prefs.dat"), JoinPath(dataFolder, u"prefs.tmp"));
    bool ok = true;
    if (!path.empty()) {
        PL::TextLines text;
        if (!PL::ReadTextLines(path, text)) {
            // Defaults, and the file stays as it is for a later run.
            ok = false;
            keepFile_ = true;
        } else {
            for (const std::u16string& line : text.lines) store.ParseLine(line);
            // Lines that were not UTF-8 are read in the legacy code page;
            // the file as it was is kept beside the rewritten one.
            if (text.damaged > 0) {
                keepBackup_ = true;
                backupFrom_ = path;
            }
        }
        ReadFromStore();
    }
    failedUserObjFiles_ = Activate(UserObjectFiles(), activeUserObjFiles);
    failedCometFiles_ = Activate(CometFiles(), activeCometFiles);
    // The second pass: the store holds the whole file, and now the
    // selections and compass slots in the files just loaded resolve.
    ReadFromStore();
    return ok;
}

bool Preferences::Save(const std::u16string& dataFolder) {
    activeUserObjFiles = ActiveList(UserObjectFiles(), failedUserObjFiles_);
    activeCometFiles = ActiveList(CometFiles(), failedCometFiles_);
    WriteToStore();
    if (keepFile_) return false;
    if (keepBackup_) {
        if (!CopyFileBytes(backupFrom_, JoinPath(dataFolder, u"prefs.bak"))) return false;
        keepBackup_ = false;
    }
    return WriteReplacing(JoinPath(dataFolder, u"prefs.dat"), JoinPath(dataFolder, u"prefs.tmp"),
                          [this](std::basic_ostream<char16_t>& out) { return store.Write(out); });
}

}  // namespace Data
