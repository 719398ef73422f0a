#pragma once

#include "engine/random_source.h"

#include <cstddef>
#include <vector>

namespace tamlo::testing {

// Hands out the uniform values a test scripts, in order; past the last one at() throws, and the
// test fails.
class ScriptedRandom final : public RandomSource {
public:
    void Add(double value) { values_.push_back(value); }
    // The middle of the digit's ninth of [0, 1), so that the engine draws that digit.
    void AddDigit(char digit) { Add((digit - '0' - 0.5) / 9.0); }

    double NextUniform() override { return values_.at(next_++); }

private:
    std::vector<double> values_;
    std::size_t next_ = 0;
};

} // namespace tamlo::testing
