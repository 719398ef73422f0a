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
#include "ui/main_window/font_substitutions.h"

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

// Periods of a bare precise timer, restarted after each of the given stretches of periods (all
// in one stretch when none are given).
std::vector<double> BareTimer(int interval, int count, const std::vector<int>& stretches) {
    std::vector<double> periods;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(interval);
    QEventLoop loop;
    QElapsedTimer clock;
    qint64 last = -1;
    std::size_t stretch = 0;
    int inStretch = 0;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) {
            periods.push_back(static_cast<double>(now - last) / 1e6);
            ++inStretch;
        }
        last = now;
        if (static_cast<int>(periods.size()) >= count) {
            loop.quit();
        } else if (stretch < stretches.size() && inStretch >= stretches[stretch]) {
            ++stretch;
            inStretch = 0;
            timer.start(); // as the game's march starts again after a level's pause
            last = -1;
        }
    });
    clock.start();
    timer.start();
    loop.exec();
    return periods;
}

// Periods of the game's own march timer, while the bot plays, and the lengths of the stretches
// between restarts. `keepLevel` restarts the game before a level would end; otherwise each
// level's pause is ended at once.
std::vector<double> GameTimer(GameBot& bot, int count, bool keepLevel,
                              std::vector<int>* stretches) {
    std::vector<double> periods;
    int inStretch = 0;
    const auto endStretch = [&] {
        if (inStretch > 0) {
            stretches->push_back(inStretch);
        }
        inStretch = 0;
    };
    QEventLoop loop;
    QElapsedTimer clock;
    qint64 last = -1;
    const int interval = bot.TimerLevel().interval();
    auto probe = QObject::connect(&bot.TimerLevel(), &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) {
            periods.push_back(static_cast<double>(now - last) / 1e6);
            ++inStretch;
        }
        last = now;
        if (keepLevel && bot.State().Killed == 15) {
            bot.Press(Qt::Key_R); // a new game restarts the timer: the next period does not count
            last = -1;
            endStretch();
        }
        bot.ShootNearest();
        if (bot.TimerWait().isActive()) {
            bot.Tick(bot.TimerWait()); // the pause after a level ends at once
            last = -1;
            endStretch();
        }
        if (static_cast<int>(periods.size()) >= count || bot.TimerLevel().interval() != interval) {
            loop.quit();
        }
    });
    clock.start();
    loop.exec();
    QObject::disconnect(probe);
    endStretch();
    return periods;
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

    std::vector<int> stretches;
    Report("game", 1000, GameTimer(bot, slowPeriods, true, &stretches));
    StopGame(bot);
    Report("bare", 1000, BareTimer(1000, slowPeriods, stretches));

    bot.PlayToLevel(28);
    const int fast = bot.TimerLevel().interval();
    stretches.clear();
    Report("game", fast, GameTimer(bot, fastPeriods, false, &stretches));
    StopGame(bot);
    Report("bare", fast, BareTimer(fast, fastPeriods, stretches));
    std::printf("stretches between restarts at %d ms: %zu, %.1f periods each\n", fast,
                stretches.size(),
                static_cast<double>(fastPeriods) /
                    static_cast<double>(std::max<std::size_t>(1, stretches.size())));
    return 0;
}
