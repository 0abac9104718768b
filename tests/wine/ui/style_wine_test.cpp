// The interface style: fonts from the screen's resolution, bitmaps chosen by
// resolution, image lists made from the strips (checked pixel by pixel
// against the BMP files read independently), and titled dialogs.
#include "tests/wine/ui/ui_test_util.h"

#include "winlib/titled_dialog.h"
#include "winlib/ui_style.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using uitest::ScopedLanguage;

namespace {

// A BMP file decoded by hand: ink (black pixels) of one-bit files, colours of 24-bit ones.
struct BmpFile {
    int width = 0, height = 0, bits = 0;
    std::vector<COLORREF> pixels;  // top row first
    bool Ink(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)] == RGB(0, 0, 0); }
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

bool ReadBmp(const std::string& file, BmpFile& out) {
    std::ifstream f(std::string(CELVANE_SOURCE_DIR) + "/resources/bitmaps/" + file, std::ios::binary);
    const std::vector<unsigned char> d{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    if (d.size() < 54) return false;
    auto u32 = [&](size_t o) { return d[o] | d[o + 1] << 8 | d[o + 2] << 16 | static_cast<unsigned>(d[o + 3]) << 24; };
    const unsigned offset = u32(10), header = u32(14);
    out.width = static_cast<int>(u32(18));
    const int h = static_cast<int>(u32(22));
    out.height = h < 0 ? -h : h;
    out.bits = d[28];
    const size_t stride = ((static_cast<size_t>(out.width) * out.bits + 31) / 32) * 4;
    out.pixels.assign(static_cast<size_t>(out.width * out.height), 0);
    for (int y = 0; y < out.height; ++y) {
        const size_t row = offset + stride * static_cast<size_t>(h > 0 ? out.height - 1 - y : y);
        for (int x = 0; x < out.width; ++x) {
            // One-bit files: the palette entry of the bit; 24-bit files: the pixel's own bytes.
            const size_t p = out.bits == 1
                                 ? 14 + header + static_cast<size_t>((d[row + static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1) * 4
                                 : row + static_cast<size_t>(x) * 3;
            out.pixels[static_cast<size_t>(y * out.width + x)] = RGB(d[p + 2], d[p + 1], d[p]);
        }
    }
    return true;
}

int ImageCount(HIMAGELIST l) { return l ? ImageList_GetImageCount(l) : -1; }
int ImageSide(HIMAGELIST l) {
    int w = 0, h = 0;
    if (l) ImageList_GetIconSize(l, &w, &h);
    return w == h ? w : -1;
}

}  // namespace

TEST(Style, FontsComeFromTheScreenResolution) {
    ASSERT_EQ(UI::ScreenResolution(), 96);  // Wine's default
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(UI::NormalFont(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -11);  // 8 points at 96 dots per inch, rounded
    EXPECT_EQ(std::u16string(U(lf.lfFaceName)), UI::kInterfaceFace);
    ASSERT_TRUE(GetObjectW(UI::BoldFont(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfWeight, 700);
    ASSERT_TRUE(GetObjectW(UI::UnderlinedFont(), sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline);
    ASSERT_TRUE(GetObjectW(UI::TitleFont(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_GE(UI::LineHeight(), 11);
}

#ifdef CELVANE_HAVE_BITMAPS

TEST(Style, StripsResolveToTheirResolutionVariant) {
    for (const int dpi : {96, 135, 136, 192}) {
        HIMAGELIST planets = UI::CreateMonochromeImageList(u"planets", UI::kDefaultColor, UI::kTransparent, dpi);
        EXPECT_EQ(ImageCount(planets), 13) << dpi;
        EXPECT_EQ(ImageSide(planets), dpi < 136 ? 11 : 22) << dpi;
        ImageList_Destroy(planets);
    }
    // Nothing by that name: none.
    EXPECT_EQ(UI::CreateColorImageList(u"no_such_strip", CLR_NONE, 96), nullptr);
    EXPECT_EQ(UI::CreateMonochromeImageList(u"no_such_strip", 0, 0, 96), nullptr);
}

namespace {

const COLORREF kGreen = RGB(0, 128, 0);

// Draws glyph g of a list (side x side) on green and compares every pixel
// with the file's glyph g: `ink` where the file has ink, else `paper`.
void ExpectGlyph(HIMAGELIST list, int g, int side, const BmpFile& file, COLORREF ink, COLORREF paper, UINT flags) {
    uitest::Canvas c(side, side, kGreen);
    ImageList_Draw(list, g, c.Dc(), 0, 0, flags);
    int inkSeen = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const bool isInk = file.Ink(g * side + x, y);
            inkSeen += isInk;
            ASSERT_EQ(c.At(x, y), isInk ? ink : paper) << "glyph " << g << " at " << x << "," << y << " ink " << std::hex << ink;
        }
    EXPECT_GT(inkSeen, 5);
}

}  // namespace

TEST(Style, MonochromeGlyphsTakeTheInkAndPaper) {
    BmpFile file;
    ASSERT_TRUE(ReadBmp("test_192.bmp", file));
    const COLORREF ink = RGB(200, 30, 40), paper = RGB(250, 240, 10);
    HIMAGELIST list = UI::CreateMonochromeImageList(u"test", ink, paper, 192);
    ASSERT_EQ(ImageCount(list), 3);
    for (int g = 0; g < 3; ++g) ExpectGlyph(list, g, 24, file, ink, paper, ILD_NORMAL);
    ImageList_Destroy(list);
    // Transparent paper: the background stays.
    list = UI::CreateMonochromeImageList(u"test", ink, UI::kTransparent, 192);
    ExpectGlyph(list, 1, 24, file, ink, kGreen, ILD_TRANSPARENT);
    ImageList_Destroy(list);

    // The default ink (the window-text colour) and plain black stay visible
    // on a transparent paper: the mask colour is never the ink's.
    ASSERT_TRUE(ReadBmp("test_96.bmp", file));
    for (COLORREF inkValue : {UI::kDefaultColor, RGB(0, 0, 0), RGB(192, 192, 192), RGB(0, 0, 255)}) {
        list = UI::CreateMonochromeImageList(u"test", inkValue, UI::kTransparent, 96);
        const COLORREF expect = inkValue == UI::kDefaultColor ? GetSysColor(COLOR_WINDOWTEXT) : inkValue;
        ExpectGlyph(list, 0, 12, file, expect, kGreen, ILD_TRANSPARENT);
        ImageList_Destroy(list);
    }
}

TEST(Style, EitherPaletteOrderGivesTheSameGlyph) {
    // test_bw starts its palette with black (ink = clear bits), test_wb with white.
    BmpFile file;
    ASSERT_TRUE(ReadBmp("test_wb.bmp", file));
    const COLORREF ink = RGB(0, 0, 255), paper = RGB(255, 255, 255);
    for (const char16_t* name : {u"test_bw", u"test_wb"}) {
        HIMAGELIST list = UI::CreateMonochromeImageList(name, ink, paper, 96);
        ASSERT_EQ(ImageCount(list), 1);
        ExpectGlyph(list, 0, 16, file, ink, paper, ILD_NORMAL);
        ImageList_Destroy(list);
    }
    // Drawn straight onto a picture: ink pixels in the colour, the rest untouched.
    UI::MonochromeStrip sbw;
    ASSERT_TRUE(sbw.Load(u"test_bw", 96));
    uitest::Canvas c(16, 16, RGB(1, 2, 3));
    sbw.DrawGlyph(c.Dc(), 0, 0, 0, RGB(255, 0, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(c.At(x, y), file.Ink(x, y) ? RGB(255, 0, 0) : RGB(1, 2, 3));
    EXPECT_FALSE(sbw.Load(u"no_such_strip", 96));
}

TEST(Style, ColourButtonsMatchTheirFilesAroundTheSeeThroughMagenta) {
    // Drawn on another colour, a button keeps its picture and lets the
    // window's colour show where its file has magenta.
    BmpFile file;
    ASSERT_TRUE(ReadBmp("buttons_normal_96.bmp", file));
    HIMAGELIST list = UI::CreateColorImageList(u"buttons_normal", UI::kButtonMask, 96);
    ASSERT_EQ(ImageCount(list), 16);
    for (int g : {0, 7, 15}) {
        uitest::Canvas c(16, 16, kGreen);
        ImageList_Draw(list, g, c.Dc(), 0, 0, ILD_NORMAL);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF want = file.At(g * 16 + x, y);
                ASSERT_EQ(c.At(x, y), want == UI::kButtonMask ? kGreen : want) << g << " " << x << "," << y;
            }
    }
    ImageList_Destroy(list);
}

#endif  // CELVANE_HAVE_BITMAPS

namespace {

// A control's rectangle in its dialog's client area.
RECT RectIn(HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Checks the strip, the first control and the link once the dialog is up, then answers OK.
class ProbeTitled : public UI::TitledDialog {
public:
    ProbeTitled(const char16_t* name, bool moveBelow) : UI::TitledDialog(name), moveBelow_(moveBelow) {}
    void OnCreate() override {
        UI::TitledDialog::OnCreate();
        if (moveBelow_) MoveControlsBelowTitle();
        title = Title();
        EXPECT_GT(TitleHeight(), UI::LineHeight());
        EXPECT_EQ(RectIn(hwnd_, TitleControl()).bottom, TitleHeight());
        EXPECT_GE(RectIn(hwnd_, GetDlgItem(hwnd_, 100)).top, TitleHeight());
        // The link: blue text in an underlined font, made once however often asked.
        if (HWND link = GetDlgItem(hwnd_, 101)) {
            MakeLink(link);
            MakeLink(link);
            EXPECT_EQ(LinkCount(), 1u);
            linkFont = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
            HDC dc = CreateCompatibleDC(nullptr);
            SendMessageW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
            EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
            DeleteDC(dc);
            LOGFONTW lf{};
            GetObjectW(linkFont, sizeof lf, &lf);
            EXPECT_TRUE(lf.lfUnderline);
        }
        // The title shows once: in the strip, not in a caption bar as well;
        // the template's room for the controls stays.
        EXPECT_NE(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CAPTION, static_cast<LONG>(WS_CAPTION));
        RECT dlu{0, 0, 160, 100};
        MapDialogRect(hwnd_, &dlu);
        const SIZE client = mwcl::GetClientSize(hwnd_);
        if (!moveBelow_) {
            EXPECT_EQ(client.cx, dlu.right);
            EXPECT_EQ(client.cy, dlu.bottom);
        }
        PostMessageW(hwnd_, WM_COMMAND, IDOK, 0);
    }

    std::u16string title;
    HFONT linkFont = nullptr;

private:
    bool moveBelow_;
};

}  // namespace

TEST(TitledDialog, CaptionBecomesTheTitleStripAboveTheControls) {
    // Two runs of one dialog object, in English and in German.
    ProbeTitled d(u"TEST_DIALOG", false);
    for (const auto& run : {std::make_pair(0x0409, u"Set Display Time"), std::make_pair(0x0407, u"Anzeigezeit einstellen")}) {
        ScopedLanguage language(static_cast<uint16_t>(run.first));
        EXPECT_EQ(d.DoModal(nullptr), IDOK);
        EXPECT_EQ(d.title, run.second);
        // The underlined font lives for one run of the dialog.
        EXPECT_EQ(GetObjectType(d.linkFont), 0u);
        EXPECT_EQ(d.LinkCount(), 0u);
    }
    // A template drawn from the top edge moves below the strip.
    ProbeTitled top(u"TOP_DIALOG", true);
    EXPECT_EQ(top.DoModal(nullptr), IDOK);
}
