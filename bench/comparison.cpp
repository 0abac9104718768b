// Celvane's ephemeris beside two established libraries: ERFA (the IAU's SOFA
// routines under a free licence) and libnova. Both are linked into this
// program only; nothing Celvane ships depends on them.
//
//   comparison_bench [--moments N] [--repeat R] [--check]
//
// Speed: the Sun, the Moon, the planets and Pluto for the same N moments
// (default 10,000) with each library; the figure is the time per moment for
// all bodies, the median of R runs (default 3; libnova takes some seconds
// a run).
//
// Accuracy: for the same moments, spread evenly over 1900-2100, the angle
// between Celvane's geocentric direction of each body and ERFA's, median and
// worst per body, beside the accuracy the engine documents. With --check
// only the accuracy is computed, and the exit status is 1 when a body's worst
// difference is beyond that documented accuracy (the test run does this for
// 100 moments).
//
// Like for like. Celvane gives geometric positions (no light-time, no
// aberration, no nutation) referred to the mean equator and equinox of date,
// and takes its time argument as it is (no Delta-T). So ERFA is asked for the
// same: the date Celvane is given is handed to ERFA as TT (TDB - TT, under
// 2 ms, is ignored), the bodies' geometric geocentric vectors are formed from
// eraEpv00 (the Earth, heliocentric; the Sun is its opposite), eraMoon98 (the
// Moon, geocentric) and eraPlan94 (the planets, heliocentric), and they are
// turned to the mean equator and equinox of date with the IAU 2006
// bias-precession matrix (eraPmat06). eraPlan94's frame is the dynamical
// J2000 equator and equinox, eraEpv00's the ICRS: their 0.02" frame bias is
// below anything measured here. ERFA has no Pluto; its reference is
// libnova's Pluto (Meeus, Astronomical Algorithms, ch. 37, heliocentric
// ecliptic J2000, valid 1885-2099) with ERFA's Earth. The observer offset
// (one Earth radius) that Celvane's apparent positions include is taken off
// again, so the comparison is geocentric.
//
// Light-time is left out on both sides, since Celvane has none: the tables
// compare theories. How much the omission itself moves each body (the
// geometric position against the one light-time earlier, from ERFA) is
// printed as a column of its own. Real time adds one more difference: the
// program takes universal time as the theories' time, which puts the Moon
// 0.55" x Delta-T (about 35" in 2000-2020) behind where it is.
#include <erfa.h>
#include <libnova/earth.h>
#include <libnova/jupiter.h>
#include <libnova/lunar.h>
#include <libnova/mars.h>
#include <libnova/mercury.h>
#include <libnova/neptune.h>
#include <libnova/pluto.h>
#include <libnova/saturn.h>
#include <libnova/uranus.h>
#include <libnova/venus.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/astrotime.h"
#include "engine/ephemeris.h"
#include "engine/sunmoon.h"

namespace {

using Calc::AstroTime;
using Calc::kBodyCount;

const char* const kBodyNames[kBodyCount] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                            "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};

// The accuracy the engine documents (README, "The ephemeris on the command
// line"), geocentric, arc minutes: the Sun about 1', the Moon a few (6' at
// worst), the planets a few as seen from the Sun, more from the Earth when
// they come near it.
const double kDocumentedArcmin[kBodyCount] = {1, 6, 3, 10, 18, 7, 4, 7, 3, 3};

constexpr double kMjdZero = 2400000.5;
constexpr double kRadToArcsec = 206264.80624709636;
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kLightDayAu = 173.1446326846693;  // AU per day
// The mean obliquity of J2000.0 (IAU 1976), 84381.448": Meeus's Pluto is
// referred to the ecliptic of that obliquity.
constexpr double kObliquityJ2000 = 84381.448 / kRadToArcsec;

// N moments from 1900-01-01 00:00 to 2100-01-01 00:00 UT in a golden-ratio
// sequence: any N of them cover the two centuries evenly, and no step falls
// into step with the year, the month or the day (an even spacing of 100
// moments is two years to within hours, always in the same season).
std::vector<AstroTime> Moments(int n) {
    const AstroTime first = Calc::FromCalendar(1900, 1, 1);
    const AstroTime last = Calc::FromCalendar(2100, 1, 1);
    const double span = (double(last.day) - first.day) * 86400.0;
    constexpr double kGoldenFraction = 0.6180339887498949;
    std::vector<AstroTime> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double f = std::fmod(0.5 + i * kGoldenFraction, 1.0);
        const int64_t s = int64_t(f * span);
        out.push_back(AstroTime{first.day + int32_t(s / 86400), int32_t(s % 86400)});
    }
    return out;
}

double Mjd(AstroTime t) { return t.day + t.seconds / 86400.0; }

struct V3 {
    double v[3];
};

V3 Sub(const double a[3], const double b[3]) { return V3{{a[0] - b[0], a[1] - b[1], a[2] - b[2]}}; }

// Celvane's geocentric direction of a body, equator and equinox of date, as
// the program asks for it: the apparent (topocentric) position less the
// observer's offset.
V3 CelvaneGeocentric(Calc::Ephemeris& e, int body) {
    const Calc::Vec3 a = e.ApparentPosition(body);
    const Calc::Vec3 o = e.ObserverOffset();
    return V3{{double(a.x) - o.x, double(a.y) - o.y, double(a.z) - o.z}};
}

// libnova's Pluto, heliocentric equatorial J2000 (AU).
V3 PlutoHeliocentric(double jd) {
    ln_helio_posn p;
    ln_get_pluto_helio_coords(jd, &p);
    const double l = p.L * kDegToRad, b = p.B * kDegToRad;
    const double x = p.R * std::cos(b) * std::cos(l), y = p.R * std::cos(b) * std::sin(l), z = p.R * std::sin(b);
    const double ce = std::cos(kObliquityJ2000), se = std::sin(kObliquityJ2000);
    return V3{{x, ce * y - se * z, se * y + ce * z}};
}

// eraPlan94's planet number of a body index (Mercury 1 ... Neptune 8, the
// Earth-Moon barycentre 3 skipped); 0 for the rest.
int Plan94Number(int body) {
    static const int kNumber[kBodyCount] = {0, 0, 1, 2, 4, 5, 6, 7, 8, 0};
    return kNumber[body];
}

// Heliocentric position of a planet or Pluto at a TT Julian Date (AU, J2000).
V3 Heliocentric(int body, double jd) {
    if (body == Calc::kPluto) return PlutoHeliocentric(jd);
    double pv[2][3];
    eraPlan94(kMjdZero, jd - kMjdZero, Plan94Number(body), pv);
    return V3{{pv[0][0], pv[0][1], pv[0][2]}};
}

// The reference for one moment: every body's geometric geocentric vector,
// mean equator and equinox of date, and the same one light-time earlier.
struct Reference {
    V3 geometric[kBodyCount];
    V3 retarded[kBodyCount];
};

Reference ErfaReference(AstroTime t) {
    Reference r;
    const double mjd = Mjd(t);
    double pvh[2][3], pvb[2][3];
    eraEpv00(kMjdZero, mjd, pvh, pvb);
    double rbp[3][3];
    eraPmat06(kMjdZero, mjd, rbp);
    const double zero[3] = {0, 0, 0};
    for (int body = 0; body < kBodyCount; ++body) {
        V3 g, late;
        if (body == Calc::kSun) {
            g = Sub(zero, pvh[0]);
            // The Sun stands still in the heliocentric frame: light-time
            // does not move it (its barycentric motion in 8 minutes is
            // 0.005").
            late = g;
        } else if (body == Calc::kMoon) {
            double pv[2][3];
            eraMoon98(kMjdZero, mjd, pv);
            g = V3{{pv[0][0], pv[0][1], pv[0][2]}};
            const double tau = std::sqrt(eraPdp(g.v, g.v)) / kLightDayAu;
            eraMoon98(kMjdZero, mjd - tau, pv);
            // The Moon one light-time earlier, seen from the Earth's centre
            // now: the Earth's own motion in that time is the aberration,
            // which Celvane leaves out as well.
            late = V3{{pv[0][0], pv[0][1], pv[0][2]}};
        } else {
            const double jd = kMjdZero + mjd;
            g = Sub(Heliocentric(body, jd).v, pvh[0]);
            const double tau = std::sqrt(eraPdp(g.v, g.v)) / kLightDayAu;
            late = Sub(Heliocentric(body, jd - tau).v, pvh[0]);
        }
        eraRxp(rbp, g.v, r.geometric[body].v);
        eraRxp(rbp, late.v, r.retarded[body].v);
    }
    return r;
}

// --- accuracy --------------------------------------------------------------------------------

struct Spread {
    double median = 0, worst = 0;
    AstroTime worstAt{};
};

Spread SpreadOf(std::vector<double> v, const std::vector<AstroTime>& at) {
    Spread s;
    if (v.empty()) return s;
    const auto worst = std::max_element(v.begin(), v.end());
    s.worst = *worst;
    s.worstAt = at[size_t(worst - v.begin())];
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    s.median = v[v.size() / 2];
    if (v.size() % 2 == 0) {
        const double below = *std::max_element(v.begin(), v.begin() + v.size() / 2);
        s.median = (s.median + below) / 2;
    }
    return s;
}

struct Accuracy {
    Spread difference[kBodyCount];  // arcseconds, Celvane against ERFA
    Spread lightTime[kBodyCount];   // arcseconds, geometric against retarded
};

Accuracy MeasureAccuracy(const std::vector<AstroTime>& moments) {
    std::vector<double> diff[kBodyCount], light[kBodyCount];
    Calc::Ephemeris e;
    for (const AstroTime& t : moments) {
        e.moment = t;
        e.Invalidate();
        const Reference ref = ErfaReference(t);
        for (int body = 0; body < kBodyCount; ++body) {
            V3 c = CelvaneGeocentric(e, body);
            V3 g = ref.geometric[body], l = ref.retarded[body];
            diff[body].push_back(eraSepp(c.v, g.v) * kRadToArcsec);
            light[body].push_back(eraSepp(g.v, l.v) * kRadToArcsec);
        }
    }
    Accuracy a;
    for (int body = 0; body < kBodyCount; ++body) {
        a.difference[body] = SpreadOf(diff[body], moments);
        a.lightTime[body] = SpreadOf(light[body], moments);
    }
    return a;
}

// --- speed -----------------------------------------------------------------------------------

// Whatever the loops compute goes into this sum, so no compiler drops them.
volatile double g_sink = 0;

// The engine's answer `Of` for every body at every moment, summed.
template <typename Of>
double CelvaneBodies(const std::vector<AstroTime>& moments, Of of) {
    Calc::Ephemeris e;
    double sum = 0;
    for (const AstroTime& t : moments) {
        e.moment = t;
        e.Invalidate();
        for (int body = 0; body < kBodyCount; ++body) sum += of(e, body);
    }
    return sum;
}

double CelvanePositions(const std::vector<AstroTime>& moments) {
    return CelvaneBodies(moments, [](Calc::Ephemeris& e, int body) { return e.ApparentPosition(body).x; });
}

double CelvaneInfo(const std::vector<AstroTime>& moments) {
    return CelvaneBodies(moments, [](Calc::Ephemeris& e, int body) { return e.Info(body).altitude; });
}

// The least ERFA needs for the same bodies: the Earth (and with it the Sun),
// the Moon and the seven other planets; it has no Pluto.
double ErfaTheories(const std::vector<AstroTime>& moments) {
    double sum = 0;
    for (const AstroTime& t : moments) {
        const double mjd = Mjd(t);
        double pvh[2][3], pvb[2][3], pv[2][3];
        eraEpv00(kMjdZero, mjd, pvh, pvb);
        sum += pvh[0][0];
        eraMoon98(kMjdZero, mjd, pv);
        sum += pv[0][0];
        for (int body = Calc::kMercury; body <= Calc::kNeptune; ++body) {
            eraPlan94(kMjdZero, mjd, Plan94Number(body), pv);
            sum += pv[0][0] - pvh[0][0];
        }
    }
    return sum;
}

// The same with the precession to the equator of date that Celvane's
// answers include.
double ErfaOfDate(const std::vector<AstroTime>& moments) {
    double sum = ErfaTheories(moments);
    double rbp[3][3];
    for (const AstroTime& t : moments) {
        eraPmat06(kMjdZero, Mjd(t), rbp);
        sum += rbp[0][1];
    }
    return sum;
}

// libnova's heliocentric theories (VSOP87 for the Earth and the planets,
// Meeus's series for Pluto) and its geocentric Moon (ELP 2000-82B at its
// full precision, 0).
double LibnovaTheories(const std::vector<AstroTime>& moments) {
    using HelioFn = void (*)(double, ln_helio_posn*);
    static const HelioFn kPlanets[] = {ln_get_mercury_helio_coords, ln_get_venus_helio_coords,
                                       ln_get_mars_helio_coords,    ln_get_jupiter_helio_coords,
                                       ln_get_saturn_helio_coords,  ln_get_uranus_helio_coords,
                                       ln_get_neptune_helio_coords, ln_get_pluto_helio_coords};
    double sum = 0;
    for (const AstroTime& t : moments) {
        const double jd = kMjdZero + Mjd(t);
        ln_helio_posn earth, p;
        ln_get_earth_helio_coords(jd, &earth);
        sum += earth.L;
        ln_rect_posn moon;
        ln_get_lunar_geo_posn(jd, &moon, 0);
        sum += moon.X;
        for (HelioFn f : kPlanets) {
            f(jd, &p);
            sum += p.L;
        }
    }
    return sum;
}

// Nanoseconds per moment for one run.
double TimePerMoment(double (*run)(const std::vector<AstroTime>&), const std::vector<AstroTime>& moments) {
    // The Sun and Moon memos are process-wide: every run starts cold.
    Calc::ResetSunMoonMemos();
    const auto start = std::chrono::steady_clock::now();
    g_sink = g_sink + run(moments);
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(stop - start).count() / double(moments.size());
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string DocumentedText(int body) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.0f'", kDocumentedArcmin[body]);
    return buf;
}

std::string DateText(AstroTime t) {
    const Calc::CalendarDate d = Calc::ToCalendar(t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day, d.hour, d.minute);
    return buf;
}

void PrintAccuracy(const Accuracy& a, int moments) {
    std::printf("\nAccuracy: angle between Celvane's and ERFA's geocentric directions, %d moments 1900-2100\n",
                moments);
    std::printf("(Pluto: libnova's Meeus series with ERFA's Earth; light-time: how far it would move the body)\n\n");
    std::printf("| body | median | worst | worst at (UT) | documented | light-time median / worst |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (int body = 0; body < kBodyCount; ++body) {
        const Spread& d = a.difference[body];
        const Spread& l = a.lightTime[body];
        std::printf("| %s | %.1f\" | %.1f\" | %s | %s | %.1f\" / %.1f\" |\n", kBodyNames[body], d.median, d.worst,
                    DateText(d.worstAt).c_str(), DocumentedText(body).c_str(), l.median, l.worst);
    }
}

// The reference itself against published worked examples: a mistake in its
// frames (a precession too many or too few is 50" a year) would show here.
// Meeus, Astronomical Algorithms, 2nd ed.: example 25.b, the Sun on
// 1992-10-13 0h TD, geometric, mean equinox of date (FK5): 199.907347 deg,
// +0.62", 0.99760775 AU; example 47.a, the Moon on 1992-04-12 0h TD: 133.162655 deg,
// -3.229126 deg, 368409.7 km. Returns the number of values off by more than
// 1" (0.5" in latitude) or 1e-6 of the distance.
int CheckReference() {
    struct Example {
        int body, year, month, day;
        double lonDeg, latDeg, distanceAu;
    };
    const Example kExamples[] = {
        {Calc::kSun, 1992, 10, 13, 199.907347, 0.62 / 3600, 0.99760775},
        {Calc::kMoon, 1992, 4, 12, 133.162655, -3.229126, 368409.7 / 149597870.7},
    };
    int off = 0;
    for (const Example& x : kExamples) {
        const AstroTime t = Calc::FromCalendar(x.year, x.month, x.day);
        V3 v = ErfaReference(t).geometric[x.body];
        const double eps = eraObl06(kMjdZero, Mjd(t));
        const double y = std::cos(eps) * v.v[1] + std::sin(eps) * v.v[2];
        const double z = -std::sin(eps) * v.v[1] + std::cos(eps) * v.v[2];
        const double r = std::sqrt(eraPdp(v.v, v.v));
        const double lon = std::atan2(y, v.v[0]) / kDegToRad;
        const double dLon = std::remainder(lon - x.lonDeg, 360.0) * 3600.0;
        const double dLat = (std::asin(z / r) / kDegToRad - x.latDeg) * 3600.0;
        const bool good = std::fabs(dLon) <= 1.0 && std::fabs(dLat) <= 0.5 &&
                          std::fabs(r - x.distanceAu) <= 1e-6 * x.distanceAu;
        std::printf("reference %s %04d-%02d-%02d against Meeus: %+.2f\" in longitude, %+.2f\" in latitude, %+.1e AU%s\n",
                    kBodyNames[x.body], x.year, x.month, x.day, dLon, dLat, r - x.distanceAu, good ? "" : "  WRONG");
        off += !good;
    }
    return off;
}

int Usage() {
    std::fprintf(stderr, "usage: comparison_bench [--moments N] [--repeat R] [--check]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int moments = 10000, repeat = 3;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--moments" || a == "--repeat") && i + 1 < argc) {
            char* end = nullptr;
            const long v = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || v < 1 || v > 10000000) return Usage();
            (a == "--moments" ? moments : repeat) = int(v);
        } else if (a == "--check") {
            check = true;
        } else {
            return Usage();
        }
    }
    const std::vector<AstroTime> times = Moments(moments);

    const Accuracy accuracy = MeasureAccuracy(times);
    PrintAccuracy(accuracy, moments);
    if (check) {
        int beyond = 0;
        for (int body = 0; body < kBodyCount; ++body) {
            const double limit = kDocumentedArcmin[body] * 60.0;
            if (accuracy.difference[body].worst > limit) {
                std::printf("BEYOND the documented accuracy: %s %.1f\" > %.0f\"\n", kBodyNames[body],
                            accuracy.difference[body].worst, limit);
                ++beyond;
            }
        }
        beyond += CheckReference();
        std::printf("%s\n", beyond ? "check failed" : "every body within its documented accuracy");
        return beyond ? 1 : 0;
    }

    // The runs take turns, so that a machine busy with other work slows
    // every library alike; the median of each library's runs is reported.
    enum { kCelvane, kCelvaneInfo, kErfa, kErfaOfDate, kLibnova, kRuns };
    double (*const runs[kRuns])(const std::vector<AstroTime>&) = {CelvanePositions, CelvaneInfo, ErfaTheories,
                                                                  ErfaOfDate, LibnovaTheories};
    std::vector<double> ns[kRuns];
    for (int r = 0; r < repeat; ++r)
        for (int k = 0; k < kRuns; ++k) ns[k].push_back(TimePerMoment(runs[k], times));
    const double celvane = Median(ns[kCelvane]), celvaneInfo = Median(ns[kCelvaneInfo]);
    const double erfa = Median(ns[kErfa]), erfaOfDate = Median(ns[kErfaOfDate]), libnova = Median(ns[kLibnova]);
    std::printf("\nSpeed: all bodies for one moment, median of %d runs over %d moments\n\n", repeat, moments);
    std::printf("| what | per moment | Celvane is faster by |\n|---|---|---|\n");
    std::printf("| Celvane: ApparentPosition of the Sun, Moon, 7 planets, Pluto | %.2f us | |\n", celvane / 1000);
    std::printf("| Celvane: Info (position, horizon, constellation, phase) of the same | %.2f us | |\n",
                celvaneInfo / 1000);
    std::printf("| ERFA: eraEpv00, eraMoon98, 7 x eraPlan94 (no Pluto) | %.2f us | %.1fx |\n", erfa / 1000,
                erfa / celvane);
    std::printf("| ERFA: the same and eraPmat06 to the equator of date | %.2f us | %.1fx |\n", erfaOfDate / 1000,
                erfaOfDate / celvane);
    std::printf("| libnova: Earth, 7 planets, Pluto heliocentric, the Moon (ELP 2000-82B) | %.2f us | %.1fx |\n",
                libnova / 1000, libnova / celvane);
    return 0;
}
