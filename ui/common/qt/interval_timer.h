#pragma once

#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace tamlo {

// The windows' interval timer, with the calls of a QTimer, whose period holds to a fraction of a
// millisecond down to the march's 2 ms. The event loop waits for timers in whole milliseconds,
// so a 2 ms QTimer wakes up to a millisecond late and then catches up, period after period. This
// one is a kernel timer the loop watches like any file: its periods lie on a fixed grid from the
// start, and a wake-up only reads how many of them ended. Where the system gives no such timer,
// a precise QTimer stands in.
class IntervalTimer final : public QObject {
    Q_OBJECT

public:
    explicit IntervalTimer(QObject* parent = nullptr);
    ~IntervalTimer() override;
    IntervalTimer(const IntervalTimer&) = delete;
    IntervalTimer& operator=(const IntervalTimer&) = delete;

    int interval() const { return interval_; }
    // A running timer starts its new period now.
    void setInterval(int milliseconds);
    bool isActive() const { return active_; }
    // (Re)starts the timer: its first period begins now.
    void start();
    void stop();

signals:
    // Once for every period that ended. Periods missed while the window was busy run at the next
    // wake-up, a few at most, so the march keeps its speed on average; after a longer stall (the
    // machine suspended, say) the timer picks up with one tick.
    void timeout();

private:
    static constexpr int kMostCatchUp = 4;

    void Arm();
    void RunEndedPeriods();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer fallback_;
    int interval_ = 0;
    bool active_ = false;
    unsigned arming_ = 0; // counts every start, stop and new interval
};

} // namespace tamlo
