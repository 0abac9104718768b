// The interface bitmaps as the program finds them: bitmap resources named
// after the strip and the screen resolution ("planets(96)", "planets(192)"),
// loaded through the Win32 resource and GDI functions.
#include "tests/wine/winelib_gtest.h"

#include "data/platform.h"
#include "winlib/wstr.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Strip {
    const char16_t* name;
    int side96;   // glyph side at 96 dots per inch; twice that at 192
    int glyphs;
    int bits;     // bits per pixel
};

// Sizes and counts the views rely on: the icon strips of the object lists
// and the sky map, the compass view's Moon arrow, the toolbar buttons.
const Strip kStrips[] = {
    {u"arrows", 13, 4, 1},
    {u"planets", 11, 13, 1},
    {u"objects", 9, 17, 1},
    {u"asteroidsComets", 9, 8, 1},
    {u"buttons_normal", 16, 16, 24},
    {u"buttons_armed", 16, 16, 24},
    {u"buttons_disabled", 16, 16, 24},
    {u"test", 12, 3, 1},
};

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

bool HasBitmap(const std::u16string& name) {
    return FindResourceW(Module(), W(name), MAKEINTRESOURCEW(2)) != nullptr;   // RT_BITMAP
}

// A bitmap resource as a DIB section, so that its bits and palette stay as stored.
struct Dib {
    explicit Dib(const std::u16string& name)
        : handle(static_cast<HBITMAP>(LoadImageW(Module(), W(name), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
        if (handle) GetObjectW(handle, sizeof(section), &section);
    }
    ~Dib() {
        if (handle) DeleteObject(handle);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    // The picture as 0x00RRGGBB values, top row first, whatever the depth.
    std::vector<uint32_t> Pixels() const {
        const int w = section.dsBm.bmWidth, h = section.dsBm.bmHeight;
        std::vector<uint32_t> out(static_cast<size_t>(w) * h);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC dc = GetDC(nullptr);
        const int rows = GetDIBits(dc, handle, 0, h, out.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        if (rows != h) out.clear();
        for (uint32_t& p : out) p &= 0xFFFFFF;
        return out;
    }

    // The first two palette entries of a one-bit bitmap.
    std::vector<RGBQUAD> Palette() const {
        std::vector<RGBQUAD> colours(2);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, handle);
        const UINT n = GetDIBColorTable(dc, 0, 2, colours.data());
        SelectObject(dc, old);
        DeleteDC(dc);
        colours.resize(n);
        return colours;
    }

    HBITMAP handle;
    DIBSECTION section = {};
};

bool IsBlack(const RGBQUAD& q) { return q.rgbRed == 0 && q.rgbGreen == 0 && q.rgbBlue == 0; }
bool IsWhite(const RGBQUAD& q) { return q.rgbRed == 255 && q.rgbGreen == 255 && q.rgbBlue == 255; }

}  // namespace

TEST(InterfaceBitmaps, EveryStripExistsAtBothResolutionsWithItsGlyphSizeAndCount) {
    for (const Strip& s : kStrips) {
        for (int scale : {1, 2}) {
            const std::u16string name = std::u16string(s.name) + (scale == 1 ? u"(96)" : u"(192)");
            const std::string label = PL::ToUtf8(name);
            Dib dib(name);
            ASSERT_NE(dib.handle, nullptr) << label;
            const int side = s.side96 * scale;
            // Glyph side = strip height, glyph count = width / height.
            EXPECT_EQ(dib.section.dsBm.bmHeight, side) << label;
            EXPECT_EQ(dib.section.dsBm.bmWidth, side * s.glyphs) << label;
            EXPECT_EQ(dib.section.dsBm.bmBitsPixel, s.bits) << label;
        }
    }
}

TEST(InterfaceBitmaps, NamesAreFoundWhateverTheirCase) {
    EXPECT_TRUE(HasBitmap(u"asteroidsComets(96)"));
    EXPECT_TRUE(HasBitmap(u"ASTEROIDSCOMETS(192)"));
    EXPECT_TRUE(HasBitmap(u"Buttons_Armed(96)"));
    // The names the resource script has to write instead are gone.
    EXPECT_FALSE(HasBitmap(u"PLANETS_96_"));
    EXPECT_FALSE(HasBitmap(u"buttons_normal_192_"));
}

TEST(InterfaceBitmaps, OnlyTheTwoTestArrowsExistWithoutResolution) {
    // Loading falls back to the plain name when the resolution-specific one
    // is missing: the plain name must exist exactly where no variant does.
    for (const Strip& s : kStrips) EXPECT_FALSE(HasBitmap(s.name)) << PL::ToUtf8(s.name);
    for (const char16_t* name : {u"test_bw", u"test_wb"}) {
        EXPECT_TRUE(HasBitmap(name)) << PL::ToUtf8(name);
        EXPECT_FALSE(HasBitmap(std::u16string(name) + u"(96)")) << PL::ToUtf8(name);
        EXPECT_FALSE(HasBitmap(std::u16string(name) + u"(192)")) << PL::ToUtf8(name);
    }
}

TEST(InterfaceBitmaps, TestArrowsShowTheSamePictureWithEitherPaletteOrder) {
    Dib bw(u"test_bw"), wb(u"test_wb");
    ASSERT_NE(bw.handle, nullptr);
    ASSERT_NE(wb.handle, nullptr);
    EXPECT_EQ(bw.section.dsBm.bmWidth, 16);
    EXPECT_EQ(bw.section.dsBm.bmHeight, 16);
    EXPECT_EQ(bw.section.dsBm.bmBitsPixel, 1);
    EXPECT_EQ(wb.section.dsBm.bmBitsPixel, 1);
    const std::vector<RGBQUAD> pb = bw.Palette(), pw = wb.Palette();
    ASSERT_EQ(pb.size(), 2u);
    ASSERT_EQ(pw.size(), 2u);
    EXPECT_TRUE(IsBlack(pb[0]) && IsWhite(pb[1]));
    EXPECT_TRUE(IsWhite(pw[0]) && IsBlack(pw[1]));
    // Read as colours the two are one picture: an arrow pointing to the
    // upper left, black on white.
    const std::vector<uint32_t> a = bw.Pixels(), b = wb.Pixels();
    ASSERT_EQ(a.size(), 256u);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a[2 * 16 + 2], 0x000000u);     // in the arrow head
    EXPECT_EQ(a[13 * 16 + 13], 0x000000u);   // on the shaft near its end
    EXPECT_EQ(a[2 * 16 + 13], 0xFFFFFFu);    // top right: paper
    EXPECT_EQ(a[13 * 16 + 2], 0xFFFFFFu);    // bottom left: paper
}

TEST(InterfaceBitmaps, IconStripsAreBlackGlyphsOnWhite) {
    // Palette (white, black): the glyph pixels are the set bits, so a mask
    // blit paints exactly the glyph; every glyph has some ink.
    for (const Strip& s : kStrips) {
        if (s.bits != 1) continue;
        for (const char16_t* suffix : {u"(96)", u"(192)"}) {
            const std::u16string name = std::u16string(s.name) + suffix;
            Dib dib(name);
            ASSERT_NE(dib.handle, nullptr) << PL::ToUtf8(name);
            const std::vector<RGBQUAD> pal = dib.Palette();
            ASSERT_EQ(pal.size(), 2u) << PL::ToUtf8(name);
            EXPECT_TRUE(IsWhite(pal[0]) && IsBlack(pal[1])) << PL::ToUtf8(name);
            const std::vector<uint32_t> px = dib.Pixels();
            const int h = dib.section.dsBm.bmHeight, w = dib.section.dsBm.bmWidth;
            ASSERT_EQ(px.size(), static_cast<size_t>(w) * h);
            for (int g = 0; g < s.glyphs; ++g) {
                int ink = 0;
                for (int y = 0; y < h; ++y)
                    for (int x = g * h; x < (g + 1) * h; ++x) {
                        const uint32_t p = px[static_cast<size_t>(y) * w + x];
                        EXPECT_TRUE(p == 0 || p == 0xFFFFFF);
                        ink += p == 0;
                    }
                EXPECT_GT(ink, 0) << PL::ToUtf8(name) << " glyph " << g;
            }
        }
    }
}

TEST(InterfaceBitmaps, ButtonLooksDifferAsTheToolbarNeedsThem) {
    for (const char16_t* suffix : {u"(96)", u"(192)"}) {
        Dib normal(std::u16string(u"buttons_normal") + suffix);
        Dib armed(std::u16string(u"buttons_armed") + suffix);
        Dib disabled(std::u16string(u"buttons_disabled") + suffix);
        ASSERT_TRUE(normal.handle && armed.handle && disabled.handle);
        const std::vector<uint32_t> n = normal.Pixels(), a = armed.Pixels(), d = disabled.Pixels();
        ASSERT_FALSE(n.empty());
        ASSERT_EQ(n.size(), a.size());
        ASSERT_EQ(n.size(), d.size());
        const int h = normal.section.dsBm.bmHeight, w = normal.section.dsBm.bmWidth;
        for (int g = 0; g < 16; ++g) {
            int rimSame = 0, coloured = 0, greyColoured = 0;
            for (int y = 0; y < h; ++y)
                for (int x = g * h; x < (g + 1) * h; ++x) {
                    const size_t i = static_cast<size_t>(y) * w + x;
                    const bool rim = y == 0 || y == h - 1 || x == g * h || x == (g + 1) * h - 1;
                    rimSame += rim && a[i] == n[i];
                    auto isGrey = [](uint32_t p) {
                        return ((p >> 16) & 255) == ((p >> 8) & 255) && ((p >> 8) & 255) == (p & 255);
                    };
                    coloured += !isGrey(n[i]);
                    greyColoured += !isGrey(d[i]);
                }
            // A pressed (or checked) button is framed all round; a disabled
            // one has lost its colours.
            EXPECT_EQ(rimSame, 0) << "button " << g;
            EXPECT_GT(coloured, 0) << "button " << g;
            EXPECT_EQ(greyColoured, 0) << "button " << g;
        }
    }
}
