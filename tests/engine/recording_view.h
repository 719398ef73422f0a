#pragma once

#include "engine/game_view.h"

#include <map>
#include <string>
#include <utility>

namespace tamlo::testing {

// The window stand-in: it keeps the current texts, timers and interval, and logs every write as
// "name=value", separated by '|', in the order the engine made it; a long game logs only its start.
class RecordingView final : public GameView {
public:
    void SetDisplayText(std::string_view text) override { Record("txtDisplay", display = text); }
    void SetCaption(StatusLabel label, std::string_view text) override {
        Record(ControlName(label), captions[label] = text);
    }
    void SetTimerEnabled(GameTimer timer, bool enabled) override {
        (timer == GameTimer::TimerLevel ? levelEnabled : waitEnabled) = enabled;
        Record(ControlName(timer), enabled ? "on" : "off");
    }
    std::int32_t MarchInterval() const override { return interval; }
    void SetMarchInterval(std::int32_t milliseconds) override {
        Record("interval", std::to_string(interval = milliseconds));
    }
    // The writes since the last call.
    std::string TakeLog() { return std::exchange(log, {}); }

    std::string display;
    std::map<StatusLabel, std::string> captions;
    bool levelEnabled = false, waitEnabled = false;
    std::int32_t interval = 0;
    std::string log;

private:
    void Record(std::string_view name, std::string_view value) {
        if (log.size() < 4096) {
            log.append(log.empty() ? "" : "|").append(name).append("=").append(value);
        }
    }
};

} // namespace tamlo::testing
