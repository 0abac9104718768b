// The zoom levels of the sky map and the limiting magnitude that follows
// the field of view.
#include <cmath>

#include "skymap/core/skymapview.h"

namespace UI {
namespace SkyMap {

namespace {

const float kLevels[kFieldLevelCount] = {180.0f, 120.0f, 90.0f, 60.0f, 45.0f, 30.0f, 20.0f, 15.0f, 10.0f,
                                         7.5f,   5.0f,   3.0f,  2.0f,  1.5f,  1.0f,  0.75f, 0.5f,  1.0f / 3.0f};

// The first of levels 0..16 that the field is not smaller than, or -1.
int FirstLevelBelow(float field) {
    for (int i = 0; i < kFieldLevelCount - 1; ++i)
        if (field >= kLevels[i]) return i;
    return -1;
}

}  // namespace

float FieldLevel(int i) {
    if (i < 0) i = 0;
    if (i >= kFieldLevelCount) i = kFieldLevelCount - 1;
    return kLevels[i];
}

int FieldLevelIndex(float field) {
    const int i = FirstLevelBelow(field);
    return i < 0 ? kFieldLevelCount - 1 : i;
}

float ZoomInField(float field) {
    const int i = FirstLevelBelow(field);
    return i < 0 ? kLevels[kFieldLevelCount - 1] : kLevels[i + 1];
}

float ZoomOutField(float field) {
    const int i = FirstLevelBelow(field);
    if (i < 0) return kLevels[kFieldLevelCount - 2];
    return kLevels[i > 0 ? i - 1 : 0];
}

float AutomaticMagnitudeLimit(float field, float slider) {
    if (!(field > 0.0f)) return 16.0f;  // also NaN
    if (!(slider >= 0.0f)) slider = 0.0f;
    if (slider > 1000.0f) slider = 1000.0f;
    // The number of stars wanted on the map grows with the slider; the
    // limit is the magnitude down to which a field of this size holds them
    // (star counts grow about tenfold per 2.1 magnitudes).
    const float sq = Calc::Sin(field * 0.004363323f);  // f/4 in radians
    const float q = sq * sq;
    const float t = slider * 0.001f;
    const float n = t * t * 2000.0f + 10.0f;
    const float m = Calc::Floor(((Calc::Log10(n / (2.0f * q)) - 0.9f) * 2.1276596f) * 10.0f + 0.5f) * 0.1f;
    return m > 16.0f ? 16.0f : m;
}

int HitRadiusForDpi(int dpiX, int dpiY) {
    // The mean below 136: the sum below 272, without losing a half.
    return int64_t(dpiX) + dpiY < 272 ? 6 : 12;
}

uint16_t StarFinderRadius(float field) {
    // A sixteenth of the field in 16-bit angle units (65536 a turn:
    // 182.04 per degree / 16 = 11.377778).
    const float w = field * 11.377778f;
    if (!(w >= 3.0f)) return 3;
    if (w >= 65535.0f) return 65535;
    return static_cast<uint16_t>(w);
}

}  // namespace SkyMap
}  // namespace UI
