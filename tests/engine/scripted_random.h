#pragma once

#include "engine/random_source.h"

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace tamlo::testing {

// Hands out the uniform values a test scripts, in order, and fails loudly past the last one.
class ScriptedRandom final : public RandomSource {
public:
    void Add(double value) { values_.push_back(value); }
    // The middle of the digit's ninth of [0, 1), so that the engine draws that digit.
    void AddDigit(char digit) { Add((digit - '0' - 0.5) / 9.0); }

    double NextUniform() override {
        if (next_ == values_.size()) {
            throw std::logic_error("the engine drew more random values than were scripted");
        }
        return values_[next_++];
    }

private:
    std::vector<double> values_;
    std::size_t next_ = 0;
};

} // namespace tamlo::testing
