// Sky map speed: the hit test at a crowded point of the Milky Way (the
// Lagoon Nebula in Sagittarius, among Messier objects), with every kind of
// object shown, the shipped object files loaded and stars.dat present.
#include <benchmark/benchmark.h>

#include "data/native/test_platform.h"
#include "data/objectfiles.h"
#include "data/starcatalog.h"
#include "engine/astrotime.h"
#include "engine/ephemeris.h"
#include "skymap/core/skymapview.h"

using namespace UI::SkyMap;

namespace {

struct Setup {
    PL::TestPlatform platform{PL::FromUtf8(CELVANE_SOURCE_DIR "/resources/catalog")};
    Setup() {
        PL::SetCurrent(&platform);
        Data::LoadStarResources();
        Data::SetStarFilePath(PL::FromUtf8(CELVANE_BINARY_DIR "/stars.dat"));
        const std::u16string files = PL::FromUtf8(CELVANE_SOURCE_DIR "/resources/data");
        Data::ObjectFileManagerBase::SetFolders(files, files);
        for (const char16_t* f : {u"Messier", u"Caldwell"}) Data::UserObjectFiles().Load(f, false);
        for (const char16_t* f : {u"Asteroids", u"Comets"}) Data::CometFiles().Load(f, false);
    }
};

// Taps around the centre of a map centred on right ascension 18h03.8m,
// declination -24 23' (J2000), at the field of view given in tenths of a
// degree, with the automatic magnitude of the default slider.
void BM_HitTestMilkyWay(benchmark::State& state) {
    static Setup setup;
    const float field = static_cast<float>(state.range(0)) / 10.0f;
    const int width = static_cast<int>(state.range(1)), height = static_cast<int>(state.range(2));
    Calc::Ephemeris eph;
    eph.moment = Calc::FromCalendar(2026, 7, 20, 22, 0, 0);
    eph.Invalidate();
    SkyMapView view(eph);
    Data::SkyDisplaySettings options;
    options.showPlanets = options.showUserObjects = options.showComets = true;
    view.SetOptions(options);
    view.SetSize(width, height);
    view.SetFieldOfView(field);
    view.SetMagnitudeLimit(AutomaticMagnitudeLimit(field, 657));
    const float ra = 18.0633f * 0.2617994f, dec = -24.383f * Calc::kDegToRad;
    view.CentreOnEquatorial(eph.StarApparent(Calc::SphToCart({ra, dec, 1})));
    view.PreparePaint();

    int i = 0;
    int64_t stars = 0, objects = 0, none = 0, taps = 0;
    for (auto _ : state) {
        const int x = view.CentreX() + (i * 7 % 41) - 20, y = view.CentreY() + (i * 11 % 41) - 20;
        ++i;
        const Data::AstroObjRef hit = view.HitTest(x, y);
        stars += hit.kind == Data::kObjStar;
        objects += hit.kind == Data::kObjUser || hit.kind == Data::kObjComet || hit.kind == Data::kObjBody;
        none += hit.kind == Data::kObjNone;
        ++taps;
    }
    state.counters["mag_limit"] = view.MagLimit() / 100.0;
    state.counters["star_share"] = double(stars) / taps;
    state.counters["object_share"] = double(objects) / taps;
    state.counters["none_share"] = double(none) / taps;
}
BENCHMARK(BM_HitTestMilkyWay)
    ->Args({900, 480, 640})
    ->Args({300, 1920, 1080})
    ->Args({100, 480, 640})
    ->Args({10, 1920, 1080})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
