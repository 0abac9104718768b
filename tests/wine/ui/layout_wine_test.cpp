// The table control and the toolbar, driven with real window messages:
// placement, scrolling, drawing, the stylus events of buttons and their tooltips.
#include "tests/wine/ui/ui_test_util.h"

#include "winlib/ui_style.h"

#include <algorithm>
#include <vector>

using uitest::Host;
using uitest::Pump;
using uitest::Stylus;
using uitest::Tap;
using namespace UI::Layout;

namespace {

// A block of one colour.
class Block : public ItemBase, public DrawableItem {
public:
    Block(int32_t w, int32_t h, COLORREF c = RGB(255, 0, 0)) : w_(w), h_(h), c_(c) {}
    void GetSize(int32_t& w, int32_t& h) override {
        w = w_;
        h = h_;
    }
    void Draw(HDC dc) override {
        RECT r{rect_.x, rect_.y, rect_.x + rect_.width, rect_.y + rect_.height};
        HBRUSH b = CreateSolidBrush(c_);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    Rect R() const { return rect_; }

private:
    int32_t w_, h_;
    COLORREF c_;
};

// A shorter hold for the tests; the system's value comes back afterwards.
class ShortHold {
public:
    ShortHold() : old_(GetDoubleClickTime()) { SetDoubleClickTime(120); }
    ~ShortHold() { SetDoubleClickTime(old_); }

private:
    UINT old_;
};

// A toolbar of three buttons (the third disabled) at the top left of a host.
struct ToolbarFixture {
    explicit ToolbarFixture(int x = 10, int y = 10) : host(x, y, 200, 200) {
        toolbar.Create(host.GetHandle(), 42, RECT{0, 0, 10, 10}, 3);
        host.toolbar = &toolbar;
        toolbar.SetButton(0, 0, u"Compass View");
        toolbar.SetButton(1, 1, u"Sky View");
        toolbar.SetButton(2, 4, u"Object Info Window", false);
        int h = 0;
        ImageList_GetIconSize(UI::LayoutedToolbar::StandardNormal(), &s, &h);
    }
    HWND Bar() const { return toolbar.GetHandle(); }
    HIMAGELIST ListOf(int button) const {
        HIMAGELIST list = nullptr;
        int index = 0;
        toolbar.Button(button)->CurrentImage(list, index);
        return list;
    }
    bool NoneFired() const { return std::all_of(host.fired.begin(), host.fired.end(), [](int b) { return b == -1; }); }
    bool Held() const { return std::count(host.events.begin(), host.events.end(), kEventHold) > 0; }
    Host host;
    UI::LayoutedToolbar toolbar;
    int s = 0;  // the buttons' side
};

}  // namespace

TEST(TableControl, ScrollsALargerTableToItsLastPixelAndFollowsTheWheel) {
    Host host(0, 0, 400, 400);
    TableControl tc(10, 3, true);
    std::vector<Block*> blocks;
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 3; ++c) {
            blocks.push_back(new Block(100, 50));
            tc.Table().SetItem(r, c, blocks.back());
        }
    // A border takes pixels from the client area: each page is what is shown.
    tc.Create(host.GetHandle(), 8, RECT{0, 0, 200, 150}, TableControl::kScroll, WS_BORDER);
    HWND hwnd = tc.GetHandle();
    const SIZE s = mwcl::GetClientSize(hwnd);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd, SB_HORZ, &si);
    EXPECT_EQ(si.nMax, 299);
    EXPECT_EQ(static_cast<int>(si.nPage), s.cx);
    GetScrollInfo(hwnd, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 499);
    EXPECT_EQ(static_cast<int>(si.nPage), s.cy);

    SendMessageW(hwnd, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(blocks[0]->R().y, -20);
    SendMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(tc.HorizontalPosition(), 40);
    EXPECT_EQ(blocks[1]->R().x, 60);
    SendMessageW(hwnd, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(tc.VerticalPosition() + s.cy, 500);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    // The stylus meets the item that is shown there; the tap gives the table the keyboard (and the wheel).
    SetFocus(host.GetHandle());
    Tap(hwnd, 10, 10);
    EXPECT_EQ(tc.Table().HoveredItem(), blocks[static_cast<size_t>((500 - s.cy + 10) / 50 * 3)]);
    EXPECT_EQ(GetFocus(), hwnd);
    // One notch up is three 20-pixel lines; half notches add up.
    SendMessageW(hwnd, WM_VSCROLL, SB_TOP, 0);
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(20, 20));
    EXPECT_EQ(tc.VerticalPosition(), 60);
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), MAKELPARAM(20, 20));
    EXPECT_EQ(tc.VerticalPosition(), 60);
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), MAKELPARAM(20, 20));
    EXPECT_EQ(tc.VerticalPosition(), 0);
}

TEST(DrawnItems, EachDrawsInItsPlaceRulesTakeTheirWidthAndColourMagentaIsSeeThrough) {
    // A 4 x 4 picture: magenta around a red 2 x 2 middle.
    uitest::Canvas pic(4, 4, kMagenta);
    pic.Fill(RECT{1, 1, 3, 3}, RGB(255, 0, 0));

    TableLayoutManager t(5, 2, true);
    TextItem* text = new TextItem(u"Mg", UI::BoldFont(), RGB(0, 0, 0));
    t.SetItem(0, 0, text);
    t.SetItem(0, 1, new BitmapItem(pic.Dc(), false, kMagenta));
    t.SetRowMinimum(1, 5);
    t.SetItem(1, 0, new UI::ObjInfo::SeparatorLineItem(), 1, 2);
    t.SetRowMinimum(2, 9);
    t.SetItem(2, 0, new UI::ObjInfo::SeparatorLineItem(3, RGB(0, 160, 0), 40), 1, 2);
    t.SetItem(3, 0, BitmapItem::FromBitmap(nullptr, true));  // empty: no room, no drawing
    t.SetItem(4, 1, new Block(4, 4, RGB(0, 0, 255)));
    int32_t w = 0, h = 0;
    t.Layout(w, h);
    Rect tr, br;
    text->GetRect(tr);
    t.GetItem(0, 1)->GetRect(br);
    ASSERT_GT(tr.width, 0);
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, t.Row(0).end + 5 + 9 + 4);

    const COLORREF white = RGB(255, 255, 255);
    uitest::Canvas c(w, h, white);
    DrawRecursive(t, c.Dc(), Rect{0, 0, w, h});
    EXPECT_EQ(c.At(br.x, br.y), white);  // magenta lets the paper show
    EXPECT_EQ(c.At(br.x + 3, br.y + 3), white);
    EXPECT_EQ(c.At(br.x + 1, br.y + 1), RGB(255, 0, 0));
    int dark = 0;
    for (int y = tr.y; y < tr.y + tr.height; ++y)
        for (int x = tr.x; x < tr.x + tr.width; ++x) dark += c.At(x, y) == RGB(0, 0, 0);
    EXPECT_GT(dark, 5);  // the text's ink
    // The default rule: one line of the window-text colour in the middle of its row, across both columns.
    const int ruleY = t.Row(0).end + 2;
    EXPECT_EQ(c.At(0, ruleY), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(c.At(w - 1, ruleY), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(c.At(0, ruleY - 1), white);
    // The wide rule: three rows in the middle of its nine.
    for (int y = 0; y < 9; ++y) EXPECT_EQ(c.At(w - 1, t.Row(1).end + y), (y >= 3 && y <= 5) ? RGB(0, 160, 0) : white) << y;
    EXPECT_EQ(c.At(w - 1, h - 1), RGB(0, 0, 255));  // the blue block fills its cell
}

#ifdef CELVANE_HAVE_BITMAPS

TEST(Toolbar, PressSlideOffSlideBackAndReleaseFires) {
    ToolbarFixture f;
    const int s = f.s;
    ASSERT_EQ(s, 16);
    EXPECT_EQ(mwcl::GetClientSize(f.Bar()).cx, 3 * s);
    UI::ButtonItem* sky = f.toolbar.Button(1);
    Stylus(f.Bar(), WM_LBUTTONDOWN, s + 4, 8);
    EXPECT_EQ(sky->State(), UI::ButtonItem::kArmed);
    EXPECT_EQ(f.ListOf(1), UI::LayoutedToolbar::StandardArmed());
    Stylus(f.Bar(), WM_MOUSEMOVE, 150, 8);
    EXPECT_EQ(sky->State(), UI::ButtonItem::kPressedOutside);
    EXPECT_EQ(f.ListOf(1), UI::LayoutedToolbar::StandardNormal());
    Stylus(f.Bar(), WM_MOUSEMOVE, s + 6, 9);
    EXPECT_EQ(sky->State(), UI::ButtonItem::kArmed);
    Stylus(f.Bar(), WM_LBUTTONUP, s + 6, 9);
    ASSERT_FALSE(f.host.fired.empty());
    EXPECT_EQ(f.host.fired.back(), 1);
    EXPECT_EQ(sky->State(), UI::ButtonItem::kIdle);

    // Released off the toolbar, or pressed on one button and released on another: nothing fires.
    for (const POINT off : {POINT{4, 80}, POINT{s + 4, 8}}) {
        f.host.fired.clear();
        Stylus(f.Bar(), WM_LBUTTONDOWN, 4, 8);
        Stylus(f.Bar(), WM_MOUSEMOVE, off.x, off.y);
        Stylus(f.Bar(), WM_LBUTTONUP, off.x, off.y);
        EXPECT_TRUE(f.NoneFired()) << off.x;
    }
}

// A hold opens the button's tooltip below it, and the release then closes it
// and fires nothing; a button without text opens no (empty) popup, so its
// press still fires; a disabled button shows its tooltip and never fires.
TEST(Toolbar, HoldShowsTheTooltipAndSuppressesTheFireUnlessThereIsNoText) {
    ShortHold hold;
    ToolbarFixture f(100, 100);
    f.toolbar.SetButton(1, 1, u"");
    const struct {
        int button;
        bool tip, fires;
    } cases[] = {{0, true, false}, {1, false, true}, {2, true, false}};
    for (const auto& c : cases) {
        UI::ButtonItem* button = f.toolbar.Button(c.button);
        const int x = c.button * f.s + 4;
        f.host.events.clear();
        f.host.fired.clear();
        Stylus(f.Bar(), WM_LBUTTONDOWN, x, 5);
        Pump(400);  // the hold timer fires
        EXPECT_TRUE(f.Held()) << c.button;
        ASSERT_EQ(button->OpenTooltip() != nullptr, c.tip) << c.button << " state " << button->State();
        HWND tip = c.tip ? button->OpenTooltip()->GetHandle() : nullptr;
        if (tip) {
            EXPECT_TRUE(IsWindowVisible(tip));
            EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropW(tip, W(u"mwclActivateable"))), 0u);
            const RECT r = button->OpenTooltip()->ScreenRect();
            POINT b{c.button * f.s, f.s};
            ClientToScreen(f.Bar(), &b);
            EXPECT_EQ(r.left, b.x);  // below the button, at its left edge
            EXPECT_EQ(r.top, b.y);
        }
        Stylus(f.Bar(), WM_LBUTTONUP, x, 5);
        EXPECT_EQ(button->OpenTooltip(), nullptr) << c.button;
        EXPECT_FALSE(tip && IsWindow(tip)) << c.button;
        EXPECT_EQ(std::count(f.host.fired.begin(), f.host.fired.end(), c.button), c.fires ? 1 : 0) << c.button;
    }
}

TEST(Toolbar, LosingTheCaptureInAnyWayEndsThePress) {
    ShortHold hold;
    ToolbarFixture f;
    const int s = f.s;
    UI::ButtonItem* sky = f.toolbar.Button(1);
    // Released to no window (a message box, Alt+Tab), cancelled, taken by another window.
    for (int way = 0; way < 3; ++way) {
        f.host.fired.clear();
        Stylus(f.Bar(), WM_LBUTTONDOWN, s + 4, 8);
        ASSERT_EQ(sky->State(), UI::ButtonItem::kArmed);
        ASSERT_EQ(GetCapture(), f.Bar());
        if (way == 0)
            ReleaseCapture();
        else if (way == 1)
            SendMessageW(f.Bar(), WM_CANCELMODE, 0, 0);
        else
            SetCapture(f.host.GetHandle());
        Pump(400);  // a hold timer still running would open the tooltip now
        EXPECT_EQ(sky->OpenTooltip(), nullptr) << way;
        EXPECT_EQ(sky->State(), UI::ButtonItem::kIdle) << way;
        EXPECT_EQ(f.ListOf(1), UI::LayoutedToolbar::StandardNormal()) << way;
        // Passing over the button afterwards arms nothing; a stray release fires nothing.
        if (GetCapture()) ReleaseCapture();
        SendMessageW(f.Bar(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(s + 5, 9));
        EXPECT_EQ(sky->State(), UI::ButtonItem::kIdle) << way;
        SendMessageW(f.Bar(), WM_LBUTTONUP, 0, MAKELPARAM(s + 5, 9));
        EXPECT_TRUE(f.NoneFired()) << way;
    }
}

TEST(Toolbar, AMouseRestingOnAButtonShowsItsTooltip) {
    // A shorter hover time for the test; the system's comes back afterwards.
    UINT oldHover = 0;
    SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &oldHover, 0);
    SystemParametersInfoW(SPI_SETMOUSEHOVERTIME, 100, nullptr, 0);
    ToolbarFixture f(100, 100);
    auto hover = [&](int x) {
        POINT p{x, 5};
        ClientToScreen(f.Bar(), &p);
        SetCursorPos(p.x, p.y);
        SendMessageW(f.Bar(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 5));
    };
    hover(4);
    EXPECT_EQ(f.toolbar.Button(0)->OpenTooltip(), nullptr);  // not before the hover time
    Pump(400);
    ASSERT_NE(f.toolbar.Button(0)->OpenTooltip(), nullptr);
    // The mouse leaving the toolbar takes the tooltip away.
    SendMessageW(f.Bar(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(f.toolbar.Button(0)->OpenTooltip(), nullptr);
    SystemParametersInfoW(SPI_SETMOUSEHOVERTIME, oldHover, nullptr, 0);
}

#endif  // CELVANE_HAVE_BITMAPS
