// Plays the engine from bytes and aborts at the first broken rule of the game. The first byte
// picks the mode: even drives the engine in turn, as the window does; odd calls anything at any
// time, may set any march interval and feeds random values a faulty source might give. Each later
// byte is an operation (its low three bits) and an argument (the other five): a tick's argument
// picks its random value, 0 to 8 the middle of a digit's ninth of [0, 1), the rest an edge value.
#include "tests/engine/engine_checker.h"
#include "tests/engine/scripted_random.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tamlo;
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    // The edges of [0, 1), then values only a faulty source gives.
    const double kEdges[] = {0.0,       1.0 / 9,    std::nextafter(1.0, 0.0),
                             1.0,       -0.25,      1e300,
                             kInfinity, -kInfinity, std::nan("")};
    testing::RecordingView view;
    testing::ScriptedRandom random;
    GameEngine engine(view, random);
    const GameState& s = engine.State();
    const bool inTurn = size == 0 || data[0] % 2 == 0;
    engine.NewGame();
    for (std::size_t i = 1;; ++i) {
        if (const char* rule = testing::BrokenRule(s, view, inTurn)) {
            std::fprintf(stderr, "engine_fuzzer: %s, after byte %zu\n", rule, i - 1);
            std::abort();
        }
        if (i >= size) {
            return 0;
        }
        const unsigned op = data[i] % 8U;
        const unsigned arg = data[i] / 8U;
        if (op < 3 && (!inTurn || view.levelEnabled)) {
            random.Add(arg < 9 ? (arg + 0.5) / 9 : kEdges[(arg - 9) % (inTurn ? 3 : 9)]);
            engine.TimerLevel_Timer();
        } else if (op == 3 && (!inTurn || view.waitEnabled)) {
            engine.TimerWait_Timer();
        } else if (op == 4 && (!inTurn || !s.Waiting)) {
            engine.MoveAim();
        } else if ((op == 5 || op == 6) && (!inTurn || !s.Waiting)) {
            engine.Fire();
        } else if (op == 7 && arg == 0) {
            engine.NewGame();
        } else if (op == 7 && !inTurn) {
            std::uint32_t interval = 0; // from the next four bytes
            for (int k = 0; k < 4 && i + 1 < size; ++k) {
                interval = (interval << 8U) | data[++i];
            }
            view.interval = static_cast<std::int32_t>(interval);
        }
    }
}
