// ResumeNotifier: tells the registered windows that the computer woke from
// sleep, by posting WM_USER with wParam 1 to each of them.
//
// A watcher thread, started by the first registration and running until the
// process ends, notices the wake-up two ways: the system's power broadcast
// (WM_POWERBROADCAST with PBT_APMRESUMEAUTOMATIC on Windows) and, where no
// such broadcast comes (Wine, and as a safeguard everywhere), a jump of the
// wall clock against the clock that stands still during sleep. One critical
// section guards the set of windows and the posting.
#pragma once

#include "winlib/win32.h"

#include <cstdint>
#include <vector>

namespace UI {

// The wake-up test of the clock watch: between two looks the wall clock ran
// further than the sleep-free clock by more than the threshold. A wall clock
// set back (or forward) by the user counts too, which is right: the live
// clock must then be re-armed as after a wake-up.
class ClockJumpDetector {
public:
    static constexpr int64_t kThresholdMs = 5000;

    // Both clocks in milliseconds; true when a jump happened since the last look.
    bool Look(int64_t wallMs, int64_t steadyMs);

private:
    bool primed_ = false;
    int64_t lastWall_ = 0;
    int64_t lastSteady_ = 0;
};

class ResumeNotifier {
public:
    // Adds a window (once); the first registration starts the watcher.
    static void Register(HWND hwnd);
    static void Unregister(HWND hwnd);
    static bool IsRegistered(HWND hwnd);
    // Posts the resume message to every registered window, in the set's order.
    static void NotifyResume();
};

}  // namespace UI
