#include "views/sky_window.h"

#include "app/shell.h"
#include "app/skyview_settings_dialog.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "engine/vecmath.h"
#include "settings/preferences.h"
#include "skymap/painter.h"
#include "views/compass_navigation.h"
#include "views/view_texts.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace UI {

namespace {

using Data::Message;
using Data::MessageFormat;
using Data::MessageText;

// The start-up measurement (bench/startup.sh): when the environment variable
// CELVANE_REPORT_FIRST_PAINT names a file, the end of the sky map's first
// paint is written to it once, as "<Unix time, ms> <ms since the process was
// created>". Nothing happens without the variable.
void ReportFirstPaint() {
    static bool reported = false;
    if (reported) return;
    reported = true;
    WCHAR path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(W(u"CELVANE_REPORT_FIRST_PAINT"), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    FILETIME now, created, exited, kernel, user;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& f) {  // 100 ns since 1601
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    const unsigned long long kUnixEpoch = 116444736000000000ULL;
    char line[64];
    int length = std::snprintf(line, sizeof line, "%llu", (ticks(now) - kUnixEpoch) / 10000);
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        length += std::snprintf(line + length, sizeof line - length, " %llu", (ticks(now) - ticks(created)) / 10000);
    length += std::snprintf(line + length, sizeof line - length, "\n");
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

const Message kTooltips[14] = {
    kMsgTimeMode,
    {{0x409, u"Full Screen"}, {0x407, u"Vollbild"}},
    {{0x409, u"View Settings"}, {0x407, u"Anz. Einstellungen"}},
    kMsgSearchObject,
    {{0x409, u"Angular distance reference"}, {0x407, u"Referenz für Winkeldistanz"}},
    {{0x409, u"Object Info Window"}, {0x407, u"Objekt Info Fenster"}},
    {{0x409, u"Center object"}, {0x407, u"Objekt Zentrieren"}},
    {{0x409, u"Object Display"}, {0x407, u"Objekt anzeigen"}},
    {{0x409, u"Location Display"}, {0x407, u"Ort anzeigen"}},
    {{0x409, u"Zoom"}, {0x407, u"Zoom"}},
    {{0x409, u"Mag Filter"}, {0x407, u"Helligkeitsfilter"}},
    {{0x409, u"Navigate View Direction with keys"}, {0x407, u"Blickrichtung ändern mit Tasten"}},
    {{0x409, u"Change time and zoom with keys"}, {0x407, u"Zeit und Zoom ändern mit Tasten"}},
    kMsgCompassView,
};
const int kButtonImages[14] = {3, 6, 7, 5, 9, 4, 8, 11, 10, 12, 13, 14, 15, 0};
enum Button {
    kBtnTime = 0, kBtnFullScreen, kBtnViewSettings, kBtnSearch, kBtnReference, kBtnInfo, kBtnCentre,
    kBtnObjectPanel, kBtnLocationPanel, kBtnZoom, kBtnMagnitude, kBtnNavigateView, kBtnNavigateTime, kBtnCompass
};

const Message kMsgAngularDistance{{0x409, u"Angular distance: {0}"}, {0x407, u"Winkeldistanz: {0}"}};
const Message kMsgAzAlt{{0x409, u"Az/Alt: {0}/{1}"}, {0x407, u"Az/Höhe: {0}/{1}"}};
const Message kMsgAzMAlt{{0x409, u"AzM/Alt: {0}/{1}"}, {0x407, u"AzM/Höhe: {0}/{1}"}};
const Message kMsgRaDec{{0x409, u"R.A./Dec: {0}/{1}"}, {0x407, u"R.A./Dekl: {0}/{1}"}};
const Message kMsgHaDec{{0x409, u"H.A./Dec: {0}/{1}"}, {0x407, u"H.A./Dekl: {0}/{1}"}};
const Message kMsgEast{{0x409, u"E"}, {0x407, u"O"}};
const Message kMsgZoomLabel{{0x409, u"Zoom:"}};
const Message kMsgMagLabel{{0x409, u"Mag:"}};
const Message kMsgZoomValue{{0x409, u"Zoom {0}"}};
const Message kMsgMagValue{{0x409, u"Mag {0}"}};

Data::Preferences& Prefs() { return Data::Preferences::Instance(); }

int Dpi(HWND hwnd, int index) {
    HDC dc = GetDC(hwnd);
    const int dpi = dc ? GetDeviceCaps(dc, index) : 96;
    if (dc) ReleaseDC(hwnd, dc);
    return dpi > 0 ? dpi : 96;
}

// The stylus position of a mouse message (signed: a captured stylus can leave the window).
int XOf(LPARAM l) { return static_cast<short>(LOWORD(l)); }
int YOf(LPARAM l) { return static_cast<short>(HIWORD(l)); }

}  // namespace

// --- texts --------------------------------------------------------------------------------------

std::u16string SkyPositionText(const Data::AstroObjRef& object) {
    Calc::Ephemeris& eph = ProgramEphemeris();
    const Calc::BodyInfo info = Data::ObjectInfo(object, eph);
    const Data::Preferences& prefs = Prefs();
    switch (prefs.display.tapInfo) {
    case 1:
        return MessageFormat(kMsgRaDec, Data::FormatRightAscension(info.ra)).Arg(Data::FormatDegrees(info.dec)).Format();
    case 2:
        return MessageFormat(kMsgHaDec, Data::FormatRightAscension(info.hourAngle))
            .Arg(Data::FormatDegrees(info.dec))
            .Format();
    case 3: {
        const float h = info.hourAngle;
        const std::u16string side = h < 12.0f ? std::u16string(u"W") : MessageText(kMsgEast);
        const std::u16string ha = Data::FormatRightAscension(h < 12.0f ? h : 24.0f - h) + side;
        return MessageFormat(kMsgHaDec, ha).Arg(Data::FormatDegrees(info.dec)).Format();
    }
    default: {
        if (prefs.magnetic) {
            const float az = Calc::Reduce(ProgramMagneticModel().MagneticAzimuth(info.azimuth), 360.0f);
            return MessageFormat(kMsgAzMAlt, Data::FormatDegrees(az)).Arg(Data::FormatDegrees(info.altitude)).Format();
        }
        return MessageFormat(kMsgAzAlt, Data::FormatDegrees(info.azimuth))
            .Arg(Data::FormatDegrees(info.altitude))
            .Format();
    }
    }
}

// --- the map ------------------------------------------------------------------------------------

SkyWindowControl::SkyWindowControl(SkyWindow& owner) : owner_(owner), view_(ProgramEphemeris()) {}

SkyWindowControl::~SkyWindowControl() = default;

void SkyWindowControl::Create(HWND parent, int id, const RECT& rect) {
    LPCWSTR cls = mwcl::RegisterControlClass(u"SkyWindowControl", CS_DBLCLKS, nullptr);
    mwcl::Control::Create(parent, cls, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, id, rect);
    dpi_ = Dpi(hwnd_, LOGPIXELSY);
    hx_ = Dpi(hwnd_, LOGPIXELSX) / 5;
    hy_ = dpi_ / 5;
    view_.SetHitRadius(SkyMap::HitRadiusForDpi(Dpi(hwnd_, LOGPIXELSX), dpi_));
}

void SkyWindowControl::InvalidateMap() {
    needsPaint_ = true;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void SkyWindowControl::SetOptions(const Data::SkyDisplaySettings& options) {
    view_.SetOptions(options);
    InvalidateMap();
}

void SkyWindowControl::SetCentre(float azimuth, float altitude) {
    view_.SetCentre(azimuth, altitude);
    InvalidateMap();
}

void SkyWindowControl::SetField(float degrees) {
    view_.SetFieldOfView(degrees);
    InvalidateMap();
}

void SkyWindowControl::SetMagnitudeLimit(float magnitude) {
    view_.SetMagnitudeLimit(magnitude);
    InvalidateMap();
}

void SkyWindowControl::TimeChanged() {
    view_.Invalidate();
    InvalidateMap();
}

void SkyWindowControl::SetSelected(const Data::AstroObjRef& object) {
    if (object == selected_) return;
    // A constellation's outline is part of the picture.
    if (selected_.kind == Data::kObjConstellation || object.kind == Data::kObjConstellation) InvalidateMap();
    selected_ = object;
    view_.SetSelected(object);
    if (!needsPaint_) RefreshMarker();
}

void SkyWindowControl::SetReference(const Data::AstroObjRef& object) {
    if (object == reference_) return;
    reference_ = object;
    referencePoint_ = SkyMap::ScreenPoint{-1000, -1000};
    InvalidateMap();
}

void SkyWindowControl::CentreOn(const Data::AstroObjRef& object) {
    view_.CentreOnEquatorial(Data::ObjectPosition(object, ProgramEphemeris()));
    InvalidateMap();
}

bool SkyWindowControl::CentreIfOffMap(const Data::AstroObjRef& object) {
    SkyMap::ScreenPoint p;
    if (view_.ScreenPositionOf(object, p)) return false;
    CentreOn(object);
    return true;
}

void SkyWindowControl::ZoomKeepingSelected(float field) {
    SkyMap::ScreenPoint p;
    if (selected_.kind != Data::kObjNone && view_.ScreenPositionOf(selected_, p))
        view_.ZoomAbout(field, p.x, p.y);
    else
        view_.SetFieldOfView(field);
    InvalidateMap();
}

void SkyWindowControl::Centre(float& azimuth, float& altitude) const {
    azimuth = view_.CentreAz();
    altitude = view_.CentreAlt();
}

void SkyWindowControl::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_PAINT:
        Paint();
        m.result = 0;
        return;
    case WM_ERASEBKGND:
        m.result = 1;  // the picture covers everything
        return;
    case WM_SIZE:
        InvalidateMap();
        break;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd_);
        PenDown(XOf(m.lParam), YOf(m.lParam));
        m.result = 0;
        return;
    case WM_MOUSEMOVE:
        if (gesture_ != kIdle) PenMove(XOf(m.lParam), YOf(m.lParam));
        m.result = 0;
        return;
    case WM_LBUTTONUP:
        if (gesture_ != kIdle) PenMove(XOf(m.lParam), YOf(m.lParam));
        if (GetCapture() == hwnd_)
            ReleaseCapture();  // the capture change ends the gesture
        else
            EndGesture();
        m.result = 0;
        return;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        EndGesture();
        break;
    case WM_TIMER:
        if (m.wParam == kBlinkTimer) {
            markerOn_ = !markerOn_;
            if (markerOn_) {
                HDC dc = GetDC(hwnd_);
                DrawCross(dc, markerPoint_, RGB(255, 0, 0));
                ReleaseDC(hwnd_, dc);
            } else {
                EraseMarker();
            }
            m.result = 0;
            return;
        }
        break;
    case WM_KEYDOWN:
        owner_.HandleKey(static_cast<UINT>(m.wParam));
        m.result = 0;
        return;
    case WM_GETDLGCODE:
        m.result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        return;
    default:
        break;
    }
    DefaultProcessing(m);
}

void SkyWindowControl::Paint() {
    const SIZE size = mwcl::GetClientSize(hwnd_);
    if (needsPaint_ || !view_.Picture()) {
        view_.SetSize(size.cx, size.cy);
        view_.DropPicture();
        RefreshMarker();
        SkyMap::Paint(view_, dpi_);
        referencePoint_ = SkyMap::ScreenPoint{-1000, -1000};
        SkyMap::ScreenPoint p;
        if (reference_.kind != Data::kObjNone && view_.ScreenPositionOf(reference_, p)) referencePoint_ = p;
        RefreshMarker();
        needsPaint_ = false;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    auto* picture = static_cast<SkyMap::MapBitmap*>(view_.Picture());
    if (picture && picture->Valid()) {
        BitBlt(dc, 0, 0, picture->Width(), picture->Height(), picture->Context(), 0, 0, SRCCOPY);
    } else {
        FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    DrawReference(dc);
    EndPaint(hwnd_, &ps);
    ReportFirstPaint();
    if (markerActive_ && markerOn_) {
        HDC wdc = GetDC(hwnd_);
        DrawCross(wdc, markerPoint_, RGB(255, 0, 0));
        ReleaseDC(hwnd_, wdc);
    }
}

void SkyWindowControl::DrawCross(HDC dc, SkyMap::ScreenPoint p, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    const int x = p.x, y = p.y;
    MoveToEx(dc, x - hx_, y, nullptr);
    LineTo(dc, x - hx_ / 4, y);
    MoveToEx(dc, x + hx_ / 4, y, nullptr);
    LineTo(dc, x + hx_ + 1, y);
    MoveToEx(dc, x, y - hy_, nullptr);
    LineTo(dc, x, y - hy_ / 4);
    MoveToEx(dc, x, y + hy_ / 4, nullptr);
    LineTo(dc, x, y + hy_ + 1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void SkyWindowControl::DrawReference(HDC dc) {
    if (reference_.kind == Data::kObjNone || referencePoint_.x == -1000) return;
    DrawCross(dc, referencePoint_, RGB(255, 255, 0));
}

void SkyWindowControl::EraseMarker() {
    auto* picture = static_cast<SkyMap::MapBitmap*>(view_.Picture());
    if (!hwnd_ || !picture || !picture->Valid()) return;
    RECT r{markerPoint_.x - hx_, markerPoint_.y - hy_, markerPoint_.x + hx_ + 1, markerPoint_.y + hy_ + 1};
    RECT all{0, 0, picture->Width(), picture->Height()};
    RECT clip;
    if (!IntersectRect(&clip, &r, &all)) return;
    HDC dc = GetDC(hwnd_);
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, picture->Context(), clip.left,
           clip.top, SRCCOPY);
    DrawReference(dc);
    ReleaseDC(hwnd_, dc);
}

void SkyWindowControl::StopMarker() {
    if (!markerActive_) return;
    if (hwnd_) KillTimer(hwnd_, kBlinkTimer);
    if (markerOn_) EraseMarker();
    markerActive_ = false;
    markerOn_ = false;
}

void SkyWindowControl::RefreshMarker() {
    if (selected_.kind == Data::kObjNone) {
        StopMarker();
        return;
    }
    SkyMap::ScreenPoint p;
    if (view_.ScreenPositionOf(selected_, p)) {
        if (markerActive_ && p.x == markerPoint_.x && p.y == markerPoint_.y) return;
        if (markerActive_ && markerOn_) EraseMarker();
        markerPoint_ = p;
        markerActive_ = true;
        markerOn_ = true;
        if (hwnd_) SetTimer(hwnd_, kBlinkTimer, GetCaretBlinkTime(), nullptr);
        return;
    }
    // The selected object has left the map: nothing is selected any more.
    StopMarker();
    selected_ = Data::AstroObjRef();
    view_.SetSelected(selected_);
    owner_.Update(kUpdateSelection);
}

void SkyWindowControl::PenDown(int x, int y) {
    SetCapture(hwnd_);
    if (gesture_ != kIdle) return;
    gesture_ = kPressed;
    pressPoint_ = POINT{x, y};
    owner_.SetRefreshSuppressed(true);
}

void SkyWindowControl::PenMove(int x, int y) {
    if (gesture_ == kPressed) {
        if (std::abs(x - pressPoint_.x) < kDragThreshold && std::abs(y - pressPoint_.y) < kDragThreshold) return;
        gesture_ = kDragging;
        lastPoint_ = pressPoint_;
    }
    if (gesture_ != kDragging || (x == lastPoint_.x && y == lastPoint_.y)) return;
    // The centre moves by the motion times the pan rates where it began.
    const SkyMap::PanRate rate = view_.PanRates(lastPoint_.x, lastPoint_.y);
    view_.SetCentre(view_.CentreAz() + rate.azimuthPerPixel * (x - lastPoint_.x),
                    view_.CentreAlt() + rate.altitudePerPixel * (y - lastPoint_.y));
    InvalidateMap();
    lastPoint_ = POINT{x, y};
    owner_.Update(kUpdateDragging);
    owner_.RestartPanelTimer();
}

void SkyWindowControl::EndGesture() {
    const int gesture = gesture_;
    gesture_ = kIdle;
    if (gesture == kPressed) {
        const Data::AstroObjRef hit = view_.HitTest(pressPoint_.x, pressPoint_.y);
        if (hit.kind == Data::kObjConstellation || selected_.kind == Data::kObjConstellation) InvalidateMap();
        selected_ = hit;
        view_.SetSelected(hit);
        owner_.Update(kUpdateSelection);
        RefreshMarker();
    } else if (gesture == kDragging) {
        owner_.Update(kUpdateDragEnded);
    }
    if (gesture != kIdle) owner_.SetRefreshSuppressed(false);
}

// --- panels -------------------------------------------------------------------------------------

void SkyWindowPanel::Create(HWND parent, int id) {
    LPCWSTR cls = mwcl::RegisterControlClass(u"SkyWindowPanel", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    mwcl::Control::Create(parent, cls, WS_CHILD | WS_CLIPCHILDREN, id, RECT{0, 0, 10, 10});
}

void SkyWindowPanel::SetLines(std::vector<std::u16string> lines) {
    if (lines == lines_) return;
    lines_ = std::move(lines);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void SkyWindowPanel::Paint(HDC dc, const RECT& client) {
    HGDIOBJ oldFont = SelectObject(dc, NormalFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const int line = LineHeight();
    const int pad = std::max(2, line / 5);
    for (size_t i = 0; i < lines_.size(); ++i) {
        RECT r{pad, static_cast<LONG>(i) * line, TextWidth(client) - pad, static_cast<LONG>(i + 1) * line};
        DrawTextW(dc, W(lines_[i]), static_cast<int>(lines_[i].size()), &r,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER);
    }
    SelectObject(dc, oldFont);
}

void SkyWindowPanel::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_PAINT: {
        mwcl::DoubleBufferPaint paint;
        HDC dc = paint.Begin(hwnd_, GetSysColorBrush(COLOR_WINDOW));
        RECT client;
        GetClientRect(hwnd_, &client);
        Paint(dc, client);
        paint.End();
        m.result = 0;
        return;
    }
    case WM_ERASEBKGND:
        m.result = 1;
        return;
    case WM_LBUTTONUP:
        Tapped(XOf(m.lParam), YOf(m.lParam));
        m.result = 0;
        return;
    default:
        DefaultProcessing(m);
        return;
    }
}

// --- the location panel ------------------------------------------------------------------------

void SkyWindowLocationInfoControl::CreateWidget() {
    widget_.Create(hwnd_, kWidgetId, RECT{0, 0, 10, 10});
    PlaceWidget();
}

void SkyWindowLocationInfoControl::PlaceWidget() {
    if (!widget_.GetHandle()) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const int h = client.bottom;
    const int w = static_cast<int>(std::lround(1.5 * h)) + 2;
    mwcl::MoveWindowTo(widget_.GetHandle(), RECT{std::max<LONG>(0, client.right - w), 0, client.right, h});
}

int SkyWindowLocationInfoControl::TextWidth(const RECT& client) const {
    return client.right - (static_cast<int>(std::lround(1.5 * client.bottom)) + 2);
}

void SkyWindowLocationInfoControl::HandleMessage(mwcl::MessageRecord& m) {
    if (m.message == WM_SIZE) PlaceWidget();
    if (m.message == WM_COMMAND && LOWORD(m.wParam) == kWidgetId) {
        // The widget's notifications: a new direction turns the view; while
        // one of its menus is open the full-screen panel stays.
        switch (HIWORD(m.wParam)) {
        case CompassNavigationControl::kDirectionChanged: owner_.Update(kUpdateDirection); break;
        case CompassNavigationControl::kMenuOpening: owner_.StopPanelTimer(); break;
        case CompassNavigationControl::kMenuClosed: owner_.RestartPanelTimer(); break;
        default: break;
        }
        m.result = 0;
        return;
    }
    SkyWindowPanel::HandleMessage(m);
}

void SkyWindowLocationInfoControl::Update() {
    SetLines({DisplayedTimeLine(), DisplayedPlaceLine()});
    const Data::SkyViewState& sky = Prefs().skyView;
    widget_.SetViewAngle(sky.viewAngle);
    widget_.SetDirection(sky.az, sky.alt);
}

void SkyWindowLocationInfoControl::Tapped(int x, int y) {
    const int line = LineHeight() > 0 ? y / LineHeight() : 0;
    if (line == 0)
        owner_.RunSettingsCommand(kCmdDisplayTime);
    else if (line == 1)
        owner_.RunSettingsCommand(kCmdLocation);
}

void SkyWindowObjectInfoControl::Update(bool threeLines) {
    const Data::Preferences& prefs = Prefs();
    const Data::AstroObjRef& selected = prefs.skyView.selectedObj;
    const Data::AstroObjRef& reference = prefs.skyView.angularDistRefObj;
    if (selected.kind == Data::kObjNone) {
        SetLines({});
        return;
    }
    Calc::Ephemeris& eph = ProgramEphemeris();
    if (reference.kind != Data::kObjNone) {
        const float angle = Calc::AngleBetween(Data::ObjectPosition(selected, eph), Data::ObjectPosition(reference, eph));
        const std::u16string distance =
            MessageFormat(kMsgAngularDistance, Data::FormatDegreesAuto(angle * 57.29578f)).Format();
        if (threeLines)
            SetLines({Data::ObjectName(reference), Data::ObjectName(selected), distance});
        else
            SetLines({Data::ObjectName(selected), distance});
        return;
    }
    const std::u16string name = Data::ObjectName(selected);
    const std::u16string second = Data::ObjectSubtitle(selected);
    std::u16string data = Data::ObjectSummary(selected, eph);
    if (!data.empty()) data += u"     ";
    data += SkyPositionText(selected);
    if (threeLines)
        SetLines({name, second, data});
    else
        SetLines({second.empty() ? name : name + u", " + second, data});
}

void SkyWindowZoomControl::CreateTrackbar() {
    trackbar_ = CreateWindowExW(0, TRACKBAR_CLASSW, W(u""),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS | TBS_FIXEDLENGTH, 0, 0,
                                10, 10, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTrackbarId)),
                                mwcl::Instance(), nullptr);
    if (!trackbar_) FatalError(u"Creating control failed");
    SetZoomMode(zoomMode_);
}

void SkyWindowZoomControl::SetZoomMode(bool zoom) {
    zoomMode_ = zoom;
    if (!trackbar_) return;
    if (zoom) {
        SendMessageW(trackbar_, TBM_SETRANGE, TRUE, MAKELPARAM(0, SkyMap::kFieldLevelCount - 1));
        SendMessageW(trackbar_, TBM_SETLINESIZE, 0, 1);
        SendMessageW(trackbar_, TBM_SETPAGESIZE, 0, 1);
    } else {
        SendMessageW(trackbar_, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1000));
        SendMessageW(trackbar_, TBM_SETLINESIZE, 0, 1);
        SendMessageW(trackbar_, TBM_SETPAGESIZE, 0, 20);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void SkyWindowZoomControl::Update(float field, float magThreshold, float limitingMagnitude) {
    SetLines({MessageFormat(kMsgZoomValue, Data::FormatDegrees(field)).Format(),
              MessageFormat(kMsgMagValue, Data::FormatSignificant(limitingMagnitude, 3)).Format()});
    if (!trackbar_) return;
    const int pos = zoomMode_ ? SkyMap::FieldLevelIndex(field)
                              : static_cast<int>(std::lround(std::max(0.0f, std::min(1000.0f, magThreshold))));
    if (SendMessageW(trackbar_, TBM_GETPOS, 0, 0) != pos) SendMessageW(trackbar_, TBM_SETPOS, TRUE, pos);
    PlaceTrackbar();
}

void SkyWindowZoomControl::PlaceTrackbar() {
    if (!trackbar_) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const int line = LineHeight();
    const int left = static_cast<int>(2.5 * line), right = client.right - 6 * line;
    const int height = std::min<int>(client.bottom, 2 * line);
    const int top = (client.bottom - height) / 2;
    mwcl::MoveWindowTo(trackbar_, RECT{left, top, std::max(left + 1, right), top + height});
    SendMessageW(trackbar_, TBM_SETTHUMBLENGTH, std::max(4, height * 4 / 5), 0);
}

void SkyWindowZoomControl::Paint(HDC dc, const RECT& client) {
    HGDIOBJ oldFont = SelectObject(dc, NormalFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const int line = LineHeight();
    const std::u16string label = MessageText(zoomMode_ ? kMsgZoomLabel : kMsgMagLabel);
    RECT l{std::max(2, line / 5), 0, static_cast<LONG>(2.5 * line), client.bottom};
    DrawTextW(dc, W(label), static_cast<int>(label.size()), &l, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    const int top = (client.bottom - 2 * line) / 2;
    for (size_t i = 0; i < lines_.size() && i < 2; ++i) {
        RECT r{client.right - 6 * line, top + static_cast<LONG>(i) * line, client.right - 2,
               top + static_cast<LONG>(i + 1) * line};
        // The text of the mode now shown is drawn as a link to the other one's.
        SetTextColor(dc, (i == 0) != zoomMode_ ? LinkColor() : GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, W(lines_[i]), static_cast<int>(lines_[i].size()), &r,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    }
    SelectObject(dc, oldFont);
}

void SkyWindowZoomControl::Tapped(int x, int y) {
    RECT client;
    GetClientRect(hwnd_, &client);
    const int line = LineHeight();
    const int top = (client.bottom - 2 * line) / 2;
    if (x < client.right - 6 * line || y < top || y >= top + 2 * line) return;
    // "Zoom {0}" above, "Mag {0}" below: tapping the other mode's text switches to it.
    const bool zoomText = y < top + line;
    if (zoomText == zoomMode_) return;
    SetZoomMode(zoomText);
    owner_.ShowPanel(kPanelZoom);
    owner_.Update(kUpdateGeneral);
}

void SkyWindowZoomControl::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_SIZE:
        PlaceTrackbar();
        break;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(m.lParam) == trackbar_ && trackbar_) {
            const int pos = static_cast<int>(SendMessageW(trackbar_, TBM_GETPOS, 0, 0));
            Data::Preferences& prefs = Prefs();
            // While the thumb is held the panel stays; letting go starts its time again.
            if (LOWORD(m.wParam) == TB_THUMBTRACK)
                owner_.StopPanelTimer();
            else
                owner_.RestartPanelTimer();
            if (zoomMode_) {
                const float field = SkyMap::FieldLevel(pos);
                if (field != prefs.skyView.viewAngle) {
                    prefs.skyView.viewAngle = field;
                    owner_.Update(kUpdateZoom);
                }
            } else if (static_cast<float>(pos) != prefs.skyView.magThreshold) {
                prefs.skyView.magThreshold = static_cast<float>(pos);
                owner_.Update(kUpdateMagnitude);
            }
            m.result = 0;
            return;
        }
        break;
    default:
        break;
    }
    SkyWindowPanel::HandleMessage(m);
}

// --- the window ---------------------------------------------------------------------------------

SkyWindow::SkyWindow()
    : CelvaneBaseWindow(kViewSky), map_(*this), location_(*this), object_(*this), zoom_(*this) {}

SkyWindow::~SkyWindow() { StopPanelTimer(); }

void SkyWindow::OnCreate() {
    CelvaneBaseWindow::OnCreate();
    toolbar_.Create(hwnd_, kToolbarId, RECT{0, 0, 1, 1}, 14);
    for (int i = 0; i < 14; ++i) toolbar_.SetButton(i, kButtonImages[i], MessageText(kTooltips[i]));
    map_.Create(hwnd_, kMapId, RECT{0, 0, 1, 1});
    location_.Create(hwnd_, kPanelIdBase);
    location_.CreateWidget();
    object_.Create(hwnd_, kPanelIdBase + 1);
    zoom_.Create(hwnd_, kPanelIdBase + 2);
    zoom_.CreateTrackbar();
    panelState_ = kPanelPermanent;
    threeLines_ = true;
    panelMode_ = kPanelLocation;
    Update(kUpdateGeneral);
    LayOut();
}

void SkyWindow::LayOut() {
    if (!hwnd_) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const SIZE bar = mwcl::GetClientSize(toolbar_.GetHandle());
    const int barHeight = bar.cy;
    mwcl::MoveWindowTo(toolbar_.GetHandle(), RECT{0, 0, std::max<LONG>(bar.cx, 1), barHeight});
    const int line = LineHeight();
    const int panelHeight = (threeLines_ ? 3 : 2) * line + std::max(2, line / 4);
    const bool panelShown = panelMode_ != kPanelNone && panelState_ != kPanelHidden;
    // Normally the map ends above the panel; in full screen the panel lies over it.
    const int mapBottom = panelShown && !IsFullScreen() ? client.bottom - panelHeight : client.bottom;
    mwcl::MoveWindowTo(map_.GetHandle(), RECT{0, barHeight, client.right, std::max(barHeight + 1, mapBottom)});
    SkyWindowPanel* panels[3] = {&location_, &object_, &zoom_};
    for (int i = 0; i < 3; ++i) {
        HWND h = panels[i]->GetHandle();
        const bool shown = panelShown && panelMode_ == i + 1;
        if (shown) {
            mwcl::MoveWindowTo(h, RECT{0, client.bottom - panelHeight, client.right, client.bottom});
            SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        } else if (IsWindowVisible(h)) {
            ShowWindow(h, SW_HIDE);
        }
    }
}

void SkyWindow::ShowPanel(int panel) {
    panelMode_ = panel;
    if (IsFullScreen()) {
        panelState_ = kPanelForAWhile;
        RestartPanelTimer();
    } else {
        panelState_ = kPanelPermanent;
    }
    LayOut();
    UpdatePanels();
}

void SkyWindow::RestartPanelTimer() {
    if (!hwnd_ || panelState_ != kPanelForAWhile) return;
    SetTimer(hwnd_, kPanelTimer, kPanelTimeoutMs, nullptr);
}

void SkyWindow::StopPanelTimer() {
    if (hwnd_) KillTimer(hwnd_, kPanelTimer);
}

void SkyWindow::ToggleFullScreen() {
    CelvaneBaseWindow::ToggleFullScreen();
    if (FullScreenWanted()) {
        panelState_ = kPanelHidden;
        threeLines_ = false;
    } else {
        panelState_ = kPanelPermanent;
        threeLines_ = true;
        StopPanelTimer();
    }
    LayOut();
    UpdatePanels();
}

void SkyWindow::Refresh() {
    map_.TimeChanged();
    Update(kUpdateGeneral);
}

void SkyWindow::RefreshToolbar() {
    if (!toolbar_.GetHandle()) return;
    const Data::SkyViewState& sky = Prefs().skyView;
    const bool selected = sky.selectedObj.kind != Data::kObjNone;
    const bool reference = sky.angularDistRefObj.kind != Data::kObjNone;
    toolbar_.EnableButton(kBtnReference, selected || reference);
    toolbar_.CheckButton(kBtnReference, reference);
    toolbar_.EnableButton(kBtnInfo, selected && sky.selectedObj.kind != Data::kObjConstellation);
    toolbar_.EnableButton(kBtnCentre, selected);
    toolbar_.EnableButton(kBtnObjectPanel, selected);
}

void SkyWindow::UpdatePanels() {
    const Data::SkyViewState& sky = Prefs().skyView;
    if (panelMode_ == kPanelLocation) location_.Update();
    if (panelMode_ == kPanelObject) object_.Update(threeLines_);
    if (panelMode_ == kPanelZoom)
        zoom_.Update(sky.viewAngle, sky.magThreshold,
                     SkyMap::AutomaticMagnitudeLimit(sky.viewAngle, sky.magThreshold));
}

void SkyWindow::Update(int reason) {
    Data::Preferences& prefs = Prefs();
    Data::SkyViewState& sky = prefs.skyView;
    auto storeCentre = [&] { map_.Centre(sky.az, sky.alt); };
    auto centreModeFollows = [&] {
        if (sky.centerMode && sky.selectedObj.kind != Data::kObjNone) {
            map_.CentreOn(sky.selectedObj);
            storeCentre();
        }
    };
    switch (reason) {
    case kUpdateGeneral:
        centreModeFollows();
        break;
    case kUpdateDragEnded:
        sky.centerMode = false;
        storeCentre();
        if (panelMode_ != (rememberedPanel_ != kPanelNone ? rememberedPanel_ : kPanelLocation) ||
            panelState_ == kPanelHidden)
            ShowPanel(rememberedPanel_ != kPanelNone ? rememberedPanel_ : kPanelLocation);
        rememberedPanel_ = kPanelNone;
        break;
    case kUpdateDragging:
        sky.centerMode = false;
        storeCentre();
        if (panelMode_ != kPanelLocation || panelState_ == kPanelHidden) {
            if (rememberedPanel_ == kPanelNone) rememberedPanel_ = panelMode_;
            ShowPanel(kPanelLocation);
        }
        break;
    case kUpdateDirection:
        sky.centerMode = false;
        sky.az = location_.Widget().Azimuth();
        sky.alt = location_.Widget().Altitude();
        break;
    case kUpdateZoom:
        map_.ZoomKeepingSelected(sky.viewAngle);
        storeCentre();
        centreModeFollows();
        break;
    case kUpdateMagnitude:
        break;
    case kUpdateSelection:
        sky.centerMode = false;
        sky.selectedObj = map_.Selected();
        RefreshToolbar();
        if (sky.selectedObj.kind != Data::kObjNone)
            ShowPanel(kPanelObject);
        else if (panelMode_ == kPanelObject)
            ShowPanel(kPanelLocation);
        break;
    default:
        break;
    }
    // The common part.
    map_.SetOptions(prefs.display);
    map_.SetCentre(sky.az, sky.alt);
    map_.SetField(sky.viewAngle);
    map_.SetMagnitudeLimit(SkyMap::AutomaticMagnitudeLimit(sky.viewAngle, sky.magThreshold));
    map_.SetSelected(sky.selectedObj);
    map_.SetReference(sky.angularDistRefObj);
    // Only the panel on show: a hidden one is filled when it is shown
    // (ShowPanel), and a drag updates on every motion.
    UpdatePanels();
    if (toolbar_.GetHandle()) {
        toolbar_.CheckButton(kBtnNavigateView, sky.navigationMode == 0);
        toolbar_.CheckButton(kBtnNavigateTime, sky.navigationMode == 1);
        toolbar_.CheckButton(kBtnCentre, sky.centerMode);
        RefreshToolbar();
    }
    map_.InvalidateMap();
}

void SkyWindow::HandleKey(UINT key) {
    Data::SkyViewState& sky = Prefs().skyView;
    switch (key) {
    case VK_RETURN:
        sky.navigationMode = sky.navigationMode == 0 ? 1 : 0;
        Update(kUpdateGeneral);
        return;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
        if (sky.navigationMode == 0) {
            // The keys turn the view as the view-direction widget's arrows do.
            const int arrow = key == VK_UP     ? CompassNavigationControl::kArrowUp
                              : key == VK_DOWN ? CompassNavigationControl::kArrowDown
                              : key == VK_LEFT ? CompassNavigationControl::kArrowLeft
                                               : CompassNavigationControl::kArrowRight;
            double az = sky.az, alt = sky.alt;
            CompassNavigationControl::Nudge(arrow, sky.viewAngle, az, alt);
            sky.centerMode = false;
            sky.az = static_cast<float>(az);
            sky.alt = static_cast<float>(alt);
        } else if (key == VK_UP || key == VK_DOWN) {
            StepDisplayTime(key == VK_UP ? -1 : +1);
        } else {
            sky.viewAngle = key == VK_LEFT ? SkyMap::ZoomOutField(sky.viewAngle) : SkyMap::ZoomInField(sky.viewAngle);
        }
        break;
    case VK_F1:
        ShowHelp(u"sky");
        return;
    default:
        return;
    }
    Update(kUpdateGeneral);
    ShowPanel(kPanelLocation);
}

void SkyWindow::ShowSearchResult(const Data::AstroObjRef& found) {
    Data::SkyViewState& sky = Prefs().skyView;
    sky.centerMode = false;
    sky.selectedObj = found;
    map_.SetSelected(found);
    ShowPanel(kPanelObject);
    if (map_.CentreIfOffMap(found)) map_.Centre(sky.az, sky.alt);
    RefreshToolbar();
    Update(kUpdateGeneral);
}

void SkyWindow::PressButton(int index) {
    Data::Preferences& prefs = Prefs();
    Data::SkyViewState& sky = prefs.skyView;
    const bool selected = sky.selectedObj.kind != Data::kObjNone;
    switch (index) {
    case kBtnTime:
        RunSettingsCommand(kCmdDisplayTime);
        return;
    case kBtnFullScreen:
        ToggleFullScreen();
        return;
    case kBtnViewSettings:
        RunSkyViewSettings(hwnd_, this);
        return;
    case kBtnSearch: {
        Data::AstroObjRef found = sky.selectedObj;
        if (!Dialogs().objectSearch || !Dialogs().objectSearch(hwnd_, found)) return;
        ShowSearchResult(found);
        return;
    }
    case kBtnInfo: {
        Data::AstroObjRef shown = sky.selectedObj;
        if (!selected || shown.kind == Data::kObjConstellation || !Dialogs().objectInfo) return;
        Dialogs().objectInfo(hwnd_, shown);
        // The dialog may have changed the time or the place.
        RefreshCurrentTime();
        Refresh();
        return;
    }
    case kBtnReference:
        if (sky.angularDistRefObj.kind != Data::kObjNone) {
            sky.angularDistRefObj = Data::AstroObjRef();
        } else if (selected) {
            sky.angularDistRefObj = sky.selectedObj;
            sky.centerMode = false;
            ShowPanel(kPanelObject);
        }
        RefreshToolbar();
        Update(kUpdateGeneral);
        return;
    case kBtnCentre:
        if (!sky.centerMode && selected) {
            map_.CentreOn(sky.selectedObj);
            Update(kUpdateDragEnded);
            // With a reference the selection must stay free to move.
            if (sky.angularDistRefObj.kind == Data::kObjNone) sky.centerMode = true;
        } else {
            sky.centerMode = false;
        }
        Update(kUpdateGeneral);
        return;
    case kBtnObjectPanel:
        if (selected) {
            ShowPanel(kPanelObject);
            Update(kUpdateGeneral);
        }
        return;
    case kBtnLocationPanel:
        ShowPanel(kPanelLocation);
        Update(kUpdateGeneral);
        return;
    case kBtnZoom:
    case kBtnMagnitude:
        zoom_.SetZoomMode(index == kBtnZoom);
        ShowPanel(kPanelZoom);
        Update(kUpdateGeneral);
        return;
    case kBtnNavigateView:
    case kBtnNavigateTime:
        sky.navigationMode = index == kBtnNavigateView ? 0 : 1;
        Update(kUpdateGeneral);
        return;
    case kBtnCompass:
        SwitchTo(kViewCompass);
        return;
    default:
        return;
    }
}

void SkyWindow::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->hwndFrom == toolbar_.GetHandle()) {
            const int button = toolbar_.ButtonOfNotification(hdr);
            if (button >= 0) PressButton(button);
            m.result = 0;
            return;
        }
    }
    CelvaneBaseWindow::OnCommand(m);
}

void SkyWindow::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_SIZE:
        LayOut();
        break;
    case WM_TIMER:
        if (m.wParam == kPanelTimer) {
            StopPanelTimer();
            panelState_ = kPanelHidden;
            LayOut();
            m.result = 0;
            return;
        }
        break;
    case WM_KEYDOWN:
        HandleKey(static_cast<UINT>(m.wParam));
        m.result = 0;
        return;
    case WM_SETFOCUS:
        if (map_.GetHandle()) SetFocus(map_.GetHandle());
        m.result = 0;
        return;
    case WM_HELP:
        ShowHelp(u"sky");
        m.result = TRUE;
        return;
    default:
        break;
    }
    CelvaneBaseWindow::HandleMessage(m);
}

}  // namespace UI
