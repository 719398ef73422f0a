#pragma once

#include <windows.h>

#include <vector>

namespace tamlo {

class WaitTimer;

// The program's one message loop: it waits for window messages and for the ticks of the
// windows' timers at once, so every tick runs on the window thread, one event at a time. A
// modal window runs it nested, and the timers tick on behind it.
class MessageLoop {
public:
    void Add(WaitTimer& timer);
    void Remove(WaitTimer& timer);

    // Runs until WM_QUIT and returns its exit code.
    int Run();
    // Runs while dialog exists, with its keyboard interface (Tab, Enter, Esc, access keys). A
    // WM_QUIT on the way is posted again for the outer loop.
    void RunModal(HWND dialog);
    // Loops of the system's own (moving a window, its system menu, a message box) dispatch
    // WM_TIMER but know nothing of these timers: from entering such a loop for window to leaving
    // it, a window timer of window's brings the window WM_TIMER, which runs RunDueTicks. Every
    // window of the program does this, so the game goes on in every loop.
    static void EnterSystemLoop(HWND window);
    static void LeaveSystemLoop(HWND window);
    // Runs the ticks that fell due, without waiting.
    void RunDueTicks();

private:
    // Waits for a tick or a message, runs it, then every message waiting; false on WM_QUIT.
    bool Pump(HWND dialog, MSG& msg);

    std::vector<WaitTimer*> timers_;
};

} // namespace tamlo
