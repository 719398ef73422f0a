#pragma once

#include "engine/game_engine.h"
#include "tests/engine/recording_view.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace tamlo::testing {

// The march interval of levels 1 to 30 in milliseconds; every later level keeps the last one.
inline constexpr std::array<int, 30> kIntervalOfLevel = {
    1000, 800, 640, 512, 410, 328, 262, 210, 168, 134, 107, 86, 69, 55, 44,
    35,   28,  22,  18,  14,  11,  9,   7,   6,   5,   4,   3,  2,  2,  2};

// The first rule of the game that the state or the window's texts and timers break, or nullptr.
// The rules of the conditions and the interval hold only while the engine is driven in turn, as
// the window drives it: a timer's tick only while it runs, aim and fire only while not waiting.
inline const char* BrokenRule(const GameState& s, const RecordingView& view, bool inTurn) {
    const std::string_view row = s.RowText();
    const std::string& shown = view.display;
    const std::string& message = view.captions.at(StatusLabel::txtMessage);
    const std::string score = std::to_string(s.Score);
    const auto start = static_cast<std::size_t>(6 - std::clamp<int>(s.InRow, 0, 6));
    const auto live = std::count_if(row.begin(), row.end(), [](char c) { return c != ' '; });
    // Playing: the march on, the pause off, not waiting; Paused: the reverse; Over: both off.
    const bool playing = view.levelEnabled && !view.waitEnabled && !s.Waiting;
    const bool over = !view.levelEnabled && !view.waitEnabled && s.Waiting;
    const std::pair<bool, const char*> kRules[] = {
        {row.size() != 6 || row.find_first_not_of(" 123456789n") != row.npos || s.InRow < 0 ||
             s.InRow > 6 || row.find_first_not_of(' ') != (s.InRow == 0 ? row.npos : start) ||
             live != s.Spawned - s.Killed ||
             row.substr(start, static_cast<std::size_t>(live)).find(' ') != row.npos,
         "Row is not 6 - InRow spaces, then Spawned - Killed invaders side by side, then spaces"},
        {s.Killed < 0 || s.Killed >= 16 || s.Spawned < s.Killed || s.Spawned > 16 || s.Aim < 1 ||
             s.Aim > 10 || s.HitPos < 0 || s.HitPos > 6 || s.Level < 1 || s.Score < 0 ||
             s.Score % 10 != 0 || s.Misses < 0 || s.Lands < 0 || s.DigitSum < 0,
         "a counter is out of its range"},
        {view.captions.at(StatusLabel::txtLevel) != "Level : " + std::to_string(s.Level) ||
             view.captions.at(StatusLabel::txtScore) !=
                 "Score : " + std::string(6 - std::min<std::size_t>(score.size(), 6), '0') +
                     score ||
             view.captions.at(StatusLabel::txtNoLand) != "Land : " + std::to_string(s.Lands) ||
             view.captions.at(StatusLabel::txtMissFire) !=
                 "Miss Fire : " + std::to_string(s.Misses),
         "a caption does not show its counter"},
        {shown.size() != 8 || shown.find_first_of("123456789n") != 0 || shown[1] != '-' ||
             shown.find_first_not_of(" 123456789n", 2) != shown.npos ||
             (!s.Waiting &&
              shown != std::string(GameEngine::AimText(s.Aim)) + "-" + std::string(row)),
         "txtDisplay is not the aim, a hyphen and the row (in a pause: as the pause began)"},
        {(view.levelEnabled ? view.waitEnabled || s.Waiting : !s.Waiting) ||
             (message != "" && message != "Land!" && message != "Advance to Next Level..." &&
              message != "Game Over!"),
         "the timers and Waiting fit no condition, or txtMessage is no message"},
        {inTurn && (s.Lands > 3 || s.Misses > 30 || over != (s.Lands == 3 || s.Misses == 30)),
         "the game is over other than at the third landing or the thirtieth miss"},
        // A pause with a landing counted is a landing's; a level advance clears the landings.
        {inTurn && message != (playing       ? ""
                               : over        ? "Game Over!"
                               : s.Lands > 0 ? "Land!"
                                             : "Advance to Next Level..."),
         "txtMessage does not fit the condition"},
        {inTurn && view.interval != kIntervalOfLevel[std::clamp<std::size_t>(s.Level, 1, 30) - 1],
         "the march interval is not the one of the level"},
    };
    const auto broken = std::find_if(std::begin(kRules), std::end(kRules),
                                     [](const auto& rule) { return rule.first; });
    return broken == std::end(kRules) ? nullptr : broken->second;
}

} // namespace tamlo::testing
