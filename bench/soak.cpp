// A long unattended session of the real game window, meant to run under valgrind memcheck (or
// natively, for the memory figures): a bot plays through the levels with ticks delivered directly,
// the real march timer then runs at the fastest speed, and the About window is opened and closed
// many times.
//
//   soak [--levels N] [--fast-seconds S] [--about N]
//
// Prints one line per phase and, for the About openings, the heap in use and the resident memory
// after the first hundred openings and after the last, so growth between them shows. Exits
// non-zero when a phase did not do what it should (the bot failed to reach a level, the timer did
// not run, an About window did not open, the heap grew over the About openings).
#include "bench/game_bot.h"
#include "bench/process_stats.h"
#include "ui/common/qt/font_substitutions.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

long HeapInUseKib() {
    return static_cast<long>(mallinfo2().uordblks / 1024);
}

// The toolkit's caches and allocator bookkeeping move the figure by up to a few dozen KiB whatever
// the number of openings (seen: -12 to +26 KiB over 50 to 1000 openings); a leak of one About
// window per opening would show as hundreds of KiB even over the quick run's 50.
constexpr long kHeapGrowthAllowanceKib = 64;

struct Options {
    int levels = 30;
    double fastSeconds = 60;
    int about = 1000;
};

Options Parse(const QStringList& args) {
    Options options;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--levels")) {
            options.levels = args.at(i + 1).toInt();
        } else if (args.at(i) == QLatin1String("--fast-seconds")) {
            options.fastSeconds = args.at(i + 1).toDouble();
        } else if (args.at(i) == QLatin1String("--about")) {
            options.about = args.at(i + 1).toInt();
        }
    }
    return options;
}

// Lets the real march timer run for the given time while the bot shoots every invader.
int RunFastTimer(GameBot& bot, double seconds) {
    int ticks = 0;
    QEventLoop loop;
    const auto shoot =
        QObject::connect(&bot.TimerLevel(), &tamlo::IntervalTimer::timeout, &loop, [&] {
            ++ticks;
            bot.ShootAndEndPause();
        });
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(shoot);
    return ticks;
}

// Opens the About window through the game's About command and closes it with OK, as often as
// asked; returns how many openings found the window.
int OpenAbout(tamlo::FrmTamlo& window, int times) {
    int opened = 0;
    for (int i = 0; i < times; ++i) {
        QTimer::singleShot(0, &window, [&opened] {
            auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (about == nullptr) {
                return;
            }
            ++opened;
            about->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        window.mnuAbout_Click();
    }
    return opened;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tamlo::FontSubstitutions::Install();
    const Options options = Parse(QApplication::arguments());
    int failures = 0;

    tamlo::FrmTamlo window;
    window.show();
    GameBot bot(window);

    QElapsedTimer clock;
    clock.start();
    failures += bot.PlayToLevel(options.levels) ? 0 : 1;
    std::printf("levels: reached level %d, score %d, in %.1f s\n", bot.State().Level,
                bot.State().Score, static_cast<double>(clock.elapsed()) / 1000.0);
    failures += bot.State().Level < options.levels ? 1 : 0;

    // Back down to the first level of the fastest speed, so the march runs at its shortest
    // interval for the whole phase whatever --levels was.
    bot.Press(Qt::Key_R);
    if (!bot.PlayToLevel(28)) {
        std::printf("the game stalled before level 28\n");
        return 1;
    }
    const int interval = bot.TimerLevel().interval();
    clock.restart();
    const int ticks = RunFastTimer(bot, options.fastSeconds);
    std::printf("fast timer: %d ticks at %d ms in %.1f s, now level %d\n", ticks, interval,
                static_cast<double>(clock.elapsed()) / 1000.0, bot.State().Level);
    failures += ticks == 0 ? 1 : 0;

    const int first = std::min(100, options.about);
    int opened = OpenAbout(window, first);
    const long heapFirst = HeapInUseKib();
    const long rssFirst = ProcessStats::ResidentKib(getpid());
    opened += OpenAbout(window, options.about - first);
    const long heapLast = HeapInUseKib();
    const long rssLast = ProcessStats::ResidentKib(getpid());
    std::printf("about: %d of %d openings; after %d: heap %ld KiB, rss %ld KiB; after %d: heap "
                "%ld KiB, rss %ld KiB\n",
                opened, options.about, first, heapFirst, rssFirst, options.about, heapLast,
                rssLast);
    failures += opened != options.about ? 1 : 0;
    // Under valgrind the heap figures read zero: its own allocator replaces malloc's.
    if (heapLast - heapFirst > kHeapGrowthAllowanceKib) {
        std::printf("about: the heap grew by %ld KiB\n", heapLast - heapFirst);
        ++failures;
    }

    window.close();
    return failures == 0 ? 0 : 1;
}
