// Single-precision vectors, rotation matrices and the engine's own maths
// library. Everything here works in radians; angles reported to people are
// converted at the edges.
#pragma once

#include <cstdint>

namespace Calc {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.29578f;
constexpr float kArcsecToRad = 4.8481365e-6f;
constexpr float kAuPerKm = 6.684587e-9f;
// The value that stands for "missing" (magnitudes, logarithms).
constexpr float kMissing = -1000.0f;

// Three floats; also used as a spherical triple (longitude, latitude, radius).
struct Vec3 {
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(float s, Vec3 a) { return a * s; }
inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length(Vec3 a);
// The unit vector; a zero vector is returned unchanged.
Vec3 Unit(Vec3 a);
// Angle between two directions (radians); chord formula for close ones.
float AngleBetween(Vec3 a, Vec3 b);

// Row-major: m[3 * row + col].
struct Mat3 {
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

Vec3 MulMat(const Mat3& a, Vec3 v);   // A v
Vec3 MulMatT(const Mat3& a, Vec3 v);  // A^T v
Mat3 MulMat(const Mat3& a, const Mat3& b);
Mat3 Transpose(const Mat3& a);

Mat3 RotX(float a);
Mat3 RotY(float a);
Mat3 RotZ(float a);

// Equatorial <-> ecliptic of date: MulMat takes equatorial to ecliptic.
Mat3 Obliquity(float T);
// MulMatT takes equatorial coordinates at T0 to those at T (Lieske 1977).
Mat3 Precession(float T0, float T);
// MulMatT takes equatorial of date to horizontal (x north, y east, z zenith).
Mat3 Horizon(float lstHours, float latitudeRad);
// Vector (AU) from the observer to the Earth's centre, equatorial of date,
// for a horizon matrix: one Earth radius towards the nadir.
Vec3 TopocentricOffset(const Mat3& horizon);

Vec3 SphToCart(Vec3 lonLatR);
Vec3 CartToSph(Vec3 xyz);

// --- the maths library ------------------------------------------------------
void SinCos(float x, float* s, float* c);
float Sin(float x);
float Cos(float x);
float Atan(float x);
float Atan2(float y, float x);
float Asin(float x);
float Acos(float x);
float Log2(float x);   // -1000 for x <= 0
float Log10(float x);  // -1000 for x <= 0
float Ln(float x);     // -1000 for x <= 0
float ExpM1(float x);
float Exp(float x);
void SinhCosh(float x, float* sh, float* ch);
float Fabs(float x);
float Floor(float x);
float Sqrt(float x);
// x - floor(x / m) m: never negative for positive m.
float Reduce(float x, float m);
inline float Frac(float x) { return x - Floor(x); }

}  // namespace Calc
