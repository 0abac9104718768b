// The compass view's arithmetic, free of the window system: where the two
// dials go in the drawing area, where an azimuth or an altitude lands on
// them, which quadrant of a dial is free for texts, and how the arrow keys
// step the displayed time.
#pragma once

#include <cstdint>

#include "engine/astrotime.h"

namespace Data {
struct TimeSettings;
}

namespace UI {
namespace Compass {

struct DialLayout {
    int32_t r = 0;   // radius of both dials
    int32_t cy = 0;  // the dials' common centre line
    int32_t ax = 0;  // centre of the azimuth dial
    int32_t bx = 0;  // centre of the altitude dial (a left half circle)
};

// The dials in the area (x, y, w, h): an area at most 1.25 times as wide as
// high takes r = 0.4 w with the dials centred vertically; a wider one takes
// r = h / 2 and centres the pair (2.9 r wide) horizontally.
DialLayout LayoutDials(int32_t x, int32_t y, int32_t w, int32_t h);

// Pixels of a length in millimetres at a resolution (dots per inch).
int32_t Millimetres(double mm, int32_t dotsPerInch);

// A degree value as a 16-bit binary angle (65536 units a turn).
uint16_t BinaryAngle(double degrees);

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// The point at azimuth `azimuthDeg` and distance `radius` from the azimuth
// dial's centre: north up and east right, or south up with `southUp`.
Point AzimuthPoint(const DialLayout& d, double azimuthDeg, int32_t radius, bool southUp);
// The point at altitude `altitudeDeg` on the altitude dial: the horizon to
// the left, the zenith up, the nadir down.
Point AltitudePoint(const DialLayout& d, double altitudeDeg, int32_t radius);

// The quadrant of the azimuth dial a needle points into, counted from the
// upper right counter-clockwise: 0 upper right, 1 upper left, 2 lower left,
// 3 lower right (as it appears on the dial, so south-up turns it by two).
int AzimuthQuadrant(double azimuthDeg, bool southUp);
// Horizontal and vertical side of a quadrant: +1 right / up, -1 left / down.
int QuadrantSideX(int quadrant);
int QuadrantSideY(int quadrant);

// The view direction a preset menu command stands for (views/compass_menus.h):
// true with `altitude` telling which of the two it sets; false for any
// other command (also the "Edit..." entries).
bool DirectionPreset(int command, bool& altitude, double& degrees);

// An arrow key's step of the displayed time: `direction` -1 earlier, +1
// later, by `seconds`. With the live clock running, step mode 0 leaves the
// time alone, 1 steps from `now` and 2 from the last explicit time; either
// way the live clock stops. Returns whether the time settings changed.
bool StepDisplayTime(Data::TimeSettings& time, Calc::AstroTime now, int direction, int32_t seconds);

}  // namespace Compass
}  // namespace UI
