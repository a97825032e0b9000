#include <gtest/gtest.h>

#include "rules/game_rules.h"
#include "tests/rules/rules_fixture.h"

namespace snugbox {
namespace {

using DispenserPlay = testing::RulesTest;

TEST_F(DispenserPlay, APieceComesEveryTwelveTicksUntilOneIsDueWithEverySlotFull)
{
    startGame();
    tick(11);
    EXPECT_EQ(liveSlots(), 1);
    display.clear();
    scriptPiece(2);
    tick(1);
    EXPECT_EQ(display.log(), "pump, slot 2/2, refresh");
    EXPECT_EQ(state.pumpTicks, 0);

    // Carrying one of five, the due piece fills its slot around the carried picture.
    fillEverySlot();
    take(3);
    EXPECT_FALSE(getIsLastPiece(state));
    tick(11);
    display.clear();
    scriptPiece(1);
    tick(1);
    EXPECT_EQ(display.log(), "erase, pump, redraw, erase, slot 3/2, redraw, refresh");

    // Now the due piece ends the game, drawing nothing, the carried one taken off first.
    tick(11);
    EXPECT_TRUE(getIsLastPiece(state));
    display.clear();
    const int draws = random.draws();
    tick(1);
    EXPECT_EQ(display.log(), "erase, pump, redraw, timer off, erase, message 21, refresh, sleep 300");
    EXPECT_EQ(random.draws(), draws);
    EXPECT_FALSE(state.gamePlaying || state.pieceDragOn);
    EXPECT_EQ(state.grabSquare, 0);
}

TEST_F(DispenserPlay, TakingSwappingAndPuttingBackMovePiecesBetweenSlotsAndMouse)
{
    startGame(1);
    arrive(4);
    const std::int32_t single = state.dispensers[1].pieceIndex;
    const std::int32_t block = state.dispensers[2].pieceIndex;
    display.clear();
    take(2);
    EXPECT_EQ(display.log(), "slot 2/1, show 675,160");
    EXPECT_EQ(state.dispensers[2].pieceIndex, 0);
    EXPECT_EQ(state.grabSquare, 3) << "the 2 x 2 block is held by its lower left square";
    EXPECT_EQ(std::pair(state.grabOffsetX, state.grabOffsetY), (std::pair<std::int16_t, std::int16_t>(22, 68)));

    display.clear();
    rules.pressInGame(kMiddleButton, slotX(1), slotY(1));
    EXPECT_EQ(display.log(), "erase, slot 1/1, show 675,60");
    EXPECT_EQ(state.carriedPiece, single);
    EXPECT_EQ(state.dispensers[1].pieceIndex, block);

    display.clear();
    rules.pressInGame(kLeftButton, slotX(2), slotY(2));
    EXPECT_EQ(display.log(), "erase, slot 2/1, refresh");
    EXPECT_FALSE(state.pieceDragOn);
    EXPECT_EQ(state.carriedPiece, 0);
    EXPECT_EQ(state.dispensers[2].pieceIndex, single);
    arrive(2);
    EXPECT_NE(state.dispensers[3].pieceIndex, 0) << "the next arrival takes the first empty slot";
}

TEST_F(DispenserPlay, ATurnKeepsTheHeldSquareAndAPutBackPieceStaysTurned)
{
    scriptPiece(3, 1, 1);   // the bar of three, standing after one turn
    rules.startArcadeGame();
    take(1);
    EXPECT_EQ(state.grabSquare, 3) << "the bar's last square is now at the bottom";
    EXPECT_EQ(state.grabOffsetY, 112);

    display.clear();
    rules.pressInGame(kRightButton, 400, 300);
    EXPECT_EQ(display.log(), "erase, show 400,300, refresh");
    EXPECT_EQ(state.grabSquare, 3);
    EXPECT_EQ(std::pair(state.grabOffsetX, state.grabOffsetY), (std::pair<std::int16_t, std::int16_t>(22, 22)));
    EXPECT_EQ(carried().width, 3);

    rules.pressInGame(kLeftButton, slotX(1), slotY(1));
    take(1);
    EXPECT_EQ(carried().width, 3) << "still lying";
}

TEST_F(DispenserPlay, CallsThatFindNothingToDoChangeNothing)
{
    rules.enablePause(false);   // the window's first paint, before any game
    display.clear();
    rules.dispenserClicked(1);
    rules.timerPieces_Timer();
    rules.insertAPiece();
    rules.gameOver();
    rules.pressInGame(kLeftButton, slotX(1), slotY(1));
    EXPECT_TRUE(display.rawCalls().empty()) << "no game yet: " << display.log();

    startGame();
    arrive(1);
    EXPECT_FALSE(rules.checkPieceDrop(cellX(5), cellY(5))) << "nothing carried";
    rules.rotateMousePieceRight(400, 300);
    rules.pressInGame(kRightButton, slotX(4), slotY(4));
    take(1);
    display.clear();
    for (std::int16_t slot : {0, -1, 6, 20, 21, 32767, -32768}) {
        EXPECT_FALSE(rules.dispenserClicked(slot)) << slot;
    }
    rules.pressInGame(kLeftButton, 10, 10);
    EXPECT_TRUE(display.rawCalls().empty()) << display.log();
    EXPECT_TRUE(state.pieceDragOn);
    EXPECT_EQ(liveSlots(), 1);
}

TEST_F(DispenserPlay, ADropThatEmptiesEverySlotBringsAPieceAtOnceAndRestartsTheTimer)
{
    startGame();
    arrive(1);
    take(1);
    display.clear();
    dropAt(1, 9);
    EXPECT_EQ(display.log(), "erase, board, refresh") << "a piece is left in slot 2";
    EXPECT_FALSE(state.piecePoolUsed[1]);

    tick(5);
    take(2);
    display.clear();
    scriptPiece(2);
    dropAt(5, 5);
    EXPECT_EQ(display.log(), "erase, board, refresh, timer off, slot 1/2, refresh, timer on");
    EXPECT_EQ(state.pumpTicks, 0);
    EXPECT_EQ(state.boardCells(5, 5), colourBase + 1);
    EXPECT_EQ(state.dispensers[1].pieceIndex, 1) << "a freed pool entry is used again";
}

TEST_F(DispenserPlay, APieceThatDoesNotFitStaysOnTheMouse)
{
    startGame(2);
    arrive(1);
    take(1);
    occupy(6, 4, 6, 4);
    const BoardGrid board = state.boardCells;
    display.clear();
    dropAt(5, 4);   // the domino's right square would land on the taken cell
    dropAt(9, 4);   // its right square would fall off the board
    EXPECT_TRUE(display.rawCalls().empty()) << display.log();
    EXPECT_TRUE(state.pieceDragOn);
    EXPECT_EQ(state.boardCells, board);
}

TEST_F(DispenserPlay, TheDropLandsTheHeldSquareOnTheCellUnderThePointer)
{
    startGame();
    arrive(1);
    arrive(1);
    // Pointers exactly on a cell's left border round to the cell on their left, except
    // on the first border: 45 pixels in is column 2, 90 is column 2 as well, 135 column 4.
    const int cases[][3] = {{45, 7, 2}, {90, 8, 2}, {135, 9, 4}};   // offset, row, column
    for (const auto& [offset, row, col] : cases) {
        take(1);
        ASSERT_TRUE(rules.checkPieceDrop(static_cast<std::int16_t>(kBoardX + offset), cellY(row)));
        EXPECT_EQ(state.boardCells(row, col), colourBase + 1) << offset;
        arrive(1);
    }
}

} // namespace
} // namespace snugbox
