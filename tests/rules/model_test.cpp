#include <gtest/gtest.h>

#include "rules/game_state.h"
#include "rules/panel.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

TEST(HitTest, EdgesAreOutsideAndInnerPixelsInside)
{
    Panel button;
    button.x = 25;
    button.y = 181;
    button.width = 122;
    button.height = 30;
    EXPECT_FALSE(hitTest(button, 25, 190));
    EXPECT_TRUE(hitTest(button, 26, 190));
    EXPECT_TRUE(hitTest(button, 146, 190));
    EXPECT_FALSE(hitTest(button, 147, 190));
    EXPECT_FALSE(hitTest(button, 30, 181));
    EXPECT_TRUE(hitTest(button, 30, 182));
    EXPECT_TRUE(hitTest(button, 30, 210));
    EXPECT_FALSE(hitTest(button, 30, 211));
}

TEST(HitTest, AnAllZeroPanelIsNeverHit)
{
    const Panel empty;
    for (float x : {-1.0f, 0.0f, 0.5f, 1.0f}) {
        for (float y : {-1.0f, 0.0f, 0.5f, 1.0f}) {
            EXPECT_FALSE(hitTest(empty, x, y)) << x << ", " << y;
        }
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(nearest(202.5), 202);
    EXPECT_EQ(nearest(57.5), 58);
    EXPECT_EQ(nearest(22.5), 22);
    EXPECT_EQ(nearest(120.5), 120);
    EXPECT_EQ(nearest(2.5), 2);
    EXPECT_EQ(nearest(3.5), 4);
    EXPECT_EQ(nearest(-2.5), -2);
    EXPECT_EQ(nearest(-3.5), -4);
    EXPECT_EQ(nearest(541.1666), 541);
    EXPECT_EQ(nearest(1.205), 1);
    // 45 x 5/6 is a hair above 37.5 in doubles, so it goes up.
    EXPECT_EQ(nearest(45 * (5.0 / 6.0)), 38);
}

TEST(PiecePool, GrowsWhenFullAndReusesTheLowestFreedEntry)
{
    GameState state;
    EXPECT_EQ(allocPoolPiece(state), 1);
    state.piecePoolUsed[1] = true;
    EXPECT_EQ(allocPoolPiece(state), 2);
    state.piecePoolUsed[2] = true;
    EXPECT_EQ(allocPoolPiece(state), 3);
    state.piecePoolUsed[3] = true;
    EXPECT_EQ(piecePoolCount(state), 3);

    state.piecePool[2].squareCount = 4;
    state.piecePoolUsed[2] = false;
    EXPECT_EQ(allocPoolPiece(state), 2);
    EXPECT_EQ(piecePoolCount(state), 3);
    EXPECT_EQ(state.piecePool[2].squareCount, 4) << "an allocation does not clear the entry";

    state.piecePoolUsed[2] = true;
    EXPECT_EQ(allocPoolPiece(state), 4);
    EXPECT_EQ(piecePoolCount(state), 4);
    EXPECT_FALSE(state.piecePoolUsed[4]) << "the caller marks the entry used";
}

TEST(Board, IsOnBoardKeepsToTheNineByNineSquare)
{
    GameState state;
    state.boardRows = state.boardCols = 9;
    EXPECT_FALSE(isOnBoard(state, 0, 5));
    EXPECT_FALSE(isOnBoard(state, 10, 5));
    EXPECT_FALSE(isOnBoard(state, 5, 0));
    EXPECT_FALSE(isOnBoard(state, 5, 10));
    EXPECT_FALSE(isOnBoard(state, -1, -1));
    EXPECT_TRUE(isOnBoard(state, 1, 1));
    EXPECT_TRUE(isOnBoard(state, 9, 9));
}

TEST(Board, CellKindSeparatesEmptyTilesFromSquares)
{
    GameState state;
    initCellKinds(state);
    for (int value = 1; value <= 10; ++value) {
        EXPECT_EQ(state.cellKind[value], 0) << value;
        EXPECT_TRUE(isCellFree(state, value)) << value;
    }
    for (int value = 11; value <= 15; ++value) {
        EXPECT_EQ(state.cellKind[value], value - 9) << value;
        EXPECT_FALSE(isCellFree(state, value)) << value;
    }
    for (int value = 16; value <= 20; ++value) {
        EXPECT_EQ(state.cellKind[value], 0) << value;
    }
    EXPECT_FALSE(isCellFree(state, 0));
    EXPECT_FALSE(isCellFree(state, 21));
}

TEST(Dispenser, FreeSlotSearchAndCountOnlyLookAtSlotsInPlay)
{
    GameState state;
    state.dispenserCount = 5;
    EXPECT_EQ(findFreeDispenser(state), 1);
    EXPECT_EQ(countFreeDispensers(state), 5);

    state.dispensers[1].pieceIndex = 3;
    state.dispensers[2].pieceIndex = 1;
    state.dispensers[4].pieceIndex = 2;
    EXPECT_EQ(findFreeDispenser(state), 3);
    EXPECT_EQ(countFreeDispensers(state), 2);

    state.dispensers[3].pieceIndex = 4;
    state.dispensers[5].pieceIndex = 5;
    EXPECT_EQ(findFreeDispenser(state), -1);
    EXPECT_EQ(countFreeDispensers(state), 0);
    EXPECT_EQ(state.dispensers[6].pieceIndex, 0) << "slot 6 is empty but not in play";

    for (std::int16_t count : {0, -1, -32768}) {
        state.dispenserCount = count;
        EXPECT_EQ(findFreeDispenser(state), -1) << count;
        EXPECT_EQ(countFreeDispensers(state), 0) << count;
    }
    state.dispenserCount = 30000;
    EXPECT_EQ(countFreeDispensers(state), 15) << "never beyond the 20 slot records";
}

TEST(LevelTable, HoldsTheTenLevels)
{
    GameState state;
    fillLevelTable(state);
    const int periods[] = {3000, 2600, 2500, 2400, 2200, 2300, 2200, 2000, 1800, 1700};
    for (int level = 1; level <= 10; ++level) {
        EXPECT_EQ(state.levels[level].boardSize, 9);
        EXPECT_EQ(state.levels[level].periodMs, periods[level - 1]);
        EXPECT_EQ(state.levels[level].slotCount, 5);
        const int target = level == 7 ? 30 : level == 10 ? 2000 : 400;
        EXPECT_EQ(state.levels[level].targetScore, target) << level;
    }
}

} // namespace
} // namespace snugbox
