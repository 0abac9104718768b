// The engine's own single-precision maths against the C library's float
// functions, and the Sun and Moon theories per call with the memo defeated.
// Compare the *_Celvane and *_Libm lines: their ratio is the figure of interest.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/astrotime.h"
#include "engine/sunmoon.h"
#include "engine/vecmath.h"

namespace {

std::vector<float> Inputs(float lo, float hi) {
    std::vector<float> v(1024);
    for (size_t i = 0; i < v.size(); ++i) v[i] = lo + (hi - lo) * static_cast<float>((i * 7919) % 1024) / 1024.0f;
    return v;
}

void BM_SinCos_Celvane(benchmark::State& st) {
    auto in = Inputs(-10, 10);
    size_t i = 0;
    for (auto _ : st) {
        float s, c;
        Calc::SinCos(in[i++ & 1023], &s, &c);
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(c);
    }
}
void BM_SinCos_Libm(benchmark::State& st) {
    auto in = Inputs(-10, 10);
    size_t i = 0;
    for (auto _ : st) {
        float x = in[i++ & 1023];
        float s = std::sin(x), c = std::cos(x);
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(c);
    }
}
void BM_Atan2_Celvane(benchmark::State& st) {
    auto y = Inputs(-5, 5), x = Inputs(-3, 7);
    size_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(Calc::Atan2(y[i & 1023], x[(i * 3) & 1023]));
        ++i;
    }
}
void BM_Atan2_Libm(benchmark::State& st) {
    auto y = Inputs(-5, 5), x = Inputs(-3, 7);
    size_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(std::atan2(y[i & 1023], x[(i * 3) & 1023]));
        ++i;
    }
}
void BM_Log2_Celvane(benchmark::State& st) {
    auto in = Inputs(1e-3f, 1e4f);
    size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(Calc::Log2(in[i++ & 1023]));
}
void BM_Log2_Libm(benchmark::State& st) {
    auto in = Inputs(1e-3f, 1e4f);
    size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(std::log2(in[i++ & 1023]));
}
void BM_ExpM1_Celvane(benchmark::State& st) {
    auto in = Inputs(-10, 10);
    size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(Calc::ExpM1(in[i++ & 1023]));
}
void BM_ExpM1_Libm(benchmark::State& st) {
    auto in = Inputs(-10, 10);
    size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(std::expm1(in[i++ & 1023]));
}

// A new moment every call, so the one-entry memo never answers.
void BM_SunTheory(benchmark::State& st) {
    Calc::AstroTime t{60000, 0};
    for (auto _ : st) {
        t.seconds = (t.seconds + 61) % 86400;
        benchmark::DoNotOptimize(Calc::SunPosition(t));
    }
}
void BM_MoonTheory(benchmark::State& st) {
    Calc::AstroTime t{60000, 0};
    for (auto _ : st) {
        t.seconds = (t.seconds + 61) % 86400;
        benchmark::DoNotOptimize(Calc::MoonPosition(t));
    }
}
void BM_MoonTheory_Memo(benchmark::State& st) {
    Calc::AstroTime t{60000, 0};
    for (auto _ : st) benchmark::DoNotOptimize(Calc::MoonPosition(t));
}

}  // namespace

BENCHMARK(BM_SinCos_Celvane);
BENCHMARK(BM_SinCos_Libm);
BENCHMARK(BM_Atan2_Celvane);
BENCHMARK(BM_Atan2_Libm);
BENCHMARK(BM_Log2_Celvane);
BENCHMARK(BM_Log2_Libm);
BENCHMARK(BM_ExpM1_Celvane);
BENCHMARK(BM_ExpM1_Libm);
BENCHMARK(BM_SunTheory);
BENCHMARK(BM_MoonTheory);
BENCHMARK(BM_MoonTheory_Memo);
