#include <gtest/gtest.h>

#include "rules/catalogue.h"
#include "rules/game_state.h"
#include "rules/startup.h"
#include "tests/support/game_bot.h"

namespace snugbox {
namespace {

GameState preparedGame()
{
    GameState state;
    prepareGameTables(state);
    state.gameMode = 2;
    const auto error = loadAllPieces(state, std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT");
    EXPECT_FALSE(error.has_value()) << *error;
    return state;
}

// Whole games played by a bot, with every invariant checked after every event. Split over
// four seeds so that they run side by side.
class Soak : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(Soak, BotGamesKeepEveryInvariant)
{
    testing::GameBot bot(preparedGame(), GetParam());
    for (int game = 0; game < 500; ++game) {
        bot.playGame();
        if (!bot.faults().empty()) {
            break;
        }
    }
    for (const std::string& fault : bot.faults()) {
        ADD_FAILURE() << fault;
    }
    // The bot must really have played: games lost and won, every level, lines and ranks.
    const testing::BotTotals& totals = bot.totals();
    RecordProperty("events", std::to_string(totals.events));
    EXPECT_EQ(totals.games, 500);
    EXPECT_EQ(totals.gamesLost + totals.gamesWon, totals.games) << "every game ends once";
    EXPECT_GT(totals.gamesLost, 0);
    EXPECT_GT(totals.gamesWon, 0);
    EXPECT_EQ(totals.highestLevel, 10);
    EXPECT_GT(totals.newGamesMidway, 0);
    EXPECT_GT(totals.lines, totals.games);
    EXPECT_GT(totals.rankedScores, 0);
}

INSTANTIATE_TEST_SUITE_P(FourSeeds, Soak, ::testing::Values(11u, 23u, 37u, 41u));

} // namespace
} // namespace snugbox
