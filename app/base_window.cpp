#include "app/base_window.h"

#include "app/resume_notifier.h"
#include "app/shell.h"
#include "settings/preferences.h"
#include "views/core/compass_dial.h"
#include "winlib/wstr.h"

#include <algorithm>

namespace UI {

namespace {

const char16_t kTitle[] = u"Celvane";

bool IsViewCommand(int id) { return id == kCmdCompass || id == kCmdSky || id == kCmdTwilight; }

int32_t ViewOfCommand(int id) {
    switch (id) {
    case kCmdSky: return kViewSky;
    case kCmdTwilight: return kViewTwilight;
    default: return kViewCompass;
    }
}

}  // namespace

int32_t LiveClockDelay(const PL::SystemTime& now, bool fromTimer, int32_t lastMinute, int32_t& minute) {
    const int32_t m = now.minute * 60000 + now.second * 1000 + now.milliseconds;
    minute = m / 60000;
    int32_t delay = 60000 * (minute + 1) - m;
    // The timer fired a little early, still in the minute of the last tick:
    // the tick of that minute has been given, the next one is a minute on.
    if (fromTimer && minute == lastMinute) delay += 60000;
    return delay;
}

CelvaneBaseWindow::CelvaneBaseWindow(int32_t viewMode) : viewMode_(viewMode) { SetMenuBarName(kMainMenu); }

CelvaneBaseWindow::~CelvaneBaseWindow() {
    if (hwnd_) ResumeNotifier::Unregister(hwnd_);
}

void CelvaneBaseWindow::OnCreate() {
    mwcl::Frame::OnCreate();
    refreshSuppressed_ = 0;
    refreshPending_ = 0;
    fullScreenWanted_ = 0;
    fullScreenActive_ = 0;
}

void CelvaneBaseWindow::OnDestroy() {
    ResumeNotifier::Unregister(hwnd_);
    mwcl::Frame::OnDestroy();
}

void CelvaneBaseWindow::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        m.result = 0;
        return;
    case WM_ACTIVATE:
        if (LOWORD(m.wParam) != WA_INACTIVE) {
            ApplyFullScreen(true);
            ArmLiveClock(false);
            RefreshCurrentTime();
            Refresh();
        } else {
            ApplyFullScreen(false);
            ResumeNotifier::Unregister(hwnd_);
            KillTimer(hwnd_, kClockTimer);
        }
        SetWindowTextW(hwnd_, W(kTitle));
        mwcl::Frame::HandleMessage(m);
        return;
    case WM_TIMER:
        if (m.wParam == kClockTimer) {
            ArmLiveClock(true);
            RefreshNow();
            m.result = 0;
            return;
        }
        break;
    case kResumeMessage:
        if (m.wParam == 1) {
            ArmLiveClock(false);
            RefreshCurrentTime();
            Refresh();
            m.result = 0;
            return;
        }
        break;
    case WM_HELP:
        // The views and dialogs that have a help topic open it themselves.
        break;
    default:
        break;
    }
    mwcl::Frame::HandleMessage(m);
}

void CelvaneBaseWindow::OnCommand(mwcl::MessageRecord& m) {
    if (m.message != WM_COMMAND) {
        DefaultProcessing(m);
        return;
    }
    const int id = LOWORD(m.wParam);
    const int code = HIWORD(m.wParam);
    // Accelerators arrive with notification code 1, menus with 0.
    if (code == 1 && m.lParam == 0) {
        if (id == kCmdQuit) {
            PostQuitMessage(0);
            return;
        }
        if (id == kCmdFullScreen) {
            ToggleFullScreen();
            return;
        }
    }
    if (code != 0) {
        DefaultProcessing(m);
        return;
    }
    if (IsViewCommand(id)) {
        SwitchTo(ViewOfCommand(id));
        return;
    }
    switch (id) {
    case kCmdLocation:
    case kCmdDisplayTime:
    case kCmdTimeStep:
    case kCmdMagneticDeclination:
    case kCmdDataFiles:
        RunSettingsCommand(id);
        return;
    case kCmdAbout:
        ShowAbout(hwnd_);
        return;
    default:
        DefaultProcessing(m);
        return;
    }
}

void CelvaneBaseWindow::RunSettingsCommand(int command) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    SettingsDialogs& dialogs = Dialogs();
    bool changed = false;
    switch (command) {
    case kCmdLocation:
        if (!dialogs.location) return;
        changed = dialogs.location(hwnd_);
        break;
    case kCmdDisplayTime:
    case kCmdTimeStep: {
        auto& run = command == kCmdDisplayTime ? dialogs.displayTime : dialogs.timeStep;
        if (!run) return;
        Data::TimeSettings time = prefs.time;
        changed = run(hwnd_, time);
        if (changed) {
            prefs.time = time;
            ApplyPreferences();
        }
        break;
    }
    case kCmdMagneticDeclination: {
        if (!dialogs.magneticDeclination) return;
        int32_t magnetic = prefs.magnetic;
        dialogs.magneticDeclination(hwnd_, magnetic);
        prefs.magnetic = magnetic;
        changed = true;
        break;
    }
    case kCmdDataFiles:
        if (!dialogs.dataFiles) return;
        changed = dialogs.dataFiles(hwnd_);
        break;
    default:
        return;
    }
    if (changed) {
        RefreshCurrentTime();
        Refresh();
    }
}

bool CelvaneBaseWindow::StepDisplayTime(int direction) {
    Data::TimeSettings& time = Data::Preferences::Instance().time;
    if (!Compass::StepDisplayTime(time, Calc::Now(), direction, std::max<int32_t>(time.step, 1))) return false;
    ApplyPreferences();
    ArmLiveClock(false);
    Refresh();
    return true;
}

void CelvaneBaseWindow::SwitchTo(int32_t viewMode) {
    CelvaneBaseWindow* target = MainWindow(viewMode);
    if (!target || target == this || !target->GetHandle()) return;
    Data::Preferences& prefs = Data::Preferences::Instance();
    if (viewMode_ == kViewSky && target->ViewMode() == kViewCompass &&
        prefs.skyView.selectedObj.kind != Data::kObjNone)
        target->TakeTarget(prefs.skyView.selectedObj);
    // On a desktop the next view opens where this one was, at its size.
    if (!isFullScreen_ && !target->IsFullScreen()) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        if (GetWindowPlacement(hwnd_, &wp)) {
            wp.showCmd = SW_HIDE;
            wp.flags = 0;
            SetWindowPlacement(target->GetHandle(), &wp);
        }
    }
    ShowWindow(target->GetHandle(), SW_SHOWNORMAL);
    SetForegroundWindow(target->GetHandle());
    ShowWindow(hwnd_, SW_HIDE);
    prefs.viewMode = target->ViewMode();
}

void CelvaneBaseWindow::SetRefreshSuppressed(bool on) {
    refreshSuppressed_ = on ? 1 : 0;
    if (!on && refreshPending_) {
        refreshPending_ = 0;
        RefreshCurrentTime();
        Refresh();
    }
}

void CelvaneBaseWindow::RefreshNow() {
    if (refreshSuppressed_) {
        refreshPending_ = 1;
        return;
    }
    RefreshCurrentTime();
    Refresh();
}

int32_t CelvaneBaseWindow::ArmLiveClock(bool fromTimer) {
    if (!hwnd_) return -1;
    KillTimer(hwnd_, kClockTimer);
    if (!Data::Preferences::Instance().time.useCurrentTime) {
        ResumeNotifier::Unregister(hwnd_);
        return -1;
    }
    int32_t minute = 0;
    const int32_t delay = LiveClockDelay(PL::UtcNow(), fromTimer, lastMinute_, minute);
    lastMinute_ = minute;
    SetTimer(hwnd_, kClockTimer, static_cast<UINT>(delay), nullptr);
    ResumeNotifier::Register(hwnd_);
    return delay;
}

// --- full screen ---------------------------------------------------------------------------
//
// On a desktop, full screen is a window without frame and menu covering its
// monitor; leaving it puts the window back where and as it was. The window is
// not topmost, so other programs and the task bar come above it as usual when
// it is not the active one.

void CelvaneBaseWindow::ToggleFullScreen() { SetFullScreenWanted(!fullScreenWanted_); }

void CelvaneBaseWindow::SetFullScreenWanted(bool on) {
    fullScreenWanted_ = on ? 1 : 0;
    ApplyFullScreen(fullScreenActive_ != 0 || (hwnd_ && GetForegroundWindow() == hwnd_));
}

void CelvaneBaseWindow::ApplyFullScreen(bool active) {
    // A full-screen window that loses the focus to one of its own dialogs or
    // to another program stays as it is (on a desktop nothing of the system
    // is hidden while it is full screen); it leaves only when no longer wanted.
    fullScreenActive_ = active ? 1 : 0;
    if (!hwnd_) return;
    if (fullScreenWanted_ && fullScreenActive_ && !isFullScreen_)
        EnterFullScreen();
    else if (!fullScreenWanted_ && isFullScreen_)
        LeaveFullScreen();
}

void CelvaneBaseWindow::EnterFullScreen() {
    savedPlacement_ = WINDOWPLACEMENT{};
    savedPlacement_.length = sizeof savedPlacement_;
    GetWindowPlacement(hwnd_, &savedPlacement_);
    savedStyle_ = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi)) screen = mi.rcMonitor;
    isFullScreen_ = true;
    if (menuBar_) SetMenu(hwnd_, nullptr);
    // Sized first, framed second: a window without sizing border keeps the
    // size it has when the border goes (window managers are told it cannot
    // be resized), so it must already cover the monitor then.
    const int x = screen.left, y = screen.top, w = screen.right - screen.left, h = screen.bottom - screen.top;
    SetWindowPos(hwnd_, HWND_TOP, x, y, w, h, SWP_NOOWNERZORDER);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, savedStyle_ & ~static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW));
    SetWindowPos(hwnd_, HWND_TOP, x, y, w, h, SWP_FRAMECHANGED | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
}

void CelvaneBaseWindow::LeaveFullScreen() {
    isFullScreen_ = false;
    SetWindowLongPtrW(hwnd_, GWL_STYLE, savedStyle_);
    if (menuBar_) SetMenu(hwnd_, menuBar_);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    WINDOWPLACEMENT wp = savedPlacement_;
    wp.showCmd = IsWindowVisible(hwnd_) ? (wp.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL)
                                        : SW_HIDE;
    SetWindowPlacement(hwnd_, &wp);
}

}  // namespace UI
