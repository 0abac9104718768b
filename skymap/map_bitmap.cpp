#include "skymap/map_bitmap.h"

namespace UI {
namespace SkyMap {

namespace {

// The last picture's section, kept for the next one of the same size: the
// map is painted anew at every change of view, and on a desktop-sized map
// making and first touching 6 MB of fresh pages costs more than painting.
// The picture is still dropped and a complete new one painted each time;
// only the memory is used again. User-interface thread only.
struct Spare {
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    int width = 0, height = 0;
};
Spare& TheSpare() {
    static Spare spare;
    return spare;
}

}  // namespace

MapBitmap::MapBitmap(int width, int height, COLORREF fill) {
    if (width < 1 || height < 1) return;
    Spare& spare = TheSpare();
    if (spare.bitmap && spare.width == width && spare.height == height) {
        HDC dc = CreateCompatibleDC(nullptr);
        if (dc) {
            Adopt(spare.bitmap, spare.bits, width, height, dc, fill);
            spare = Spare();
            return;
        }
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(bitmap);
        return;
    }
    Adopt(bitmap, bits, width, height, dc, fill);
}

void MapBitmap::Adopt(HBITMAP bitmap, void* bits, int width, int height, HDC dc, COLORREF fill) {
    width_ = width;
    height_ = height;
    stride_ = ((width + 1) * 3) & ~3;
    bits_ = static_cast<uint8_t*>(bits);
    row0_ = bits_ + static_cast<intptr_t>(height - 1) * stride_;
    rowStep_ = -stride_;
    dc_ = dc;
    bitmap_ = bitmap;
    old_ = SelectObject(dc_, bitmap_);
    const RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
    GdiFlush();
}

MapBitmap::~MapBitmap() {
    if (dc_) {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    if (!bitmap_) return;
    Spare& spare = TheSpare();
    if (spare.bitmap) DeleteObject(spare.bitmap);
    spare.bitmap = bitmap_;
    spare.bits = bits_;
    spare.width = width_;
    spare.height = height_;
}

COLORREF MapBitmap::Get(int x, int y) const {
    if (!Valid() || !Inside(x, y)) return 0;
    const uint8_t* p = At(x, y);
    return RGB(p[2], p[1], p[0]);
}

}  // namespace SkyMap
}  // namespace UI
