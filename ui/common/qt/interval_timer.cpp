#include "ui/common/qt/interval_timer.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace tamlo {

IntervalTimer::IntervalTimer(QObject* parent)
    : QObject(parent), fd_(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        notifier_->setEnabled(false);
        connect(notifier_, &QSocketNotifier::activated, this, &IntervalTimer::RunEndedPeriods);
    } else {
        fallback_.setTimerType(Qt::PreciseTimer);
        connect(&fallback_, &QTimer::timeout, this, &IntervalTimer::timeout);
    }
}

IntervalTimer::~IntervalTimer() {
    if (fd_ >= 0) {
        delete notifier_; // the notifier must not outlive its descriptor
        ::close(fd_);
    }
}

void IntervalTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    Arm();
}

void IntervalTimer::start() {
    active_ = true;
    Arm();
}

void IntervalTimer::stop() {
    active_ = false;
    Arm();
}

void IntervalTimer::Arm() {
    ++arming_;
    if (notifier_ == nullptr) {
        fallback_.setInterval(interval_);
        if (active_) {
            fallback_.start();
        } else {
            fallback_.stop();
        }
        return;
    }
    // A zero time disarms the timer and clears the periods that ended; the floor of 1 ms keeps a
    // running timer running.
    itimerspec period{};
    if (active_) {
        const std::int64_t ns = std::int64_t{std::max(interval_, 1)} * 1'000'000;
        period.it_interval.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
        period.it_interval.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        period.it_value = period.it_interval;
    }
    ::timerfd_settime(fd_, 0, &period, nullptr);
    notifier_->setEnabled(active_);
}

void IntervalTimer::RunEndedPeriods() {
    std::uint64_t ended = 0;
    if (::read(fd_, &ended, sizeof ended) != static_cast<ssize_t>(sizeof ended)) {
        return; // re-armed since the wake-up: nothing ended
    }
    if (ended > kMostCatchUp) {
        ended = 1;
    }
    // A tick may stop the timer or give it a new interval: the periods counted belong to the
    // timer as it was.
    const unsigned arming = arming_;
    for (std::uint64_t i = 0; i < ended && arming == arming_; ++i) {
        emit timeout();
    }
}

} // namespace tamlo
