// How precisely the game's march timer keeps its interval, and what it costs, against bare timers
// with the same interval in the same run: at 1000 ms (level 1) and at 2 ms (level 28 and later).
//
//   march_timer_bench [--slow-periods N] [--fast-periods N]
//
// Each timer gives one line: its periods' mean, median and 99th percentile in milliseconds and,
// at 2 ms, its CPU time in milliseconds for 10 s of ticks.
// The game is played by a bot that destroys every invader as it enters, so the march never
// lands. At level 1 it starts a new game before the sixteenth hit would change the level; at the
// fast levels it ends each level's pause at once. Periods that span such a restart are left out.
// The game's march stops at every level's end, so it runs in stretches of about sixteen ticks;
// each bare timer is stopped and started again after stretches of the same lengths, so all are
// measured under the same conditions (the first tick after a start is always on time, which
// lowers the mean period of a short stretch a little).
//
// At 2 ms the three take turns in chunks of a few hundred periods, so that all of them see the
// same machine: the game's own timer, a bare precise QTimer and a bare timer of the game's kind
// (IntervalTimer). At each tick a bare timer rewrites what the bot's game rewrites: a disabled
// line edit twice and a label. CPU time is the whole process's (the toolkit's threads included)
// less what the bot spends in its key presses.
#include "bench/game_bot.h"
#include "ui/common/qt/font_substitutions.h"
#include "ui/common/qt/interval_timer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <type_traits>
#include <vector>

namespace {

constexpr int kChunkPeriods = 250;

double CpuMs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

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

// The periods between a timer's ticks, the lengths of the stretches between its restarts, and
// the CPU time it took.
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
    // Adds a later run of the same timer.
    void Append(const PeriodLog& later) {
        periods_.insert(periods_.end(), later.periods_.begin(), later.periods_.end());
        stretches_.insert(stretches_.end(), later.stretches_.begin(), later.stretches_.end());
        cpuMs_ += later.cpuMs_;
    }
    void AddCpu(double cpuMs) { cpuMs_ += cpuMs; }

    int Count() const { return static_cast<int>(periods_.size()); }
    int InStretch() const { return inStretch_; }
    const std::vector<double>& Periods() const { return periods_; }
    const std::vector<int>& Stretches() const { return stretches_; }
    // CPU milliseconds for the ticks of 10 s at this interval: per tick, so that a timer that
    // falls behind is not credited with the ticks it missed.
    double CpuPer10s(int interval) const {
        return periods_.empty() ? 0 : cpuMs_ / Count() * 1e4 / interval;
    }

private:
    QElapsedTimer clock_;
    qint64 last_ = -1;
    int inStretch_ = 0;
    std::vector<double> periods_;
    std::vector<int> stretches_;
    double cpuMs_ = 0;
};

void Report(const char* what, int interval, const PeriodLog& log) {
    const Summary s = Summarise(log.Periods());
    std::printf("%-11s interval=%d periods=%d mean=%.4f median=%.4f p99=%.4f mean_error=%+.2f%%",
                what, interval, log.Count(), s.mean, s.median, s.p99,
                100.0 * (s.mean - interval) / interval);
    if (interval < 1000) {
        std::printf(" cpu_per_10s=%.1f", log.CpuPer10s(interval));
    }
    std::printf("\n");
    std::fflush(stdout);
}

// Measures what runs between the call and Stop(): the process's CPU time less the excluded.
class CostMeter {
public:
    CostMeter() : cpu_(CpuMs(CLOCK_PROCESS_CPUTIME_ID)) {}
    void Stop(PeriodLog& log, double excludedCpuMs) const {
        log.AddCpu(CpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu_ - excludedCpuMs);
    }

private:
    double cpu_;
};

// What the bot's game shows at a tick, without the game: the march and the shot rewrite the
// display, the hit rewrites the score, in the game's faces.
class BareDisplay {
public:
    BareDisplay() {
        window_.setFixedSize(260, 332);
        edit_.setGeometry(64, 80, 137, 33);
        edit_.setEnabled(false);
        edit_.setFont(Face("Liberation Mono", 27));
        score_.move(64, 16);
        score_.setFont(Face("Liberation Sans", 16));
        window_.show();
    }
    void Show(int tick) {
        edit_.setText(QStringLiteral("1-   %1").arg(tick % 1000, 3, 10, QLatin1Char('0')));
        edit_.setText(QStringLiteral("1-    %1").arg(tick % 100, 2, 10, QLatin1Char('0')));
        score_.setText(
            QStringLiteral("Score : %1").arg(tick * 10 % 1000000, 6, 10, QLatin1Char('0')));
        score_.adjustSize();
    }

private:
    static QFont Face(const char* family, int pixels) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(pixels);
        font.setBold(true);
        return font;
    }

    QWidget window_;
    QLineEdit edit_{&window_};
    QLabel score_{&window_};
};

// Periods of a bare timer, restarted after each of the given stretches of periods (all in one
// stretch when none are given); each tick rewrites the line edit, when there is one.
template <class Timer>
PeriodLog BareTimer(int interval, int count, const std::vector<int>& stretches,
                    BareDisplay* display = nullptr) {
    PeriodLog log;
    Timer timer;
    if constexpr (std::is_same_v<Timer, QTimer>) {
        timer.setTimerType(Qt::PreciseTimer);
    }
    timer.setInterval(interval);
    QEventLoop loop;
    std::size_t stretch = 0;
    int ticks = 0;
    QObject::connect(&timer, &Timer::timeout, &loop, [&] {
        if (log.Count() >= count) {
            return; // a period caught up after the last one counted
        }
        log.Tick();
        if (display != nullptr) {
            display->Show(++ticks);
        }
        if (log.Count() >= count) {
            loop.quit();
        } else if (stretch < stretches.size() && log.InStretch() >= stretches[stretch]) {
            ++stretch;
            timer.start(); // as the game's march starts again after a level's pause
            log.Restart();
        }
    });
    const CostMeter cost;
    timer.start();
    loop.exec();
    cost.Stop(log, 0);
    log.Restart();
    return log;
}

// Periods of the game's own march timer while the bot plays. `keepLevel` restarts the game
// before a level would end; otherwise each level's pause is ended at once.
PeriodLog GameTimer(GameBot& bot, int count, bool keepLevel) {
    PeriodLog log;
    QEventLoop loop;
    const int interval = bot.TimerLevel().interval();
    double botMs = 0;
    auto probe = QObject::connect(&bot.TimerLevel(), &tamlo::IntervalTimer::timeout, &loop, [&] {
        log.Tick();
        const double botStart = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        if (keepLevel && bot.State().Killed == 15) {
            bot.Press(Qt::Key_R); // a new game restarts the timer
            log.Restart();
        }
        if (bot.ShootAndEndPause()) {
            log.Restart();
        }
        botMs += CpuMs(CLOCK_THREAD_CPUTIME_ID) - botStart;
        if (log.Count() >= count || bot.TimerLevel().interval() != interval) {
            loop.quit();
        }
    });
    const CostMeter cost;
    if (!bot.TimerLevel().isActive()) {
        bot.TimerLevel().start(); // the march goes on where the last chunk left it
    }
    loop.exec();
    cost.Stop(log, botMs);
    QObject::disconnect(probe);
    log.Restart();
    return log;
}

// Stops the game's timers, so a bare timer has the event loop to itself.
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
    BareDisplay bareDisplay;

    const PeriodLog slow = GameTimer(bot, slowPeriods, true);
    Report("game", 1000, slow);
    StopGame(bot);
    Report("bare_qtimer", 1000, BareTimer<QTimer>(1000, slowPeriods, slow.Stretches()));

    if (!bot.PlayToLevel(28)) {
        std::fprintf(stderr, "the game stalled before level 28\n");
        return 1;
    }
    const int interval = bot.TimerLevel().interval();
    PeriodLog game;
    PeriodLog bareQt;
    PeriodLog bareOwn;
    while (game.Count() < fastPeriods) {
        const PeriodLog chunk =
            GameTimer(bot, std::min(kChunkPeriods, fastPeriods - game.Count()), false);
        if (bot.TimerLevel().interval() != interval || chunk.Count() == 0) {
            std::fprintf(stderr, "the march left %d ms\n", interval);
            return 1;
        }
        StopGame(bot);
        game.Append(chunk);
        bareQt.Append(BareTimer<QTimer>(interval, chunk.Count(), chunk.Stretches(), &bareDisplay));
        bareOwn.Append(BareTimer<tamlo::IntervalTimer>(interval, chunk.Count(), chunk.Stretches(),
                                                       &bareDisplay));
    }
    Report("game", interval, game);
    Report("bare_qtimer", interval, bareQt);
    Report("bare_own", interval, bareOwn);
    const std::size_t stretches = std::max<std::size_t>(1, game.Stretches().size());
    std::printf("stretches between restarts at %d ms: %zu, %.1f periods each\n", interval,
                game.Stretches().size(),
                static_cast<double>(game.Count()) / static_cast<double>(stretches));
    return 0;
}
