// Paint benchmark of the sky map (a Winelib console program): the median
// time of a whole Paint in four views, with the number of stars drawn, and
// of a hit test at a crowded point.
//
//   skymap_paint_bench.exe [--stars-dat FILE] [--runs N]
//
// (a) the default view, 480 x 640, built-in stars only;
// (b) 1920 x 1080, field 30 degrees, stars.dat, the automatic limit;
// (c) 1920 x 1080, field 1 degree on the Milky Way in Cygnus, stars.dat;
// (d) hit tests at the named stars and planets drawn in view (b);
// (c') view (c) without stars.dat, for comparison.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "chart/host_path.h"
#include "data/objectfiles.h"
#include "data/platform.h"
#include "data/starcatalog.h"
#include "data/starfile.h"
#include "engine/astrotime.h"
#include "engine/ephemeris.h"
#include "skymap/core/skymapview.h"
#include "skymap/painter.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

using namespace UI::SkyMap;

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Case {
    const char* name;
    int width, height;
    float field;
    bool starsDat;
    bool milkyWay;
};

}  // namespace

extern "C" int wmain(int argc, WCHAR** argv) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    std::string starsDat = CELVANE_STARS_DAT;
    int runs = 31;
    for (int i = 1; i < argc; ++i) {
        const std::string a = PL::ToUtf8(U16(argv[i]));
        if (a == "--stars-dat" && i + 1 < argc) {
            starsDat = PL::ToUtf8(U16(argv[++i]));
        } else if (a == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(PL::ToUtf8(U16(argv[++i])).c_str()));
        } else {
            std::fprintf(stderr, "usage: skymap_paint_bench [--stars-dat FILE] [--runs N]\n");
            return 2;
        }
    }
    Data::LoadStarResources();
    const std::u16string starsPath = HostPath(starsDat);
    {
        Data::StarPDBFileReader check(starsPath);
        if (!check.IsOpen()) {
            std::fprintf(stderr, "skymap_paint_bench: cannot read the star file '%s'\n", starsDat.c_str());
            return 1;
        }
        std::printf("stars.dat: %u HIP and %u TYC stars\n", check.HipStars(), check.TycStars());
    }

    // A fixed night: Greenwich, 2026-09-15 21:00 UT (Cygnus high in the south).
    Calc::Ephemeris eph;
    eph.moment = Calc::FromCalendar(2026, 9, 15, 21, 0, 0);
    eph.Invalidate();

    const Case cases[] = {
        {"(a) default view 480x640, built-in stars", 480, 640, 90, false, false},
        {"(b) 1920x1080, field 30, stars.dat", 1920, 1080, 30, true, false},
        {"(c') the same view, built-in stars only", 1920, 1080, 1, false, true},
        {"(c) 1920x1080, field 1, Milky Way (Cygnus), stars.dat", 1920, 1080, 1, true, true},
    };
    std::vector<std::unique_ptr<SkyMapView>> views;
    for (const Case& c : cases) {
        Data::SetStarFilePath(c.starsDat ? starsPath : u"");
        auto view = std::make_unique<SkyMapView>(eph);
        view->SetOptions(Data::SkyDisplaySettings());
        view->SetSize(c.width, c.height);
        view->SetCentre(180, 30);
        if (c.milkyWay) {
            // gamma Cygni's neighbourhood, RA 20h22m, Dec +40.3 (J2000).
            const float ra = (20 + 22 / 60.0f) * 15 * 3.14159265f / 180, dec = 40.3f * 3.14159265f / 180;
            view->CentreOnEquatorial(eph.StarApparent(
                Calc::Vec3{std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)}));
        }
        view->SetFieldOfView(c.field);
        view->SetMagnitudeLimit(AutomaticMagnitudeLimit(c.field, 657));
        std::vector<double> times;
        PaintReport report;
        for (int r = 0; r < runs; ++r) {
            view->Invalidate();  // a new paint each time, rotations included
            const double t0 = Now();
            Paint(*view, 96, &report);
            times.push_back(Now() - t0);
        }
        std::printf("%-56s median %8.3f ms  (limit %.1f, %d stars drawn, %d runs)\n", c.name, Median(times) * 1e3,
                    view->MagLimit() / 100.0, report.starsDrawn, runs);
        views.push_back(std::move(view));
    }
    // The picture alone: a new 1920 x 1080 bitmap, filled black.
    {
        std::vector<double> bt;
        for (int r = 0; r < runs; ++r) {
            const double t0 = Now();
            MapBitmap map(1920, 1080, RGB(0, 0, 0));
            bt.push_back(Now() - t0);
        }
        std::printf("%-56s median %8.3f ms\n", "    a new 1920x1080 bitmap alone", Median(bt) * 1e3);
    }
    // (d) taps on the stars of view (b), a crowded 30-degree field with
    // stars.dat: at each star of a listing paint, and a pixel beside it.
    SkyMapView& crowded = *views[1];
    Data::SetStarFilePath(starsPath);
    PaintReport listing;
    listing.listObjects = true;
    Paint(crowded, 96, &listing);
    std::vector<double> times;
    int hits = 0, taps = 0;
    for (int r = 0; r < runs; ++r) {
        for (const PaintedObject& o : listing.objects) {
            const double t0 = Now();
            const Data::AstroObjRef hit = crowded.HitTest(o.point.x + (r % 3), o.point.y);
            times.push_back(Now() - t0);
            ++taps;
            if (hit.kind != Data::kObjNone) ++hits;
        }
    }
    std::printf("%-56s median %8.3f ms  (%d taps, %d hits)\n", "(d) hit test on the stars of (b)", Median(times) * 1e3,
                taps, hits);
    // The same taps without stars.dat: what opening and walking the file costs.
    Data::SetStarFilePath(u"");
    times.clear();
    for (const PaintedObject& o : listing.objects) {
        const double t0 = Now();
        crowded.HitTest(o.point.x, o.point.y);
        times.push_back(Now() - t0);
    }
    std::printf("%-56s median %8.3f ms\n", "(d') the same taps, built-in stars only", Median(times) * 1e3);
    return 0;
}
