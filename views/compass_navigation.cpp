#include "views/compass_navigation.h"

#include "app/shell.h"
#include "views/compass_menus.h"
#include "views/core/compass_dial.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

namespace UI {

namespace {

const char16_t kClassName[] = u"CompassNavigationControl";
constexpr double kRad = 3.14159265358979323846 / 180.0;

int Round(double x) { return static_cast<int>(std::lround(x)); }

// The arrow polygon pointing right in a unit square, turned for the others.
void ArrowPolygon(int arrow, int x0, int y0, int side, POINT out[7]) {
    static const double kRight[7][2] = {{0, 0.4}, {0.5, 0.4}, {0.5, 0}, {1, 0.5}, {0.5, 1}, {0.5, 0.6}, {0, 0.6}};
    for (int i = 0; i < 7; ++i) {
        const double u = kRight[i][0], v = kRight[i][1];
        double x = u, y = v;
        switch (arrow) {
        case CompassNavigationControl::kArrowUp: x = v; y = 1 - u; break;
        case CompassNavigationControl::kArrowDown: x = v; y = u; break;
        case CompassNavigationControl::kArrowLeft: x = 1 - u; y = v; break;
        default: break;
        }
        out[i] = POINT{x0 + Round(x * side), y0 + Round(y * side)};
    }
}

// The square an arrow sits in.
RECT ArrowSquare(int arrow, int width, int height) {
    const int q = Round(height / 4.0);
    switch (arrow) {
    case CompassNavigationControl::kArrowUp: return RECT{0, 0, q, q};
    case CompassNavigationControl::kArrowDown: return RECT{0, height - q, q, height};
    case CompassNavigationControl::kArrowLeft: return RECT{width - height, height - q, width - height + q, height};
    default: return RECT{width - q, height - q, width, height};
    }
}

COLORREF Mix(COLORREF background, COLORREF foreground) {
    auto channel = [](int bg, int fg) { return (bg * (255 - 64) + fg * 64) / 255; };
    return RGB(channel(GetRValue(background), GetRValue(foreground)),
               channel(GetGValue(background), GetGValue(foreground)),
               channel(GetBValue(background), GetBValue(foreground)));
}

}  // namespace

void CompassNavigationControl::Create(HWND parent, int id, const RECT& rect) {
    LPCWSTR cls = mwcl::RegisterControlClass(kClassName, CS_DBLCLKS, nullptr);
    mwcl::Control::Create(parent, cls, WS_VISIBLE, id, rect);
}

void CompassNavigationControl::SetDirection(double azimuth, double altitude) {
    azimuth = std::min(360.0, std::max(0.0, azimuth));
    altitude = std::min(90.0, std::max(-90.0, altitude));
    if (azimuth == azimuth_ && altitude == altitude_) return;
    azimuth_ = azimuth;
    altitude_ = altitude;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

int CompassNavigationControl::ArrowAt(int width, int height, POINT p) {
    for (int a = kArrowUp; a <= kArrowRight; ++a) {
        const RECT r = ArrowSquare(a, width, height);
        if (PtInRect(&r, p)) return a;
    }
    return kNoArrow;
}

void CompassNavigationControl::Nudge(int arrow, double viewAngle, double& azimuth, double& altitude) {
    const double s = 0.2 * viewAngle;
    const double sa = s / std::max(std::cos(altitude * kRad), viewAngle / 180.0);
    switch (arrow) {
    case kArrowUp: altitude = std::min(90.0, altitude + s); break;
    case kArrowDown: altitude = std::max(-90.0, altitude - s); break;
    case kArrowLeft:
        azimuth -= sa;
        if (azimuth < 0) azimuth += 360.0;
        break;
    case kArrowRight:
        azimuth += sa;
        if (azimuth >= 360.0) azimuth -= 360.0;
        break;
    default: break;
    }
}

bool CompassNavigationControl::ApplyMenuCommand(int command) {
    double azimuth = azimuth_, altitude = altitude_;
    bool isAltitude = false;
    double degrees = 0;
    if (Compass::DirectionPreset(command, isAltitude, degrees)) {
        (isAltitude ? altitude : azimuth) = degrees;
    } else if (command == IDC_ALT_EDIT || command == IDC_AZ_EDIT) {
        auto& edit = Dialogs().viewDirection;
        if (!edit || !edit(parent_ ? parent_ : hwnd_, azimuth, altitude)) return false;
    } else {
        return false;
    }
    if (azimuth == azimuth_ && altitude == altitude_) return false;
    SetDirection(azimuth, altitude);
    Changed();
    return true;
}

void CompassNavigationControl::Changed() {
    if (parent_) SendMessageW(parent_, WM_COMMAND, MAKEWPARAM(id_, kDirectionChanged), reinterpret_cast<LPARAM>(hwnd_));
}

void CompassNavigationControl::Tapped(POINT p) {
    RECT client;
    GetClientRect(hwnd_, &client);
    const int w = client.right, h = client.bottom;
    const int arrow = ArrowAt(w, h, p);
    if (arrow != kNoArrow) {
        double azimuth = azimuth_, altitude = altitude_;
        Nudge(arrow, viewAngle_, azimuth, altitude);
        SetDirection(azimuth, altitude);
        Changed();
        return;
    }
    // Over the altitude half or the azimuth half: that half's presets.
    const bool altitudePart = p.x < (w - 1) / 2;
    HMENU menu = LoadMenuW(mwcl::Instance(), mwcl::LocalizedMenuName(IDM_DIRECTION_PRESETS).Get());
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, altitudePart ? 0 : 1);
    if (parent_) SendMessageW(parent_, WM_COMMAND, MAKEWPARAM(id_, kMenuOpening), reinterpret_cast<LPARAM>(hwnd_));
    POINT screen = p;
    ClientToScreen(hwnd_, &screen);
    const int command = static_cast<int>(
        TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, screen.x, screen.y, hwnd_, nullptr));
    DestroyMenu(menu);
    if (parent_) SendMessageW(parent_, WM_COMMAND, MAKEWPARAM(id_, kMenuClosed), reinterpret_cast<LPARAM>(hwnd_));
    if (command) ApplyMenuCommand(command);
}

void CompassNavigationControl::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_PAINT: {
        mwcl::DoubleBufferPaint paint;
        const SIZE size = mwcl::GetClientSize(hwnd_);
        Paint(paint.Begin(hwnd_, nullptr), size.cx, size.cy);
        paint.End();
        m.result = 0;
        return;
    }
    case WM_ERASEBKGND:
        m.result = 1;
        return;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        m.result = 0;
        return;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            Tapped(POINT{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)});
        }
        m.result = 0;
        return;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        pressed_ = false;
        break;
    default:
        break;
    }
    mwcl::Control::HandleMessage(m);
}

void CompassNavigationControl::Paint(HDC dc, int w, int h) {
    const COLORREF background = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    HPEN guide = CreatePen(PS_SOLID, 1, Mix(background, text));
    HPEN ink = CreatePen(PS_SOLID, 1, text);
    HGDIOBJ oldPen = SelectObject(dc, guide);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int mid = Round(h / 2.0), left = Round(h / 2.0), right = w - Round(h / 2.0) - 1;
    MoveToEx(dc, 0, mid, nullptr);
    LineTo(dc, w, mid);
    MoveToEx(dc, left, 0, nullptr);
    LineTo(dc, left, h);
    MoveToEx(dc, right, 0, nullptr);
    LineTo(dc, right, h);

    SelectObject(dc, ink);
    const int r = Round(0.4 * h);
    // The altitude half dial and its needle.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, left + 1, h);
    Ellipse(dc, left - r, mid - r, left + r + 1, mid + r + 1);
    RestoreDC(dc, saved);
    MoveToEx(dc, left, mid, nullptr);
    LineTo(dc, left - Round(r * std::cos(altitude_ * kRad)), mid - Round(r * std::sin(altitude_ * kRad)));
    // The azimuth dial, north up and east right.
    Ellipse(dc, right - r, mid - r, right + r + 1, mid + r + 1);
    MoveToEx(dc, right, mid, nullptr);
    LineTo(dc, right + Round(r * std::sin(azimuth_ * kRad)), mid - Round(r * std::cos(azimuth_ * kRad)));

    // The arrows, filled in the text colour.
    HBRUSH fill = CreateSolidBrush(text);
    SelectObject(dc, fill);
    for (int a = kArrowUp; a <= kArrowRight; ++a) {
        const RECT sq = ArrowSquare(a, w, h);
        POINT pts[7];
        ArrowPolygon(a, sq.left, sq.top, sq.right - sq.left - 1, pts);
        Polygon(dc, pts, 7);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(fill);
    DeleteObject(guide);
    DeleteObject(ink);
}

}  // namespace UI
