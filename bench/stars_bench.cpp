// Star catalogue speed: box walks over stars.dat and the bright stars, the
// nearest-star search of the hit test, and the search by HIP number.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "data/native/test_platform.h"
#include "data/starcatalog.h"
#include "data/starenum.h"
#include "engine/fixedangle.h"

using namespace Data;

namespace {

struct Setup {
    PL::TestPlatform platform{PL::FromUtf8(CELVANE_SOURCE_DIR "/resources/catalog")};
    Setup() {
        PL::SetCurrent(&platform);
        LoadStarResources();
        SetStarFilePath(PL::FromUtf8(CELVANE_BINARY_DIR "/stars.dat"));
    }
};

void Prepare() { static Setup setup; }

class Counter : public StarEnumerator {
public:
    using StarEnumerator::StarEnumerator;
    void OnStar(StarNumber, const uint8_t*, uint32_t) override { ++count; }
    int64_t count = 0;
};

int16_t Q15(double v) { return static_cast<int16_t>(std::lround(v * 32767)); }

// A 10 x 10 degree box (right ascension a..a+10 degrees measured on the
// equator, declination d..d+10) of stars.dat's HIP section to magnitude 12,
// at 64 places over the sky; the file is opened for each walk, as the sky
// map does.
void BM_EnumerateStarsDatBox(benchmark::State& state) {
    Prepare();
    const double d = M_PI / 180;
    int64_t stars = 0, walks = 0, reads = 0;
    int i = 0;
    for (auto _ : state) {
        const double ra = (i * 37 % 360), dec = (i * 23 % 150) - 80.0;
        ++i;
        StarPDBFileReader file(StarFilePath());
        Counter c(&file);
        c.EnumerateHip(Q15(std::cos(ra * d)), Q15(std::cos((ra + 10) * d)), Q15(std::sin(ra * d)),
                       Q15(std::sin((ra + 10) * d)), Q15(std::sin(dec * d)), Q15(std::sin((dec + 10) * d)), -1000,
                       1200);
        stars += c.count;
        reads += file.ReadCount();
        ++walks;
    }
    state.counters["stars_per_walk"] = double(stars) / walks;
    state.counters["blocks_read_per_walk"] = double(reads) / walks;
}
BENCHMARK(BM_EnumerateStarsDatBox)->Unit(benchmark::kMicrosecond);

// The whole bright-star tree, every star.
void BM_EnumerateAllBrightStars(benchmark::State& state) {
    Prepare();
    int64_t stars = 0;
    for (auto _ : state) {
        Counter c;
        c.EnumerateBright(32767, 32767, 0, -1, -32768, 32767, -1000, 5000);
        stars = c.count;
    }
    state.counters["stars"] = double(stars);
}
BENCHMARK(BM_EnumerateAllBrightStars)->Unit(benchmark::kMicrosecond);

// The hit test's search: nearest star to magnitude 9 within about 1 degree,
// bright stars and stars.dat.
void BM_FindNearestStar(benchmark::State& state) {
    Prepare();
    std::mt19937 rng(1);
    std::normal_distribution<double> g;
    std::vector<std::array<int16_t, 3>> dirs;
    for (int i = 0; i < 256; ++i) {
        const double x = g(rng), y = g(rng), z = g(rng), n = std::sqrt(x * x + y * y + z * z);
        dirs.push_back({Q15(x / n), Q15(y / n), Q15(z / n)});
    }
    size_t i = 0;
    int64_t found = 0, calls = 0;
    for (auto _ : state) {
        const auto& v = dirs[i++ % dirs.size()];
        const NearestStar n = FindNearestStar(v[0], v[1], v[2], 900, 182);
        found += n.star >= 0;
        ++calls;
    }
    state.counters["found_share"] = double(found) / calls;
}
BENCHMARK(BM_FindNearestStar)->Unit(benchmark::kMicrosecond);

// Search by HIP number, over the whole range of numbers.
void BM_FindStarByHip(benchmark::State& state) {
    Prepare();
    uint32_t hip = 1;
    int64_t found = 0, calls = 0;
    for (auto _ : state) {
        found += FindStarByHip(hip) >= 0;
        ++calls;
        hip = hip * 7919 % 118000 + 1;
    }
    state.counters["found_share"] = double(found) / calls;
}
BENCHMARK(BM_FindStarByHip)->Unit(benchmark::kMicrosecond);

}  // namespace
