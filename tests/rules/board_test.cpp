#include <gtest/gtest.h>

#include "rules/board.h"
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

    int markedCells() const
    {
        int marked = 0;
        for (int row = 1; row <= 9; ++row) {
            for (int col = 1; col <= 9; ++col) {
                marked += state.boardMarks(row, col);
            }
        }
        return marked;
    }
};

TEST_F(BoardRules, FirstLevelIsACheckerboardOfTilesOneAndTwo)
{
    EXPECT_EQ(state.boardCells(1, 1), 1);
    EXPECT_EQ(state.boardCells(1, 2), 2);
    EXPECT_EQ(state.boardCells(2, 1), 2);
    EXPECT_EQ(state.boardCells(2, 2), 1);
    EXPECT_EQ(state.boardCells(9, 9), 1);
    EXPECT_EQ(state.boardBase, state.boardCells);
    EXPECT_EQ(countCompleteLines(state), 0);
}

TEST_F(BoardRules, LaterLevelsMoveTheTilesOnByTwoAndKeepTheSquares)
{
    occupy({{1, 1}, {2, 1}});
    advanceBoardTiles(state);
    EXPECT_EQ(state.boardCells(2, 2), 3);
    EXPECT_EQ(state.boardCells(2, 1), 4);
    EXPECT_EQ(state.boardCells(1, 1), colourBase + 1) << "a square stays";
    EXPECT_EQ(state.boardBase(1, 1), 3) << "its background moves on beneath it";
    EXPECT_EQ(state.boardBase(1, 2), 4);

    for (int level = 3; level <= 6; ++level) {
        advanceBoardTiles(state);
    }
    EXPECT_EQ(state.boardCells(2, 2), 1) << "level 6 shows tiles 1 and 2 again";
    EXPECT_EQ(state.boardCells(2, 1), 2);
    EXPECT_EQ(state.boardBase(1, 1), 1);

    state.boardCells(5, 5) = state.boardBase(5, 5) = 9;
    state.boardCells(5, 6) = state.boardBase(5, 6) = 10;
    advanceBoardTiles(state);
    EXPECT_EQ(state.boardCells(5, 5), 1);
    EXPECT_EQ(state.boardCells(5, 6), 2);
}

TEST_F(BoardRules, APieceFitsOnlyWhereEverySquareLandsOnAFreeCell)
{
    const PieceShape bar = shapeOf({{0, 0}, {1, 0}, {2, 0}});   // held by square 1 here
    EXPECT_TRUE(pieceFits(state, 7, 9, 1, bar));
    EXPECT_FALSE(pieceFits(state, 8, 9, 1, bar)) << "its right end falls off";
    EXPECT_FALSE(pieceFits(state, 0, 1, 1, bar));
    EXPECT_TRUE(pieceFits(state, 3, 1, 3, bar)) << "held by its right end";
    EXPECT_FALSE(pieceFits(state, 2, 1, 3, bar));
    EXPECT_FALSE(pieceFits(state, 5, 10, 1, bar));
    EXPECT_FALSE(pieceFits(state, 5, 0, 1, bar));

    occupy({{6, 4}});
    EXPECT_FALSE(pieceFits(state, 4, 4, 1, bar)) << "one square on a taken cell is enough";
    EXPECT_TRUE(pieceFits(state, 4, 5, 1, bar));

    state.boardCells(5, 4) = 7;
    state.boardCells(5, 5) = 10;
    EXPECT_TRUE(pieceFits(state, 4, 5, 1, bar)) << "every empty tile is free";

    EXPECT_FALSE(pieceFits(state, 4, 5, 4, bar)) << "no square 4 to hold it by";
    EXPECT_FALSE(pieceFits(state, 4, 5, 0, bar));
    EXPECT_TRUE(pieceFits(state, -100, -100, 1, PieceShape{})) << "nothing to land";
}

TEST_F(BoardRules, PlacingWritesEachSquaresColourAroundTheHeldSquare)
{
    PieceShape corner = shapeOf({{0, 0}, {0, 1}, {1, 1}}, 3);
    corner.colours[2] = 5;
    placePiece(state, 5, 5, 2, corner);   // held square (0, 1) on row 5, column 5
    EXPECT_EQ(state.boardCells(4, 5), 13);
    EXPECT_EQ(state.boardCells(5, 5), 15);
    EXPECT_EQ(state.boardCells(5, 6), 13);
    EXPECT_EQ(state.boardCells(4, 6), 1) << "untouched";

    placePiece(state, 9, 1, 1, corner);   // its third square hangs over the right edge
    EXPECT_EQ(state.boardCells(1, 9), 13);
    EXPECT_EQ(state.boardCells(2, 9), 15);
}

TEST_F(BoardRules, CrossingRowAndColumnScoreTwoLinesAndClearSeventeenCells)
{
    occupyRow(5, 1, 9);
    occupyColumn(5, 1, 9);
    EXPECT_EQ(countCompleteLines(state), 2);
    EXPECT_EQ(markedCells(), 17);
    EXPECT_EQ(pointsForLines(2), 30);

    clearMarkedCells(state);
    EXPECT_EQ(state.boardCells(5, 5), 1);
    EXPECT_EQ(state.boardCells(5, 4), 2);
    EXPECT_EQ(state.boardCells, state.boardBase);
}

TEST_F(BoardRules, TwoRowsAndAColumnAreThreeLinesForSixty)
{
    occupyRow(1, 1, 9);
    occupyRow(9, 1, 9);
    occupyColumn(3, 1, 9);
    occupyRow(4, 1, 8);   // not full
    EXPECT_EQ(countCompleteLines(state), 3);
    EXPECT_EQ(pointsForLines(3), 60);
    clearMarkedCells(state);
    EXPECT_EQ(state.boardCells(4, 1), colourBase + 1) << "an unfinished row stays";
    EXPECT_EQ(state.boardCells(4, 3), state.boardBase(4, 3));

    EXPECT_EQ(countCompleteLines(state), 0) << "marks are rebuilt for every count";
    EXPECT_EQ(markedCells(), 0);
}

TEST_F(BoardRules, PointsGrowWithTheSquareOfTheLines)
{
    const int expected[] = {0, 10, 30, 60, 100, 150};
    for (int lines = 0; lines <= 5; ++lines) {
        EXPECT_EQ(pointsForLines(static_cast<std::int16_t>(lines)), expected[lines]);
    }
    for (int row = 1; row <= 9; ++row) {
        occupyRow(row, 1, 9);
    }
    EXPECT_EQ(countCompleteLines(state), 18);
    EXPECT_EQ(pointsForLines(18), 1710);
}

TEST_F(BoardRules, ACellClearedOnLevelTwoTakesItsLevelTwoTile)
{
    occupyRow(3, 1, 9);
    advanceBoardTiles(state);
    countCompleteLines(state);
    clearMarkedCells(state);
    EXPECT_EQ(state.boardCells(3, 1), 3);
    EXPECT_EQ(state.boardCells(3, 2), 4);
}

} // namespace
} // namespace snugbox
