// What the views build on, driven with real window messages: clickable
// texts that name themselves in the notification, see-through pictures,
// rules of any width and colour, the key data of key messages, the slider's
// steps and the list's check boxes.
#include "tests/wine/ui/ui_test_util.h"

#include "layout/table_control.h"
#include "winlib/controls.h"
#include "winlib/ui_style.h"

#include <vector>

using uitest::Canvas;
using uitest::Pump;
using namespace UI::Layout;

namespace {

class Host : public mwcl::Frame {
public:
    void OnCommand(mwcl::MessageRecord& m) override {
        if (m.message == WM_NOTIFY) tapped.push_back(TableControl::TappedItemId(reinterpret_cast<const NMHDR*>(m.lParam)));
    }
    bool OnKey(const mwcl::MessageRecord& m, const mwcl::KeyData& k) override {
        keys.push_back(k);
        return true;
    }
    std::vector<int> tapped;
    std::vector<mwcl::KeyData> keys;
};

mwcl::WindowClass& HostClass() {
    static mwcl::WindowClass* cls = new mwcl::WindowClass(0, GetSysColorBrush(COLOR_WINDOW));
    return *cls;
}

void Send(HWND hwnd, UINT message, int x, int y) {
    SendMessageW(hwnd, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

int Last(const std::vector<int>& v) { return v.empty() ? -2 : v.back(); }

}  // namespace

TEST(ClickableText, ATapNamesTheItemInTheNotification) {
    Host host;
    host.Create(HostClass(), nullptr, WS_POPUP | WS_VISIBLE);
    TableControl tc(3, 1, true);
    tc.Table().SetItem(0, 0, new ClickableTextItem(11, u"21.03.2026 21:30", UI::NormalFont(), UI::TextColor()));
    tc.Table().SetItem(1, 0, new ClickableTextItem(12, u"Greenwich, UT+0", UI::NormalFont(), UI::TextColor()));
    tc.Table().SetItem(2, 0, new TextItem(u"Moon", UI::NormalFont(), UI::TextColor()));
    tc.Create(host.GetHandle(), 5, RECT{0, 0, 1, 1}, TableControl::kFitTable);
    HWND hwnd = tc.GetHandle();
    Rect r0, r1, r2;
    tc.Table().GetItem(0, 0)->GetRect(r0);
    tc.Table().GetItem(1, 0)->GetRect(r1);
    tc.Table().GetItem(2, 0)->GetRect(r2);
    const int y0 = r0.y + 2, y1 = r1.y + 2, y2 = r2.y + 2;

    Send(hwnd, WM_LBUTTONDOWN, 3, y1);
    EXPECT_TRUE(dynamic_cast<ClickableTextItem*>(tc.Table().GetItem(1, 0))->Armed());
    Send(hwnd, WM_LBUTTONUP, 3, y1);
    EXPECT_EQ(Last(host.tapped), 12);
    // Off and back on still taps; pressed on one line and lifted on another does not.
    Send(hwnd, WM_LBUTTONDOWN, 3, y0);
    Send(hwnd, WM_MOUSEMOVE, 3, y2);
    Send(hwnd, WM_MOUSEMOVE, 3, y0);
    Send(hwnd, WM_LBUTTONUP, 3, y0);
    EXPECT_EQ(Last(host.tapped), 11);
    Send(hwnd, WM_LBUTTONDOWN, 3, y0);
    Send(hwnd, WM_MOUSEMOVE, 3, y1);
    Send(hwnd, WM_LBUTTONUP, 3, y1);
    EXPECT_EQ(Last(host.tapped), -1);
    // A lost capture taps nothing; a plain text never does.
    Send(hwnd, WM_LBUTTONDOWN, 3, y0);
    ReleaseCapture();
    Send(hwnd, WM_LBUTTONUP, 3, y0);
    EXPECT_EQ(Last(host.tapped), -1);
    Send(hwnd, WM_LBUTTONDOWN, 3, y2);
    Send(hwnd, WM_LBUTTONUP, 3, y2);
    EXPECT_EQ(Last(host.tapped), -1);
    DestroyWindow(host.GetHandle());
}

TEST(DrawnItems, MagentaIsSeeThroughAndRulesTakeTheirWidthAndColour) {
    // A 4 x 4 picture: magenta around a red 2 x 2 middle.
    HDC screen = GetDC(nullptr);
    HBITMAP pic = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, pic);
        RECT all{0, 0, 4, 4}, mid{1, 1, 3, 3};
        HBRUSH m = CreateSolidBrush(kMagenta), red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &all, m);
        FillRect(dc, &mid, red);
        DeleteObject(m);
        DeleteObject(red);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    TableLayoutManager t(3, 1, true);
    t.SetItem(0, 0, BitmapItem::FromBitmap(pic, true, kMagenta));
    t.SetRowMinimum(1, 9);
    t.SetItem(1, 0, new UI::ObjInfo::SeparatorLineItem(3, RGB(0, 160, 0), 20));
    BitmapItem* none = BitmapItem::FromBitmap(nullptr, true);
    t.SetItem(2, 0, none);
    int32_t w = 0, h = 0;
    t.Layout(w, h);
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 4 + 9);  // the empty item takes no room

    Canvas c(w, h, RGB(255, 255, 255));
    DrawRecursive(t, c.Dc(), Rect{0, 0, w, h});
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(c.At(0, 0), white);  // magenta lets the paper show
    EXPECT_EQ(c.At(3, 3), white);
    EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
    // The rule: three rows in the middle of the nine-pixel row, across the table.
    for (int y = 4; y < 13; ++y) EXPECT_EQ(c.At(19, y), (y >= 7 && y <= 9) ? RGB(0, 160, 0) : white) << y;
}

TEST(Keys, KeyMessagesCarryTheirData) {
    Host host;
    host.Create(HostClass(), nullptr, WS_POPUP | WS_VISIBLE);
    HWND hwnd = host.GetHandle();
    SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0x001C0001);  // a fresh press of Enter
    SendMessageW(hwnd, WM_KEYDOWN, VK_UP, 0x01480001);      // a fresh press of the up arrow (extended)
    PostMessageW(hwnd, WM_KEYDOWN, VK_UP, 0x41480003);      // the arrow held: three repeats, queued
    Pump();
    SendMessageW(hwnd, WM_KEYUP, VK_UP, static_cast<LPARAM>(0xC1480001u));
    ASSERT_EQ(host.keys.size(), 4u);
    EXPECT_EQ(host.keys[0].key, static_cast<UINT>(VK_RETURN));
    EXPECT_EQ(host.keys[0].Flags(), 2u);
    EXPECT_EQ(host.keys[0].repeatCount, 1);
    EXPECT_EQ(host.keys[1].Flags(), 6u);
    EXPECT_EQ(host.keys[2].Flags(), 7u);
    EXPECT_EQ(host.keys[2].repeatCount, 3);
    EXPECT_EQ(host.keys[3].Flags(), 5u);
    EXPECT_FALSE(host.keys[3].goingDown);
    DestroyWindow(hwnd);
}

TEST(Controls, TrackbarStepsAndListCheckBoxes) {
    Host host;
    host.Create(HostClass(), nullptr, WS_POPUP | WS_VISIBLE);
    SetWindowPos(host.GetHandle(), nullptr, 0, 0, 300, 200, SWP_NOZORDER);
    mwcl::TrackbarControl bar;
    bar.Create(host.GetHandle(), 20, RECT{0, 0, 200, 30});
    bar.SetRange(0, 1000);
    bar.SetLineSize(1);
    bar.SetPageSize(20);
    bar.SetThumbLength(24);
    bar.SetTickFrequency(100);
    EXPECT_EQ(bar.LineSize(), 1);
    EXPECT_EQ(bar.PageSize(), 20);
    EXPECT_EQ(bar.ThumbLength(), 24);
    EXPECT_EQ(SendMessageW(bar.GetHandle(), TBM_GETNUMTICS, 0, 0), 11);
    bar.SetPosition(500);
    SendMessageW(bar.GetHandle(), WM_KEYDOWN, VK_NEXT, 0x01510001);
    EXPECT_EQ(bar.GetPosition(), 520);
    SendMessageW(bar.GetHandle(), WM_KEYDOWN, VK_RIGHT, 0x014D0001);
    EXPECT_EQ(bar.GetPosition(), 521);

    mwcl::ListView list;
    list.Create(host.GetHandle(), 21, RECT{0, 40, 200, 140});
    list.AddColumn(0, u"File", 150);
    list.InsertItem(0, u"Messier.puo");
    list.InsertItem(1, u"Comets.pco");
    list.SetChecked(1, true);  // no boxes yet: nothing to check
    EXPECT_FALSE(list.IsChecked(1));
    list.SetCheckBoxes(true);
    EXPECT_TRUE(list.HasCheckBoxes());
    list.SetChecked(1, true);
    EXPECT_TRUE(list.IsChecked(1));
    EXPECT_FALSE(list.IsChecked(0));
    // The space bar ticks the focused row, as a user does.
    list.SetSelection(0);
    SetFocus(list.GetHandle());
    SendMessageW(list.GetHandle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_TRUE(list.IsChecked(0));
    list.SetCheckBoxes(false);
    EXPECT_FALSE(list.IsChecked(1));
    DestroyWindow(host.GetHandle());
}
