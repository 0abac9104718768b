// The object under a tap on the sky map.
//
// Kinds are searched in a fixed order -- bodies, user objects, comets and
// asteroids, stars -- and a candidate is taken only when it lies strictly
// inside the tap radius and strictly nearer than the best so far, so among
// equally near candidates the first in that order wins. Bodies and user
// objects end the search as soon as one is taken; a comet or asteroid still
// has to be nearer than the nearest star.
#include <string>
#include <vector>

#include "data/starcatalog.h"
#include "data/starenum.h"
#include "skymap/core/skymapview.h"

namespace UI {
namespace SkyMap {

void CometApparent(const Data::Comet& comet, Calc::Ephemeris& eph, Calc::Vec3& position, float& magnitude) {
    position = eph.OrbitApparent(Calc::OrbitPosition(comet.orbit, eph.moment));
    // Distances from the observer and from the Sun, and the phase angle
    // between the two directions.
    const Calc::Vec3 h = position - eph.ApparentPosition(Calc::kSun);
    const float delta = Calc::Length(position), r = Calc::Length(h);
    const float cosPhase = delta > 0 && r > 0 ? Calc::Dot(position, h) / (delta * r) : 1.0f;
    magnitude = Calc::OrbitMagnitude(comet.orbit, delta, r, cosPhase);
}

void SkyMapView::TakeComets() {
    Data::ObjectFileManager<Data::Comet>& files = Data::CometFiles();
    std::vector<std::u16string> names;
    files.ListLoadedFiles(names);
    std::vector<std::pair<std::u16string, size_t>> taken;
    taken.reserve(names.size());
    for (const std::u16string& name : names) taken.emplace_back(name, files.FindStore(name).size());
    if (cometsTaken_ && taken == cometFiles_) return;
    comets_.clear();
    for (const std::u16string& name : names) {
        const auto& list = files.FindStore(name);
        for (size_t i = 0; i < list.size(); ++i) {
            CometSpot spot;
            spot.ref = Data::AstroObjRef(Data::kObjComet, static_cast<int32_t>(i), name);
            spot.symbol = list[i]->symbol;
            CometApparent(*list[i], *ephemeris_, spot.position, spot.magnitude);
            comets_.push_back(std::move(spot));
        }
    }
    cometFiles_ = std::move(taken);
    cometsTaken_ = true;
}

int64_t SkyMapView::Distance2(const Q15Vec& v, Frame f, int32_t x, int32_t y) {
    ScreenPoint pt;
    if ((v.x == 0 && v.y == 0 && v.z == 0) || !Project(v, &rotQ15_[static_cast<int>(f)], pt)) return kBehindDistance2;
    const int64_t dx = int64_t(pt.x) - x, dy = int64_t(pt.y) - y;
    return dx * dx + dy * dy;
}

Data::AstroObjRef SkyMapView::HitTest(int32_t x, int32_t y) {
    UpdateRotations();
    const int64_t radius2 = int64_t(hitRadius_) * hitRadius_;
    int64_t best = kBehindDistance2;
    Data::AstroObjRef found;
    auto take = [&](int64_t d2, const Data::AstroObjRef& ref) {
        if (d2 < radius2 && d2 < best) {
            best = d2;
            found = ref;
        }
    };

    // 1. The Sun, the Moon and the planets: their centres, not their discs.
    if (options_.showPlanets) {
        for (int b = Calc::kSun; b <= Calc::kPluto; ++b) {
            const Calc::Vec3 p = ephemeris_->ApparentPosition(b);
            take(Distance2(ToQ15(p), Frame::Equatorial, x, y), Data::AstroObjRef(Data::kObjBody, b));
        }
        if (found.kind != Data::kObjNone) return found;
    }

    // 2. User objects within the magnitude filter of the last paint.
    if (options_.showUserObjects) {
        auto& files = Data::UserObjectFiles();
        std::vector<std::u16string> names;
        files.ListLoadedFiles(names);
        for (const std::u16string& name : names) {
            const auto& list = files.FindStore(name);
            for (size_t i = 0; i < list.size(); ++i) {
                const Data::UserObj& o = *list[i];
                if (!(o.magnitude <= paintedMagFilter_)) continue;
                take(Distance2(Q15Vec{o.x, o.y, o.z}, Frame::J2000, x, y),
                     Data::AstroObjRef(Data::kObjUser, static_cast<int32_t>(i), name));
            }
        }
        if (found.kind != Data::kObjNone) return found;
    }

    // 3. Comets and asteroids; the nearest is still measured against the stars.
    if (options_.showComets) {
        // Positions of the last paint, unless the view or the files changed since.
        TakeComets();
        for (const CometSpot& c : comets_) {
            const int64_t d2 = Distance2(ToQ15(c.position), Frame::Equatorial, x, y);
            if (!(d2 < radius2 && d2 < best)) continue;
            if (!(c.magnitude <= paintedMagFilter_)) continue;
            take(d2, c.ref);
        }
    }

    // 4. The star nearest the tap's direction, among those the last star
    //    layer drew, within a sixteenth of the field.
    const Calc::Vec3 tap = Unproject(x, y);
    if (Calc::Length(tap) > 0.0f) {
        const Q15Vec j = ToQ15(Calc::MulMat(rot_[static_cast<int>(Frame::J2000)], tap));
        int32_t limit = paintedStarLimit_;
        if (limit > 32767) limit = 32767;
        if (limit < -32768) limit = -32768;
        const Data::NearestStar star =
            Data::FindNearestStar(j.x, j.y, j.z, static_cast<int16_t>(limit), StarFinderRadius(fieldOfView_));
        if (star.star != Data::kNoStar) {
            const Data::StarPosition sp = Data::ReadStarPosition(star.star);
            take(Distance2(Q15Vec{sp.X(), sp.Y(), sp.Z()}, Frame::J2000, x, y),
                 Data::AstroObjRef(Data::kObjStar, star.star));
        }
    }
    return found;
}

}  // namespace SkyMap
}  // namespace UI
