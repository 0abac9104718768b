#include "engine/vecmath.h"

#include <cmath>
#include <cstring>

namespace Calc {

namespace {

inline uint32_t Bits(float x) {
    uint32_t u;
    std::memcpy(&u, &x, sizeof u);
    return u;
}

inline float FromBits(uint32_t u) {
    float x;
    std::memcpy(&x, &u, sizeof x);
    return x;
}

}  // namespace

// --- vectors and matrices ----------------------------------------------------

float Length(Vec3 a) { return Sqrt(Dot(a, a)); }

Vec3 Unit(Vec3 a) {
    float l = Length(a);
    return l > 0 ? a * (1.0f / l) : a;
}

float AngleBetween(Vec3 a, Vec3 b) {
    float d = Length(a - b);
    if (d <= 0.02f) return d * (1.0f + d * d * (1.0f / 24.0f));  // chord of unit vectors
    float la = Length(a), lb = Length(b);
    if (la == 0 || lb == 0) return 0;
    float c = Dot(a, b) / (la * lb);
    if (c > 1) c = 1;
    if (c < -1) c = -1;
    return Acos(c);
}

Vec3 MulMat(const Mat3& a, Vec3 v) {
    const float* m = a.m;
    return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
            m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

Vec3 MulMatT(const Mat3& a, Vec3 v) {
    const float* m = a.m;
    return {m[0] * v.x + m[3] * v.y + m[6] * v.z, m[1] * v.x + m[4] * v.y + m[7] * v.z,
            m[2] * v.x + m[5] * v.y + m[8] * v.z};
}

Mat3 MulMat(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[3 * i + j] = a.m[3 * i] * b.m[j] + a.m[3 * i + 1] * b.m[3 + j] + a.m[3 * i + 2] * b.m[6 + j];
    return r;
}

Mat3 Transpose(const Mat3& a) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[3 * i + j] = a.m[3 * j + i];
    return r;
}

Mat3 RotX(float a) {
    float s, c;
    SinCos(a, &s, &c);
    return Mat3{{1, 0, 0, 0, c, s, 0, -s, c}};
}

Mat3 RotY(float a) {
    float s, c;
    SinCos(a, &s, &c);
    return Mat3{{c, 0, -s, 0, 1, 0, s, 0, c}};
}

Mat3 RotZ(float a) {
    float s, c;
    SinCos(a, &s, &c);
    return Mat3{{c, s, 0, -s, c, 0, 0, 0, 1}};
}

Mat3 Obliquity(float T) { return RotX((23.439291f - 0.013004166f * T) * kDegToRad); }

Mat3 Precession(float T0, float T) {
    // Lieske et al. (1977), as in Meeus ch. 21; angles in arcseconds.
    const float t = T - T0;
    const float zeta = ((2306.218f + 1.39656f * T0 - 0.000139f * T0 * T0) * t +
                        (0.30188f - 0.000345f * T0) * t * t + 0.017998f * t * t * t);
    const float z = zeta + (0.7928f + 0.000411f * T0) * t * t + 0.000205f * t * t * t;
    const float theta = (2004.3109f - 0.8533f * T0 - 0.000217f * T0 * T0) * t -
                        (0.42665f + 0.000217f * T0) * t * t - 0.041833f * t * t * t;
    const float k = 4.848137e-6f;
    float sz, cz, sZ, cZ, st, ct;
    SinCos(zeta * k, &sz, &cz);
    SinCos(z * k, &sZ, &cZ);
    SinCos(theta * k, &st, &ct);
    // Stored transposed, so that MulMatT applies the precession T0 -> T.
    return Mat3{{cz * ct * cZ - sz * sZ, cz * ct * sZ + sz * cZ, cz * st,
                 -sz * ct * cZ - cz * sZ, -sz * ct * sZ + cz * cZ, -sz * st,
                 -st * cZ, -st * sZ, ct}};
}

Mat3 Horizon(float lstHours, float latitudeRad) {
    Mat3 h = MulMat(RotZ(-lstHours * (kPi / 12.0f)), RotY(-(kHalfPi - latitudeRad)));
    // Negating the first column turns the south-pointing x axis to the north.
    h.m[0] = -h.m[0];
    h.m[3] = -h.m[3];
    h.m[6] = -h.m[6];
    return h;
}

Vec3 TopocentricOffset(const Mat3& horizon) {
    // One Earth radius (6378.14 km) towards the nadir, in AU; the place's
    // elevation is ignored.
    return MulMat(horizon, Vec3{0, 0, -4.2635234e-5f});
}

Vec3 SphToCart(Vec3 s) {
    float sl, cl, sb, cb;
    SinCos(s.x, &sl, &cl);
    SinCos(s.y, &sb, &cb);
    return {s.z * cb * cl, s.z * cb * sl, s.z * sb};
}

Vec3 CartToSph(Vec3 v) {
    float r = Length(v);
    if (r == 0) return {0, 0, 0};
    float lon = Atan2(v.y, v.x);
    float lat = Atan2(v.z, Sqrt(v.x * v.x + v.y * v.y));
    if (lat > kPi) lat -= kTwoPi;
    return {lon, lat, r};
}

// --- maths library --------------------------------------------------------------
// Polynomial coefficients: least-squares fits of this library's own (relative
// error below 5e-9 on the reduced ranges, well inside single precision).

void SinCos(float x, float* sOut, float* cOut) {
    if (Fabs(x) > 1e8f) x = 0;  // no meaningful phase left in a float
    const float ax = Fabs(x);
    int j = 0;
    float r = ax;
    if (ax >= 0.7853982f) {
        j = static_cast<int>(ax * 1.2732395f);  // octant, 4/pi
        // pi/4 in three parts (Cody & Waite) keeps the reduction exact for
        // the arguments the theories produce.
        const float n = static_cast<float>((j & 1) ? j + 1 : j);
        r = ((ax - n * 0.78515625f) - n * 2.4187564849853515625e-4f) - n * 3.77489497744594108e-8f;
        if (j & 1) r = -r;
    }
    const float z = r * r;
    float s = r * (1.0f + z * (-0.16666655f + z * (0.0083322042f + z * -0.00019520214f)));
    float c = 1.0f + z * (-0.5f + z * (0.041666647f + z * (-0.0013887365f + z * 2.443824e-5f)));
    if ((j + 1) & 2) {
        float t = s;
        s = c;
        c = t;
    }
    if (((j & 4) != 0) != (x < 0)) s = -s;
    if ((j + 2) & 4) c = -c;
    if (sOut) *sOut = s;
    if (cOut) *cOut = c;
}

float Sin(float x) {
    float s;
    SinCos(x, &s, nullptr);
    return s;
}

float Cos(float x) {
    float c;
    SinCos(x, nullptr, &c);
    return c;
}

float Atan(float x) {
    if (x != x) return x;  // NaN would otherwise recurse without end below
    if (x < 0) return -Atan(-x);
    if (x > 1) return kHalfPi - Atan(1.0f / x);
    if (x <= 0.415f) {
        const float z = x * x;
        return x * (0.99999999974f +
                    z * (-0.33333313f + z * (0.19998431f + z * (-0.14243193f + z * (0.10592647f + z * -0.060770548f)))));
    }
    return 0.7853982f + Atan((x - 1.0f) / (x + 1.0f));
}

float Atan2(float y, float x) {
    if (x == 0) return y > 0 ? kHalfPi : (y < 0 ? -kHalfPi : 0.0f);
    const float ay = Fabs(y), ax = Fabs(x);
    float a = ay > ax ? kHalfPi - Atan(ax / ay) : Atan(ay / ax);
    if (x < 0) a = kPi - a;
    if (y < 0) a = -a;
    return a;
}

float Asin(float x) {
    if (x == 0) return 0;
    float q = 1 - x * x;
    return Atan2(x, q > 0 ? Sqrt(q) : 0.0f);
}

float Acos(float x) {
    if (x == 0) return kHalfPi;
    float q = 1 - x * x;
    return Atan2(q > 0 ? Sqrt(q) : 0.0f, x);
}

float Log2(float x) {
    int32_t bits = static_cast<int32_t>(Bits(x));
    if (bits < 1) return kMissing;  // zero or negative
    int e = (bits >> 23) & 0xFF;
    uint32_t mant = static_cast<uint32_t>(bits) & 0x7FFFFF;
    if (e == 0xFF) return mant ? kMissing : 128.0f;  // NaN, infinity
    if (e == 0) {
        // Subnormal: normalise the mantissa.
        while (!(mant & 0x800000)) {
            mant <<= 1;
            --e;
        }
        mant &= 0x7FFFFF;
        ++e;
    }
    e -= 127;
    float m = FromBits(0x3F800000u | mant);  // 1 <= m < 2
    if (m > 1.4142137f) {
        m *= 0.5f;
        ++e;
    }
    const float z = (m - 1.0f) / (m + 1.0f);
    const float zz = z * z;
    const float p = 2.8853901f + zz * (0.96179668f + zz * (0.577083f + zz * (0.41170145f + zz * 0.34027371f)));
    return static_cast<float>(e) + z * p;
}

float Log10(float x) {
    float l = Log2(x);
    return l == kMissing ? kMissing : l * 0.30103f;
}

float Ln(float x) {
    float l = Log2(x);
    return l == kMissing ? kMissing : l * 0.6931472f;
}

float ExpM1(float x) {
    if (x != x) return x;
    if (x > 88.7f) return FromBits(0x7F800000u);  // overflow: infinity
    if (x < -88.0f) return -1.0f;
    const float y = x * 1.442695f;
    const int n = static_cast<int>(Floor(y + 0.5f));
    const float f = y - static_cast<float>(n);
    const float q = f * (0.69314719f + f * (0.24022651f + f * (0.055503571f + f * (0.0096180567f + f * (0.0013390867f + f * 0.00015461447f)))));
    if (n == 0) return q;
    // (q + 1) 2^n: n added to the exponent bits.
    float v = q + 1.0f;
    uint32_t b = Bits(v);
    int e = static_cast<int>((b >> 23) & 0xFF) + n;
    if (e <= 0) return -1.0f;
    b = (b & ~(0xFFu << 23)) | (static_cast<uint32_t>(e) << 23);
    return FromBits(b) - 1.0f;
}

float Exp(float x) {
    if (x >= -1.0f) return ExpM1(x) + 1.0f;
    return 1.0f / (ExpM1(-x) + 1.0f);
}

void SinhCosh(float x, float* sh, float* ch) {
    // With e = exp(|x|) - 1: sinh = (e + e / (e + 1)) / 2, cosh = sinh + 1 / (e + 1).
    const float ax = Fabs(x);
    const float e = ExpM1(ax);
    const float s = 0.5f * (e + e / (e + 1.0f));
    const float c = s + 1.0f / (e + 1.0f);
    if (sh) *sh = x < 0 ? -s : s;
    if (ch) *ch = c;
}

float Fabs(float x) { return FromBits(Bits(x) & 0x7FFFFFFFu); }

float Floor(float x) {
    if (!(Fabs(x) < 8388608.0f)) return x;  // already whole (or NaN)
    float t = static_cast<float>(static_cast<int32_t>(x));
    return t > x ? t - 1.0f : t;
}

float Sqrt(float x) { return x > 0 ? std::sqrt(x) : 0.0f; }

float Reduce(float x, float m) { return x - Floor(x / m) * m; }

}  // namespace Calc
