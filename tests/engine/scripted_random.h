#pragma once

#include "engine/random_source.h"

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace tamlo::testing {

// Hands out the digits a test asks for, as the uniform values that make the engine draw them.
class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::vector<int> digits) : digits_(std::move(digits)) {}

    void Add(int digit) { digits_.push_back(digit); }
    std::size_t Drawn() const { return next_; }

    double NextUniform() override {
        if (next_ >= digits_.size()) {
            throw std::logic_error("the engine drew more random digits than the test scripted");
        }
        // The middle of the digit's ninth of [0, 1).
        return (digits_[next_++] - 0.5) / 9.0;
    }

private:
    std::vector<int> digits_;
    std::size_t next_ = 0;
};

} // namespace tamlo::testing
