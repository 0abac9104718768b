// The layout framework's arithmetic and event routing, without a window system.
// Expected values are worked out by hand from the table rules: a column ends
// where the widest cell ending in it ends (a spanning cell widens only its
// last column), margins sit inside the track, items fill the tracks they cover.
#include "layout/core/layout.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace UI::Layout;

namespace {

// An item of a fixed wanted size that records the events it is sent.
class Box : public ItemBase {
public:
    Box(int32_t w, int32_t h, std::vector<std::string>* log = nullptr, const char* name = "", int* deaths = nullptr)
        : w_(w), h_(h), log_(log), name_(name), deaths_(deaths) {}
    ~Box() override {
        if (deaths_) ++*deaths_;
    }
    void GetSize(int32_t& w, int32_t& h) override {
        w = w_;
        h = h_;
    }
    ILayoutItem* HandleEvent(const Position&, int event) override {
        if (log_) log_->push_back(std::string(name_) + ":" + std::to_string(event));
        // Takes releases only, like a button.
        return event == kEventRelease ? this : nullptr;
    }
    Rect R() const { return rect_; }

private:
    int32_t w_, h_;
    std::vector<std::string>* log_;
    const char* name_;
    int* deaths_;
};

void ExpectRect(const Box& b, int32_t x, int32_t y, int32_t w, int32_t h) { EXPECT_EQ(b.R(), (Rect{x, y, w, h})); }

// Lays a manager out; its width and height.
using Size = std::pair<int32_t, int32_t>;
Size Lay(TableLayoutManager& m) {
    int32_t w = 0, h = 0;
    m.Layout(w, h);
    return {w, h};
}

// Puts items into a table row by row from (0, 0); nullptr leaves a cell empty.
void Fill(TableLayoutManager& t, std::initializer_list<std::initializer_list<ILayoutItem*>> rows) {
    int32_t r = 0;
    for (const auto& row : rows) {
        int32_t c = 0;
        for (ILayoutItem* item : row) {
            if (item) t.SetItem(r, c, item);
            ++c;
        }
        ++r;
    }
}

}  // namespace

TEST(TableLayout, TracksTakeTheLargestCellAndItemsFillTheirCells) {
    TableLayoutManager t(2, 2, false);
    Box a(10, 5), b(20, 7), c(3, 4), d(6, 9);
    Fill(t, {{&a, &b}, {&c, &d}});
    int32_t w = 0, h = 0;
    t.GetSize(w, h);
    // columns 10 | 20, rows 7 | 9
    EXPECT_EQ(Size(w, h), Size(30, 16));
    ExpectRect(b, 10, 0, 20, 7);
    ExpectRect(c, 0, 7, 10, 9);

    // Minimums raise tracks and stretch the items in them.
    TableLayoutManager m(2, 1, false);
    m.SetColumnMinimum(0, 30);
    m.SetRowMinimum(1, 12);
    Box e(10, 4), f(5, 5);
    Fill(m, {{&e}, {&f}});
    EXPECT_EQ(Lay(m), Size(30, 16));
    ExpectRect(e, 0, 0, 30, 4);
    ExpectRect(f, 0, 4, 30, 12);
    // A table without rows or columns is empty.
    TableLayoutManager empty(0, 3, false);
    EXPECT_EQ(Lay(empty), Size(0, 0));
}

TEST(TableLayout, AColumnSpanWidensOnlyItsLastColumn) {
    TableLayoutManager t(2, 3, false);
    Box wide(50, 10), b(10, 5), c(15, 5), e(4, 4);
    t.SetItem(0, 0, &wide, 1, 2);
    Fill(t, {{}, {&b, &c, &e}});
    // Column 0 keeps b's 10; column 1 must reach 50 for the spanning item.
    EXPECT_EQ(Lay(t), Size(54, 15));
    EXPECT_EQ(t.Column(0).end, 10);
    EXPECT_EQ(t.Column(1).end, 50);
    ExpectRect(wide, 0, 0, 50, 10);
    ExpectRect(b, 0, 10, 10, 5);
    ExpectRect(c, 10, 10, 40, 5);
    ExpectRect(e, 50, 10, 4, 5);

    // "Everything to the right" written as the largest span must not wrap
    // around past the end of the grid.
    TableLayoutManager g(3, 3, false);
    Box left(5, 2), rest(20, 4), tall(3, 9);
    g.SetItem(0, 0, &left);
    g.SetItem(0, 2, &rest, 1, std::numeric_limits<int32_t>::max());
    g.SetItem(1, 2, &tall, std::numeric_limits<int32_t>::max(), 1);
    EXPECT_EQ(Lay(g), Size(25, 13));
    ExpectRect(rest, 5, 0, 20, 4);
    ExpectRect(tall, 5, 4, 20, 9);
}

TEST(TableLayout, ARowSpanHeightensOnlyItsLastRow) {
    // A picture spanning three rows and two columns with margins: the rows
    // keep their own height and the last takes what the picture needs beyond
    // them; the item starts after its first tracks' leading margins and stops
    // before its last tracks' trailing ones (rows 0 and 1 stay at 12 each,
    // row 2 ends at 1 + 40 + 3; column 1 at 2 + 20 + 4).
    TableLayoutManager g(3, 3, false);
    Box picture(20, 40), a(5, 12), b(5, 12), c(5, 12);
    g.SetRowMargins(0, 1, 0);
    g.SetRowMargins(2, 0, 3);
    g.SetColumnMargins(0, 2, 0);
    g.SetColumnMargins(1, 0, 4);
    g.SetItem(0, 0, &picture, 3, 2);
    Fill(g, {{nullptr, nullptr, &a}, {nullptr, nullptr, &b}, {nullptr, nullptr, &c}});
    Lay(g);
    EXPECT_EQ(g.Row(0).end, 13);
    EXPECT_EQ(g.Row(1).end, 25);
    EXPECT_EQ(g.Row(2).end, 1 + 40 + 3);
    EXPECT_EQ(g.Column(1).end, 2 + 20 + 4);
    ExpectRect(picture, 2, 1, 20, 40);
    ExpectRect(c, 26, 25, 5, 44 - 3 - 25);
}

TEST(TableLayout, OwnedItemsDieWithResetRowDropAndReplacement) {
    int deaths = 0;
    {
        TableLayoutManager t(3, 2, true);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c) t.SetItem(r, c, new Box(1, 1, nullptr, "", &deaths));
        t.SetRowCount(2);  // drops the last row's two items
        EXPECT_EQ(deaths, 2);
        EXPECT_EQ(t.RowCount(), 2);
        t.SetItem(0, 0, new Box(1, 1, nullptr, "", &deaths));  // replaces one
        EXPECT_EQ(deaths, 3);
        t.SetRowCount(5);
        EXPECT_EQ(t.GetItem(4, 1), nullptr);
        t.Reset(100, 4, false);  // deletes the four left; the new table owns nothing
        EXPECT_EQ(deaths, 7);
        Box kept(1, 1, nullptr, "", &deaths);
        t.SetItem(99, 3, &kept);
        t.SetRowCount(10);
        EXPECT_EQ(deaths, 7);
    }
    EXPECT_EQ(deaths, 8);  // only `kept`, by going out of scope
}

TEST(TableLayout, OutsideTheGridIsOutOfRange) {
    TableLayoutManager t(2, 3, false);
    Box a(1, 1);
    EXPECT_THROW(t.SetItem(2, 0, &a), std::out_of_range);
    EXPECT_THROW(t.SetItem(0, 3, &a), std::out_of_range);
    EXPECT_THROW(t.SetItem(-1, 0, &a), std::out_of_range);
    EXPECT_THROW(t.SetRowMinimum(2, 1), std::out_of_range);
    EXPECT_THROW(t.Row(5), std::out_of_range);
}

TEST(LayoutEvents, SlidingOffAndBackStillReleasesOnTheItem) {
    std::vector<std::string> log;
    TableLayoutManager t(1, 2, false);
    Box a(10, 10, &log, "a"), b(10, 10, &log, "b");
    Fill(t, {{&a, &b}});
    Lay(t);

    t.HandleEvent({5, 5}, kEventPress);
    t.HandleEvent({50, 5}, kEventMove);  // off the table
    t.HandleEvent({6, 5}, kEventMove);   // back on a
    ILayoutItem* r = t.HandleEvent({6, 5}, kEventRelease);
    EXPECT_EQ(r, &a);
    EXPECT_EQ(log, (std::vector<std::string>{"a:1", "a:4", "a:3", "a:1", "a:2", "a:6"}));

    // Pressed on a, released over b: the release goes to a (the pressed
    // item), b only sees the stylus come and go.
    log.clear();
    t.HandleEvent({5, 5}, kEventPress);
    t.HandleEvent({15, 5}, kEventMove);
    r = t.HandleEvent({15, 5}, kEventRelease);
    EXPECT_EQ(r, &a);  // Box takes every release; a button checks its own state
    EXPECT_EQ(log, (std::vector<std::string>{"a:4", "a:3", "b:1", "b:2", "a:6"}));
    EXPECT_EQ(t.CapturedItem(), nullptr);
    // Nothing under the stylus and nothing pressed: the table itself answers.
    EXPECT_EQ(t.HandleEvent({50, 50}, kEventRelease), &t);
}

TEST(LayoutEvents, ACancelEndsTheGestureAndARemovedItemHearsNothing) {
    std::vector<std::string> log;
    TableLayoutManager t(1, 1, false);
    Box a(10, 10, &log, "a");
    t.SetItem(0, 0, &a);
    Lay(t);
    t.HandleEvent({5, 5}, kEventPress);
    EXPECT_EQ(t.HandleEvent({5, 5}, kEventCancel), &t);  // the item's answer fires nothing
    EXPECT_EQ(t.HoveredItem(), nullptr);
    EXPECT_EQ(t.CapturedItem(), nullptr);
    EXPECT_EQ(t.HandleEvent({5, 5}, kEventRelease), &t);  // a late release reaches no one
    EXPECT_EQ(log, (std::vector<std::string>{"a:1", "a:4", "a:3", "a:8", "a:1"}));

    // Removed while pressed: the rest of the gesture goes nowhere.
    t.HandleEvent({1, 1}, kEventPress);
    t.RemoveItem(&a);
    EXPECT_FALSE(t.VerifyItemValid(&a));
    log.clear();
    t.HandleEvent({1, 1}, kEventHold);
    t.HandleEvent({1, 1}, kEventRelease);
    EXPECT_TRUE(log.empty());
}

TEST(LayoutEvents, NestedTablesAreSearchedAndWalked) {
    std::vector<std::string> log;
    TableLayoutManager outer(2, 1, false);
    TableLayoutManager* inner = new TableLayoutManager(1, 2, true);
    Box top(40, 10, &log, "top");
    Box* left = new Box(15, 8, &log, "left");
    Box* right = new Box(15, 8, &log, "right");
    Fill(*inner, {{left, right}});
    Fill(outer, {{&top}, {inner}});
    EXPECT_EQ(Lay(outer), Size(40, 18));
    ExpectRect(*right, 15, 10, 15, 8);

    EXPECT_EQ(outer.FindItemDeep({20, 12}), right);
    EXPECT_EQ(outer.FindItemDeep({35, 12}), inner);  // inside the table, beside its cells
    EXPECT_EQ(outer.FindItemDeep({20, 30}), nullptr);
    EXPECT_TRUE(outer.VerifyItemValid(right));

    // A release inside the nested table reaches the item pressed there.
    outer.HandleEvent({20, 12}, kEventPress);
    EXPECT_EQ(outer.HandleEvent({20, 12}, kEventRelease), right);
    outer.SetItem(1, 0, nullptr);
    delete inner;
}

TEST(TooltipPlacement, SidesAndFallbacks) {
    // A 240 x 320 screen; sides 1 above, 2 right, 3 below, 4 left, others the button's corner.
    struct Case {
        Rect button;
        int32_t w, side, x, y;
    };
    const Rect b{100, 50, 16, 16};  // L 100, T 50, R 116, B 66
    const Case cases[] = {
        {b, 40, 3, 100, 66},                  // below fits
        {Rect{100, 300, 16, 16}, 40, 3, 100, 280},  // no room below: above
        {Rect{100, 10, 16, 16}, 40, 1, 100, 26},    // no room above: below
        {Rect{224, 50, 16, 16}, 60, 2, 164, 50},    // no room on the right: left
        {Rect{0, 50, 16, 16}, 40, 4, 16, 50},       // no room on the left: right
        {b, 40, 0, 100, 50},                  // any other side
        {Rect{224, 50, 16, 16}, 100, 3, 140, 66},   // clamped into the screen
        {b, 300, 3, 0, 66},                   // wider than the screen: starts at 0
    };
    for (const Case& c : cases) {
        const Position p = PlaceTooltip(c.button, c.w, 20, 240, 320, c.side);
        EXPECT_EQ(p.x, c.x) << c.button.x << "," << c.button.y << " side " << c.side;
        EXPECT_EQ(p.y, c.y) << c.button.x << "," << c.button.y << " side " << c.side;
    }
}
