#include "engine/game_engine.h"
#include "tests/engine/recording_view.h"
#include "tests/engine/scripted_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tamlo {
namespace {

using testing::RecordingView;
using testing::ScriptedRandom;
using Log = std::vector<std::string>;

class GameEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine.NewGame();
        view.log.clear();
    }

    // One march tick per digit; the digit is what the random source yields if one is drawn.
    void March(std::initializer_list<int> digits) {
        for (int digit : digits) {
            random.Add(digit);
            engine.TimerLevel_Timer();
        }
    }
    void Shoot(char target) {
        while (GameEngine::AimText(engine.State().Aim)[0] != target) {
            engine.MoveAim();
        }
        engine.Fire();
    }
    // March one invader of the given digit in and destroy the nearest invader, until the level
    // ends; the row never fills.
    void MarchAndShootNearest(int digit) {
        March({digit});
        Shoot(State().Row[static_cast<std::size_t>(6 - State().InRow)]);
    }
    void ClearLevel(int digit) {
        while (!State().Waiting) {
            MarchAndShootNearest(digit);
        }
        engine.TimerWait_Timer();
    }
    const GameState& State() const { return engine.State(); }
    const std::string& Caption(StatusLabel label) const { return view.Caption(label); }

    RecordingView view;
    ScriptedRandom random;
    GameEngine engine{view, random};
};

TEST_F(GameEngineTest, NewGameWritesEveryTextInOrderAndStartsPlayingFromAnyCondition) {
    const auto expectFreshGame = [this](const char* from) {
        SCOPED_TRACE(from);
        view.log.clear();
        engine.NewGame();
        EXPECT_EQ(view.log,
                  (Log{"txtNoLand=Land : 0", "txtMissFire=Miss Fire : 0", "txtScore=Score : 000000",
                       "txtLevel=Level : 1", "txtMessage=", "txtDisplay=1-      ", "interval=1000",
                       "TimerLevel=on", "TimerWait=off"}));
        EXPECT_FALSE(State().Waiting);
        EXPECT_EQ(State().RowText(), "      ");
        EXPECT_EQ(State().Aim, 1);
        EXPECT_EQ(State().Level, 1);
        EXPECT_EQ(State().Spawned, 0);
    };
    expectFreshGame("playing");

    March({4, 7, 2, 5, 5, 5});
    engine.TimerLevel_Timer(); // a landing: paused
    ASSERT_TRUE(view.waitEnabled);
    expectFreshGame("paused");

    for (int i = 0; i < 30; ++i) {
        engine.Fire(); // thirty shots at an empty row: over
    }
    ASSERT_EQ(Caption(StatusLabel::txtMessage), "Game Over!");
    expectFreshGame("over");

    ClearLevel(5);
    ClearLevel(5);
    ASSERT_EQ(view.interval, 640);
    expectFreshGame("level 3");
}

TEST_F(GameEngineTest, InvadersMarchInFromTheRightAndLandOnTheSeventhTick) {
    March({4});
    EXPECT_EQ(State().RowText(), "     4");
    March({7});
    EXPECT_EQ(State().RowText(), "    47");
    March({2});
    EXPECT_EQ(view.display, "1-   472");
    March({9, 1, 3});
    EXPECT_EQ(view.display, "1-472913");
    EXPECT_EQ(State().InRow, 6);
    EXPECT_EQ(Caption(StatusLabel::txtMessage), "");

    view.log.clear();
    engine.TimerLevel_Timer();
    // The landing leaves the display alone: the full row stays until the pause ends.
    EXPECT_EQ(view.log,
              (Log{"TimerLevel=off", "txtNoLand=Land : 1", "txtMessage=Land!", "TimerWait=on"}));
    EXPECT_EQ(random.Drawn(), 6U);
    EXPECT_TRUE(State().Waiting);

    view.log.clear();
    engine.TimerWait_Timer();
    EXPECT_EQ(view.log,
              (Log{"TimerWait=off", "txtMessage=", "txtDisplay=1-      ", "TimerLevel=on"}));
    EXPECT_FALSE(State().Waiting);
    EXPECT_EQ(view.interval, 1000);
}

TEST_F(GameEngineTest, ALandingResendsTheLandedInvadersAndTheThirdEndsTheGame) {
    March({3, 1, 1, 1});
    Shoot('3');
    Shoot('1');
    March({1, 1, 1, 1});
    ASSERT_EQ(State().InRow, 6);
    engine.MoveAim();
    engine.TimerLevel_Timer();
    EXPECT_EQ(State().Killed, 2);
    EXPECT_EQ(State().Spawned, 2); // the six that landed will be sent again
    EXPECT_EQ(State().Aim, 1);
    EXPECT_EQ(State().DigitSum, 0);
    EXPECT_EQ(State().InRow, 0);
    engine.TimerWait_Timer();

    March({5, 5, 5, 5, 5, 5});
    engine.TimerLevel_Timer();
    EXPECT_EQ(Caption(StatusLabel::txtNoLand), "Land : 2");
    engine.TimerWait_Timer();

    March({6, 6, 6, 6, 6, 6});
    view.log.clear();
    engine.TimerLevel_Timer();
    // The landing stops the march, and so does the end of the game it leads to.
    EXPECT_EQ(view.log, (Log{"TimerLevel=off", "txtNoLand=Land : 3", "TimerLevel=off",
                             "txtMessage=Game Over!"}));
    EXPECT_TRUE(State().Waiting);
    EXPECT_FALSE(view.levelEnabled);
    EXPECT_FALSE(view.waitEnabled); // no pause follows the third landing
    EXPECT_EQ(view.display, "1-666666");
}

TEST_F(GameEngineTest, TheSpecialInvaderFollowsEachNonZeroMultipleOfTenOnceWhileInvadersRemain) {
    // A sum of 0 never brings "n": a fresh level draws digits.
    March({4, 6});
    EXPECT_EQ(State().RowText(), "    46");
    Shoot('4');
    March({9});
    Shoot('6');
    EXPECT_EQ(State().DigitSum, 10);
    const std::size_t drawn = random.Drawn();
    engine.TimerLevel_Timer();
    EXPECT_EQ(State().RowText(), "    9n");
    EXPECT_EQ(random.Drawn(), drawn);
    EXPECT_EQ(State().DigitSum, 0);
    EXPECT_EQ(State().Spawned, 4);
    March({1}); // one "n" per sum

    // Destroying "n" scores 300 and adds nothing to the sum.
    const std::int32_t score = State().Score;
    Shoot('n');
    EXPECT_EQ(State().Score, score + 300);
    EXPECT_EQ(State().DigitSum, 0);
    EXPECT_EQ(State().RowText(), "    91");
    Shoot('9');
    Shoot('1');
    ASSERT_EQ(State().DigitSum, 10);
    ASSERT_EQ(State().Killed, 5);

    // Once sixteen have been sent, a sum of ten brings a space instead.
    March({5}); // "n"
    Shoot('n');
    for (int i = State().Spawned; i < 16; ++i) {
        March({5});
        if (State().InRow == 5) {
            Shoot('5');
        }
    }
    ASSERT_EQ(State().Spawned, 16);
    while (State().DigitSum % 10 != 0 || State().DigitSum == 0) {
        Shoot('5');
    }
    ASSERT_LT(State().Killed, 16);
    const std::string before(State().RowText());
    engine.TimerLevel_Timer();
    EXPECT_EQ(State().RowText(), before.substr(1) + " ");
    EXPECT_EQ(State().Spawned, 16);
    EXPECT_NE(State().DigitSum, 0);

    // The invaders left still reach place 1 and land.
    while (State().InRow < 6) {
        engine.TimerLevel_Timer();
    }
    EXPECT_NE(State().Row[0], ' ');
    engine.TimerLevel_Timer();
    EXPECT_EQ(Caption(StatusLabel::txtMessage), "Land!");
}

TEST_F(GameEngineTest, AShotTakesTheNearestMatchingInvaderAndClosesTheGapFromTheLeft) {
    March({3, 5, 7, 3});
    ASSERT_EQ(State().RowText(), "  3573");
    GameEngine engine7 = engine; // the same row, to be shot with aim 7

    view.log.clear();
    Shoot('3');
    EXPECT_EQ(State().HitPos, 3);
    EXPECT_EQ(State().RowText(), "   573");
    EXPECT_EQ(State().InRow, 3);
    EXPECT_EQ(State().Score, 10);
    EXPECT_EQ(view.log, (Log{"txtDisplay=2-  3573", "txtDisplay=3-  3573", "txtDisplay=3-   573",
                             "txtScore=Score : 000010"}));

    while (GameEngine::AimText(engine7.State().Aim) != "7") {
        engine7.MoveAim();
    }
    engine7.Fire();
    EXPECT_EQ(engine7.State().HitPos, 5);
    EXPECT_EQ(engine7.State().RowText(), "   353");
    EXPECT_EQ(engine7.State().DigitSum, 7);
    EXPECT_EQ(engine7.State().Misses, 0);
}

TEST_F(GameEngineTest, MissesAreCountedAndTheThirtiethEndsTheGame) {
    March({4});
    for (int i = 1; i < 30; ++i) {
        Shoot('n'); // no "n" on the row: a miss, like a shot at an empty row
        EXPECT_EQ(State().HitPos, 0);
    }
    EXPECT_EQ(Caption(StatusLabel::txtMissFire), "Miss Fire : 29");
    EXPECT_FALSE(State().Waiting);
    view.log.clear();
    engine.Fire();
    EXPECT_EQ(view.log,
              (Log{"txtMissFire=Miss Fire : 30", "TimerLevel=off", "txtMessage=Game Over!"}));
    EXPECT_TRUE(State().Waiting);
    EXPECT_FALSE(view.waitEnabled);
    EXPECT_EQ(State().Lands, 0);
}

TEST_F(GameEngineTest, TheSixteenthHitAdvancesTheLevelAndShortensTheMarch) {
    March({8, 8, 8, 8, 8, 8});
    engine.TimerLevel_Timer(); // one landing
    engine.TimerWait_Timer();
    engine.Fire(); // one miss
    while (State().Killed < 15) {
        MarchAndShootNearest(8);
    }
    March({8});
    const char last = State().Row[5];
    const std::string aim(1, last);
    const std::string score =
        "txtScore=Score : 000" + std::to_string(State().Score + (last == 'n' ? 300 : 10));
    view.log.clear();
    Shoot(last);
    ASSERT_EQ(State().Level, 2);
    ASSERT_GE(view.log.size(), 10U);
    view.log.erase(view.log.begin(), view.log.end() - 10); // after the aim moves
    EXPECT_EQ(view.log,
              (Log{"txtDisplay=" + aim + "-      ", score, "TimerLevel=off", "txtNoLand=Land : 0",
                   "txtMissFire=Miss Fire : 0", score, "txtLevel=Level : 2",
                   "txtMessage=Advance to Next Level...", "interval=800", "TimerWait=on"}));
    EXPECT_EQ(view.display, aim + "-      "); // not redrawn until the pause ends
    EXPECT_TRUE(State().Waiting);
    EXPECT_EQ(State().Misses, 0);
    EXPECT_EQ(State().Lands, 0);
    engine.TimerWait_Timer();
    EXPECT_EQ(view.display, "1-      ");
    EXPECT_EQ(view.interval, 800);
}

TEST_F(GameEngineTest, TheMarchIntervalFollowsTheLevelTable) {
    const std::vector<int> expected = {1000, 800, 640, 512, 410, 328, 262, 210, 168, 134,
                                       107,  86,  69,  55,  44,  35,  28,  22,  18,  14,
                                       11,   9,   7,   6,   5,   4,   3,   2,   2,   2};
    for (std::size_t level = 1; level <= expected.size(); ++level) {
        ASSERT_EQ(State().Level, static_cast<int>(level));
        EXPECT_EQ(view.interval, expected[level - 1]) << "level " << level;
        ClearLevel(2);
    }
    EXPECT_EQ(Caption(StatusLabel::txtLevel), "Level : 31");
}

TEST_F(GameEngineTest, StatusTextsShowEveryDigitAndCountersStopAtTheirLimit) {
    EXPECT_EQ(GameEngine::AimText(10), "n");
    EXPECT_EQ(GameEngine::AimText(7), "7");

    March({5});
    Shoot('5');
    EXPECT_EQ(Caption(StatusLabel::txtScore), "Score : 000010");
    March({5});
    Shoot('5');
    engine.TimerLevel_Timer();
    Shoot('n');
    EXPECT_EQ(Caption(StatusLabel::txtScore), "Score : 000320");

    // A very long game: a seven-digit score, and the level stays at the limit of its width.
    view.logging = false;
    while (State().Level < 32767) {
        ClearLevel(7);
    }
    EXPECT_EQ(Caption(StatusLabel::txtLevel), "Level : 32767");
    ClearLevel(7);
    EXPECT_EQ(State().Level, 32767);
    EXPECT_EQ(Caption(StatusLabel::txtLevel), "Level : 32767");
    EXPECT_GE(State().Score, 1000000);
    EXPECT_EQ(Caption(StatusLabel::txtScore), "Score : " + std::to_string(State().Score));
    EXPECT_EQ(view.interval, 2);
}

} // namespace
} // namespace tamlo
