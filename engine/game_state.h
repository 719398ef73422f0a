#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tamlo {

// The whole state of one game. The fields keep the order and widths of the game's record: 16-bit
// counters and a 32-bit score.
struct GameState {
    static constexpr std::size_t kRowLength = 6;
    using InvaderRow = std::array<char, kRowLength>;

    std::int16_t Aim = 1;        // 1 to 9 aim at that digit, 10 at the special invader "n"
    InvaderRow Row = EmptyRow(); // place 1 at the left, next to the aim; a space is an empty place
    std::int16_t InRow = 0;      // length of the occupied stretch at the right end of Row
    std::int16_t Killed = 0;     // invaders destroyed in this level
    std::int16_t Spawned = 0;    // invaders sent into the row in this level
    std::int16_t Misses = 0;     // shots in this level that found no invader
    std::int16_t Lands = 0;      // landings in this level
    std::int16_t DigitSum = 0;   // digits destroyed since the special invader was last sent
    std::int16_t HitPos = 0;     // place (1 to 6) found by the last shot, 0 for none
    bool Waiting = false;        // paused or over: aim and fire keys are ignored
    std::int32_t Score = 0;
    std::int16_t Level = 1;

    static constexpr InvaderRow EmptyRow() { return {' ', ' ', ' ', ' ', ' ', ' '}; }
    std::string_view RowText() const { return {Row.data(), Row.size()}; }
};

} // namespace tamlo
