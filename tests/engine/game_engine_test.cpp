#include "engine/game_engine.h"
#include "tests/engine/engine_checker.h"
#include "tests/engine/scripted_random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <tuple>

namespace tamlo {
namespace {

// Every field of the state but HitPos, which only a shot sets.
auto Fields(const GameState& s) {
    return std::tuple(s.Aim, std::string(s.RowText()), s.InRow, s.Killed, s.Spawned, s.Misses,
                      s.Lands, s.DigitSum, s.Waiting, s.Score, s.Level);
}

// A level won with sevens (see Play): the tenth makes the digit sum 70, so "n" comes next; then
// the pause.
constexpr const char* kWinLevel =
    "7@7*7@7*7@7*7@7*7@7*7@7*7@7*7@7*7@7*7@7* .@n* 7@7*7@7*7@7*7@7*7@7* w";

class GameEngineTest : public ::testing::Test {
protected:
    void SetUp() override { Writes("R"); }
    // Every test drives the engine as the window does, so every rule still holds at its end.
    void TearDown() override { EXPECT_STREQ(testing::BrokenRule(s, view, true), nullptr); }

    // Plays a script: a digit is a march tick that draws it (when the tick draws), '.' a tick
    // that draws nothing, '@' and a character aim at that character (a failure if ten presses do
    // not show it), '*' fires, 'w' ends a pause, 'R' starts a new game. Spaces group.
    void Play(std::string_view script) {
        for (std::size_t i = 0; i < script.size(); ++i) {
            const char key = script[i];
            if (key >= '1' && key <= '9') {
                random.AddDigit(key);
            }
            if ((key >= '1' && key <= '9') || key == '.') {
                engine.TimerLevel_Timer();
            } else if (key == '@') {
                const char target = script[++i];
                for (int n = 0; n < 10 && GameEngine::AimText(s.Aim)[0] != target; ++n) {
                    engine.MoveAim();
                }
                EXPECT_EQ(GameEngine::AimText(s.Aim)[0], target)
                    << "after up to ten presses in " << script;
            } else if (key == '*') {
                engine.Fire();
            } else if (key == 'w') {
                engine.TimerWait_Timer();
            } else if (key == 'R') {
                engine.NewGame();
            }
        }
    }
    // The writes to the window that the script makes.
    std::string Writes(std::string_view script) {
        view.TakeLog();
        Play(script);
        return view.TakeLog();
    }

    testing::RecordingView view;
    testing::ScriptedRandom random;
    GameEngine engine{view, random};
    const GameState& s = engine.State();
};

TEST_F(GameEngineTest, NewGameWritesEveryTextInOrderAndStartsLevelOneFromAnyCondition) {
    // Playing, paused, over and at level 3, with a score, kills and a digit sum to clear.
    const std::pair<const char*, std::string> kScenarios[] = {
        {"at the start", ""},
        {"paused after a hit and a landing", "4@4* 555555 ."},
        {"over after a hit and thirty misses", "4@4* 4 @n " + std::string(30, '*')},
        {"at level 3 with a hit", std::string(kWinLevel) + kWinLevel + "7@7*"}};
    for (const auto& [name, script] : kScenarios) {
        SCOPED_TRACE(name);
        Play(script);
        EXPECT_STREQ(testing::BrokenRule(s, view, true), nullptr);
        EXPECT_EQ(Writes("R"), "txtNoLand=Land : 0|txtMissFire=Miss Fire : 0|txtScore=Score : "
                               "000000|txtLevel=Level : 1|txtMessage=|txtDisplay=1-      |"
                               "interval=1000|TimerLevel=on|TimerWait=off");
        EXPECT_EQ(Fields(s), std::tuple(1, "      ", 0, 0, 0, 0, 0, 0, false, 0, 1));
    }
}

TEST_F(GameEngineTest, InvadersMarchInFromTheRightAndLandOnTheSeventhTick) {
    // The random value of each tick, from the edges of the ninths of [0, 1), and the display.
    const std::pair<double, const char*> kTicks[] = {
        {0.0, "1-     1"}, {0.111, "1-    11"}, {0.112, "1-   112"},
        {0.5, "1-  1125"}, {0.889, "1- 11259"}, {std::nextafter(1.0, 0.0), "1-112599"}};
    for (const auto& [value, display] : kTicks) {
        random.Add(value);
        EXPECT_EQ(Writes("."), std::string("txtDisplay=") + display);
    }
    // The landing leaves the display alone: the full row stays until the pause ends.
    EXPECT_EQ(Writes("."), "TimerLevel=off|txtNoLand=Land : 1|txtMessage=Land!|TimerWait=on");
    EXPECT_EQ(Writes("w"), "TimerWait=off|txtMessage=|txtDisplay=1-      |TimerLevel=on");
}

TEST_F(GameEngineTest, ALandingStartsTheRowAfreshAndTheThirdEndsTheGameWithoutAPause) {
    Play("3111 @3* @1* 1111 @2 .");
    EXPECT_EQ(Fields(s), std::tuple(1, "      ", 0, 2, 2, 0, 1, 0, true, 20, 1));
    Play("w 555555 . w 555555");
    EXPECT_EQ(Writes("."),
              "TimerLevel=off|txtNoLand=Land : 3|TimerLevel=off|txtMessage=Game Over!");
}

TEST_F(GameEngineTest, TheSpecialInvaderFollowsEachNonZeroMultipleOfTenOnceWhileInvadersRemain) {
    Play("46 @4* 9 @6* ."); // a sum of 0 brings no "n"; 10 brings "n", drawing nothing
    EXPECT_EQ(std::tuple(s.RowText(), s.DigitSum), std::tuple("    9n", 0));
    Play("1 @n*"); // one "n" for each sum; it scores 300 and adds nothing
    EXPECT_EQ(std::tuple(s.RowText(), s.Score, s.DigitSum), std::tuple("    91", 320, 0));
    // Once sixteen have been sent, the sum 10 brings a space, and the rest still land.
    Play("@9* @1* . @n* 22222 @2* 22 @2* @2* 22 @2* 2 @2*");
    EXPECT_EQ(std::tuple(s.RowText(), s.Spawned, s.DigitSum), std::tuple(" 22222", 16, 10));
    Play(".");
    EXPECT_EQ(s.RowText(), "22222 ");
    EXPECT_EQ(Writes("."), "TimerLevel=off|txtNoLand=Land : 1|txtMessage=Land!|TimerWait=on");
}

TEST_F(GameEngineTest, AShotTakesTheNearestInvaderOfTheAimAndClosesTheGapFromTheLeft) {
    // Each press moves the aim one step through the digits and "n", then back to 1.
    std::string aims;
    for (int press = 0; press < 11; ++press) {
        engine.MoveAim();
        aims += view.display[0];
    }
    EXPECT_EQ(aims, "23456789n12");
    // By name: the march and aim, the writes of the shot (a hit's display and score, a miss's
    // count), HitPos and the digit sum after it.
    const std::tuple<const char*, const char*, const char*, int, int> kShots[] = {
        {"nearest of two", "3573 @3", "txtDisplay=3-   573|txtScore=Score : 000010", 3, 3},
        {"in the middle", "3573 @7", "txtDisplay=7-   353|txtScore=Score : 000010", 5, 7},
        {"nearest of six", "123456 @1", "txtDisplay=1- 23456|txtScore=Score : 000010", 1, 1},
        {"last of six", "123456 @6", "txtDisplay=6- 12345|txtScore=Score : 000010", 6, 6},
        {"not the farther", "919 @9", "txtDisplay=9-    19|txtScore=Score : 000010", 4, 9},
        {"none of the aim", "3573 @8", "txtMissFire=Miss Fire : 1", 0, 0},
        {"an empty row", "@n", "txtMissFire=Miss Fire : 1", 0, 0},
    };
    for (const auto& [name, script, writes, hitPos, digitSum] : kShots) {
        SCOPED_TRACE(name);
        Play(std::string("R") + script);
        EXPECT_EQ(Writes("*"), writes);
        EXPECT_EQ(std::tuple(s.HitPos, s.DigitSum), std::tuple(hitPos, digitSum));
        EXPECT_STREQ(testing::BrokenRule(s, view, true), nullptr);
    }
}

TEST_F(GameEngineTest, TheSixteenthHitAdvancesTheLevelAndShortensTheMarch) {
    Play("888888 . w *"); // a landing and a miss, both cleared by the advance
    Play("8@8*8@8*8@8*8@8*8@8* .@n* 8@8*8@8*8@8*8@8*8@8* .@n* 8@8*8@8*8@8* 8@8");
    EXPECT_EQ(Writes("*"),
              "txtDisplay=8-      |txtScore=Score : 000740|TimerLevel=off|txtNoLand=Land : 0|"
              "txtMissFire=Miss Fire : 0|txtScore=Score : 000740|txtLevel=Level : 2|"
              "txtMessage=Advance to Next Level...|interval=800|TimerWait=on");
    EXPECT_EQ(Fields(s), std::tuple(1, "      ", 0, 0, 0, 0, 0, 0, true, 740, 2));
}

TEST_F(GameEngineTest, ALongGameFollowsTheIntervalTableShowsEveryDigitAndStopsAtTheLevelLimit) {
    // Each level won with sevens scores 450: the score after so many levels.
    const std::map<int, std::string> kScoreTexts = {
        {1, "Score : 000450"}, {2222, "Score : 999900"}, {2223, "Score : 1000350"}};
    for (int won = 0; s.Level < 32767; ++won) {
        ASSERT_STREQ(testing::BrokenRule(s, view, true), nullptr) << "level " << s.Level;
        if (kScoreTexts.count(won) != 0) {
            EXPECT_EQ(view.captions.at(StatusLabel::txtScore), kScoreTexts.at(won));
        }
        Play(kWinLevel);
    }
    Play(kWinLevel);
    EXPECT_EQ(view.captions.at(StatusLabel::txtLevel), "Level : 32767");
}

} // namespace
} // namespace tamlo
