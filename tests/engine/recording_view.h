#pragma once

#include "engine/game_view.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tamlo::testing {

// A window stand-in that keeps the current texts, timers and interval, and a log of every write
// in the order the engine made it.
class RecordingView final : public GameView {
public:
    static constexpr const char* kLabelNames[] = {"txtLevel", "txtScore", "txtNoLand",
                                                  "txtMissFire", "txtMessage"};

    void SetDisplayText(std::string_view text) override {
        display = text;
        Record("txtDisplay=" + display);
    }
    void SetCaption(StatusLabel label, std::string_view text) override {
        const auto index = static_cast<std::size_t>(label);
        captions[index] = text;
        Record(std::string(kLabelNames[index]) + "=" + captions[index]);
    }
    void SetTimerEnabled(GameTimer timer, bool enabled) override {
        const bool level = timer == GameTimer::TimerLevel;
        (level ? levelEnabled : waitEnabled) = enabled;
        Record(std::string(level ? "TimerLevel" : "TimerWait") + (enabled ? "=on" : "=off"));
    }
    std::int32_t MarchInterval() const override { return interval; }
    void SetMarchInterval(std::int32_t milliseconds) override {
        interval = milliseconds;
        Record("interval=" + std::to_string(milliseconds));
    }

    const std::string& Caption(StatusLabel label) const {
        return captions[static_cast<std::size_t>(label)];
    }

    std::string display = "txtDisplay";
    bool logging = true; // long games switch the log off
    std::array<std::string, 5> captions{};
    bool levelEnabled = true;
    bool waitEnabled = false;
    std::int32_t interval = 1000;
    std::vector<std::string> log;

private:
    void Record(std::string entry) {
        if (logging) {
            log.push_back(std::move(entry));
        }
    }
};

} // namespace tamlo::testing
