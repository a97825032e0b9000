#include "rules/startup.h"

#include "rules/game_state.h"

namespace snugbox {

namespace {
constexpr std::int16_t kTimeTrialMode = 1;
constexpr std::int16_t kNormalMode = 2;
}

void prepareGameTables(GameState& state)
{
    fillLevelTable(state);
    initCellKinds(state);
}

bool settleStoredGameMode(GameState& state)
{
    const bool keepsLevel = state.gameMode == kTimeTrialMode &&
                            state.levels.contains(state.currentLevel);
    state.gameMode = kNormalMode;
    if (!keepsLevel) {
        state.currentLevel = 1;
    }
    return true;
}

} // namespace snugbox
