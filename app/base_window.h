// CelvaneBaseWindow: what the compass, sky and twilight windows share — the
// menu bar with the view and settings commands, quitting, switching between
// the views, the once-a-minute live clock, full screen and the reaction to
// the computer waking from sleep.
#pragma once

#include "data/objects.h"
#include "data/platform.h"
#include "winlib/mwcl.h"

#include <cstdint>

namespace UI {

// The live clock's wait (milliseconds) from a UTC time to the next full
// minute. `minute` receives the minute of the hour of `now`. A tick that
// arrives early — the re-arm comes from the timer itself and the clock still
// shows the minute of the last tick (`lastMinute`) — waits a full minute more.
int32_t LiveClockDelay(const PL::SystemTime& now, bool fromTimer, int32_t lastMinute, int32_t& minute);

class CelvaneBaseWindow : public mwcl::Frame {
public:
    static constexpr UINT_PTR kClockTimer = 1;
    // The message the resume notifier posts (with wParam 1).
    static constexpr UINT kResumeMessage = WM_USER;

    explicit CelvaneBaseWindow(int32_t viewMode);
    ~CelvaneBaseWindow() override;

    void OnCreate() override;
    void OnDestroy() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

    // The view's recompute and repaint.
    virtual void Refresh() = 0;
    // An object another view hands over: the compass view makes the sky
    // view's selection its target, the sky view selects the compass view's
    // object as a search result.
    virtual void TakeTarget(const Data::AstroObjRef& object) {}
    // F11 and the sky view's toolbar button.
    virtual void ToggleFullScreen();

    int32_t ViewMode() const { return viewMode_; }
    // Shows the window of another view in this one's place and hides this
    // one; the view mode is remembered. Nothing happens for this view itself.
    void SwitchTo(int32_t viewMode);

    // Views suppress refreshes while the user drags; a refresh that came
    // meanwhile runs when the suppression ends.
    void SetRefreshSuppressed(bool on);
    bool RefreshSuppressed() const { return refreshSuppressed_ != 0; }
    bool RefreshPending() const { return refreshPending_ != 0; }

    // Full screen: wanted by the view, active while the window is active.
    void SetFullScreenWanted(bool on);
    bool FullScreenWanted() const { return fullScreenWanted_ != 0; }
    bool IsFullScreen() const { return isFullScreen_; }

    // Arms timer 1 for the next full minute and registers with the resume
    // notifier; without the live clock the timer stays off and the window
    // unregisters. Returns the delay set, or -1 for none.
    int32_t ArmLiveClock(bool fromTimer);
    int32_t LastMinute() const { return lastMinute_; }

    // A settings command (the Settings menu, the panels' links, the toolbar).
    void RunSettingsCommand(int command);
    // The arrow keys' step of the displayed time, -1 one time step back, +1
    // one on (Compass::StepDisplayTime: the live clock stops); the engine and
    // the view follow. False when the time stayed.
    bool StepDisplayTime(int direction);

protected:
    // Called on the way to the view's refresh after a settings dialog or
    // tick; the views override Refresh only.
    void RefreshNow();
    void ApplyFullScreen(bool active);

    int32_t viewMode_;
    uint8_t refreshSuppressed_ = 0;
    uint8_t refreshPending_ = 0;
    uint8_t fullScreenWanted_ = 0;
    uint8_t fullScreenActive_ = 0;
    int32_t lastMinute_ = -1;

private:
    void EnterFullScreen();
    void LeaveFullScreen();

    bool isFullScreen_ = false;
    WINDOWPLACEMENT savedPlacement_{};
    LONG_PTR savedStyle_ = 0;
};

}  // namespace UI
