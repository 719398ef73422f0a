// Plays the engine from bytes and aborts at the first broken rule. The first byte picks the mode:
// even drives the engine in turn, as the window does; odd calls anything at any time, sets march
// intervals at the edges of their width and draws values only a faulty source gives. Each later
// byte is an operation (low three bits) and an argument: a tick's value, a digit's or an edge.
#include "tests/engine/engine_checker.h"
#include "tests/engine/scripted_random.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tamlo;
    // The edges of [0, 1), then values only a faulty source gives.
    const double kEdges[] = {
        0.0, 1.0 / 9, std::nextafter(1.0, 0.0), 1.0, -0.25, 1e300, INFINITY, -INFINITY, NAN};
    constexpr std::int32_t kIntervals[] = {INT32_MIN, -1, 0, 1, 2, 3, INT32_MAX};
    testing::RecordingView view;
    testing::ScriptedRandom random;
    GameEngine engine(view, random);
    const bool inTurn = size == 0 || data[0] % 2 == 0;
    engine.NewGame();
    for (std::size_t i = 1;; ++i) {
        if (const char* rule = testing::BrokenRule(engine.State(), view, inTurn)) {
            std::fprintf(stderr, "engine_fuzzer: %s, after byte %zu\n", rule, i - 1);
            std::abort();
        }
        if (i >= size) {
            return 0;
        }
        const unsigned op = data[i] % 8U, arg = data[i] / 8U;
        if (op < 3 && (!inTurn || view.levelEnabled)) {
            random.Add(arg < 9 ? (arg + 0.5) / 9 : kEdges[(arg - 9) % (inTurn ? 3 : 9)]);
            engine.TimerLevel_Timer();
        } else if (op == 3 && (!inTurn || view.waitEnabled)) {
            engine.TimerWait_Timer();
        } else if (op == 4 && (!inTurn || !engine.State().Waiting)) {
            engine.MoveAim();
        } else if ((op == 5 || op == 6) && (!inTurn || !engine.State().Waiting)) {
            engine.Fire();
        } else if (op == 7 && arg == 0) {
            engine.NewGame();
        } else if (op == 7 && !inTurn) {
            view.interval = kIntervals[arg % 7];
        }
    }
}
