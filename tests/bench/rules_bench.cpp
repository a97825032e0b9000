// What the rules cost: whole games played by the test bot (its display records calls but
// paints nothing, so this is the rules' own cost plus the bot's), and one drop's board work.
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
    if (loadAllPieces(state, std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT")) {
        std::abort();
    }
    return state;
}

// From the new-game press to game over, the bot choosing every move.
void BM_WholeBotGames(benchmark::State& run, bool checkingEveryEvent)
{
    testing::GameBot bot(preparedGame(), 20240601);
    bot.setChecking(checkingEveryEvent);
    for (auto _ : run) {
        bot.playGame();
    }
    run.SetItemsProcessed(run.iterations());
    run.counters["events/game"] = static_cast<double>(bot.totals().events) / bot.totals().games;
}
BENCHMARK_CAPTURE(BM_WholeBotGames, Playing, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeBotGames, CheckingEveryEvent, true)->Unit(benchmark::kMillisecond);

// The fit test, writing the piece and looking for full lines. A bar of four completes row 5
// and column 5 at once; its cells are emptied again (four byte writes, counted in) so that
// every drop meets the same board.
void BM_DropFitPlaceCount(benchmark::State& run)
{
    GameState state = preparedGame();
    state.boardRows = state.boardCols = 9;
    initBoardTiles(state);
    for (int i = 1; i <= 9; ++i) {
        state.boardCells(5, i) = i < 5 || i > 8 ? colourBase + 1 : state.boardCells(5, i);
        state.boardCells(i, 5) = i != 5 ? colourBase + 2 : state.boardCells(i, 5);
    }
    PieceShape bar;   // lying flat
    bar.width = 4;
    bar.height = 1;
    for (std::int16_t k = 0; k < 4; ++k) {
        bar.squares.push_back(Square{k, 0});
        bar.colours.push_back(3);
    }
    for (auto _ : run) {
        benchmark::DoNotOptimize(pieceFits(state, 5, 5, 1, bar));
        placePiece(state, 5, 5, 1, bar);
        benchmark::DoNotOptimize(countCompleteLines(state));
        for (int col = 5; col <= 8; ++col) {
            state.boardCells(5, col) = state.boardBase(5, col);
        }
    }
}
BENCHMARK(BM_DropFitPlaceCount);

} // namespace
} // namespace snugbox
