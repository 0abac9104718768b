#include "views/core/compass_dial.h"

#include <algorithm>
#include <cmath>

#include "engine/fixedangle.h"
#include "settings/preferences.h"
#include "views/compass_menus.h"

namespace UI {
namespace Compass {

DialLayout LayoutDials(int32_t x, int32_t y, int32_t w, int32_t h) {
    DialLayout d;
    if (w < 0) w = 0;
    if (h < 0) h = 0;
    if (200LL * w <= 250LL * h) {
        // Tall or square: the dials' width decides; the altitude half circle
        // overlaps the left of the azimuth dial.
        d.r = static_cast<int32_t>(0.4 * w);
        d.cy = y + d.r + (h - 2 * d.r) / 2;
        d.ax = x + w - 1 - d.r;
        d.bx = x + d.r;
    } else {
        d.r = h / 2;
        d.cy = y + d.r;
        const int32_t pair = static_cast<int32_t>(2.9 * d.r);
        const int32_t g = (w - std::min(pair, w)) / 2;
        d.ax = x + w - 1 - d.r - g;
        d.bx = x + g + d.r;
    }
    return d;
}

int32_t Millimetres(double mm, int32_t dotsPerInch) {
    return static_cast<int32_t>(std::lround(mm * dotsPerInch * 0.03937008));
}

uint16_t BinaryAngle(double degrees) {
    // Reduced first so that large or negative angles wrap instead of
    // overflowing the conversion.
    double a = std::fmod(degrees, 360.0);
    if (a < 0) a += 360.0;
    return static_cast<uint16_t>(static_cast<uint32_t>(a * 182.04444444) & 0xFFFFu);
}

namespace {

int32_t Scale(int32_t radius, int16_t q15) {
    // Q15 product rounded to the nearest pixel.
    const int64_t p = static_cast<int64_t>(radius) * q15;
    return static_cast<int32_t>((p + (p >= 0 ? 16384 : -16384)) / 32768);
}

}  // namespace

Point AzimuthPoint(const DialLayout& d, double azimuthDeg, int32_t radius, bool southUp) {
    const uint16_t a = BinaryAngle(southUp ? azimuthDeg + 180.0 : azimuthDeg);
    return Point{d.ax + Scale(radius, Calc::Sin16(a)), d.cy - Scale(radius, Calc::Cos16(a))};
}

Point AltitudePoint(const DialLayout& d, double altitudeDeg, int32_t radius) {
    const uint16_t h = BinaryAngle(altitudeDeg);
    return Point{d.bx - Scale(radius, Calc::Cos16(h)), d.cy - Scale(radius, Calc::Sin16(h))};
}

int AzimuthQuadrant(double azimuthDeg, bool southUp) {
    // (90 - A) is the angle on the dial counted counter-clockwise from the
    // right; each quarter turn of it is one quadrant.
    const double a = southUp ? azimuthDeg + 180.0 : azimuthDeg;
    const int q = static_cast<int>(std::floor((90.0 - a) / 90.0));
    return ((q % 4) + 4) % 4;
}

int QuadrantSideX(int quadrant) { return quadrant == 0 || quadrant == 3 ? 1 : -1; }
int QuadrantSideY(int quadrant) { return quadrant == 0 || quadrant == 1 ? 1 : -1; }

bool DirectionPreset(int command, bool& altitude, double& degrees) {
    static const double kAltitudes[] = {90, 60, 45, 30, 0, -30, -45, -60, -90};
    if (command >= IDC_ALT_PRESET_FIRST && command <= IDC_ALT_PRESET_LAST) {
        altitude = true;
        degrees = kAltitudes[command - IDC_ALT_PRESET_FIRST];
        return true;
    }
    if (command >= IDC_AZ_PRESET_FIRST && command <= IDC_AZ_PRESET_LAST) {
        altitude = false;
        degrees = 45.0 * (command - IDC_AZ_PRESET_FIRST);
        return true;
    }
    return false;
}

bool StepDisplayTime(Data::TimeSettings& time, Calc::AstroTime now, int direction, int32_t seconds) {
    if (direction == 0 || seconds <= 0) return false;
    Calc::AstroTime base;
    if (time.useCurrentTime) {
        if (time.stepMode == 1)
            base = now;
        else if (time.stepMode == 2)
            base = time.time;
        else
            return false;
    } else {
        base = time.time;
    }
    const Calc::AstroTime next = direction < 0 ? Calc::SubSeconds(base, seconds) : Calc::AddSeconds(base, seconds);
    if (!next.IsValid()) return false;
    time.time = next;
    time.useCurrentTime = false;
    return true;
}

}  // namespace Compass
}  // namespace UI
