// Event searches: one StandardRise of the Sun and of the Moon (the three
// culminations included, as a new reference moment drops them), and the
// fifteen events of the twilight view for one day (target: 1 ms or less).
// Each iteration moves the moment on by a day, so nothing is cached from the
// previous one; the counter "steps" is the number of times the private
// ephemeris moved, per iteration.
#include <benchmark/benchmark.h>

#include "engine/astrotime.h"
#include "engine/events.h"
#include "engine/physical.h"

namespace {

using namespace Calc;

Place Vienna() {
    Place p;
    p.latitude = 48.2f;
    p.longitude = -16.4f;
    p.timeZone = 60;
    return p;
}

void StandardRiseOf(benchmark::State& st, int body) {
    RiseSetSearch s(Vienna(), 0);
    s.SetBody(body);
    AstroTime m = FromCalendar(2024, 1, 1, 11);
    for (auto _ : st) {
        m = AddSeconds(m, 86400);
        s.SetMoment(m);
        benchmark::DoNotOptimize(s.StandardRise().ut);
    }
    st.counters["steps"] = benchmark::Counter(static_cast<double>(s.Steps()), benchmark::Counter::kAvgIterations);
}

void BM_StandardRise_Sun(benchmark::State& st) { StandardRiseOf(st, kSun); }
BENCHMARK(BM_StandardRise_Sun)->Unit(benchmark::kMicrosecond);

void BM_StandardRise_Moon(benchmark::State& st) { StandardRiseOf(st, kMoon); }
BENCHMARK(BM_StandardRise_Moon)->Unit(benchmark::kMicrosecond);

// All fifteen rows of the twilight view for a day: Sun rise, transit and
// set, the Moon's, the previous and next days', and three twilights.
void BM_TwilightDay(benchmark::State& st) {
    const Place place = Vienna();
    AstroTime m = FromCalendar(2024, 1, 1, 12);
    for (auto _ : st) {
        m = AddSeconds(m, 86400);
        const TwilightDay d = TwilightEvents(m, place, kStandardTime);
        benchmark::DoNotOptimize(d.events[kAstronomicalEnd].ut);
    }
    st.SetLabel("fifteen events per iteration (target <= 1 ms)");
}
BENCHMARK(BM_TwilightDay)->Unit(benchmark::kMicrosecond);

// The same far north in summer, where the Sun's crossings are shallow and
// several rows have no event.
void BM_TwilightDay_HighLatitude(benchmark::State& st) {
    Place place;
    place.latitude = 66.0f;
    place.longitude = -25.7f;
    AstroTime m = FromCalendar(2024, 5, 1, 12);
    for (auto _ : st) {
        m = AddSeconds(m, 86400);
        const TwilightDay d = TwilightEvents(m, place, kStandardTime);
        benchmark::DoNotOptimize(d.events[kSunset].ut);
    }
}
BENCHMARK(BM_TwilightDay_HighLatitude)->Unit(benchmark::kMicrosecond);

void BM_MoonPhaseEvent(benchmark::State& st) {
    int32_t k = 1000;
    for (auto _ : st) benchmark::DoNotOptimize(MoonPhaseEvent(k++ & 4095));
}
BENCHMARK(BM_MoonPhaseEvent);

void BM_SeasonEvent(benchmark::State& st) {
    int32_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(SeasonEvent(1900 + (i >> 2) % 200, i & 3));
        ++i;
    }
}
BENCHMARK(BM_SeasonEvent);

void BM_JupiterMoons(benchmark::State& st) {
    AstroTime m = FromCalendar(2024, 1, 1);
    JupiterMoon moons[kJupiterMoonCount];
    for (auto _ : st) {
        m = AddSeconds(m, 600);
        JupiterMoons(m, moons);
        benchmark::DoNotOptimize(moons[3].x);
    }
}
BENCHMARK(BM_JupiterMoons);

}  // namespace
