// The layout framework's model: items with rectangles, layout managers that
// hold items (and are items themselves, so tables nest), stylus event routing
// and the table layout arithmetic.
//
// This part is plain C++ (no window system): drawing items and the control
// that hosts a tree live in layout/items.h and layout/table_control.h.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace UI {
namespace Layout {

struct Position {
    int32_t x = 0;
    int32_t y = 0;
};

struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    // Half-open on the right and at the bottom.
    bool Contains(const Position& p) const {
        return x <= p.x && p.x < x + width && y <= p.y && p.y < y + height;
    }
    bool operator==(const Rect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

// Stylus event codes, produced by the table control from window messages.
enum EventCode : int {
    kEventEnter = 1,      // the stylus came over the item
    kEventMove = 2,       // the stylus moved
    kEventLeave = 3,      // the stylus left the item (or the capture was lost)
    kEventPress = 4,      // stylus down
    kEventHold = 5,       // stylus held down (tap and hold)
    kEventRelease = 6,    // stylus up
    kEventDoubleTap = 7,  // double tap
    kEventCancel = 8,     // the gesture ended without a release (capture lost, cancel mode)
};

class ILayoutItem {
public:
    virtual ~ILayoutItem() = default;
    virtual void GetRect(Rect& out) const = 0;
    // Where the item is placed.
    virtual void SetRect(const Rect& r) = 0;
    // The size the item wants.
    virtual void GetSize(int32_t& width, int32_t& height) = 0;
    virtual bool Contains(const Position& p) const = 0;
    // The item that took the event, or none.
    virtual ILayoutItem* HandleEvent(const Position& p, int event) = 0;
};

// The usual item: keeps the rectangle given to it and ignores events.
class ItemBase : public virtual ILayoutItem {
public:
    void GetRect(Rect& out) const override { out = rect_; }
    void SetRect(const Rect& r) override { rect_ = r; }
    bool Contains(const Position& p) const override { return rect_.Contains(p); }
    ILayoutItem* HandleEvent(const Position&, int) override { return nullptr; }

protected:
    Rect rect_;
};

class LayoutManager : public virtual ILayoutItem {
public:
    LayoutManager() = default;
    LayoutManager(const LayoutManager&) = delete;
    LayoutManager& operator=(const LayoutManager&) = delete;

    // A callback per direct child; returning false stops the walk.
    using ItemCallback = std::function<bool(ILayoutItem*)>;

    // The direct child under p, or none.
    virtual ILayoutItem* FindItem(const Position& p);
    // The deepest item under p: a child that is itself a layout manager is searched in turn.
    virtual ILayoutItem* FindItemDeep(const Position& p);
    // Calls back for each direct child; false when the callback stopped the walk.
    virtual bool EnumItems(const ItemCallback& callback) = 0;

    bool Contains(const Position& p) const override;
    // Routes an event: enter/leave to the item under the stylus, moves to the
    // hovered item, press/hold/release/double tap to the item that was pressed.
    // A cancel leaves the hovered item, ends the pressed item's gesture and
    // forgets both; nothing fires. Returns the item that took the event, else
    // this manager.
    ILayoutItem* HandleEvent(const Position& p, int event) override;

    // Whether item is still part of this tree (before an event is sent to a
    // remembered item).
    bool VerifyItemValid(const ILayoutItem* item);

    ILayoutItem* HoveredItem() const { return hovered_; }
    ILayoutItem* CapturedItem() const { return captured_; }

protected:
    // Forgets references to an item that leaves the tree.
    void ForgetItem(const ILayoutItem* item);

    ILayoutItem* hovered_ = nullptr;
    ILayoutItem* captured_ = nullptr;
};

// Calls fn for every item of class T in the tree (nested managers are
// entered after they themselves were offered); fn returning false stops the
// walk. Returns false when stopped.
template <typename T, typename Fn>
bool EnumItemsRecursive(LayoutManager& manager, Fn fn) {
    return manager.EnumItems([&fn](ILayoutItem* item) {
        if (T* t = dynamic_cast<T*>(item)) {
            if (!fn(t)) return false;
        }
        if (LayoutManager* nested = dynamic_cast<LayoutManager*>(item)) {
            if (!EnumItemsRecursive<T>(*nested, fn)) return false;
        }
        return true;
    });
}

class TableLayoutManager : public LayoutManager {
public:
    struct Track {
        int32_t minimum = 0;
        int32_t leadingMargin = 0;
        int32_t trailingMargin = 0;
        int32_t end = 0;  // computed: where the track ends, from the table's origin
    };
    struct Cell {
        ILayoutItem* item = nullptr;
        int32_t rowSpan = 1;
        int32_t columnSpan = 1;
        int32_t firstRow = 0;
        int32_t firstColumn = 0;
        int32_t width = 0;
        int32_t height = 0;
    };

    TableLayoutManager(int32_t rows, int32_t columns, bool ownsItems);
    ~TableLayoutManager() override;

    // Deletes the items when the table owned them, clears tracks, grid and
    // size, then sets the new counts (zeroed tracks) and owning flag.
    void Reset(int32_t rows, int32_t columns, bool ownsItems);
    // Appends zeroed rows or drops trailing ones (their owned items are deleted).
    void SetRowCount(int32_t rows);

    int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
    int32_t ColumnCount() const { return static_cast<int32_t>(columns_.size()); }
    bool OwnsItems() const { return ownsItems_; }

    // Track set-up. An index outside the table throws std::out_of_range.
    void SetRowMinimum(int32_t row, int32_t minimum);
    void SetColumnMinimum(int32_t column, int32_t minimum);
    void SetRowMargins(int32_t row, int32_t leading, int32_t trailing);
    void SetColumnMargins(int32_t column, int32_t leading, int32_t trailing);
    const Track& Row(int32_t row) const { return rows_.at(static_cast<size_t>(row)); }
    const Track& Column(int32_t column) const { return columns_.at(static_cast<size_t>(column)); }

    // Puts an item (or none) into a cell with its spans. An owned item that
    // was in the cell before is deleted.
    void SetItem(int32_t row, int32_t column, ILayoutItem* item, int32_t rowSpan = 1, int32_t columnSpan = 1);
    ILayoutItem* GetItem(int32_t row, int32_t column) const { return CellAt(row, column).item; }
    const Cell& CellAt(int32_t row, int32_t column) const;
    // Takes an item out of the table without deleting it; false when absent.
    bool RemoveItem(ILayoutItem* item);
    // The cell of an item; false when absent.
    bool FindCell(const ILayoutItem* item, int32_t& row, int32_t& column) const;

    // Runs the layout; returns the total size.
    void Layout(int32_t& width, int32_t& height);
    int32_t TotalWidth() const { return totalWidth_; }
    int32_t TotalHeight() const { return totalHeight_; }

    void GetRect(Rect& out) const override { out = rect_; }
    // A new size lays the table out again; a new origin only moves the items.
    void SetRect(const Rect& r) override;
    void GetSize(int32_t& width, int32_t& height) override { Layout(width, height); }
    bool EnumItems(const ItemCallback& callback) override;

private:
    Cell& SlotAt(int32_t row, int32_t column);
    void DeleteOwnedItems();

    std::vector<Track> rows_;
    std::vector<Track> columns_;
    std::vector<Cell> grid_;  // row-major, rows x columns
    Rect rect_;
    int32_t totalWidth_ = 0;
    int32_t totalHeight_ = 0;
    bool ownsItems_ = false;
};

// Items that keep the rectangles given to them.
class AbsoluteLayoutManager : public LayoutManager {
public:
    explicit AbsoluteLayoutManager(bool ownsItems = false) : ownsItems_(ownsItems) {}
    ~AbsoluteLayoutManager() override;

    // Adds an item at a rectangle (the item's SetRect is called).
    void AddItem(ILayoutItem* item, const Rect& r);
    bool RemoveItem(ILayoutItem* item);

    // The union of the items' rectangles.
    void GetRect(Rect& out) const override;
    // Moves every item by the change of origin; the size is the items' own.
    void SetRect(const Rect& r) override;
    void GetSize(int32_t& width, int32_t& height) override;
    bool EnumItems(const ItemCallback& callback) override;

private:
    std::vector<ILayoutItem*> items_;
    bool ownsItems_;
};

// Where a tooltip of size (w, h) goes for an anchor rectangle in screen
// coordinates on a screen of size (screenW, screenH); side 1 above, 2 right,
// 3 below, 4 left. The result is kept on the screen.
Position PlaceTooltip(const Rect& anchor, int32_t w, int32_t h, int32_t screenW, int32_t screenH, int side);

}  // namespace Layout
}  // namespace UI
