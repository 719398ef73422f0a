#pragma once

#include "engine/game_view.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace tamlo {

// A window stand-in that never allocates: it copies each text into a fixed buffer and keeps the
// timers and the interval, so that allocation counts and timings show the engine's own. A text
// longer than its buffer is cut and marked.
class FixedView final : public GameView {
public:
    static constexpr std::size_t kCapacity = 40;

    class Text {
    public:
        void Assign(std::string_view text) {
            overflowed_ = text.size() > buffer_.size();
            length_ = std::min(text.size(), buffer_.size());
            std::copy_n(text.begin(), length_, buffer_.begin());
        }
        std::string_view View() const { return {buffer_.data(), length_}; }
        bool Overflowed() const { return overflowed_; }

    private:
        std::array<char, kCapacity> buffer_{};
        std::size_t length_ = 0;
        bool overflowed_ = false;
    };

    void SetDisplayText(std::string_view text) override {
        display.Assign(text);
        ++writes;
    }
    void SetCaption(StatusLabel label, std::string_view text) override {
        captions[static_cast<std::size_t>(label)].Assign(text);
        ++writes;
    }
    void SetTimerEnabled(GameTimer timer, bool enabled) override {
        (timer == GameTimer::TimerLevel ? levelEnabled : waitEnabled) = enabled;
    }
    std::int32_t MarchInterval() const override { return interval; }
    void SetMarchInterval(std::int32_t milliseconds) override { interval = milliseconds; }

    const Text& Caption(StatusLabel label) const {
        return captions[static_cast<std::size_t>(label)];
    }

    Text display;
    std::array<Text, 5> captions{};
    bool levelEnabled = false;
    bool waitEnabled = false;
    std::int32_t interval = 1000;
    unsigned long writes = 0; // texts written, so a benchmark's work cannot be optimised away
};

} // namespace tamlo
