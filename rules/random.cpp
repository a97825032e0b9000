#include "rules/random.h"

#include <chrono>

namespace snugbox {

ClockSeededRandom::ClockSeededRandom() { reseedFromClock(); }

double ClockSeededRandom::next()
{
    // 53 random bits scaled into [0, 1): never 1.0, unlike some generate_canonical versions.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

void ClockSeededRandom::reseedFromClock()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<std::uint64_t>(ticks) ^ (static_cast<std::uint64_t>(wall) << 1));
}

} // namespace snugbox
