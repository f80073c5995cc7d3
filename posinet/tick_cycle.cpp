#include "posinet/tick_cycle.h"

void TickCycle::AttachWindow(HWND window) {
    window_ = window;
    if (startAsked_) {
        StartTimer();
    }
}

void TickCycle::StartTimer() {
    // A connection accepted before the window exists starts the timer at its creation.
    startAsked_ = true;
    if (!timerId_ && window_) {
        timerId_ = SetTimer(window_, kTickTimerId, kTickPeriodMs, nullptr);
    }
}

void TickCycle::PostExtraTick() const {
    if (window_) {
        PostMessageA(window_, WM_TIMER, 0, 0);
    }
}

void TickCycle::Stop() {
    if (timerId_) {
        KillTimer(window_, timerId_);
        timerId_ = 0;
    }
    window_ = nullptr;
}
