#include "bench/allocation_counter.h"
#include "engine/clock_random_source.h"
#include "engine/game_engine.h"
#include "tests/engine/fixed_view.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <new>
#include <random>

namespace tamlo {
namespace {

using testing::FixedView;

enum Kind { kNewGame, kTick, kLanding, kPauseEnd, kMove, kHit, kMiss, kLevel, kOver, kKinds };
constexpr std::array<const char*, kKinds> kKindNames = {"new game",  "tick",          "landing",
                                                        "pause end", "aim move",      "hit",
                                                        "miss",      "level advance", "game over"};

TEST(GameEngineAllocation, NoOperationAllocatesThroughManyGames) {
    // The counter sees an allocation made behind its back, so a zero below means none was made.
    const auto start = AllocationCounter::Count();
    ::operator delete(::operator new(64));
    ASSERT_EQ(AllocationCounter::Count() - start, 1U);

    FixedView view;
    ClockRandomSource random;
    random.Seed(99);
    GameEngine engine(view, random);
    std::mt19937 player(3);
    std::array<std::uint64_t, kKinds> allocations{};
    std::array<int, kKinds> seen{};

    const auto count = [&](Kind kind, auto operation) {
        const auto before = AllocationCounter::Count();
        operation();
        allocations[kind] += AllocationCounter::Count() - before;
        ++seen[kind];
    };
    count(kNewGame, [&] { engine.NewGame(); });
    for (int step = 0; step < 20000; ++step) {
        const GameState before = engine.State();
        const auto choice = player() % 8;
        if (choice < 3 && view.levelEnabled) {
            const bool over = before.Lands == GameEngine::kLandsPerGameOver - 1;
            count(before.InRow < 6 ? kTick : (over ? kOver : kLanding),
                  [&] { engine.TimerLevel_Timer(); });
        } else if (choice == 3 && view.waitEnabled) {
            count(kPauseEnd, [&] { engine.TimerWait_Timer(); });
        } else if (choice == 4 && !before.Waiting) {
            count(kMove, [&] { engine.MoveAim(); });
        } else if (choice >= 5 && !before.Waiting) {
            // Mostly aimed at the nearest invader, so that levels are won and games lost.
            const auto nearest = static_cast<std::size_t>(6 - before.InRow);
            while (player() % 5 != 0 && nearest < 6 &&
                   GameEngine::AimText(engine.State().Aim)[0] != before.Row[nearest]) {
                engine.MoveAim();
            }
            const auto target = GameEngine::AimText(engine.State().Aim)[0];
            const bool hit = before.RowText().find(target) != std::string_view::npos;
            const bool lastHit = hit && before.Killed == GameEngine::kInvadersPerLevel - 1;
            const bool lastMiss = !hit && before.Misses == GameEngine::kMissesPerGameOver - 1;
            count(lastHit ? kLevel : (lastMiss ? kOver : (hit ? kHit : kMiss)),
                  [&] { engine.Fire(); });
        } else if (before.Waiting && !view.levelEnabled && !view.waitEnabled) {
            count(kNewGame, [&] { engine.NewGame(); });
        }
    }

    for (int kind = 0; kind < kKinds; ++kind) {
        SCOPED_TRACE(kKindNames[static_cast<std::size_t>(kind)]);
        EXPECT_GT(seen[static_cast<std::size_t>(kind)], 0) << "the walk never reached it";
        EXPECT_EQ(allocations[static_cast<std::size_t>(kind)], 0U);
    }
}

} // namespace
} // namespace tamlo
