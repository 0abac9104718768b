// celvane-gallery: the interface toolkit in one window, for looking at it.
//
// Shows two toolbars (the screen's buttons and the 32-pixel ones, with one
// button checked, one disabled and a tooltip held open), every icon strip at
// 96 and 192 dots per inch, a table of texts, clickable texts, bitmaps (one
// see-through), nested tables and separator lines, a scrolling table and a
// titled dialog, in English or German. Everything is placed in lines of the
// standard font, so the gallery looks the same at any resolution.
//
//   celvane-gallery [--lang en|de] [--ready-file PATH] [--exit-after MS] [--no-hold]
//
// --ready-file names a file written once everything is shown (the
// screenshot test waits for it); --exit-after ends the program after that
// many milliseconds; --no-hold leaves the tooltip closed.
#include "data/messages.h"
#include "layout/toolbar.h"
#include "winlib/controls.h"
#include "winlib/mwcl.h"
#include "winlib/platform_win32.h"
#include "winlib/titled_dialog.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Data::Message;
using Data::MessageText;
using UI::Layout::TableControl;
using UI::Layout::TableLayoutManager;
using UI::Layout::TextItem;

const Message kMsgTitle{{0x409, u"Celvane interface gallery"}, {0x407, u"Celvane Oberflächen-Galerie"}};
const Message kMsgToolbars{{0x409, u"Toolbars: this screen's buttons and 32 pixel buttons"}, {0x407, u"Werkzeugleisten: Knöpfe dieses Bildschirms und mit 32 Pixeln"}};
const Message kMsgStrips{{0x409, u"Icon strips at 96 and 192 dots per inch"}, {0x407, u"Symbolleisten bei 96 und 192 dpi"}};
const Message kMsgTable{{0x409, u"Texts, bitmaps, nested tables and rules"}, {0x407, u"Texte, Bilder, geschachtelte Tabellen und Linien"}};
const Message kMsgScrolling{{0x409, u"A table larger than its control scrolls"}, {0x407, u"Eine Tabelle, größer als ihr Fenster, rollt"}};
const Message kMsgLastButton{{0x409, u"Last button: {0}"}, {0x407, u"Zuletzt gedrückt: {0}"}};
const Message kMsgLastLine{{0x409, u"Last line: {0}"}, {0x407, u"Zuletzt getippt: {0}"}};
const Message kMsgNone{{0x409, u"none"}, {0x407, u"keiner"}};
const Message kMsgRow{{0x409, u"Row {0}"}, {0x407, u"Zeile {0}"}};

const Message kMsgPlanets{{0x409, u"Planets"}, {0x407, u"Planeten"}};
const Message kMsgObjects{{0x409, u"Objects"}, {0x407, u"Objekte"}};
const Message kMsgAsteroidsComets{{0x409, u"Asteroids, comets"}, {0x407, u"Asteroiden, Kometen"}};
const Message kMsgArrows{{0x409, u"Arrows"}, {0x407, u"Pfeile"}};

const Message kMsgJupiter{{0x409, u"Jupiter"}, {0x407, u"Jupiter"}};
const Message kMsgRa{{0x409, u"Right ascension"}, {0x407, u"Rektaszension"}};
const Message kMsgDec{{0x409, u"Declination"}, {0x407, u"Deklination"}};
const Message kMsgMag{{0x409, u"Magnitude"}, {0x407, u"Helligkeit"}};
const Message kMsgMoons{{0x409, u"Moons"}, {0x407, u"Monde"}};
const Message kMsgRiseSet{{0x409, u"Rise 18:42, set 07:15"}, {0x407, u"Aufgang 18:42, Untergang 07:15"}};
const Message kMsgPhase{{0x409, u"Phase"}, {0x407, u"Phase"}};

// The sixteen button pictures in strip order, with the tooltips the views give them.
const Message kTooltips[16] = {
    {{0x409, u"Compass View"}, {0x407, u"Kompassansicht"}},
    {{0x409, u"Sky View"}, {0x407, u"Himmelsansicht"}},
    {{0x409, u"Show object in sky"}, {0x407, u"Objekt in Himmelsansicht"}},
    {{0x409, u"Time Mode"}, {0x407, u"Zeitmodus"}},
    {{0x409, u"Object Info Window"}, {0x407, u"Objekt Info Fenster"}},
    {{0x409, u"Search Object"}, {0x407, u"Objekt suchen"}},
    {{0x409, u"Full Screen"}, {0x407, u"Vollbild"}},
    {{0x409, u"View Settings"}, {0x407, u"Anz. Einstellungen"}},
    {{0x409, u"Center object"}, {0x407, u"Objekt Zentrieren"}},
    {{0x409, u"Angular distance reference"}, {0x407, u"Referenz für Winkeldistanz"}},
    {{0x409, u"Location Display"}, {0x407, u"Ort anzeigen"}},
    {{0x409, u"Object Display"}, {0x407, u"Objekt anzeigen"}},
    {{0x409, u"Zoom"}, {0x407, u"Zoom"}},
    {{0x409, u"Mag Filter"}, {0x407, u"Helligkeitsfilter"}},
    {{0x409, u"Navigate View Direction with keys"}, {0x407, u"Blickrichtung ändern mit Tasten"}},
    {{0x409, u"Change time and zoom with keys"}, {0x407, u"Zeit und Zoom ändern mit Tasten"}},
};

const int kSmallToolbarId = 1, kLargeToolbarId = 2;
const UINT_PTR kReadyTimer = 1, kExitTimer = 2, kHoldTimer = 3;

std::u16string T(const Message& m) { return MessageText(m); }

TextItem* Text(const std::u16string& s, HFONT font = nullptr, COLORREF colour = RGB(0, 0, 0)) {
    return new TextItem(s, font ? font : UI::NormalFont(), colour);
}

// A side x side picture in the screen's format, filled with `background`,
// then drawn on by `draw` (given the picture's memory context).
template <typename Draw>
HBITMAP MakePicture(int side, COLORREF background, Draw draw) {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, side, side);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r{0, 0, side, side};
    HBRUSH fill = CreateSolidBrush(background);
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    draw(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bmp;
}

// A small picture made here: a dark sky with stars and a planet.
HBITMAP MakeSkyPicture(int side) {
    return MakePicture(side, RGB(10, 20, 70), [side](HDC dc) {
        const int stars[][2] = {{5, 7}, {40, 12}, {22, 50}, {55, 40}, {12, 30}, {48, 58}, {30, 20}};
        for (const auto& s : stars) SetPixel(dc, s[0] * side / 64, s[1] * side / 64, RGB(255, 255, 255));
        HBRUSH planet = CreateSolidBrush(RGB(235, 200, 120));
        HGDIOBJ oldBrush = SelectObject(dc, planet);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, side / 3, side / 3, side * 2 / 3, side * 2 / 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(planet);
    });
}

// A waxing Moon on the see-through magenta: the object pages' phase pictures.
HBITMAP MakePhasePicture(int side) {
    return MakePicture(side, UI::Layout::kMagenta, [side](HDC dc) {
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
        Ellipse(dc, 1, 1, side - 1, side - 1);
        // The lit part: the right half and a little more.
        HRGN lit = CreateEllipticRgn(side / 3, 1, side - 1, side - 1);
        HRGN half = CreateRectRgn(side / 2, 0, side, side);
        CombineRgn(lit, lit, half, RGN_OR);
        HRGN disc = CreateEllipticRgn(2, 2, side - 2, side - 2);
        CombineRgn(lit, lit, disc, RGN_AND);
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        FillRgn(dc, lit, white);
        DeleteObject(white);
        DeleteObject(lit);
        DeleteObject(half);
        DeleteObject(disc);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    });
}

class GalleryDialog : public UI::TitledDialog {
public:
    GalleryDialog() : UI::TitledDialog(u"GALLERY_DIALOG") {}
    void OnCreate() override {
        UI::TitledDialog::OnCreate();
        CheckRadioButton(hwnd_, 101, 102, 102);
        SetDlgItemTextW(hwnd_, 103, W(u"2026-03-20"));
        SetDlgItemTextW(hwnd_, 104, W(u"21:30"));
        CheckDlgButton(hwnd_, 105, BST_CHECKED);
        MakeLink(GetDlgItem(hwnd_, 106));
    }
};

class GalleryWindow : public mwcl::Frame {
public:
    GalleryWindow()
        : strips_(4, 3, true), table_(9, 3, true), scrolling_(30, 3, true), status_(2, 1, true), headings_(4) {}

    void Build(bool hold);
    std::vector<std::u16string> Checks() const;

    void OnCommand(mwcl::MessageRecord& m) override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnPaint(HDC dc, PAINTSTRUCT& ps) override;

private:
    // A heading at (x, y); returns the y below it.
    int Heading(int index, int x, int y, const Message& text);
    static SIZE SizeOf(const mwcl::Window& w) { return mwcl::GetClientSize(w.GetHandle()); }
    void SetStatus(int row, const Message& format, const std::u16string& what);

    UI::LayoutedToolbar small_;
    UI::LayoutedToolbar large_;
    TableControl strips_;
    TableControl table_;
    TableControl scrolling_;
    TableControl status_;
    std::vector<std::unique_ptr<TableControl>> headings_;
    std::vector<HIMAGELIST> lists_;
    std::vector<RECT> rules_;
    GalleryDialog dialog_;
    bool hold_ = true;
};

int GalleryWindow::Heading(int index, int x, int y, const Message& text) {
    std::unique_ptr<TableControl> h(new TableControl(1, 1, true));
    h->Table().SetItem(0, 0, Text(T(text), UI::BoldFont()));
    h->Create(hwnd_, 100 + index, RECT{x, y, x + 1, y + 1}, TableControl::kFitTable);
    const int bottom = y + SizeOf(*h).cy + UI::Lines(0.4);
    headings_[static_cast<size_t>(index)] = std::move(h);
    return bottom;
}

void GalleryWindow::SetStatus(int row, const Message& format, const std::u16string& what) {
    TextItem* status = dynamic_cast<TextItem*>(status_.Table().GetItem(row, 0));
    if (status) status->SetText(Data::MessageFormat(format, what).Format());
    status_.UpdateLayout();
}

void GalleryWindow::Build(bool hold) {
    hold_ = hold;
    // Every distance is a part of the standard font's line.
    const int margin = UI::Lines(0.8), gap = UI::Lines(1.2), column = UI::Lines(2);
    const int ruleWidth = std::max(1, UI::ScaledPixels(1));
    int y = margin;

    // Toolbars: the screen's standard images, and lists of their own at 32.
    y = Heading(0, margin, y, kMsgToolbars);
    // (A toolbar has its size once its buttons are in.)
    small_.Create(hwnd_, kSmallToolbarId, RECT{margin, y, margin + 1, y + 1}, 16);
    for (int i = 0; i < 16; ++i) small_.SetButton(i, i, T(kTooltips[i]), i != 4);
    small_.CheckButton(9, true);
    y += SizeOf(small_).cy + UI::Lines(0.3);
    HIMAGELIST n32 = UI::CreateColorImageList(u"buttons_normal", UI::kButtonMask, 192);
    HIMAGELIST a32 = UI::CreateColorImageList(u"buttons_armed", UI::kButtonMask, 192);
    HIMAGELIST d32 = UI::CreateColorImageList(u"buttons_disabled", UI::kButtonMask, 192);
    lists_.insert(lists_.end(), {n32, a32, d32});
    large_.Create(hwnd_, kLargeToolbarId, RECT{margin, y, margin + 1, y + 1}, 16, n32, a32, d32);
    for (int i = 0; i < 16; ++i) large_.SetButton(i, i, T(kTooltips[i]), i != 4);
    large_.CheckButton(9, true);
    status_.Table().SetItem(0, 0, Text(Data::MessageFormat(kMsgLastButton, T(kMsgNone)).Format()));
    status_.Table().SetItem(1, 0, Text(Data::MessageFormat(kMsgLastLine, T(kMsgNone)).Format()));
    const int toolbarRight = margin + SizeOf(large_).cx;
    status_.Create(hwnd_, 3, RECT{toolbarRight + column, y, toolbarRight + column + 1, y + 1}, TableControl::kFitTable);
    y += std::max(SizeOf(large_).cy, SizeOf(status_).cy) + gap / 2;
    rules_.push_back(RECT{margin, y, 0, y + ruleWidth});
    y += gap / 2;

    // Icon strips: name, the glyphs at 96, the glyphs at 192.
    y = Heading(1, margin, y, kMsgStrips);
    struct StripInfo {
        const char16_t* name;
        const Message* title;
        COLORREF ink;
    };
    const StripInfo infos[4] = {{u"planets", &kMsgPlanets, UI::kDefaultColor},
                                {u"objects", &kMsgObjects, RGB(0, 0, 160)},
                                {u"asteroidsComets", &kMsgAsteroidsComets, RGB(150, 0, 0)},
                                {u"arrows", &kMsgArrows, RGB(0, 110, 0)}};
    TableLayoutManager& st = strips_.Table();
    st.SetColumnMargins(0, UI::Lines(0.3), UI::Lines(0.8));
    st.SetColumnMargins(1, 0, UI::Lines(1.5));
    for (int r = 0; r < 4; ++r) {
        st.SetRowMargins(r, UI::Lines(0.2), UI::Lines(0.2));
        st.SetItem(r, 0, Text(T(*infos[r].title)));
        for (int k = 0; k < 2; ++k) {
            const int dpi = k == 0 ? 96 : 192;
            HIMAGELIST list = UI::CreateMonochromeImageList(infos[r].name, infos[r].ink, UI::kTransparent, dpi);
            lists_.push_back(list);
            const int count = list ? ImageList_GetImageCount(list) : 0;
            TableLayoutManager* glyphs = new TableLayoutManager(1, count, true);
            for (int g = 0; g < count; ++g) {
                glyphs->SetColumnMargins(g, 0, k == 0 ? 3 : 6);
                glyphs->SetItem(0, g, new UI::MonochromeImageListItem(list, g));
            }
            st.SetItem(r, 1 + k, glyphs);
        }
    }
    strips_.Create(hwnd_, 4, RECT{margin, y, margin + 1, y + 1}, TableControl::kFitTable);
    y += SizeOf(strips_).cy + gap / 2;
    rules_.push_back(RECT{margin, y, 0, y + ruleWidth});
    y += gap / 2;
    const int sectionTop = y;

    // A table as the object pages use them, with the screen's strips.
    y = Heading(2, margin, y, kMsgTable);
    HIMAGELIST planets = UI::CreateMonochromeImageList(u"planets", UI::kDefaultColor, UI::kTransparent);
    HIMAGELIST objects = UI::CreateMonochromeImageList(u"objects", RGB(0, 0, 160), UI::kTransparent);
    lists_.insert(lists_.end(), {planets, objects});
    const int line = UI::LineHeight();
    TableLayoutManager& t = table_.Table();
    t.SetColumnMargins(0, UI::Lines(0.3), UI::Lines(0.5));
    t.SetColumnMargins(1, 0, UI::Lines(0.6));
    t.SetColumnMargins(2, 0, UI::Lines(0.3));
    t.SetItem(0, 0, new UI::MonochromeImageListItem(planets, 5));
    t.SetItem(0, 1, Text(T(kMsgJupiter), UI::TitleFont()), 1, 2);
    t.SetRowMinimum(1, UI::Lines(0.5));
    t.SetItem(1, 0, new UI::ObjInfo::SeparatorLineItem(ruleWidth * 2, RGB(0, 0, 160)), 1, 3);
    t.SetItem(2, 0, Text(T(kMsgRa)));
    t.SetItem(2, 1, Text(u"2h 31.4m", UI::BoldFont()));
    t.SetItem(3, 0, Text(T(kMsgDec)));
    t.SetItem(3, 1, Text(u"+13\u00b0 50'", UI::BoldFont()));
    t.SetItem(4, 0, Text(T(kMsgMag)));
    t.SetItem(4, 1, Text(u"\u22122.5", UI::BoldFont()));
    // The picture spans the three rows: their own heights stay, the last one grows.
    t.SetItem(2, 2, UI::Layout::BitmapItem::FromBitmap(MakeSkyPicture(3 * line + line / 2), true), 3, 1);
    t.SetRowMinimum(5, UI::Lines(0.5));
    t.SetItem(5, 0, new UI::ObjInfo::SeparatorLineItem(ruleWidth), 1, 3);
    TableLayoutManager* moons = new TableLayoutManager(2, 4, true);
    const char16_t* names[4] = {u"Io", u"Europa", u"Ganymed", u"Callisto"};
    for (int i = 0; i < 4; ++i) {
        moons->SetColumnMargins(i, UI::Lines(0.15), UI::Lines(0.7));
        moons->SetItem(0, i, Text(names[i], UI::NormalFont(), RGB(90, 90, 90)));
        moons->SetItem(1, i, Text(i % 2 ? u"W 2.1'" : u"E 1.4'"));
    }
    t.SetItem(6, 0, Text(T(kMsgMoons)));
    t.SetItem(6, 1, moons, 1, 2);
    t.SetItem(7, 0, Text(T(kMsgPhase)));
    t.SetItem(7, 1, UI::Layout::BitmapItem::FromBitmap(MakePhasePicture(2 * line), true, UI::Layout::kMagenta));
    t.SetItem(8, 0, new UI::Layout::ClickableTextItem(1, T(kMsgRiseSet), UI::UnderlinedFont(), UI::LinkColor()), 1, 3);
    table_.Create(hwnd_, 5, RECT{margin, y, margin + 1, y + 1}, TableControl::kFitTable);
    int bottom = y + SizeOf(table_).cy;
    int right = margin + std::max(SizeOf(table_).cx, SizeOf(*headings_[2]).cx);

    // A scrolling table beside it.
    const int scrollX = right + column;
    y = Heading(3, scrollX, sectionTop, kMsgScrolling);
    TableLayoutManager& s = scrolling_.Table();
    s.SetColumnMargins(0, UI::Lines(0.3), UI::Lines(0.3));
    s.SetColumnMargins(1, 0, UI::Lines(0.8));
    for (int r = 0; r < 30; ++r) {
        s.SetRowMargins(r, 1, 1);
        s.SetItem(r, 0, new UI::MonochromeImageListItem(objects, r % 17));
        s.SetItem(r, 1, Text(Data::MessageFormat(kMsgRow, PL::FromUtf8(std::to_string(r + 1))).Format()));
        s.SetItem(r, 2, Text(u"M " + PL::FromUtf8(std::to_string(r * 7 + 1)) + u"  NGC " +
                             PL::FromUtf8(std::to_string(1000 + r * 37)) + u"  " + T(kTooltips[r % 16])));
    }
    const int scrollW = UI::Lines(20), scrollH = UI::Lines(11);
    scrolling_.Create(hwnd_, 6, RECT{scrollX, y, scrollX + scrollW, y + scrollH}, TableControl::kScroll, WS_BORDER);
    for (int i = 0; i < 3; ++i) SendMessageW(scrolling_.GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
    bottom = std::max(bottom, y + scrollH);
    right = scrollX + std::max(scrollW, static_cast<int>(SizeOf(*headings_[3]).cx));

    // The window holds it all; the rules run across it.
    right = std::max(right, static_cast<int>(toolbarRight + column + SizeOf(status_).cx));
    right = std::max(right, margin + static_cast<int>(SizeOf(strips_).cx));
    for (RECT& r : rules_) r.right = right;
    RECT want{0, 0, right + margin, bottom + margin};
    AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, want.right - want.left, want.bottom - want.top, SWP_NOZORDER | SWP_NOACTIVATE);

    // The titled dialog beside the window, level with the lower sections.
    dialog_.CreateModeless(hwnd_);
    if (HWND d = dialog_.GetHandle()) {
        RECT wr;
        GetWindowRect(hwnd_, &wr);
        POINT at{0, sectionTop};
        ClientToScreen(hwnd_, &at);
        SetWindowPos(d, nullptr, wr.right + margin, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(d, SW_SHOWNOACTIVATE);
    }
    if (hold_) SetTimer(hwnd_, kHoldTimer, 300, nullptr);
}

// The pixels the screenshot test looks at: "name x y rrggbb" in screen coordinates.
std::vector<std::u16string> GalleryWindow::Checks() const {
    std::vector<std::u16string> out;
    auto hex = [](COLORREF c) {
        char b[8];
        std::snprintf(b, sizeof b, "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
        return PL::FromUtf8(b);
    };
    auto add = [&](const char* name, POINT p, COLORREF c) {
        out.push_back(PL::FromUtf8(name) + u" " + PL::FromUtf8(std::to_string(p.x)) + u" " +
                      PL::FromUtf8(std::to_string(p.y)) + u" " + hex(c));
    };
    // The title strip's rule, in the window-text colour, across the dialog.
    if (HWND strip = dialog_.TitleControl()) {
        POINT p{30, dialog_.TitleHeight() - 1};
        ClientToScreen(strip, &p);
        add("title-rule", p, GetSysColor(COLOR_WINDOWTEXT));
        p = POINT{30, dialog_.TitleHeight() + 1};
        ClientToScreen(strip, &p);
        p.y -= 1;  // just below the strip: the dialog's face
        add("below-rule", p, GetSysColor(COLOR_BTNFACE));
    }
    // The sky picture's background (a bitmap item of the table).
    if (TableLayoutManager* t = const_cast<TableLayoutManager*>(&const_cast<TableControl&>(table_).Table())) {
        UI::Layout::Rect r;
        t->GetItem(2, 2)->GetRect(r);
        POINT p{r.x + 2, r.y + 2};
        ClientToScreen(table_.GetHandle(), &p);
        add("bitmap-item", p, RGB(10, 20, 70));
    }
    // A toolbar button's corner: the window's colour shows through (no grey band).
    if (UI::ButtonItem* b = small_.Button(0)) {
        UI::Layout::Rect r;
        b->GetRect(r);
        POINT p{r.x, r.y};
        ClientToScreen(small_.GetHandle(), &p);
        add("button-see-through", p, GetSysColor(COLOR_WINDOW));
    }
    // The open tooltip: the info background inside its border.
    if (UI::ButtonItem* b = small_.Button(2)) {
        if (UI::TooltipPopupWindow* tip = b->OpenTooltip()) {
            const RECT r = tip->ScreenRect();
            add("tooltip", POINT{r.left + 2, r.top + 2}, UI::InfoBackgroundColor());
        }
    }
    return out;
}

void GalleryWindow::OnCommand(mwcl::MessageRecord& m) {
    if (m.message != WM_NOTIFY) return;
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
    if (hdr->hwndFrom == table_.GetHandle()) {
        // The clickable line names itself by its id.
        if (TableControl::TappedItemId(hdr) == 1) SetStatus(1, kMsgLastLine, T(kMsgRiseSet));
        return;
    }
    UI::LayoutedToolbar* bar = hdr->idFrom == kSmallToolbarId ? &small_ : hdr->idFrom == kLargeToolbarId ? &large_ : nullptr;
    if (!bar) return;
    const int button = bar->ButtonOfNotification(hdr);
    if (button < 0) return;
    // Show which button fired; the reference button toggles its checked look.
    if (button == 9) {
        const bool on = !bar->Button(9)->IsChecked();
        small_.CheckButton(9, on);
        large_.CheckButton(9, on);
    }
    SetStatus(0, kMsgLastButton, T(kTooltips[button]));
}

void GalleryWindow::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_TIMER:
        if (m.wParam == kHoldTimer) {
            // Hold the stylus on "Show object in sky" until its tooltip opens.
            KillTimer(hwnd_, kHoldTimer);
            UI::Layout::Rect r;
            small_.Button(2)->GetRect(r);
            POINT p{r.x + r.width / 2, r.y + r.height / 2};
            POINT screen = p;
            ClientToScreen(small_.GetHandle(), &screen);
            SetCursorPos(screen.x, screen.y);
            SendMessageW(small_.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            return;
        }
        mwcl::Frame::HandleMessage(m);
        return;
    case WM_KEYDOWN:
        if (m.wParam == VK_ESCAPE) {
            DestroyWindow(hwnd_);
            return;
        }
        mwcl::Frame::HandleMessage(m);
        return;
    case WM_DESTROY:
        PostQuitMessage(0);
        mwcl::Frame::HandleMessage(m);
        return;
    default:
        mwcl::Frame::HandleMessage(m);
        return;
    }
}

void GalleryWindow::OnPaint(HDC dc, PAINTSTRUCT& ps) {
    // Thin rules between the sections.
    HBRUSH line = CreateSolidBrush(RGB(200, 200, 200));
    for (const RECT& r : rules_) FillRect(dc, &r, line);
    DeleteObject(line);
}

struct Options {
    std::string readyFile;
    int exitAfter = 0;
    bool hold = true;
};

GalleryWindow* g_window = nullptr;
Options g_options;

void CALLBACK OnReady(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_options.readyFile.empty() || !g_window) return;
    // The checks first, then the marker the test waits for.
    const std::string checks = g_options.readyFile + ".checks";
    if (std::FILE* f = std::fopen(checks.c_str(), "w")) {
        for (const std::u16string& line : g_window->Checks()) std::fprintf(f, "%s\n", PL::ToUtf8(line).c_str());
        std::fclose(f);
    }
    if (std::FILE* f = std::fopen(g_options.readyFile.c_str(), "w")) {
        std::fputs("ready\n", f);
        std::fclose(f);
    }
}

void CALLBACK OnExit(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
}

}  // namespace

extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv && i < argc; ++i) {
        const std::u16string a = U16(argv[i]);
        const std::u16string next = i + 1 < argc ? U16(argv[i + 1]) : std::u16string();
        if (a == u"--lang" && !next.empty()) {
            Data::SetUserLangId(next == u"de" ? 0x0407 : 0x0409);
            ++i;
        } else if (a == u"--ready-file" && !next.empty()) {
            g_options.readyFile = PL::ToUtf8(next);
            ++i;
        } else if (a == u"--exit-after" && !next.empty()) {
            g_options.exitAfter = std::atoi(PL::ToUtf8(next).c_str());
            ++i;
        } else if (a == u"--no-hold") {
            g_options.hold = false;
        }
    }
    if (!mwcl::InitApplication(u"celvane-gallery", instance)) return 0;

    static mwcl::WindowClass* cls = new mwcl::WindowClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, GetSysColorBrush(COLOR_WINDOW));
    GalleryWindow* window = new GalleryWindow;
    g_window = window;
    // A main window as the program's: a caption bar the window manager draws.
    window->Create(*cls, nullptr, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    SetWindowTextW(window->GetHandle(), W(T(kMsgTitle)));
    SetWindowPos(window->GetHandle(), nullptr, 0, 0, 100, 100, SWP_NOZORDER);
    window->Build(g_options.hold);
    ShowWindow(window->GetHandle(), SW_SHOW);
    SetTimer(nullptr, 0, 1500, OnReady);
    if (g_options.exitAfter > 0) SetTimer(nullptr, 0, static_cast<UINT>(g_options.exitAfter), OnExit);
    const int code = mwcl::RunMessageLoop(nullptr);
    // Leave at once: the window system is still up, and the exit code must survive.
    ExitProcess(static_cast<UINT>(code));
}
