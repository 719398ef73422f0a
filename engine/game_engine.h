#pragma once

#include "engine/game_state.h"
#include "engine/game_view.h"
#include "engine/random_source.h"

#include <cstdint>
#include <string_view>

namespace tamlo {

// The rules of the game: the march, landings, pauses, shots, scoring and levels. The engine owns
// the game state and writes its results through the view, one text at a time, in the order the
// rules give; it allocates nothing while it runs.
class GameEngine {
public:
    static constexpr std::int16_t kInvadersPerLevel = 16;
    static constexpr std::int16_t kLandsPerGameOver = 3;
    static constexpr std::int16_t kMissesPerGameOver = 30;
    static constexpr std::int16_t kSpecialAim = 10;
    static constexpr std::int32_t kStartInterval = 1000;

    GameEngine(GameView& view, RandomSource& random);

    // "n" for the special aim 10, else the digit.
    static std::string_view AimText(std::int16_t value);

    const GameState& State() const { return state_; }

    void NewGame();
    void TimerLevel_Timer();
    void TimerWait_Timer();
    void MoveAim();
    void Fire();

private:
    void ShowDisplay();
    void Land();
    void GameOver();
    void HitInvader();
    void MissFire();
    void NextLevel();

    // Level, aim, row and the level's counters as at the start of a level.
    void StartLevel(std::int16_t level);
    // The four counters' captions and the message, in that order.
    void ShowStatus(std::string_view message);
    void ShowLevel();
    void ShowScore();
    void ShowLands();
    void ShowMisses();
    char NextEntering();

    GameView& view_;
    RandomSource& random_;
    GameState state_;
};

} // namespace tamlo
