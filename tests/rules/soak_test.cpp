#include <gtest/gtest.h>

#include "rules/catalogue.h"
#include "rules/game_state.h"
#include "rules/startup.h"
#include "tests/support/game_bot.h"

namespace snugbox {
namespace {

// Whole games played by a bot, with every invariant checked after every event. Split over
// four seeds so that they run side by side.
class Soak : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(Soak, BotGamesKeepEveryInvariant)
{
    GameState setup;
    prepareGameTables(setup);
    setup.gameMode = 2;
    ASSERT_EQ(loadAllPieces(setup, std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT"), std::nullopt);
    testing::GameBot bot(setup, GetParam());
    for (int game = 0; game < 500 && bot.faults().empty(); ++game) {
        bot.playGame();
    }
    for (const std::string& fault : bot.faults()) {
        ADD_FAILURE() << fault;
    }
    // The bot must really have played: every game ended once, some lost and some won.
    const testing::BotTotals& totals = bot.totals();
    EXPECT_EQ(std::tuple(totals.games, totals.gamesLost + totals.gamesWon, totals.gamesLost > 0, totals.gamesWon > 0),
              std::tuple(500, 500, true, true));
}

INSTANTIATE_TEST_SUITE_P(FourSeeds, Soak, ::testing::Values(11u, 23u, 37u, 41u));

} // namespace
} // namespace snugbox
