#include <gtest/gtest.h>

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

TEST_F(BoardRules, TilesStartAsACheckerboardAndMoveOnByTwoEachLevelUnderTheSquares)
{
    EXPECT_EQ(state.boardCells(1, 1), 1);
    EXPECT_EQ(state.boardCells(1, 2), 2);
    EXPECT_EQ(state.boardCells(9, 8), 2);
    EXPECT_EQ(state.boardBase, state.boardCells);

    occupy(1, 1, 1, 1);
    advanceBoardTiles(state);
    EXPECT_EQ(state.boardCells(2, 2), 3);
    EXPECT_EQ(state.boardCells(2, 1), 4);
    EXPECT_EQ(state.boardCells(1, 1), colourBase + 1) << "a square stays";
    EXPECT_EQ(state.boardBase(1, 1), 3) << "its background moves on beneath it";

    for (int level = 3; level <= 6; ++level) {
        advanceBoardTiles(state);
    }
    EXPECT_EQ(state.boardCells(2, 2), 1) << "level 6 shows tiles 1 and 2 again";
    EXPECT_EQ(state.boardCells(2, 1), 2);
    EXPECT_EQ(state.boardBase(1, 1), 1);
}

TEST_F(BoardRules, ACellClearedOnALaterLevelTakesThatLevelsTile)
{
    occupy(1, 3, 9, 3);
    advanceBoardTiles(state);
    countCompleteLines(state);
    clearMarkedCells(state);
    EXPECT_EQ(state.boardCells(3, 1), 3);
    EXPECT_EQ(state.boardCells(3, 2), 4);
}

TEST_F(BoardRules, APieceFitsOnlyWhereEverySquareLandsOnAFreeCell)
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
    state.boardCells(5, 4) = 7;
    state.boardCells(5, 5) = 10;
    EXPECT_TRUE(pieceFits(state, 4, 5, 1, bar)) << "every empty tile is free";
    state.boardCells(5, 6) = 0;
    EXPECT_FALSE(pieceFits(state, 4, 5, 1, bar)) << "a value that is no tile counts as taken";
    EXPECT_TRUE(pieceFits(state, -100, -100, 1, PieceShape{})) << "nothing to land";
}

TEST_F(BoardRules, PlacingWritesEachSquaresColourAroundTheHeldSquareAndNothingOffTheBoard)
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

TEST_F(BoardRules, CrossingRowAndColumnAreTwoLinesForThirtyAndClearSeventeenCells)
{
    occupy(1, 5, 9, 5);
    occupy(5, 1, 5, 9);
    EXPECT_EQ(countCompleteLines(state), 2);
    EXPECT_EQ(markedCells(), 17);
    EXPECT_EQ(pointsForLines(2), 30);
    clearMarkedCells(state);
    EXPECT_EQ(state.boardCells, state.boardBase);
}

TEST_F(BoardRules, TwoRowsAndAColumnAreThreeLinesForSixty)
{
    occupy(1, 1, 9, 1);
    occupy(1, 9, 9, 9);
    occupy(3, 1, 3, 9);
    occupy(1, 4, 8, 4);   // not full
    EXPECT_EQ(countCompleteLines(state), 3);
    EXPECT_EQ(pointsForLines(3), 60);
    clearMarkedCells(state);
    EXPECT_EQ(state.boardCells(4, 1), colourBase + 1) << "an unfinished row stays";
    EXPECT_EQ(state.boardCells(4, 3), state.boardBase(4, 3));
    EXPECT_EQ(countCompleteLines(state), 0) << "marks are made afresh for every count";
    EXPECT_EQ(markedCells(), 0);
}

TEST(HitTest, PanelsExcludeTheirEdges)
{
    Panel button;
    button.x = 25;
    button.y = 181;
    button.width = 122;
    button.height = 30;
    EXPECT_TRUE(hitTest(button, 26, 182) && hitTest(button, 146, 210));
    EXPECT_FALSE(hitTest(button, 25, 190) || hitTest(button, 147, 190) || hitTest(button, 30, 181) ||
                 hitTest(button, 30, 211) || hitTest(Panel{}, 0, 0));
}

TEST(Dispenser, OnlySlotsInPlayAreSearchedWhateverTheirCount)
{
    GameState state;
    state.dispensers[1].pieceIndex = 3;
    const std::tuple<int, int, int> cases[] = {{5, 2, 4}, {0, -1, 0}, {-32768, -1, 0}, {30000, 2, 19}};
    for (const auto& [count, firstFree, free] : cases) {
        state.dispenserCount = static_cast<std::int16_t>(count);
        EXPECT_EQ(findFreeDispenser(state), firstFree) << count;
        EXPECT_EQ(countFreeDispensers(state), free) << count;
    }
}

} // namespace
} // namespace snugbox
