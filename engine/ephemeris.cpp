#include "engine/ephemeris.h"

#include "engine/constellations.h"
#include "engine/planets.h"
#include "engine/sunmoon.h"

namespace Calc {

namespace {

constexpr float kRadToHours = 3.8197186f;  // 12 / pi
constexpr float kHoursToRad = 0.2617994f;  // pi / 12
// One Earth radius (6378.14 km) in AU: the observer stands that far above
// the Earth's centre. The Earth is taken as a sphere; the elevation is not used.
constexpr float kEarthRadiusAu = 4.2635234e-5f;
// The equinox of the constellation boundaries, B1875.0, in Julian centuries.
constexpr float kB1875 = -1.25f;

const BodyInfo kNoInfo{};

}  // namespace

Ephemeris::Ephemeris() {
    for (Vec3& v : theory) v = {0, 0, 1};
    Invalidate();
}

Ephemeris::~Ephemeris() = default;

void Ephemeris::Invalidate() {
    timeValid = false;
    framesValid = false;
    for (bool& f : apparentValid) f = false;
    for (bool& f : theoryValid) f = false;
    for (bool& f : infoValid) f = false;
    saturnTiltValid = false;
}

AstroTime Ephemeris::LocalTime(AstroTime ut) const { return UtcToLocal(ut, place.timeZone, summerMode); }

AstroTime Ephemeris::UniversalTime(AstroTime local) const {
    return LocalToUtc(local, place.timeZone, summerMode);
}

void Ephemeris::UpdateTime() {
    if (timeValid) return;
    gmst = GreenwichSiderealTime(moment);
    lst = LocalSiderealTime(gmst, place.longitude);
    t = JulianCenturies(moment);
    timeValid = true;
}

float Ephemeris::Gmst() {
    UpdateTime();
    return gmst;
}

float Ephemeris::Lst() {
    UpdateTime();
    return lst;
}

float Ephemeris::Centuries() {
    UpdateTime();
    return t;
}

void Ephemeris::UpdateFrames() {
    if (framesValid) return;
    UpdateTime();
    observerHorizontal = {0, 0, -kEarthRadiusAu};
    horizon = Horizon(lst, place.latitude * kDegToRad);
    observerEquatorial = MulMat(horizon, observerHorizontal);
    obliquity = Obliquity(t);
    sunEcliptic = SphToCart(TheoryPosition(kSun));
    precession = Precession(0.0f, t);
    eclipticJ2000ToDate = MulMat(Obliquity(0.0f), precession);
    sunTopocentric = MulMatT(obliquity, sunEcliptic) + observerEquatorial;
    toB1875 = Precession(t, kB1875);
    framesValid = true;
}

Vec3 Ephemeris::ObserverOffset() {
    UpdateFrames();
    return observerEquatorial;
}

Mat3 Ephemeris::HorizonMatrix() {
    UpdateFrames();
    return horizon;
}

Mat3 Ephemeris::ObliquityMatrix() {
    UpdateFrames();
    return obliquity;
}

Mat3 Ephemeris::PrecessionMatrix() {
    UpdateFrames();
    return precession;
}

Mat3 Ephemeris::EclipticJ2000ToDate() {
    UpdateFrames();
    return eclipticJ2000ToDate;
}

Vec3 Ephemeris::SunTopocentric() {
    UpdateFrames();
    return sunTopocentric;
}

Vec3 Ephemeris::TheoryPosition(int body) {
    if (body < 0 || body >= kBodyCount) return {0, 0, 1};
    if (!theoryValid[body]) {
        switch (body) {
            case kSun: theory[body] = SunPosition(moment); break;
            case kMoon: {
                // The lunar theory gives kilometres.
                Vec3 m = MoonPosition(moment);
                m.z *= kAuPerKm;
                theory[body] = m;
                break;
            }
            default: theory[body] = PlanetPosition(body, moment, Centuries()); break;
        }
        theoryValid[body] = true;
    }
    return theory[body];
}

Vec3 Ephemeris::ApparentPosition(int body) {
    if (body < 0 || body >= kApparentBodyCount) return {};
    if (!apparentValid[body]) {
        UpdateFrames();
        Vec3 g;
        if (body == kSun || body == kMoon) {
            g = SphToCart(TheoryPosition(body));
        } else if (body == kEarthShadow) {
            // Opposite the Sun, at the Moon's distance. There is no light-time
            // correction anywhere, so the plain ratio of the distances serves.
            const Vec3 sun = TheoryPosition(kSun);
            const Vec3 moon = TheoryPosition(kMoon);
            g = SphToCart(sun) * (-(moon.z / sun.z));
        } else {
            g = SphToCart(TheoryPosition(body)) + sunEcliptic;
        }
        apparent[body] = MulMatT(obliquity, g) + observerEquatorial;
        apparentValid[body] = true;
    }
    return apparent[body];
}

const BodyInfo& Ephemeris::Info(int body) {
    if (body < 0 || body >= kBodyCount) return kNoInfo;
    if (!infoValid[body]) {
        const Vec3 v = ApparentPosition(body);
        BodyInfo& out = info[body];
        PositionInfo(v, out);
        PhaseInfo(v, out);
        infoValid[body] = true;
    }
    return info[body];
}

BodyInfo Ephemeris::InfoFor(Vec3 v, InfoFields fields) {
    BodyInfo out;
    PositionInfo(v, out);
    if (fields == InfoFields::All) PhaseInfo(v, out);
    return out;
}

void Ephemeris::PositionInfo(Vec3 v, BodyInfo& out) {
    UpdateFrames();
    const Vec3 eq = CartToSph(v);
    out.ra = Reduce(eq.x * kRadToHours, 24.0f);
    out.dec = eq.y * kRadToDeg;
    out.hourAngle = Reduce(lst - out.ra, 24.0f);

    const Vec3 ecl = CartToSph(MulMat(obliquity, v));
    out.eclipticLon = Reduce(ecl.x * kRadToDeg, 360.0f);
    out.eclipticLat = ecl.y * kRadToDeg;

    const Vec3 hor = CartToSph(MulMatT(horizon, v));
    out.azimuth = Reduce(hor.x * kRadToDeg, 360.0f);
    out.altitude = hor.y * kRadToDeg;

    out.constellation = ConstellationOf(MulMatT(toB1875, v));
}

void Ephemeris::PhaseInfo(Vec3 v, BodyInfo& out) {
    const Vec3 s = ApparentPosition(kSun);
    const Vec3 h = v - s;  // from the Sun to the body
    out.distance = Length(v);
    out.sunDistance = Length(h);
    if (out.sunDistance == 0.0f) {
        // The Sun itself.
        out.phaseAngle = 0;
        out.elongation = 0;
        out.illuminated = 100.0f;
        out.skyPhaseAngle = 0;
        out.sunDirection = 0;
        return;
    }

    float elongation = AngleBetween(s, v);
    const Vec3 a = MulMat(obliquity, v);
    const Vec3 b = MulMat(obliquity, s);
    if (a.y * b.x - a.x * b.y > 0.0f) elongation = -elongation;  // east of the Sun
    out.elongation = elongation * kRadToDeg;

    const float phase = AngleBetween(v, h);
    out.phaseAngle = phase * kRadToDeg;
    out.illuminated = (Cos(phase) + 1.0f) * 50.0f;

    // The Sun's direction as seen on the sky at the body: the vector towards
    // the Sun, in the horizontal frame turned so that the body lies on the
    // x axis, y towards increasing azimuth and z towards the zenith.
    Vec3 d = MulMatT(horizon, s - v);
    d = MulMatT(RotZ(-out.azimuth * kDegToRad), d);
    d = MulMatT(RotY(out.altitude * kDegToRad), d);
    d = Unit(d);
    out.skyPhaseAngle = Acos(-d.x);
    out.sunDirection = Atan2(d.z, d.y);
}

Vec3 Ephemeris::StarApparent(Vec3 j2000) {
    UpdateFrames();
    return MulMatT(precession, j2000);
}

Vec3 Ephemeris::OrbitApparent(Vec3 heliocentricEclipticJ2000) {
    UpdateFrames();
    return MulMatT(eclipticJ2000ToDate, heliocentricEclipticJ2000) + sunTopocentric;
}

void Ephemeris::EquatorialToHorizontal(float raHours, float decDeg, float& azimuthDeg, float& altitudeDeg) {
    UpdateFrames();
    const Vec3 u = SphToCart({raHours * kHoursToRad, decDeg * kDegToRad, 1.0f});
    const Vec3 hor = CartToSph(MulMatT(horizon, u));
    azimuthDeg = hor.x * kRadToDeg;
    altitudeDeg = hor.y * kRadToDeg;
}

void Ephemeris::HorizontalToEquatorial(float azimuthDeg, float altitudeDeg, float& raHours, float& decDeg) {
    UpdateFrames();
    const Vec3 u = SphToCart({azimuthDeg * kDegToRad, altitudeDeg * kDegToRad, 1.0f});
    const Vec3 eq = CartToSph(MulMat(horizon, u));
    raHours = eq.x * kRadToHours;
    decDeg = eq.y * kRadToDeg;
}

}  // namespace Calc
