#pragma once

namespace tamlo {

// A source of uniformly distributed values in [0, 1); tests substitute a scripted one.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double NextUniform() = 0;

protected:
    RandomSource() = default;
    RandomSource(const RandomSource&) = default;
    RandomSource& operator=(const RandomSource&) = default;
};

} // namespace tamlo
