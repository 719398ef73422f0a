#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <utility>

namespace tamlo {

// An interval timer whose period holds down to a millisecond or two: a high-resolution waitable
// timer, or where the system has none (before Windows 10 1803) a plain one with the system clock
// set to 1 ms. SetTimer cannot serve: it ticks at the clock's 15.6 ms. The message loop waits on
// the handle and runs each tick on the window's thread, between two messages.
class WaitTimer {
public:
    WaitTimer();
    ~WaitTimer();
    WaitTimer(const WaitTimer&) = delete;
    WaitTimer& operator=(const WaitTimer&) = delete;

    // What each tick runs; the window sets it before the loop first runs.
    void SetHandler(std::function<void()> onTick) { onTick_ = std::move(onTick); }

    int Interval() const { return interval_; }
    // A running timer starts its new period at once.
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    // Starting a running timer changes nothing.
    void SetEnabled(bool enabled);

    HANDLE Handle() const { return handle_; }
    // Runs the handler for a signal of the handle, unless the timer was stopped since. A signal
    // stands for every period that ended since the last one: periods missed while the window was
    // busy (drawing through a slow display, say) run now, a few at most, so the march keeps its
    // speed on average.
    void Tick();

private:
    static constexpr int kMostCatchUp = 4;

    void Arm();
    static std::int64_t Now();

    std::function<void()> onTick_;
    HANDLE handle_ = nullptr;
    bool clockRaised_ = false;
    int interval_ = 0;
    bool enabled_ = false;
    std::int64_t frequency_ = 1; // counts a second
    std::int64_t nextDue_ = 0;   // when the period in progress ends, in counts
};

} // namespace tamlo
