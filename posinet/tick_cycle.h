// posinet's cycle: the periodic timer whose messages are the ticks, the extra tick of a new
// link, and the guard that keeps ticks from nesting.
#pragma once

#include <windows.h>

// The periodic timer started by the first accepted connection.
constexpr UINT_PTR kTickTimerId = 2;
constexpr UINT kTickPeriodMs = 300;

class TickCycle {
public:
    TickCycle() = default;
    TickCycle(const TickCycle&) = delete;
    TickCycle& operator=(const TickCycle&) = delete;

    // The window whose WM_TIMER messages are the ticks, once it exists; a start asked for
    // before starts the timer now.
    void AttachWindow(HWND window);
    // Starts the periodic timer unless one runs (the first accepted connection).
    void StartTimer();
    // One tick at once, before the timer's next: a WM_TIMER of identifier 0 to the window.
    void PostExtraTick() const;
    // Kills the timer if one was started; the window is going.
    void Stop();

    // Runs `tick` for a timer message, unless a tick is running: a timer message dispatched
    // meanwhile (DDEML dispatches messages while the advises are posted) is dropped, so the
    // elements never move twice in one pass. True when `tick` ran.
    template <typename Tick> bool Run(Tick tick) {
        if (tickRunning_) {
            return false;
        }
        RunningScope running(tickRunning_);
        tick();
        return true;
    }

private:
    class RunningScope {
    public:
        explicit RunningScope(bool& flag) : flag_(flag) { flag_ = true; }
        RunningScope(const RunningScope&) = delete;
        RunningScope& operator=(const RunningScope&) = delete;
        ~RunningScope() { flag_ = false; }

    private:
        bool& flag_;
    };

    HWND window_ = nullptr;
    UINT_PTR timerId_ = 0;
    bool startAsked_ = false;
    // The program's only guard against re-entry: set while a tick runs.
    bool tickRunning_ = false;
};
