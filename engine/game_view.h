#pragma once

#include <cstdint>
#include <string_view>

namespace tamlo {

// The labels whose captions the engine writes.
enum class StatusLabel { txtLevel, txtScore, txtNoLand, txtMissFire, txtMessage };

// The two timers of the main window.
enum class GameTimer { TimerLevel, TimerWait };

// The name of the window's control that shows a label or runs a timer.
constexpr const char* ControlName(StatusLabel label) {
    switch (label) {
    case StatusLabel::txtLevel:
        return "txtLevel";
    case StatusLabel::txtScore:
        return "txtScore";
    case StatusLabel::txtNoLand:
        return "txtNoLand";
    case StatusLabel::txtMissFire:
        return "txtMissFire";
    case StatusLabel::txtMessage:
        break;
    }
    return "txtMessage";
}
constexpr const char* ControlName(GameTimer timer) {
    return timer == GameTimer::TimerLevel ? "TimerLevel" : "TimerWait";
}

// What the engine needs of the main window, and nothing more. The march interval lives in the
// window's timer: the engine reads and sets it here and keeps no copy of its own.
class GameView {
public:
    virtual ~GameView() = default;

    virtual void SetDisplayText(std::string_view text) = 0;
    virtual void SetCaption(StatusLabel label, std::string_view text) = 0;
    virtual void SetTimerEnabled(GameTimer timer, bool enabled) = 0;
    virtual std::int32_t MarchInterval() const = 0;
    virtual void SetMarchInterval(std::int32_t milliseconds) = 0;

protected:
    GameView() = default;
    GameView(const GameView&) = default;
    GameView& operator=(const GameView&) = default;
};

} // namespace tamlo
