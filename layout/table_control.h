// The control that hosts a layout tree: it lays the tree out, paints it
// double-buffered, turns stylus messages into item events, tells its parent
// about each one (WM_NOTIFY), and scrolls when the tree is larger than it.
#pragma once

#include "layout/core/layout.h"
#include "layout/items.h"
#include "winlib/mwcl.h"

namespace UI {
namespace Layout {

// The WM_NOTIFY record of a table control: hdr.code is the event code.
struct TableControlNotification {
    NMHDR hdr;
    UINT message;       // the window message that made the event
    int event;          // kEventEnter .. kEventDoubleTap
    ILayoutItem* item;  // the item that took the event (the table when none did)
    Position position;  // the stylus, in the control's client coordinates
    int itemId;         // the id of a clickable item that took the event, else -1
};

// The stylus position of a mouse message, in the window's client coordinates.
Position StylusOf(LPARAM lParam);

// Timer of the tap-and-hold detection.
constexpr UINT_PTR kHoldTimerId = 0x4D4C4543;
// Lines of 20 pixels a scrolling table moves per notch of the mouse wheel.
constexpr int kWheelLines = 3;

class TableControl : public mwcl::Control {
public:
    // Size modes: the control takes the table's size, or keeps its own and scrolls.
    enum SizeMode { kFitTable = 1, kScroll = 2 };

    TableControl(int32_t rows, int32_t columns, bool ownsItems);
    ~TableControl() override;

    // Creates the control (window class "TableControl").
    void Create(HWND parent, int id, const RECT& rect, int sizeMode, DWORD style = 0);
    using mwcl::Control::Create;

    TableLayoutManager& Table() { return table_; }
    int GetSizeMode() const { return sizeMode_; }
    // Lays the tree out again (after items changed), resizes or sets up the
    // scroll bars, and repaints.
    void UpdateLayout();
    // Background of the painting (default: the window colour).
    void SetBackground(HBRUSH brush) { background_ = brush; }
    // The id of the clickable item (Clickable) a notification reports as
    // tapped: a release that item fired on. -1 for any other notification.
    static int TappedItemId(const NMHDR* notification);
    int HorizontalPosition() const { return hscroll_.Position(); }
    int VerticalPosition() const { return vscroll_.Position(); }

    void HandleMessage(mwcl::MessageRecord& m) override;

protected:
    // Called after each layout.
    virtual void OnLayout() {}
    // The window class the control is created with.
    virtual LPCWSTR WindowClassName() const;
    // One stylus event: through the tree, then to the parent.
    void RouteEvent(const mwcl::MessageRecord& m, int event, const Position& p);

    TableLayoutManager table_;
    int sizeMode_ = kFitTable;
    mwcl::ScrollState hscroll_{SB_HORZ};
    mwcl::ScrollState vscroll_{SB_VERT};
    HBRUSH background_ = nullptr;
    Position last_;
    bool pressing_ = false;  // between press and release: the control holds the capture
    int wheel_ = 0;          // wheel motion short of a notch

private:
    // The stylus capture went without a release: the gesture ends, nothing fires.
    void CancelGesture(const mwcl::MessageRecord& m);
    void PlaceTable();
    void SetUpScrollBars();
    void Paint();
    void Scrolled();
};

}  // namespace Layout
}  // namespace UI
