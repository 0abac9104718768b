// The identity of every object the user can select, look up, point the
// compass at or read about -- a body, a star, a constellation, a user object
// or a comet or asteroid -- and the per-kind queries the views use: name,
// second line, icon, position, magnitude, distance, and the text key under
// which a selection is kept in the preferences.
//
// The queries never fail: a reference that cannot be resolved gives the
// values of kind 0 (a user object or comet whose file is not loaded, or
// whose number is past the end of its file's list, has an empty name rather
// than "-").
#pragma once

#include <cstdint>
#include <string>

#include "data/objectfiles.h"
#include "data/objectnames.h"
#include "data/starformat.h"
#include "engine/ephemeris.h"
#include "engine/vecmath.h"

namespace Data {

enum AstroObjKind : uint32_t {
    kObjNone = 0,
    kObjBody = 1,           // number: body index 0 (Sun) .. 9 (Pluto)
    kObjStar = 2,           // number: StarNumber
    kObjConstellation = 3,  // number: constellation index 0..88
    kObjUser = 5,           // number: position in the user-object file's list
    kObjComet = 6           // number: position in the comet file's list
};

struct AstroObjRef {
    uint32_t kind = kObjNone;
    int32_t number = 0;
    std::u16string file;  // the object file's name (kinds 5 and 6), else empty

    AstroObjRef() = default;
    AstroObjRef(uint32_t k, int32_t n, std::u16string f = std::u16string())
        : kind(k), number(n), file(std::move(f)) {}
};

inline bool operator==(const AstroObjRef& a, const AstroObjRef& b) {
    return a.kind == b.kind && a.number == b.number && a.file == b.file;
}
inline bool operator!=(const AstroObjRef& a, const AstroObjRef& b) { return !(a == b); }

// The object of a kind 5 or 6 reference in the loaded files, or nullptr.
const UserObj* FindUserObject(const AstroObjRef& ref);
const Comet* FindComet(const AstroObjRef& ref);

// The name shown in lists, titles and the info dialog.
std::u16string ObjectName(const AstroObjRef& ref);
// A second line: a star's secondary designation, the info text of a user
// object or comet; empty otherwise.
std::u16string ObjectSubtitle(const AstroObjRef& ref);

// Image lists of ObjectIcon.
enum ObjectImageList : int { kImagesPlanets = 0, kImagesAsteroidsComets = 1, kImagesObjects = 2 };
struct ObjectIconRef {
    int list = kImagesPlanets;
    int image = 0;
};
// Bodies: their index in "planets"; stars image 10 and constellations image
// 12 there; user objects and comets their symbol from the file.
ObjectIconRef ObjectIcon(const AstroObjRef& ref);

// Topocentric equatorial vector of date (AU for bodies and comets, a unit
// vector for fixed objects); (0, 1, 0) for nothing.
Calc::Vec3 ObjectPosition(const AstroObjRef& ref, Calc::Ephemeris& eph);
// Visual magnitude; -1000 when there is none.
float ObjectMagnitude(const AstroObjRef& ref, Calc::Ephemeris& eph);
// Distance in AU; 0 when unknown.
float ObjectDistance(const AstroObjRef& ref, Calc::Ephemeris& eph);
// Coordinates and phase data of the object's position.
Calc::BodyInfo ObjectInfo(const AstroObjRef& ref, Calc::Ephemeris& eph);
// The short line of the sky window: "m4.0, Ori"; stars with two decimals.
std::u16string ObjectSummary(const AstroObjRef& ref, Calc::Ephemeris& eph);

// The persistent form of a reference, independent of the user's language:
// "Mars", "Star4126", "ConCMa", "Obj12,Messier", "AC1P,Comets"; empty for
// nothing.
std::u16string ObjectKey(const AstroObjRef& ref);
// The reference of a key; kind 0 for anything unknown. A comet key is
// looked up in its file, which must be loaded; a user-object key is taken
// as it is, loaded or not.
AstroObjRef ParseObjectKey(const std::u16string& key);
// A short identity of a comet or asteroid that survives edits of the rest
// of its name: "1P" for 1P/Halley, "433" for "433 Eros", "C/1995O1" for
// C/1995 O1 (Hale-Bopp); empty for a name that has none.
std::u16string CometKey(const std::u16string& name);

// The factors of the distances: AU per light year, and light years per
// parsec over a parallax in milliarcseconds.
constexpr float kAuPerLightYear = 63241.08f;
constexpr float kLightYearsTimesMas = 3261.6f;

}  // namespace Data
