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
    scriptPiece(2);
    tick(1);
    EXPECT_EQ(display.log(), "pump, slot 2/2, refresh");

    // Carrying one of five, the due piece fills its slot around the carried picture.
    for (int slot = 3; slot <= 5; ++slot) {
        arrive(1);
    }
    take(3);
    EXPECT_FALSE(getIsLastPiece(state));
    tick(11);
    scriptPiece(1);
    tick(1);
    EXPECT_EQ(display.log(), "erase, pump, redraw, erase, slot 3/2, redraw, refresh");

    // Now the due piece ends the game, drawing nothing, the carried one taken off first.
    tick(11);
    EXPECT_TRUE(getIsLastPiece(state));
    const int draws = random.draws();
    tick(1);
    EXPECT_EQ(display.log(), "erase, pump, redraw, timer off, erase, message 21, refresh, sleep 300");
    EXPECT_EQ(random.draws(), draws);
    EXPECT_FALSE(state.gamePlaying || state.pieceDragOn || state.grabSquare != 0);
}

TEST_F(DispenserPlay, TakingTurningSwappingAndPuttingBackMovePiecesBetweenSlotsAndMouse)
{
    startGame(1);
    arrive(3, 1, 1);   // the bar of three, standing after one turn
    const std::int32_t single = state.dispensers[1].pieceIndex;
    const std::int32_t bar = state.dispensers[2].pieceIndex;
    take(2);
    EXPECT_EQ(display.log(), "slot 2/1, show 675,160");
    EXPECT_EQ(std::tuple(state.dispensers[2].pieceIndex, state.grabSquare, state.grabOffsetX, state.grabOffsetY),
              std::tuple(0, 3, 22, 112)) << "held by its lowest square, the last of the bar";

    press(kRightButton, 400, 300);
    EXPECT_EQ(display.log(), "erase, show 400,300, refresh");
    EXPECT_EQ(std::tuple(state.grabOffsetX, state.grabOffsetY), std::tuple(22, 22))
        << "lying again, still held by the same square";

    press(kMiddleButton, slotX(1), slotY(1));
    EXPECT_EQ(display.log(), "erase, slot 1/1, show 675,60");
    EXPECT_EQ(std::tuple(state.carriedPiece, state.dispensers[1].pieceIndex), std::tuple(single, bar));

    press(kLeftButton, slotX(2), slotY(2));
    EXPECT_EQ(display.log(), "erase, slot 2/1, refresh");
    EXPECT_EQ(std::tuple(state.pieceDragOn, state.carriedPiece, state.dispensers[2].pieceIndex),
              std::tuple(false, 0, single));
    take(1);
    EXPECT_EQ(state.piecePool[state.carriedPiece].width, 3) << "a piece back in a slot stays turned";
}

TEST_F(DispenserPlay, CallsThatFindNothingToDoChangeNothing)
{
    rules.enablePause(false);   // the window's first paint, before any game
    press(kLeftButton, slotX(1), slotY(1));
    rules.dispenserClicked(1);
    rules.timerPieces_Timer();
    rules.insertAPiece();
    rules.gameOver();
    EXPECT_EQ(display.log(), "") << "no game yet";

    startGame();
    arrive(1);
    EXPECT_FALSE(rules.checkPieceDrop(cellX(5), cellY(5))) << "nothing carried";
    rules.rotateMousePieceRight(400, 300);
    press(kRightButton, slotX(4), slotY(4));
    take(1);
    press(kLeftButton, state.dispensers[2].x, slotY(2));   // on the edge of slot 2, which is outside
    for (std::int16_t slot : {0, -1, 6, 21, -32768}) {
        EXPECT_FALSE(rules.dispenserClicked(slot)) << slot;
    }
    EXPECT_EQ(display.log(), "");

    rules.enablePause(true);
    EXPECT_EQ(display.log(), "timer off, label on, background, refresh");
    press(kLeftButton, slotX(2), slotY(2));
    tick(12);
    rules.insertAPiece();
    rules.startArcadeLevel();
    EXPECT_EQ(display.log(), "") << "nothing moves while paused";
    rules.enablePause(false);
    EXPECT_EQ(display.log(), "timer on, label off, play area, board, menu buttons, slot 1/2, slot 2/2, slot 3/2, "
                             "slot 4/2, slot 5/2, side picture, level, score, refresh");
    EXPECT_EQ(std::tuple(state.pieceDragOn, state.pumpTicks, state.dispensers[2].pieceIndex, state.currentLevel),
              std::tuple(true, 0, 2, 1));
}

TEST_F(DispenserPlay, ADropThatEmptiesEverySlotBringsAPieceAtOnceAndRestartsTheTimer)
{
    startGame();
    arrive(1);
    take(1);
    // A pointer exactly on a cell's left border rounds halves to even: 45 and 90 pixels in
    // are both column 2.
    press(kLeftButton, kBoardX + 45, cellY(9));
    EXPECT_EQ(display.log(), "erase, board, refresh") << "a piece is left in slot 2";
    EXPECT_EQ(std::tuple(state.boardCells(9, 2), state.piecePoolUsed[1]), std::tuple(colourBase + 1, false));

    tick(5);
    take(2);
    scriptPiece(2);
    press(kLeftButton, kBoardX + 90, cellY(5));
    EXPECT_EQ(display.log(), "erase, board, refresh, timer off, slot 1/2, refresh, timer on");
    EXPECT_EQ(std::tuple(state.pumpTicks, state.boardCells(5, 2), state.dispensers[1].pieceIndex),
              std::tuple(0, colourBase + 1, 1)) << "a freed pool entry is used again";
}

} // namespace
} // namespace snugbox
