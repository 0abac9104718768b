#include "skymap/painter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

#include "data/messages.h"
#include "data/objectfiles.h"
#include "data/objectnames.h"
#include "data/starcatalog.h"
#include "data/starenum.h"
#include "data/starfile.h"
#include "engine/constellations.h"
#include "engine/physical.h"
#include "skymap/constellation_lines.h"
#include "skymap/moon_picture.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

namespace UI {
namespace SkyMap {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kArcsecToRad = kPi / 648000.0;

// --- colours of the layers (red, green, blue) ---------------------------------------
const COLORREF kGridColour = RGB(0, 101, 156);
const COLORREF kEclipticColour = RGB(204, 102, 0);
const COLORREF kBoundaryColour = RGB(156, 48, 156);
const COLORREF kSelectedBoundaryColour = RGB(255, 255, 0);
const COLORREF kLineColour = RGB(0, 154, 99);
const COLORREF kNameColour = RGB(206, 101, 49);
const COLORREF kHorizonColour = RGB(0, 204, 204);
const COLORREF kGridLabelColour = RGB(180, 180, 180);
const COLORREF kTelradColour = RGB(255, 255, 0);
const COLORREF kUserObjectColour = RGB(255, 0, 255);
const COLORREF kCometColour = RGB(128, 0, 255);
const COLORREF kBodyColour = RGB(0, 255, 0);
const COLORREF kSunOutline = RGB(255, 255, 0);
const COLORREF kMoonOutline = RGB(255, 255, 255);
const COLORREF kShadowColour = RGB(255, 255, 0);
const COLORREF kBlack = RGB(0, 0, 0);

const Data::Message kMsgCompass[8] = {
    {{0x409, u"N"}, {0x407, u"N"}},  {{0x409, u"NE"}, {0x407, u"NO"}}, {{0x409, u"E"}, {0x407, u"O"}},
    {{0x409, u"SE"}, {0x407, u"SO"}}, {{0x409, u"S"}, {0x407, u"S"}},  {{0x409, u"SW"}, {0x407, u"SW"}},
    {{0x409, u"W"}, {0x407, u"W"}},  {{0x409, u"NW"}, {0x407, u"NW"}},
};
// The eight horizon directions in the same order (x north, y east, z zenith).
const Q15Vec kCompassPoints[8] = {
    {32767, 0, 0},  {23170, 23170, 0},  {0, 32767, 0},  {-23170, 23170, 0},
    {-32767, 0, 0}, {-23170, -23170, 0}, {0, -32767, 0}, {23170, -23170, 0},
};

const uint8_t kNaturalTints[16][3] = {
    {255, 181, 92},  {255, 196, 121}, {255, 205, 138}, {255, 214, 155}, {255, 222, 172}, {255, 229, 189},
    {255, 237, 206}, {255, 244, 224}, {255, 251, 241}, {255, 255, 255}, {239, 243, 255}, {223, 234, 255},
    {207, 224, 225}, {192, 214, 255}, {176, 204, 255}, {155, 188, 255},
};
const uint8_t kSaturatedTints[16][3] = {
    {255, 48, 0},    {255, 98, 0},    {255, 114, 0},   {255, 139, 0},   {255, 161, 23},  {255, 179, 68},
    {255, 198, 114}, {255, 232, 203}, {255, 215, 162}, {255, 255, 255}, {206, 213, 255}, {159, 191, 255},
    {113, 166, 225}, {72, 139, 255},  {32, 111, 255},  {0, 67, 255},
};

// The degree table and the time table of the grid spacings, arcseconds.
const int32_t kDegreeTable[] = {108000, 72000, 36000, 18000, 7200, 3600, 1800, 1200, 600, 300, 120, 60};
const int32_t kTimeTable[] = {108000, 54000, 27000, 18000, 9000, 4500, 1800, 900, 450, 300, 150, 75, 0};

template <size_t N>
int32_t Spacing(const int32_t (&table)[N], int32_t v) {
    if (v >= table[0]) return table[0];
    for (size_t i = 1; i < N; ++i) {
        if (table[i] <= v) return table[i - 1];
    }
    return table[N - 1];
}

// --- selections of the drawing context, undone when the layer ends ------------------------

class PenScope {
public:
    PenScope(HDC dc, int style, COLORREF colour) : dc_(dc), pen_(CreatePen(style, 1, colour)) {
        old_ = SelectObject(dc_, pen_);
    }
    ~PenScope() {
        SelectObject(dc_, old_);
        DeleteObject(pen_);
    }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ old_;
};

class NullBrushScope {
public:
    explicit NullBrushScope(HDC dc) : dc_(dc), old_(SelectObject(dc, GetStockObject(NULL_BRUSH))) {}
    ~NullBrushScope() { SelectObject(dc_, old_); }
    NullBrushScope(const NullBrushScope&) = delete;
    NullBrushScope& operator=(const NullBrushScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

class TextScope {
public:
    TextScope(HDC dc, HFONT font, COLORREF colour, bool opaque)
        : dc_(dc), oldFont_(SelectObject(dc, font)), oldColour_(SetTextColor(dc, colour)),
          oldBack_(SetBkColor(dc, kBlack)), oldMode_(SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT)) {}
    ~TextScope() {
        SetBkMode(dc_, oldMode_);
        SetBkColor(dc_, oldBack_);
        SetTextColor(dc_, oldColour_);
        SelectObject(dc_, oldFont_);
    }
    TextScope(const TextScope&) = delete;
    TextScope& operator=(const TextScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ oldFont_;
    COLORREF oldColour_, oldBack_;
    int oldMode_;
};

// The map's font: the interface face, 8 points at the resolution.
HFONT MapFont(int dpi) {
    static std::map<int, HFONT> fonts;
    HFONT& font = fonts[dpi];
    if (!font) {
        font = CreateFontW(-((8 * dpi + 36) / 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                           W(kInterfaceFace));
    }
    return font;
}

// The icon strips, loaded on first use per resolution.
const MonochromeStrip& Strip(const char16_t* name, int dpi) {
    static std::map<std::pair<std::u16string, int>, std::unique_ptr<MonochromeStrip>> strips;
    std::unique_ptr<MonochromeStrip>& strip = strips[{name, dpi}];
    if (!strip) {
        strip = std::make_unique<MonochromeStrip>();
        strip->Load(name, dpi);
    }
    return *strip;
}

const char16_t kPlanets[] = u"planets";
const char16_t kObjects[] = u"objects";
const char16_t kAsteroidsComets[] = u"asteroidsComets";

// Text centred on a point: measured, then drawn in the rectangle moved so
// that its middle (half width and height, integer division) is the point.
void DrawCentredText(HDC dc, const std::u16string& text, int x, int y) {
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, W(text), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT at = {x - w / 2, y - h / 2, x - w / 2 + w, y - h / 2 + h};
    DrawTextW(dc, W(text), static_cast<int>(text.size()), &at, DT_NOPREFIX);
}

int32_t TruncToInt(double v) { return static_cast<int32_t>(v); }

// The chords of an arc: one per started 5 degrees, at most 30 (a full
// circle: 12 degrees each).
int32_t ArcChords(int32_t lengthArcsec) { return std::min(std::abs(lengthArcsec) / 18000 + 1, 30); }

// --- the painter ------------------------------------------------------------------------

class Painter {
public:
    Painter(SkyMapView& view, MapBitmap& map, int dpi, PaintReport* report)
        : view_(view), eph_(view.Ephemeris()), map_(map), dc_(map.Context()), dpi_(dpi), report_(report),
          field_(view.FieldOfView()), width_(view.Width()), height_(view.Height()),
          starSizeLimit_(std::clamp<int32_t>(view.MagLimit(), 200, 1100)) {}

    void Run();

    // Arc tracer: a start point on a small circle of a frame, a signed length
    // in arcseconds, along the parallel (longitude grows) or the meridian
    // (latitude grows). The float variant keeps the point in floats.
    void TraceArc(Frame f, double lon, double lat, int32_t lengthArcsec, bool alongParallel, bool useFloat);
    void TraceArcQ15(const Q15Mat& rot, int32_t cosLon, int32_t sinLon, int32_t cosLat, int32_t sinLat,
                     int32_t lengthArcsec, bool alongParallel);

private:
    friend class DrawConstellationBoundaries;
    friend class StarPainter;

    // Polyline collection of the arc tracer.
    void AddPoint(bool visible, const ScreenPoint& pt);
    void FlushPolyline();
    // A point of an arc, Q15 components (clamped to them), through `rot`.
    void AddArcPoint(const Q15Mat& rot, int32_t x, int32_t y, int32_t z);

    void GreatCircle(Frame f);
    void Grid(Frame f, bool timeLongitude);
    void Boundaries(int onlyConstellation, COLORREF colour);
    void ConstellationLines();
    void ConstellationNames();
    void Horizon();
    void GridLabelLayer();
    void Telrad();
    void Stars();
    // Draws a star of a catalogue record (its magnitude and colour class) at
    // pt; returns its size.
    int DrawCatalogueStar(const ScreenPoint& pt, const uint8_t* record);
    void UserObjects();
    void DrawUserObject(const Data::UserObj& o, const Data::AstroObjRef& ref);
    void Comets();
    void DrawComet(const Data::AstroObjRef& ref, Calc::Vec3 position, int symbol);
    void Body(int b);
    void Selected();

    void Report(const Data::AstroObjRef& ref, const ScreenPoint& pt, int size) {
        if (!report_ || !report_->listObjects) return;
        for (const PaintedObject& o : report_->objects)
            if (o.ref == ref) return;
        report_->objects.push_back({ref, pt, size});
    }
    void DrawIcon(const char16_t* strip, int index, const ScreenPoint& pt, COLORREF colour, int& cell) {
        const MonochromeStrip& s = Strip(strip, dpi_);
        cell = s.GlyphSize();
        s.DrawGlyph(dc_, index, pt.x - cell / 2, pt.y - cell / 2, colour);
    }

    SkyMapView& view_;
    Calc::Ephemeris& eph_;
    MapBitmap& map_;
    HDC dc_;
    int dpi_;
    PaintReport* report_;
    float field_;
    int32_t width_, height_;
    // The limit star sizes are measured from (hundredths): the view's,
    // within 2.00 .. 11.00; beyond those the scale of sizes stays as there.
    int32_t starSizeLimit_;
    std::vector<POINT> polyline_;
    bool gridDrawn_ = false;
    int32_t gridLonSpacing_ = 0, gridLatSpacing_ = 0;
    bool gridTime_ = false;
};

void Painter::AddPoint(bool visible, const ScreenPoint& pt) {
    if (!visible) {
        FlushPolyline();
        return;
    }
    polyline_.push_back(POINT{static_cast<LONG>(pt.x), static_cast<LONG>(pt.y)});
}

void Painter::FlushPolyline() {
    if (polyline_.size() >= 2) Polyline(dc_, polyline_.data(), static_cast<int>(polyline_.size()));
    polyline_.clear();
}

void Painter::AddArcPoint(const Q15Mat& rot, int32_t x, int32_t y, int32_t z) {
    const Q15Vec v{static_cast<int16_t>(std::clamp(x, -32767, 32767)), static_cast<int16_t>(std::clamp(y, -32767, 32767)),
                   static_cast<int16_t>(std::clamp(z, -32767, 32767))};
    ScreenPoint pt;
    const bool visible = view_.Project(v, &rot, pt);
    AddPoint(visible, pt);
}

void Painter::TraceArcQ15(const Q15Mat& rot, int32_t cosLon, int32_t sinLon, int32_t cosLat, int32_t sinLat,
                          int32_t lengthArcsec, bool alongParallel) {
    const int32_t n = ArcChords(lengthArcsec);
    const int32_t step = lengthArcsec / n;
    const double stepRad = step * kArcsecToRad;
    const int32_t s = TruncToInt(std::sin(stepRad) * 32767.0), c = TruncToInt(std::cos(stepRad) * 32767.0);
    // Along a parallel the point turns about the pole; along a meridian its
    // (horizontal length, height) pair turns in the meridian's plane.
    int32_t x = (cosLat * cosLon) >> 15, y = (cosLat * sinLon) >> 15, z = sinLat;
    int32_t h = cosLat;
    for (int32_t k = 0; k <= n; ++k) {
        if (k > 0) {
            if (alongParallel) {
                const int32_t nx = (x * c - y * s) >> 15, ny = (x * s + y * c) >> 15;
                x = nx;
                y = ny;
            } else {
                const int32_t nh = (h * c - z * s) >> 15, nz = (h * s + z * c) >> 15;
                h = nh;
                z = nz;
                x = (h * cosLon) >> 15;
                y = (h * sinLon) >> 15;
            }
        }
        AddArcPoint(rot, x, y, z);
    }
    FlushPolyline();
}

void Painter::TraceArc(Frame f, double lon, double lat, int32_t lengthArcsec, bool alongParallel, bool useFloat) {
    if (!useFloat) {
        TraceArcQ15(view_.RotationQ15(f), TruncToInt(std::cos(lon) * 32767.0), TruncToInt(std::sin(lon) * 32767.0),
                    TruncToInt(std::cos(lat) * 32767.0), TruncToInt(std::sin(lat) * 32767.0), lengthArcsec,
                    alongParallel);
        return;
    }
    const Q15Mat& rot = view_.RotationQ15(f);
    const int32_t n = ArcChords(lengthArcsec);
    const int32_t step = lengthArcsec / n;
    const float s = static_cast<float>(std::sin(step * kArcsecToRad));
    const float c = static_cast<float>(std::cos(step * kArcsecToRad));
    const float cosLon = static_cast<float>(std::cos(lon)), sinLon = static_cast<float>(std::sin(lon));
    float h = static_cast<float>(std::cos(lat)), z = static_cast<float>(std::sin(lat));
    float x = h * cosLon, y = h * sinLon;
    for (int32_t k = 0; k <= n; ++k) {
        if (k > 0) {
            if (alongParallel) {
                const float nx = x * c - y * s, ny = x * s + y * c;
                x = nx;
                y = ny;
            } else {
                const float nh = h * c - z * s, nz = h * s + z * c;
                h = nh;
                z = nz;
                x = h * cosLon;
                y = h * sinLon;
            }
        }
        AddArcPoint(rot, TruncToInt(x * 32767.0f), TruncToInt(y * 32767.0f), TruncToInt(z * 32767.0f));
    }
    FlushPolyline();
}

// The circle of latitude 0 of a frame: the whole circle in 30 chords, or at
// fields of 2 degrees and less only the part around the map, in floats.
void Painter::GreatCircle(Frame f) {
    if (field_ > 2.0f) {
        TraceArc(f, 0.0, 0.0, 1296000, true, false);
        return;
    }
    const Calc::Vec3 centre = view_.UnprojectTo(f, view_.CentreX(), view_.CentreY());
    const double lc = std::atan2(centre.y, centre.x) * 180.0 / kPi;
    const double bc = std::atan2(centre.z, std::hypot(centre.x, centre.y)) * 180.0 / kPi;
    if (std::fabs(bc) > field_) return;
    double start = lc - field_;
    if (start < 0) start += 360.0;
    TraceArc(f, start * kPi / 180.0, 0.0, TruncToInt(field_ * 7200.0), true, true);
}

void Painter::Grid(Frame f, bool timeLongitude) {
    const VisibleRange range = view_.VisibleWindow(f);
    const int32_t longer = std::max(width_, height_), shorter = std::max(1, std::min(width_, height_));
    const double aspect = double(longer) / shorter;
    const bool useFloat = field_ <= 2.0f;
    // Latitude spacing: the table entry just above a sixth of the long side.
    const int32_t v = TruncToInt(field_ * aspect * 600.0);
    const int32_t latSpacing = Spacing(kDegreeTable, v);
    // Longitude spacing, widened by 1 / cos of the centre's latitude.
    const int32_t u = static_cast<int32_t>(std::min<int64_t>(int64_t(v) * 32768 / std::max(range.cosLat, 100), 108000));
    const int32_t lonSpacing = timeLongitude ? Spacing(kTimeTable, u) : Spacing(kDegreeTable, u);

    const int32_t lonLength = (range.lonMax - range.lonMin) * 60;  // arcseconds
    const double lonStart = range.lonMin * 60.0 * kArcsecToRad;
    auto parallels = [&](int32_t from, int32_t to) {  // arcseconds
        int32_t lat = static_cast<int32_t>(std::ceil(double(from) / latSpacing)) * latSpacing;
        for (; lat <= to; lat += latSpacing) {
            if (lat <= -324000 || lat >= 324000) continue;  // a pole is a point, not a line
            TraceArc(f, lonStart, lat * kArcsecToRad, lonLength, true, useFloat);
        }
    };
    const int32_t bmin = range.latMin * 60, bmax = range.latMax * 60;
    if (bmin <= 0 && 0 <= bmax) {
        parallels(bmin, -latSpacing);
        parallels(latSpacing, bmax);
        GreatCircle(f);
    } else {
        parallels(bmin, bmax);
    }

    // Meridians, stopping field/6 degrees short of the poles.
    const int32_t spacingMin = lonSpacing / 60;  // arcminutes
    const int32_t lend = range.WholeCircle() ? 21600 - spacingMin : range.lonMax;
    const int32_t latFrom = std::max(range.latMin, TruncToInt(10.0 * field_) - 5400);
    const int32_t latTo = std::min(5400 - TruncToInt(10.0 * field_), range.latMax);
    if (spacingMin > 0 && latTo > latFrom) {
        int64_t lon = static_cast<int64_t>(std::ceil(double(range.lonMin) / spacingMin)) * spacingMin;
        for (; lon <= lend; lon += spacingMin) {
            TraceArc(f, lon * 60.0 * kArcsecToRad, latFrom * 60.0 * kArcsecToRad, (latTo - latFrom) * 60, false,
                     useFloat);
        }
    }
    gridDrawn_ = true;
    gridLonSpacing_ = lonSpacing;
    gridLatSpacing_ = latSpacing;
    gridTime_ = timeLongitude;
}

// Traces each boundary segment with the integer arc tracer in the B1875.0 frame.
class DrawConstellationBoundaries : public Calc::ConstellationBoundaries {
public:
    explicit DrawConstellationBoundaries(Painter& p) : p_(p), rot_(p.view_.RotationQ15(Frame::B1875)) {}

protected:
    void Segment(const Calc::BoundaryVertex& s, int32_t lengthArcsec, bool alongParallel) override {
        p_.TraceArcQ15(rot_, s.cosRa, s.sinRa, s.cosDec, s.sinDec, lengthArcsec, alongParallel);
    }

private:
    Painter& p_;
    const Q15Mat& rot_;
};

void Painter::Boundaries(int onlyConstellation, COLORREF colour) {
    PenScope pen(dc_, PS_SOLID, colour);
    DrawConstellationBoundaries painter(*this);
    if (onlyConstellation < 0) {
        painter.EnumerateAll();
    } else {
        painter.EnumerateFor(onlyConstellation);
    }
}

void Painter::ConstellationLines() {
    PenScope pen(dc_, PS_SOLID, kLineColour);
    const Q15Mat& rot = view_.RotationQ15(Frame::J2000);
    ScreenPoint prev;
    bool prevInFront = false;
    for (const uint16_t* code = kConstellationLines; *code != kConstellationLinesEnd; ++code) {
        const Data::StarNumber star = Data::HrToStarIndex(*code & kHrMask);
        ScreenPoint pt;
        bool inFront = false;
        if (star >= 0) {
            const Data::StarPosition pos = Data::ReadStarPosition(star);
            // All zero: the catalogue does not hold the star after all.
            if (pos.X() != 0 || pos.Y() != 0 || pos.Z() != 0)
                inFront = view_.Project(Q15Vec{pos.X(), pos.Y(), pos.Z()}, &rot, pt);
        }
        if (!(*code & kNewPolyline) && inFront && prevInFront) {
            // The part of the segment on the map; a segment whose both ends
            // lie off the map may still cross it.
            int64_t x0 = prev.x, y0 = prev.y, x1 = pt.x, y1 = pt.y;
            if (ClipSegment(x0, y0, x1, y1, width_, height_)) {
                MoveToEx(dc_, static_cast<int>(x0), static_cast<int>(y0), nullptr);
                LineTo(dc_, static_cast<int>(x1), static_cast<int>(y1));
            }
        }
        prev = pt;
        prevInFront = inFront;
    }
}

void Painter::ConstellationNames() {
    TextScope text(dc_, MapFont(dpi_), kNameColour, false);
    for (int i = 0; i < Calc::kConstellationCount; ++i) {
        const Calc::Vec3 label = eph_.StarApparent(Calc::ConstellationCentre(i));
        ScreenPoint pt;
        if (view_.ProjectDirection(label, Frame::Equatorial, pt) && view_.OnMap(pt))
            DrawCentredText(dc_, Data::ConstellationAbbreviation(i), pt.x, pt.y);
    }
}

void Painter::Horizon() {
    {
        PenScope pen(dc_, PS_SOLID, kHorizonColour);
        GreatCircle(Frame::Horizontal);
    }
    TextScope text(dc_, MapFont(dpi_), kHorizonColour, true);
    const Q15Mat& rot = view_.RotationQ15(Frame::Horizontal);
    for (int i = 0; i < 8; ++i) {
        ScreenPoint pt;
        if (view_.Project(kCompassPoints[i], &rot, pt) && view_.OnMap(pt))
            DrawCentredText(dc_, Data::MessageText(kMsgCompass[i]), pt.x, pt.y);
    }
}

void Painter::GridLabelLayer() {
    const std::u16string label = GridLabel(gridLonSpacing_, gridLatSpacing_, gridTime_);
    if (report_) report_->gridLabel = label;
    TextScope text(dc_, MapFont(dpi_), kGridLabelColour, true);
    RECT r = {0, 0, width_ - 1, height_};
    DrawTextW(dc_, W(label), static_cast<int>(label.size()), &r, DT_RIGHT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE);
}

void Painter::Telrad() {
    const auto& o = view_.Options();
    PenScope pen(dc_, PS_DASH, kTelradColour);
    NullBrushScope brush(dc_);
    const int oldMode = SetBkMode(dc_, TRANSPARENT);
    const int32_t m = std::min(width_, height_) / 2;
    const int32_t cx = view_.CentreX(), cy = view_.CentreY();
    for (float d : {o.telradDiameter1, o.telradDiameter2, o.telradDiameter3}) {
        const double rr = m / double(field_) * d;
        if (!(rr >= 2.0 && rr <= m)) continue;  // also refuses NaN
        const int32_t r = TruncToInt(rr);
        Ellipse(dc_, cx - r, cy - r, cx + r, cy + r);
    }
    SetBkMode(dc_, oldMode);
}

// Catalogue stars go straight into the bitmap's memory; sizes 4 and more
// are circles of the platform, drawn with DC_BRUSH and DC_PEN in the star's
// colour. The platform's drawing is flushed on entry and exit so that the
// two kinds of writes come in order.
class StarDrawScope {
public:
    explicit StarDrawScope(HDC dc)
        : dc_(dc), oldBrush_(SelectObject(dc, GetStockObject(DC_BRUSH))), oldPen_(SelectObject(dc, GetStockObject(DC_PEN))) {
        GdiFlush();
    }
    ~StarDrawScope() {
        GdiFlush();
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
    }
    StarDrawScope(const StarDrawScope&) = delete;
    StarDrawScope& operator=(const StarDrawScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ oldBrush_, oldPen_;
};

int Painter::DrawCatalogueStar(const ScreenPoint& pt, const uint8_t* record) {
    const int size = StarSize(starSizeLimit_, Data::RecordMagCode(record) - Data::kMagnitudeOffset,
                              view_.Options().starsBold);
    DrawStar(map_, pt.x, pt.y, size, StarColour(view_.Options().starColour, Data::RecordColourClass(record)));
    return size;
}

// The star catalogue's per-star callback: every star of the search box is
// projected and, when on the map, written into the bitmap.
class StarPainter : public Data::StarEnumerator {
public:
    StarPainter(Painter& p, Data::StarPDBFileReader* file)
        : Data::StarEnumerator(file), p_(p), rot_(p.view_.RotationQ15(Frame::J2000)) {}

    void OnStar(Data::StarNumber n, const uint8_t* record, uint32_t position) override {
        ScreenPoint pt;
        if (!p_.view_.Project(Q15Vec{Data::RecordX(record), Data::RecordY(record), Data::RecordZ(record)}, &rot_, pt))
            return;
        if (!p_.view_.OnMap(pt)) return;
        const int size = p_.DrawCatalogueStar(pt, record);
        ++drawn_;
        if (p_.report_ && p_.report_->listObjects && n >= 0 && n < Data::kHipStarBase) {
            const int hr = Data::StarIndexToHr(n);
            if (hr > 0) {
                const Data::BayerFlamsteed bf = Data::BayerFlamsteedOf(hr);
                if (Data::HasProperName(hr) || bf.letter != 0 || bf.flamsteed != 0)
                    p_.Report(Data::AstroObjRef(Data::kObjStar, n), pt, size);
            }
        }
    }
    int Drawn() const { return drawn_; }

private:
    Painter& p_;
    const Q15Mat& rot_;
    int drawn_ = 0;
};

void Painter::Stars() {
    const VisibleRange range = view_.VisibleWindow(Frame::J2000);
    const StarBox box = StarSearchBox(range);
    const int16_t magMax = static_cast<int16_t>(std::clamp<int32_t>(view_.MagLimit(), -1000, 2047 - 148));
    StarDrawScope scope(dc_);
    Data::StarPDBFileReader file(Data::StarFilePath());
    StarPainter painter(*this, file.IsOpen() ? &file : nullptr);
    painter.EnumerateBright(box.xFrom, box.xTo, box.yFrom, box.yTo, box.zMin, box.zMax, -1000, magMax);
    if (file.IsOpen()) {
        painter.EnumerateHip(box.xFrom, box.xTo, box.yFrom, box.yTo, box.zMin, box.zMax, -1000, magMax);
        painter.EnumerateTyc(box.xFrom, box.xTo, box.yFrom, box.yTo, box.zMin, box.zMax, -1000, magMax);
    }
    if (report_) report_->starsDrawn = painter.Drawn();
}

// User objects of the active files not fainter than the filter.
void Painter::UserObjects() {
    const float filter = view_.PaintedMagFilter();
    std::vector<std::u16string> files;
    Data::UserObjectFiles().ListLoadedFiles(files);
    for (const std::u16string& file : files) {
        const auto& list = Data::UserObjectFiles().FindStore(file);
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i]->magnitude <= filter)
                DrawUserObject(*list[i], Data::AstroObjRef(Data::kObjUser, static_cast<int32_t>(i), file));
        }
    }
}

void Painter::DrawUserObject(const Data::UserObj& o, const Data::AstroObjRef& ref) {
    ScreenPoint pt;
    if (!view_.Project(Q15Vec{o.x, o.y, o.z}, &view_.RotationQ15(Frame::J2000), pt) || !view_.OnMap(pt)) return;
    int cell = 0;
    DrawIcon(kObjects, o.symbol, pt, kUserObjectColour, cell);
    Report(ref, pt, cell);
}

// Comets and asteroids not fainter than the filter, at the places the view
// computed for this paint.
void Painter::Comets() {
    const float filter = view_.PaintedMagFilter();
    for (const CometSpot& c : view_.CometSpots())
        if (c.magnitude <= filter) DrawComet(c.ref, c.position, c.symbol);
}

void Painter::DrawComet(const Data::AstroObjRef& ref, Calc::Vec3 position, int symbol) {
    ScreenPoint pt;
    if (!view_.ProjectDirection(position, Frame::Equatorial, pt) || !view_.OnMap(pt)) return;
    int cell = 0;
    DrawIcon(kAsteroidsComets, symbol, pt, kCometColour, cell);
    Report(ref, pt, cell);
}

// The Sun, the Moon or a planet: an icon, or at fields of 10 degrees and
// less the Sun's and the Moon's discs at their apparent size.
void Painter::Body(int b) {
    const int32_t shorter = std::min(width_, height_);
    const bool sunOrMoon = b == Calc::kSun || b == Calc::kMoon;
    int32_t r = 10;
    if (sunOrMoon) {
        // The disc radius in pixels: diameter (arcsec) / 3600 / 2 degrees.
        const double rr = shorter / double(field_) * eph_.AngularDiameter(b) * 0.000138889;
        r = rr < 1e6 ? TruncToInt(rr) : 1000000;
    }
    ScreenPoint pt;
    if (!view_.ProjectDirection(eph_.ApparentPosition(b), Frame::Equatorial, pt)) return;
    if (!(pt.x >= -r && pt.x < width_ + r && pt.y >= -r && pt.y < height_ + r)) return;
    const Data::AstroObjRef ref(Data::kObjBody, b);
    if (sunOrMoon && field_ <= 10.0f) {
        {
            PenScope pen(dc_, PS_SOLID, b == Calc::kSun ? kSunOutline : kMoonOutline);
            HGDIOBJ oldBrush = SelectObject(dc_, GetStockObject(BLACK_BRUSH));
            Ellipse(dc_, pt.x - r, pt.y - r, pt.x + r, pt.y + r);
            SelectObject(dc_, oldBrush);
        }
        if (b == Calc::kMoon) {
            const Calc::MoonPhaseInfo phase = eph_.MoonPhaseData();
            MoonShape shape;
            shape.radius = r;
            shape.rotation = phase.axisAngle;
            shape.phaseAngle = phase.sunAngle;
            shape.brightLimb = phase.sunDirection;
            DrawMoonPicture(dc_, pt.x, pt.y, shape);
            // Near full Moon: the Earth's shadow, penumbra and umbra.
            if (eph_.Info(Calc::kMoon).phaseAngle <= 6.0f) {
                ScreenPoint sp;
                if (view_.ProjectDirection(eph_.ApparentPosition(Calc::kEarthShadow), Frame::Equatorial, sp)) {
                    const double pp = shorter / double(field_) * eph_.AngularDiameter(Calc::kMoon) * 0.0006579;
                    const int32_t p = pp < 1e6 ? TruncToInt(pp) : 1000000;
                    const int32_t u = p * 33 / 58;
                    PenScope pen(dc_, PS_DASH, kShadowColour);
                    NullBrushScope brush(dc_);
                    const int oldMode = SetBkMode(dc_, TRANSPARENT);
                    Ellipse(dc_, sp.x - p, sp.y - p, sp.x + p, sp.y + p);
                    Ellipse(dc_, sp.x - u, sp.y - u, sp.x + u, sp.y + u);
                    SetBkMode(dc_, oldMode);
                }
            }
        }
        Report(ref, pt, r);
        return;
    }
    int cell = 0;
    DrawIcon(kPlanets, Data::ObjectIcon(ref).image, pt, kBodyColour, cell);
    Report(ref, pt, cell);
}

void Painter::Selected() {
    const Data::AstroObjRef& sel = view_.Selected();
    switch (sel.kind) {
        case Data::kObjBody:
            if (sel.number >= 0 && sel.number < Calc::kBodyCount) Body(sel.number);
            break;
        case Data::kObjStar: {
            if (sel.number < 0) break;
            const Data::StarPosition pos = Data::ReadStarPosition(sel.number);
            if (pos.X() == 0 && pos.Y() == 0 && pos.Z() == 0) break;  // no such star
            ScreenPoint pt;
            if (!view_.Project(Q15Vec{pos.X(), pos.Y(), pos.Z()}, &view_.RotationQ15(Frame::J2000), pt) ||
                !view_.OnMap(pt))
                break;
            StarDrawScope scope(dc_);
            Report(sel, pt, DrawCatalogueStar(pt, pos.bytes));
            break;
        }
        // The selected object whatever its magnitude, and also when its
        // kind is hidden.
        case Data::kObjUser:
            if (const Data::UserObj* o = Data::FindUserObject(sel)) DrawUserObject(*o, sel);
            break;
        case Data::kObjComet:
            if (const Data::Comet* c = Data::FindComet(sel)) {
                Calc::Vec3 position;
                float magnitude = 0;
                CometApparent(*c, eph_, position, magnitude);
                DrawComet(sel, position, c->symbol);
            }
            break;
        default:
            break;  // a constellation is marked by its outline
    }
}

void Painter::Run() {
    const auto& o = view_.Options();
    if (o.altAzGrid || o.raDecGrid) {
        PenScope pen(dc_, PS_SOLID, kGridColour);
        if (o.altAzGrid) {
            Grid(Frame::Horizontal, false);
        } else {
            Grid(Frame::Equatorial, true);
        }
    }
    if (o.ecliptic) {
        PenScope pen(dc_, PS_SOLID, kEclipticColour);
        GreatCircle(Frame::Ecliptic);
    }
    if (o.constellationBoundaries) Boundaries(-1, kBoundaryColour);
    if (view_.Selected().kind == Data::kObjConstellation) Boundaries(view_.Selected().number, kSelectedBoundaryColour);
    if (o.constellationLines) ConstellationLines();
    if (o.constellationNames) ConstellationNames();
    if (o.horizon) Horizon();
    if (gridDrawn_) GridLabelLayer();
    if (o.telradShow) Telrad();
    Stars();
    if (o.showUserObjects) UserObjects();
    if (o.showComets) Comets();
    if (o.showPlanets) {
        for (int b = 0; b < Calc::kBodyCount; ++b) Body(b);
    }
    Selected();
    GdiFlush();
}

}  // namespace

COLORREF StarColour(int mode, int colourClass) {
    const int c = std::clamp(colourClass, 0, 15);
    if (mode == 1) return RGB(kNaturalTints[c][0], kNaturalTints[c][1], kNaturalTints[c][2]);
    if (mode == 2) return RGB(kSaturatedTints[c][0], kSaturatedTints[c][1], kSaturatedTints[c][2]);
    return RGB(255, 255, 255);
}

int StarSize(int32_t limit, int32_t mag, bool bold) {
    const int32_t l = std::max<int32_t>(limit, 1);
    const int size = static_cast<int>(std::clamp<int64_t>((int64_t(l) - mag) * 6 / l, 0, 6));
    return size + (bold ? 1 : 0);
}

void DrawStar(const MapBitmap& map, int x, int y, int size, COLORREF colour) {
    const uint8_t r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const bool inner = x >= 1 && y >= 1 && x + 1 < map.Width() && y + 1 < map.Height();
    switch (size) {
        case 0:
            map.Put(x, y, r, g, b);
            return;
        case 1:
            if (inner) {
                map.PutUnclipped(x, y, r, g, b);
                map.PutUnclipped(x + 1, y, r, g, b);
                map.PutUnclipped(x, y + 1, r, g, b);
                map.PutUnclipped(x + 1, y + 1, r, g, b);
            } else {
                map.Put(x, y, r, g, b);
                map.Put(x + 1, y, r, g, b);
                map.Put(x, y + 1, r, g, b);
                map.Put(x + 1, y + 1, r, g, b);
            }
            return;
        case 2:
            if (inner) {
                map.PutUnclipped(x, y, r, g, b);
                map.PutUnclipped(x - 1, y, r, g, b);
                map.PutUnclipped(x + 1, y, r, g, b);
                map.PutUnclipped(x, y - 1, r, g, b);
                map.PutUnclipped(x, y + 1, r, g, b);
            } else {
                map.Put(x, y, r, g, b);
                map.Put(x - 1, y, r, g, b);
                map.Put(x + 1, y, r, g, b);
                map.Put(x, y - 1, r, g, b);
                map.Put(x, y + 1, r, g, b);
            }
            return;
        case 3:
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (inner) {
                        map.PutUnclipped(x + dx, y + dy, r, g, b);
                    } else {
                        map.Put(x + dx, y + dy, r, g, b);
                    }
                }
            }
            return;
        default: {
            // A filled circle by the platform, in the star's colour; the
            // caller has DC_BRUSH and DC_PEN selected.
            HDC dc = map.Context();
            const COLORREF oldBrush = SetDCBrushColor(dc, colour);
            const COLORREF oldPen = SetDCPenColor(dc, colour);
            const int left = x - size / 2, top = y - size / 2;
            Ellipse(dc, left, top, left + size, top + size);
            SetDCPenColor(dc, oldPen);
            SetDCBrushColor(dc, oldBrush);
            GdiFlush();
        }
    }
}

std::u16string GridLabel(int32_t lonSpacing, int32_t latSpacing, bool timeLongitude) {
    auto write = [](int32_t s, bool time) {
        std::string digits;
        char16_t unit;
        if (s >= 3600) {
            digits = std::to_string(s / 3600);
            unit = time ? u'h' : u'\u00b0';
        } else if (s < 60) {
            digits = std::to_string(s);
            unit = time ? u's' : u'"';
        } else {
            digits = std::to_string(s / 60);
            unit = time ? u'm' : u'\'';
        }
        std::u16string out(digits.begin(), digits.end());
        out += unit;
        return out;
    };
    return write(timeLongitude ? lonSpacing / 15 : lonSpacing, timeLongitude) + u"," + write(latSpacing, false) +
           u"/div";
}

bool ClipSegment(int64_t& x0, int64_t& y0, int64_t& x1, int64_t& y1, int width, int height) {
    if (width < 1 || height < 1) return false;
    // Liang and Barsky's parametric clipping, in doubles (the ends may lie
    // far off a large map).
    const double dx = double(x1 - x0), dy = double(y1 - y0);
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {double(x0), double(width - 1 - x0), double(y0), double(height - 1 - y0)};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const double ax = double(x0), ay = double(y0);
    x0 = std::llround(ax + t0 * dx);
    y0 = std::llround(ay + t0 * dy);
    x1 = std::llround(ax + t1 * dx);
    y1 = std::llround(ay + t1 * dy);
    // Rounding stays inside: the ends are clamped to the rectangle.
    x0 = std::clamp<int64_t>(x0, 0, width - 1);
    x1 = std::clamp<int64_t>(x1, 0, width - 1);
    y0 = std::clamp<int64_t>(y0, 0, height - 1);
    y1 = std::clamp<int64_t>(y1, 0, height - 1);
    return true;
}

MapBitmap* Paint(SkyMapView& view, int dotsPerInch, PaintReport* report) {
    view.PreparePaint();
    view.DropPicture();
    auto bitmap = std::make_unique<MapBitmap>(view.Width(), view.Height(), RGB(0, 0, 0));
    if (!bitmap->Valid()) return nullptr;
    if (report) {
        report->starsDrawn = 0;
        report->gridLabel.clear();
        report->objects.clear();
    }
    Painter painter(view, *bitmap, dotsPerInch > 0 ? dotsPerInch : 96, report);
    painter.Run();
    MapBitmap* result = bitmap.get();
    view.SetPicture(std::move(bitmap));
    return result;
}

}  // namespace SkyMap
}  // namespace UI
