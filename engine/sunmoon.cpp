#include "engine/sunmoon.h"

namespace Calc {

namespace {

// Sine and cosine of one angle; sums, differences and doubles come from the
// addition theorems so that each theory calls SinCos as little as possible.
struct SC {
    float s, c;
};

inline SC Of(float x) {
    SC r;
    SinCos(x, &r.s, &r.c);
    return r;
}
inline SC Add(SC a, SC b) { return {a.s * b.c + a.c * b.s, a.c * b.c - a.s * b.s}; }
inline SC Sub(SC a, SC b) { return {a.s * b.c - a.c * b.s, a.c * b.c + a.s * b.s}; }
inline SC Twice(SC a) { return {2 * a.s * a.c, 1 - 2 * a.s * a.s}; }

struct Memo {
    bool valid = false;
    AstroTime time;
    Vec3 value;
};

Memo g_sunMemo;
Memo g_moonMemo;

}  // namespace

float SplitDayArgument(AstroTime t, int32_t period, float a0, float a1, float aq, float as) {
    const int32_t q = t.day / period;
    const int32_t r = t.day - period * q;
    return Frac(a0 + a1 * static_cast<float>(r) + aq * static_cast<float>(q) + as * static_cast<float>(t.seconds));
}

float SunMeanAnomaly(AstroTime t) {
    return SplitDayArgument(t, 366, 0.8757017f, 0.0027377785f, 0.002026938f, 3.168725e-8f);
}

LunarArguments MoonArguments(AstroTime t) {
    LunarArguments a;
    a.ls = SplitDayArgument(t, 366, 0.87570727f, 0.0027377785f, 0.002026944f, 3.168725e-8f);
    a.D = SplitDayArgument(t, 30, 0.36606348f, 0.03386319f, 0.015895758f, 3.919351e-7f);
    a.L0 = SplitDayArgument(t, 28, 0.020966982f, 0.0366011f, 0.024830837f, 4.2362385e-7f);
    a.l = SplitDayArgument(t, 28, 0.74009347f, 0.036291648f, 0.016166119f, 4.200422e-7f);
    a.F = SplitDayArgument(t, 28, 0.09174508f, 0.036748197f, 0.028949462f, 4.2532633e-7f);
    return a;
}

Vec3 SunPosition(AstroTime t) {
    if (g_sunMemo.valid && Compare(g_sunMemo.time, t) == 0) return g_sunMemo.value;
    // Montenbruck & Pfleger's low-precision solar theory.
    const float T0 = static_cast<float>(t.day) * 2.7378508e-5f - 1.4112115f;
    const float M = SunMeanAnomaly(t);
    const SC m = Of(kTwoPi * M);
    const SC m2 = Twice(m);
    const float L = kTwoPi * Frac(M + 0.7859453f + 0.0053184875f * m.s + 5.5540124e-5f * m2.s + 0.0047771605f * T0);
    const float R = 1.0001398f - 0.01670737f * m.c - 0.00013957f * m2.c;
    g_sunMemo.value = Vec3{L, 0.0f, R};
    g_sunMemo.time = t;
    g_sunMemo.valid = true;
    return g_sunMemo.value;
}

Vec3 MoonPosition(AstroTime t) {
    if (g_moonMemo.valid && Compare(g_moonMemo.time, t) == 0) return g_moonMemo.value;
    const LunarArguments a = MoonArguments(t);
    const SC l = Of(kTwoPi * a.l);
    const SC D = Of(kTwoPi * a.D);
    const SC ls = Of(kTwoPi * a.ls);
    const SC F = Of(kTwoPi * a.F);

    const SC l2 = Twice(l), D2 = Twice(D), F2 = Twice(F);
    const SC lm2D = Sub(l, D2);
    const SC l2m2D = Sub(l2, D2);
    const SC lpls = Add(l, ls);
    const SC lmls = Sub(l, ls);
    const SC lsm2D = Sub(ls, D2);

    // Longitude perturbation, arcseconds (Montenbruck & Pfleger).
    const float dL = 22640 * l.s - 4586 * lm2D.s + 2370 * D2.s + 769 * l2.s - 668 * ls.s - 412 * F2.s -
                     212 * l2m2D.s - 206 * Sub(lpls, D2).s + 192 * Add(l, D2).s - 165 * lsm2D.s - 125 * D.s -
                     110 * lpls.s + 148 * lmls.s - 55 * Sub(F2, D2).s;
    const float lon = kTwoPi * Frac(a.L0 + dL * 7.7160496e-7f);

    // Latitude: S = F + d with |d| < 0.15 rad; sin S by the addition theorem
    // with short series for sin d and cos d (error below 1e-7).
    const float d = (dL + 412 * F2.s + 541 * ls.s) * kArcsecToRad;
    const float dd = d * d;
    const SC dS{d * (1 - dd * (1.0f / 6) * (1 - dd * (1.0f / 20))), 1 - dd * 0.5f * (1 - dd * (1.0f / 12))};
    const SC S = Add(F, dS);
    const SC h = Sub(F, D2);
    const float N = -526 * h.s + 44 * Add(l, h).s - 31 * Sub(h, l).s - 23 * Add(ls, h).s + 11 * Sub(h, ls).s -
                    25 * Sub(F, l2).s + 21 * Sub(F, l).s;
    const float lat = (18520 * S.s + N) * kArcsecToRad;

    // Distance, km: the largest terms of Meeus's series (ch. 47), without the
    // eccentricity factor of the Sun's orbit.
    const SC twoDml = Sub(D2, l);
    const float dist = 385000.56f - 20905.355f * l.c - 3699.111f * twoDml.c - 2955.968f * D2.c - 569.925f * l2.c +
                       246.158f * Sub(D2, l2).c - 204.586f * Sub(D2, ls).c - 170.733f * Add(D2, l).c -
                       152.138f * Sub(twoDml, ls).c - 129.62f * lmls.c + 79.661f * Sub(l, F2).c +
                       104.755f * lpls.c + 108.743f * D.c + 48.888f * ls.c;

    g_moonMemo.value = Vec3{lon, lat, dist};
    g_moonMemo.time = t;
    g_moonMemo.valid = true;
    return g_moonMemo.value;
}

void ResetSunMoonMemos() {
    g_sunMemo.valid = false;
    g_moonMemo.valid = false;
}

}  // namespace Calc
