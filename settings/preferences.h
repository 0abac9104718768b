// Everything that survives a restart: one Preferences object, kept in
// "prefs.dat" in the data folder (settings/properties.h for the format).
//
// The file's store keeps every section and key it read, so what this
// program does not know is written back unchanged. Problems are silent: an
// unreadable file or value leaves the defaults. Values outside their range
// (a compass selection beyond the eleven slots, a field of view of zero, a
// latitude beyond the pole ...) count as unreadable.
#pragma once

#include <array>
#include <map>
#include <cstdint>
#include <string>
#include <vector>

#include "data/objects.h"
#include "engine/astrotime.h"
#include "settings/places.h"
#include "settings/properties.h"

namespace Data {

// The persistent form of an object reference (ObjectKey / ParseObjectKey).
void WriteObjectRef(PropertyWriter& w, const std::u16string& key, const AstroObjRef& ref);
bool ReadObjectRef(const PropertyReader& r, const std::u16string& key, AstroObjRef& ref);

// What the time display shows and how the time-step buttons move it.
struct TimeSettings {
    Calc::AstroTime time;       // UT; used when the live clock is off
    bool useCurrentTime = true;  // live clock
    int32_t step = 3600;         // animation step, seconds, at least 1
    int32_t stepMode = 1;        // with the live clock on: 0 nothing, 1 step from now, 2 from the last explicit time
};

// What the sky map draws (preference keys in the comments).
struct SkyDisplaySettings {
    bool raDecGrid = false;                // RaDecGrid
    bool altAzGrid = false;                // AltAzGrid
    bool constellationLines = true;        // ConstellationLines
    bool constellationNames = true;        // ConstellationNames
    bool constellationBoundaries = false;  // ConstellationBoundaries
    bool ecliptic = true;                  // Ecliptic
    bool horizon = true;                   // Horizon
    bool showPlanets = true;               // Planets
    bool showUserObjects = false;          // Objects
    bool showComets = false;               // Comets
    float magFilter = 15.0f;               // ComAstMagFilter: faintest user object or comet drawn
    int32_t starColour = 1;                // StarDisplayColor: 0 white, 1 true, 2 intense colours
    bool starsBold = false;                // StarsBold
    bool telradShow = false;               // TelradShow
    float telradDiameter1 = 0.5f;          // TelradDiameter1, degrees
    float telradDiameter2 = 2.0f;          // TelradDiameter2
    float telradDiameter3 = 4.0f;          // TelradDiameter3
    int32_t tapInfo = 0;                   // TapInfo: 0 Az/Alt, 1 RA/Dec, 2 HA24/Dec, 3 HA12/Dec
};

// Where the sky map looks and what is selected on it.
struct SkyViewState {
    float az = 0.0f;            // Az, degrees
    float alt = 30.0f;          // Alt, degrees
    float viewAngle = 90.0f;    // ViewAngle: field of view, degrees
    float magThreshold = 657.0f;  // MagThreshold: magnitude slider 0..1000
    int32_t navigationMode = 0;   // NavigationMode: 0 arrow keys move the view, 1 change time and zoom
    AstroObjRef selectedObj;      // SelectedObj
    AstroObjRef angularDistRefObj;  // AngularDistRefObj
    bool centerMode = false;        // CenterMode
};

// One object of the compass view.
struct CompassSlot {
    AstroObjRef object;
};

constexpr int kCompassSlots = 11;

class Preferences {
public:
    // The program's preferences, made with the defaults on first use.
    static Preferences& Instance();

    Preferences();  // the defaults, an empty store

    // Every field to its default (the time to now, the file lists to their
    // default names, no language override). The store is left alone.
    void ResetToDefaults();
    // The fields from the store. A store whose FORMAT/Version is not "1"
    // gives the defaults.
    void ReadFromStore();
    // The fields into the store; sections and keys of other programs and
    // versions stay.
    void WriteToStore();

    // Start-up: the defaults, then "prefs.dat" of the folder (or a complete
    // "prefs.tmp" left where "prefs.dat" is missing); the active object and
    // comet files are loaded, then the file is read again so that
    // selections in those files resolve. False when a file was there but
    // could not be read (the defaults stay, and Save will not replace it).
    bool Load(const std::u16string& dataFolder);
    // Shutdown: the active file lists from the file managers, the fields
    // into the store, the store to "prefs.dat" through "prefs.tmp". False
    // when the file was not replaced; the previous file is then untouched.
    bool Save(const std::u16string& dataFolder);

    // --- the fields --------------------------------------------------------------------
    Place place;
    int32_t dstAdjust = 0;  // DstAdjust: summer-time mode, 0 standard, 1 summer, 2 the device's rules
    TimeSettings time;
    int32_t magnetic = 0;  // AzimuthDisplay/Magnetic: azimuths shown magnetic
    bool origin = false;   // AzimuthDisplay/Origin: compass dial with south at the top
    int32_t viewMode = 0;  // View/Mode: 0 compass, 1 sky, 3 twilight
    SkyDisplaySettings display;
    SkyViewState skyView;
    std::array<CompassSlot, kCompassSlots> compass;
    std::array<bool, kCompassSlots> compassHide{};
    int32_t compassSelection = 0;  // the slot the compass points to
    int32_t compassDisplay = 0;
    SectionStore store;
    std::vector<std::u16string> activeUserObjFiles;
    std::vector<std::u16string> activeCometFiles;
    uint16_t languageOverride = 0;  // only the file sets it
    std::u16string starFile;        // StarFiles/CurrentFile: the current "stars.dat"

private:
    bool keepFile_ = false;  // the file of the last load could not be read: do not replace it
    bool keepBackup_ = false;  // it had lines that were not UTF-8: copy it to prefs.bak first
    std::u16string backupFrom_;
    // Active files that failed to load: kept in the lists that are saved.
    std::vector<std::u16string> failedUserObjFiles_, failedCometFiles_;
    // Object keys read that resolve to nothing now, by section "\n" key,
    // with the reference they gave.
    std::map<std::u16string, std::pair<AstroObjRef, std::u16string>> heldKeys_;

    bool ReadHeldRef(const PropertyReader& r, const std::u16string& section, const std::u16string& key,
                     AstroObjRef& ref);
    void WriteHeldRef(PropertyWriter& w, const std::u16string& section, const std::u16string& key,
                      const AstroObjRef& ref) const;
};

}  // namespace Data
