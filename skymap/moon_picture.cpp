#include "skymap/moon_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/fixedangle.h"

namespace UI {
namespace SkyMap {

namespace {

constexpr int kPictureSize = 128;

// The picture as 128 x 128 colours, top row first; loaded once.
struct MoonSource {
    bool loaded = false;
    bool present = false;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB
};

const MoonSource& Source() {
    static MoonSource source;
    if (source.loaded) return source;
    source.loaded = true;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMoonPictureResource),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return source;
    // Read it back as 32-bit top-down pixels: the platform applies the
    // palette, whatever it is.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kPictureSize;
    info.bmiHeader.biHeight = -kPictureSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    BITMAP bm = {};
    GetObjectW(bitmap, sizeof bm, &bm);
    if (bm.bmWidth == kPictureSize && bm.bmHeight == kPictureSize) {
        std::vector<uint32_t> px(kPictureSize * kPictureSize);
        HDC dc = CreateCompatibleDC(nullptr);
        if (dc && GetDIBits(dc, bitmap, 0, kPictureSize, px.data(), &info, DIB_RGB_COLORS) == kPictureSize) {
            source.rgb.swap(px);
            source.present = true;
        }
        if (dc) DeleteDC(dc);
    }
    DeleteObject(bitmap);
    return source;
}

// Binary angle of radians: 65536 a turn.
uint16_t Binary(float radians) { return static_cast<uint16_t>(static_cast<int32_t>(radians * 10430.378f)); }

// Half widths of the disc's rows, -r..r, by the midpoint circle.
std::vector<int> RowHalfWidths(int r) {
    std::vector<int> half(2 * r + 1, 0);
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        // The octants' points give each row its outermost column.
        for (int sy : {y, -y}) half[r + sy] = std::max(half[r + sy], x);
        for (int sx : {x, -x}) half[r + sx] = std::max(half[r + sx], y);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
    return half;
}

}  // namespace

bool RenderMoon(const MapBitmap& picture, const MoonShape& shape, bool withPicture) {
    const int r = shape.radius;
    if (!picture.Valid() || r < 0) return false;
    const MoonSource& src = Source();
    if (withPicture && !src.present) return false;

    // Rotation of the picture: a screen offset (dx, dy) (y downwards) comes
    // from the picture offset turned by t clockwise; the picture's central
    // 126 pixels span the diameter. 16.16 fixed point.
    const uint16_t t = Binary(shape.rotation);
    const int32_t sinT = Calc::Sin16(t), cosT = Calc::Cos16(t);
    const int32_t diameter = 2 * r > 0 ? 2 * r : 1;
    const int64_t stepC = (int64_t(126) * cosT << 16) / 32767 / diameter;  // 16.16 per pixel
    const int64_t stepS = (int64_t(126) * sinT << 16) / 32767 / diameter;
    const int64_t centre = int64_t(635) * 65536 / 10;                      // 63.5

    // Shading. The bright limb points at the Sun: screen direction
    // (cos p, -sin p) with y downwards. A pixel at distance a along it and b
    // across it is lit when a > -cos(i) sqrt(r^2 - b^2): the terminator is
    // the half-ellipse of semi-axis r |cos i| across the disc.
    uint16_t i = Binary(shape.phaseAngle);
    uint16_t p = Binary(shape.brightLimb);
    if (i > 32768) p = static_cast<uint16_t>(p + 32768);
    const int32_t cosI = Calc::Cos16(i);
    const int32_t ux = Calc::Cos16(p), uy = -Calc::Sin16(p);

    const std::vector<int> half = RowHalfWidths(r);
    for (int dy = -r; dy <= r; ++dy) {
        const int w = half[r + dy];
        for (int dx = -w; dx <= w; ++dx) {
            const int px = r + dx, py = r + dy;
            if (!picture.Inside(px, py)) continue;
            // Position along (a) and across (b) the bright-limb direction, Q15.
            const int32_t a = dx * ux + dy * uy;
            const int32_t b = dx * uy - dy * ux;
            const int64_t b2 = (int64_t(b) * b) >> 30;  // pixels^2
            const int64_t rest = int64_t(r) * r - b2;
            // Lit: a > -cos i sqrt(rest); compare in Q15 with squares.
            const int64_t lhs = a;  // Q15 pixels
            const int64_t edge = -int64_t(cosI) * int64_t(std::sqrt(double(rest > 0 ? rest : 0)) * 32768.0) >> 15;
            const bool lit = lhs > edge;
            uint8_t cr, cg, cb;
            if (withPicture) {
                const int64_t fx = centre + dx * stepC - dy * stepS;
                const int64_t fy = centre + dx * stepS + dy * stepC;
                const int sx = int(fx >> 16) & (kPictureSize - 1);
                const int sy = int(fy >> 16) & (kPictureSize - 1);
                const uint32_t c = src.rgb[sy * kPictureSize + sx];
                cr = uint8_t(c >> 16);
                cg = uint8_t(c >> 8);
                cb = uint8_t(c);
                if (lit) {
                    cr = uint8_t(cr / 2 + 128);
                    cg = uint8_t(cg / 2 + 128);
                    cb = uint8_t(cb / 2 + 128);
                } else {
                    cr /= 2;
                    cg /= 2;
                    cb /= 2;
                }
            } else {
                cr = cg = cb = lit ? 255 : 0;
            }
            picture.PutUnclipped(px, py, cr, cg, cb);
        }
        if (!withPicture) {
            picture.Put(r - w, r + dy, 0, 0, 0);
            picture.Put(r + w, r + dy, 0, 0, 0);
        }
    }
    return true;
}

void DrawMoonPicture(HDC target, int x, int y, const MoonShape& shape) {
    const int r = shape.radius;
    if (r < 1) return;
    const int side = 2 * r + 1;
    MapBitmap picture(side, side, RGB(0, 0, 0));
    if (!picture.Valid() || !RenderMoon(picture, shape, true)) return;
    // The top-left pixel's colour (black) is transparent: a one-bit mask of
    // it, then the picture copied where the mask is clear.
    HDC maskDc = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(side, side, 1, 1, nullptr);
    if (maskDc && mask) {
        HGDIOBJ oldMask = SelectObject(maskDc, mask);
        const COLORREF oldBack = SetBkColor(picture.Context(), picture.Get(0, 0));
        BitBlt(maskDc, 0, 0, side, side, picture.Context(), 0, 0, SRCCOPY);
        SetBkColor(picture.Context(), oldBack);
        // Mask bits set (the transparent colour) keep the target; clear bits
        // take the picture.
        MaskBlt(target, x - r, y - r, side, side, picture.Context(), 0, 0, mask, 0, 0,
                MAKEROP4(0x00AA0029 /* destination */, SRCCOPY));
        SelectObject(maskDc, oldMask);
    }
    if (mask) DeleteObject(mask);
    if (maskDc) DeleteDC(maskDc);
}

}  // namespace SkyMap
}  // namespace UI
