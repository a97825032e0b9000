#pragma once
// The game's one source of randomness, shared by piece generation and the random
// dialog background. It is handed to whoever draws, so a test can script every draw.

#include <cstdint>
#include <random>

namespace snugbox {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform value in [0, 1).
    virtual double next() = 0;
    // Called at the start of every level.
    virtual void reseedFromClock() = 0;
};

class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom();
    double next() override;
    void reseedFromClock() override;

private:
    std::mt19937_64 engine_;
};

} // namespace snugbox
