// Painting the sky map: every layer of the map, in its order, from the
// view's options, centre and field and the program-wide Ephemeris, into a
// new MapBitmap that the view then owns (SkyMapView::Picture).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/objects.h"
#include "skymap/core/skymapview.h"
#include "skymap/map_bitmap.h"

namespace UI {
namespace SkyMap {

// One object as the paint placed it (for listings of a chart: bodies, named
// stars, user objects, comets and asteroids).
struct PaintedObject {
    Data::AstroObjRef ref;
    ScreenPoint point;
    int size = 0;  // pixels: a star's size, a disc's radius, an icon's cell
};

// What a paint did, for callers that want to know (the chart program, the
// benchmarks). Filling the object list costs a name lookup per named star.
struct PaintReport {
    bool listObjects = false;  // set by the caller
    int starsDrawn = 0;
    std::u16string gridLabel;  // empty when no grid was drawn
    std::vector<PaintedObject> objects;
};

// Paints the map at the given screen resolution (dots per inch: fonts and
// icon cells follow it) and hands the new picture to the view. Returns the
// picture, or null when no bitmap could be made (the view then has none).
MapBitmap* Paint(SkyMapView& view, int dotsPerInch, PaintReport* report = nullptr);

// --- pieces, shared with the other views and the tests --------------------------------

// The star colour of a colour class (0..15) in a colour mode (0 white,
// 1 natural tints, 2 saturated tints).
COLORREF StarColour(int mode, int colourClass);
// The drawn size of a star of magnitude `mag` (hundredths) under the
// limit `limit` (hundredths): 0..6, one more when bold.
int StarSize(int32_t limit, int32_t mag, bool bold);
// Draws a star of a size at (x, y): sizes 0..3 pixel by pixel (clipped),
// 4 and more as a filled circle.
void DrawStar(const MapBitmap& map, int x, int y, int size, COLORREF colour);

// The grid label: "2h,20°/div", "10',10'/div".
std::u16string GridLabel(int32_t lonSpacing, int32_t latSpacing, bool timeLongitude);

// Which part of the segment (x0, y0)-(x1, y1) lies in the rectangle
// 0..width-1 x 0..height-1: false when none; else the ends clipped to it.
bool ClipSegment(int64_t& x0, int64_t& y0, int64_t& x1, int64_t& y1, int width, int height);

}  // namespace SkyMap
}  // namespace UI
