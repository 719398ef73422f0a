#include "engine/clock_random_source.h"

#include <chrono>

namespace tamlo {

void ClockRandomSource::SeedFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    Seed(static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

void ClockRandomSource::Seed(std::uint64_t seed) {
    generator_.seed(seed);
}

double ClockRandomSource::NextUniform() {
    // The top 53 bits scaled by 2^-53: every double this yields lies strictly below 1.
    constexpr double kScale = 1.0 / 9007199254740992.0;
    return static_cast<double>(generator_() >> 11U) * kScale;
}

} // namespace tamlo
