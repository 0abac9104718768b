// The interface style: fonts from the screen's resolution, bitmaps chosen by
// resolution, image lists made from the strips (checked pixel by pixel
// against the BMP files read independently), and titled dialogs.
#include "tests/wine/ui/ui_test_util.h"

#include "winlib/titled_dialog.h"
#include "winlib/ui_style.h"

#include <cstdio>
#include <string>
#include <vector>

using uitest::Canvas;
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
    std::FILE* f = std::fopen((std::string(CELVANE_SOURCE_DIR) + "/resources/bitmaps/" + file).c_str(), "rb");
    if (!f) return false;
    std::vector<unsigned char> d;
    unsigned char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) d.insert(d.end(), buf, buf + n);
    std::fclose(f);
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
            COLORREF c;
            if (out.bits == 1) {
                const int index = (d[row + static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1;
                const size_t p = 14 + header + static_cast<size_t>(index) * 4;
                c = RGB(d[p + 2], d[p + 1], d[p]);
            } else {
                const size_t p = row + static_cast<size_t>(x) * 3;
                c = RGB(d[p + 2], d[p + 1], d[p]);
            }
            out.pixels[static_cast<size_t>(y * out.width + x)] = c;
        }
    }
    return true;
}

// A 32-bit picture to draw into and read back.
int ImageCount(HIMAGELIST l) { return l ? ImageList_GetImageCount(l) : -1; }
int ImageSide(HIMAGELIST l) {
    int w = 0, h = 0;
    if (l) ImageList_GetIconSize(l, &w, &h);
    return w == h ? w : -1;
}

}  // namespace

TEST(Style, BitmapNamesFollowTheResolution) {
    EXPECT_EQ(UI::ResolutionSpecificName(u"planets", 96), u"planets(96)");
    EXPECT_EQ(UI::ResolutionSpecificName(u"planets", 135), u"planets(96)");
    EXPECT_EQ(UI::ResolutionSpecificName(u"planets", 136), u"planets(192)");
    EXPECT_EQ(UI::ResolutionSpecificName(u"planets", 192), u"planets(192)");
    // The screen's own: Wine's default 96 dots per inch.
    EXPECT_EQ(UI::ScreenResolution(), 96);
    EXPECT_EQ(UI::ResolutionSpecificName(u"arrows"), u"arrows(96)");
}

TEST(Style, FontsComeFromTheScreenResolution) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(UI::NormalFont(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -((dpi * 8 + 36) / 72));  // 11 pixels at 96
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(std::u16string(U(lf.lfFaceName)), UI::kInterfaceFace);
    ASSERT_TRUE(GetObjectW(UI::BoldFont(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfWeight, 700);
    ASSERT_TRUE(GetObjectW(UI::UnderlinedFont(), sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline);
    ASSERT_TRUE(GetObjectW(UI::TitleFont(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -(((dpi + 4) * 9) / 72));  // 12 pixels at 96
    EXPECT_GE(UI::LineHeight(), (dpi * 8 + 36) / 72);
    EXPECT_EQ(UI::LinkColor(), RGB(0, 0, 255));
    EXPECT_EQ(UI::TextColor(), GetSysColor(COLOR_WINDOWTEXT));
    // Made once: the same objects every time.
    EXPECT_EQ(UI::NormalFont(), UI::NormalFont());
}

#ifdef CELVANE_HAVE_BITMAPS

TEST(Style, StripsResolveToTheirResolutionVariant) {
    HIMAGELIST p96 = UI::CreateMonochromeImageList(u"planets", UI::kDefaultColor, UI::kTransparent, 96);
    HIMAGELIST p192 = UI::CreateMonochromeImageList(u"planets", UI::kDefaultColor, UI::kTransparent, 192);
    HIMAGELIST p136 = UI::CreateMonochromeImageList(u"planets", UI::kDefaultColor, UI::kTransparent, 136);
    EXPECT_EQ(ImageCount(p96), 13);
    EXPECT_EQ(ImageSide(p96), 11);
    EXPECT_EQ(ImageCount(p192), 13);
    EXPECT_EQ(ImageSide(p192), 22);
    EXPECT_EQ(ImageSide(p136), 22);
    for (HIMAGELIST l : {p96, p192, p136}) ImageList_Destroy(l);

    HIMAGELIST buttons = UI::CreateColorImageList(u"buttons_normal", UI::kButtonMask, 192);
    EXPECT_EQ(ImageCount(buttons), 16);
    EXPECT_EQ(ImageSide(buttons), 32);
    ImageList_Destroy(buttons);
    // Only the plain name exists: used as it is. Nothing by that name: none.
    HBITMAP plain = UI::LoadInterfaceBitmap(u"test_bw", 96);
    EXPECT_NE(plain, nullptr);
    DeleteObject(plain);
    EXPECT_EQ(UI::LoadInterfaceBitmap(u"no_such_strip", 96), nullptr);
    EXPECT_EQ(UI::CreateColorImageList(u"no_such_strip", CLR_NONE, 96), nullptr);
    EXPECT_EQ(UI::CreateMonochromeImageList(u"no_such_strip", 0, 0, 96), nullptr);
}

TEST(Style, MonochromeGlyphsTakeTheInkAndPaper) {
    BmpFile file;
    ASSERT_TRUE(ReadBmp("test_192.bmp", file));
    const COLORREF ink = RGB(200, 30, 40), paper = RGB(250, 240, 10);
    HIMAGELIST list = UI::CreateMonochromeImageList(u"test", ink, paper, 192);
    ASSERT_EQ(ImageCount(list), 3);
    for (int g = 0; g < 3; ++g) {
        Canvas c(24, 24, RGB(0, 128, 0));
        ImageList_Draw(list, g, c.Dc(), 0, 0, ILD_NORMAL);
        int inkSeen = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                const bool isInk = file.Ink(g * 24 + x, y);
                inkSeen += isInk;
                ASSERT_EQ(c.At(x, y), isInk ? ink : paper) << "glyph " << g << " at " << x << "," << y;
            }
        EXPECT_GT(inkSeen, 20);
    }
    ImageList_Destroy(list);

    // Transparent paper: the background stays.
    list = UI::CreateMonochromeImageList(u"test", ink, UI::kTransparent, 192);
    Canvas c(24, 24, RGB(0, 128, 0));
    ImageList_Draw(list, 1, c.Dc(), 0, 0, ILD_TRANSPARENT);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) ASSERT_EQ(c.At(x, y), file.Ink(24 + x, y) ? ink : RGB(0, 128, 0));
    ImageList_Destroy(list);

    // The default ink (the window-text colour) and plain black stay visible
    // on a transparent paper: the mask colour is never the ink's.
    ASSERT_TRUE(ReadBmp("test_96.bmp", file));
    for (COLORREF inkValue : {UI::kDefaultColor, RGB(0, 0, 0), RGB(192, 192, 192), RGB(0, 0, 255)}) {
        HIMAGELIST l = UI::CreateMonochromeImageList(u"test", inkValue, UI::kTransparent, 96);
        const COLORREF expect = inkValue == UI::kDefaultColor ? GetSysColor(COLOR_WINDOWTEXT) : inkValue;
        Canvas c2(12, 12, RGB(0, 128, 0));
        ImageList_Draw(l, 0, c2.Dc(), 0, 0, ILD_TRANSPARENT);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                ASSERT_EQ(c2.At(x, y), file.Ink(x, y) ? expect : RGB(0, 128, 0)) << std::hex << inkValue;
        ImageList_Destroy(l);
    }
}

TEST(Style, EitherPaletteOrderGivesTheSameGlyph) {
    // test_bw starts its palette with black (ink = clear bits), test_wb with white.
    const COLORREF ink = RGB(0, 0, 255), paper = RGB(255, 255, 255);
    HIMAGELIST bw = UI::CreateMonochromeImageList(u"test_bw", ink, paper, 96);
    HIMAGELIST wb = UI::CreateMonochromeImageList(u"test_wb", ink, paper, 96);
    ASSERT_EQ(ImageCount(bw), 1);
    ASSERT_EQ(ImageCount(wb), 1);
    Canvas a(16, 16, RGB(9, 9, 9)), b(16, 16, RGB(9, 9, 9));
    ImageList_Draw(bw, 0, a.Dc(), 0, 0, ILD_NORMAL);
    ImageList_Draw(wb, 0, b.Dc(), 0, 0, ILD_NORMAL);
    BmpFile file;
    ASSERT_TRUE(ReadBmp("test_wb.bmp", file));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(a.At(x, y), file.Ink(x, y) ? ink : paper);
            ASSERT_EQ(b.At(x, y), a.At(x, y));
        }
    ImageList_Destroy(bw);
    ImageList_Destroy(wb);

    UI::MonochromeStrip sbw, swb;
    ASSERT_TRUE(sbw.Load(u"test_bw", 96));
    ASSERT_TRUE(swb.Load(u"test_wb", 96));
    EXPECT_TRUE(sbw.FirstColorBlack());
    EXPECT_FALSE(swb.FirstColorBlack());
    EXPECT_EQ(sbw.GlyphSize(), 16);
    EXPECT_EQ(sbw.GlyphCount(), 1);
    // Drawn straight onto a picture: ink pixels in the colour, the rest untouched.
    Canvas c(16, 16, RGB(1, 2, 3));
    sbw.DrawGlyph(c.Dc(), 0, 0, 0, RGB(255, 0, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(c.At(x, y), file.Ink(x, y) ? RGB(255, 0, 0) : RGB(1, 2, 3));

    UI::MonochromeStrip planets;
    ASSERT_TRUE(planets.Load(u"planets", 192));
    EXPECT_EQ(planets.GlyphSize(), 22);
    EXPECT_EQ(planets.GlyphCount(), 13);
    EXPECT_FALSE(planets.Load(u"no_such_strip", 96));
}

TEST(Style, ColourButtonsMatchTheirFilesAroundTheSeeThroughMagenta) {
    // Drawn on another colour, a button keeps its picture and lets the
    // window's colour show where its file has magenta.
    BmpFile file;
    ASSERT_TRUE(ReadBmp("buttons_normal_96.bmp", file));
    HIMAGELIST list = UI::CreateColorImageList(u"buttons_normal", UI::kButtonMask, 96);
    ASSERT_EQ(ImageCount(list), 16);
    for (int g : {0, 7, 15}) {
        Canvas c(16, 16, RGB(0, 128, 0));
        ImageList_Draw(list, g, c.Dc(), 0, 0, ILD_NORMAL);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF want = file.At(g * 16 + x, y) == UI::kButtonMask ? RGB(0, 128, 0) : file.At(g * 16 + x, y);
                ASSERT_EQ(c.At(x, y), want) << g << " " << x << "," << y;
            }
    }
    ImageList_Destroy(list);
}

#endif  // CELVANE_HAVE_BITMAPS

namespace {

class ProbeTitled : public UI::TitledDialog {
public:
    explicit ProbeTitled(const char16_t* name) : UI::TitledDialog(name) {}
    void OnCreate() override {
        UI::TitledDialog::OnCreate();
        if (moveBelow) MoveControlsBelowTitle();
        title = Title();
        height = TitleHeight();
        HWND strip = TitleControl();
        stripId = GetDlgCtrlID(strip);
        RECT r;
        GetWindowRect(strip, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        stripBottom = r.bottom;
        RECT first;
        GetWindowRect(GetDlgItem(hwnd_, 100), &first);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&first), 2);
        firstTop = first.top;
        // A tap on the title reaches the dialog.
        SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        // The link answer: blue text, underlined font.
        HWND link = GetDlgItem(hwnd_, 101);
        if (link) {
            MakeLink(link);
            MakeLink(link);  // once is enough: the second call changes nothing
            links = LinkCount();
            linkFont = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
            HDC dc = CreateCompatibleDC(nullptr);
            SendMessageW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
            linkColour = GetTextColor(dc);
            DeleteDC(dc);
            LOGFONTW lf{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)), sizeof lf, &lf);
            linkUnderlined = lf.lfUnderline != 0;
        }
        style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
        RECT client, dlu{0, 0, 160, 100};
        GetClientRect(hwnd_, &client);
        MapDialogRect(hwnd_, &dlu);
        clientKept = client.right == dlu.right && client.bottom == dlu.bottom;
        PostMessageW(hwnd_, WM_COMMAND, IDOK, 0);
    }
    void OnCommand(mwcl::MessageRecord& m) override {
        if (m.message == WM_NOTIFY) {
            const auto* n = reinterpret_cast<const UI::TitleTapNotification*>(m.lParam);
            if (n->hdr.code == UI::kTitleTapCode) tapMessage = n->message;
        }
    }

    bool moveBelow = false;
    std::u16string title;
    int height = 0, stripId = 0, stripBottom = 0, firstTop = 0;
    UINT tapMessage = 0;
    COLORREF linkColour = 0;
    bool linkUnderlined = false;
    size_t links = 0;
    HFONT linkFont = nullptr;
    DWORD style = 0;
    bool clientKept = false;
};

}  // namespace

TEST(TitledDialog, CaptionBecomesTheTitleStripAboveTheControls) {
    ScopedLanguage english(0x0409);
    ProbeTitled d(u"TEST_DIALOG");
    EXPECT_EQ(d.DoModal(nullptr), IDOK);
    EXPECT_EQ(d.title, u"Set Display Time");
    EXPECT_EQ(d.stripId, -1);
    EXPECT_GT(d.height, UI::LineHeight());
    EXPECT_EQ(d.stripBottom, d.height);
    EXPECT_GE(d.firstTop, d.height);
    EXPECT_EQ(d.tapMessage, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(d.linkColour, RGB(0, 0, 255));
    EXPECT_TRUE(d.linkUnderlined);
    // The title shows once: in the strip, not in a caption bar as well; the
    // template's room for the controls stays.
    EXPECT_NE(d.style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(d.clientKept);

    // A title of the program's own replaces the caption.
    ProbeTitled own(u"TEST_DIALOG");
    own.SetTitle(u"Julian Date");
    own.DoModal(nullptr);
    EXPECT_EQ(own.title, u"Julian Date");

    // A template drawn from the top edge moves below the strip.
    ProbeTitled top(u"TOP_DIALOG");
    top.moveBelow = true;
    top.DoModal(nullptr);
    EXPECT_GE(top.firstTop, top.height);
}

TEST(TitledDialog, LinkFontsLiveForOneRun) {
    ScopedLanguage english(0x0409);
    ProbeTitled d(u"TEST_DIALOG");
    for (int run = 0; run < 2; ++run) {
        d.DoModal(nullptr);
        EXPECT_EQ(d.links, 1u) << run;
        ASSERT_NE(d.linkFont, nullptr);
        EXPECT_EQ(GetObjectType(d.linkFont), 0u) << run;  // released when the dialog closed
        EXPECT_EQ(d.LinkCount(), 0u);
    }
}

TEST(TitledDialog, GermanTemplateGivesTheGermanTitle) {
    ScopedLanguage german(0x0407);
    ProbeTitled d(u"TEST_DIALOG");
    d.DoModal(nullptr);
    EXPECT_EQ(d.title, u"Anzeigezeit einstellen");
    EXPECT_GE(d.firstTop, d.height);
}
