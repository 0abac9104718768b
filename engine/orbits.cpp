#include "engine/orbits.h"

#include <cfloat>

namespace Calc {

namespace {

constexpr int kMaxSteps = 15;
constexpr float kTolerance = 1e-6f;
constexpr float kDaysPerSecond = 1.1574074e-5f;
// 1.5 k: the constant of Barker's equation.
constexpr float kBarker = 0.025803149f;

// x - sin x and sinh x - x without the cancellation of the difference for
// small x: the series x^3/3! -+ x^5/5! + ... below 1 in magnitude.
float XMinusSin(float x) {
    if (Fabs(x) >= 1.0f) return x - Sin(x);
    const float x2 = x * x;
    float term = x * x2 / 6.0f, sum = 0;
    for (int k = 2; k < 9; ++k) {
        sum += term;
        term *= -x2 / static_cast<float>((2 * k) * (2 * k + 1));
    }
    return sum;
}

float SinhMinusX(float x) {
    if (Fabs(x) >= 1.0f) {
        float sh;
        SinhCosh(x, &sh, nullptr);
        return sh - x;
    }
    const float x2 = x * x;
    float term = x * x2 / 6.0f, sum = 0;
    for (int k = 2; k < 9; ++k) {
        sum += term;
        term *= x2 / static_cast<float>((2 * k) * (2 * k + 1));
    }
    return sum;
}

// Kepler's equation for an ellipse (Montenbruck & Pfleger, ch. 4).
void Elliptic(float q, float e, float dt, float M0, float& x, float& y) {
    const float a = q / (1.0f - e);
    const float n = kGaussK / (Sqrt(a) * a);
    // Reduced to -pi..pi only when outside: near perihelion M is small, and
    // adding and taking away pi would cost it its low bits.
    float M = n * dt + M0;
    if (!(Fabs(M) <= FLT_MAX)) {
        // The mean motion overflows only for an orbit far smaller than the
        // float can place apart from the Sun: the body is at perihelion
        // to within 2a (and Kepler's equation of NaN would never settle).
        x = q;
        y = 0;
        return;
    }
    if (M < -kPi || M > kPi) M = Reduce(M + kPi, kTwoPi) - kPi;
    float s, c;
    SinCos(M, &s, &c);
    float E = Atan2(s, c - e);
    for (int i = 0; i < kMaxSteps; ++i) {
        SinCos(E, &s, &c);
        // M - (E - e sin E), with E - e sin E = (1 - e) E + e (E - sin E).
        const float dE = (M - ((1.0f - e) * E + e * XMinusSin(E))) / (1.0f - e * c);
        E += dE;
        if (Fabs(dE) <= kTolerance) break;
    }
    SinCos(E, &s, &c);
    // a (cos E - e) = q - 2 a sin^2(E/2): no cancellation near perihelion.
    const float sh = Sin(0.5f * E);
    x = q - 2.0f * a * sh * sh;
    y = a * Sqrt((1.0f + e) * (1.0f - e)) * s;
}

// Kepler's equation for a hyperbola, e sinh H - H = Mh.
void Hyperbolic(float q, float e, float dt, float& x, float& y) {
    const float a = q / (e - 1.0f);
    const float Mh = kGaussK / Sqrt(a) / a * dt;
    float H = Ln(2.0f * Fabs(Mh) / e + 1.8f);
    if (Mh < 0) H = -H;
    float sh, ch;
    for (int i = 0; i < kMaxSteps; ++i) {
        SinhCosh(H, &sh, &ch);
        // e sinh H - H = (e - 1) H + e (sinh H - H)
        const float dH = ((e - 1.0f) * H + e * SinhMinusX(H) - Mh) / (e * ch - 1.0f);
        H -= dH;
        if (Fabs(dH) <= kTolerance) break;
    }
    SinhCosh(H, &sh, &ch);
    // a (e - cosh H) = q - 2 a sinh^2(H/2): no cancellation near perihelion.
    float sh2;
    SinhCosh(0.5f * H, &sh2, nullptr);
    x = q - 2.0f * a * sh2 * sh2;
    y = a * Sqrt((e + 1.0f) * (e - 1.0f)) * sh;
}

// Orbits close to a parabola, through Stumpff's functions c1, c2, c3 of
// E2 (the square of the eccentric anomaly; negative for hyperbolas): the
// universal method of Montenbruck & Pfleger, Astronomy on the Personal
// Computer, ch. 4.
void NearParabolic(float q, float e, float dt, float& x, float& y) {
    float fac = 0.5f * e;
    const float A = kBarker * dt / Sqrt(q * q * q);
    float B = 0, E2 = 0;
    for (int pass = 0; pass < kMaxSteps; ++pass) {
        const float A1 = Sqrt(fac) * A;
        // B^3 + 3B = 2 A1 by Newton's method. Far from perihelion A1/2 is far
        // above the root and Newton's steps shrink it by only a third each;
        // the cube root of 2 A1, also above the root, is close to it.
        const float aA = Fabs(A1);
        if (aA < 4.0f) {
            B = 0.5f * A1;
        } else {
            B = Exp(Ln(2.0f * aA) * (1.0f / 3.0f));
            if (A1 < 0) B = -B;
        }
        B = (2.0f / 3.0f) * (B * B * B + A1) / (B * B + 1.0f);
        for (int i = 0; i < kMaxSteps; ++i) {
            const float next = (2.0f / 3.0f) * (B * B * B + A1) / (B * B + 1.0f);
            const float change = next - B;
            B = next;
            if (Fabs(change) <= kTolerance) break;
        }
        const float E2new = (1.0f - e) / fac * B * B;
        // c3 = 1/6 - E2/120 + E2^2/5040 - ...
        float c3 = 0, term = 1.0f / 6.0f;
        for (int k = 0; k < 14; ++k) {
            c3 += term;
            if (Fabs(term) <= kTolerance) break;
            term *= -E2new / static_cast<float>((2 * k + 4) * (2 * k + 5));
        }
        const float f = 3.0f * e * c3;
        if (f > 0) fac = f;  // c3 > 0 for every E2 the orbit reaches
        const float change = E2new - E2;
        E2 = E2new;
        if (Fabs(change) <= kTolerance) break;
    }
    // c1 = 1 - E2/6 + E2^2/120 - ..., c2 = 1/2 - E2/24 + E2^2/720 - ...
    float c1 = 0, c2 = 0, t1 = 1.0f, t2 = 0.5f;
    for (int k = 0; k < 14; ++k) {
        c1 += t1;
        c2 += t2;
        if (Fabs(t1) <= kTolerance && Fabs(t2) <= kTolerance) break;
        t1 *= -E2 / static_cast<float>((2 * k + 2) * (2 * k + 3));
        t2 *= -E2 / static_cast<float>((2 * k + 3) * (2 * k + 4));
    }
    x = (1.0f - c2 * B * B / fac) * q;
    y = Sqrt((1.0f + e) / fac) * c1 * B * q;
}

}  // namespace

void PrepareOrbit(OrbitElements& el) {
    float sw, cw, si, ci, sO, cO;
    SinCos(el.argPerihelion * kDegToRad, &sw, &cw);
    SinCos(el.inclination * kDegToRad, &si, &ci);
    SinCos(el.node * kDegToRad, &sO, &cO);
    el.P = {cw * cO - sw * sO * ci, sw * cO * ci + cw * sO, sw * si};
    el.Q = {-sw * cO - cw * sO * ci, cw * cO * ci - sw * sO, cw * si};
}

namespace {

void Solve(float q, float e, float dt, float M0, float& x, float& y) {
    if (e > 1.01f) {
        // The hyperbolic and near-parabolic solvers count time from
        // perihelion: a mean anomaly at the epoch becomes a shift of time.
        if (M0 != 0) {
            const float a = q / (e - 1.0f);
            dt += M0 / (kGaussK / (Sqrt(a) * a));
        }
        Hyperbolic(q, e, dt, x, y);
    } else if (e > 0.98f) {
        if (e != 1.0f) {
            const float a = q / Fabs(1.0f - e);
            const float n = kGaussK / (Sqrt(a) * a);
            if (M0 != 0) dt += M0 / n;
            // Stumpff's series hold within one revolution of perihelion;
            // an ellipse repeats, so count from the nearest perihelion.
            if (e < 1.0f) {
                const float period = kTwoPi / n;
                if (Fabs(dt) > 0.5f * period) dt -= Floor(dt / period + 0.5f) * period;
            }
        }
        NearParabolic(q, e, dt, x, y);
    } else {
        Elliptic(q, e, dt, M0, x, y);
    }
}

bool Finite(float v) { return Fabs(v) <= FLT_MAX; }

}  // namespace

void OrbitPlanePosition(float q, float e, float dt, float M0, float& x, float& y) {
    Solve(q, e, dt, M0, x, y);
    if (Finite(x) && Finite(y)) return;
    // Stumpff's series diverge far from perihelion (thousands of orbits of a
    // tiny q, or an asteroid-form a near e = 1); the closed forms hold at any
    // distance. A NaN would otherwise reach every angle computed from it.
    if (e > 1.0f) {
        const float a = q / (e - 1.0f);
        Hyperbolic(q, e, M0 != 0 ? dt + M0 / (kGaussK / (Sqrt(a) * a)) : dt, x, y);
    } else if (e < 1.0f) {
        Elliptic(q, e, dt, M0, x, y);
    }
    if (Finite(x) && Finite(y)) return;
    // Elements beyond what single precision can follow (an orbit of 1e-30
    // AU, a parabola from a q of zero): the perihelion is the one point
    // the elements still give.
    x = Finite(q) ? q : 0.0f;
    y = 0;
}

Vec3 OrbitPosition(const OrbitElements& el, AstroTime moment) {
    const float dt = static_cast<float>(moment.day - el.epoch.day) +
                     static_cast<float>(moment.seconds - el.epoch.seconds) * kDaysPerSecond;
    const float e = el.eccentricity;
    float q, M0;
    if (el.IsComet()) {
        q = el.distance;
        M0 = 0;
    } else {
        q = (1.0f - e) * el.distance;
        M0 = el.meanAnomaly * kDegToRad;
    }
    float x, y;
    OrbitPlanePosition(q, e, dt, M0, x, y);
    return el.P * x + el.Q * y;
}

float OrbitMagnitude(const OrbitElements& el, float delta, float r, float cosPhase) {
    const float H = el.absMagnitude;
    if (H == kMissing || H == 0) return kMissing;
    if (!(delta > 0) || !(r > 0)) return kMissing;
    if (el.IsComet()) return H + Log2(delta) * 1.50515f + el.slope * (Log2(r) * 0.30103f);

    // The H, G system (Bowell et al. 1989), valid up to 120 degrees of phase.
    if (!(cosPhase >= -0.5f)) return kMissing;
    // At opposition the cosine rounds to 1 (or just above): phase angle 0.
    const float c = cosPhase > 1.0f ? 1.0f : cosPhase;
    const float t = Sqrt((1.0f - c) / (1.0f + c));  // tan of half the phase angle
    const float lt = Log2(t);                       // -1000 at t = 0: the powers below are 0
    const float phi1 = Exp(-3.33f * Exp(0.437f * lt));
    const float phi2 = Exp(-1.87f * Exp(0.84f * lt));
    const float s = (1.0f - el.slope) * phi1 + el.slope * phi2;
    if (!(s > 0)) return kMissing;
    return H + Log2(r * delta) * 1.50515f - Log2(s) * 0.752575f;
}

}  // namespace Calc
