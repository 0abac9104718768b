#include "skymap/map_bitmap.h"

namespace UI {
namespace SkyMap {

MapBitmap::MapBitmap(int width, int height, COLORREF fill) {
    if (width < 1 || height < 1) return;
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
    if (bitmap_) DeleteObject(bitmap_);
}

COLORREF MapBitmap::Get(int x, int y) const {
    if (!Valid() || !Inside(x, y)) return 0;
    const uint8_t* p = At(x, y);
    return RGB(p[2], p[1], p[0]);
}

}  // namespace SkyMap
}  // namespace UI
