// The interface's shared look: fonts and colours made once from the screen's
// resolution, bitmap resources chosen by resolution ("planets(96)" below 136
// dots per inch, "planets(192)" from there on), and the two ways of turning
// a bitmap strip into an image list.
#pragma once

#include "winlib/win32.h"

#include <commctrl.h>

#include <string>

namespace UI {

// The interface face; the dialog templates name the same one.
extern const char16_t kInterfaceFace[];

// Fonts and colours, created on first use and kept for the program's life.
HFONT NormalFont();      // 8 points at the screen's resolution, weight 400
HFONT UnderlinedFont();  // the normal font, underlined (links)
HFONT BoldFont();        // the normal font, weight 700
HFONT TitleFont();       // the title strip's font, about 9 points
int LineHeight();        // the normal font's text height in pixels
// Sizes in lines of the normal font (panels, margins, widths), rounded to
// whole pixels: Lines(1.5) is one and a half line heights.
int Lines(double lines);
// A length meant for 96 dots per inch at the screen's resolution.
int ScaledPixels(int pixelsAt96);
COLORREF TextColor();    // the system window-text colour
COLORREF LinkColor();    // blue
COLORREF InfoTextColor();
COLORREF InfoBackgroundColor();

// The see-through colour of the toolbar button strips (the toolbar's own
// background shows around the pictures) and of pictures drawn for bitmap items.
constexpr COLORREF kButtonMask = RGB(255, 0, 255);

// Colour arguments of the monochrome image list.
constexpr COLORREF kDefaultColor = 0xFF000000;  // ink: window text; paper: window
constexpr COLORREF kTransparent = 0xFFFFFFFF;   // paper only

// The screen's resolution: the mean of its horizontal and vertical dots per inch, read once.
int ScreenResolution();
// name + "(96)" below 136 dots per inch, else name + "(192)".
std::u16string ResolutionSpecificName(const std::u16string& name);
std::u16string ResolutionSpecificName(const std::u16string& name, int dotsPerInch);

// The resolution-specific bitmap resource, else the plain name, else null.
// The caller deletes the bitmap.
HBITMAP LoadInterfaceBitmap(const std::u16string& name);
HBITMAP LoadInterfaceBitmap(const std::u16string& name, int dotsPerInch);

// An image list of square images (side = the bitmap's height) from a
// colour strip; mask CLR_NONE for none. Null when the bitmap is missing.
HIMAGELIST CreateColorImageList(const std::u16string& name, COLORREF mask);
HIMAGELIST CreateColorImageList(const std::u16string& name, COLORREF mask, int dotsPerInch);

// An image list of a one-bit strip's glyphs in two colours: ink for the
// glyph, paper around it (kDefaultColor for the window colours, paper
// kTransparent for none). Null when the bitmap is missing.
HIMAGELIST CreateMonochromeImageList(const std::u16string& name, COLORREF ink, COLORREF paper);
HIMAGELIST CreateMonochromeImageList(const std::u16string& name, COLORREF ink, COLORREF paper, int dotsPerInch);

// A one-bit strip selected into a memory context, for drawing its glyphs in
// any colour straight onto a picture.
class MonochromeStrip {
public:
    MonochromeStrip() = default;
    ~MonochromeStrip();
    MonochromeStrip(const MonochromeStrip&) = delete;
    MonochromeStrip& operator=(const MonochromeStrip&) = delete;

    // False when the bitmap is missing (the strip then draws nothing).
    bool Load(const std::u16string& name);
    bool Load(const std::u16string& name, int dotsPerInch);

    // The strip as a one-bit picture whose 0 bits are the ink (whatever the
    // resource's palette order).
    HDC Context() const { return dc_; }
    int GlyphSize() const { return glyphSize_; }
    int GlyphCount() const { return glyphCount_; }
    // Whether the resource's first palette colour is black.
    bool FirstColorBlack() const { return firstColorBlack_; }
    // Paints the glyph's ink pixels in a colour at (x, y); the rest stays.
    void DrawGlyph(HDC target, int index, int x, int y, COLORREF ink) const;

private:
    void Release();
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    int glyphSize_ = 0;
    int glyphCount_ = 0;
    bool firstColorBlack_ = false;
};

}  // namespace UI
