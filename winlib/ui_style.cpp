#include "winlib/ui_style.h"

#include "winlib/mwcl.h"
#include "winlib/wstr.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace UI {

const char16_t kInterfaceFace[] = u"Tahoma";

namespace {

struct Style {
    HFONT normal = nullptr;
    HFONT underlined = nullptr;
    HFONT bold = nullptr;
    HFONT title = nullptr;
    int lineHeight = 0;
};

HFONT MakeFont(int height, int weight, bool underline) {
    // A negative height asks for the character height, as point sizes do.
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       W(kInterfaceFace));
}

const Style& TheStyle() {
    static Style style = [] {
        Style s;
        HDC screen = GetDC(nullptr);
        const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
        const int normal = (dpiY * 8 + 36) / 72;    // 8 points, rounded
        const int title = ((dpiY + 4) * 9) / 72;    // about 9 points
        s.normal = MakeFont(normal, FW_NORMAL, false);
        s.underlined = MakeFont(normal, FW_NORMAL, true);
        s.bold = MakeFont(normal, FW_BOLD, false);
        s.title = MakeFont(title, FW_NORMAL, false);
        HGDIOBJ old = SelectObject(screen, s.normal);
        TEXTMETRICW tm{};
        GetTextMetricsW(screen, &tm);
        SelectObject(screen, old);
        s.lineHeight = tm.tmHeight > 0 ? tm.tmHeight : normal;
        ReleaseDC(nullptr, screen);
        return s;
    }();
    return style;
}

COLORREF Resolve(COLORREF c, int systemColor) { return c == kDefaultColor ? GetSysColor(systemColor) : c; }

HBITMAP LoadDib(const std::u16string& name) {
    return static_cast<HBITMAP>(
        LoadImageW(mwcl::Instance(), W(name), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// The strip's pixels as ink (true) or paper. One-bit strips count the black
// palette entry as ink (entry 0 when it is black, else entry 1); deeper
// strips count dark pixels as ink.
bool ReadInk(HBITMAP bitmap, int& width, int& height, std::vector<bool>& ink, bool& firstBlack) {
    BITMAP bm{};
    if (!GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    width = bm.bmWidth;
    height = bm.bmHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RGBQUAD palette[2]{};
    const UINT entries = GetDIBColorTable(dc, 0, 2, palette);
    SelectObject(dc, old);
    firstBlack = entries >= 1 && palette[0].rgbRed == 0 && palette[0].rgbGreen == 0 && palette[0].rgbBlue == 0;

    // Read as 32-bit top-down rows.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> px(static_cast<size_t>(width) * static_cast<size_t>(height));
    const int got = GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), px.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (got != height) return false;

    // The ink colour of a one-bit strip is its black entry; otherwise dark pixels.
    ink.assign(px.size(), false);
    if (bm.bmBitsPixel == 1 && entries == 2) {
        const RGBQUAD inkColor = firstBlack ? palette[0] : palette[1];
        for (size_t i = 0; i < px.size(); ++i)
            ink[i] = px[i].rgbRed == inkColor.rgbRed && px[i].rgbGreen == inkColor.rgbGreen &&
                     px[i].rgbBlue == inkColor.rgbBlue;
    } else {
        for (size_t i = 0; i < px.size(); ++i)
            ink[i] = (px[i].rgbRed * 30 + px[i].rgbGreen * 59 + px[i].rgbBlue * 11) < 128 * 100;
    }
    return true;
}

}  // namespace

HFONT NormalFont() { return TheStyle().normal; }
HFONT UnderlinedFont() { return TheStyle().underlined; }
HFONT BoldFont() { return TheStyle().bold; }
HFONT TitleFont() { return TheStyle().title; }
int LineHeight() { return TheStyle().lineHeight; }
int Lines(double lines) { return static_cast<int>(std::lround(lines * LineHeight())); }
int ScaledPixels(int pixelsAt96) { return MulDiv(pixelsAt96, ScreenResolution(), 96); }
COLORREF TextColor() { return GetSysColor(COLOR_WINDOWTEXT); }
COLORREF LinkColor() { return RGB(0, 0, 255); }
COLORREF InfoTextColor() { return GetSysColor(COLOR_INFOTEXT); }
COLORREF InfoBackgroundColor() { return GetSysColor(COLOR_INFOBK); }

int ScreenResolution() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int mean = (GetDeviceCaps(screen, LOGPIXELSX) + GetDeviceCaps(screen, LOGPIXELSY)) / 2;
        ReleaseDC(nullptr, screen);
        return mean;
    }();
    return dpi;
}

std::u16string ResolutionSpecificName(const std::u16string& name) {
    return ResolutionSpecificName(name, ScreenResolution());
}

std::u16string ResolutionSpecificName(const std::u16string& name, int dotsPerInch) {
    return name + (dotsPerInch < 136 ? u"(96)" : u"(192)");
}

HBITMAP LoadInterfaceBitmap(const std::u16string& name) { return LoadInterfaceBitmap(name, ScreenResolution()); }

HBITMAP LoadInterfaceBitmap(const std::u16string& name, int dotsPerInch) {
    if (HBITMAP b = LoadDib(ResolutionSpecificName(name, dotsPerInch))) return b;
    return LoadDib(name);
}

HIMAGELIST CreateColorImageList(const std::u16string& name, COLORREF mask) {
    return CreateColorImageList(name, mask, ScreenResolution());
}

HIMAGELIST CreateColorImageList(const std::u16string& name, COLORREF mask, int dotsPerInch) {
    // The image side is the strip's height, which only the bitmap tells.
    std::u16string resource = ResolutionSpecificName(name, dotsPerInch);
    HBITMAP probe = LoadDib(resource);
    if (!probe) {
        resource = name;
        probe = LoadDib(resource);
    }
    if (!probe) return nullptr;
    BITMAP bm{};
    const bool ok = GetObjectW(probe, sizeof bm, &bm) && bm.bmHeight > 0;
    DeleteObject(probe);
    if (!ok) return nullptr;
    return ImageList_LoadImageW(mwcl::Instance(), W(resource), bm.bmHeight, 0, mask, IMAGE_BITMAP,
                                LR_CREATEDIBSECTION);
}

HIMAGELIST CreateMonochromeImageList(const std::u16string& name, COLORREF ink, COLORREF paper) {
    return CreateMonochromeImageList(name, ink, paper, ScreenResolution());
}

HIMAGELIST CreateMonochromeImageList(const std::u16string& name, COLORREF ink, COLORREF paper, int dotsPerInch) {
    HBITMAP strip = LoadInterfaceBitmap(name, dotsPerInch);
    if (!strip) return nullptr;
    int width = 0, height = 0;
    bool firstBlack = false;
    std::vector<bool> inkPixels;
    const bool read = ReadInk(strip, width, height, inkPixels, firstBlack);
    DeleteObject(strip);
    if (!read) return nullptr;

    const bool transparent = paper == kTransparent;
    const COLORREF inkColor = Resolve(ink, COLOR_WINDOWTEXT);
    // Around the glyphs: the paper, or a mask colour that the ink cannot be.
    // The ink value is compared as a signed number, so the "default" ink
    // (0xFF000000, negative) takes light grey like black and dark inks do.
    COLORREF paperColor = Resolve(paper, COLOR_WINDOW);
    if (transparent) {
        paperColor = static_cast<int32_t>(ink) < 32512 ? RGB(192, 192, 192) : RGB(0, 0, 0);
        // A mask the ink itself has would hide the glyph.
        if (paperColor == inkColor) paperColor = paperColor == RGB(0, 0, 0) ? RGB(192, 192, 192) : RGB(0, 0, 0);
    }

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!colour || !bits) {
        if (colour) DeleteObject(colour);
        return nullptr;
    }
    auto quad = [](COLORREF c) {
        RGBQUAD q{};
        q.rgbRed = GetRValue(c);
        q.rgbGreen = GetGValue(c);
        q.rgbBlue = GetBValue(c);
        return q;
    };
    const RGBQUAD inkQuad = quad(inkColor), paperQuad = quad(paperColor);
    RGBQUAD* out = static_cast<RGBQUAD*>(bits);
    for (size_t i = 0; i < inkPixels.size(); ++i) out[i] = inkPixels[i] ? inkQuad : paperQuad;
    GdiFlush();

    const int count = width / height;
    HIMAGELIST list = ImageList_Create(height, height, ILC_COLOR24 | (transparent ? ILC_MASK : 0u), count, 0);
    if (list) {
        const int added = transparent ? ImageList_AddMasked(list, colour, paperColor) : ImageList_Add(list, colour, nullptr);
        if (added < 0) {
            ImageList_Destroy(list);
            list = nullptr;
        }
    }
    DeleteObject(colour);
    return list;
}

// --- monochrome strips ------------------------------------------------------------------------

MonochromeStrip::~MonochromeStrip() { Release(); }

void MonochromeStrip::Release() {
    if (dc_) {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
    glyphSize_ = glyphCount_ = 0;
    firstColorBlack_ = false;
}

bool MonochromeStrip::Load(const std::u16string& name) { return Load(name, ScreenResolution()); }

bool MonochromeStrip::Load(const std::u16string& name, int dotsPerInch) {
    Release();
    HBITMAP strip = LoadInterfaceBitmap(name, dotsPerInch);
    if (!strip) return false;
    int width = 0, height = 0;
    std::vector<bool> ink;
    const bool read = ReadInk(strip, width, height, ink, firstColorBlack_);
    DeleteObject(strip);
    if (!read) return false;
    // A device-dependent one-bit copy with the ink as 0 bits, whatever the
    // resource's palette order: blits from it then follow the text and
    // background colours of the target.
    const size_t stride = static_cast<size_t>((width + 15) / 16) * 2;
    std::vector<BYTE> bits(stride * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!ink[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)])
                bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    bitmap_ = CreateBitmap(width, height, 1, 1, bits.data());
    if (!bitmap_) return false;
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    glyphSize_ = height;
    glyphCount_ = width / height;
    return true;
}

void MonochromeStrip::DrawGlyph(HDC target, int index, int x, int y, COLORREF ink) const {
    if (!dc_ || index < 0 || index >= glyphCount_) return;
    // A one-bit source takes the text colour for its 0 bits (the ink) and
    // the background colour for its 1 bits. First clear the ink pixels to
    // black (AND with white paper), then paint them in the ink colour (OR
    // with black paper).
    const COLORREF oldText = GetTextColor(target), oldBack = GetBkColor(target);
    const int sx = index * glyphSize_;
    SetTextColor(target, RGB(0, 0, 0));
    SetBkColor(target, RGB(255, 255, 255));
    BitBlt(target, x, y, glyphSize_, glyphSize_, dc_, sx, 0, SRCAND);
    SetTextColor(target, ink);
    SetBkColor(target, RGB(0, 0, 0));
    BitBlt(target, x, y, glyphSize_, glyphSize_, dc_, sx, 0, SRCPAINT);
    SetTextColor(target, oldText);
    SetBkColor(target, oldBack);
}

}  // namespace UI
