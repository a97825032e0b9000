#pragma once
// Every computed value that becomes a whole number (layout, pixel conversions, random
// draws, bar lengths, timer intervals) goes through nearest(): halves go to the even
// neighbour, as the game has always rounded (202.5 -> 202, 57.5 -> 58).
// std::round would send halves away from zero and shift pixels and random draws.

#include <cmath>
#include <cstdint>

namespace snugbox {

inline std::int32_t nearest(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    double result = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) {
        result += 1.0;
    }
    return static_cast<std::int32_t>(result);
}

} // namespace snugbox
