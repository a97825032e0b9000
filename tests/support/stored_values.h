#pragma once
// The values the per-user store keeps, gathered so that two states compare in one go.

#include <tuple>

#include "rules/game_state.h"

namespace snugbox::testing {

// Those the store keeps in binary blocks.
inline auto binaryStoredValues(const GameState& s)
{
    return std::tuple(s.solvingDataHead, s.gameMode, s.currentLevel, s.solvingDataTail, s.numwfsfValue, s.soundOptions);
}

inline auto storedValues(const GameState& s) { return std::tuple_cat(binaryStoredValues(s), std::tuple(s.bestScores)); }

} // namespace snugbox::testing
