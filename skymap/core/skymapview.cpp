// The sky map's view state, its frame rotations and the projection between
// directions and pixels.
#include "skymap/core/skymapview.h"

#include <cmath>

#include "data/starcatalog.h"

namespace UI {
namespace SkyMap {

namespace {

// 1/32767: a Q15 component back to a float.
constexpr float kQ15Inverse = 3.051851e-5f;
// Arcminutes per radian.
constexpr float kArcminPerRad = 3437.7468f;
// The scale k is capped so that every product of the projection stays far
// inside 64 bits and every screen coordinate inside 32 bits. At this scale
// a map would need a field of a few thousandths of a degree.
constexpr double kMaxScale = 1 << 30;
// A point further than this many pixels from the map centre is treated as
// not drawable: at the smallest fields such points are far outside any map,
// and the window system's drawing calls do not take coordinates without bound.
constexpr int64_t kMaxOffset = int64_t(1) << 22;

int16_t TruncQ15(float v) {
    float q = v * 32767.0f;
    if (!(q > -32768.0f)) q = -32768.0f;  // also NaN
    if (q > 32767.0f) q = 32767.0f;
    return static_cast<int16_t>(q);
}

// Nearest integer the way the map takes it: add 0.5, then truncate.
int32_t RoundArcmin(float radians) { return static_cast<int32_t>(radians * kArcminPerRad + 0.5f); }

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

Q15Vec ToQ15(Calc::Vec3 v) {
    const Calc::Vec3 u = Calc::Unit(v);
    return {TruncQ15(u.x), TruncQ15(u.y), TruncQ15(u.z)};
}

Q15Mat ToQ15(const Calc::Mat3& m) {
    Q15Mat q;
    for (int i = 0; i < 9; ++i) q.m[i] = TruncQ15(m.m[i]);
    return q;
}

StarBox StarSearchBox(const VisibleRange& range) {
    constexpr float kArcminToRad = 0.00029088822f;
    StarBox box;
    float s, c;
    Calc::SinCos(static_cast<float>(range.lonMin) * kArcminToRad, &s, &c);
    box.xFrom = TruncQ15(c);
    box.yFrom = TruncQ15(s);
    Calc::SinCos(static_cast<float>(range.lonMax) * kArcminToRad, &s, &c);
    box.xTo = TruncQ15(c);
    // The sine of 360 degrees is 0: the box would end where it starts. -1
    // makes it end just before 0h, the whole circle.
    box.yTo = range.lonMax == 21600 ? int16_t(-1) : TruncQ15(s);
    box.zMin = TruncQ15(Calc::Sin(static_cast<float>(range.latMin) * kArcminToRad));
    box.zMax = TruncQ15(Calc::Sin(static_cast<float>(range.latMax) * kArcminToRad));
    return box;
}

MapPicture::~MapPicture() = default;

// --- the view ---------------------------------------------------------------------------

SkyMapView::SkyMapView(Calc::Ephemeris& ephemeris)
    : ephemeris_(&ephemeris),
      paintedMagFilter_(options_.magFilter) {
    // Until the sky window sets its own: the limit of the default magnitude
    // slider at the starting field.
    magLimit_ = static_cast<int32_t>(AutomaticMagnitudeLimit(fieldOfView_, 657.0f) * 100.0f);
    paintedStarLimit_ = magLimit_;
    ComputeScale();
}

SkyMapView::~SkyMapView() = default;

void SkyMapView::Changed() {
    dirty_ = true;
    picture_.reset();
}

// The moment or place may have changed through either: the comets move.
void SkyMapView::Invalidate() {
    Changed();
    cometsTaken_ = false;
}

void SkyMapView::SetOptions(const SkyDisplaySettings& options) {
    options_ = options;
    Changed();
    cometsTaken_ = false;
}

void SkyMapView::SetCentre(float azimuthDeg, float altitudeDeg) {
    if (!std::isfinite(azimuthDeg) || !std::isfinite(altitudeDeg)) return;
    float az = Calc::Reduce(azimuthDeg, 360.0f);
    // A tiny negative azimuth reduces to 360 in single precision.
    if (az >= 360.0f || az < 0.0f) az = 0.0f;
    const float alt = altitudeDeg < -90.0f ? -90.0f : (altitudeDeg > 90.0f ? 90.0f : altitudeDeg);
    if (az == centreAz_ && alt == centreAlt_) return;
    centreAz_ = az;
    centreAlt_ = alt;
    Changed();
}

void SkyMapView::SetFieldOfView(float degrees) {
    if (!std::isfinite(degrees) || degrees <= 0.0f) return;
    // Beyond 180 degrees the front hemisphere only shrinks on the map.
    if (degrees > 180.0f) degrees = 180.0f;
    if (degrees == fieldOfView_) return;
    fieldOfView_ = degrees;
    Changed();
    ComputeScale();
}

void SkyMapView::SetSize(int32_t width, int32_t height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    Changed();
    ComputeScale();
}

void SkyMapView::SetMagnitudeLimit(float magnitude) {
    if (std::isnan(magnitude)) return;
    // Far beyond any catalogue either way; keeps the hundredths in range.
    if (magnitude > 1000.0f) magnitude = 1000.0f;
    if (magnitude < -1000.0f) magnitude = -1000.0f;
    const int32_t limit = static_cast<int32_t>(magnitude * 100.0f);
    if (limit == magLimit_) return;
    magLimit_ = limit;
    Changed();
}

void SkyMapView::SetSelected(const Data::AstroObjRef& ref) { selected_ = ref; }

void SkyMapView::ComputeScale() {
    const int32_t m = width_ < height_ ? width_ : height_;
    double k = (m - m / 30) * (180.0 / fieldOfView_) * 0.8491473198856037;
    if (k > kMaxScale) k = kMaxScale;
    scale_ = static_cast<int32_t>(k);
    cx_ = width_ / 2;
    cy_ = height_ / 2;
}

// --- rotations --------------------------------------------------------------------------

void SkyMapView::UpdateRotations() {
    if (!dirty_) return;
    ComputeScale();
    float sA, cA, sh, ch;
    Calc::SinCos(centreAz_ * Calc::kDegToRad, &sA, &cA);
    Calc::SinCos(centreAlt_ * Calc::kDegToRad, &sh, &ch);
    // The view's axes in the horizontal frame (x north, y east, z zenith):
    // turned about the zenith by the azimuth, then tilted about the right
    // axis by the altitude. Facing north on the horizon, right is east and
    // up is the zenith: the sky as seen from the ground, not mirrored.
    const Calc::Vec3 right{-sA, cA, 0.0f};
    const Calc::Vec3 depth{ch * cA, ch * sA, sh};
    const Calc::Vec3 up{-sh * cA, -sh * sA, ch};
    Calc::Mat3& view = rot_[static_cast<int>(Frame::Horizontal)];
    view.m[0] = right.x; view.m[1] = depth.x; view.m[2] = up.x;
    view.m[3] = right.y; view.m[4] = depth.y; view.m[5] = up.y;
    view.m[6] = right.z; view.m[7] = depth.z; view.m[8] = up.z;

    // A rotation R with the view axes as columns projects a source vector s
    // by R^T s. A frame reached from the source by M^T (the engine's
    // convention for Horizon, Precession and Obliquity) therefore needs
    // M R: (M R)^T s = R^T (M^T s).
    Calc::Ephemeris& eph = *ephemeris_;
    const Calc::Mat3 equ = Calc::MulMat(eph.HorizonMatrix(), view);
    rot_[static_cast<int>(Frame::Equatorial)] = equ;
    rot_[static_cast<int>(Frame::B1875)] = Calc::MulMat(Calc::Precession(-1.249979f, eph.Centuries()), equ);
    rot_[static_cast<int>(Frame::J2000)] = Calc::MulMat(eph.PrecessionMatrix(), equ);
    rot_[static_cast<int>(Frame::Ecliptic)] = Calc::MulMat(eph.ObliquityMatrix(), equ);
    for (int i = 0; i < kFrameCount; ++i) rotQ15_[i] = ToQ15(rot_[i]);
    dirty_ = false;
}

const Calc::Mat3& SkyMapView::Rotation(Frame f) {
    UpdateRotations();
    return rot_[static_cast<int>(f)];
}

const Q15Mat& SkyMapView::RotationQ15(Frame f) {
    UpdateRotations();
    return rotQ15_[static_cast<int>(f)];
}

void SkyMapView::PreparePaint() {
    UpdateRotations();
    paintedMagFilter_ = options_.magFilter;
    paintedStarLimit_ = magLimit_;
    if (options_.showComets) {
        cometsTaken_ = false;
        TakeComets();
    } else {
        comets_.clear();
        cometFiles_.clear();
        cometsTaken_ = false;
    }
}

// --- projection -------------------------------------------------------------------------

bool SkyMapView::Project(const Q15Vec& v, const Q15Mat* rotation, ScreenPoint& pt) {
    if (dirty_) UpdateRotations();
    int32_t x, y, z;
    if (rotation) {
        // Sums in 64 bits: for unit vectors they fit 32 bits, but a damaged
        // catalogue record need not be a unit vector.
        const int16_t* m = rotation->m;
        z = static_cast<int16_t>((int64_t(m[1]) * v.x + int64_t(m[4]) * v.y + int64_t(m[7]) * v.z) >> 15);
        if (z < 0) {
            pt = {-20, -20};
            return false;
        }
        x = static_cast<int16_t>((int64_t(m[0]) * v.x + int64_t(m[3]) * v.y + int64_t(m[6]) * v.z) >> 15);
        y = static_cast<int16_t>((int64_t(m[2]) * v.x + int64_t(m[5]) * v.y + int64_t(m[8]) * v.z) >> 15);
    } else {
        x = v.x;
        z = v.y;
        y = v.z;
        if (z < 0) {
            pt = {-20, -20};
            return false;
        }
    }
    // x k / (z + d) in 64 bits: on a desktop-sized map the scale passes
    // 32768 already at fields of a few degrees, and x k then overflows 32
    // bits. Keeping the products in 32 bits instead, by dropping every point
    // more than 2000/32767 radian off the centre once k >= 32768, would drop
    // stars that are on a wide map; so only points further than 2^22 pixels
    // off the centre are dropped.
    const int64_t den = int64_t(z) + kProjectionDistance;
    const int64_t ox = int64_t(x) * scale_ / den;
    const int64_t oy = int64_t(y) * scale_ / den;
    if (ox > kMaxOffset || ox < -kMaxOffset || oy > kMaxOffset || oy < -kMaxOffset) {
        pt = {-20, -20};
        return false;
    }
    pt.x = cx_ + static_cast<int32_t>(ox);
    pt.y = cy_ - static_cast<int32_t>(oy);
    return true;
}

bool SkyMapView::ProjectDirection(Calc::Vec3 v, Frame f, ScreenPoint& pt) {
    const Q15Vec q = ToQ15(v);
    if (q.x == 0 && q.y == 0 && q.z == 0) {  // no direction
        pt = {-20, -20};
        return false;
    }
    return Project(q, &RotationQ15(f), pt);
}

Calc::Vec3 SkyMapView::Unproject(int32_t x, int32_t y) {
    UpdateRotations();
    const float dx = static_cast<float>(x - cx_);
    const float dy = static_cast<float>(cy_ - y);
    const float r2 = dx * dx + dy * dy;
    const float d = kProjectionDistance * kQ15Inverse;
    const float k = static_cast<float>(scale_);
    if (k <= 0.0f) return {};
    const float k2 = k * k;
    // Beyond the image of the front hemisphere (more than 90 degrees from
    // the centre, whose rim lies at k/d pixels).
    if (r2 > k2 / (d * d)) return {};
    const float rest = k2 - (d * d - 1.0f) * r2;
    const float q = k * Calc::Sqrt(rest > 0.0f ? rest : 0.0f);
    const float z = (q - r2 * d) / (r2 + k2);
    const float f = (z + d) / k;
    return {dx * f, z, dy * f};
}

Calc::Vec3 SkyMapView::UnprojectTo(Frame f, int32_t x, int32_t y) {
    const Calc::Vec3 v = Unproject(x, y);
    return Calc::MulMat(Rotation(f), v);
}

bool SkyMapView::OnMap(const ScreenPoint& pt) const {
    return pt.x >= 0 && pt.x < width_ && pt.y >= 0 && pt.y < height_;
}

bool SkyMapView::NearMap(const ScreenPoint& pt) const {
    const int32_t qx = width_ / 4, qy = height_ / 4;
    return pt.x >= -qx && pt.x <= width_ + qx && pt.y >= -qy && pt.y <= height_ + qy;
}

bool SkyMapView::ScreenPositionOf(const Data::AstroObjRef& ref, ScreenPoint& pt) {
    pt = {-20, -20};
    // Only what resolves to an object has a place: the object model answers
    // (0, 1, 0) for anything else, a real direction.
    switch (ref.kind) {
        case Data::kObjBody:
            if (ref.number < Calc::kSun || ref.number > Calc::kPluto) return false;
            break;
        case Data::kObjStar: {
            const Data::StarPosition p = Data::ReadStarPosition(ref.number);
            if (p.X() == 0 && p.Y() == 0 && p.Z() == 0) return false;
            break;
        }
        case Data::kObjConstellation:
            if (ref.number < 0 || ref.number > 88) return false;
            break;
        case Data::kObjUser:
            if (!Data::FindUserObject(ref)) return false;
            break;
        case Data::kObjComet:
            if (!Data::FindComet(ref)) return false;
            break;
        default:
            return false;
    }
    const Calc::Vec3 v = Data::ObjectPosition(ref, *ephemeris_);
    if (Calc::Length(v) <= 0.0f) return false;
    return ProjectDirection(v, Frame::Equatorial, pt) && OnMap(pt);
}

bool SkyMapView::IsOnScreen(Calc::Vec3 equatorial) {
    ScreenPoint pt;
    return ProjectDirection(equatorial, Frame::Equatorial, pt) && OnMap(pt);
}

void SkyMapView::CentreOnEquatorial(Calc::Vec3 equatorial) {
    if (Calc::Length(equatorial) <= 0.0f) return;
    const Calc::Vec3 h = Calc::MulMatT(ephemeris_->HorizonMatrix(), equatorial);
    const Calc::Vec3 s = Calc::CartToSph(h);
    SetCentre(s.x * Calc::kRadToDeg, s.y * Calc::kRadToDeg);
}

// --- view operations --------------------------------------------------------------------

bool SkyMapView::HorizontalUnder(int32_t x, int32_t y, float& azimuthDeg, float& altitudeDeg) {
    const Calc::Vec3 v = UnprojectTo(Frame::Horizontal, x, y);
    if (Calc::Length(v) <= 0.0f) return false;
    const Calc::Vec3 s = Calc::CartToSph(v);
    azimuthDeg = s.x * Calc::kRadToDeg;
    altitudeDeg = s.y * Calc::kRadToDeg;
    return true;
}

PanRate SkyMapView::PanRates(int32_t x, int32_t y) {
    float az = 0, alt = 0;
    HorizontalUnder(x, y, az, alt);  // off the hemisphere's image: altitude 0
    const int32_t m = width_ < height_ ? width_ : height_;
    const float p = fieldOfView_ / static_cast<float>(m > 0 ? m : 1);
    float c = Calc::Cos(alt * Calc::kDegToRad);
    // Near the zenith a pixel sweeps many degrees of azimuth; the floor
    // keeps the rate finite.
    if (c < fieldOfView_ / 180.0f) c = fieldOfView_ / 180.0f;
    PanRate rate;
    rate.azimuthPerPixel = -p / c;
    rate.altitudePerPixel = p;
    return rate;
}

void SkyMapView::PanBy(int32_t x0, int32_t y0, int32_t x, int32_t y) {
    if (x == x0 && y == y0) return;
    const PanRate rate = PanRates(x, y);
    SetCentre(centreAz_ + static_cast<float>(x - x0) * rate.azimuthPerPixel,
              centreAlt_ + static_cast<float>(y - y0) * rate.altitudePerPixel);
}

void SkyMapView::ZoomAbout(float field, int32_t x, int32_t y) {
    if (!std::isfinite(field) || field <= 0.0f || field == fieldOfView_) return;
    const float az0 = centreAz_, alt0 = centreAlt_;
    float a1, h1;
    if (!HorizontalUnder(x, y, a1, h1)) {
        // No sky under the point: zoom about the centre.
        SetFieldOfView(field);
        return;
    }
    const Calc::Vec3 object = UnprojectTo(Frame::Horizontal, x, y);
    SetCentre(a1, h1);
    SetFieldOfView(field);
    // With the object at the centre, (x, y) now shows the point (a2, h2);
    // moving the centre by the opposite offset brings the object back under
    // (x, y). The offset is taken in azimuth and altitude, which is exact
    // only for small offsets near the horizon: 70 pixels off the centre at
    // altitude 40 the object would still be 6 pixels away, near the zenith
    // 20 and more. The step is therefore repeated from the new centre until
    // the sky point under (x, y) is the object to a quarter of a pixel.
    // (The azimuth is reduced modulo 360 by SetCentre, so differences across
    // north, 359.9 and 0.1, come out right.)
    const int32_t m = width_ < height_ ? width_ : height_;
    const float quarterPixel = 0.25f * fieldOfView_ / static_cast<float>(m > 0 ? m : 1) * Calc::kDegToRad;
    float bestError = -1, bestAz = centreAz_, bestAlt = centreAlt_;
    for (int step = 0; step < 8; ++step) {
        const Calc::Vec3 under = UnprojectTo(Frame::Horizontal, x, y);
        if (Calc::Length(under) <= 0.0f) break;
        const float error = Calc::AngleBetween(under, object);
        if (bestError >= 0 && error >= bestError) break;  // no longer improving
        bestError = error;
        bestAz = centreAz_;
        bestAlt = centreAlt_;
        if (error <= quarterPixel) break;
        const Calc::Vec3 s = Calc::CartToSph(under);
        const float a2 = s.x * Calc::kRadToDeg, h2 = s.y * Calc::kRadToDeg;
        SetCentre(centreAz_ - (a2 - a1), centreAlt_ - (h2 - h1));
    }
    if (bestError < 0) {
        // Zoomed out so far that the point lies beyond the new hemisphere's
        // image: nothing can be kept under it; keep the old centre.
        SetCentre(az0, alt0);
        return;
    }
    SetCentre(bestAz, bestAlt);
}

VisibleRange SkyMapView::VisibleWindow(Frame f) {
    UpdateRotations();
    VisibleRange r;
    const Calc::Mat3& m = rot_[static_cast<int>(f)];
    // The depth axis (column 1) is the map centre's direction in the frame.
    const Calc::Vec3 centre = Calc::CartToSph({m.m[1], m.m[4], m.m[7]});
    const float lc = Calc::Reduce(centre.x, Calc::kTwoPi);
    const float bc = centre.y;
    const float cosB = Calc::Cos(bc);
    r.cosLat = static_cast<int32_t>(Calc::Fabs(cosB) * 32767.0f);

    const int32_t shorter = width_ < height_ ? width_ : height_;
    const int32_t longer = width_ < height_ ? height_ : width_;
    const float aspect = shorter > 0 ? static_cast<float>(longer) / static_cast<float>(shorter) : 1.0f;
    const int32_t s = static_cast<int32_t>(fieldOfView_ * aspect * 10.0f);
    if (s >= 900) return r;  // the long side spans 90 degrees or more: the whole sphere

    const Q15Mat& q = rotQ15_[static_cast<int>(f)];
    ScreenPoint pole;
    if (Project(Q15Vec{0, 0, 32767}, &q, pole) && NearMap(pole)) {
        r.latMin = 5400 - 12 * s;
        r.latMax = 5400;
    } else if (Project(Q15Vec{0, 0, -32767}, &q, pole) && NearMap(pole)) {
        r.latMin = -5400;
        r.latMax = -5400 + 12 * s;
    } else {
        const int32_t b = RoundArcmin(bc);
        r.latMin = b - 6 * s;
        r.latMax = b + 6 * s;
        const int32_t c = static_cast<int32_t>(cosB * 32767.0f);
        if (c > 164) {
            const int32_t w = 6 * s * 32768 / c;
            if (w < 5400) {
                const int32_t l = RoundArcmin(lc);
                r.lonMin = l - w;
                r.lonMax = l + w;
            }
        }
    }
    r.latMin = Clamp(r.latMin, -5400, 5400);
    r.latMax = Clamp(r.latMax, -5400, 5400);
    return r;
}

}  // namespace SkyMap
}  // namespace UI
