// celvane-chart: the sky map for one moment, place and view, painted by the
// program's own map painter into a bitmap and written as a PNG file
// (printable finder charts from a script; screenshots and benchmarks).
//
// A console program of the Win32 half: it paints into a device-independent
// bitmap, needs no display, and writes the picture with the Windows Imaging
// Component.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "winlib/win32.h"

#include <objbase.h>
#include <wincodec.h>

#include "data/objectfiles.h"
#include "data/objects.h"
#include "data/platform.h"
#include "data/starcatalog.h"
#include "data/starfile.h"
#include "engine/ephemeris.h"
#include "chart/host_path.h"
#include "ephem_json.h"
#include "observer_args.h"
#include "settings/preferences.h"
#include "skymap/core/skymapview.h"
#include "skymap/painter.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

using UI::SkyMap::SkyMapView;

namespace {

const char kUsage[] =
    "usage: celvane-chart --out FILE.png [options]\n"
    "Paints the sky map for a moment and place and writes it as a PNG picture.\n"
    "%s"
    "  --az DEG --alt DEG   the view's centre (default 180, 30)\n"
    "  --fov DEG      the field of view, 1/60 .. 180 degrees (default 90)\n"
    "  --size WxH     the picture's size in pixels (default 480x640)\n"
    "  --dpi 96|192   the screen resolution fonts and icons are made for (default 96)\n"
    "  --mag-slider N the magnitude slider 0 .. 1000 (default 657): the faintest stars\n"
    "                 follow the field of view\n"
    "  --mag-limit MAG  the faintest star magnitude instead (-1 .. 16)\n"
    "  --grid altaz|radec|none  the coordinate grid (default none)\n"
    "  --[no-]ecliptic, --[no-]boundaries, --[no-]lines, --[no-]names, --[no-]horizon,\n"
    "  --[no-]planets, --[no-]objects, --[no-]comets, --[no-]telrad, --[no-]bold\n"
    "                 switch a layer on or off (defaults: ecliptic, lines, names,\n"
    "                 horizon and planets on, the others off)\n"
    "  --star-colours white|natural|saturated  the stars' colours (default natural;\n"
    "                 --star-colours alone: natural, --no-star-colours: white)\n"
    "  --mag-filter MAG  the faintest user object, comet or asteroid drawn (default 15)\n"
    "  --telrad-diameters A,B,C  the Telrad rings in degrees (default 0.5,2,4)\n"
    "  --select KEY   the selected object (\"Mars\", \"Star4126\", \"ConOri\", \"Obj31,Messier\",\n"
    "                 \"AC1P,Comets\"), painted on top\n"
    "  --stars-dat FILE  the Hipparcos and Tycho stars file (default: none)\n"
    "  --out FILE     the PNG file to write (required)\n"
    "  --json         after writing, print what was drawn as one JSON object\n"
    "  --hit X,Y      print the key of the object a tap at that pixel selects\n";

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "celvane-chart: %s\n", message.c_str());
    std::exit(2);
}

struct Options {
    ObserverArgs observer;
    float az = 180, alt = 30, fov = 90;
    int width = 480, height = 640;
    int dpi = 96;
    double slider = 657;
    bool haveMagLimit = false;
    double magLimit = 0;
    Data::SkyDisplaySettings display;
    std::string select;
    std::string starsDat;
    std::string out;
    bool json = false;
    bool hit = false;
    int hitX = 0, hitY = 0;
};

// "W" "x" "H" and "X" "," "Y": two whole numbers around a separator.
bool ParsePair(const std::string& s, char sep, int lo, int hi, int& a, int& b) {
    const size_t at = s.find(sep);
    if (at == std::string::npos) return false;
    int32_t x = 0, y = 0;
    if (!ParseIntArg(s.substr(0, at).c_str(), lo, hi, x) || !ParseIntArg(s.substr(at + 1).c_str(), lo, hi, y))
        return false;
    a = x;
    b = y;
    return true;
}

Options ParseArgs(std::vector<std::string>& args) {
    Options o;
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    const int argc = static_cast<int>(argv.size());
    bool haveSlider = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Fail("option " + a + " needs a value");
            return argv[++i];
        };
        auto number = [&](double lo, double hi, const char* want) {
            const std::string v = value();
            double x = 0;
            if (!ParseNumberArg(v.c_str(), x) || !(x >= lo && x <= hi))
                Fail("invalid " + a + " '" + v + "' (want " + want + ")");
            return x;
        };
        // The layer switches, each with its --no- form.
        struct Switch {
            const char* name;
            bool* flag;
        };
        Data::SkyDisplaySettings& d = o.display;
        const Switch switches[] = {
            {"ecliptic", &d.ecliptic},        {"boundaries", &d.constellationBoundaries},
            {"lines", &d.constellationLines}, {"names", &d.constellationNames},
            {"horizon", &d.horizon},          {"planets", &d.showPlanets},
            {"objects", &d.showUserObjects},  {"comets", &d.showComets},
            {"telrad", &d.telradShow},        {"bold", &d.starsBold},
        };
        bool matched = false;
        for (const Switch& s : switches) {
            if (a == std::string("--") + s.name) {
                *s.flag = true;
                matched = true;
            } else if (a == std::string("--no-") + s.name) {
                *s.flag = false;
                matched = true;
            }
        }
        if (matched) continue;
        if (ParseObserverArg(argc, argv.data(), i, o.observer, Fail)) continue;
        if (a == "--help" || a == "-h") {
            std::printf(kUsage, kObserverUsage);
            std::exit(0);
        } else if (a == "--az") {
            o.az = static_cast<float>(number(-360, 720, "-360 .. 720 degrees"));
        } else if (a == "--alt") {
            o.alt = static_cast<float>(number(-90, 90, "-90 .. 90 degrees"));
        } else if (a == "--fov") {
            o.fov = static_cast<float>(number(1.0 / 60.0, 180, "1/60 .. 180 degrees"));
        } else if (a == "--size") {
            const std::string v = value();
            if (!ParsePair(v, 'x', 16, 8192, o.width, o.height))
                Fail("invalid --size '" + v + "' (want WxH, each 16 .. 8192 pixels)");
        } else if (a == "--dpi") {
            const std::string v = value();
            if (v == "96") o.dpi = 96;
            else if (v == "192") o.dpi = 192;
            else Fail("invalid --dpi '" + v + "' (want 96 or 192)");
        } else if (a == "--mag-slider") {
            o.slider = number(0, 1000, "0 .. 1000");
            haveSlider = true;
        } else if (a == "--mag-limit") {
            o.magLimit = number(-1, 16, "-1 .. 16");
            o.haveMagLimit = true;
        } else if (a == "--mag-filter") {
            d.magFilter = static_cast<float>(number(-30, 30, "-30 .. 30"));
        } else if (a == "--grid") {
            const std::string v = value();
            d.altAzGrid = v == "altaz";
            d.raDecGrid = v == "radec";
            if (v != "altaz" && v != "radec" && v != "none") Fail("invalid --grid '" + v + "' (want altaz, radec or none)");
        } else if (a == "--star-colours") {
            static const char* const kModes[] = {"white", "natural", "saturated"};
            d.starColour = 1;
            if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) {
                const std::string v = argv[++i];
                int mode = -1;
                for (int m = 0; m < 3; ++m)
                    if (v == kModes[m]) mode = m;
                if (mode < 0) Fail("invalid --star-colours '" + v + "' (want white, natural or saturated)");
                d.starColour = mode;
            }
        } else if (a == "--no-star-colours") {
            d.starColour = 0;
        } else if (a == "--telrad-diameters") {
            const std::string v = value();
            double t[3];
            char extra = 0;
            if (std::sscanf(v.c_str(), "%lf,%lf,%lf%c", &t[0], &t[1], &t[2], &extra) != 3 ||
                !(t[0] > 0 && t[1] > 0 && t[2] > 0 && t[0] <= 180 && t[1] <= 180 && t[2] <= 180))
                Fail("invalid --telrad-diameters '" + v + "' (want three diameters in degrees, A,B,C)");
            d.telradDiameter1 = static_cast<float>(t[0]);
            d.telradDiameter2 = static_cast<float>(t[1]);
            d.telradDiameter3 = static_cast<float>(t[2]);
        } else if (a == "--select") {
            o.select = value();
            if (o.select.empty()) Fail("invalid --select '' (want an object key such as Mars or Star4126)");
        } else if (a == "--stars-dat") {
            o.starsDat = value();
        } else if (a == "--out") {
            o.out = value();
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--hit") {
            const std::string v = value();
            if (!ParsePair(v, ',', -100000, 100000, o.hitX, o.hitY)) Fail("invalid --hit '" + v + "' (want X,Y)");
            o.hit = true;
        } else {
            Fail("unknown argument '" + a + "' (see --help)");
        }
    }
    CheckObserverArgs(o.observer, Fail);
    if (haveSlider && o.haveMagLimit) Fail("--mag-slider and --mag-limit exclude each other; give one");
    if (o.out.empty()) Fail("--out FILE.png is required");
    return o;
}

std::string HResultText(HRESULT hr) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
    return buf;
}

// Writes the picture as a 24-bit PNG through the Windows Imaging Component:
// into FILE.tmp first, which replaces FILE only when complete. An empty
// result on success, else the reason.
std::string WritePng(const UI::SkyMap::MapBitmap& map, const std::u16string& path) {
    const std::u16string tmp = path + u".tmp";
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    std::string error;
    auto check = [&](HRESULT hr, const char* what) {
        if (FAILED(hr) && error.empty()) error = std::string(what) + " failed (" + HResultText(hr) + ")";
        return SUCCEEDED(hr) && error.empty();
    };
    if (check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                               reinterpret_cast<void**>(&factory)),
              "starting the imaging component") &&
        check(factory->CreateStream(&stream), "making a stream") &&
        check(stream->InitializeFromFilename(W(tmp), GENERIC_WRITE), "creating the file") &&
        check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder), "making the PNG encoder") &&
        check(encoder->Initialize(stream, WICBitmapEncoderNoCache), "starting the PNG encoder") &&
        check(encoder->CreateNewFrame(&frame, nullptr), "making the picture") &&
        check(frame->Initialize(nullptr), "starting the picture") &&
        check(frame->SetSize(map.Width(), map.Height()), "setting the size")) {
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        if (check(frame->SetPixelFormat(&format), "setting the pixel format")) {
            if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) error = "the PNG encoder refuses 24-bit pixels";
            // The rows top first, as PNG keeps them; the bitmap keeps them bottom-up.
            for (int y = 0; y < map.Height() && error.empty(); ++y)
                check(frame->WritePixels(1, map.Stride(), map.Stride(), map.At(0, y)), "writing the pixels");
            if (error.empty() && check(frame->Commit(), "finishing the picture")) check(encoder->Commit(), "finishing the file");
        }
    }
    if (frame) frame->Release();
    if (encoder) encoder->Release();
    if (stream) stream->Release();
    if (factory) factory->Release();
    if (error.empty() && !MoveFileExW(W(tmp), W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        error = "replacing the file failed";
    if (!error.empty()) DeleteFileW(W(tmp));
    return error;
}

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

std::string Json(SkyMapView& view, const UI::SkyMap::PaintReport& report) {
    std::string out = "{\"width\":" + std::to_string(view.Width()) + ",\"height\":" + std::to_string(view.Height()) +
                      ",\"centre_az\":" + Number(view.CentreAz()) + ",\"centre_alt\":" + Number(view.CentreAlt()) +
                      ",\"fov\":" + Number(view.FieldOfView()) + ",\"mag_limit\":" + Number(view.MagLimit() / 100.0) +
                      ",\"stars_drawn\":" + std::to_string(report.starsDrawn) + ",\"grid_label\":";
    if (report.gridLabel.empty()) {
        out += "null";
    } else {
        out += JsonText(report.gridLabel);
    }
    out += ",\"objects\":[";
    bool first = true;
    for (const UI::SkyMap::PaintedObject& o : report.objects) {
        if (!first) out += ',';
        first = false;
        out += "{\"key\":";
        out += JsonText(Data::ObjectKey(o.ref));
        out += ",\"kind\":" + std::to_string(o.ref.kind) + ",\"name\":";
        out += JsonText(Data::ObjectName(o.ref));
        out += ",\"x\":" + std::to_string(o.point.x) + ",\"y\":" + std::to_string(o.point.y) +
               ",\"size\":" + std::to_string(o.size) + "}";
    }
    out += "]}";
    return out;
}

}  // namespace

extern "C" int wmain(int argc, WCHAR** argv) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(PL::ToUtf8(U16(argv[i])));
    Options o = ParseArgs(args);

    Data::LoadStarResources();
    if (Data::BrightBlockCount() == 0) {
        std::fprintf(stderr, "celvane-chart: the star catalogue resources are missing\n");
        return 1;
    }
    if (!o.starsDat.empty()) {
        const std::u16string path = HostPath(o.starsDat);
        Data::StarPDBFileReader check(path);
        if (!check.IsOpen()) {
            std::fprintf(stderr, "celvane-chart: cannot read the star file '%s'\n", o.starsDat.c_str());
            return 1;
        }
        Data::SetStarFilePath(path);
    }
    // The shipped object files, as the program loads them without
    // preferences; a file that fails is left out.
    for (const char16_t* name : {u"Messier", u"Caldwell"}) Data::UserObjectFiles().Load(name, false);
    for (const char16_t* name : {u"Asteroids", u"Comets"}) Data::CometFiles().Load(name, false);

    Calc::Ephemeris ephemeris;
    const PL::SystemTime now = platform.UtcNow();
    if (!ApplyObserverArgs(o.observer,
                           Calc::FromCalendar(now.year, now.month, now.day, now.hour, now.minute, now.second),
                           ephemeris))
        return 1;

    Data::AstroObjRef selected;
    if (!o.select.empty()) {
        selected = Data::ParseObjectKey(PL::FromUtf8(o.select));
        if (selected.kind == Data::kObjNone || Data::ObjectName(selected).empty())
            Fail("invalid --select '" + o.select + "': no object has that key");
    }

    SkyMapView view(ephemeris);
    view.SetOptions(o.display);
    view.SetSize(o.width, o.height);
    view.SetCentre(o.az, o.alt);
    view.SetFieldOfView(o.fov);
    view.SetMagnitudeLimit(o.haveMagLimit ? static_cast<float>(o.magLimit)
                                          : UI::SkyMap::AutomaticMagnitudeLimit(o.fov, static_cast<float>(o.slider)));
    view.SetSelected(selected);
    view.SetHitRadius(UI::SkyMap::HitRadiusForDpi(o.dpi, o.dpi));

    UI::SkyMap::PaintReport report;
    report.listObjects = o.json;
    const UI::SkyMap::MapBitmap* map = UI::SkyMap::Paint(view, o.dpi, &report);
    if (!map) {
        std::fprintf(stderr, "celvane-chart: no bitmap of %dx%d pixels could be made\n", o.width, o.height);
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string error = WritePng(*map, HostPath(o.out));
    CoUninitialize();
    if (!error.empty()) {
        std::fprintf(stderr, "celvane-chart: cannot write '%s': %s\n", o.out.c_str(), error.c_str());
        return 1;
    }
    if (o.json) std::printf("%s\n", Json(view, report).c_str());
    if (o.hit) {
        const Data::AstroObjRef hit = view.HitTest(o.hitX, o.hitY);
        std::printf("%s\n", PL::ToUtf8(Data::ObjectKey(hit)).c_str());
    }
    std::fflush(stdout);
    return 0;
}
