// Planet series: Montenbruck & Pfleger, Astronomy on the Personal Computer,
// ch. 6, reduced to the Keplerian terms and the largest perturbations, with
// the longitude coefficients in revolutions. Every multiple of an angle is
// built from one SinCos by the addition theorems: the device has no
// floating-point unit and a SinCos costs far more than a few products.
#include "engine/planets.h"

#include "engine/sunmoon.h"

namespace Calc {
namespace {

// Sine and cosine of one angle, combined by the addition theorems.
struct SC {
    float s, c;
};

SC Angle(float radians) {
    SC r;
    SinCos(radians, &r.s, &r.c);
    return r;
}
SC Sum(SC a, SC b) { return {a.s * b.c + a.c * b.s, a.c * b.c - a.s * b.s}; }
SC Diff(SC a, SC b) { return {a.s * b.c - a.c * b.s, a.c * b.c + a.s * b.s}; }
SC Double(SC a) { return {2.0f * a.s * a.c, 1.0f - 2.0f * a.s * a.s}; }

// Longitude in radians from a sum in revolutions.
float Revolutions(float rev) { return kTwoPi * Frac(rev); }

// Julian centuries from the day number alone (the secular terms of Mercury
// and Venus need no better).
float DayCenturies(AstroTime t) { return static_cast<float>(t.day) * 2.7378508e-5f - 1.4112115f; }

}  // namespace

Vec3 MercuryPosition(AstroTime t) {
    const float T0 = DayCenturies(t);
    const float Mr = SplitDayArgument(t, 88, 0.5485063f, 0.011367596f, 0.0003484179f, 1.315694e-7f);
    const SC m1 = Angle(kTwoPi * Mr);
    const SC m2 = Double(m1);
    const SC m3 = Sum(m2, m1);
    const SC m4 = Double(m2);
    const SC m5 = Sum(m4, m1);

    Vec3 p{0, 0, 1};
    p.x = Revolutions(Mr + 0.21514f + 0.0043222993f * T0 + 0.06523719f * m1.s + 0.00020041666f * m1.c -
                      0.00042415896f * m2.c + 0.008020401f * m2.s - 0.00018058642f * m3.c +
                      0.0013493365f * m3.s + 0.00025665894f * m4.s);
    p.y = (0.05664185f + 0.00067170936f * T0) * m1.c - (0.012227728f + 0.00014631677f * T0) +
          (0.10279887f - 0.00034426618f * T0) * m1.s + (0.011588453f + 0.00013812342f * T0) * m2.c +
          (0.020879908f - 6.874658e-5f * T0) * m2.s + 0.0025957408f * m3.c + 0.0047721667f * m3.s +
          0.0006031082f * m4.c + 0.0011491539f * m4.s + 0.00014272914f * m5.c + 0.000284925f * m5.s;
    p.z = 0.3952829f - 0.07834234f * m1.c - 0.00795545f * m2.c - 0.00121286f * m3.c;
    return p;
}

Vec3 VenusPosition(AstroTime t) {
    const float T0 = DayCenturies(t);
    const float Mr = SplitDayArgument(t, 225, 0.7483594f, 0.0044503617f, 0.0013313462f, 5.1508813e-8f);
    const SC m = Angle(kTwoPi * Mr);

    Vec3 p{0, 0, 1};
    p.x = Revolutions(Mr + 0.3654783f + 0.003912963f * T0 + 0.00215527f * m.s);
    p.y = (0.048458435f + 0.00031488648f * T0) * m.c + (0.034068923f - 0.00041742457f * T0) * m.s -
          0.00032821886f;
    p.z = 0.7233482f - 0.00489907f * m.c;
    return p;
}

Vec3 MarsPosition(float T) {
    const float Mr = Frac(0.0538553f + 53.166275f * T);
    const SC m1 = Angle(kTwoPi * Mr);
    const SC m2 = Double(m1);

    Vec3 p{0, 0, 1};
    p.x = Revolutions(Mr + 0.9334591f + 0.0051045525f * T + 0.029692879f * m1.s + 0.0017637346f * m2.s);
    p.y = 0.0028910409f + (0.009099419f + 0.0005695591f * T) * m1.s +
          (-0.03064832f + 0.00018073854f * T) * m1.c - 0.0028572495f * m2.c + 0.0008475028f * m2.s;
    p.z = 1.5303352f - 0.14185604f * m1.c - 0.00660837f * m2.c;
    return p;
}

namespace {
float JupiterMeanAnomaly(float T) { return Frac(0.0565314f + 8.430296f * T); }
float SaturnMeanAnomaly(float T) { return Frac(0.8829867f + 3.3947687f * T); }
}  // namespace

Vec3 JupiterPosition(float T) {
    const float Jr = JupiterMeanAnomaly(T);
    const SC j1 = Angle(kTwoPi * Jr);
    const SC s1 = Angle(kTwoPi * SaturnMeanAnomaly(T));
    const SC j2 = Double(j1);
    const SC j3 = Sum(j2, j1);
    const SC s2 = Double(s1);
    const SC s5 = Sum(Double(s2), s1);
    const SC j2s2 = Diff(j2, s2);
    const SC j2s5 = Diff(j2, s5);
    const SC j3s5 = Diff(j3, s5);

    Vec3 p{0, 0, 1};
    p.x = Revolutions(Jr + 0.038891f + 0.003877469f * T + (0.015431019f + 5.162037e-5f * T) * j1.s -
                      (8.726852e-5f + 5.8719135e-5f * T) * j1.c + 0.00048765432f * j2.s -
                      5.8950616e-5f * j2s2.c - 0.00014282408f * j2s2.s + 0.0008226852f * j2s5.c -
                      0.00039992284f * j2s5.s + 5.285494e-5f * j3s5.c + 0.000103626546f * j3s5.s);
    p.y = 0.0011019815f - 0.022644192f * j1.c + 0.0014006267f * j1.s - 0.0010995574f * j2.c;
    p.z = 5.208873f - 0.252082f * j1.c - 0.001422f * j1.s - 0.006106f * j2.c + 0.002602f * j2s2.c -
          0.00108f * j2s2.s - 0.001669f * j3s5.c;
    return p;
}

Vec3 SaturnPosition(float T) {
    const float Sr = SaturnMeanAnomaly(T);
    const SC s1 = Angle(kTwoPi * Sr);
    const SC j1 = Angle(kTwoPi * JupiterMeanAnomaly(T));
    const SC s2 = Double(s1);
    const SC s3 = Sum(s2, s1);
    const SC s4 = Double(s2);
    const SC s5 = Sum(s4, s1);
    const SC s6 = Double(s3);
    const SC j2 = Double(j1);
    const SC s1j1 = Diff(s1, j1);
    const SC s2j1 = Diff(s2, j1);
    const SC s4j2 = Diff(s4, j2);
    const SC s5j2 = Diff(s5, j2);
    const SC s6j2 = Diff(s6, j2);

    Vec3 p{0, 0, 1};
    p.x = Revolutions(Sr + 0.2561136f + 0.0038723766f * T + (0.017675694f - 0.000112808644f * T) * s1.s -
                      (0.00026875f + 0.00017376544f * T) * s1.c + 3.4104938e-5f * s2.c +
                      0.000558642f * s2.s - 0.00032916668f * s2j1.s - 0.00063418207f * s4j2.c -
                      0.0020274692f * s5j2.c - 0.000985571f * s5j2.s - 0.000113194445f * s6j2.c -
                      5.6867284e-5f * s6j2.s);
    p.y = 0.00084890873f + (-0.015836438f + 0.0003859117f * T) * s1.c + 0.040309347f * s1.s -
          0.0009148434f * s2.c + 0.0022257797f * s2.s + 0.00013623264f * s3.s - 0.00034179364f * s4j2.c -
          0.00021137876f * s6j2.c - 0.000226408f * s6j2.s;
    p.z = 9.557584f + (-0.529155f + 0.003377f * T) * s1.c - (0.007522f + 0.005213f * T) * s1.s -
          0.00815f * s1j1.s - 0.014643f * s2.c - 0.005465f * s2j1.c + 0.018736f * s4j2.s +
          0.001174f * s5j2.c - 0.003441f * s5j2.s + 0.001664f * s6j2.c - 0.003343f * s6j2.s;
    return p;
}

Vec3 UranusPosition(float T) {
    const float Mr = Frac(0.3967117f + 1.1902848f * T);
    const SC m1 = Angle(kTwoPi * Mr);
    const SC m2 = Double(m1);

    Vec3 p{0, 0, 1};
    p.x = Revolutions(Mr + 0.4734843f + 0.003921528f * T + 0.015060263f * m1.s - 6.0262344e-5f * m1.c +
                      0.00045223764f * m2.s);
    p.y = -0.0006332151f + 0.013378434f * m1.c - 0.0015121339f * m1.s + 0.0006331667f * m2.c;
    p.z = 19.21199f - 0.907182f * m1.c - 0.003347f * m1.s - 0.021452f * m2.c;
    return p;
}

Vec3 NeptunePosition(float T) {
    const float Mr = Frac(0.7214906f + 0.6068526f * T);
    const SC m = Angle(kTwoPi * Mr);

    Vec3 p{0, 0, 1};
    p.x = Revolutions(Mr + 0.1254046f + 0.0038447531f * T + 0.0027388118f * m.s);
    p.y = 0.00026553246f - 0.030836575f * m.c + 0.0018132032f * m.s;
    p.z = 30.072985f - 0.258802f * m.c;
    return p;
}

namespace {
// Pluto's Fourier coefficients by multiple k = 1..6 of the angle P:
// longitude (revolutions), latitude (radians), radius (AU), sine and cosine.
struct PlutoTerm {
    float lonS, lonC, latS, latC, radS, radC;
};
constexpr PlutoTerm kPluto[6] = {
    {0.07787352f, 0.0f, -0.117755234f, 0.2520434f, 0.159651f, -9.60396f},
    {0.013761667f, 0.0025268055f, -0.02932987f, 0.061510686f, 0.036324f, -1.182522f},
    {0.0035740663f, 0.0011909876f, -0.008984082f, 0.016987871f, 0.01167f, -0.214466f},
    {0.000946821f, 0.0005316281f, -0.0031428533f, 0.0050817686f, 0.0f, -0.048234f},
    {0.00032093364f, 0.00018693673f, -0.0010169452f, 0.0014657372f, 0.0f, -0.010754f},
    {8.55787e-5f, 0.00010679784f, -0.00045485218f, 0.00053096795f, 0.0f, 0.0f},
};
}  // namespace

Vec3 PlutoPosition(float T) {
    // P is used unreduced: over the engine's range of dates it stays small.
    const SC p1 = Angle(0.24240215f + 2.5300295f * T);
    float lon = 0.6637662f + 0.40654632f * T;
    float lat = -0.06823249f;
    float rad = 40.724724f;
    SC pk = p1;
    for (const PlutoTerm& k : kPluto) {
        lon += k.lonS * pk.s + k.lonC * pk.c;
        lat += k.latS * pk.s + k.latC * pk.c;
        rad += k.radS * pk.s + k.radC * pk.c;
        pk = Sum(pk, p1);
    }
    return {Revolutions(lon), lat, rad};
}

Vec3 PlanetPosition(int body, AstroTime t, float T) {
    switch (body) {
        case 2: return MercuryPosition(t);
        case 3: return VenusPosition(t);
        case 4: return MarsPosition(T);
        case 5: return JupiterPosition(T);
        case 6: return SaturnPosition(T);
        case 7: return UranusPosition(T);
        case 8: return NeptunePosition(T);
        case 9: return PlutoPosition(T);
        default: return {0, 0, 1};
    }
}

}  // namespace Calc
