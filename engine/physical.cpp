#include "engine/physical.h"

#include "engine/planets.h"
#include "engine/sunmoon.h"

namespace Calc {

namespace {

struct BodyConstants {
    float diameter;  // arcseconds at 1 AU
    float v0;        // magnitude at 1 AU from the Sun and the observer, phase angle 0
};
// Diameters after Meeus (ch. 55); magnitudes after Meeus (ch. 41), the
// Sun's being its apparent magnitude, the Moon's at its mean distance.
const BodyConstants kBodies[kBodyCount] = {
    {1919.26f, -26.7f}, {4.8f, -12.73f},  {6.72f, -0.42f},   {16.82f, -4.4f},  {9.36f, -1.52f},
    {196.88f, -9.4f},   {165.46f, -8.88f}, {70.04f, -7.19f}, {67.0f, -6.87f},  {4.14f, -1.0f},
};

constexpr float kHoursToRad = 0.2617994f;  // pi / 12
// 5 log10(x) = Log2(x) x 1.50515.
constexpr float kFiveLog10Of2 = 1.50515f;
// The Moon's mean distance (0.00257 AU) as a factor.
constexpr float kMoonMeanDistanceInverse = 389.0712f;

float FiveLog10(float x) { return Log2(x) * kFiveLog10Of2; }

float WholeDegrees(float radians) { return Floor(Reduce(radians, kTwoPi) * kRadToDeg + 0.5f); }

}  // namespace

// --- Ephemeris members -----------------------------------------------------------

float Ephemeris::AngularDiameter(int body) {
    if (body < 0 || body >= kBodyCount) return 0.0f;
    const float delta = Info(body).distance;
    return delta > 0.0f ? kBodies[body].diameter / delta : 0.0f;
}

DiscSize Ephemeris::JupiterDisc() {
    DiscSize d;
    const float delta = Info(kJupiter).distance;
    if (delta > 0.0f) {
        d.major = kBodies[kJupiter].diameter / delta;
        d.minor = kJupiterPolarAt1Au / delta;
    }
    return d;
}

DiscSize Ephemeris::SaturnDisc() {
    DiscSize d;
    const float delta = Info(kSaturn).distance;
    if (delta > 0.0f) {
        // The flattening (polar/equatorial = 0.8924) as the disc appears
        // with its pole tilted by the ring tilt towards the observer.
        const float s = SaturnTilt();
        d.major = kBodies[kSaturn].diameter / delta;
        d.minor = d.major * Sqrt(0.7962f - 0.2038f * s * s);
    }
    return d;
}

DiscSize Ephemeris::SaturnRings() {
    DiscSize d;
    const float delta = Length(ApparentPosition(kSaturn));
    if (delta > 0.0f) {
        d.major = kSaturnRingAt1Au / delta;
        d.minor = d.major * SaturnTilt();
    }
    return d;
}

float Ephemeris::SaturnTilt() {
    if (!saturnTiltValid) {
        // The ring plane's inclination and node on the ecliptic of date
        // (Meeus, ch. 45).
        const float T = Centuries();
        const float i = (28.075216f - 0.012998f * T) * kDegToRad;
        const float node = (169.50847f + 1.394681f * T) * kDegToRad;
        const Vec3 ecl = CartToSph(MulMat(ObliquityMatrix(), ApparentPosition(kSaturn)));
        float si, ci, sb, cb;
        SinCos(i, &si, &ci);
        SinCos(ecl.y, &sb, &cb);
        saturnTilt = ci * sb - si * cb * Sin(ecl.x - node);
        saturnTiltValid = true;
    }
    return saturnTilt;
}

float Ephemeris::Magnitude(int body) {
    if (body < 0 || body >= kBodyCount) return kMissing;
    if (body == kSun) return kBodies[kSun].v0;
    const BodyInfo& b = Info(body);
    const float r = b.sunDistance, delta = b.distance, i = b.phaseAngle;
    const float v0 = kBodies[body].v0;
    const float m5 = FiveLog10(r * delta);
    switch (body) {
        case kMoon: {
            const float i2 = i * i;
            return v0 + 0.026f * i + 4e-9f * i2 * i2 + FiveLog10(r * delta * kMoonMeanDistanceInverse);
        }
        case kMercury: return v0 + m5 + 0.038f * i - 0.000273f * i * i + 2e-6f * i * i * i;
        case kVenus: return v0 + m5 + 0.0009f * i + 0.000239f * i * i - 6.5e-7f * i * i * i;
        case kMars: return v0 + m5 + 0.016f * i;
        case kJupiter: return v0 + m5 + 0.005f * i;
        case kSaturn: {
            const float s = SaturnTilt();
            return v0 + m5 + 0.044f * i - 2.6f * Fabs(s) + 1.25f * s * s;
        }
        default: return v0 + m5;  // Uranus, Neptune, Pluto
    }
}

MoonPhaseInfo Ephemeris::MoonPhaseData() {
    MoonPhaseInfo out;
    const BodyInfo& moon = Info(kMoon);
    out.illuminated = moon.illuminated;

    // The Sun's direction on the sky at the Moon (the construction of the
    // phase fields, with the Sun's direction from the observer: at 400 times
    // the Moon's distance the difference is a tenth of a degree).
    const float A = moon.azimuth * kDegToRad, h = moon.altitude * kDegToRad;
    Vec3 d = MulMatT(HorizonMatrix(), ApparentPosition(kSun));
    d = MulMatT(RotZ(-A), d);
    d = MulMatT(RotY(h), d);
    d = Unit(d);
    out.sunAngle = Acos(-d.x);
    out.sunDirection = Atan2(d.z, d.y);

    // The axis: the position angle of the Moon's axis from the node of its
    // orbit (1.54 degrees to the ecliptic, 0.398 = sin 23.44 deg folded in),
    // less the parallactic angle.
    const float T = Centuries();
    const float node = (125.0445f - 1934.1364f * T) * kDegToRad;
    const float alpha = moon.ra * kHoursToRad;
    const float p = Asin(0.398f * Cos(alpha - (180.0f - 3.87f * Sin(node)) * kDegToRad));
    float sinPhi, cosPhi;
    SinCos(place.latitude * kDegToRad, &sinPhi, &cosPhi);
    float q = 0.0f;
    if (cosPhi != 0.0f) {
        float sinH, cosH, sinDec, cosDec;
        SinCos(moon.hourAngle * kHoursToRad, &sinH, &cosH);
        SinCos(moon.dec * kDegToRad, &sinDec, &cosDec);
        q = Atan2(sinH, sinPhi / cosPhi * cosDec - sinDec * cosH);
    }
    out.axisAngle = p - q;

    const float elongation = (TheoryPosition(kMoon).x - TheoryPosition(kSun).x) / kTwoPi;
    out.waxing = Frac(elongation) * 100.0f < 50.0f ? 1 : 0;
    return out;
}

// --- functions of the moment ----------------------------------------------------------------

float MoonColongitude(AstroTime t) {
    const Vec3 moon = MoonPosition(t);  // km
    const Vec3 sun = SunPosition(t);    // AU
    const float T = JulianCenturies(t);
    // The heliocentric direction of the Moon, from the geocentric ones.
    const float k = moon.z * kAuPerKm / sun.z;
    const float lonH = sun.x + kPi + k * Cos(moon.y) * Sin(sun.x - moon.x);
    const float latH = k * moon.y;
    const float node = (125.0445f - 1934.1364f * T) * kDegToRad;
    const float W = lonH - node;
    float sW, cW, sB, cB;
    SinCos(W, &sW, &cW);
    SinCos(latH, &sB, &cB);
    // 0.99963766 and 0.026917055: cosine and sine of the lunar equator's
    // inclination to the ecliptic, 1.54242 degrees.
    const float A = Atan2(sW * cB * 0.99963766f - sB * 0.026917055f, cW * cB);
    const float F = MoonArguments(t).F * kTwoPi;
    return Reduce(90.0f - (A - F) * kRadToDeg, 360.0f);
}

namespace {

// Jupiter's and the Earth's places for the low-accuracy methods of Meeus
// (chs. 43 and 44), d days from the epoch of the constants.
struct JupiterGeometry {
    float B;      // Jupiter's equation of the centre
    float delta;  // distance from the Earth, AU
    float psi;    // phase angle, radians
    float R, r;   // Earth-Sun and Jupiter-Sun distances, AU
    float K;
    float sv;     // the great-inequality term 0.329 deg sin V
};

JupiterGeometry Geometry(float d, float V0, float M0, float N0, float J0, float aSinM) {
    JupiterGeometry g;
    const float V = Reduce(V0 + 1.947578e-5f * d, kTwoPi);
    const float M = Reduce(M0 + 0.017201971f * d, kTwoPi);
    g.sv = 0.005742133f * Sin(V);
    const float N = Reduce(N0 + 0.0014501121f * d + g.sv, kTwoPi);
    const float J = Reduce(J0 + 0.01575191f * d - g.sv, kTwoPi);
    const float A = aSinM * Sin(M) + 0.00034906584f * Sin(2 * M);
    g.B = 0.09695304f * Sin(N) + 0.0029321532f * Sin(2 * N);
    g.K = J + A - g.B;
    g.R = 1.00014f - 0.01671f * Cos(M) - 0.00014f * Cos(2 * M);
    g.r = 5.20872f - 0.25208f * Cos(N) - 0.00611f * Cos(2 * N);
    g.delta = Sqrt(g.r * g.r + g.R * g.R - 2 * g.r * g.R * Cos(g.K));
    g.psi = Asin(g.R * Sin(g.K) / g.delta);
    return g;
}

}  // namespace

JupiterMeridians JupiterCentralMeridians(AstroTime t) {
    // From 0h UT of the day (d whole days from MJD 51544); the rotation of
    // the day's seconds is added separately, and the rotations are split at
    // 73 and 12 days so that a float keeps their fractions.
    const float d = static_cast<float>(t.day - 51544);
    const JupiterGeometry g = Geometry(d, 3.014872f, 6.231457f, 0.34868985f, 1.1460484f, 0.033423055f);
    const float s = static_cast<float>(t.seconds);
    const int32_t q73 = t.day / 73, r73 = t.day - 73 * q73;
    const float w1 = 3.094903f + 2.7544246f * r73 + 0.011071346f * q73 + 0.00017732402f * s - 0.08855951f * g.delta +
                     g.psi - g.B;
    const int32_t q12 = t.day / 12, r12 = t.day - 12 * q12;
    const float w2 = 5.5520735f + 2.621256f * r12 + 0.03914608f * q12 + 0.00017578271f * s - 0.08778975f * g.delta +
                     g.psi - g.B;
    JupiterMeridians m;
    m.system1 = static_cast<int32_t>(WholeDegrees(w1));
    m.system2 = static_cast<int32_t>(WholeDegrees(w2));
    return m;
}

namespace {

// The mean arguments of the four moons and of the terms G and H (Meeus,
// ch. 44: 163.8069 + 203.4058646 t degrees and so on, t in days from JD
// 2451545.0), as revolutions split at a period of whole days (a0 at MJD 0,
// a1 a day, aq a period, as a second): Io turns 0.565 revolutions a day, so
// days since 2000 kept in one float would lose its place by a fifth of a
// degree now and most of a degree by 2100. Each period is the one up to 60
// days after which the argument is closest to whole revolutions.
struct MoonArgument {
    int32_t period;
    float a0, a1, aq, as;
};
const MoonArgument kMoonArguments[6] = {
    {23, 0.972830626f, 0.5650162906f, -4.625317222e-03f, 6.539540400e-06f},  // u1, Io
    {32, 0.143919609f, 0.2813656486f, 3.700755556e-03f, 3.256546859e-06f},   // u2, Europa
    {43, 0.479444025f, 0.1395403278f, 2.340944444e-04f, 1.615050090e-06f},   // u3, Ganymede
    {17, 0.993400250f, 0.0596888333f, 1.471016667e-02f, 6.908429784e-07f},   // u4, Callisto
    {43, 0.507057086f, 0.1397513389f, 9.307572222e-03f, 1.617492348e-06f},   // G
    {50, 0.978396446f, 0.0599145306f, -4.273472222e-03f, 6.934552148e-07f},  // H
};

// The argument at t less its motion during the light time (radians).
float MoonArgumentAt(const MoonArgument& a, AstroTime t, float lightDays) {
    return SplitDayArgument(t, a.period, a.a0, a.a1, a.aq, a.as) * kTwoPi - a.a1 * kTwoPi * lightDays;
}

}  // namespace

void JupiterMoons(AstroTime t, JupiterMoon out[kJupiterMoonCount]) {
    const float d = static_cast<float>(t.day - 51544) - 0.5f + static_cast<float>(t.seconds) * 1.1574074e-5f;
    const JupiterGeometry g = Geometry(d, 3.0148818f, 6.2400584f, 0.3494149f, 1.1539245f, 0.0334231f);

    // The planetocentric declination of the Earth on Jupiter's equator;
    // lon = 34.35 + 0.083091 d degrees + the great inequality + B.
    const float lon = 0.5995206f + 0.0014502115f * d + g.B + g.sv;
    const float DE = 0.054454f * Sin(lon + 0.747f) -
                     0.038746f * (g.R * Sin(g.K) / g.delta) * Cos(lon + 0.383972f) -
                     0.022689f * ((g.r - g.delta) / g.delta) * Sin(lon - 1.75406f);
    const float sDE = -Sin(DE);

    // Angles from the inferior conjunction, at the moment the light left.
    const float light = g.delta * 0.0057803467f;  // 1/173 day per AU
    const float pb = g.psi - g.B;
    float u1 = Reduce(MoonArgumentAt(kMoonArguments[0], t, light) + pb, kTwoPi);
    float u2 = Reduce(MoonArgumentAt(kMoonArguments[1], t, light) + pb, kTwoPi);
    float u3 = Reduce(MoonArgumentAt(kMoonArguments[2], t, light) + pb, kTwoPi);
    float u4 = Reduce(MoonArgumentAt(kMoonArguments[3], t, light) + pb, kTwoPi);
    const float G = MoonArgumentAt(kMoonArguments[4], t, light);
    const float H = MoonArgumentAt(kMoonArguments[5], t, light);
    // The mutual perturbations of Io, Europa and Ganymede, and those of the
    // Sun on Ganymede and Callisto.
    const float d12 = 2 * (u1 - u2), d23 = 2 * (u2 - u3);
    u1 += 0.00825541f * Sin(d12);
    u2 += 0.01858776f * Sin(d23);
    u3 += 0.00287979f * Sin(G);
    u4 += 0.01467822f * Sin(H);
    const float radius[kJupiterMoonCount] = {5.9073f - 0.0244f * Cos(d12), 9.3991f - 0.0882f * Cos(d23),
                                             14.9924f - 0.0216f * Cos(G), 26.3699f - 0.1935f * Cos(H)};
    const float u[kJupiterMoonCount] = {u1, u2, u3, u4};
    const char16_t letters[kJupiterMoonCount] = {u'I', u'E', u'G', u'C'};
    for (int i = 0; i < kJupiterMoonCount; ++i) {
        float su, cu;
        SinCos(u[i], &su, &cu);
        out[i].x = radius[i] * su;
        out[i].y = radius[i] * cu * sDE;
        out[i].inFront = cu >= 0.0f ? 1 : 0;
        out[i].letter = letters[i];
    }
}

MarsMeridian MarsCentralMeridian(AstroTime t) {
    const float T = JulianCenturies(t);
    // The Earth seen from the Sun, and Mars seen from the Earth (ecliptic of date).
    const Vec3 sun = SunPosition(t);
    const Vec3 earth = SphToCart({sun.x + kPi, -sun.y, sun.z});
    const Vec3 g = SphToCart(MarsPosition(T)) - earth;
    const float delta = Length(g);
    const Vec3 ecl = CartToSph(g);

    // Mars' north pole: ecliptic and equatorial coordinates (degrees).
    const float lon0 = (352.9065f + 1.1733f * T) * kDegToRad;
    const float lat0 = (63.2818f - 0.00394f * T) * kDegToRad;
    const float alpha0 = (317.681f - 0.108f * T) * kDegToRad;
    const float delta0 = (52.886f - 0.061f * T) * kDegToRad;

    MarsMeridian m;
    float sl0, cl0, sb, cb;
    SinCos(lat0, &sl0, &cl0);
    SinCos(ecl.y, &sb, &cb);
    const float DE = Asin(-sl0 * sb - cl0 * cb * Cos(lon0 - ecl.x));
    m.earthDeclination = static_cast<int32_t>(Floor(DE * kRadToDeg + 0.5f));

    // The rotation at the moment the light left Mars: 350.892 degrees a day
    // (0.9747 turns), split at 237 days.
    const AstroTime tl = SubSeconds(t, static_cast<int32_t>(delta * 0.0057755182f * 86400.0f));
    const float W = SplitDayArgument(tl, 237, 0.066533f, 0.9747f, 0.0039f, 1.128125e-5f);

    const Vec3 eq = CartToSph(MulMatT(Obliquity(T), g));
    float sd0, cd0, sd, cd;
    SinCos(delta0, &sd0, &cd0);
    SinCos(eq.y, &sd, &cd);
    float sa, ca;
    SinCos(alpha0 - eq.x, &sa, &ca);
    const float xi = Atan2(sd0 * cd * ca - sd * cd0, cd * sa);
    m.centralMeridian = static_cast<int32_t>(Floor(Reduce(360.0f * W - xi * kRadToDeg, 360.0f) + 0.5f));
    return m;
}

}  // namespace Calc
