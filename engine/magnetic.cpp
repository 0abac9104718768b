// World Magnetic Model synthesis after NOAA's published routine (geomag.c,
// "geomg1"; NOAA Technical Report "The US/UK World Magnetic Model", eqs. 7-20):
// geodetic to geocentric coordinates on the WGS-84 ellipsoid, unnormalised
// associated Legendre functions by recursion (the Schmidt factors live in the
// coefficient tables), and the sums of the potential's gradient.
//
// The field is linear in the coefficients, so the sums are split: the spatial
// step sums the main-field and the secular-variation coefficients separately
// (field at the epoch and its yearly rate), and a new moment only needs
// "value + rate x years".

#include "engine/magnetic.h"

#include <cmath>

#include "engine/magnetic_tables.h"
#include "engine/vecmath.h"

namespace Calc {

namespace {

// WGS-84 in kilometres: a^2, b^2, a^2 - b^2.
constexpr float kA2 = 40680632.0f;
constexpr float kB2 = 4.04083e7f;
constexpr float kC2 = 272331.6f;
// The model's reference radius (km).
constexpr float kReferenceRadius = 6371.2f;
// The field is a potential field of sources inside the Earth: far below the
// surface it means nothing (the model is defined from 1 km below the
// ellipsoid to 850 km above it; heights above are still sensible).
constexpr float kLowestHeight = -100.0f;

// MJD 0 as a year in hundredths, and the earliest moment the first model
// still serves (two hundredths, about a week, before its epoch).
constexpr int32_t kMjdZeroHundredths = 185888;
constexpr int32_t kEarlyHundredths = 2;
// Each model serves five years from its epoch; the last one up to and
// including the end of its fifth year.
constexpr int32_t kSpanHundredths = 500;

constexpr int N = kMagneticDegree;

// Recursion constants K(n, m) = ((n-1)^2 - m^2) / ((2n-1)(2n-3)) of
// P(n,m) = cos(theta) P(n-1,m) - K(n,m) P(n-2,m).
struct RecursionTable {
    float k[N + 1][N + 1] = {};
    constexpr RecursionTable() {
        for (int n = 2; n <= N; ++n)
            for (int m = 0; m <= n; ++m)
                k[n][m] = float((n - 1) * (n - 1) - m * m) / float((2 * n - 1) * (2 * n - 3));
    }
};
constexpr RecursionTable kRecursion;

}  // namespace

MagneticModel::MagneticModel() = default;

int32_t MagneticModel::YearHundredths(AstroTime t) {
    return static_cast<int32_t>(static_cast<int64_t>(t.day) * 400 / 1461) + kMjdZeroHundredths;
}

int MagneticModel::ModelFor(AstroTime t) {
    int32_t y = YearHundredths(t);
    if (kMagneticModelCount <= 0 || y < kMagneticModels[0].epochHundredths - kEarlyHundredths) return -1;
    int i = 0;
    while (i + 1 < kMagneticModelCount && kMagneticModels[i + 1].epochHundredths <= y) ++i;
    if (y > kMagneticModels[i].epochHundredths + kSpanHundredths) return -1;
    // A model serves up to the next epoch (exclusive) or, the last one, to the
    // end of its span (inclusive).
    return i;
}

const char16_t* MagneticModel::ModelName() const {
    return resultModel_ >= 0 ? kMagneticModels[resultModel_].name : u"";
}

void MagneticModel::Invalidate() {
    spatialCached_ = false;
    momentCached_ = false;
}

void MagneticModel::ClearResults() {
    valid = 0;
    declination = 0;
    inclination = 0;
    intensity = 0;
}

void MagneticModel::Recompute() {
    int model = ModelFor(moment);
    if (model < 0) {
        // Outside every model: no field. The cached moment is dropped so that
        // a return to the previous moment recomputes the cleared results.
        ClearResults();
        resultModel_ = -1;
        momentCached_ = false;
        return;
    }
    bool samePlace = spatialCached_ && longitude == cachedLongitude_ && latitude == cachedLatitude_ &&
                     height == cachedHeight_ && model == cachedModel_;
    if (!samePlace) {
        SpatialStep(model);
        TimeStep(YearHundredths(moment));
    } else if (!momentCached_ || moment != cachedMoment_) {
        TimeStep(YearHundredths(moment));
    }
}

float MagneticModel::MagneticAzimuth(float azimuthDeg) {
    Recompute();
    return valid ? azimuthDeg - declination : azimuthDeg;
}

void MagneticModel::SpatialStep(int model) {
    spatialCached_ = true;
    cachedLongitude_ = longitude;
    cachedLatitude_ = latitude;
    cachedHeight_ = height;
    cachedModel_ = model;
    momentCached_ = false;  // the time step must follow

    spatialOk_ = false;
    if (!std::isfinite(longitude) || !std::isfinite(latitude) || !std::isfinite(height) ||
        Fabs(latitude) > 90.0f || height < kLowestHeight)
        return;

    // Geodetic latitude; at the poles exactly, so that the pole formula below
    // is taken instead of a division by a rounding residue.
    float srlat, crlat;
    if (Fabs(latitude) == 90.0f) {
        srlat = latitude > 0 ? 1.0f : -1.0f;
        crlat = 0.0f;
    } else {
        SinCos(latitude * kDegToRad, &srlat, &crlat);
    }
    float sinLon, cosLon;
    SinCos(-longitude * kDegToRad, &sinLon, &cosLon);  // east longitude
    const float srlat2 = srlat * srlat, crlat2 = crlat * crlat;
    const float alt = height;

    // Geodetic to geocentric (geomag.c): ct, st = sine and cosine of the
    // geocentric latitude (cosine and sine of the colatitude theta), r the
    // geocentric distance, ca and sa the cosine and sine of the angle between
    // the two latitudes. st is formed from crlat directly rather than as
    // sqrt(1 - ct^2), which would lose most of its digits near the poles.
    const float q = Sqrt(kA2 - kC2 * srlat2);
    const float q1 = alt * q;
    const float ratio = (q1 + kA2) / (q1 + kB2);
    const float den = Sqrt(ratio * ratio * crlat2 + srlat2);
    const float ct = srlat / den;
    const float st = ratio * crlat / den;
    // r^2 = alt^2 + 2 alt q + (a^4 - (a^4 - b^4) sin^2) / q^2 in geomag.c;
    // the last term is written here as a^2 - b^2 (a^2 - b^2) sin^2 / q^2, the
    // same value without the difference of two numbers near 1.6e15 that
    // single precision holds only to 1e8.
    const float r2 = kA2 - kB2 * kC2 * srlat2 / (q * q) + alt * (alt + 2.0f * q);
    const float r = Sqrt(r2);
    const float d = Sqrt(kA2 * crlat2 + kB2 * srlat2);
    if (!std::isfinite(r)) return;  // a height beyond all reason
    const float ca = (alt + d) / r;
    const float sa = kC2 * crlat * srlat / (r * d);

    // cos(m lon), sin(m lon) by the addition theorems.
    float sp[N + 1], cp[N + 1];
    sp[0] = 0.0f;
    cp[0] = 1.0f;
    sp[1] = sinLon;
    cp[1] = cosLon;
    for (int m = 2; m <= N; ++m) {
        sp[m] = sp[1] * cp[m - 1] + cp[1] * sp[m - 1];
        cp[m] = cp[1] * cp[m - 1] - sp[1] * sp[m - 1];
    }

    // Unnormalised Legendre functions P(n,m) of cos(theta) and their theta
    // derivatives; pp is the pole substitute for P(n,1) / sin(theta).
    float p[N + 1][N + 1] = {};
    float dp[N + 1][N + 1] = {};
    float pp[N + 1] = {};
    p[0][0] = 1.0f;
    pp[0] = 1.0f;
    const bool pole = (st == 0.0f);

    // Each degree's sum over m is formed on its own and the degrees are added
    // from the highest (smallest) to the dipole (largest), so that the small
    // terms are not rounded away one by one against a running total of some
    // 30000 nT.
    float degBt[N + 1], degBp[N + 1], degBr[N + 1], degBpp[N + 1];
    float degBtR[N + 1], degBpR[N + 1], degBrR[N + 1], degBppR[N + 1];
    const float aor = kReferenceRadius / r;
    float ar = aor * aor;
    const MagneticTerm* terms = kMagneticModels[model].terms;
    for (int n = 1; n <= N; ++n) {
        ar *= aor;  // (a / r)^(n + 2)
        float bt = 0, bp = 0, br = 0, bpp = 0;      // epoch values
        float btR = 0, bpR = 0, brR = 0, bppR = 0;  // yearly rates
        for (int m = 0; m <= n; ++m) {
            if (n == m) {
                p[n][m] = st * p[n - 1][m - 1];
                dp[n][m] = st * dp[n - 1][m - 1] + ct * p[n - 1][m - 1];
            } else if (n == 1) {  // m = 0
                p[n][m] = ct * p[n - 1][m];
                dp[n][m] = ct * dp[n - 1][m] - st * p[n - 1][m];
            } else {
                // P(n-2, m) is zero for m = n - 1 (the arrays start zeroed).
                const float k = kRecursion.k[n][m];
                p[n][m] = ct * p[n - 1][m] - k * p[n - 2][m];
                dp[n][m] = ct * dp[n - 1][m] - st * p[n - 1][m] - k * dp[n - 2][m];
            }

            const MagneticTerm& t = terms[n * (n + 1) / 2 + m - 1];
            // g cos + h sin and g sin - h cos of m lon, for the values and the rates.
            const float c1 = t.g * cp[m] + t.h * sp[m];
            const float c2 = t.g * sp[m] - t.h * cp[m];
            const float r1 = t.gRate * cp[m] + t.hRate * sp[m];
            const float r2m = t.gRate * sp[m] - t.hRate * cp[m];
            bt -= c1 * dp[n][m];
            btR -= r1 * dp[n][m];
            bp += float(m) * c2 * p[n][m];
            bpR += float(m) * r2m * p[n][m];
            br += c1 * p[n][m];
            brR += r1 * p[n][m];

            // At the geographic poles the eastward component is the limit of
            // the sum over m = 1 divided by sin(theta), which is carried by
            // its own recursion.
            if (pole && m == 1) {
                pp[n] = (n == 1) ? pp[0] : ct * pp[n - 1] - kRecursion.k[n][1] * pp[n - 2];
                bpp += c2 * pp[n];
                bppR += r2m * pp[n];
            }
        }
        const float rn = float(n + 1) * ar;
        degBt[n] = ar * bt;
        degBp[n] = ar * bp;
        degBr[n] = rn * br;
        degBpp[n] = ar * bpp;
        degBtR[n] = ar * btR;
        degBpR[n] = ar * bpR;
        degBrR[n] = rn * brR;
        degBppR[n] = ar * bppR;
    }
    float bt = 0, bp = 0, br = 0, bpp = 0, btR = 0, bpR = 0, brR = 0, bppR = 0;
    for (int n = N; n >= 1; --n) {
        bt += degBt[n];
        bp += degBp[n];
        br += degBr[n];
        bpp += degBpp[n];
        btR += degBtR[n];
        bpR += degBpR[n];
        brR += degBrR[n];
        bppR += degBppR[n];
    }
    if (pole) {
        bp = bpp;
        bpR = bppR;
    } else {
        bp /= st;
        bpR /= st;
    }

    bTheta_ = bt;
    bPhi_ = bp;
    bRadial_ = br;
    bThetaRate_ = btR;
    bPhiRate_ = bpR;
    bRadialRate_ = brR;
    cosGeocentricLat_ = st;
    cosLatDiff_ = ca;
    sinLatDiff_ = sa;
    spatialOk_ = std::isfinite(bt) && std::isfinite(bp) && std::isfinite(br) && std::isfinite(btR) &&
                 std::isfinite(bpR) && std::isfinite(brR);
}

void MagneticModel::TimeStep(int32_t yearHundredths) {
    momentCached_ = true;
    cachedMoment_ = moment;
    resultModel_ = cachedModel_;
    if (!spatialOk_) {
        ClearResults();
        return;
    }
    // Years since the epoch, from whole hundredths so that no year of four
    // digits is rounded in single precision.
    const float dt = float(yearHundredths - kMagneticModels[cachedModel_].epochHundredths) / 100.0f;
    const float bt = bTheta_ + dt * bThetaRate_;
    const float bp = bPhi_ + dt * bPhiRate_;
    const float br = bRadial_ + dt * bRadialRate_;

    // Geocentric to geodetic components: X north, Y east, Z down.
    const float x = -cosLatDiff_ * bt - sinLatDiff_ * br;
    const float y = bp;
    const float z = sinLatDiff_ * bt - cosLatDiff_ * br;

    const float h = Sqrt(x * x + y * y);
    const float f = Sqrt(h * h + z * z);
    if (!std::isfinite(f)) {
        ClearResults();
        return;
    }
    float dec = Atan2(y, x) * kRadToDeg;
    if (dec > 180.0f) dec -= 360.0f;
    if (dec <= -180.0f) dec += 360.0f;
    declination = dec;
    inclination = Atan2(z, h) * kRadToDeg;
    intensity = f;
    valid = 1;
}

}  // namespace Calc
