#include <gtest/gtest.h>

#include "rules/best_scores.h"
#include "rules/board.h"
#include "rules/panel.h"
#include "tests/rules/rules_fixture.h"

namespace snugbox {
namespace {

using testing::shapeOf;

class BoardRules : public testing::RulesTest {
protected:
    BoardRules()
    {
        state.boardRows = state.boardCols = 9;
        initBoardTiles(state);
    }
};

TEST_F(BoardRules, TilesStartAsACheckerboardAndMoveOnByTwoEachLevelUnderTheSquares)
{
    EXPECT_EQ(std::tuple(state.boardCells(1, 1), state.boardCells(1, 2), state.boardCells(9, 8)), std::tuple(1, 2, 2));
    occupy(1, 1, 1, 1);
    advanceBoardTiles(state);
    EXPECT_EQ(std::tuple(state.boardCells(2, 2), state.boardCells(2, 1)), std::tuple(3, 4));
    EXPECT_EQ(std::tuple(state.boardCells(1, 1), state.boardBase(1, 1)), std::tuple(colourBase + 1, 3))
        << "a square stays and its tile moves on beneath it";
    for (int level = 3; level <= 6; ++level) {
        advanceBoardTiles(state);
    }
    EXPECT_EQ(std::tuple(state.boardCells(2, 2), state.boardCells(2, 1), state.boardBase(1, 1)), std::tuple(1, 2, 1))
        << "level 6 shows tiles 1 and 2 again";
}

TEST_F(BoardRules, APieceFitsOnlyWhereEverySquareLandsOnAFreeCellAndIsPlacedAroundItsHeldSquare)
{
    const PieceShape bar = shapeOf({{0, 0}, {1, 0}, {2, 0}});
    // col, row, held square, fits
    const int cases[][4] = {{7, 9, 1, 1}, {8, 9, 1, 0}, {0, 1, 1, 0}, {3, 1, 3, 1}, {2, 1, 3, 0},
                            {5, 10, 1, 0}, {5, 0, 1, 0}, {4, 5, 4, 0}, {4, 5, 0, 0}};
    for (const auto& [col, row, grab, fits] : cases) {
        EXPECT_EQ(pieceFits(state, col, row, grab, bar), fits != 0) << col << ", " << row << " by " << grab;
    }
    occupy(6, 4, 6, 4);
    EXPECT_FALSE(pieceFits(state, 4, 4, 1, bar)) << "one square on a taken cell is enough";
    state.boardCells(5, 4) = 10;
    EXPECT_TRUE(pieceFits(state, 4, 5, 1, bar)) << "every tile is free";
    state.boardCells(5, 6) = 0;
    EXPECT_FALSE(pieceFits(state, 4, 5, 1, bar)) << "a value that is no tile counts as taken";

    PieceShape corner = shapeOf({{0, 0}, {0, 1}, {1, 1}}, 3);
    corner.colours[2] = 5;
    placePiece(state, 9, 2, 2, corner);   // held square (0, 1) on row 2, column 9; one square off the board
    EXPECT_EQ(std::tuple(state.boardCells(1, 9), state.boardCells(2, 9), state.boardCells(2, 8)), std::tuple(13, 15, 1));
}

TEST_F(BoardRules, CrossingLinesScoreThirtyAndClearSeventeenCellsAndTwoRowsAndAColumnSixty)
{
    occupy(1, 5, 9, 5);
    occupy(5, 1, 5, 9);
    EXPECT_EQ(std::tuple(countCompleteLines(state), pointsForLines(2)), std::tuple(2, 30));
    clearMarkedCells(state);
    EXPECT_EQ(state.boardCells, state.boardBase) << "17 cells cleared";

    occupy(1, 1, 9, 1);
    occupy(1, 9, 9, 9);
    occupy(3, 1, 3, 9);
    occupy(1, 4, 8, 4);   // not full
    EXPECT_EQ(std::tuple(countCompleteLines(state), pointsForLines(3)), std::tuple(3, 60));
    clearMarkedCells(state);
    EXPECT_EQ(std::tuple(state.boardCells(4, 1), state.boardCells(4, 3)),
              std::tuple(colourBase + 1, state.boardBase(4, 3))) << "an unfinished row stays";
    occupy(1, 1, 1, 1);   // on the first row, cleared before
    EXPECT_EQ(countCompleteLines(state), 0) << "marks are made afresh for every count";
    clearMarkedCells(state);
    EXPECT_EQ(state.boardCells(1, 1), colourBase + 1);
}

TEST(HitTest, PanelsExcludeTheirEdges)
{
    const Panel button = panelOn(nullptr, 25, 181, 122, 30);
    EXPECT_TRUE(hitTest(button, 26, 182) && hitTest(button, 146, 210));
    EXPECT_FALSE(hitTest(button, 25, 190) || hitTest(button, 147, 190) || hitTest(button, 30, 181) ||
                 hitTest(button, 30, 211) || hitTest(Panel{}, 0, 0));
}

TEST(BestScores, RankGoesBelowEqualScoresAndInsertMovesTheRestDown)
{
    GameState state;
    BestScoreTable& table = state.bestScores[2];
    table.scores[1] = 900;
    table.scores[2] = table.scores[3] = 800;
    table.scores[4] = 500;
    table.names[4] = "fourth";
    table.names[7] = "seventh";
    const std::pair<int, int> ranks[] = {{800, 4}, {900, 2}, {901, 1}, {0, 9}};
    for (const auto& [score, place] : ranks) {
        EXPECT_EQ(rankOfScore(state, 2, score), place) << score;
    }
    insertBestScore(state, 2, 600, "new");
    const std::int32_t scores[] = {900, 800, 800, 600, 500, 0, 0, 0};
    const char* names[] = {"", "", "", "new", "fourth", "", "", "seventh"};
    for (int place = 1; place <= 8; ++place) {
        EXPECT_EQ(std::tuple(table.scores[place], table.names[place]), std::tuple(scores[place - 1], names[place - 1]));
    }
    EXPECT_EQ(state.bestScores[1], BestScoreTable{}) << "mode 1 keeps a table of its own";
}

TEST(StoredMode, GamesArePlayedInModeTwoAndOnlyModeOneKeepsItsLevel)
{
    // stored mode, stored level, level after
    const int cases[][3] = {{0, 0, 1}, {2, 4, 1}, {1, 4, 4}, {1, 10, 10}, {7, 4, 1}, {1, 37, 1}, {1, 0, 1}};
    for (const auto& [mode, level, settledLevel] : cases) {
        GameState state;
        state.gameMode = static_cast<std::int16_t>(mode);
        state.currentLevel = static_cast<std::int16_t>(level);
        EXPECT_TRUE(settleStoredGameMode(state));
        EXPECT_EQ(std::tuple(state.gameMode, state.currentLevel), std::tuple(2, settledLevel)) << mode << " " << level;
    }
}

} // namespace
} // namespace snugbox
