// Measurements of the Windows program, run under Wine (or on Windows):
//
//   win32_bench timer [stretches]   the game window's own TimerLevel at 2 ms and a bare
//                                   high-resolution waitable timer, waited on alone and together
//                                   with the thread's message queue (as a window's loop must),
//                                   taking turns stretch by stretch in the same process
//   win32_bench startup <runs> <game.exe> <bare.exe>
//                                   process start to window shown, the game and a bare Win32
//                                   window alternately
//
// The march stops when the row fills, so TimerLevel is measured in stretches: R starts a new
// game, the march is set to 2 ms, and the periods between the six ticks that fill the row count.
// Each tick is seen where the player and a screen reader meet it: the display's text changing.
// The display draws at most once a screen frame; how often it drew, and that the last line of
// each stretch was drawn (the next stretch starts once it is), are reported too.
#include "engine/game_view.h"
#include "ui/common/win32/message_loop.h"
#include "ui/common/win32/win_form.h"
#include "ui/main_window/core/frm_tamlo_design.h"
#include "ui/main_window/win32/frm_tamlo.h"

#include <windows.h>

#include <commctrl.h>
#include <timeapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

using namespace tamlo;

namespace {

constexpr int kMarchMs = 2;
constexpr int kTicksPerStretch = 6;
constexpr UINT kRestart = WM_APP;
constexpr UINT_PTR kGiveUp = 0x7B00; // on a stretch's last line, never drawn

double Now() {
    LARGE_INTEGER count{}, frequency{};
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> periods) {
    const double mean = std::accumulate(periods.begin(), periods.end(), 0.0) / periods.size();
    std::sort(periods.begin(), periods.end());
    std::printf("%-28s n=%zu mean=%.4f ms median=%.4f ms p99=%.4f ms max=%.4f ms\n", what,
                periods.size(), mean, periods[periods.size() / 2],
                periods[periods.size() * 99 / 100], periods.back());
}

struct TimerRun {
    HWND game = nullptr;
    GameView* view = nullptr;
    int stretches = 0;
    int ticks = 0;
    double last = 0;
    std::vector<double> periods;
    HANDLE bare = nullptr;
    std::vector<double> barePeriods;
    std::vector<double> queuePeriods;
    double textMs = 0; // the display's own handling of its new texts
    int texts = 0;
    double paintMs = 0; // and of its drawing
    int paints = 0;
    double changed = 0;            // when the display's text was last set
    double painted = -1e9;         // and when it was last drawn
    double paintGap = 1e9;         // the shortest time from one drawing to the next
    std::wstring endLine;          // the line a stretch ended on, until it is drawn
    std::vector<double> lastDrawn; // from the stretch's last line to its drawing
    int lastLost = 0;
};

std::wstring Text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// One stretch of the bare timer: the same kind of timer as the game's, waited on alone, or with
// the message queue as the game's loop waits (new messages wake it, are left for the game).
void BareStretch(TimerRun& run, bool withQueue) {
    LARGE_INTEGER due{};
    due.QuadPart = -10000LL * kMarchMs;
    SetWaitableTimer(run.bare, &due, kMarchMs, nullptr, nullptr, FALSE);
    double last = Now();
    for (int tick = 0; tick < kTicksPerStretch; ++tick) {
        if (withQueue) {
            while (MsgWaitForMultipleObjectsEx(1, &run.bare, INFINITE, QS_ALLINPUT, 0) !=
                   WAIT_OBJECT_0) {
            }
        } else {
            WaitForSingleObject(run.bare, INFINITE);
        }
        const double now = Now();
        (withQueue ? run.queuePeriods : run.barePeriods).push_back(now - last);
        last = now;
    }
    CancelWaitableTimer(run.bare);
}

// Sees every text written into the display: one march tick each while a stretch runs. It also
// times what the display itself does with a new text and with each drawing, the window thread's
// own work at every tick, which the bare timer does not have. A stretch ends once its last line
// has been drawn.
LRESULT CALLBACK DisplayHook(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
    auto& run = *reinterpret_cast<TimerRun*>(data);
    const double start = Now();
    if (message == WM_SETTEXT) {
        run.changed = start;
    }
    if (message == WM_SETTEXT && run.ticks >= 0) {
        run.periods.push_back(start - run.last);
        run.last = start;
        if (++run.ticks == kTicksPerStretch) {
            run.ticks = -1;
            run.endLine = reinterpret_cast<const wchar_t*>(lParam);
            SetTimer(run.game, kGiveUp, 1000, nullptr);
        }
    }
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    const double end = Now();
    if (message == WM_SETTEXT) {
        run.textMs += end - start;
        ++run.texts;
    } else if (message == WM_PAINT) {
        run.paintMs += end - start;
        ++run.paints;
        run.paintGap = std::min(run.paintGap, start - run.painted);
        run.painted = start;
        if (!run.endLine.empty() && Text(edit) == run.endLine) {
            run.lastDrawn.push_back(end - run.changed);
            run.endLine.clear();
            KillTimer(run.game, kGiveUp);
            PostMessageW(run.game, kRestart, 0, 0);
        }
    }
    return result;
}

// Between two stretches, outside any tick: a new game, its march at 2 ms from now.
LRESULT CALLBACK GameHook(HWND game, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
    auto& run = *reinterpret_cast<TimerRun*>(data);
    if (message == WM_TIMER && wParam == kGiveUp) {
        KillTimer(game, kGiveUp);
        ++run.lastLost;
        run.endLine.clear();
        PostMessageW(game, kRestart, 0, 0);
        return 0;
    }
    if (message != kRestart) {
        return DefSubclassProc(game, message, wParam, lParam);
    }
    if (run.stretches-- == 0) {
        run.view->SetTimerEnabled(GameTimer::TimerLevel, false);
        PostQuitMessage(0);
        return 0;
    }
    // Game and bare timer take turns, stretch by stretch, so all see the same machine.
    run.view->SetTimerEnabled(GameTimer::TimerLevel, false);
    BareStretch(run, false);
    BareStretch(run, true);
    SendMessageW(game, WM_KEYDOWN, 'R', 0);
    run.view->SetMarchInterval(kMarchMs);
    run.last = Now();
    run.ticks = 0;
    return 0;
}

int Timer(int stretches) {
    MessageLoop loop;
    FrmTamlo game(GetModuleHandleW(nullptr), loop);
    game.Show(SW_SHOWNOACTIVATE);
    TimerRun run;
    run.game = FindWindowW(nullptr, WinForm::Wide(kFrmTamloDesign.caption).c_str());
    run.view = &game;
    run.stretches = stretches;
    run.ticks = -1;
    run.bare =
        CreateWaitableTimerExW(nullptr, nullptr, 0x2 /* high resolution */, TIMER_ALL_ACCESS);
    const int display = WinForm::Id(kFrmTamloDesign, kFrmTamloDesign.Control("txtDisplay"));
    SetWindowSubclass(GetDlgItem(run.game, display), DisplayHook, 0,
                      reinterpret_cast<DWORD_PTR>(&run));
    SetWindowSubclass(run.game, GameHook, 0, reinterpret_cast<DWORD_PTR>(&run));
    PostMessageW(run.game, kRestart, 0, 0);
    loop.Run();
    Report("game TimerLevel at 2 ms", run.periods);
    Report("bare waitable timer at 2 ms", run.barePeriods);
    Report("the same with message queue", run.queuePeriods);
    std::printf("the display's own work: %d new texts, %.3f ms each; %d drawings, %.3f ms each\n",
                run.texts, run.textMs / std::max(run.texts, 1), run.paints,
                run.paintMs / std::max(run.paints, 1));
    std::printf("the display drawn: %.2f times a stretch of %d ticks, at least %.2f ms apart\n",
                static_cast<double>(run.paints) / stretches, kTicksPerStretch, run.paintGap);
    if (!run.lastDrawn.empty()) {
        Report("stretch's last line drawn", run.lastDrawn);
    }
    std::printf("stretches whose last line was never drawn: lost=%d\n", run.lastLost);
    return 0;
}

// Milliseconds from CreateProcess to a visible window of that title; then closes it.
double StartUp(const wchar_t* program, const wchar_t* title) {
    std::wstring commandLine = std::wstring(L"\"") + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const double start = Now();
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %ls\n", program);
        std::exit(1);
    }
    HWND window = nullptr;
    while (window == nullptr || !IsWindowVisible(window)) {
        Sleep(1);
        window = FindWindowW(nullptr, title);
    }
    const double elapsed = Now() - start;
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

int StartUps(int runs, const wchar_t* game, const wchar_t* bare) {
    const std::wstring title = WinForm::Wide(kFrmTamloDesign.caption);
    StartUp(game, title.c_str()); // warms the file cache
    std::vector<double> games, bares;
    for (int i = 0; i < runs; ++i) {
        games.push_back(StartUp(game, title.c_str()));
        bares.push_back(StartUp(bare, L"Bare Win32 Window"));
    }
    Report("start-up, game", games);
    Report("start-up, bare window", bares);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    timeBeginPeriod(1); // the polling and sleeping of the measurements, not the timers measured
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"timer") {
        return Timer(argc > 2 ? _wtoi(argv[2]) : 500);
    }
    if (mode == L"startup" && argc == 5) {
        return StartUps(_wtoi(argv[2]), argv[3], argv[4]);
    }
    std::fprintf(stderr, "usage: win32_bench timer [stretches] | startup <runs> <game> <bare>\n");
    return 2;
}
