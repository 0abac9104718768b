#include "layout/table_control.h"

#include "winlib/wstr.h"

namespace UI {
namespace Layout {

namespace {

const char16_t kTableClass[] = u"TableControl";

}  // namespace

Position StylusOf(LPARAM lParam) {
    // Signed: with the stylus captured, positions left of or above the control are negative.
    return Position{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

TableControl::TableControl(int32_t rows, int32_t columns, bool ownsItems) : table_(rows, columns, ownsItems) {}

TableControl::~TableControl() = default;

LPCWSTR TableControl::WindowClassName() const {
    // Double clicks become double taps; the painting covers the background.
    return mwcl::RegisterControlClass(kTableClass, CS_DBLCLKS, nullptr);
}

void TableControl::Create(HWND parent, int id, const RECT& rect, int sizeMode, DWORD style) {
    sizeMode_ = sizeMode;
    if (!background_) background_ = GetSysColorBrush(COLOR_WINDOW);
    mwcl::Control::Create(parent, WindowClassName(), style | WS_VISIBLE, id, rect);
    UpdateLayout();
}

void TableControl::PlaceTable() {
    table_.SetRect(Rect{-hscroll_.Position(), -vscroll_.Position(), table_.TotalWidth(), table_.TotalHeight()});
}

void TableControl::UpdateLayout() {
    int32_t w = 0, h = 0;
    table_.Layout(w, h);
    if (hwnd_) {
        if (sizeMode_ == kFitTable) {
            SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            SetUpScrollBars();
        }
    }
    PlaceTable();
    OnLayout();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TableControl::SetUpScrollBars() {
    // The room for the table is the client area as it would be without bars:
    // a border (or any other frame) is never part of the page.
    RECT cr;
    GetClientRect(hwnd_, &cr);
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    const int barW = GetSystemMetrics(SM_CXVSCROLL), barH = GetSystemMetrics(SM_CYHSCROLL);
    const int ww = (cr.right - cr.left) + ((style & WS_VSCROLL) ? barW : 0);
    const int wh = (cr.bottom - cr.top) + ((style & WS_HSCROLL) ? barH : 0);
    const int tw = table_.TotalWidth(), th = table_.TotalHeight();
    bool needH = tw > ww, needV = th > wh;
    // One bar can make room for the other too small.
    if (needH && !needV) needV = th > wh - barH;
    if (needV && !needH) needH = tw > ww - barW;
    hscroll_.Setup(hwnd_, needH ? tw : 0, needV ? ww - barW : ww);
    vscroll_.Setup(hwnd_, needV ? th : 0, needH ? wh - barH : wh);
}

void TableControl::Scrolled() {
    PlaceTable();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TableControl::Paint() {
    PlaceTable();
    mwcl::DoubleBufferPaint paint;
    HDC dc = paint.Begin(hwnd_, background_);
    const RECT& u = paint.Paint().rcPaint;
    DrawRecursive(table_, dc, Rect{u.left, u.top, u.right - u.left, u.bottom - u.top});
    paint.End();
}

void TableControl::RouteEvent(const mwcl::MessageRecord& m, int event, const Position& p) {
    // Clickable items look pressed while armed: the look changes with the
    // press, its end, and the stylus moving onto another item meanwhile (not
    // with every move, which would repaint the whole table for nothing).
    const bool crossed = pressing_ && event == kEventMove && table_.FindItemDeep(last_) != table_.FindItemDeep(p);
    last_ = p;
    ILayoutItem* item = table_.HandleEvent(p, event);
    if (!hwnd_) return;
    if (event == kEventPress || event == kEventRelease || event == kEventCancel || crossed)
        InvalidateRect(hwnd_, nullptr, FALSE);
    const Clickable* clicked = dynamic_cast<const Clickable*>(item);
    TableControlNotification n{};
    n.hdr.hwndFrom = hwnd_;
    n.hdr.idFrom = static_cast<UINT_PTR>(id_);
    n.hdr.code = static_cast<UINT>(event);
    n.message = m.message;
    n.event = event;
    n.item = item;
    n.position = p;
    n.itemId = clicked ? clicked->ClickId() : -1;
    SendMessageW(parent_ ? parent_ : ::GetParent(hwnd_), WM_NOTIFY, static_cast<WPARAM>(id_), reinterpret_cast<LPARAM>(&n));
}

int TableControl::TappedItemId(const NMHDR* notification) {
    if (!notification || notification->code != kEventRelease) return -1;
    if (!dynamic_cast<TableControl*>(mwcl::Window::FromHandle(notification->hwndFrom))) return -1;
    return reinterpret_cast<const TableControlNotification*>(notification)->itemId;
}

void TableControl::CancelGesture(const mwcl::MessageRecord& m) {
    if (!pressing_) return;
    pressing_ = false;
    KillTimer(hwnd_, kHoldTimerId);
    RouteEvent(m, kEventLeave, last_);
    if (hwnd_) RouteEvent(m, kEventCancel, last_);
}

void TableControl::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_PAINT:
        Paint();
        m.result = 0;
        return;
    case WM_ERASEBKGND:
        m.result = 1;  // the painting covers everything
        return;
    case WM_SIZE:
        if (sizeMode_ == kScroll) {
            SetUpScrollBars();
            Scrolled();
        }
        m.result = 0;
        return;
    case WM_MOUSEMOVE:
        RouteEvent(m, kEventMove, StylusOf(m.lParam));
        return;
    case WM_LBUTTONDOWN:
        // A scrolling table takes the keyboard (arrows, wheel) when tapped.
        if (sizeMode_ == kScroll && GetFocus() != hwnd_) SetFocus(hwnd_);
        pressing_ = true;
        SetCapture(hwnd_);
        SetTimer(hwnd_, kHoldTimerId, GetDoubleClickTime(), nullptr);
        RouteEvent(m, kEventPress, StylusOf(m.lParam));
        return;
    case WM_LBUTTONUP: {
        // The release reaches the items before the capture goes.
        pressing_ = false;
        RouteEvent(m, kEventRelease, StylusOf(m.lParam));
        if (hwnd_) {
            KillTimer(hwnd_, kHoldTimerId);
            if (GetCapture() == hwnd_) ReleaseCapture();
        }
        return;
    }
    case WM_LBUTTONDBLCLK:
        RouteEvent(m, kEventDoubleTap, StylusOf(m.lParam));
        return;
    case WM_TIMER:
        if (m.wParam == kHoldTimerId) {
            KillTimer(hwnd_, kHoldTimerId);
            RouteEvent(m, kEventHold, last_);
            return;
        }
        DefaultProcessing(m);
        return;
    case WM_CAPTURECHANGED:
        // To another window or to none (a message box, a task switch): either
        // way the release will never come here.
        if (reinterpret_cast<HWND>(m.lParam) != hwnd_) CancelGesture(m);
        return;
    case WM_CANCELMODE:
        CancelGesture(m);
        if (hwnd_ && GetCapture() == hwnd_) ReleaseCapture();
        m.result = 0;
        return;
    case WM_HSCROLL:
        if (hscroll_.OnScroll(hwnd_, m.wParam)) Scrolled();
        return;
    case WM_VSCROLL:
        if (vscroll_.OnScroll(hwnd_, m.wParam)) Scrolled();
        return;
    case WM_MOUSEWHEEL:
        if (sizeMode_ == kScroll && vscroll_.MaxPosition() > 0) {
            // Three lines a notch; parts of a notch (fine wheels) add up.
            wheel_ += GET_WHEEL_DELTA_WPARAM(m.wParam);
            const int notches = wheel_ / WHEEL_DELTA;
            wheel_ -= notches * WHEEL_DELTA;
            const int lines = -notches * kWheelLines;
            if (lines && vscroll_.ScrollBy(hwnd_, lines * mwcl::ScrollState::kLine)) Scrolled();
            m.result = 0;
            return;
        }
        DefaultProcessing(m);  // the parent may scroll instead
        return;
    case WM_KEYDOWN: {
        // Arrows scroll on each press and each repeat of a held key.
        if (!mwcl::KeyDataOf(m).goingDown) {
            DefaultProcessing(m);
            return;
        }
        bool moved = false;
        switch (m.wParam) {
        case VK_UP: moved = vscroll_.ScrollBy(hwnd_, -mwcl::ScrollState::kLine); break;
        case VK_DOWN: moved = vscroll_.ScrollBy(hwnd_, mwcl::ScrollState::kLine); break;
        case VK_LEFT: moved = hscroll_.ScrollBy(hwnd_, -mwcl::ScrollState::kLine); break;
        case VK_RIGHT: moved = hscroll_.ScrollBy(hwnd_, mwcl::ScrollState::kLine); break;
        default: DefaultProcessing(m); return;
        }
        if (moved) Scrolled();
        return;
    }
    case WM_GETDLGCODE:
        if (sizeMode_ == kScroll) {
            m.result = DLGC_WANTARROWS;
            return;
        }
        DefaultProcessing(m);
        return;
    default:
        mwcl::Control::HandleMessage(m);
        return;
    }
}

}  // namespace Layout
}  // namespace UI
