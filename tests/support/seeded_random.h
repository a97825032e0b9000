#pragma once
// A random source that repeats itself for a given seed: the game's clock reseeds are
// counted but change nothing, so a whole game can be played again exactly.

#include <cstdint>
#include <random>

#include "rules/random.h"

namespace snugbox::testing {

class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}

    double next() override { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    void reseedFromClock() override { ++reseeds_; }
    int reseeds() const { return reseeds_; }

    // A whole number in [low, high].
    int between(int low, int high)
    {
        return low + static_cast<int>(next() * static_cast<double>(high - low + 1));
    }
    bool chance(double probability) { return next() < probability; }

private:
    std::mt19937_64 engine_;
    int reseeds_ = 0;
};

} // namespace snugbox::testing
