#include "engine/clock_random_source.h"
#include "engine/game_engine.h"
#include "tests/engine/recording_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace tamlo {
namespace {

using testing::RecordingView;

// The rules that hold between any two events, whatever the player does.
void ExpectInvariants(const GameState& s, const RecordingView& view) {
    const std::string_view row = s.RowText();
    ASSERT_EQ(row.size(), 6U);
    ASSERT_GE(s.InRow, 0);
    ASSERT_LE(s.InRow, 6);
    const auto start = static_cast<std::size_t>(6 - s.InRow);
    ASSERT_EQ(row.find_first_not_of(' '), s.InRow == 0 ? std::string_view::npos : start)
        << "row '" << row << "'";
    const auto live = std::count_if(row.begin(), row.end(), [](char c) { return c != ' '; });
    ASSERT_EQ(live, s.Spawned - s.Killed) << "row '" << row << "'";
    // Live invaders stand side by side: spaces only after the last one.
    if (live > 0) {
        ASSERT_EQ(row.substr(start, static_cast<std::size_t>(live)).find(' '),
                  std::string_view::npos);
    }
    ASSERT_TRUE(std::all_of(row.begin(), row.end(),
                            [](char c) { return c == ' ' || c == 'n' || (c >= '1' && c <= '9'); }));
    ASSERT_GE(s.Aim, 1);
    ASSERT_LE(s.Aim, 10);
    ASSERT_LE(s.Killed, 16);
    ASSERT_LE(s.Spawned, 16);
    ASSERT_LT(s.Lands, 3 + 1);
    ASSERT_LE(s.Misses, 30);
    ASSERT_GE(s.Score, 0);

    // Exactly one of the three conditions holds.
    const bool playing = view.levelEnabled && !view.waitEnabled && !s.Waiting;
    const bool paused = !view.levelEnabled && view.waitEnabled && s.Waiting;
    const bool over = !view.levelEnabled && !view.waitEnabled && s.Waiting;
    ASSERT_EQ(playing + paused + over, 1)
        << "timers " << view.levelEnabled << view.waitEnabled << " waiting " << s.Waiting;
    ASSERT_EQ(over, s.Lands == 3 || s.Misses == 30);
    if (paused) {
        const std::string& message = view.Caption(StatusLabel::txtMessage);
        ASSERT_TRUE(message == "Land!" || message == "Advance to Next Level...") << message;
    }
    ASSERT_EQ(view.display.size(), 8U);
    ASSERT_EQ(view.display.substr(1, 1), "-");
}

TEST(GameEngineProperty, RandomPlayKeepsTheStateConsistentAfterEveryEvent) {
    RecordingView view;
    view.logging = false;
    ClockRandomSource random;
    random.Seed(20261207);
    GameEngine engine(view, random);
    engine.NewGame();

    std::mt19937 player(7);
    int levelsAdvanced = 0;
    int gamesOver = 0;
    for (int step = 0; step < 200000; ++step) {
        const GameState before = engine.State();
        // The window drops aim and fire while waiting; the engine is driven the same way.
        switch (player() % 16) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
            if (view.levelEnabled) {
                engine.TimerLevel_Timer();
            }
            break;
        case 5:
            if (view.waitEnabled) {
                engine.TimerWait_Timer();
            }
            break;
        case 6:
        case 7:
        case 8:
            if (!before.Waiting) {
                engine.MoveAim();
            }
            break;
        case 9:
            if (player() % 200 == 0) {
                engine.NewGame();
            }
            break;
        default:
            if (!before.Waiting) {
                // Mostly well-aimed shots, so that levels are reached.
                const auto nearest = static_cast<std::size_t>(6 - before.InRow);
                while (player() % 4 != 0 && nearest < 6 &&
                       GameEngine::AimText(engine.State().Aim)[0] != engine.State().Row[nearest]) {
                    engine.MoveAim();
                }
                engine.Fire();
            }
            break;
        }
        levelsAdvanced += engine.State().Level > before.Level;
        gamesOver += !before.Waiting && engine.State().Waiting &&
                     view.Caption(StatusLabel::txtMessage) == "Game Over!";
        ExpectInvariants(engine.State(), view);
        if (::testing::Test::HasFatalFailure()) {
            FAIL() << "after step " << step;
        }
        // The display always shows the aim the state holds, except during a pause, when the
        // picture of the moment the pause began stays.
        if (!engine.State().Waiting) {
            ASSERT_EQ(view.display.substr(0, 1), GameEngine::AimText(engine.State().Aim));
            ASSERT_EQ(view.display.substr(2), engine.State().RowText());
        }
    }
    // The walk reached the interesting states, so the checks above meant something.
    EXPECT_GT(levelsAdvanced, 20);
    EXPECT_GT(gamesOver, 5);
}

} // namespace
} // namespace tamlo
