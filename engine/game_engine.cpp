#include "engine/game_engine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace tamlo {
namespace {

constexpr std::int16_t kRowLength = static_cast<std::int16_t>(GameState::kRowLength);
constexpr std::int32_t kPointsDigit = 10;
constexpr std::int32_t kPointsSpecial = 300;
constexpr char kSpecial = 'n';

// Counters and the score stop at the limit of their width instead of wrapping to negative.
template <typename Int> void AddSaturating(Int& value, std::int32_t amount) {
    const auto sum = static_cast<std::int64_t>(value) + amount;
    value = static_cast<Int>(std::min<std::int64_t>(sum, std::numeric_limits<Int>::max()));
}

// A caption is a fixed prefix and a number; it is formed in place, without allocating.
class Caption {
public:
    Caption(std::string_view prefix, std::int32_t number, int minDigits = 1) {
        std::copy(prefix.begin(), prefix.end(), buffer_.begin());
        length_ = prefix.size();
        std::array<char, 12> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), number);
        const auto count = static_cast<std::size_t>(result.ptr - digits.data());
        for (auto pad = count; pad < static_cast<std::size_t>(minDigits); ++pad) {
            buffer_[length_++] = '0';
        }
        std::copy(digits.data(), result.ptr,
                  buffer_.begin() + static_cast<std::ptrdiff_t>(length_));
        length_ += count;
    }
    std::string_view Text() const { return {buffer_.data(), length_}; }

private:
    std::array<char, 32> buffer_{};
    std::size_t length_ = 0;
};

} // namespace

GameEngine::GameEngine(GameView& view, RandomSource& random) : view_(view), random_(random) {}

std::string_view GameEngine::AimText(std::int16_t value) {
    static constexpr std::string_view kTexts = "0123456789n";
    if (value == kSpecialAim) {
        return kTexts.substr(10, 1);
    }
    // Aim never leaves 1 to 10; anything else still yields a one-character text.
    const auto index = static_cast<std::size_t>(std::clamp<std::int16_t>(value, 0, 9));
    return kTexts.substr(index, 1);
}

void GameEngine::ShowDisplay() {
    std::array<char, 2 + GameState::kRowLength> line{};
    line[0] = AimText(state_.Aim)[0];
    line[1] = '-';
    std::copy(state_.Row.begin(), state_.Row.end(), line.begin() + 2);
    view_.SetDisplayText({line.data(), line.size()});
}

void GameEngine::ShowLevel() {
    view_.SetCaption(StatusLabel::txtLevel, Caption("Level : ", state_.Level).Text());
}
void GameEngine::ShowScore() {
    view_.SetCaption(StatusLabel::txtScore, Caption("Score : ", state_.Score, 6).Text());
}
void GameEngine::ShowLands() {
    view_.SetCaption(StatusLabel::txtNoLand, Caption("Land : ", state_.Lands).Text());
}
void GameEngine::ShowMisses() {
    view_.SetCaption(StatusLabel::txtMissFire, Caption("Miss Fire : ", state_.Misses).Text());
}

void GameEngine::StartLevel(std::int16_t level) {
    state_.Level = level;
    state_.Aim = 1;
    state_.InRow = 0;
    state_.Spawned = 0;
    state_.Killed = 0;
    state_.Misses = 0;
    state_.Lands = 0;
    state_.DigitSum = 0;
    state_.Row = GameState::EmptyRow();
}

void GameEngine::ShowStatus(std::string_view message) {
    ShowLands();
    ShowMisses();
    ShowScore();
    ShowLevel();
    view_.SetCaption(StatusLabel::txtMessage, message);
}

void GameEngine::NewGame() {
    StartLevel(1);
    state_.Score = 0;
    ShowStatus("");
    ShowDisplay();
    view_.SetMarchInterval(kStartInterval);
    view_.SetTimerEnabled(GameTimer::TimerLevel, true);
    view_.SetTimerEnabled(GameTimer::TimerWait, false);
    state_.Waiting = false;
}

char GameEngine::NextEntering() {
    if (state_.Spawned >= kInvadersPerLevel) {
        return ' ';
    }
    ++state_.Spawned;
    if (state_.DigitSum != 0 && state_.DigitSum % 10 == 0) {
        state_.DigitSum = 0;
        return kSpecial;
    }
    const double r = random_.NextUniform();
    // A value outside [0, 1) from a faulty source still gives a digit from 1 to 9.
    const double scaled = std::isfinite(r) ? std::floor(r * 9.0) : 0.0;
    const int digit = static_cast<int>(std::clamp(scaled, 0.0, 8.0)) + 1;
    return static_cast<char>('0' + digit);
}

void GameEngine::TimerLevel_Timer() {
    if (state_.InRow >= kRowLength) {
        Land();
        return;
    }
    const char entering = NextEntering();
    ++state_.InRow;
    // The occupied stretch moves one place to the left and the new character takes place 6.
    auto& row = state_.Row;
    const auto first = static_cast<std::size_t>(
        std::find_if(row.begin(), row.end(), [](char c) { return c != ' '; }) - row.begin());
    const auto keep = GameState::kRowLength - first;
    const auto start = GameState::kRowLength - static_cast<std::size_t>(state_.InRow);
    GameState::InvaderRow shifted = GameState::EmptyRow();
    // keep is at most InRow - 1, so the stretch fits between start and the last place.
    std::copy_n(row.begin() + static_cast<std::ptrdiff_t>(first),
                std::min(keep, GameState::kRowLength - 1 - start),
                shifted.begin() + static_cast<std::ptrdiff_t>(start));
    shifted[GameState::kRowLength - 1] = entering;
    row = shifted;
    ShowDisplay();
}

void GameEngine::Land() {
    view_.SetTimerEnabled(GameTimer::TimerLevel, false);
    AddSaturating(state_.Lands, 1);
    ShowLands();
    if (state_.Lands >= kLandsPerGameOver) {
        GameOver();
        return;
    }
    view_.SetCaption(StatusLabel::txtMessage, "Land!");
    state_.InRow = 0;
    state_.DigitSum = 0;
    state_.Aim = 1;
    state_.Row = GameState::EmptyRow();
    // The invaders that landed are sent again: the level still takes 16 hits.
    state_.Spawned = state_.Killed;
    state_.Waiting = true;
    view_.SetTimerEnabled(GameTimer::TimerWait, true);
}

void GameEngine::GameOver() {
    view_.SetTimerEnabled(GameTimer::TimerLevel, false);
    view_.SetCaption(StatusLabel::txtMessage, "Game Over!");
    state_.Waiting = true;
}

void GameEngine::TimerWait_Timer() {
    view_.SetTimerEnabled(GameTimer::TimerWait, false);
    state_.Waiting = false;
    view_.SetCaption(StatusLabel::txtMessage, "");
    ShowDisplay();
    view_.SetTimerEnabled(GameTimer::TimerLevel, true);
}

void GameEngine::MoveAim() {
    state_.Aim = static_cast<std::int16_t>(state_.Aim >= kSpecialAim ? 1 : state_.Aim + 1);
    ShowDisplay();
}

void GameEngine::Fire() {
    const char target = AimText(state_.Aim)[0];
    const auto& row = state_.Row;
    const auto found = std::find(row.begin(), row.end(), target);
    state_.HitPos = found == row.end() ? 0 : static_cast<std::int16_t>(found - row.begin() + 1);
    if (state_.HitPos == 0) {
        MissFire();
        return;
    }
    HitInvader();
    if (state_.Killed >= kInvadersPerLevel) {
        NextLevel();
    }
}

void GameEngine::HitInvader() {
    AddSaturating(state_.Score, AimText(state_.Aim)[0] == kSpecial ? kPointsSpecial : kPointsDigit);
    auto& row = state_.Row;
    const auto hit = static_cast<std::size_t>(state_.HitPos - 1);
    const char invader = row[hit];
    if (invader >= '1' && invader <= '9') {
        state_.DigitSum = static_cast<std::int16_t>(state_.DigitSum + (invader - '0'));
    }
    --state_.InRow;
    ++state_.Killed;
    // The invader disappears; those to its left move one place away from the aim.
    std::copy_backward(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(hit),
                       row.begin() + static_cast<std::ptrdiff_t>(hit) + 1);
    row[0] = ' ';
    ShowDisplay();
    ShowScore();
}

void GameEngine::MissFire() {
    AddSaturating(state_.Misses, 1);
    ShowMisses();
    if (state_.Misses >= kMissesPerGameOver) {
        GameOver();
    }
}

void GameEngine::NextLevel() {
    view_.SetTimerEnabled(GameTimer::TimerLevel, false);
    std::int16_t level = state_.Level;
    AddSaturating(level, 1);
    StartLevel(level); // the score is kept
    ShowStatus("Advance to Next Level...");
    // Four fifths of the old interval, to the nearest millisecond; the fraction is a multiple of
    // 0.2, so adding 2 before the division rounds it correctly.
    const std::int32_t interval = view_.MarchInterval();
    const auto shortened = (static_cast<std::int64_t>(interval) * 4 + 2) / 5;
    view_.SetMarchInterval(static_cast<std::int32_t>(
        std::clamp<std::int64_t>(shortened, 1, std::numeric_limits<std::int32_t>::max())));
    state_.Waiting = true;
    view_.SetTimerEnabled(GameTimer::TimerWait, true);
}

} // namespace tamlo
