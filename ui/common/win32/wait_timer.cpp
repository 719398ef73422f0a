#include "ui/common/win32/wait_timer.h"

#include <timeapi.h>

#include <algorithm>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace tamlo {

WaitTimer::WaitTimer() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart;
    handle_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                     TIMER_ALL_ACCESS);
    if (handle_ == nullptr) {
        handle_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
        clockRaised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    }
}

WaitTimer::~WaitTimer() {
    CloseHandle(handle_);
    if (clockRaised_) {
        timeEndPeriod(1);
    }
}

void WaitTimer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Arm();
}

void WaitTimer::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        Arm();
    }
}

void WaitTimer::Arm() {
    if (!enabled_ || interval_ <= 0) {
        CancelWaitableTimer(handle_);
        return;
    }
    // Negative: relative to now, in 100 ns units. Setting the timer also clears a pending signal.
    LARGE_INTEGER due{};
    due.QuadPart = -10000LL * interval_;
    SetWaitableTimer(handle_, &due, interval_, nullptr, nullptr, FALSE);
    nextDue_ = Now() + frequency_ * interval_ / 1000;
}

std::int64_t WaitTimer::Now() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void WaitTimer::Tick() {
    const std::int64_t period = std::max<std::int64_t>(frequency_ * interval_ / 1000, 1);
    const std::int64_t now = Now();
    // Periods that ended, this one included; an early wake still counts as one.
    std::int64_t ended = now >= nextDue_ ? (now - nextDue_) / period + 1 : 1;
    if (ended > kMostCatchUp) {
        // Far behind (the window was dragged, say): pick up from now instead of racing.
        ended = 1;
        nextDue_ = now;
    }
    nextDue_ += ended * period;
    for (std::int64_t i = 0; i < ended && enabled_; ++i) {
        onTick_();
    }
}

} // namespace tamlo
