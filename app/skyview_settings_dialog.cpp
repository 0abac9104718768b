#include "app/skyview_settings_dialog.h"

#include "app/base_window.h"
#include "app/settings_dialogs.h"
#include "app/shell.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace UI {

namespace {

const Data::Message kMsgPage1{{0x409, u"Page 1"}, {0x407, u"Seite 1"}};
const Data::Message kMsgPage2{{0x409, u"Page 2"}, {0x407, u"Seite 2"}};
const Data::Message kMsgValidNumber{{0x409, u"Please enter a valid number."},
                                    {0x407, u"Bitte geben Sie eine gültige Zahl ein."}};
const Data::Message kMsgValidValue{{0x409, u"Please enter a valid value."},
                                   {0x407, u"Bitte geben Sie einen gültigen Wert ein."}};

enum : int {
    kIdTabs = 1035,
    kIdRaDecGrid = 1039,
    kIdAltAzGrid = 1040,
    kIdLines = 1041,
    kIdNames = 1042,
    kIdBoundaries = 1043,
    kIdEcliptic = 1044,
    kIdHorizon = 1045,
    kIdObjects = 1046,
    kIdPlanets = 1047,
    kIdComets = 1048,
    kIdWhite = 1049,
    kIdTrueColour = 1050,
    kIdIntense = 1051,
    kIdBold = 1052,
    kIdTapAzAlt = 1053,
    kIdTapRaDec = 1054,
    kIdTapHa24 = 1055,
    kIdTapHa12 = 1056,
    kIdTelradShow = 1058,
    kIdTelrad1 = 1059,
    kIdTelrad2 = 1061,
    kIdTelrad3 = 1062,
    kIdMagFilter = 1105,
    kIdModeHorizontal = 1089,
    kIdModeEquatorial = 1090,
    kIdDec = 1094,
    kIdAz = 1095,
    kIdAlt = 1096,
    kIdRa = 1097,
};

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
void Check(HWND page, int id, bool on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }
std::u16string ItemText(HWND page, int id) { return mwcl::GetWindowTextOf(GetDlgItem(page, id)); }
void SetItemText(HWND page, int id, const std::u16string& text) { SetDlgItemTextW(page, id, W(text)); }

}  // namespace

// --- the scrolled container --------------------------------------------------------------------

void ScrolledWindow::Create(HWND parent) {
    static mwcl::WindowClass windowClass(0, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    mwcl::Frame::Create(windowClass, parent, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
}

void ScrolledWindow::SetContent(HWND content) {
    if (!hwnd_) mwcl::FatalError(u"ScrolledWindow not created yet");
    content_ = content;
    horizontal_.ScrollTo(hwnd_, 0);
    vertical_.ScrollTo(hwnd_, 0);
    Layout();
}

void ScrolledWindow::Layout() {
    if (!hwnd_) return;
    static bool busy = false;  // the bars themselves change the client size
    if (busy) return;
    busy = true;
    // Measured without bars: the client size the window would have.
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    const int edges = (style & WS_BORDER) ? 2 : 0;
    const int cw = outer.right - outer.left - edges, ch = outer.bottom - outer.top - edges;
    const int v = GetSystemMetrics(SM_CXVSCROLL), b = GetSystemMetrics(SM_CYHSCROLL);
    int w = 0, h = 0;
    if (content_) {
        RECT r;
        GetWindowRect(content_, &r);
        w = r.right - r.left;
        h = r.bottom - r.top;
    }
    if (!content_ || (w <= cw && h <= ch)) {
        horizontal_.Setup(hwnd_, 0, std::max(1, cw));
        vertical_.Setup(hwnd_, 0, std::max(1, ch));
    } else if (w > cw && h <= ch - b) {
        horizontal_.Setup(hwnd_, w, cw);
        vertical_.Setup(hwnd_, 0, std::max(1, ch));
    } else if (w <= cw - v && h > ch) {
        horizontal_.Setup(hwnd_, 0, std::max(1, cw));
        vertical_.Setup(hwnd_, h, ch);
    } else {
        horizontal_.Setup(hwnd_, w, std::max(1, cw - v));
        vertical_.Setup(hwnd_, h, std::max(1, ch - b));
    }
    busy = false;
    MoveContent();
}

void ScrolledWindow::MoveContent() {
    if (!content_) return;
    SetWindowPos(content_, nullptr, -horizontal_.Position(), -vertical_.Position(), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ScrolledWindow::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_SIZE:
        Layout();
        m.result = 0;
        return;
    case WM_HSCROLL:
        if (horizontal_.OnScroll(hwnd_, m.wParam)) MoveContent();
        m.result = 0;
        return;
    case WM_VSCROLL:
        if (vertical_.OnScroll(hwnd_, m.wParam)) MoveContent();
        m.result = 0;
        return;
    default:
        mwcl::Frame::HandleMessage(m);
        return;
    }
}

// --- the sky view settings ---------------------------------------------------------------------

void SortTelradDiameters(float& d1, float& d2, float& d3) {
    if (d2 > d3) std::swap(d2, d3);
    if (d1 > d2) std::swap(d1, d2);
    if (d2 > d3) std::swap(d2, d3);
}

void SkyViewSettingsDialog::TabPage::OnCommand(mwcl::MessageRecord& m) { owner_.PageCommand(m); }

SkyViewSettingsDialog::SkyViewSettingsDialog() : TitledDialog(u"SKY_VIEW_SETTINGS_DIALOG") {}

void SkyViewSettingsDialog::SetSettings(const Data::SkyDisplaySettings& settings) {
    settings_ = settings;
    if (hwnd_) Fill();
}

void SkyViewSettingsDialog::OnCreate() {
    TitledDialog::OnCreate();
    tabs_.Attach(hwnd_, kIdTabs);
    scroller_.Create(hwnd_);
    tabs_.AddTab(Data::MessageText(kMsgPage1));
    tabs_.AddTab(Data::MessageText(kMsgPage2));
    page1_.CreateModeless(scroller_.GetHandle());
    page2_.CreateModeless(scroller_.GetHandle());
    Layout();
    Fill();
    ShowPage(0);
}

void SkyViewSettingsDialog::Layout() {
    if (!hwnd_ || !tabs_.GetHandle()) return;
    const int bottom = PlaceButtonsBottomRight(hwnd_);
    const int top = TitleHeight();
    MoveWindow(tabs_.GetHandle(), 0, top, mwcl::GetClientSize(hwnd_).cx, std::max<int>(0, bottom - top), TRUE);
    if (scroller_.GetHandle()) {
        const RECT page = tabs_.PageRect();
        SetWindowPos(scroller_.GetHandle(), HWND_TOP, page.left, page.top, page.right - page.left,
                     page.bottom - page.top, SWP_NOACTIVATE);
        scroller_.Layout();
    }
}

void SkyViewSettingsDialog::ShowPage(int index) {
    if (index < 0 || index > 1) return;
    tabs_.SetSelection(index);
    if (shown_ >= 0 && shown_ != index) ShowWindow(Page(shown_), SW_HIDE);
    shown_ = index;
    scroller_.SetContent(Page(index));
    ShowWindow(Page(index), SW_SHOW);
}

void SkyViewSettingsDialog::Fill() {
    const HWND p1 = page1_.GetHandle(), p2 = page2_.GetHandle();
    const Data::SkyDisplaySettings& s = settings_;
    Check(p1, kIdRaDecGrid, s.raDecGrid);
    Check(p1, kIdAltAzGrid, s.altAzGrid && !s.raDecGrid);
    Check(p1, kIdLines, s.constellationLines);
    Check(p1, kIdNames, s.constellationNames);
    Check(p1, kIdBoundaries, s.constellationBoundaries);
    Check(p1, kIdEcliptic, s.ecliptic);
    Check(p1, kIdHorizon, s.horizon);
    Check(p1, kIdPlanets, s.showPlanets);
    Check(p1, kIdObjects, s.showUserObjects);
    Check(p1, kIdComets, s.showComets);
    SendDlgItemMessageW(p1, kIdMagFilter, EM_LIMITTEXT, 4, 0);
    SetItemText(p1, kIdMagFilter, Data::FormatSignificant(s.magFilter, 3));
    Check(p2, kIdWhite, s.starColour == 0);
    Check(p2, kIdTrueColour, s.starColour == 1);
    Check(p2, kIdIntense, s.starColour == 2);
    Check(p2, kIdBold, s.starsBold);
    for (int i = 0; i < 4; ++i) Check(p2, kIdTapAzAlt + i, s.tapInfo == i);
    Check(p2, kIdTelradShow, s.telradShow);
    const std::pair<int, float> telrad[3] = {
        {kIdTelrad1, s.telradDiameter1}, {kIdTelrad2, s.telradDiameter2}, {kIdTelrad3, s.telradDiameter3}};
    for (const auto& t : telrad) {
        SendDlgItemMessageW(p2, t.first, EM_LIMITTEXT, 4, 0);
        SetItemText(p2, t.first, Data::FormatSignificant(t.second, 3));
    }
}

bool SkyViewSettingsDialog::Collect() {
    const HWND p1 = page1_.GetHandle(), p2 = page2_.GetHandle();
    struct Field {
        int page;
        int id;
        float current;
    };
    const Field fields[4] = {{0, kIdMagFilter, settings_.magFilter},
                             {1, kIdTelrad1, settings_.telradDiameter1},
                             {1, kIdTelrad2, settings_.telradDiameter2},
                             {1, kIdTelrad3, settings_.telradDiameter3}};
    double values[4] = {};
    for (int i = 0; i < 4; ++i) {
        const HWND page = fields[i].page == 0 ? p1 : p2;
        if (Data::ParseNumber(ItemText(page, fields[i].id), values[i]) && std::isfinite(static_cast<float>(values[i])))
            continue;
        ShowPage(fields[i].page);
        const int answer =
            ShowSettingsMessage(hwnd_, Data::MessageText(kMsgValidNumber), MB_OKCANCEL | MB_ICONERROR);
        if (answer == IDCANCEL) SetItemText(page, fields[i].id, Data::FormatSignificant(fields[i].current, 3));
        const HWND field = GetDlgItem(page, fields[i].id);
        SetFocus(field);
        SendMessageW(field, EM_SETSEL, 0, -1);
        return false;
    }
    Data::SkyDisplaySettings& s = settings_;
    s.raDecGrid = Checked(p1, kIdRaDecGrid);
    s.altAzGrid = Checked(p1, kIdAltAzGrid);
    s.constellationLines = Checked(p1, kIdLines);
    s.constellationNames = Checked(p1, kIdNames);
    s.constellationBoundaries = Checked(p1, kIdBoundaries);
    s.ecliptic = Checked(p1, kIdEcliptic);
    s.horizon = Checked(p1, kIdHorizon);
    s.showPlanets = Checked(p1, kIdPlanets);
    s.showUserObjects = Checked(p1, kIdObjects);
    s.showComets = Checked(p1, kIdComets);
    s.magFilter = static_cast<float>(values[0]);
    s.starColour = Checked(p2, kIdTrueColour) ? 1 : Checked(p2, kIdIntense) ? 2 : 0;
    s.starsBold = Checked(p2, kIdBold);
    s.tapInfo = Checked(p2, kIdTapRaDec) ? 1 : Checked(p2, kIdTapHa24) ? 2 : Checked(p2, kIdTapHa12) ? 3 : 0;
    s.telradShow = Checked(p2, kIdTelradShow);
    s.telradDiameter1 = static_cast<float>(values[1]);
    s.telradDiameter2 = static_cast<float>(values[2]);
    s.telradDiameter3 = static_cast<float>(values[3]);
    SortTelradDiameters(s.telradDiameter1, s.telradDiameter2, s.telradDiameter3);
    return true;
}

void SkyViewSettingsDialog::PageCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_COMMAND && HIWORD(m.wParam) == BN_CLICKED) {
        const HWND p1 = page1_.GetHandle();
        // The two grids exclude each other.
        if (LOWORD(m.wParam) == kIdRaDecGrid && Checked(p1, kIdRaDecGrid)) Check(p1, kIdAltAzGrid, false);
        if (LOWORD(m.wParam) == kIdAltAzGrid && Checked(p1, kIdAltAzGrid)) Check(p1, kIdRaDecGrid, false);
    }
    m.result = 0;
}

void SkyViewSettingsDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_COMMAND:
        if (LOWORD(m.wParam) == IDOK) {
            if (Collect()) End(IDOK);
            m.result = 0;
            return;
        }
        break;
    case WM_SIZE:
        Layout();
        break;
    case WM_HELP:
        ShowSettingsHelp(u"skyviewsettings");
        m.result = TRUE;
        return;
    default:
        break;
    }
    TitledDialog::HandleMessage(m);
}

void SkyViewSettingsDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->idFrom == kIdTabs && hdr->code == TCN_SELCHANGE) {
            ShowPage(tabs_.GetSelection());
            m.result = 0;
            return;
        }
    }
    DefaultProcessing(m);
}

// --- the view direction ------------------------------------------------------------------------

SetViewDirectionDialog::SetViewDirectionDialog() : TitledDialog(u"VIEW_DIRECTION_DIALOG") {}

void SetViewDirectionDialog::SetDirection(float azimuth, float altitude) {
    azimuth_ = azimuth;
    altitude_ = altitude;
    if (hwnd_) WriteFields(true, true);
}

void SetViewDirectionDialog::OnCreate() {
    TitledDialog::OnCreate();
    MoveControlsBelowTitle();
    horizontalButton_.Attach(hwnd_, kIdModeHorizontal);
    equatorialButton_.Attach(hwnd_, kIdModeEquatorial);
    az_.Attach(hwnd_, kIdAz);
    alt_.Attach(hwnd_, kIdAlt);
    ra_.Attach(hwnd_, kIdRa);
    dec_.Attach(hwnd_, kIdDec);
    for (mwcl::EditControl* e : {&az_, &alt_, &ra_, &dec_}) SendMessageW(e->GetHandle(), EM_LIMITTEXT, 8, 0);
    SetMode(false);
    WriteFields(true, true);
}

void SetViewDirectionDialog::SetMode(bool equatorial) {
    equatorial_ = equatorial;
    horizontalButton_.SetChecked(!equatorial);
    equatorialButton_.SetChecked(equatorial);
    az_.Enable(!equatorial);
    alt_.Enable(!equatorial);
    ra_.Enable(equatorial);
    dec_.Enable(equatorial);
}

void SetViewDirectionDialog::WriteFields(bool horizontal, bool equatorialFields) {
    writing_ = true;
    if (horizontal) {
        az_.SetText(Data::FormatDegrees(azimuth_));
        alt_.SetText(Data::FormatDegrees(altitude_));
    }
    if (equatorialFields) {
        float ra = 0, dec = 0;
        ProgramEphemeris().HorizontalToEquatorial(azimuth_, altitude_, ra, dec);
        ra_.SetText(Data::FormatRightAscension(Calc::Reduce(ra, 24.0f)));
        dec_.SetText(Data::FormatDegrees(dec));
    }
    writing_ = false;
}

bool SetViewDirectionDialog::ReadHorizontal(int* failed) {
    float az = 0, alt = 0;
    if (!Data::ParseSexagesimal(az_.GetText(), az)) {
        if (failed) *failed = kIdAz;
        return false;
    }
    if (!Data::ParseSexagesimal(alt_.GetText(), alt)) {
        if (failed) *failed = kIdAlt;
        return false;
    }
    azimuth_ = az;
    altitude_ = alt;
    return true;
}

bool SetViewDirectionDialog::ReadEquatorial(int* failed) {
    float ra = 0, dec = 0;
    if (!Data::ParseSexagesimal(ra_.GetText(), ra)) {
        if (failed) *failed = kIdRa;
        return false;
    }
    if (!Data::ParseSexagesimal(dec_.GetText(), dec)) {
        if (failed) *failed = kIdDec;
        return false;
    }
    ProgramEphemeris().EquatorialToHorizontal(ra, dec, azimuth_, altitude_);
    return true;
}

void SetViewDirectionDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_COMMAND:
        if (LOWORD(m.wParam) == IDOK) {
            int failed = 0;
            const bool ok = equatorial_ ? ReadEquatorial(&failed) : ReadHorizontal(&failed);
            if (ok) {
                End(IDOK);
            } else {
                const HWND field = GetDlgItem(hwnd_, failed);
                SetFocus(field);
                ShowSettingsMessage(hwnd_, Data::MessageText(kMsgValidValue), MB_OK | MB_ICONERROR);
                SetFocus(field);
            }
            m.result = 0;
            return;
        }
        break;
    case WM_HELP:
        ShowSettingsHelp(u"setviewdirection");
        m.result = TRUE;
        return;
    default:
        break;
    }
    TitledDialog::HandleMessage(m);
}

void SetViewDirectionDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message != WM_COMMAND) {
        DefaultProcessing(m);
        return;
    }
    const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
    if ((id == kIdModeHorizontal || id == kIdModeEquatorial) && code == BN_CLICKED) {
        SetMode(id == kIdModeEquatorial);
        return;
    }
    if (code == EN_CHANGE && !writing_) {
        if ((id == kIdAz || id == kIdAlt) && ReadHorizontal(nullptr)) WriteFields(false, true);
        if ((id == kIdRa || id == kIdDec) && ReadEquatorial(nullptr)) WriteFields(true, false);
        return;
    }
    DefaultProcessing(m);
}

// --- entry points --------------------------------------------------------------------------------

bool RunSkyViewSettings(HWND owner, CelvaneBaseWindow* view) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    SkyViewSettingsDialog dialog;
    dialog.SetSettings(prefs.display);
    if (dialog.DoModal(owner) != IDOK) return false;
    prefs.display = dialog.GetSettings();
    if (!view) view = MainWindow(kViewSky);
    if (view) view->Refresh();
    return true;
}

bool RunSetViewDirection(HWND owner, float& azimuth, float& altitude) {
    SetViewDirectionDialog dialog;
    dialog.SetDirection(azimuth, altitude);
    if (dialog.DoModal(owner) != IDOK) return false;
    azimuth = dialog.Azimuth();
    altitude = dialog.Altitude();
    return true;
}

}  // namespace UI
