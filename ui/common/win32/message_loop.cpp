#include "ui/common/win32/message_loop.h"

#include "ui/common/win32/wait_timer.h"

#include <algorithm>
#include <array>

namespace tamlo {

void MessageLoop::Add(WaitTimer& timer) {
    timers_.push_back(&timer);
}

void MessageLoop::Remove(WaitTimer& timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
}

int MessageLoop::Run() {
    MSG msg{};
    while (Pump(nullptr, msg)) {
    }
    return static_cast<int>(msg.wParam);
}

void MessageLoop::RunModal(HWND dialog) {
    MSG msg{};
    while (IsWindow(dialog)) {
        if (!Pump(dialog, msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
    }
}

namespace {

constexpr UINT_PTR kSystemLoopTimer = 1;

} // namespace

void MessageLoop::EnterSystemLoop(HWND window) {
    SetTimer(window, kSystemLoopTimer, USER_TIMER_MINIMUM, nullptr);
}

void MessageLoop::LeaveSystemLoop(HWND window) {
    KillTimer(window, kSystemLoopTimer);
}

void MessageLoop::RunDueTicks() {
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        if (WaitForSingleObject(timers_[i]->Handle(), 0) == WAIT_OBJECT_0) {
            timers_[i]->Tick();
        }
    }
}

bool MessageLoop::Pump(HWND dialog, MSG& msg) {
    std::array<HANDLE, MAXIMUM_WAIT_OBJECTS - 1> handles{};
    const auto count = static_cast<DWORD>(std::min(timers_.size(), handles.size()));
    for (DWORD i = 0; i < count; ++i) {
        handles[i] = timers_[i]->Handle();
    }
    const DWORD woken = MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE, QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
    if (woken < WAIT_OBJECT_0 + count) {
        timers_[woken - WAIT_OBJECT_0]->Tick();
    }
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            return false;
        }
        if (dialog == nullptr || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

} // namespace tamlo
