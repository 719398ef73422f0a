// The windows' interval timer as the engine uses it: a new interval or a start begins the period
// now, periods missed while the thread was busy run together (a few at most), and a stopped
// timer runs nothing, not even a period that had already ended.
#include "ui/common/qt/interval_timer.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>

using tamlo::IntervalTimer;

class IntervalTimerTest : public QObject {
    Q_OBJECT

    // Ticks delivered when the event loop runs for a moment, well under one period.
    static int TicksDelivered(int& ticks) {
        const int before = ticks;
        QTest::qWait(20);
        return ticks - before;
    }

private slots:
    void aNewIntervalOrAStartBeginsThePeriodNow() {
        IntervalTimer timer;
        int ticks = 0;
        QElapsedTimer sinceRestart;
        qint64 firstTick = -1;
        connect(&timer, &IntervalTimer::timeout, [&] {
            if (ticks++ == 0) {
                firstTick = sinceRestart.elapsed();
            }
        });
        timer.setInterval(300);
        QVERIFY(!timer.isActive());
        timer.start();
        QVERIFY(timer.isActive());
        QTest::qWait(200);
        sinceRestart.start();
        timer.setInterval(250);
        QCOMPARE(timer.interval(), 250);
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 1, 2000);
        QVERIFY2(firstTick >= 245, qPrintable(QString::number(firstTick)));

        QTest::qWait(150);
        sinceRestart.start();
        timer.start(); // running already: starts again
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 2, 2000);
        QVERIFY(sinceRestart.elapsed() >= 245);
    }

    void missedPeriodsRunTogetherAFewAtMost() {
        IntervalTimer timer;
        int ticks = 0;
        connect(&timer, &IntervalTimer::timeout, [&] { ++ticks; });
        timer.setInterval(100);
        timer.start();
        QThread::msleep(450); // four periods, the most that run together
        QCOMPARE(TicksDelivered(ticks), 4);
        QThread::msleep(1050); // ten periods: too far behind to race after them
        QCOMPARE(TicksDelivered(ticks), 1);
    }

    void aStoppedTimerRunsNothing() {
        IntervalTimer timer;
        int ticks = 0;
        connect(&timer, &IntervalTimer::timeout, [&] {
            ++ticks;
            timer.stop(); // as the march stops when an invader lands
        });
        timer.setInterval(100);
        timer.start();
        QThread::msleep(350);
        QCOMPARE(TicksDelivered(ticks), 1);
        QVERIFY(!timer.isActive());

        timer.start();
        QThread::msleep(250);
        timer.stop(); // two periods ended before the stop
        QTest::qWait(250);
        QCOMPARE(ticks, 1);
    }
};

QTEST_MAIN(IntervalTimerTest)
#include "interval_timer_test.moc"
