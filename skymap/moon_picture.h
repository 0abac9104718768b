// The Moon as the sky map, the compass view and the object info dialog show
// it: the picture of the near side (bitmap resource 107, 128 x 128 pixels,
// 8 bits per pixel) turned to the Moon's axis and shaded by its phase.
#pragma once

#include "skymap/map_bitmap.h"

namespace UI {
namespace SkyMap {

// The resource number of the Moon picture.
constexpr int kMoonPictureResource = 107;

struct MoonShape {
    int radius = 0;           // disc radius r in pixels
    float rotation = 0;       // the picture's turn on the sky, radians, counter-clockwise on the screen
    float phaseAngle = 0;     // radians: 0 full, pi new
    float brightLimb = 0;     // direction of the Sun from the disc centre on the screen, radians:
                              // 0 to the right, pi/2 upwards
};

// Draws the disc into `picture` with its centre at (r, r): the Moon picture
// when `withPicture`, else the lit part white and the unlit part black with
// a black outline. Pixels outside the disc stay as they are. Returns false
// when the picture resource is missing (nothing is drawn then).
bool RenderMoon(const MapBitmap& picture, const MoonShape& shape, bool withPicture);

// Draws the Moon picture centred at (x, y) on `target`: a square picture of
// side 2r + 1 on black, copied with black as the transparent colour.
void DrawMoonPicture(HDC target, int x, int y, const MoonShape& shape);

}  // namespace SkyMap
}  // namespace UI
