// Time and allocations of the engine's operations, one operation of the named kind per
// iteration. Each iteration starts from a copy of a prepared engine (a few dozen bytes, measured
// alone by BM_CopyPreparedEngine), so every tick shifts a partly full row, every hit closes the
// same gap and every miss finds the same row. The program fails if any operation allocated, so a
// short run in the test suite holds the engine to allocating nothing while it runs.
#include "bench/allocation_counter.h"
#include "bench/fixed_view.h"
#include "engine/game_engine.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <initializer_list>

namespace tamlo {
namespace {

// Digits handed out in a fixed cycle, as the uniform values that make the engine draw them.
class CyclingDigits final : public RandomSource {
public:
    void Set(std::initializer_list<int> digits) {
        count_ = 0;
        for (int digit : digits) {
            digits_[count_++] = digit;
        }
        next_ = 0;
    }
    double NextUniform() override {
        const int digit = digits_[next_];
        next_ = (next_ + 1) % count_;
        return (digit - 0.5) / 9.0;
    }

private:
    std::array<int, 16> digits_{5};
    std::size_t count_ = 1;
    std::size_t next_ = 0;
};

// A view, a random source and an engine in the state a benchmark starts every iteration from.
struct Bench {
    FixedView view;
    CyclingDigits random;
    GameEngine engine{view, random};

    explicit Bench(std::initializer_list<int> marched) {
        engine.NewGame();
        random.Set(marched);
        for (std::size_t i = 0; i < marched.size(); ++i) {
            engine.TimerLevel_Timer();
        }
        // Later ticks draw every digit in turn.
        random.Set({1, 2, 3, 4, 5, 6, 7, 8, 9});
    }
    // At most a full cycle of presses, so that a faulty engine cannot hang the test run.
    void AimAt(char target) {
        for (int press = 0; press < 10 && GameEngine::AimText(engine.State().Aim)[0] != target;
             ++press) {
            engine.MoveAim();
        }
    }
};

bool anyAllocation = false;

// Runs a benchmark's loop and reports the allocations made per operation.
template <typename Loop> void CountAllocations(benchmark::State& state, Loop loop) {
    const auto before = AllocationCounter::Count();
    loop();
    const auto allocations = AllocationCounter::Count() - before;
    anyAllocation = anyAllocation || allocations != 0;
    state.counters["allocs/op"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

// Runs one operation per iteration on a fresh copy of the prepared engine.
template <typename Operation>
void Measure(benchmark::State& state, const GameEngine& prepared, Operation operation) {
    CountAllocations(state, [&] {
        for (auto _ : state) {
            GameEngine engine = prepared;
            operation(engine);
            benchmark::DoNotOptimize(engine.State());
        }
    });
}

void BM_CopyPreparedEngine(benchmark::State& state) {
    Bench bench({4, 7, 2});
    Measure(state, bench.engine, [](GameEngine&) {});
}

// A march tick that moves "   472" one place to the left and brings a new digit in.
void BM_TickShift(benchmark::State& state) {
    Bench bench({4, 7, 2});
    Measure(state, bench.engine, [](GameEngine& engine) { engine.TimerLevel_Timer(); });
}

// A tick on a full row: the invaders land and the game pauses.
void BM_TickLanding(benchmark::State& state) {
    Bench bench({4, 7, 2, 9, 1, 3});
    Measure(state, bench.engine, [](GameEngine& engine) { engine.TimerLevel_Timer(); });
}

// The third landing of the level: the game is over.
void BM_TickGameOver(benchmark::State& state) {
    Bench bench({4, 7, 2, 9, 1, 3});
    for (int landing = 0; landing < 2; ++landing) {
        bench.engine.TimerLevel_Timer();
        bench.engine.TimerWait_Timer();
        for (int tick = 0; tick < 6; ++tick) {
            bench.engine.TimerLevel_Timer();
        }
    }
    Measure(state, bench.engine, [](GameEngine& engine) { engine.TimerLevel_Timer(); });
}

// The end of the pause after a landing: the display redrawn, the march restarted.
void BM_PauseEnd(benchmark::State& state) {
    Bench bench({4, 7, 2, 9, 1, 3});
    bench.engine.TimerLevel_Timer();
    Measure(state, bench.engine, [](GameEngine& engine) { engine.TimerWait_Timer(); });
}

// A new game in the middle of one: every text rewritten.
void BM_NewGame(benchmark::State& state) {
    Bench bench({3, 5, 7, 3});
    Measure(state, bench.engine, [](GameEngine& engine) { engine.NewGame(); });
}

// A shot with aim 7 at "  3573": the 7 at place 5 goes and "35" closes the gap from the left.
void BM_FireHit(benchmark::State& state) {
    Bench bench({3, 5, 7, 3});
    bench.AimAt('7');
    Measure(state, bench.engine, [](GameEngine& engine) { engine.Fire(); });
}

// A shot with aim 8 at "  3573", which holds no 8: a miss is counted.
void BM_FireMiss(benchmark::State& state) {
    Bench bench({3, 5, 7, 3});
    bench.AimAt('8');
    Measure(state, bench.engine, [](GameEngine& engine) { engine.Fire(); });
}

// The sixteenth hit of a level: the level advances and every label is rewritten.
void BM_FireLevelAdvance(benchmark::State& state) {
    Bench bench({});
    for (int hit = 0; hit < 15; ++hit) {
        bench.engine.TimerLevel_Timer();
        bench.AimAt(bench.engine.State().Row[5]);
        bench.engine.Fire();
    }
    bench.engine.TimerLevel_Timer();
    bench.AimAt(bench.engine.State().Row[5]);
    Measure(state, bench.engine, [](GameEngine& engine) { engine.Fire(); });
}

// The aim moves on; its cycle never leaves play, so no copy is needed.
void BM_MoveAim(benchmark::State& state) {
    Bench bench({3, 5, 7, 3});
    CountAllocations(state, [&] {
        for (auto _ : state) {
            bench.engine.MoveAim();
            benchmark::DoNotOptimize(bench.engine.State());
        }
    });
}

BENCHMARK(BM_CopyPreparedEngine);
BENCHMARK(BM_TickShift);
BENCHMARK(BM_TickLanding);
BENCHMARK(BM_TickGameOver);
BENCHMARK(BM_PauseEnd);
BENCHMARK(BM_NewGame);
BENCHMARK(BM_FireHit);
BENCHMARK(BM_FireMiss);
BENCHMARK(BM_FireLevelAdvance);
BENCHMARK(BM_MoveAim);

} // namespace
} // namespace tamlo

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (tamlo::anyAllocation) {
        std::fprintf(stderr, "engine_bench: an engine operation allocated (see allocs/op)\n");
        return 1;
    }
    return 0;
}
