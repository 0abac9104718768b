#include "app/settime_dialog.h"

#include "app/settings_dialogs.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "winlib/wstr.h"

#include <cmath>

namespace UI {

namespace {

const Data::Message kMsgInvalidJulianDate{{0x409, u"Invalid julian date"}, {0x407, u"Ungültiges julianisches Datum"}};
const Data::Message kMsgEnterValidValue{{0x409, u"Please enter a valid value."},
                                        {0x407, u"Bitte geben Sie einen gültigen Wert ein."}};
const Data::Message kMsgUnitNames[kStepUnitCount] = {
    {{0x409, u"min"}, {0x407, u"Min"}},
    {{0x409, u"hours"}, {0x407, u"Std"}},
    {{0x409, u"sid. days"}, {0x407, u"Sterntage"}},
    {{0x409, u"days"}, {0x407, u"Tage"}},
    {{0x409, u"years"}, {0x407, u"Jahre"}},
};

enum : int {
    kIdDate = 1007,
    kIdTime = 1008,
    kIdUseCurrent = 1009,
    kIdUseFollowing = 1010,
    kIdJulianDay = 1011,
    kIdUtc = 1012,
    kIdLmst = 1013,
    kIdEquation = 1014,
    kIdAmount = 1099,
    kIdUnit = 1100,
    kIdArrows = 1101,
    kIdMode0 = 1102,
};

SYSTEMTIME ToSystemTime(const Calc::CalendarDate& d) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    st.wDay = static_cast<WORD>(d.day);
    st.wHour = static_cast<WORD>(d.hour);
    st.wMinute = static_cast<WORD>(d.minute);
    st.wSecond = static_cast<WORD>(d.second);
    st.wDayOfWeek = 0;
    return st;
}

}  // namespace

Calc::AstroTime EffectiveMoment(const Data::TimeSettings& time) {
    return time.useCurrentTime ? Calc::Now() : time.time;
}

bool ParseDialogJulianDay(const std::u16string& text, Calc::AstroTime& out) {
    Calc::AstroTime t;
    if (!Calc::ParseJulianDay(text, t)) return false;
    const int year = Calc::ToCalendar(t).year;
    if (year < 1900 || year > 2099) return false;
    out = t;
    return true;
}

// --- the set-time dialog ---------------------------------------------------------------------

SetTimeDialog::SetTimeDialog() : TitledDialog(u"SET_TIME_DIALOG") {}

void SetTimeDialog::SetTimeSettings(const Data::TimeSettings& time) {
    time_ = time;
    if (hwnd_) Fill(kFromNone);
}

void SetTimeDialog::OnCreate() {
    TitledDialog::OnCreate();
    MoveControlsBelowTitle();
    useCurrent_.Attach(hwnd_, kIdUseCurrent);
    useFollowing_.Attach(hwnd_, kIdUseFollowing);
    date_.Attach(hwnd_, kIdDate);
    clock_.Attach(hwnd_, kIdTime);
    julianDay_.Attach(hwnd_, kIdJulianDay);
    utc_.Attach(hwnd_, kIdUtc);
    lmst_.Attach(hwnd_, kIdLmst);
    equation_.Attach(hwnd_, kIdEquation);

    date_.SetFormat(Data::ShortDatePattern());
    SYSTEMTIME range[2] = {ToSystemTime(Calc::CalendarDate{1900, 1, 1, 0, 0, 0}),
                           ToSystemTime(Calc::CalendarDate{2099, 12, 31, 23, 59, 59})};
    SendMessageW(date_.GetHandle(), DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    clock_.SetFormat(Data::TimePattern());
    SendMessageW(julianDay_.GetHandle(), EM_LIMITTEXT, 25, 0);
    Fill(kFromNone);
}

void SetTimeDialog::Fill(Source source) {
    filling_ = true;
    KillTimer(hwnd_, kSecondTimer);
    if (time_.useCurrentTime) SetTimer(hwnd_, kSecondTimer, 1000, nullptr);
    useCurrent_.SetChecked(time_.useCurrentTime);
    useFollowing_.SetChecked(!time_.useCurrentTime);

    const Data::Preferences& prefs = Data::Preferences::Instance();
    const Calc::AstroTime moment = EffectiveMoment(time_);
    if (source != kFromPickers) {
        const Calc::AstroTime local = Calc::UtcToLocal(moment, prefs.place.timeZone, prefs.dstAdjust);
        const SYSTEMTIME st = ToSystemTime(Calc::ToCalendar(local));
        date_.SetTime(st);
        clock_.SetTime(st);
    }
    date_.Enable(!time_.useCurrentTime);
    clock_.Enable(!time_.useCurrentTime);
    if (source != kFromJulianDay) julianDay_.SetText(Calc::FormatJulianDay(moment, -5));
    julianDay_.Enable(!time_.useCurrentTime);

    utc_.SetText(Data::FormatDate(moment) + u" " + Data::FormatTime(moment));
    const float lmst = Calc::LocalSiderealTime(Calc::GreenwichSiderealTime(moment), prefs.place.longitude);
    lmst_.SetText(Data::FormatHoursMinutes(lmst));
    equation_.SetText(Data::FormatHoursAuto(Calc::EquationOfTime(moment)));
    filling_ = false;
}

void SetTimeDialog::ReadPickers() {
    SYSTEMTIME d{}, t{};
    if (!date_.GetTime(d) || !clock_.GetTime(t)) return;
    const Data::Preferences& prefs = Data::Preferences::Instance();
    const Calc::AstroTime local = Calc::FromCalendar(d.wYear, d.wMonth, d.wDay, t.wHour, t.wMinute, t.wSecond);
    time_.time = Calc::LocalToUtc(local, prefs.place.timeZone, prefs.dstAdjust);
    Fill(kFromPickers);
}

void SetTimeDialog::ReadJulianDay() {
    Calc::AstroTime t;
    if (!ParseDialogJulianDay(julianDay_.GetText(), t)) return;  // an invalid text changes nothing
    time_.time = t;
    Fill(kFromJulianDay);
}

bool SetTimeDialog::ValidateAndEnd() {
    Calc::AstroTime t;
    if (!ParseDialogJulianDay(julianDay_.GetText(), t)) {
        ShowSettingsMessage(hwnd_, Data::MessageText(kMsgInvalidJulianDate), MB_OK | MB_ICONERROR);
        SetFocus(julianDay_.GetHandle());
        return false;
    }
    // What stands in the field is what the user sees: it is the moment kept.
    if (!time_.useCurrentTime) time_.time = t;
    End(IDOK);
    return true;
}

void SetTimeDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_COMMAND:
        if (LOWORD(m.wParam) == IDOK) {
            ValidateAndEnd();
            m.result = 0;
            return;
        }
        break;
    case WM_TIMER:
        if (m.wParam == kSecondTimer) {
            Fill(kFromNone);
            m.result = 0;
            return;
        }
        break;
    case WM_HELP:
        ShowSettingsHelp(u"settime");
        m.result = TRUE;
        return;
    default:
        break;
    }
    TitledDialog::HandleMessage(m);
}

void SetTimeDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->code == DTN_DATETIMECHANGE && (hdr->idFrom == kIdDate || hdr->idFrom == kIdTime)) {
            if (!filling_ && !time_.useCurrentTime) ReadPickers();
            m.result = 0;
            return;
        }
        DefaultProcessing(m);
        return;
    }
    const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
    if ((id == kIdUseCurrent || id == kIdUseFollowing) && code == BN_CLICKED) {
        const bool live = id == kIdUseCurrent;
        // Leaving the live clock shows the last explicit time again (the
        // time-step buttons may take it as their base); settings that never
        // had one start from now.
        if (!live && !time_.time.IsValid()) time_.time = Calc::Now();
        time_.useCurrentTime = live;
        Fill(kFromNone);
        return;
    }
    if (id == kIdJulianDay && code == EN_CHANGE) {
        if (!filling_ && !time_.useCurrentTime) ReadJulianDay();
        return;
    }
    DefaultProcessing(m);
}

// --- time step ---------------------------------------------------------------------------------

const int32_t kStepUnitSeconds[kStepUnitCount] = {60, 3600, 86164, 86400, 31536000};
const int32_t kStepPresets[kStepPresetCount] = {60,      600,     3600,    21600,   86164,   86400,   603148,
                                                604800,  864000,  2584920, 2592000, 7927088, 31536000};

std::u16string StepUnitName(int unit) {
    if (unit < 0 || unit >= kStepUnitCount) return std::u16string();
    return Data::MessageText(kMsgUnitNames[unit]);
}

void BestStepUnit(int32_t n, int& unit, double& amount) {
    for (int u = kStepUnitCount - 1; u >= 0; --u) {
        const int32_t len = kStepUnitSeconds[u];
        if (n >= len && n % len == 0 && n / len < 100) {
            unit = u;
            amount = n / len;
            return;
        }
    }
    for (int u = kStepUnitCount - 1; u >= 0; --u) {
        if (u == 2) continue;  // sidereal days only where they divide evenly
        if (n >= kStepUnitSeconds[u]) {
            unit = u;
            amount = static_cast<double>(n) / kStepUnitSeconds[u];
            return;
        }
    }
    unit = 0;
    amount = n / 60.0;
}

int32_t NextStepPreset(int32_t step, int delta) {
    if (delta < 0) {
        int32_t best = kStepPresets[0];
        for (int32_t p : kStepPresets)
            if (p < step) best = p;
        return best;
    }
    for (int32_t p : kStepPresets)
        if (p > step) return p;
    return kStepPresets[kStepPresetCount - 1];
}

bool StepFromAmount(const std::u16string& text, int unit, int32_t& step) {
    if (unit < 0 || unit >= kStepUnitCount) return false;
    float amount = 0;
    if (!Data::ParseSexagesimal(text, amount)) return false;
    const double seconds = static_cast<double>(amount) * kStepUnitSeconds[unit];
    if (!(seconds >= 1.0 && seconds < 2147483648.0)) return false;
    step = static_cast<int32_t>(seconds);
    return true;
}

TimeStepDialog::TimeStepDialog() : TitledDialog(u"TIME_STEP_DIALOG") {}

void TimeStepDialog::SetTimeSettings(const Data::TimeSettings& time) {
    time_ = time;
    if (time_.step < 1) time_.step = 1;
    if (hwnd_) Fill();
}

void TimeStepDialog::OnCreate() {
    TitledDialog::OnCreate();
    MoveControlsBelowTitle();
    amount_.Attach(hwnd_, kIdAmount);
    unit_.Attach(hwnd_, kIdUnit);
    arrows_.Attach(hwnd_, kIdArrows);
    for (int i = 0; i < 3; ++i) modes_[i].Attach(hwnd_, kIdMode0 + i);
    for (int u = 0; u < kStepUnitCount; ++u) unit_.AddString(StepUnitName(u));
    SendMessageW(amount_.GetHandle(), CB_LIMITTEXT, 8, 0);
    // Up is +1, down -1.
    arrows_.SetRange(0, 100);
    arrows_.SetPosition(50);
    for (int32_t p : kStepPresets) {
        int unit = 0;
        double amount = 0;
        BestStepUnit(p, unit, amount);
        amount_.AddString(Data::FormatSignificant(amount, 6) + u" " + StepUnitName(unit));
    }
    Fill();
}

void TimeStepDialog::SetAmountText(const std::u16string& text) {
    filling_ = true;
    written_ = text;
    amount_.SetText(text);
    filling_ = false;
}

void TimeStepDialog::Fill() {
    int unit = 0;
    double amount = 0;
    BestStepUnit(time_.step, unit, amount);
    filling_ = true;
    amount_.SetSelection(-1);
    filling_ = false;
    SetAmountText(Data::FormatSignificant(amount, 6));
    amountValid_ = true;
    unit_.SetSelection(unit);
    for (int i = 0; i < 3; ++i) modes_[i].SetChecked(time_.stepMode == i);
}

void TimeStepDialog::ReadAmount() {
    const std::u16string text = amount_.GetText();
    int32_t step = 0;
    amountValid_ = StepFromAmount(text, unit_.GetSelection(), step);
    if (amountValid_) time_.step = step;
    written_ = text;
}

void TimeStepDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_COMMAND:
        if (LOWORD(m.wParam) == IDOK) {
            // Text that reached the field without an edit notification
            // (pasted, set from outside) counts as typed.
            if (amount_.GetText() != written_) ReadAmount();
            if (!amountValid_) {
                ShowSettingsMessage(hwnd_, Data::MessageText(kMsgEnterValidValue), MB_OK | MB_ICONERROR);
                SetFocus(amount_.GetHandle());
            } else {
                for (int i = 0; i < 3; ++i)
                    if (modes_[i].IsChecked()) time_.stepMode = i;
                End(IDOK);
            }
            m.result = 0;
            return;
        }
        break;
    case WM_TIMER:
        if (m.wParam == kRefillTimer) {
            KillTimer(hwnd_, kRefillTimer);
            Fill();
            m.result = 0;
            return;
        }
        break;
    case WM_HELP:
        ShowSettingsHelp(u"settimestep");
        m.result = TRUE;
        return;
    default:
        break;
    }
    TitledDialog::HandleMessage(m);
}

void TimeStepDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->idFrom == kIdArrows && hdr->code == UDN_DELTAPOS) {
            const NMUPDOWN* ud = reinterpret_cast<const NMUPDOWN*>(m.lParam);
            if (ud->iDelta != 0) {
                time_.step = NextStepPreset(time_.step, ud->iDelta);
                Fill();
            }
            m.result = 1;  // the arrows keep their own position
            return;
        }
        DefaultProcessing(m);
        return;
    }
    const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
    if (id == kIdAmount) {
        if (code == CBN_EDITCHANGE && !filling_) {
            ReadAmount();
            return;
        }
        if (code == CBN_SELCHANGE && !filling_) {
            const int i = amount_.GetSelection();
            if (i >= 0 && i < kStepPresetCount) {
                time_.step = kStepPresets[i];
                amountValid_ = true;
                // The combo box copies the entry's text into its field after
                // this notification; the refill comes once it has.
                SetTimer(hwnd_, kRefillTimer, 0, nullptr);
            }
            return;
        }
        DefaultProcessing(m);
        return;
    }
    if (id == kIdUnit && code == CBN_SELCHANGE) {
        if (amountValid_) {
            const int u = unit_.GetSelection();
            if (u >= 0 && u < kStepUnitCount)
                SetAmountText(Data::FormatSignificant(static_cast<double>(time_.step) / kStepUnitSeconds[u], 6));
        } else {
            // The typed amount is read again in the new unit.
            ReadAmount();
        }
        return;
    }
    DefaultProcessing(m);
}

}  // namespace UI
