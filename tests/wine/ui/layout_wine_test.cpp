// The table control and the toolbar, driven with real window messages:
// placement, scrolling, the stylus events of buttons and their tooltips.
#include "tests/wine/ui/ui_test_util.h"

#include "layout/toolbar.h"
#include "winlib/ui_style.h"

#include <algorithm>
#include <memory>
#include <vector>

using uitest::Pump;
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

// The window that hosts the controls and records their notifications.
class Host : public mwcl::Frame {
public:
    void OnCommand(mwcl::MessageRecord& m) override {
        if (m.message != WM_NOTIFY) return;
        const auto* n = reinterpret_cast<const TableControlNotification*>(m.lParam);
        events.push_back(n->event);
        items.push_back(n->item);
        if (toolbar) fired.push_back(toolbar->ButtonOfNotification(&n->hdr));
    }
    std::vector<int> events;
    std::vector<ILayoutItem*> items;
    std::vector<int> fired;
    UI::LayoutedToolbar* toolbar = nullptr;
};

mwcl::WindowClass& HostClass() {
    static mwcl::WindowClass* cls = new mwcl::WindowClass(0, GetSysColorBrush(COLOR_WINDOW));
    return *cls;
}

void Stylus(HWND hwnd, UINT message, int x, int y) {
    // The pointer goes along: the window system's own moves then agree with the messages.
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(hwnd, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

// A shorter hold for the tests; the system's value comes back afterwards.
class ShortHold {
public:
    ShortHold() : old_(GetDoubleClickTime()) { SetDoubleClickTime(120); }
    ~ShortHold() { SetDoubleClickTime(old_); }

private:
    UINT old_;
};

struct ToolbarFixture {
    explicit ToolbarFixture(int x = 10, int y = 10) {
        host.Create(HostClass(), nullptr, WS_POPUP | WS_VISIBLE);
        SetWindowPos(host.GetHandle(), nullptr, x, y, 200, 200, SWP_NOZORDER);
        toolbar.Create(host.GetHandle(), 42, RECT{0, 0, 10, 10}, 3);
        host.toolbar = &toolbar;
        toolbar.SetButton(0, 0, u"Compass View");
        toolbar.SetButton(1, 1, u"Sky View");
        toolbar.SetButton(2, 4, u"Object Info Window", false);
    }
    ~ToolbarFixture() { DestroyWindow(host.GetHandle()); }
    HWND Bar() const { return toolbar.GetHandle(); }
    int Side() const {
        int w = 0, h = 0;
        ImageList_GetIconSize(UI::LayoutedToolbar::StandardNormal(), &w, &h);
        return w;
    }
    Host host;
    UI::LayoutedToolbar toolbar;
};

}  // namespace

TEST(TableControl, FitsItsTableAndPlacesItems) {
    Host host;
    host.Create(HostClass(), nullptr, WS_POPUP | WS_VISIBLE);
    TableControl tc(2, 2, true);
    Block* a = new Block(30, 10);
    Block* b = new Block(20, 25);
    tc.Table().SetItem(0, 0, a);
    tc.Table().SetItem(1, 1, b);
    tc.Table().SetColumnMargins(1, 4, 2);
    tc.Create(host.GetHandle(), 7, RECT{5, 5, 6, 6}, TableControl::kFitTable);
    const SIZE s = mwcl::GetClientSize(tc.GetHandle());
    EXPECT_EQ(s.cx, 30 + 4 + 20 + 2);
    EXPECT_EQ(s.cy, 10 + 25);
    EXPECT_EQ(b->R().x, 34);
    EXPECT_EQ(b->R().y, 10);
    // The stylus on b: press and release reach it and the parent hears of both.
    Stylus(tc.GetHandle(), WM_LBUTTONDOWN, 40, 20);
    Stylus(tc.GetHandle(), WM_LBUTTONUP, 40, 20);
    ASSERT_GE(host.events.size(), 2u);
    EXPECT_EQ(host.events[host.events.size() - 2], kEventPress);
    EXPECT_EQ(host.events.back(), kEventRelease);
    EXPECT_EQ(tc.Table().CapturedItem(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(host.GetHandle());
}

TEST(TableControl, ScrollsALargerTable) {
    Host host;
    host.Create(HostClass(), nullptr, WS_POPUP | WS_VISIBLE);
    SetWindowPos(host.GetHandle(), nullptr, 0, 0, 400, 400, SWP_NOZORDER);
    TableControl tc(10, 3, true);
    std::vector<Block*> blocks;
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 3; ++c) {
            blocks.push_back(new Block(100, 50));
            tc.Table().SetItem(r, c, blocks.back());
        }
    tc.Create(host.GetHandle(), 8, RECT{0, 0, 200, 150}, TableControl::kScroll);
    HWND hwnd = tc.GetHandle();
    const SIZE s = mwcl::GetClientSize(hwnd);
    // Both bars: each page is the window less the other bar.
    EXPECT_EQ(s.cx, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(s.cy, 150 - GetSystemMetrics(SM_CYHSCROLL));
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
    EXPECT_EQ(tc.VerticalPosition(), 20);
    EXPECT_EQ(blocks[0]->R().y, -20);
    SendMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(tc.HorizontalPosition(), 40);
    EXPECT_EQ(blocks[1]->R().x, 60);
    SendMessageW(hwnd, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(tc.VerticalPosition(), 500 - s.cy);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    // The stylus meets the item that is shown there: (10, 10) is table (50, 500 - cy + 10).
    Stylus(hwnd, WM_LBUTTONDOWN, 10, 10);
    Stylus(hwnd, WM_LBUTTONUP, 10, 10);
    const int row = (500 - s.cy + 10) / 50;
    EXPECT_EQ(tc.Table().HoveredItem(), blocks[static_cast<size_t>(row * 3)]);
    DestroyWindow(host.GetHandle());
}

TEST(TableControl, AScrollingTableReachesItsLastPixelTakesTheFocusAndFollowsTheWheel) {
    Host host;
    host.Create(HostClass(), nullptr, WS_POPUP | WS_VISIBLE);
    SetWindowPos(host.GetHandle(), nullptr, 0, 0, 400, 400, SWP_NOZORDER);
    TableControl tc(10, 1, true);
    for (int r = 0; r < 10; ++r) tc.Table().SetItem(r, 0, new Block(100, 50));
    // A border takes pixels from the client area: the page is what is shown.
    tc.Create(host.GetHandle(), 9, RECT{0, 0, 150, 200}, TableControl::kScroll, WS_BORDER);
    HWND hwnd = tc.GetHandle();
    const SIZE client = mwcl::GetClientSize(hwnd);
    SendMessageW(hwnd, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(tc.VerticalPosition() + client.cy, 500);
    SendMessageW(hwnd, WM_VSCROLL, SB_TOP, 0);

    // A tap gives it the keyboard (and so the wheel).
    SetFocus(host.GetHandle());
    Stylus(hwnd, WM_LBUTTONDOWN, 5, 5);
    Stylus(hwnd, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(GetFocus(), hwnd);
    // One notch down is three 20-pixel lines; half notches add up.
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(20, 20));
    EXPECT_EQ(tc.VerticalPosition(), 60);
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), MAKELPARAM(20, 20));
    EXPECT_EQ(tc.VerticalPosition(), 60);
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), MAKELPARAM(20, 20));
    EXPECT_EQ(tc.VerticalPosition(), 0);
    DestroyWindow(host.GetHandle());
}

TEST(TableControl, ItemsDrawWhereTheyArePlaced) {
    TableLayoutManager t(3, 2, true);
    HBITMAP red = CreateBitmap(8, 6, 1, 32, nullptr);
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, red);
        RECT r{0, 0, 8, 6};
        HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &r, b);
        DeleteObject(b);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    TextItem* text = new TextItem(u"Mg", UI::BoldFont(), RGB(0, 0, 0));
    t.SetItem(0, 0, text);
    t.SetItem(0, 1, BitmapItem::FromBitmap(red, true));
    t.SetItem(1, 0, new UI::ObjInfo::SeparatorLineItem(1, UI::kDefaultColor, 10), 1, 2);
    t.SetRowMinimum(1, 5);
    t.SetItem(2, 1, new Block(4, 4, RGB(0, 0, 255)));
    int32_t w = 0, h = 0;
    t.Layout(w, h);
    Rect tr, br;
    text->GetRect(tr);
    t.GetItem(0, 1)->GetRect(br);
    ASSERT_GT(tr.width, 0);

    // Draw into a white picture and look.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD* px = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&px), nullptr, 0);
    HGDIOBJ old = SelectObject(dc, canvas);
    PatBlt(dc, 0, 0, w, h, WHITENESS);
    DrawRecursive(t, dc, Rect{0, 0, w, h});
    GdiFlush();
    auto at = [&](int x, int y) { return px[y * w + x] & 0xffffff; };
    EXPECT_EQ(at(br.x + 1, br.y + 1), 0xff0000u);  // red bitmap
    EXPECT_EQ(at(br.x + 7, br.y + 5), 0xff0000u);
    int dark = 0;
    for (int y = tr.y; y < tr.y + tr.height; ++y)
        for (int x = tr.x; x < tr.x + tr.width; ++x) dark += at(x, y) == 0;
    EXPECT_GT(dark, 5);  // the text's ink
    const int ruleY = t.Row(0).end + 2;  // middle of the five-pixel row
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_EQ(at(0, ruleY), static_cast<DWORD>(GetRValue(ink) << 16 | GetGValue(ink) << 8 | GetBValue(ink)));
    EXPECT_EQ(at(0, ruleY - 1), 0xffffffu);
    EXPECT_EQ(at(w - 1, ruleY), at(0, ruleY));  // across both columns
    EXPECT_EQ(at(w - 1, h - 1), 0x0000ffu);     // the blue block fills its cell
    // A clip that misses an item leaves it out.
    PatBlt(dc, 0, 0, w, h, WHITENESS);
    DrawRecursive(t, dc, Rect{0, h - 2, w, 2});
    GdiFlush();
    EXPECT_EQ(at(br.x + 1, br.y + 1), 0xffffffu);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}

#ifdef CELVANE_HAVE_BITMAPS

TEST(Toolbar, PressSlideOffSlideBackAndReleaseFires) {
    ToolbarFixture f;
    const int s = f.Side();
    ASSERT_EQ(s, 16);
    EXPECT_EQ(mwcl::GetClientSize(f.Bar()).cx, 3 * s);
    UI::ButtonItem* sky = f.toolbar.Button(1);
    ASSERT_NE(sky, nullptr);
    HIMAGELIST list;
    int index;

    Stylus(f.Bar(), WM_LBUTTONDOWN, s + 4, 8);
    EXPECT_EQ(sky->State(), UI::ButtonItem::kArmed);
    sky->CurrentImage(list, index);
    EXPECT_EQ(list, UI::LayoutedToolbar::StandardArmed());
    EXPECT_EQ(index, 1);
    Stylus(f.Bar(), WM_MOUSEMOVE, 150, 8);
    EXPECT_EQ(sky->State(), UI::ButtonItem::kPressedOutside);
    sky->CurrentImage(list, index);
    EXPECT_EQ(list, UI::LayoutedToolbar::StandardNormal());
    Stylus(f.Bar(), WM_MOUSEMOVE, s + 6, 9);
    EXPECT_EQ(sky->State(), UI::ButtonItem::kArmed);
    Stylus(f.Bar(), WM_LBUTTONUP, s + 6, 9);
    ASSERT_FALSE(f.host.fired.empty());
    EXPECT_EQ(f.host.fired.back(), 1);
    EXPECT_EQ(f.host.events.back(), kEventRelease);
    EXPECT_EQ(sky->State(), UI::ButtonItem::kIdle);

    // Press, slide off, release off: nothing fires.
    f.host.fired.clear();
    Stylus(f.Bar(), WM_LBUTTONDOWN, 4, 8);
    Stylus(f.Bar(), WM_MOUSEMOVE, 4, 80);
    Stylus(f.Bar(), WM_LBUTTONUP, 4, 80);
    for (int fired : f.host.fired) EXPECT_EQ(fired, -1);
    // Pressed on one button, released on another: neither fires.
    f.host.fired.clear();
    Stylus(f.Bar(), WM_LBUTTONDOWN, 4, 8);
    Stylus(f.Bar(), WM_MOUSEMOVE, s + 4, 8);
    Stylus(f.Bar(), WM_LBUTTONUP, s + 4, 8);
    for (int fired : f.host.fired) EXPECT_EQ(fired, -1);
    // Two quick taps are two presses (no double click on a toolbar).
    f.host.fired.clear();
    for (int i = 0; i < 2; ++i) {
        Stylus(f.Bar(), WM_LBUTTONDOWN, 4, 8);
        Stylus(f.Bar(), WM_LBUTTONUP, 4, 8);
    }
    EXPECT_EQ(std::count(f.host.fired.begin(), f.host.fired.end(), 0), 2);
}

TEST(Toolbar, HoldShowsTheTooltipAndSuppressesTheFire) {
    ShortHold hold;
    ToolbarFixture f(100, 100);
    const int s = f.Side();
    UI::ButtonItem* compass = f.toolbar.Button(0);
    EXPECT_EQ(f.toolbar.TooltipSide(), UI::kTooltipBelow);
    Stylus(f.Bar(), WM_LBUTTONDOWN, 5, 5);
    Pump(400);  // the hold timer fires
    std::string seen;
    for (int e : f.host.events) seen += std::to_string(e) + " ";
    ASSERT_NE(compass->OpenTooltip(), nullptr) << seen << " state " << compass->State();
    HWND tip = compass->OpenTooltip()->GetHandle();
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropW(tip, W(u"mwclActivateable"))), 0u);
    const RECT r = compass->OpenTooltip()->ScreenRect();
    POINT b{0, s};
    ClientToScreen(f.Bar(), &b);
    EXPECT_EQ(r.left, b.x);  // below the button, at its left edge
    EXPECT_EQ(r.top, b.y);
    EXPECT_GT(r.right - r.left, 2 + UI::LineHeight() / 2);
    EXPECT_NE(std::find(f.host.events.begin(), f.host.events.end(), kEventHold), f.host.events.end());
    f.host.fired.clear();
    Stylus(f.Bar(), WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(compass->OpenTooltip(), nullptr);
    EXPECT_FALSE(IsWindow(tip));
    for (int fired : f.host.fired) EXPECT_EQ(fired, -1);
}

TEST(Toolbar, ADisabledButtonNeverFiresButShowsItsTooltip) {
    ShortHold hold;
    ToolbarFixture f;
    const int s = f.Side();
    UI::ButtonItem* info = f.toolbar.Button(2);
    HIMAGELIST list;
    int index;
    info->CurrentImage(list, index);
    EXPECT_EQ(list, UI::LayoutedToolbar::StandardDisabled());
    EXPECT_EQ(index, 4);
    Stylus(f.Bar(), WM_LBUTTONDOWN, 2 * s + 3, 3);
    Stylus(f.Bar(), WM_LBUTTONUP, 2 * s + 3, 3);
    EXPECT_EQ(f.host.fired.back(), -1);
    Stylus(f.Bar(), WM_LBUTTONDOWN, 2 * s + 3, 3);
    Pump(400);
    EXPECT_NE(info->OpenTooltip(), nullptr);
    Stylus(f.Bar(), WM_LBUTTONUP, 2 * s + 3, 3);
    EXPECT_EQ(f.host.fired.back(), -1);
    // Enabled again, it fires; a checked button looks pressed until pressed again.
    f.toolbar.EnableButton(2, true);
    f.toolbar.CheckButton(2, true);
    info->CurrentImage(list, index);
    EXPECT_EQ(list, UI::LayoutedToolbar::StandardArmed());
    Stylus(f.Bar(), WM_LBUTTONDOWN, 2 * s + 3, 3);
    info->CurrentImage(list, index);
    EXPECT_EQ(list, UI::LayoutedToolbar::StandardNormal());
    Stylus(f.Bar(), WM_LBUTTONUP, 2 * s + 3, 3);
    EXPECT_EQ(f.host.fired.back(), 2);
    // A new button replaces the cell's old one.
    f.toolbar.SetButton(2, 5, u"Search");
    EXPECT_NE(f.toolbar.Button(2), nullptr);
    EXPECT_EQ(f.toolbar.Button(2)->Tooltip(), u"Search");
    f.toolbar.SetButton(1, -1, u"");
    EXPECT_EQ(f.toolbar.Button(1), nullptr);
}

TEST(Toolbar, AButtonWithoutTooltipTextFiresAfterAHold) {
    // Nothing to show: holding such a button opens no (empty) popup, so the
    // press still fires when the stylus is lifted on it.
    ShortHold hold;
    ToolbarFixture f;
    const int s = f.Side();
    f.toolbar.SetButton(1, 1, u"");
    UI::ButtonItem* plain = f.toolbar.Button(1);
    ASSERT_NE(plain, nullptr);
    f.host.fired.clear();
    Stylus(f.Bar(), WM_LBUTTONDOWN, s + 4, 8);
    Pump(400);
    EXPECT_NE(std::find(f.host.events.begin(), f.host.events.end(), kEventHold), f.host.events.end());
    EXPECT_EQ(plain->OpenTooltip(), nullptr);
    Stylus(f.Bar(), WM_LBUTTONUP, s + 4, 8);
    ASSERT_FALSE(f.host.fired.empty());
    EXPECT_EQ(f.host.fired.back(), 1);
}

TEST(Toolbar, AVerticalToolbarAtTheRightEdgeShowsTooltipsToTheLeft) {
    ShortHold hold;
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    ToolbarFixture f;
    f.toolbar.SetVertical(true);
    const int s = f.Side();
    EXPECT_EQ(f.toolbar.Table().RowCount(), 3);
    EXPECT_EQ(f.toolbar.TooltipSide(), UI::kTooltipRight);
    EXPECT_EQ(f.toolbar.Button(1)->TooltipSide(), UI::kTooltipRight);
    const SIZE size = mwcl::GetClientSize(f.Bar());
    EXPECT_EQ(size.cx, s);
    EXPECT_EQ(size.cy, 3 * s);
    SetWindowPos(f.host.GetHandle(), nullptr, screenW - s, 50, s, 3 * s, SWP_NOZORDER);
    Stylus(f.Bar(), WM_LBUTTONDOWN, 3, s + 3);
    Pump(400);
    ASSERT_NE(f.toolbar.Button(1)->OpenTooltip(), nullptr);
    const RECT r = f.toolbar.Button(1)->OpenTooltip()->ScreenRect();
    POINT b{0, s};
    ClientToScreen(f.Bar(), &b);
    EXPECT_EQ(r.right, b.x);  // ends where the button starts
    EXPECT_EQ(r.top, b.y);
    Stylus(f.Bar(), WM_LBUTTONUP, 3, s + 3);
    // Back to one row: tooltips below again.
    f.toolbar.SetVertical(false);
    EXPECT_EQ(f.toolbar.TooltipSide(), UI::kTooltipBelow);
    EXPECT_EQ(f.toolbar.Button(2)->TooltipSide(), UI::kTooltipBelow);
}

TEST(Toolbar, LosingTheCaptureInAnyWayEndsThePress) {
    ShortHold hold;
    ToolbarFixture f;
    const int s = f.Side();
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
        HIMAGELIST list;
        int index;
        sky->CurrentImage(list, index);
        EXPECT_EQ(list, UI::LayoutedToolbar::StandardNormal()) << way;
        // Passing over the button afterwards arms nothing; a stray release fires nothing.
        if (GetCapture()) ReleaseCapture();
        SendMessageW(f.Bar(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(s + 5, 9));
        EXPECT_EQ(sky->State(), UI::ButtonItem::kIdle) << way;
        SendMessageW(f.Bar(), WM_LBUTTONUP, 0, MAKELPARAM(s + 5, 9));
        for (int fired : f.host.fired) EXPECT_EQ(fired, -1) << way;
    }
}

TEST(Toolbar, AMouseRestingOnAButtonShowsItsTooltip) {
    // A shorter hover time for the test; the system's comes back afterwards.
    UINT oldHover = 0;
    SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &oldHover, 0);
    SystemParametersInfoW(SPI_SETMOUSEHOVERTIME, 100, nullptr, 0);
    ToolbarFixture f(100, 100);
    const int s = f.Side();
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
    // On to the next button: the first tooltip goes, the next comes after the hover time.
    hover(s + 4);
    EXPECT_EQ(f.toolbar.Button(0)->OpenTooltip(), nullptr);
    Pump(400);
    ASSERT_NE(f.toolbar.Button(1)->OpenTooltip(), nullptr);
    // A click closes it and fires as always.
    f.host.fired.clear();
    SendMessageW(f.Bar(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(s + 4, 5));
    EXPECT_EQ(f.toolbar.Button(1)->OpenTooltip(), nullptr);
    SendMessageW(f.Bar(), WM_LBUTTONUP, 0, MAKELPARAM(s + 4, 5));
    ASSERT_FALSE(f.host.fired.empty());
    EXPECT_EQ(f.host.fired.back(), 1);
    // The mouse leaving the toolbar takes the tooltip away.
    hover(4);
    Pump(400);
    ASSERT_NE(f.toolbar.Button(0)->OpenTooltip(), nullptr);
    SendMessageW(f.Bar(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(f.toolbar.Button(0)->OpenTooltip(), nullptr);
    SystemParametersInfoW(SPI_SETMOUSEHOVERTIME, oldHover, nullptr, 0);
}

#endif  // CELVANE_HAVE_BITMAPS
