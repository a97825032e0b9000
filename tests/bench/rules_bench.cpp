#include <benchmark/benchmark.h>

#include <string>

#include "rules/board.h"
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
    if (auto error = loadAllPieces(state, std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT")) {
        std::abort();
    }
    return state;
}

// Whole games from the new-game press to game over, the bot choosing every move; the
// display records calls but paints nothing, so this is the rules' own cost plus the bot's.
void wholeBotGames(benchmark::State& run, bool checking)
{
    testing::GameBot bot(preparedGame(), 20240601);
    bot.setChecking(checking);
    for (auto _ : run) {
        bot.playGame();
    }
    run.SetItemsProcessed(run.iterations());
    run.counters["events/game"] = benchmark::Counter(
        static_cast<double>(bot.totals().events) / static_cast<double>(bot.totals().games));
}

void BM_WholeBotGames(benchmark::State& run) { wholeBotGames(run, false); }
void BM_WholeBotGamesCheckingEveryEvent(benchmark::State& run) { wholeBotGames(run, true); }
BENCHMARK(BM_WholeBotGames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeBotGamesCheckingEveryEvent)->Unit(benchmark::kMillisecond);

// One drop's board work: the fit test, writing the piece and looking for full lines.
// A bar of four completes row 5 and column 5 at once; its four cells are emptied again at
// the end of each iteration (four byte writes, counted in) so every drop meets the same board.
void BM_DropFitPlaceCount(benchmark::State& run)
{
    GameState state = preparedGame();
    state.boardRows = state.boardCols = 9;
    initBoardTiles(state);
    for (int i = 1; i <= 9; ++i) {
        if (i < 5 || i > 8) {
            state.boardCells(5, i) = colourBase + 1;
        }
        if (i != 5) {
            state.boardCells(i, 5) = colourBase + 2;
        }
    }
    PieceShape bar;
    bar.squareCount = 4;
    bar.width = 4;
    bar.height = 1;
    bar.squares.resize(4);
    bar.colours.resize(4);
    for (int k = 1; k <= 4; ++k) {
        bar.squares[k] = Square{static_cast<std::int16_t>(k - 1), 0};
        bar.colours[k] = 3;
    }
    for (auto _ : run) {
        const bool fits = pieceFits(state, 5, 5, 1, bar);
        placePiece(state, 5, 5, 1, bar);
        const std::int16_t lines = countCompleteLines(state);
        benchmark::DoNotOptimize(fits);
        benchmark::DoNotOptimize(lines);
        for (int col = 5; col <= 8; ++col) {
            state.boardCells(5, col) = state.boardBase(5, col);
        }
    }
}
BENCHMARK(BM_DropFitPlaceCount);

} // namespace
} // namespace snugbox
