#include "views/compass_window.h"

#include "app/shell.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "data/objectnames.h"
#include "engine/physical.h"
#include "engine/vecmath.h"
#include "winlib/ui_style.h"
#include "views/view_texts.h"
#include "winlib/wstr.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace UI {

namespace {

using Data::Message;
using Data::MessageText;

const Message kMsgShowInSky{{0x409, u"Show object in sky"}, {0x407, u"Objekt in Himmelsansicht"}};
const Message kMsgObjectInfo{{0x409, u"Object Info"}, {0x407, u"Objekt Info"}};
const Message kMsgAz{{0x409, u"Az."}, {0x407, u"Az."}};
const Message kMsgAzM{{0x409, u"AzM"}, {0x407, u"AzM"}};
const Message kMsgAlt{{0x409, u"Alt."}, {0x407, u"H\u00f6he"}};
const Message kMsgRaDec{{0x409, u"r.a./dec."}, {0x407, u"R.A./Dekl."}};
const Message kMsgCustomize{{0x409, u"Customize..."}, {0x407, u"Konfigurieren..."}};
const Message kMsgDialN{{0x409, u"N"}, {0x407, u"N"}};
const Message kMsgDialE{{0x409, u" E "}, {0x407, u" O "}};
const Message kMsgDialS{{0x409, u"S"}, {0x407, u"S"}};
const Message kMsgDialW{{0x409, u" W "}, {0x407, u" W "}};
const Message kMsgEastLetter{{0x409, u"E"}, {0x407, u"O"}};
const Message kMsgWestLetter{{0x409, u"W"}, {0x407, u"W"}};
const Message kMsgDeclination{{0x409, u"Magn. declination {0} ({1})"}, {0x407, u"Magn. Deklination {0} ({1})"}};
const Message kMsgNoField{
    {0x409, u"No magnetic field model for this date (2010-2030): azimuths are true"},
    {0x407, u"Kein Magnetfeldmodell f\u00fcr dieses Datum (2010-2030): Azimute sind geografisch"}};
const Message kMsgNoObject{{0x409, u"No object chosen"}, {0x407, u"Kein Objekt gew\u00e4hlt"}};

// The toolbar's images in the button strips.
const int kButtonImages[CompassWindow::kButtonCount] = {3, 1, 2, 4, 5};
const Message* const kButtonTips[CompassWindow::kButtonCount] = {&kMsgTimeMode, &kMsgSkyView, &kMsgShowInSky,
                                                                 &kMsgObjectInfo, &kMsgSearchObject};

constexpr double kKmPerAu = 149597870.7;
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kBlack = RGB(0, 0, 0);
// The arrows strip: 0 up (the Moon waxes), 1 down (it wanes).
constexpr int kArrowWaxing = 0;
constexpr int kArrowWaning = 1;
// A stylus that moves less than this (pixels at 96 dpi) between press and
// release has tapped.
constexpr int kTapSlop = 5;

// The icon strips of the object kinds (Data::ObjectImageList order) and the arrows.
const char16_t* const kStripNames[3] = {u"planets", u"asteroidsComets", u"objects"};

struct Strips {
    int dpi = 0;
    MonochromeStrip lists[3];
    MonochromeStrip arrows;
};

const Strips& StripsFor(int dpi) {
    static std::unique_ptr<Strips> strips;
    if (!strips || strips->dpi != dpi) {
        strips = std::make_unique<Strips>();
        strips->dpi = dpi;
        for (int i = 0; i < 3; ++i) strips->lists[i].Load(kStripNames[i], dpi);
        strips->arrows.Load(u"arrows", dpi);
    }
    return *strips;
}

class GdiPen {
public:
    GdiPen(HDC dc, int width, COLORREF colour, int style = PS_SOLID)
        : dc_(dc), pen_(CreatePen(style, width, colour)), old_(SelectObject(dc, pen_)) {}
    ~GdiPen() {
        SelectObject(dc_, old_);
        DeleteObject(pen_);
    }

private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ old_;
};

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void Line(HDC dc, const Compass::Point& a, const Compass::Point& b) { Line(dc, a.x, a.y, b.x, b.y); }

SIZE TextSize(HDC dc, const std::u16string& s) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, W(s), static_cast<int>(s.size()), &size);
    return size;
}

// A text centred on a point.
void CentredText(HDC dc, const std::u16string& s, int x, int y) {
    const SIZE size = TextSize(dc, s);
    TextOutW(dc, x - size.cx / 2, y - size.cy / 2, W(s), static_cast<int>(s.size()));
}

std::u16string EastWest(double degrees) {
    return Data::FormatDegrees(std::fabs(degrees)) + u" " +
           MessageText(degrees >= 0 ? kMsgEastLetter : kMsgWestLetter);
}

}  // namespace

CompassWindow::CompassWindow() : CelvaneBaseWindow(kViewCompass), info_(2, 1, true) {}

CompassWindow::~CompassWindow() = default;

void CompassWindow::OnCreate() {
    CelvaneBaseWindow::OnCreate();
    // An empty current slot gives way to the first object of the list.
    Data::Preferences& prefs = Data::Preferences::Instance();
    const int current = CurrentSlot();
    if (prefs.compass[current].object.kind == Data::kObjNone) {
        for (int i = 0; i < Data::kCompassSlots; ++i) {
            if (prefs.compass[i].object.kind != Data::kObjNone) {
                prefs.compassSelection = i;
                break;
            }
        }
    }
    CreateChildren();
    Recompute();
    UpdateInfoLines();
    PlaceChildren();
}

void CompassWindow::CreateChildren() {
    toolbar_.Create(hwnd_, kToolbarId, RECT{0, 0, 1, 1}, kButtonCount);
    for (int i = 0; i < kButtonCount; ++i) toolbar_.SetButton(i, kButtonImages[i], MessageText(*kButtonTips[i]));
    info_.Create(hwnd_, kInfoId, RECT{0, 0, 1, 1}, Layout::TableControl::kFitTable);
    Layout::TableLayoutManager& t = info_.Table();
    dateLine_ = new Layout::ClickableTextItem(kDateLineId, u" ", NormalFont(), TextColor());
    placeLine_ = new Layout::ClickableTextItem(kPlaceLineId, u" ", NormalFont(), TextColor());
    t.SetItem(0, 0, dateLine_);
    t.SetItem(1, 0, placeLine_);
    t.SetColumnMargins(0, ScaledPixels(4), ScaledPixels(4));
}

void CompassWindow::PlaceChildren() {
    if (!hwnd_ || !toolbar_.GetHandle()) return;
    RECT r;
    GetWindowRect(toolbar_.GetHandle(), &r);
    const int toolbarHeight = r.bottom - r.top;
    SetWindowPos(toolbar_.GetHandle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(info_.GetHandle(), nullptr, 0, toolbarHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void CompassWindow::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_HELP:
        ShowHelp(u"compass");
        m.result = TRUE;
        return;
    case WM_SIZE:
        PlaceChildren();
        break;
    case WM_PAINT: {
        mwcl::DoubleBufferPaint paint;
        RECT client;
        GetClientRect(hwnd_, &client);
        Paint(paint.Begin(hwnd_, nullptr), client);
        paint.End();
        m.result = 0;
        return;
    }
    case WM_ERASEBKGND:
        // The paint covers the whole client area.
        m.result = 1;
        return;
    case WM_LBUTTONDOWN:
        pressPoint_ = POINT{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        pressed_ = true;
        SetCapture(hwnd_);
        m.result = 0;
        return;
    case WM_LBUTTONUP: {
        const POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        const bool wasPressed = pressed_;
        pressed_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        const int slop = ScaledPixels(kTapSlop);
        if (wasPressed && std::abs(p.x - pressPoint_.x) <= slop && std::abs(p.y - pressPoint_.y) <= slop)
            DialTapped(pressPoint_);
        m.result = 0;
        return;
    }
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        pressed_ = false;
        break;
    default:
        break;
    }
    CelvaneBaseWindow::HandleMessage(m);
}

void CompassWindow::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->hwndFrom == toolbar_.GetHandle()) {
            const int button = toolbar_.ButtonOfNotification(hdr);
            if (button >= 0) ToolbarButton(button);
            return;
        }
        if (hdr && hdr->hwndFrom == info_.GetHandle()) {
            const int id = Layout::TableControl::TappedItemId(hdr);
            // The same commands as the Settings menu, so the dialogs open
            // and the view refreshes the same way.
            if (id == kDateLineId) SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdDisplayTime, 0), 0);
            if (id == kPlaceLineId) SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdLocation, 0), 0);
            return;
        }
    }
    if (m.message == WM_COMMAND && HIWORD(m.wParam) == 0) {
        const int id = LOWORD(m.wParam);
        if (id >= kCmdSlotBase && id < kCmdSlotBase + Data::kCompassSlots) {
            SelectSlot(id - kCmdSlotBase);
            return;
        }
        if (id == kCmdCustomize) {
            if (Dialogs().compassObjects) {
                Dialogs().compassObjects(hwnd_);
                Refresh();
            }
            return;
        }
    }
    CelvaneBaseWindow::OnCommand(m);
}

void CompassWindow::ToolbarButton(int button) {
    SettingsDialogs& dialogs = Dialogs();
    switch (button) {
    case kBtnTimeMode:
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdDisplayTime, 0), 0);
        break;
    case kBtnSkyView:
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdSky, 0), 0);
        break;
    case kBtnShowInSky: {
        // The sky view takes the object as a search result.
        const Data::AstroObjRef object = Target();
        CelvaneBaseWindow* sky = MainWindow(kViewSky);
        if (object.kind == Data::kObjNone || !sky) break;
        SwitchTo(kViewSky);
        sky->TakeTarget(object);
        break;
    }
    case kBtnObjectInfo: {
        Data::AstroObjRef object = Target();
        if (object.kind == Data::kObjNone || !dialogs.objectInfo) break;
        if (dialogs.objectInfo(hwnd_, object)) SetCurrentObject(object);
        Refresh();
        break;
    }
    case kBtnSearch: {
        Data::AstroObjRef object = Target();
        if (!dialogs.objectSearch) break;
        if (dialogs.objectSearch(hwnd_, object)) SetCurrentObject(object);
        break;
    }
    default:
        break;
    }
}

bool CompassWindow::OnKey(const mwcl::MessageRecord& m, const mwcl::KeyData& key) {
    if (m.message != WM_KEYDOWN || !key.goingDown) return false;
    switch (key.key) {
    case VK_UP:
        StepDisplayTime(-1);
        return true;
    case VK_DOWN:
        StepDisplayTime(+1);
        return true;
    case VK_LEFT:
        CycleSlot(-1);
        return true;
    case VK_RIGHT:
        CycleSlot(+1);
        return true;
    default:
        return false;
    }
}

void CompassWindow::CycleSlot(int direction) {
    const Data::Preferences& prefs = Data::Preferences::Instance();
    int slot = CurrentSlot();
    for (int n = 0; n < Data::kCompassSlots; ++n) {
        slot = (slot + direction + Data::kCompassSlots) % Data::kCompassSlots;
        if (prefs.compass[slot].object.kind != Data::kObjNone && !prefs.compassHide[slot]) {
            SelectSlot(slot);
            return;
        }
    }
}

// --- the current object ----------------------------------------------------------------------

int CompassWindow::CurrentSlot() const {
    const int s = Data::Preferences::Instance().compassSelection;
    return s >= 0 && s < Data::kCompassSlots ? s : 0;
}

const Data::AstroObjRef& CompassWindow::Target() const {
    return Data::Preferences::Instance().compass[CurrentSlot()].object;
}

bool CompassWindow::SelectSlot(int slot) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    if (slot < 0 || slot >= Data::kCompassSlots || prefs.compass[slot].object.kind == Data::kObjNone) return false;
    prefs.compassSelection = slot;
    Refresh();
    return true;
}

void CompassWindow::SetCurrentObject(const Data::AstroObjRef& object) {
    if (object.kind == Data::kObjNone) return;
    Data::Preferences& prefs = Data::Preferences::Instance();
    for (int i = 0; i < Data::kCompassSlots; ++i) {
        if (prefs.compass[i].object == object) {
            prefs.compassSelection = i;
            Refresh();
            return;
        }
    }
    constexpr int kElsewhereSlot = Data::kCompassSlots - 1;
    prefs.compass[kElsewhereSlot].object = object;
    prefs.compassSelection = kElsewhereSlot;
    Refresh();
}

void CompassWindow::TakeTarget(const Data::AstroObjRef& object) { SetCurrentObject(object); }

// --- recomputing -------------------------------------------------------------------------

void CompassWindow::Refresh() {
    if (!hwnd_) return;
    Recompute();
    UpdateInfoLines();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void CompassWindow::Recompute() {
    const Data::Preferences& prefs = Data::Preferences::Instance();
    Calc::Ephemeris& eph = ProgramEphemeris();

    // The field of the displayed moment at the place (the program's model
    // follows the preferences and the clock).
    showMagnetic_ = false;
    magneticUnknown_ = false;
    declination_ = 0;
    modelName_.clear();
    if (prefs.magnetic) {
        Calc::MagneticModel& field = ProgramMagneticModel();
        field.Recompute();
        if (field.valid) {
            showMagnetic_ = true;
            declination_ = field.declination;
            modelName_ = field.ModelName();
        } else {
            magneticUnknown_ = true;
        }
    }

    const int current = CurrentSlot();
    currentInfo_ = Calc::BodyInfo{};
    for (int i = 0; i < Data::kCompassSlots; ++i) {
        SlotState& s = slots_[i];
        const Data::AstroObjRef& ref = prefs.compass[i].object;
        s = SlotState{};
        s.used = ref.kind != Data::kObjNone;
        s.hidden = prefs.compassHide[i];
        if (!s.used) continue;
        const Calc::BodyInfo info = Data::ObjectInfo(ref, eph);
        s.trueAzimuth = info.azimuth;
        s.altitude = info.altitude;
        s.azimuth = showMagnetic_ ? Calc::Reduce(info.azimuth - static_cast<float>(declination_), 360.0f) : info.azimuth;
        s.icon = Data::ObjectIcon(ref);
        if (i == current) currentInfo_ = info;
    }

    // The current object's texts.
    textBlock_.clear();
    azimuthText_.clear();
    altitudeText_.clear();
    const Data::AstroObjRef& ref = prefs.compass[current].object;
    if (ref.kind != Data::kObjNone) {
        const SlotState& s = slots_[current];
        azimuthText_ = MessageText(showMagnetic_ ? kMsgAzM : kMsgAz) + u" " + Data::FormatDegrees(s.azimuth);
        altitudeText_ = MessageText(kMsgAlt) + u" " + Data::FormatDegrees(s.altitude);
        textBlock_.push_back(Data::ObjectName(ref));
        textBlock_.push_back(MessageText(kMsgRaDec) + u" " + Data::FormatRightAscension(currentInfo_.ra) + u"/" +
                             Data::FormatDegrees(currentInfo_.dec));
        const std::u16string constellation = Data::ConstellationAbbreviation(currentInfo_.constellation);
        if (!constellation.empty()) textBlock_.push_back(constellation);
        const float magnitude = Data::ObjectMagnitude(ref, eph);
        if (magnitude > -999.0f) textBlock_.push_back(u"m" + Data::FormatResolution(magnitude, 0.1));
        const float distance = Data::ObjectDistance(ref, eph);
        if (distance > 0) textBlock_.push_back(Data::FormatDistance(distance * kKmPerAu));
    } else {
        textBlock_.push_back(MessageText(kMsgNoObject));
    }

    if (showMagnetic_)
        statusText_ = Data::MessageFormat(kMsgDeclination, EastWest(declination_)).Arg(modelName_).Format();
    else if (magneticUnknown_)
        statusText_ = MessageText(kMsgNoField);
    else
        statusText_.clear();

    // The Moon.
    const Calc::MoonPhaseInfo phase = eph.MoonPhaseData();
    moonShape_.rotation = phase.axisAngle;
    moonShape_.phaseAngle = phase.sunAngle;
    moonShape_.brightLimb = phase.sunDirection;
    moonIlluminated_ = phase.illuminated;
    moonWaxing_ = phase.waxing != 0;
}

void CompassWindow::UpdateInfoLines() {
    if (!dateLine_ || !info_.GetHandle()) return;
    dateLine_->SetText(DisplayedTimeLine());
    placeLine_->SetText(DisplayedPlaceLine());
    info_.UpdateLayout();
}

// --- taps on the dials -------------------------------------------------------------------

int CompassWindow::SlotAt(POINT p) const {
    // The last icon drawn is on top: look from the end.
    for (auto it = iconSpots_.rbegin(); it != iconSpots_.rend(); ++it)
        if (PtInRect(&it->rect, p)) return it->slot;
    return -1;
}

void CompassWindow::DialTapped(POINT p) {
    const int slot = SlotAt(p);
    if (slot >= 0) {
        SelectSlot(slot);
        return;
    }
    if (PtInRect(&area_, p)) ShowSlotMenu(p);
}

void CompassWindow::ShowSlotMenu(POINT client) {
    const Data::Preferences& prefs = Data::Preferences::Instance();
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    const int current = CurrentSlot();
    for (int i = 0; i < Data::kCompassSlots; ++i) {
        const Data::AstroObjRef& ref = prefs.compass[i].object;
        if (ref.kind == Data::kObjNone) continue;
        const std::u16string name = Data::ObjectName(ref);
        AppendMenuW(menu, MF_STRING | (i == current ? MF_CHECKED : 0), kCmdSlotBase + i, W(name));
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | (Dialogs().compassObjects ? 0 : MF_GRAYED), kCmdCustomize,
                W(MessageText(kMsgCustomize)));
    POINT screen = client;
    ClientToScreen(hwnd_, &screen);
    const int command = static_cast<int>(
        TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, screen.x, screen.y, hwnd_, nullptr));
    DestroyMenu(menu);
    if (command) SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// --- painting ----------------------------------------------------------------------------

RECT CompassWindow::DrawingArea() const { return area_; }
Compass::DialLayout CompassWindow::Dials() const { return dials_; }

void CompassWindow::Paint(HDC dc, const RECT& client) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    iconSpots_.clear();
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    HGDIOBJ oldFont = SelectObject(dc, NormalFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColor());

    // Below the toolbar and the two text lines; a text line kept free around
    // the dials for the compass letters, and one at the bottom for the
    // magnetic field's line.
    int top = 0;
    if (info_.GetHandle()) {
        RECT r;
        GetWindowRect(info_.GetHandle(), &r);
        POINT p{r.left, r.bottom};
        ScreenToClient(hwnd_, &p);
        top = p.y;
    }
    const int line = LineHeight();
    const int margin = line + Compass::Millimetres(1.0, dpi);
    area_ = RECT{client.left, top, client.right, client.bottom};
    dialArea_ = RECT{area_.left + margin, area_.top + margin, area_.right - margin,
                     area_.bottom - margin - (statusText_.empty() ? 0 : line)};
    const RECT& dialArea = dialArea_;
    dials_ = Compass::LayoutDials(dialArea.left, dialArea.top, dialArea.right - dialArea.left,
                                  dialArea.bottom - dialArea.top);
    iconCell_ = StripsFor(dpi).lists[Data::kImagesPlanets].GlyphSize();
    if (iconCell_ <= 0) iconCell_ = ScaledPixels(11);

    if (dials_.r >= 2 * iconCell_) {
        DrawFaces(dc, dials_, dpi);
        const Data::Preferences& prefs = Data::Preferences::Instance();
        const int current = CurrentSlot();
        const int ring = dials_.r - iconCell_ / 2 - 4;
        if (prefs.compassDisplay == 0) {
            for (int i = 0; i < Data::kCompassSlots; ++i) {
                const SlotState& s = slots_[i];
                if (i == current || !s.used || s.hidden) continue;
                const COLORREF colour = s.altitude > 0 ? kBlue : kGrey;
                const Compass::Point a = Compass::AzimuthPoint(dials_, s.azimuth, ring, prefs.origin);
                const Compass::Point b = Compass::AltitudePoint(dials_, s.altitude, ring);
                DrawIcon(dc, s.icon, a.x, a.y, colour, i);
                DrawIcon(dc, s.icon, b.x, b.y, colour, i);
            }
        }
        DrawCurrent(dc, dials_, dpi);
    }
    if (!statusText_.empty()) {
        SetTextColor(dc, magneticUnknown_ ? kRed : TextColor());
        const int x = area_.left + ScaledPixels(4);
        TextOutW(dc, x, area_.bottom - line - ScaledPixels(2), W(statusText_), static_cast<int>(statusText_.size()));
        SetTextColor(dc, TextColor());
    }
    SelectObject(dc, oldFont);
}

void CompassWindow::DrawFaces(HDC dc, const Compass::DialLayout& d, int dpi) {
    const bool southUp = Data::Preferences::Instance().origin;
    const int r = d.r;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    {
        GdiPen pen(dc, 2, kBlack);
        Ellipse(dc, d.ax - r, d.cy - r, d.ax + r + 1, d.cy + r + 1);
        // The altitude dial: the left half of its circle.
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, d.bx - r - 2, d.cy - r - 2, d.bx + 1, d.cy + r + 3);
        Ellipse(dc, d.bx - r, d.cy - r, d.bx + r + 1, d.cy + r + 1);
        RestoreDC(dc, saved);
        // Its vertical diameter, where it does not run into the azimuth dial.
        const int dx = d.ax - d.bx;
        if (dx < r) {
            const int s = static_cast<int>(std::ceil(std::sqrt(double(r) * r - double(dx) * dx)));
            Line(dc, d.bx, d.cy - r, d.bx, d.cy - s);
            Line(dc, d.bx, d.cy + s, d.bx, d.cy + r);
        } else {
            Line(dc, d.bx, d.cy - r, d.bx, d.cy + r);
        }
    }
    SelectObject(dc, oldBrush);

    GdiPen pen(dc, 1, kBlack);
    // The horizontal line through both centres, broken around them.
    const int gap = Compass::Millimetres(1.5, dpi);
    Line(dc, d.bx - r, d.cy, d.bx - gap, d.cy);
    if (d.bx + gap < d.ax - gap) Line(dc, d.bx + gap, d.cy, d.ax - gap, d.cy);
    Line(dc, d.ax + gap, d.cy, d.ax + r, d.cy);
    // Ticks every 10 degrees, longer ones at 45.
    const int tick = Compass::Millimetres(1.5, dpi);
    const int diagonal = Compass::Millimetres(2.5, dpi);
    for (int k = 1; k < 36; ++k) {
        if (k % 9 == 0) continue;
        const double a = k * 10.0;
        Line(dc, Compass::AzimuthPoint(d, a, r - tick, false), Compass::AzimuthPoint(d, a, r, false));
    }
    for (int k = 0; k < 4; ++k) {
        const double a = 45.0 + 90.0 * k;
        Line(dc, Compass::AzimuthPoint(d, a, r - diagonal, false), Compass::AzimuthPoint(d, a, r, false));
    }
    for (int k = -8; k <= 8; ++k) {
        if (k == 0) continue;
        const double h = k * 10.0;
        Line(dc, Compass::AltitudePoint(d, h, r - tick), Compass::AltitudePoint(d, h, r));
    }
    for (double h : {45.0, -45.0}) Line(dc, Compass::AltitudePoint(d, h, r - diagonal), Compass::AltitudePoint(d, h, r));

    // The compass letters outside the azimuth dial.
    const Message* letters[4] = {&kMsgDialN, &kMsgDialE, &kMsgDialS, &kMsgDialW};
    const int off = Compass::Millimetres(1.0, dpi);
    for (int k = 0; k < 4; ++k) {
        const std::u16string s = MessageText(*letters[k]);
        const SIZE size = TextSize(dc, s);
        const int reach = r + off + ((k % 2) ? size.cx / 2 : size.cy / 2);
        const Compass::Point p = Compass::AzimuthPoint(d, 90.0 * k, reach, southUp);
        CentredText(dc, s, p.x, p.y);
    }
}

void CompassWindow::DrawIcon(HDC dc, const Data::ObjectIconRef& icon, int cx, int cy, COLORREF colour, int slot) {
    const Strips& strips = StripsFor(GetDeviceCaps(dc, LOGPIXELSY));
    const int list = icon.list >= 0 && icon.list < 3 ? icon.list : 0;
    const MonochromeStrip& strip = strips.lists[list];
    const int cell = iconCell_;
    RECT rect{cx - cell / 2, cy - cell / 2, cx - cell / 2 + cell, cy - cell / 2 + cell};
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int g = strip.GlyphSize();
    if (g > 0 && icon.image >= 0 && icon.image < strip.GlyphCount())
        strip.DrawGlyph(dc, icon.image, cx - g / 2, cy - g / 2, colour);
    if (slot >= 0) iconSpots_.push_back(IconSpot{rect, slot});
}

void CompassWindow::DrawCurrent(HDC dc, const Compass::DialLayout& d, int dpi) {
    const Data::Preferences& prefs = Data::Preferences::Instance();
    const int current = CurrentSlot();
    const SlotState& s = slots_[current];
    const bool southUp = prefs.origin;
    const int line = LineHeight();
    const int quadrant = s.used ? Compass::AzimuthQuadrant(s.azimuth, southUp) : 3;

    // With magnetic azimuths the dial's north is magnetic north: a dotted red
    // line shows where true north lies on it.
    if (showMagnetic_) {
        GdiPen pen(dc, 1, kRed, PS_DOT);
        Line(dc, Compass::AzimuthPoint(d, 0, 0, southUp),
             Compass::AzimuthPoint(d, Calc::Reduce(-static_cast<float>(declination_), 360.0f), d.r, southUp));
    }

    if (s.used) {
        const int needle = d.r - Compass::Millimetres(2.0, dpi);
        {
            GdiPen pen(dc, 1, kRed);
            Line(dc, Compass::Point{d.ax, d.cy}, Compass::AzimuthPoint(d, s.azimuth, needle, southUp));
            Line(dc, Compass::Point{d.bx, d.cy}, Compass::AltitudePoint(d, s.altitude, needle));
        }
        const int ring = d.r - iconCell_ / 2 - 4;
        const Compass::Point a = Compass::AzimuthPoint(d, s.azimuth, ring, southUp);
        const Compass::Point b = Compass::AltitudePoint(d, s.altitude, ring);
        DrawIcon(dc, s.icon, a.x, a.y, kRed, current);
        DrawIcon(dc, s.icon, b.x, b.y, kRed, current);

        // "Az." in the quadrant of the azimuth dial opposite the needle.
        const int free = (quadrant + 2) % 4;
        const int reach = static_cast<int>(d.r * 0.4);
        SetTextColor(dc, kRed);
        CentredText(dc, azimuthText_, d.ax + Compass::QuadrantSideX(free) * reach,
                    d.cy - Compass::QuadrantSideY(free) * reach);
    }

    // The altitude and the text block in the altitude dial's half away from
    // the needle: below the horizon line for an object above it.
    std::vector<std::u16string> lines;
    if (s.used) lines.push_back(altitudeText_);
    lines.insert(lines.end(), textBlock_.begin(), textBlock_.end());
    const bool below = !s.used || s.altitude >= 0;
    // Inside the ring of icons, so that the lines near the horizon line do
    // not run over them.
    const int x = std::max<int>(area_.left + ScaledPixels(4), d.bx - static_cast<int>(d.r * 0.8));
    const int gap = Compass::Millimetres(1.5, dpi);
    int y = below ? d.cy + gap : d.cy - gap - static_cast<int>(lines.size()) * line;
    for (size_t i = 0; i < lines.size(); ++i, y += line) {
        SetTextColor(dc, i == 0 && s.used ? kRed : TextColor());
        TextOutW(dc, x, y, W(lines[i]), static_cast<int>(lines[i].size()));
    }
    SetTextColor(dc, TextColor());

    DrawMoonInset(dc, d, dpi, quadrant == 0 ? 3 : 0);
}

void CompassWindow::DrawMoonInset(HDC dc, const Compass::DialLayout& d, int dpi, int corner) {
    // The largest disc that fits in a corner of the dial's square outside
    // the circle is 0.17 r; a little less keeps it clear of the ring.
    const int mr = std::max(3, std::min(static_cast<int>(d.r * 0.14), Compass::Millimetres(8.0, dpi)));
    const int sx = Compass::QuadrantSideX(corner), sy = Compass::QuadrantSideY(corner);
    const int mx = d.ax + sx * (d.r - mr), my = d.cy - sy * (d.r - mr);
    SkyMap::MoonShape shape = moonShape_;
    shape.radius = mr;
    SkyMap::DrawMoonPicture(dc, mx, my, shape);

    // The illuminated fraction beside the disc, towards the dial's middle,
    // level with the square's edge; the waxing or waning arrow on the other
    // side of the disc.
    const std::u16string percent = Data::FormatResolution(moonIlluminated_, 0.1) + u"%";
    const SIZE size = TextSize(dc, percent);
    const int tx = sx > 0 ? mx - mr - 2 - size.cx : mx + mr + 2;
    const int ty = sy > 0 ? d.cy - d.r : d.cy + d.r - size.cy;
    SetTextColor(dc, TextColor());
    TextOutW(dc, tx, ty, W(percent), static_cast<int>(percent.size()));
    const MonochromeStrip& arrows = StripsFor(dpi).arrows;
    const int g = arrows.GlyphSize();
    if (g > 0) {
        const int ay = sy > 0 ? my + mr + 2 : my - mr - 2 - g;
        arrows.DrawGlyph(dc, moonWaxing_ ? kArrowWaxing : kArrowWaning, mx - g / 2, ay, TextColor());
    }
}

}  // namespace UI
