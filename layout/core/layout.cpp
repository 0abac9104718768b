#include "layout/core/layout.h"

#include <algorithm>
#include <stdexcept>

namespace UI {
namespace Layout {

// --- LayoutManager ------------------------------------------------------------

ILayoutItem* LayoutManager::FindItem(const Position& p) {
    ILayoutItem* found = nullptr;
    EnumItems([&](ILayoutItem* item) {
        if (item && item->Contains(p)) {
            found = item;
            return false;
        }
        return true;
    });
    return found;
}

ILayoutItem* LayoutManager::FindItemDeep(const Position& p) {
    ILayoutItem* item = FindItem(p);
    if (LayoutManager* nested = dynamic_cast<LayoutManager*>(item)) {
        if (ILayoutItem* inner = nested->FindItemDeep(p)) return inner;
    }
    return item;
}

bool LayoutManager::Contains(const Position& p) const {
    Rect r;
    GetRect(r);
    return r.Contains(p);
}

bool LayoutManager::VerifyItemValid(const ILayoutItem* item) {
    if (!item) return false;
    bool found = false;
    EnumItems([&](ILayoutItem* child) {
        if (child == item) {
            found = true;
        } else if (LayoutManager* nested = dynamic_cast<LayoutManager*>(child)) {
            found = nested->VerifyItemValid(item);
        }
        return !found;
    });
    return found;
}

void LayoutManager::ForgetItem(const ILayoutItem* item) {
    if (hovered_ == item) hovered_ = nullptr;
    if (captured_ == item) captured_ = nullptr;
}

ILayoutItem* LayoutManager::HandleEvent(const Position& p, int event) {
    ILayoutItem* item = FindItem(p);
    // What the enter/leave side effects answered; the event's own answer
    // (a button that fired) comes first.
    ILayoutItem* side = nullptr;
    ILayoutItem* result = nullptr;

    const bool leaving = event == kEventLeave || event == kEventCancel;
    if (item != hovered_ || leaving) {
        if (hovered_ && VerifyItemValid(hovered_)) side = hovered_->HandleEvent(p, kEventLeave);
        hovered_ = nullptr;
        if (item && !leaving) {
            ILayoutItem* r = item->HandleEvent(p, kEventEnter);
            if (!side) side = r;
            hovered_ = item;
        }
    }

    switch (event) {
    case kEventMove:
        if (hovered_) result = hovered_->HandleEvent(p, event);
        break;
    case kEventPress:
        captured_ = item;
        if (item) result = item->HandleEvent(p, event);
        break;
    case kEventHold:
    case kEventRelease:
    case kEventDoubleTap:
        if (captured_ && VerifyItemValid(captured_)) result = captured_->HandleEvent(p, event);
        if (event == kEventRelease) captured_ = nullptr;
        break;
    case kEventCancel:
        // The gesture is over: whatever the pressed item answers, nothing fired.
        if (captured_ && VerifyItemValid(captured_)) captured_->HandleEvent(p, event);
        captured_ = nullptr;
        return this;
    default:  // enter: nothing more; leave: done above
        break;
    }
    if (result) return result;
    return side ? side : this;
}

// --- TableLayoutManager ----------------------------------------------------------

TableLayoutManager::TableLayoutManager(int32_t rows, int32_t columns, bool ownsItems) {
    Reset(rows, columns, ownsItems);
}

TableLayoutManager::~TableLayoutManager() { DeleteOwnedItems(); }

void TableLayoutManager::DeleteOwnedItems() {
    if (!ownsItems_) return;
    for (Cell& cell : grid_) {
        delete cell.item;
        cell.item = nullptr;
    }
}

void TableLayoutManager::Reset(int32_t rows, int32_t columns, bool ownsItems) {
    if (rows < 0 || columns < 0) throw std::out_of_range("table size");
    DeleteOwnedItems();
    rows_.clear();
    columns_.clear();
    grid_.clear();
    totalWidth_ = totalHeight_ = 0;
    hovered_ = captured_ = nullptr;
    ownsItems_ = ownsItems;
    rows_.resize(static_cast<size_t>(rows));
    columns_.resize(static_cast<size_t>(columns));
    grid_.resize(static_cast<size_t>(rows) * static_cast<size_t>(columns));
}

void TableLayoutManager::SetRowCount(int32_t rows) {
    if (rows < 0) throw std::out_of_range("table size");
    const size_t keep = static_cast<size_t>(rows) * columns_.size();
    for (size_t i = keep; i < grid_.size(); ++i) {
        ForgetItem(grid_[i].item);
        if (ownsItems_) delete grid_[i].item;
    }
    rows_.resize(static_cast<size_t>(rows));
    grid_.resize(keep);
}

void TableLayoutManager::SetRowMinimum(int32_t row, int32_t minimum) { rows_.at(static_cast<size_t>(row)).minimum = minimum; }

void TableLayoutManager::SetColumnMinimum(int32_t column, int32_t minimum) {
    columns_.at(static_cast<size_t>(column)).minimum = minimum;
}

void TableLayoutManager::SetRowMargins(int32_t row, int32_t leading, int32_t trailing) {
    Track& t = rows_.at(static_cast<size_t>(row));
    t.leadingMargin = leading;
    t.trailingMargin = trailing;
}

void TableLayoutManager::SetColumnMargins(int32_t column, int32_t leading, int32_t trailing) {
    Track& t = columns_.at(static_cast<size_t>(column));
    t.leadingMargin = leading;
    t.trailingMargin = trailing;
}

TableLayoutManager::Cell& TableLayoutManager::SlotAt(int32_t row, int32_t column) {
    if (row < 0 || column < 0 || row >= RowCount() || column >= ColumnCount())
        throw std::out_of_range("table cell");
    return grid_.at(static_cast<size_t>(row) * columns_.size() + static_cast<size_t>(column));
}

const TableLayoutManager::Cell& TableLayoutManager::CellAt(int32_t row, int32_t column) const {
    return const_cast<TableLayoutManager*>(this)->SlotAt(row, column);
}

void TableLayoutManager::SetItem(int32_t row, int32_t column, ILayoutItem* item, int32_t rowSpan, int32_t columnSpan) {
    Cell& cell = SlotAt(row, column);
    if (cell.item != item) {
        ForgetItem(cell.item);
        if (ownsItems_) delete cell.item;
    }
    cell.item = item;
    cell.rowSpan = rowSpan;
    cell.columnSpan = columnSpan;
}

bool TableLayoutManager::FindCell(const ILayoutItem* item, int32_t& row, int32_t& column) const {
    if (!item || columns_.empty()) return false;
    for (size_t i = 0; i < grid_.size(); ++i) {
        if (grid_[i].item == item) {
            row = static_cast<int32_t>(i / columns_.size());
            column = static_cast<int32_t>(i % columns_.size());
            return true;
        }
    }
    return false;
}

bool TableLayoutManager::RemoveItem(ILayoutItem* item) {
    int32_t r = 0, c = 0;
    if (!FindCell(item, r, c)) return false;
    ForgetItem(item);
    SlotAt(r, c).item = nullptr;
    return true;
}

bool TableLayoutManager::EnumItems(const ItemCallback& callback) {
    for (Cell& cell : grid_) {
        if (cell.item && !callback(cell.item)) return false;
    }
    return true;
}

void TableLayoutManager::Layout(int32_t& width, int32_t& height) {
    const int32_t nr = RowCount();
    const int32_t nc = ColumnCount();
    if (nr == 0 || nc == 0) {
        width = totalWidth_;
        height = totalHeight_;
        return;
    }
    const size_t ncols = static_cast<size_t>(nc);
    auto slot = [&](int32_t r, int32_t c) -> Cell& { return grid_[static_cast<size_t>(r) * ncols + static_cast<size_t>(c)]; };
    // The last track a span covers, in 64 bits: a span up to INT32_MAX must
    // not wrap around to a negative index.
    auto last = [](int32_t first, int32_t span, int32_t count) {
        return static_cast<int32_t>(std::min<int64_t>(int64_t{first} + span - 1, count - 1));
    };

    // 1. Every slot starts as its own cell with the tracks' minimum sizes.
    for (int32_t r = 0; r < nr; ++r) {
        for (int32_t c = 0; c < nc; ++c) {
            Cell& s = slot(r, c);
            s.firstRow = r;
            s.firstColumn = c;
            s.width = columns_[static_cast<size_t>(c)].minimum;
            s.height = rows_[static_cast<size_t>(r)].minimum;
        }
    }
    // 2. An item's wanted size lands in the slot of the last row and last
    //    column it covers, which remembers where the item starts.
    for (int32_t r = 0; r < nr; ++r) {
        for (int32_t c = 0; c < nc; ++c) {
            Cell& s = slot(r, c);
            if (!s.item || s.rowSpan < 1 || s.columnSpan < 1) continue;
            Cell& e = slot(last(r, s.rowSpan, nr), last(c, s.columnSpan, nc));
            e.firstRow = r;
            e.firstColumn = c;
            s.item->GetSize(e.width, e.height);
            e.height = std::max(e.height, rows_[static_cast<size_t>(r)].minimum);
            e.width = std::max(e.width, columns_[static_cast<size_t>(c)].minimum);
        }
    }
    // 3. Column ends: a cell that starts in column s widens only the column it ends in.
    for (int32_t c = 0; c < nc; ++c) {
        int32_t end = c > 0 ? columns_[static_cast<size_t>(c - 1)].end : 0;
        for (int32_t r = 0; r < nr; ++r) {
            const Cell& s = slot(r, c);
            const int32_t first = s.firstColumn;
            const int32_t start = first > 0 ? columns_[static_cast<size_t>(first - 1)].end : 0;
            end = std::max(end, start + columns_[static_cast<size_t>(first)].leadingMargin + s.width +
                                    columns_[static_cast<size_t>(c)].trailingMargin);
        }
        columns_[static_cast<size_t>(c)].end = end;
    }
    // 4. Row ends, the same way with rows: an item spanning rows heightens
    //    only the last row it covers, so the rows above keep their own height.
    for (int32_t r = 0; r < nr; ++r) {
        int32_t end = r > 0 ? rows_[static_cast<size_t>(r - 1)].end : 0;
        for (int32_t c = 0; c < nc; ++c) {
            const Cell& s = slot(r, c);
            const int32_t first = s.firstRow;
            const int32_t start = first > 0 ? rows_[static_cast<size_t>(first - 1)].end : 0;
            end = std::max(end, start + rows_[static_cast<size_t>(first)].leadingMargin + s.height +
                                    rows_[static_cast<size_t>(r)].trailingMargin);
        }
        rows_[static_cast<size_t>(r)].end = end;
    }
    // 5. Totals.
    totalWidth_ = columns_.back().end;
    totalHeight_ = rows_.back().end;
    // 6. Placement: each item fills the tracks it covers, inside the margins.
    for (int32_t r = 0; r < nr; ++r) {
        for (int32_t c = 0; c < nc; ++c) {
            Cell& s = slot(r, c);
            if (!s.item || s.rowSpan < 1 || s.columnSpan < 1) continue;
            const int32_t rr = last(r, s.rowSpan, nr);
            const int32_t cc = last(c, s.columnSpan, nc);
            const int32_t x0 = c > 0 ? columns_[static_cast<size_t>(c - 1)].end : 0;
            const int32_t y0 = r > 0 ? rows_[static_cast<size_t>(r - 1)].end : 0;
            Rect placed;
            placed.x = rect_.x + x0 + columns_[static_cast<size_t>(c)].leadingMargin;
            placed.y = rect_.y + y0 + rows_[static_cast<size_t>(r)].leadingMargin;
            placed.width = columns_[static_cast<size_t>(cc)].end - x0 - columns_[static_cast<size_t>(c)].leadingMargin -
                           columns_[static_cast<size_t>(cc)].trailingMargin;
            placed.height = rows_[static_cast<size_t>(rr)].end - y0 - rows_[static_cast<size_t>(r)].leadingMargin -
                            rows_[static_cast<size_t>(rr)].trailingMargin;
            s.item->SetRect(placed);
        }
    }
    width = totalWidth_;
    height = totalHeight_;
}

void TableLayoutManager::SetRect(const Rect& r) {
    if (r.width != rect_.width || r.height != rect_.height) {
        rect_ = r;
        int32_t w = 0, h = 0;
        Layout(w, h);
        return;
    }
    const int32_t dx = r.x - rect_.x;
    const int32_t dy = r.y - rect_.y;
    rect_ = r;
    if (dx == 0 && dy == 0) return;
    EnumItems([dx, dy](ILayoutItem* item) {
        Rect ir;
        item->GetRect(ir);
        ir.x += dx;
        ir.y += dy;
        item->SetRect(ir);
        return true;
    });
}

// --- AbsoluteLayoutManager ----------------------------------------------------------

AbsoluteLayoutManager::~AbsoluteLayoutManager() {
    if (ownsItems_) {
        for (ILayoutItem* item : items_) delete item;
    }
}

void AbsoluteLayoutManager::AddItem(ILayoutItem* item, const Rect& r) {
    if (!item) return;
    item->SetRect(r);
    items_.push_back(item);
}

bool AbsoluteLayoutManager::RemoveItem(ILayoutItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return false;
    ForgetItem(item);
    items_.erase(it);
    return true;
}

void AbsoluteLayoutManager::GetRect(Rect& out) const {
    out = Rect();
    bool first = true;
    for (ILayoutItem* item : items_) {
        Rect r;
        item->GetRect(r);
        if (first) {
            out = r;
            first = false;
            continue;
        }
        const int32_t right = std::max(out.x + out.width, r.x + r.width);
        const int32_t bottom = std::max(out.y + out.height, r.y + r.height);
        out.x = std::min(out.x, r.x);
        out.y = std::min(out.y, r.y);
        out.width = right - out.x;
        out.height = bottom - out.y;
    }
}

void AbsoluteLayoutManager::SetRect(const Rect& r) {
    Rect now;
    GetRect(now);
    const int32_t dx = r.x - now.x;
    const int32_t dy = r.y - now.y;
    if (dx == 0 && dy == 0) return;
    for (ILayoutItem* item : items_) {
        Rect ir;
        item->GetRect(ir);
        ir.x += dx;
        ir.y += dy;
        item->SetRect(ir);
    }
}

void AbsoluteLayoutManager::GetSize(int32_t& width, int32_t& height) {
    Rect r;
    GetRect(r);
    width = r.width;
    height = r.height;
}

bool AbsoluteLayoutManager::EnumItems(const ItemCallback& callback) {
    for (ILayoutItem* item : items_) {
        if (!callback(item)) return false;
    }
    return true;
}

// --- tooltip placement ------------------------------------------------------------------

Position PlaceTooltip(const Rect& anchor, int32_t w, int32_t h, int32_t screenW, int32_t screenH, int side) {
    const int32_t L = anchor.x, T = anchor.y, R = anchor.x + anchor.width, B = anchor.y + anchor.height;
    Position p{L, T};
    switch (side) {
    case 1:  // above, else below
        p = (T - h < 0) ? Position{L, B} : Position{L, T - h};
        break;
    case 2:  // right, else left
        p = (R + w <= screenW) ? Position{R, T} : Position{L - w, T};
        break;
    case 3:  // below, else above
        p = (B + h <= screenH) ? Position{L, B} : Position{L, T - h};
        break;
    case 4:  // left, else right
        p = (L - w < 0) ? Position{R, T} : Position{L - w, T};
        break;
    default:
        break;
    }
    if (p.x + w > screenW) p.x = screenW - w;
    if (p.x < 0) p.x = 0;
    if (p.y + h > screenH) p.y = screenH - h;
    if (p.y < 0) p.y = 0;
    return p;
}

}  // namespace Layout
}  // namespace UI
