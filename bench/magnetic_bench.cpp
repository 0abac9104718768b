// MagneticModel::Recompute: a new place (the spherical-harmonic sums and the
// time step) against a new moment at the same place (the time step only).
#include <benchmark/benchmark.h>

#include "engine/astrotime.h"
#include "engine/magnetic.h"

namespace {

void BM_MagneticRecompute_NewPlace(benchmark::State& st) {
    Calc::MagneticModel mm;
    mm.moment = Calc::FromCalendar(2026, 6, 21, 12, 0, 0);
    int i = 0;
    for (auto _ : st) {
        // A new latitude every call, so the cache never hits.
        mm.latitude = -80.0f + static_cast<float>(i++ % 1601) * 0.1f;
        mm.longitude = -13.4f;
        mm.Recompute();
        benchmark::DoNotOptimize(mm.declination);
    }
}
BENCHMARK(BM_MagneticRecompute_NewPlace);

void BM_MagneticRecompute_NewMoment(benchmark::State& st) {
    Calc::MagneticModel mm;
    mm.latitude = 52.5f;
    mm.longitude = -13.4f;
    mm.moment = Calc::FromCalendar(2026, 1, 1);
    mm.Recompute();
    int i = 0;
    for (auto _ : st) {
        // A new day every call within one model's years: the time step only.
        mm.moment.day = 61041 + (i++ % 1000);
        mm.Recompute();
        benchmark::DoNotOptimize(mm.declination);
    }
}
BENCHMARK(BM_MagneticRecompute_NewMoment);

}  // namespace
