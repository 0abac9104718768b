#include "app/resume_notifier.h"

#include "app/shell.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <cstdlib>

namespace UI {

bool ClockJumpDetector::Look(int64_t wallMs, int64_t steadyMs) {
    const bool jumped = primed_ && std::abs((wallMs - lastWall_) - (steadyMs - lastSteady_)) > kThresholdMs;
    primed_ = true;
    lastWall_ = wallMs;
    lastSteady_ = steadyMs;
    return jumped;
}

namespace {

// How often the watcher compares the clocks.
const UINT kWatchPeriodMs = 2000;
const UINT_PTR kWatchTimer = 1;

CRITICAL_SECTION g_lock;
bool g_started = false;
std::vector<HWND> g_windows;  // in registration order

class Lock {
public:
    Lock() { EnterCriticalSection(&g_lock); }
    ~Lock() { LeaveCriticalSection(&g_lock); }
};

int64_t WallMilliseconds() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const int64_t ticks = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks / 10000;
}

// The clock that does not run while the computer sleeps: the unbiased
// interrupt time on Windows 7 and later (looked up, as not every SDK
// declares it); else the tick count, which under Wine is the system's
// monotonic clock and stands still during sleep as well.
int64_t SteadyMilliseconds() {
    using Query = BOOL(WINAPI*)(PULONGLONG);
    static const Query query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(W(u"kernel32.dll")), "QueryUnbiasedInterruptTime")));
    ULONGLONG t = 0;
    if (query && query(&t)) return static_cast<int64_t>(t / 10000);
    return static_cast<int64_t>(GetTickCount64());
}

ClockJumpDetector g_detector;  // the watcher thread's alone

LRESULT CALLBACK WatcherProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC) {
            // The broadcast came: the clocks need not report the same sleep again.
            g_detector.Look(WallMilliseconds(), SteadyMilliseconds());
            ResumeNotifier::NotifyResume();
        }
        return TRUE;
    case WM_TIMER:
        if (wParam == kWatchTimer && g_detector.Look(WallMilliseconds(), SteadyMilliseconds()))
            ResumeNotifier::NotifyResume();
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

DWORD WINAPI WatcherThread(LPVOID) {
    // A hidden top-level window: power broadcasts reach top-level windows only.
    WNDCLASSW wc{};
    wc.lpfnWndProc = WatcherProcedure;
    wc.hInstance = mwcl::Instance();
    wc.lpszClassName = W(u"CelvaneResumeWatcher");
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        FatalError(u"RequestPowerNotifications failed");
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, W(u""), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                mwcl::Instance(), nullptr);
    if (!hwnd || !SetTimer(hwnd, kWatchTimer, kWatchPeriodMs, nullptr)) FatalError(u"RequestPowerNotifications failed");
    g_detector.Look(WallMilliseconds(), SteadyMilliseconds());
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) FatalError(u"ReadMsgQueue failed");
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

void ResumeNotifier::Register(HWND hwnd) {
    if (!hwnd) return;
    // Registration happens on the user-interface thread only, so the first
    // one may set up the lock before the watcher exists.
    if (!g_started) {
        InitializeCriticalSection(&g_lock);
        g_started = true;
        HANDLE thread = CreateThread(nullptr, 0, WatcherThread, nullptr, 0, nullptr);
        if (!thread) FatalError(u"CreateThread failed");
        CloseHandle(thread);
    }
    Lock lock;
    if (std::find(g_windows.begin(), g_windows.end(), hwnd) == g_windows.end()) g_windows.push_back(hwnd);
}

void ResumeNotifier::Unregister(HWND hwnd) {
    if (!g_started) return;
    Lock lock;
    g_windows.erase(std::remove(g_windows.begin(), g_windows.end(), hwnd), g_windows.end());
}

bool ResumeNotifier::IsRegistered(HWND hwnd) {
    if (!g_started) return false;
    Lock lock;
    return std::find(g_windows.begin(), g_windows.end(), hwnd) != g_windows.end();
}

void ResumeNotifier::NotifyResume() {
    if (!g_started) return;
    Lock lock;
    for (HWND hwnd : g_windows) PostMessageW(hwnd, WM_USER, 1, 0);
}

}  // namespace UI
