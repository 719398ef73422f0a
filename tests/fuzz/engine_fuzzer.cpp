// Drives the engine with byte-coded sequences of ticks, pause ends, aim moves, shots and new
// games, and aborts as soon as the state, a status text or the timers break a rule of the game.
//
// The first byte picks the mode: an even byte drives the engine as the window does (a march tick
// only while TimerLevel runs, a pause end only while TimerWait runs, aim and fire only while not
// waiting); an odd byte calls anything at any time and may also set the march interval to any
// value and feed the engine random values outside [0, 1). Every later byte is an operation; a
// tick that draws a random digit takes the next byte as its value.
#include "engine/game_engine.h"
#include "tests/engine/fixed_view.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

namespace tamlo {
namespace {

using testing::FixedView;

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return next_ >= size_; }
    std::uint8_t Next() { return Empty() ? 0 : data_[next_++]; }
    std::int32_t NextInt32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = value << 8U | Next();
        }
        std::int32_t result = 0;
        std::memcpy(&result, &value, sizeof result);
        return result;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t next_ = 0;
};

// Random values taken from the input: mostly one per digit, some at the edges of [0, 1), and, in
// the anything-goes mode, some a faulty source might give.
class InputRandom final : public RandomSource {
public:
    InputRandom(ByteReader& input, bool wild) : input_(input), wild_(wild) {}

    double NextUniform() override {
        ++drawn_;
        const std::uint8_t b = input_.Next();
        double value = (b % 9 + 0.5) / 9.0;
        switch (b) {
        case 255:
            value = 0.0;
            break;
        case 254:
            value = std::nextafter(1.0, 0.0);
            break;
        case 253:
            value = 1.0 / 9.0;
            break;
        case 252:
            value = std::nextafter(8.0 / 9.0, 0.0);
            break;
        default:
            break;
        }
        if (wild_) {
            switch (b) {
            case 251:
                value = 1.0;
                break;
            case 250:
                value = -0.25;
                break;
            case 249:
                value = std::numeric_limits<double>::quiet_NaN();
                break;
            case 248:
                value = std::numeric_limits<double>::infinity();
                break;
            case 247:
                value = -std::numeric_limits<double>::infinity();
                break;
            case 246:
                value = 1e300;
                break;
            case 245:
                value = -0.0;
                break;
            default:
                break;
            }
        }
        last_ = value;
        return value;
    }
    unsigned long Drawn() const { return drawn_; }
    double Last() const { return last_; }

private:
    ByteReader& input_;
    bool wild_;
    unsigned long drawn_ = 0;
    double last_ = 0.0;
};

[[noreturn]] void Fail(const char* what, unsigned long step, const GameState& s,
                       const FixedView& view) {
    const auto text = [](const FixedView::Text& t) { return static_cast<int>(t.View().size()); };
    std::fprintf(stderr,
                 "engine_fuzzer: %s after step %lu\n"
                 "  row '%.6s' InRow %d Aim %d Killed %d Spawned %d Misses %d Lands %d DigitSum %d "
                 "HitPos %d Waiting %d Score %d Level %d\n"
                 "  TimerLevel %d TimerWait %d interval %d display '%.*s' message '%.*s'\n",
                 what, step, s.Row.data(), s.InRow, s.Aim, s.Killed, s.Spawned, s.Misses, s.Lands,
                 s.DigitSum, s.HitPos, s.Waiting, s.Score, s.Level, view.levelEnabled,
                 view.waitEnabled, view.interval, text(view.display), view.display.View().data(),
                 text(view.Caption(StatusLabel::txtMessage)),
                 view.Caption(StatusLabel::txtMessage).View().data());
    std::abort();
}

bool IsRowChar(char c) {
    return c == ' ' || c == 'n' || (c >= '1' && c <= '9');
}

// The number after a caption's prefix, if the text is the prefix and a decimal number with at
// least minDigits digits and no needless leading zero.
std::optional<std::int64_t> CaptionNumber(std::string_view text, std::string_view prefix,
                                          std::size_t minDigits = 1) {
    if (text.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    const std::string_view digits = text.substr(prefix.size());
    if (digits.size() < minDigits || digits.size() > 10 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    if (digits.size() > minDigits && digits[0] == '0') {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

enum class Condition { Playing, Paused, Over, None };

Condition ConditionOf(const GameState& s, const FixedView& view) {
    const bool level = view.levelEnabled;
    const bool wait = view.waitEnabled;
    if (level && !wait && !s.Waiting) {
        return Condition::Playing;
    }
    if (!level && wait && s.Waiting) {
        return Condition::Paused;
    }
    if (!level && !wait && s.Waiting) {
        return Condition::Over;
    }
    return Condition::None;
}

// The rules that hold after every operation, in either mode; inTurn adds those that hold only
// while the engine is driven as the window drives it.
const char* BrokenRule(const GameState& s, const FixedView& view, bool inTurn) {
    const std::string_view row = s.RowText();
    if (row.size() != 6 || !std::all_of(row.begin(), row.end(), IsRowChar)) {
        return "row is not six places of spaces, digits and n";
    }
    if (s.InRow < 0 || s.InRow > 6) {
        return "InRow out of range";
    }
    const auto start = static_cast<std::size_t>(6 - s.InRow);
    if (row.find_first_not_of(' ') != (s.InRow == 0 ? std::string_view::npos : start)) {
        return "occupied stretch does not start with a live invader";
    }
    const auto live = static_cast<std::size_t>(6 - std::count(row.begin(), row.end(), ' '));
    if (static_cast<int>(live) != s.Spawned - s.Killed) {
        return "live invaders differ from Spawned - Killed";
    }
    if (row.substr(start, live).find(' ') != std::string_view::npos) {
        return "gap between live invaders";
    }
    if (s.Killed < 0 || s.Killed >= GameEngine::kInvadersPerLevel || s.Spawned < s.Killed ||
        s.Spawned > GameEngine::kInvadersPerLevel) {
        return "Killed or Spawned out of range";
    }
    if (s.Aim < 1 || s.Aim > 10 || s.HitPos < 0 || s.HitPos > 6 || s.Level < 1 || s.Score < 0 ||
        s.Misses < 0 || s.Lands < 0 || s.DigitSum < 0) {
        return "counter out of range";
    }

    const Condition condition = ConditionOf(s, view);
    if (condition == Condition::None) {
        return "timers and Waiting match none of playing, paused and over";
    }

    const auto caption = [&view](StatusLabel label) -> const FixedView::Text& {
        return view.Caption(label);
    };
    for (const auto label : {StatusLabel::txtLevel, StatusLabel::txtScore, StatusLabel::txtNoLand,
                             StatusLabel::txtMissFire, StatusLabel::txtMessage}) {
        if (caption(label).Overflowed()) {
            return "a caption overflowed";
        }
    }
    if (CaptionNumber(caption(StatusLabel::txtLevel).View(), "Level : ") != s.Level) {
        return "txtLevel malformed or stale";
    }
    if (CaptionNumber(caption(StatusLabel::txtScore).View(), "Score : ", 6) != s.Score) {
        return "txtScore malformed or stale";
    }
    if (CaptionNumber(caption(StatusLabel::txtNoLand).View(), "Land : ") != s.Lands) {
        return "txtNoLand malformed or stale";
    }
    if (CaptionNumber(caption(StatusLabel::txtMissFire).View(), "Miss Fire : ") != s.Misses) {
        return "txtMissFire malformed or stale";
    }
    const std::string_view message = caption(StatusLabel::txtMessage).View();
    if (message != "" && message != "Land!" && message != "Advance to Next Level..." &&
        message != "Game Over!") {
        return "txtMessage is none of the four messages";
    }

    const std::string_view display = view.display.View();
    if (view.display.Overflowed() || display.size() != 8 || display[0] == ' ' ||
        !IsRowChar(display[0]) || display[1] != '-' ||
        !std::all_of(display.begin() + 2, display.end(), IsRowChar)) {
        return "txtDisplay is not aim, hyphen and six places";
    }
    if (!s.Waiting &&
        (display.substr(0, 1) != GameEngine::AimText(s.Aim) || display.substr(2) != row)) {
        return "txtDisplay differs from the state while playing";
    }

    if (inTurn) {
        if (s.Lands > GameEngine::kLandsPerGameOver || s.Misses > GameEngine::kMissesPerGameOver) {
            return "landings or misses past the end of the game";
        }
        const bool lost =
            s.Lands == GameEngine::kLandsPerGameOver || s.Misses == GameEngine::kMissesPerGameOver;
        if ((condition == Condition::Over) != lost) {
            return "over without a third landing or a thirtieth miss, or the other way round";
        }
        const bool messageFits = condition == Condition::Playing ? message.empty()
                                 : condition == Condition::Over
                                     ? message == "Game Over!"
                                     : message == "Land!" || message == "Advance to Next Level...";
        if (!messageFits) {
            return "txtMessage does not fit the condition";
        }
        if (view.interval < 1 || view.interval > GameEngine::kStartInterval) {
            return "march interval out of range";
        }
    }
    return nullptr;
}

template <typename Int> Int Saturated(std::int64_t value) {
    return static_cast<Int>(std::min<std::int64_t>(value, std::numeric_limits<Int>::max()));
}

class Run {
public:
    Run(const std::uint8_t* data, std::size_t size)
        : input_(data, size), inTurn_(input_.Next() % 2 == 0), random_(input_, !inTurn_) {}

    void Play() {
        engine_.NewGame();
        Check();
        while (!input_.Empty()) {
            Step(input_.Next());
            Check();
        }
    }

private:
    void Step(std::uint8_t op) {
        const GameState& s = engine_.State();
        if (!inTurn_) {
            switch (op % 16) {
            case 12: {
                view_.interval = input_.NextInt32();
                return;
            }
            case 13:
                // Anything may come in any order here, the pause end included.
                Checked([this] { engine_.TimerWait_Timer(); });
                return;
            default:
                break;
            }
        }
        switch (op % 12) {
        case 0:
        case 1:
        case 2:
            if (!inTurn_ || view_.levelEnabled) {
                Tick();
            }
            break;
        case 3:
            if (!inTurn_ || view_.waitEnabled) {
                Checked([this] { engine_.TimerWait_Timer(); });
            }
            break;
        case 4:
        case 5:
            if (!inTurn_ || !s.Waiting) {
                MoveAim();
            }
            break;
        case 6:
        case 7:
            if (!inTurn_ || !s.Waiting) {
                Fire();
            }
            break;
        case 8:
        case 9:
            // The aim moved, one key press at a time, to the nearest invader, then a shot.
            if (!inTurn_ || !s.Waiting) {
                const auto nearest = static_cast<std::size_t>(6 - s.InRow);
                for (int i = 0;
                     i < 10 && nearest < 6 && GameEngine::AimText(s.Aim)[0] != s.Row[nearest];
                     ++i) {
                    MoveAim();
                    Check();
                }
                Fire();
            }
            break;
        case 10:
            // Several ticks in a row, as the march goes on while the player waits.
            for (int ticks = input_.Next() % 8; ticks > 0; --ticks) {
                if (inTurn_ && !view_.levelEnabled) {
                    break;
                }
                Tick();
                Check();
            }
            break;
        default:
            Checked([this] { engine_.NewGame(); });
            break;
        }
    }

    template <typename Operation> void Checked(Operation operation) {
        operation();
        ++step_;
    }

    void Tick() {
        const GameState before = engine_.State();
        const auto drawn = random_.Drawn();
        engine_.TimerLevel_Timer();
        ++step_;
        const GameState& s = engine_.State();
        if (before.InRow == 6) {
            Expect(s.Lands == Saturated<std::int16_t>(before.Lands + 1), "landing not counted");
            Expect(random_.Drawn() == drawn, "a landing drew a random value");
            Expect(!view_.levelEnabled && s.Waiting, "a landing did not stop the march");
            if (s.Lands < GameEngine::kLandsPerGameOver) {
                Expect(s.InRow == 0 && s.Spawned == before.Killed && s.Aim == 1 &&
                           s.DigitSum == 0 && view_.waitEnabled,
                       "a landing did not clear the row for the invaders to come again");
            }
            return;
        }
        Expect(s.InRow == before.InRow + 1, "a tick did not grow the occupied stretch");
        Expect(std::equal(before.Row.begin() + 1, before.Row.end(), s.Row.begin()),
               "a tick did not move the row one place to the left");
        const char entered = s.Row[5];
        if (before.Spawned >= GameEngine::kInvadersPerLevel) {
            Expect(entered == ' ' && s.Spawned == before.Spawned,
                   "an invader entered after the level's sixteen");
        } else if (before.DigitSum != 0 && before.DigitSum % 10 == 0) {
            Expect(entered == 'n' && s.DigitSum == 0 && random_.Drawn() == drawn,
                   "the special invader did not follow a multiple of ten");
        } else {
            Expect(random_.Drawn() == drawn + 1, "a digit entered without a random draw");
            const double r = random_.Last();
            if (r >= 0.0 && r < 1.0) {
                const auto digit = static_cast<char>('1' + static_cast<int>(std::floor(r * 9.0)));
                Expect(entered == digit, "the digit that entered is not the one drawn");
            } else {
                Expect(entered >= '1' && entered <= '9', "a faulty random value gave no digit");
            }
        }
    }

    void MoveAim() {
        const std::int16_t aim = engine_.State().Aim;
        engine_.MoveAim();
        ++step_;
        Expect(engine_.State().Aim == aim % 10 + 1, "the aim did not cycle 1 to 9, n, 1");
    }

    void Fire() {
        const GameState before = engine_.State();
        const std::int32_t interval = view_.interval;
        const char target = GameEngine::AimText(before.Aim)[0];
        const auto found = before.RowText().find(target);
        engine_.Fire();
        ++step_;
        const GameState& s = engine_.State();
        if (found == std::string_view::npos) {
            Expect(s.HitPos == 0 && s.Misses == Saturated<std::int16_t>(before.Misses + 1),
                   "a shot that found nothing is not a miss");
            return;
        }
        Expect(s.HitPos == static_cast<std::int16_t>(found + 1),
               "the shot did not take the nearest matching invader");
        Expect(s.Score == Saturated<std::int32_t>(before.Score + (target == 'n' ? 300 : 10)),
               "a hit scored wrongly");
        if (before.Killed + 1 == GameEngine::kInvadersPerLevel) {
            Expect(s.Level == Saturated<std::int16_t>(before.Level + 1) && s.Killed == 0,
                   "the sixteenth hit did not advance the level");
            Expect(s.Spawned == 0 && s.InRow == 0 && s.Misses == 0 && s.Lands == 0 &&
                       s.DigitSum == 0 && s.Aim == 1 && s.Waiting && view_.waitEnabled &&
                       !view_.levelEnabled,
                   "a level advance did not start the next level afresh");
            const auto shortened = (static_cast<std::int64_t>(interval) * 4 + 2) / 5;
            Expect(view_.interval == std::clamp<std::int64_t>(
                                         shortened, 1, std::numeric_limits<std::int32_t>::max()),
                   "the march interval was not shortened to four fifths");
            return;
        }
        Expect(s.Killed == before.Killed + 1 && s.Row[0] == ' ', "a hit did not remove an invader");
        // Places left of the hit move one to the right; those right of it stay.
        Expect(std::equal(before.Row.begin(),
                          before.Row.begin() + static_cast<std::ptrdiff_t>(found),
                          s.Row.begin() + 1) &&
                   std::equal(before.Row.begin() + static_cast<std::ptrdiff_t>(found) + 1,
                              before.Row.end(),
                              s.Row.begin() + static_cast<std::ptrdiff_t>(found) + 1),
               "the gap was not closed from the left");
    }

    void Expect(bool holds, const char* what) const {
        if (!holds) {
            Fail(what, step_, engine_.State(), view_);
        }
    }

    void Check() const {
        if (const char* broken = BrokenRule(engine_.State(), view_, inTurn_)) {
            Fail(broken, step_, engine_.State(), view_);
        }
    }

    ByteReader input_;
    bool inTurn_;
    InputRandom random_;
    FixedView view_;
    GameEngine engine_{view_, random_};
    unsigned long step_ = 0;
};

} // namespace
} // namespace tamlo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tamlo::Run(data, size).Play();
    return 0;
}
