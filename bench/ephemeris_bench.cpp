// The ephemeris context and the constellation lookup, per call.
// BM_InfoAllBodies_FreshMoment is the figure of interest: one iteration moves
// the moment on by a minute, invalidates and asks for the data of all ten
// bodies (Sun to Pluto), theories and frames included; the time column is
// per iteration, that is for all ten bodies.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/astrotime.h"
#include "engine/constellations.h"
#include "engine/ephemeris.h"

namespace {

using namespace Calc;

void BM_InfoAllBodies_FreshMoment(benchmark::State& st) {
    Ephemeris e;
    e.moment = FromCalendar(2024, 3, 20, 21, 0, 0);
    e.place.latitude = 48.2f;
    e.place.longitude = -16.4f;
    for (auto _ : st) {
        e.moment = AddSeconds(e.moment, 60);  // new for the Sun and Moon memos too
        e.Invalidate();
        for (int body = 0; body < kBodyCount; ++body) benchmark::DoNotOptimize(e.Info(body).altitude);
    }
    st.SetItemsProcessed(st.iterations() * kBodyCount);
    st.SetLabel("all ten bodies per iteration");
}
BENCHMARK(BM_InfoAllBodies_FreshMoment);

// The same moment again after Invalidate: the Sun and Moon theories answer
// from their memos; everything else is recomputed.
void BM_InfoAllBodies_Invalidated(benchmark::State& st) {
    Ephemeris e;
    e.moment = FromCalendar(2024, 3, 20, 21, 0, 0);
    for (auto _ : st) {
        e.Invalidate();
        for (int body = 0; body < kBodyCount; ++body) benchmark::DoNotOptimize(e.Info(body).altitude);
    }
    st.SetItemsProcessed(st.iterations() * kBodyCount);
    st.SetLabel("all ten bodies per iteration");
}
BENCHMARK(BM_InfoAllBodies_Invalidated);

// A cached answer: what the sky map pays on a repaint without a change.
void BM_InfoCached(benchmark::State& st) {
    Ephemeris e;
    e.moment = FromCalendar(2024, 3, 20, 21, 0, 0);
    e.Invalidate();
    int body = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(e.Info(body).altitude);
        body = (body + 1) % kBodyCount;
    }
}
BENCHMARK(BM_InfoCached);

void BM_ConstellationOf(benchmark::State& st) {
    // Directions spread over the whole sphere (a Fibonacci lattice).
    std::vector<Vec3> dirs(4096);
    for (size_t i = 0; i < dirs.size(); ++i) {
        const double z = 1.0 - (2.0 * i + 1.0) / dirs.size();
        const double r = std::sqrt(1.0 - z * z);
        const double a = 2.399963229728653 * i;
        dirs[i] = {float(r * std::cos(a)), float(r * std::sin(a)), float(z)};
    }
    size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(ConstellationOf(dirs[i++ & 4095]));
    st.SetItemsProcessed(st.iterations());
    st.SetLabel("one lookup per iteration");
}
BENCHMARK(BM_ConstellationOf);

struct Counter : ConstellationBoundaries {
    long long sum = 0;
    void Segment(const BoundaryVertex& start, int32_t lengthArcsec, bool alongParallel) override {
        sum += start.sinRa + lengthArcsec + alongParallel;
    }
};

void BM_EnumerateAllBoundaries(benchmark::State& st) {
    Counter c;
    for (auto _ : st) {
        c.EnumerateAll();
        benchmark::DoNotOptimize(c.sum);
    }
    st.SetItemsProcessed(st.iterations() * kBoundarySegmentCount);
}
BENCHMARK(BM_EnumerateAllBoundaries);

}  // namespace
