#pragma once

#include "engine/random_source.h"

#include <cstdint>
#include <random>

namespace tamlo {

// The game's own random numbers: a standard generator, seeded from the clock once per run.
class ClockRandomSource final : public RandomSource {
public:
    // Seeds from the system clock, so runs started at different times differ.
    void SeedFromClock();
    void Seed(std::uint64_t seed);
    double NextUniform() override;

private:
    std::mt19937_64 generator_;
};

} // namespace tamlo
