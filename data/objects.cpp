#include "data/objects.h"

#include <climits>

#include "data/numtext.h"
#include "data/starcatalog.h"
#include "engine/constellations.h"
#include "engine/orbits.h"
#include "engine/physical.h"

namespace Data {

namespace {

constexpr float kQ15 = 3.051851e-5f;  // 1/32767

// A star record always holds a unit vector: all zero means the number is
// in no catalogue (a stale selection, a star file no longer present).
bool StarResolves(const StarPosition& p) { return p.X() != 0 || p.Y() != 0 || p.Z() != 0; }

// The kind a reference behaves as: stars, and kinds 5 and 6, that do not
// resolve behave as nothing.
uint32_t EffectiveKind(const AstroObjRef& ref) {
    if (ref.kind == kObjStar && !StarResolves(ReadStarPosition(ref.number))) return kObjNone;
    if (ref.kind == kObjUser && !FindUserObject(ref)) return kObjNone;
    if (ref.kind == kObjComet && !FindComet(ref)) return kObjNone;
    return ref.kind;
}

bool IsUnresolvedFileObject(const AstroObjRef& ref) {
    return (ref.kind == kObjUser || ref.kind == kObjComet) && EffectiveKind(ref) == kObjNone;
}

template <class List>
const typename List::value_type::element_type* At(const List& list, int32_t number) {
    if (number < 0 || static_cast<size_t>(number) >= list.size()) return nullptr;
    return list[static_cast<size_t>(number)].get();
}

// The decimal value at the start of a text, as the C library's wcstol reads
// it: white space skipped, an optional sign, digits up to the first other
// character; no digits give 0. Clamped to the 32-bit range.
int32_t LeadingInteger(const std::u16string& s, size_t from, size_t to) {
    size_t i = from;
    while (i < to && (s[i] == u' ' || (s[i] >= u'\t' && s[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < to && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    int64_t v = 0;
    while (i < to && s[i] >= u'0' && s[i] <= u'9') {
        v = v * 10 + (s[i++] - u'0');
        if (v > INT64_C(1) << 32) v = INT64_C(1) << 32;  // far enough past either limit
    }
    if (negative) v = -v;
    if (v > INT32_MAX) v = INT32_MAX;
    if (v < INT32_MIN) v = INT32_MIN;
    return static_cast<int32_t>(v);
}


}  // namespace

const UserObj* FindUserObject(const AstroObjRef& ref) {
    if (ref.kind != kObjUser) return nullptr;
    return At(UserObjectFiles().FindStore(ref.file), ref.number);
}

const Comet* FindComet(const AstroObjRef& ref) {
    if (ref.kind != kObjComet) return nullptr;
    return At(CometFiles().FindStore(ref.file), ref.number);
}

std::u16string ObjectName(const AstroObjRef& ref) {
    switch (ref.kind) {
        case kObjNone:
            return u"-";
        case kObjBody:
            return BodyName(ref.number);
        case kObjStar:
            return StarNames(ref.number).primary;
        case kObjConstellation:
            return ConstellationCommonName(ref.number);
        case kObjUser: {
            const UserObj* o = FindUserObject(ref);
            return o ? o->name : std::u16string();
        }
        case kObjComet: {
            const Comet* c = FindComet(ref);
            return c ? c->name : std::u16string();
        }
        default:
            return u"<Name>\u00a3\u00a3\u00a3###";
    }
}

std::u16string ObjectSubtitle(const AstroObjRef& ref) {
    switch (ref.kind) {
        case kObjStar:
            return StarNames(ref.number).secondary;
        case kObjUser: {
            const UserObj* o = FindUserObject(ref);
            return o ? o->info : std::u16string();
        }
        case kObjComet: {
            const Comet* c = FindComet(ref);
            return c ? c->info : std::u16string();
        }
        default:
            return std::u16string();
    }
}

ObjectIconRef ObjectIcon(const AstroObjRef& ref) {
    switch (ref.kind) {
        case kObjBody:
            return {kImagesPlanets, ref.number};
        case kObjStar:
            return {kImagesPlanets, 10};
        case kObjConstellation:
            return {kImagesPlanets, 12};
        case kObjUser:
            if (const UserObj* o = FindUserObject(ref)) return {kImagesObjects, o->symbol};
            break;
        case kObjComet:
            if (const Comet* c = FindComet(ref)) return {kImagesAsteroidsComets, c->symbol};
            break;
        default:
            break;
    }
    return {kImagesPlanets, 0};
}

Calc::Vec3 ObjectPosition(const AstroObjRef& ref, Calc::Ephemeris& eph) {
    switch (ref.kind) {
        case kObjBody:
            return eph.ApparentPosition(ref.number);
        case kObjStar: {
            const StarPosition p = ReadStarPosition(ref.number);
            if (StarResolves(p)) return eph.StarApparent({p.X() * kQ15, p.Y() * kQ15, p.Z() * kQ15});
            break;
        }
        case kObjConstellation:
            // The second part of Serpens points where Serpens does.
            return eph.StarApparent(
                Calc::ConstellationCentre(ref.number == kSerpensSecondPart ? kSerpensIndex : ref.number));
        case kObjUser:
            if (const UserObj* o = FindUserObject(ref)) return eph.StarApparent(o->Direction());
            break;
        case kObjComet:
            if (const Comet* c = FindComet(ref)) return eph.OrbitApparent(Calc::OrbitPosition(c->orbit, eph.moment));
            break;
        default:
            break;
    }
    return {0, 1, 0};
}

float ObjectMagnitude(const AstroObjRef& ref, Calc::Ephemeris& eph) {
    switch (ref.kind) {
        case kObjBody:
            return eph.Magnitude(ref.number);
        case kObjStar: {
            const StarPosition p = ReadStarPosition(ref.number);
            if (StarResolves(p)) return static_cast<float>(p.MagnitudeCode() - kMagnitudeOffset) * 0.01f;
            break;
        }
        case kObjUser:
            if (const UserObj* o = FindUserObject(ref)) return o->magnitude;
            break;
        case kObjComet:
            if (const Comet* c = FindComet(ref)) {
                // Distances from the observer and the Sun, and the phase
                // angle between the two directions.
                const Calc::Vec3 v = eph.OrbitApparent(Calc::OrbitPosition(c->orbit, eph.moment));
                const Calc::Vec3 h = v - eph.ApparentPosition(Calc::kSun);
                const float delta = Calc::Length(v), r = Calc::Length(h);
                const float cosPhase = delta > 0 && r > 0 ? Calc::Dot(v, h) / (delta * r) : 1.0f;
                return Calc::OrbitMagnitude(c->orbit, delta, r, cosPhase);
            }
            break;
        default:
            break;
    }
    return Calc::kMissing;
}

float ObjectDistance(const AstroObjRef& ref, Calc::Ephemeris& eph) {
    switch (ref.kind) {
        case kObjStar: {
            if (ref.number < 0) return 0;
            const uint32_t mas = ReadStar(ref.number).parallax;
            return mas ? kLightYearsTimesMas / static_cast<float>(mas) * kAuPerLightYear : 0.0f;
        }
        case kObjUser:
            if (const UserObj* o = FindUserObject(ref)) return o->distance * kAuPerLightYear;
            break;
        case kObjBody:
            return Calc::Length(ObjectPosition(ref, eph));
        case kObjComet:
            if (FindComet(ref)) return Calc::Length(ObjectPosition(ref, eph));
            break;
        default:
            break;
    }
    return 0;
}

Calc::BodyInfo ObjectInfo(const AstroObjRef& ref, Calc::Ephemeris& eph) {
    return eph.InfoFor(ObjectPosition(ref, eph));
}

std::u16string ObjectSummary(const AstroObjRef& ref, Calc::Ephemeris& eph) {
    const uint32_t kind = EffectiveKind(ref);
    if (kind != kObjStar && kind != kObjBody && kind != kObjUser && kind != kObjComet) return std::u16string();
    const float mag = ObjectMagnitude(ref, eph);
    const Calc::BodyInfo info = eph.InfoFor(ObjectPosition(ref, eph), Calc::InfoFields::Position);
    const std::u16string abbreviation = ConstellationAbbreviation(info.constellation);
    if (kind == kObjStar) return u"m" + FormatResolution(mag, 0.01) + u", " + abbreviation;
    if (mag != 0 && mag != Calc::kMissing) return u"m" + FormatResolution(mag, 0.1) + u", " + abbreviation;
    return abbreviation;
}

// --- keys -------------------------------------------------------------------------------

std::u16string CometKey(const std::u16string& name) {
    if (name.empty()) return std::u16string();
    if (name[0] >= u'0' && name[0] <= u'9') {
        const size_t end = name.find_first_of(u" /");
        return end == std::u16string::npos ? std::u16string() : name.substr(0, end);
    }
    const size_t paren = name.find(u'(');
    if (paren == std::u16string::npos) return std::u16string();
    std::u16string key;
    for (size_t i = 0; i < paren; ++i) {
        if (name[i] != u' ') key += name[i];
    }
    return key;
}

std::u16string ObjectKey(const AstroObjRef& ref) {
    // A user object is kept by its number and file, loaded or not (as a
    // star is by its number), so that a file that is missing for a while
    // costs no stored reference; a comet is known by its name, which only
    // its loaded file can give.
    if (ref.kind == kObjComet && IsUnresolvedFileObject(ref)) return std::u16string();
    switch (ref.kind) {
        case kObjBody:
            return BodyKeyName(ref.number);
        case kObjStar:
            return u"Star" + FormatInt(ref.number);
        case kObjConstellation:
            return u"Con" + ConstellationAbbreviation(ref.number);
        case kObjUser:
            return u"Obj" + FormatInt(ref.number) + u"," + ref.file;
        case kObjComet:
            return u"AC" + CometKey(ObjectName(ref)) + u"," + ref.file;
        default:
            return std::u16string();
    }
}

AstroObjRef ParseObjectKey(const std::u16string& key) {
    for (int body = 0; body < 10; ++body) {
        if (key == BodyKeyName(body)) return AstroObjRef(kObjBody, body);
    }
    if (key.compare(0, 4, u"Star") == 0) return AstroObjRef(kObjStar, LeadingInteger(key, 4, key.size()));
    if (key.compare(0, 3, u"Con") == 0) {
        const int index = ConstellationFromAbbreviation(key.substr(3));
        return index < 0 ? AstroObjRef() : AstroObjRef(kObjConstellation, index);
    }
    if (key.compare(0, 3, u"Obj") == 0) {
        const size_t comma = key.find(u',', 3);
        if (comma == std::u16string::npos) return AstroObjRef();
        return AstroObjRef(kObjUser, LeadingInteger(key, 3, comma), key.substr(comma + 1));
    }
    if (key.compare(0, 2, u"AC") == 0) {
        const size_t comma = key.find(u',', 2);
        if (comma == std::u16string::npos) return AstroObjRef();
        const std::u16string cometKey = key.substr(2, comma - 2);
        const std::u16string file = key.substr(comma + 1);
        const auto& list = CometFiles().FindStore(file);
        for (size_t i = 0; i < list.size(); ++i) {
            if (CometKey(list[i]->name) == cometKey) return AstroObjRef(kObjComet, static_cast<int32_t>(i), file);
        }
    }
    return AstroObjRef();
}

}  // namespace Data
