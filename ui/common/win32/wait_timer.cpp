#include "ui/common/win32/wait_timer.h"

#include <timeapi.h>

#include <utility>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace tamlo {

WaitTimer::WaitTimer(std::function<void()> onTick) : onTick_(std::move(onTick)) {
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
}

void WaitTimer::Tick() {
    if (enabled_) {
        onTick_();
    }
}

} // namespace tamlo
