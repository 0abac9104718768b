#include "layout/toolbar.h"

#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <algorithm>

namespace UI {

namespace {

// Timer of the mouse's hover time over a button.
const UINT_PTR kHoverTimerId = 0x4D4C4548;

// Mouse messages made from a pen or a touch carry this signature in their extra information.
bool FromPenOrTouch() { return (static_cast<DWORD>(GetMessageExtraInfo()) & 0xFFFFFF00u) == 0xFF515700u; }

const mwcl::WindowClass& TooltipClass() {
    // Registered once, with the info background.
    static mwcl::WindowClass* cls = new mwcl::WindowClass(0, GetSysColorBrush(COLOR_INFOBK));
    return *cls;
}

HIMAGELIST StandardList(const char16_t* name) { return CreateColorImageList(name, kButtonMask); }

}  // namespace

// --- tooltip popup ----------------------------------------------------------------------------

TooltipPopupWindow::TooltipPopupWindow() = default;
TooltipPopupWindow::~TooltipPopupWindow() = default;

void TooltipPopupWindow::OnCreate() {
    mwcl::Frame::OnCreate();
    // A tooltip is no main window: another instance must not bring it forward.
    RemovePropW(hwnd_, W(u"mwclActivateable"));
}

void TooltipPopupWindow::Show(HWND host, const RECT& anchorInHost, int side, const std::u16string& text) {
    text_ = text;
    side_ = side;
    anchor_ = anchorInHost;
    MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&anchor_), 2);

    // Size: the text's extent plus half a line across and a third of a line
    // down, plus the border.
    const int line = LineHeight();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, NormalFont());
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, W(text_), static_cast<int>(text_.size()), &extent, DT_CALCRECT | DT_CENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int tw = extent.right - extent.left, th = extent.bottom - extent.top;
    const int w = tw + line / 2 + 2;
    const int h = th + line / 3 + 2;

    textItem_.reset(new Layout::TextItem(text_, NormalFont(), InfoTextColor(), 0, 0, DT_CENTER | DT_NOPREFIX));
    textItem_->SetRect(Layout::Rect{0, (h - 2 - th) / 2, w - 2, th});

    if (!hwnd_) {
        HWND owner = host ? GetAncestor(host, GA_ROOT) : nullptr;
        Create(TooltipClass(), owner, WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    }
    const Layout::Rect a{anchor_.left, anchor_.top, anchor_.right - anchor_.left, anchor_.bottom - anchor_.top};
    const Layout::Position p =
        Layout::PlaceTooltip(a, w, h, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), side_);
    SetWindowPos(hwnd_, HWND_TOPMOST, p.x, p.y, w, h, SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

RECT TooltipPopupWindow::ScreenRect() const {
    RECT r{};
    if (hwnd_) GetWindowRect(hwnd_, &r);
    return r;
}

void TooltipPopupWindow::OnPaint(HDC dc, PAINTSTRUCT& ps) {
    if (textItem_) textItem_->Draw(dc);
}

// --- buttons ------------------------------------------------------------------------------------

ButtonItem::ButtonItem(HWND host, HIMAGELIST normal, int normalIndex, HIMAGELIST armed, int armedIndex,
                       HIMAGELIST disabled, int disabledIndex, std::u16string tooltip, int tooltipSide)
    : host_(host),
      normal_(normal),
      normalIndex_(normalIndex),
      armed_(armed),
      armedIndex_(armedIndex),
      disabledList_(disabled),
      disabledIndex_(disabledIndex),
      tooltip_(std::move(tooltip)),
      side_(tooltipSide) {}

ButtonItem::~ButtonItem() = default;

void ButtonItem::SetEnabled(bool on) {
    if (disabled_ == !on) return;
    disabled_ = !on;
    Redraw();
}

void ButtonItem::SetChecked(bool on) {
    if (checked_ == on) return;
    checked_ = on;
    Redraw();
}

void ButtonItem::CurrentImage(HIMAGELIST& list, int& index) const {
    if (disabled_) {
        list = disabledList_;
        index = disabledIndex_;
    } else if ((state_ == kArmed) != checked_) {
        // Pressed, or checked: a checked button springs up while pressed again.
        list = armed_;
        index = armedIndex_;
    } else {
        list = normal_;
        index = normalIndex_;
    }
}

void ButtonItem::GetSize(int32_t& width, int32_t& height) {
    int w = 0, h = 0;
    HIMAGELIST list = normal_ ? normal_ : (armed_ ? armed_ : disabledList_);
    if (list) ImageList_GetIconSize(list, &w, &h);
    if (w <= 0 || h <= 0) w = h = ScreenResolution() < 136 ? 16 : 32;  // no images: keep the room
    width = w;
    height = h;
}

void ButtonItem::Draw(HDC dc) {
    HIMAGELIST list = nullptr;
    int index = -1;
    CurrentImage(list, index);
    if (!list || index < 0) return;
    int w = 0, h = 0;
    ImageList_GetIconSize(list, &w, &h);
    ImageList_Draw(list, index, dc, rect_.x + (rect_.width - w) / 2, rect_.y + (rect_.height - h) / 2, ILD_NORMAL);
}

void ButtonItem::Redraw() {
    if (!host_ || !IsWindow(host_)) return;
    RECT r{rect_.x, rect_.y, rect_.x + rect_.width, rect_.y + rect_.height};
    InvalidateRect(host_, &r, FALSE);
    UpdateWindow(host_);
}

void ButtonItem::CloseTooltip() { popup_.reset(); }

bool ButtonItem::ShowTooltip() {
    if (side_ == kTooltipNone || tooltip_.empty() || !host_) return false;
    if (!popup_) popup_.reset(new TooltipPopupWindow);
    const RECT anchor{rect_.x, rect_.y, rect_.x + rect_.width, rect_.y + rect_.height};
    popup_->Show(host_, anchor, side_, tooltip_);
    return true;
}

Layout::ILayoutItem* ButtonItem::HandleEvent(const Layout::Position& p, int event) {
    switch (event) {
    case Layout::kEventPress:
        CloseTooltip();  // one the mouse's hover opened
        state_ = kArmed;
        tooltipShownThisPress_ = false;
        Redraw();
        return nullptr;
    case Layout::kEventLeave:
        if (state_ == kArmed) {
            state_ = kPressedOutside;
            Redraw();
        }
        CloseTooltip();
        return nullptr;
    case Layout::kEventEnter:
        if (state_ == kPressedOutside) {
            state_ = kArmed;
            Redraw();
        }
        return nullptr;
    case Layout::kEventHold:
        // A button without tooltip text has nothing to show; its press stays a press.
        if (state_ == kArmed && ShowTooltip()) tooltipShownThisPress_ = true;
        return nullptr;
    case Layout::kEventCancel:
        // The press ended elsewhere: released look, no tooltip, no fire.
        state_ = kIdle;
        tooltipShownThisPress_ = false;
        CloseTooltip();
        Redraw();
        return nullptr;
    case Layout::kEventRelease: {
        const bool fires = !disabled_ && state_ == kArmed && !tooltipShownThisPress_;
        state_ = kIdle;
        tooltipShownThisPress_ = false;
        CloseTooltip();
        Redraw();
        return fires ? this : nullptr;
    }
    default:
        return nullptr;
    }
}

// --- toolbar ------------------------------------------------------------------------------------

LayoutedToolbar::LayoutedToolbar() : Layout::TableControl(1, 0, true) {}

HIMAGELIST LayoutedToolbar::StandardNormal() {
    static HIMAGELIST list = StandardList(u"buttons_normal");
    return list;
}
HIMAGELIST LayoutedToolbar::StandardArmed() {
    static HIMAGELIST list = StandardList(u"buttons_armed");
    return list;
}
HIMAGELIST LayoutedToolbar::StandardDisabled() {
    static HIMAGELIST list = StandardList(u"buttons_disabled");
    return list;
}

LPCWSTR LayoutedToolbar::WindowClassName() const {
    // Without double clicks: two quick taps on a button are two presses.
    return mwcl::RegisterControlClass(u"LayoutedToolbar", 0, nullptr);
}

void LayoutedToolbar::Create(HWND parent, int id, const RECT& rect, int buttons, HIMAGELIST normal,
                             HIMAGELIST armed, HIMAGELIST disabled) {
    normal_ = normal ? normal : StandardNormal();
    armed_ = armed ? armed : StandardArmed();
    disabled_ = disabled ? disabled : StandardDisabled();
    table_.Reset(1, std::max(0, buttons), true);
    Layout::TableControl::Create(parent, id, rect, kFitTable);
}

bool LayoutedToolbar::CellOf(int index, int32_t& row, int32_t& column) const {
    if (index < 0) return false;
    if (table_.RowCount() == 1 && index < table_.ColumnCount()) {
        row = 0;
        column = index;
        return true;
    }
    if (table_.ColumnCount() == 1 && index < table_.RowCount()) {
        row = index;
        column = 0;
        return true;
    }
    return false;
}

void LayoutedToolbar::SetButton(int index, int image, const std::u16string& tooltip, bool enabled) {
    int32_t row = 0, column = 0;
    if (!CellOf(index, row, column)) return;
    ButtonItem* button = nullptr;
    if (image >= 0) {
        button = new ButtonItem(hwnd_, normal_, image, armed_, image, disabled_, image, tooltip, tooltipSide_);
        button->SetEnabled(enabled);
    }
    table_.SetItem(row, column, button);  // the table deletes the cell's previous button
    UpdateLayout();
}

ButtonItem* LayoutedToolbar::Button(int index) const {
    int32_t row = 0, column = 0;
    if (!CellOf(index, row, column)) return nullptr;
    return dynamic_cast<ButtonItem*>(table_.GetItem(row, column));
}

int LayoutedToolbar::ButtonCount() const { return std::max(table_.RowCount(), table_.ColumnCount()); }

void LayoutedToolbar::EnableButton(int index, bool on) {
    if (ButtonItem* b = Button(index)) b->SetEnabled(on);
}

void LayoutedToolbar::CheckButton(int index, bool on) {
    if (ButtonItem* b = Button(index)) b->SetChecked(on);
}

void LayoutedToolbar::SetVertical(bool vertical) {
    const int n = ButtonCount();
    const bool isVertical = table_.ColumnCount() == 1 && table_.RowCount() > 1;
    if (vertical == isVertical || n < 2) return;
    std::vector<Layout::ILayoutItem*> items;
    for (int i = 0; i < n; ++i) {
        Layout::ILayoutItem* item = Button(i);
        if (item) table_.RemoveItem(item);
        items.push_back(item);
    }
    table_.Reset(vertical ? n : 1, vertical ? 1 : n, true);
    for (int i = 0; i < n; ++i) table_.SetItem(vertical ? i : 0, vertical ? 0 : i, items[static_cast<size_t>(i)]);
    UpdateLayout();
}

void LayoutedToolbar::OnLayout() {
    const int side = table_.RowCount() < 2 ? kTooltipBelow : kTooltipRight;
    if (side == tooltipSide_) return;
    tooltipSide_ = side;
    Layout::EnumItemsRecursive<ButtonItem>(table_, [side](ButtonItem* b) {
        if (b->TooltipSide() != kTooltipNone) b->SetTooltipSide(side);
        return true;
    });
}

void LayoutedToolbar::MouseMoved(const mwcl::MessageRecord& m) {
    if ((m.wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) || pressing_ || FromPenOrTouch()) return;
    if (!trackingLeave_) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = hwnd_;
        trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
    }
    // The hover time starts again on each button the mouse comes to.
    Layout::ILayoutItem* item = table_.FindItemDeep(Layout::StylusOf(m.lParam));
    if (item == hoverItem_) return;
    hoverItem_ = item;
    UINT hover = 0;
    if (!SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hover, 0) || hover == 0) hover = HOVER_DEFAULT;
    if (dynamic_cast<ButtonItem*>(item))
        SetTimer(hwnd_, kHoverTimerId, hover, nullptr);
    else
        KillTimer(hwnd_, kHoverTimerId);
}

void LayoutedToolbar::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_MOUSEMOVE:
        MouseMoved(m);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // After a press the tooltip waits until the mouse comes to another button.
        KillTimer(hwnd_, kHoverTimerId);
        hoverItem_ = table_.FindItemDeep(Layout::StylusOf(m.lParam));
        break;
    case WM_TIMER:
        if (m.wParam == kHoverTimerId) {
            KillTimer(hwnd_, kHoverTimerId);
            // (A button replaced meanwhile is no longer in the table.)
            if (!pressing_ && table_.VerifyItemValid(hoverItem_))
                if (ButtonItem* b = dynamic_cast<ButtonItem*>(hoverItem_)) b->ShowTooltip();
            return;
        }
        break;
    case WM_MOUSELEAVE:
        // The mouse went away from the toolbar: its tooltip goes too.
        trackingLeave_ = false;
        hoverItem_ = nullptr;
        KillTimer(hwnd_, kHoverTimerId);
        if (!pressing_) RouteEvent(m, Layout::kEventLeave, last_);
        return;
    default:
        break;
    }
    Layout::TableControl::HandleMessage(m);
}

int LayoutedToolbar::ButtonOfNotification(const NMHDR* notification) const {
    if (!notification || notification->hwndFrom != hwnd_ || notification->code != Layout::kEventRelease) return -1;
    const auto* n = reinterpret_cast<const Layout::TableControlNotification*>(notification);
    ButtonItem* fired = dynamic_cast<ButtonItem*>(n->item);
    int32_t row = 0, column = 0;
    if (!fired || !table_.FindCell(fired, row, column)) return -1;
    return row + column;
}

}  // namespace UI
