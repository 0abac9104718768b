// The sky map's off-screen picture: a 24-bit device-independent bitmap
// section with a memory device context, written both by the platform's
// drawing calls and directly, pixel by pixel (the star layer).
#pragma once

#include <cstdint>

#include "skymap/core/skymapview.h"
#include "winlib/win32.h"

namespace UI {
namespace SkyMap {

// The view owns the picture of its last paint as a MapPicture.
class MapBitmap : public MapPicture {
public:
    // A picture of width x height pixels filled with one colour. On failure
    // (no memory, a size below 1) Valid() is false and nothing draws.
    MapBitmap(int width, int height, COLORREF fill);
    ~MapBitmap() override;
    MapBitmap(const MapBitmap&) = delete;
    MapBitmap& operator=(const MapBitmap&) = delete;

    bool Valid() const { return dc_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC Context() const { return dc_; }

    // Bottom-up rows of 3 bytes per pixel (blue, green, red), each padded to
    // a multiple of 4 bytes: stride = ((width + 1) x 3) with the two low bits
    // cleared. row0 is the top row, rowStep (negative) the step one row down.
    int Stride() const { return stride_; }
    uint8_t* Row0() const { return row0_; }
    int RowStep() const { return rowStep_; }
    uint8_t* At(int x, int y) const { return row0_ + static_cast<intptr_t>(y) * rowStep_ + 3 * x; }

    // Whether (x, y) is a pixel of the picture: direct writes are clipped to it.
    bool Inside(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }

    // Direct writes; Put clips, PutUnclipped trusts the caller.
    void PutUnclipped(int x, int y, uint8_t r, uint8_t g, uint8_t b) const {
        uint8_t* p = At(x, y);
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    void Put(int x, int y, uint8_t r, uint8_t g, uint8_t b) const {
        if (Inside(x, y)) PutUnclipped(x, y, r, g, b);
    }
    // The pixel's colour (0 outside the picture). GDI must have finished
    // drawing: call GdiFlush first after platform calls.
    COLORREF Get(int x, int y) const;

private:
    void Adopt(HBITMAP bitmap, void* bits, int width, int height, HDC dc, COLORREF fill);
    int width_ = 0, height_ = 0;
    int stride_ = 0;
    uint8_t* bits_ = nullptr;
    uint8_t* row0_ = nullptr;
    int rowStep_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace SkyMap
}  // namespace UI
