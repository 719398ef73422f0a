// How precisely the game's march timer keeps its interval, against a bare precise QTimer with
// the same interval in the same run: at 1000 ms (level 1) and at 2 ms (level 28 and later).
//
//   march_timer_bench [--slow-periods N] [--fast-periods N]
//
// The game is played by a bot that destroys every invader as it enters, so the march never
// lands. At level 1 it starts a new game before the sixteenth hit would change the level; at the
// fast levels it ends each level's pause at once. Periods that span such a restart are left out.
// The game's march stops at every level's end, so it runs in stretches of about sixteen ticks;
// the bare timer is stopped and started again after stretches of the same lengths, so both are
// measured under the same conditions (the first tick after a start is always on time, which
// lowers the mean period of a short stretch a little).
#include "bench/game_bot.h"
#include "ui/common/qt/font_substitutions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

struct Summary {
    double mean = 0;
    double median = 0;
    double p99 = 0;
};

Summary Summarise(std::vector<double> periods) {
    Summary s;
    if (periods.empty()) {
        return s;
    }
    std::sort(periods.begin(), periods.end());
    s.mean =
        std::accumulate(periods.begin(), periods.end(), 0.0) / static_cast<double>(periods.size());
    s.median = periods[periods.size() / 2];
    s.p99 = periods[std::min(periods.size() - 1, periods.size() * 99 / 100)];
    return s;
}

void Report(const char* what, int interval, const std::vector<double>& periods) {
    const Summary s = Summarise(periods);
    std::printf("%-6s interval=%4d ms periods=%5zu mean=%9.4f ms median=%9.4f ms p99=%9.4f ms "
                "mean_error=%+.2f%%\n",
                what, interval, periods.size(), s.mean, s.median, s.p99,
                100.0 * (s.mean - interval) / interval);
    std::fflush(stdout);
}

// The periods between a timer's ticks, and the lengths of the stretches between its restarts.
class PeriodLog {
public:
    PeriodLog() { clock_.start(); }

    void Tick() {
        const qint64 now = clock_.nsecsElapsed();
        if (last_ >= 0) {
            periods_.push_back(static_cast<double>(now - last_) / 1e6);
            ++inStretch_;
        }
        last_ = now;
    }
    // The timer starts again: the period up to its next tick does not count.
    void Restart() {
        last_ = -1;
        if (inStretch_ > 0) {
            stretches_.push_back(inStretch_);
        }
        inStretch_ = 0;
    }

    int Count() const { return static_cast<int>(periods_.size()); }
    int InStretch() const { return inStretch_; }
    const std::vector<double>& Periods() const { return periods_; }
    const std::vector<int>& Stretches() const { return stretches_; }

private:
    QElapsedTimer clock_;
    qint64 last_ = -1;
    int inStretch_ = 0;
    std::vector<double> periods_;
    std::vector<int> stretches_;
};

// Periods of a bare precise timer, restarted after each of the given stretches of periods (all
// in one stretch when none are given).
PeriodLog BareTimer(int interval, int count, const std::vector<int>& stretches) {
    PeriodLog log;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(interval);
    QEventLoop loop;
    std::size_t stretch = 0;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        log.Tick();
        if (log.Count() >= count) {
            loop.quit();
        } else if (stretch < stretches.size() && log.InStretch() >= stretches[stretch]) {
            ++stretch;
            timer.start(); // as the game's march starts again after a level's pause
            log.Restart();
        }
    });
    timer.start();
    loop.exec();
    return log;
}

// Periods of the game's own march timer while the bot plays. `keepLevel` restarts the game
// before a level would end; otherwise each level's pause is ended at once.
PeriodLog GameTimer(GameBot& bot, int count, bool keepLevel) {
    PeriodLog log;
    QEventLoop loop;
    const int interval = bot.TimerLevel().interval();
    auto probe = QObject::connect(&bot.TimerLevel(), &QTimer::timeout, &loop, [&] {
        log.Tick();
        if (keepLevel && bot.State().Killed == 15) {
            bot.Press(Qt::Key_R); // a new game restarts the timer
            log.Restart();
        }
        if (bot.ShootAndEndPause()) {
            log.Restart();
        }
        if (log.Count() >= count || bot.TimerLevel().interval() != interval) {
            loop.quit();
        }
    });
    loop.exec();
    QObject::disconnect(probe);
    log.Restart();
    return log;
}

// Stops the game's timers, so the bare timer has the event loop to itself; the bot's next
// PlayToLevel finds the game stopped and starts a new one.
void StopGame(GameBot& bot) {
    bot.TimerLevel().stop();
    bot.TimerWait().stop();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tamlo::FontSubstitutions::Install();
    int slowPeriods = 20;
    int fastPeriods = 5000;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--slow-periods")) {
            slowPeriods = args.at(i + 1).toInt();
        } else if (args.at(i) == QLatin1String("--fast-periods")) {
            fastPeriods = args.at(i + 1).toInt();
        }
    }

    tamlo::FrmTamlo window;
    window.show();
    GameBot bot(window);

    const PeriodLog slow = GameTimer(bot, slowPeriods, true);
    Report("game", 1000, slow.Periods());
    StopGame(bot);
    Report("bare", 1000, BareTimer(1000, slowPeriods, slow.Stretches()).Periods());

    if (!bot.PlayToLevel(28)) {
        std::fprintf(stderr, "the game stalled before level 28\n");
        return 1;
    }
    const int interval = bot.TimerLevel().interval();
    const PeriodLog fast = GameTimer(bot, fastPeriods, false);
    Report("game", interval, fast.Periods());
    StopGame(bot);
    Report("bare", interval, BareTimer(interval, fastPeriods, fast.Stretches()).Periods());
    const std::size_t stretches = std::max<std::size_t>(1, fast.Stretches().size());
    std::printf("stretches between restarts at %d ms: %zu, %.1f periods each\n", interval,
                fast.Stretches().size(),
                static_cast<double>(fast.Count()) / static_cast<double>(stretches));
    return 0;
}
