// What the views build on, driven with real window messages: clickable
// texts that name themselves in the notification, the slider's page step
// and thumb and the list's check boxes.
#include "tests/wine/ui/ui_test_util.h"

#include "winlib/controls.h"
#include "winlib/ui_style.h"

using uitest::Host;
using uitest::Stylus;
using namespace UI::Layout;

TEST(ClickableText, ATapNamesTheItemInTheNotification) {
    Host host;
    TableControl tc(3, 1, true);
    tc.Table().SetItem(0, 0, new ClickableTextItem(11, u"21.03.2026 21:30", UI::NormalFont(), UI::TextColor()));
    tc.Table().SetItem(1, 0, new ClickableTextItem(12, u"Greenwich, UT+0", UI::NormalFont(), UI::TextColor()));
    tc.Table().SetItem(2, 0, new TextItem(u"Moon", UI::NormalFont(), UI::TextColor()));
    tc.Create(host.GetHandle(), 5, RECT{0, 0, 1, 1}, TableControl::kFitTable);
    HWND hwnd = tc.GetHandle();
    int y[3];
    for (int r = 0; r < 3; ++r) {
        Rect rect;
        tc.Table().GetItem(r, 0)->GetRect(rect);
        y[r] = rect.y + 2;
    }
    // Each gesture: press on one line, the stylus over others, lifted on the last.
    struct Gesture {
        std::vector<int> lines;
        int tapped;
    };
    const Gesture gestures[] = {
        {{1, 1}, 12},
        {{0, 2, 0}, 11},  // off and back on still taps
        {{0, 1}, -1},     // lifted on another line
        {{2, 2}, -1},     // a plain text never taps
    };
    for (const Gesture& g : gestures) {
        Stylus(hwnd, WM_LBUTTONDOWN, 3, y[g.lines.front()]);
        for (size_t i = 1; i < g.lines.size(); ++i) Stylus(hwnd, WM_MOUSEMOVE, 3, y[g.lines[i]]);
        Stylus(hwnd, WM_LBUTTONUP, 3, y[g.lines.back()]);
        ASSERT_FALSE(host.tapped.empty());
        EXPECT_EQ(host.tapped.back(), g.tapped) << g.lines.front();
    }
    // A lost capture taps nothing.
    Stylus(hwnd, WM_LBUTTONDOWN, 3, y[0]);
    ReleaseCapture();
    Stylus(hwnd, WM_LBUTTONUP, 3, y[0]);
    EXPECT_EQ(host.tapped.back(), -1);
}

TEST(Controls, TrackbarThumbAndPageAndListCheckBoxes) {
    Host host;
    mwcl::TrackbarControl bar;
    bar.Create(host.GetHandle(), 20, RECT{0, 0, 200, 30});
    bar.SetRange(0, 1000);
    bar.SetPageSize(20);
    bar.SetThumbLength(24);  // kept only by a fixed-length thumb
    EXPECT_EQ(bar.ThumbLength(), 24);
    bar.SetPosition(500);
    SendMessageW(bar.GetHandle(), WM_KEYDOWN, VK_NEXT, 0x01510001);
    EXPECT_EQ(bar.GetPosition(), 520);

    mwcl::ListView list;
    list.Create(host.GetHandle(), 21, RECT{0, 40, 200, 140});
    list.AddColumn(0, u"File", 150);
    list.InsertItem(0, u"Messier.puo");
    list.InsertItem(1, u"Comets.pco");
    list.SetCheckBoxes(true);
    list.SetChecked(1, true);
    EXPECT_TRUE(list.IsChecked(1));
    EXPECT_FALSE(list.IsChecked(0));
    // The space bar ticks the focused row, as a user does.
    list.SetSelection(0);
    SetFocus(list.GetHandle());
    SendMessageW(list.GetHandle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_TRUE(list.IsChecked(0));
}
