#include <gtest/gtest.h>

#include "rules/game_rules.h"
#include "tests/rules/rules_fixture.h"

namespace snugbox {
namespace {

class DispenserPlay : public testing::RulesTest {
protected:
    void tickTimes(int ticks)
    {
        for (int tick = 0; tick < ticks; ++tick) {
            rules.timerPieces_Timer();
        }
    }
    void fillEverySlot()
    {
        startGame();
        for (int slot = 2; slot <= 5; ++slot) {
            arrive(1);
        }
        ASSERT_EQ(liveSlots(), 5);
        display.clear();
    }
};

TEST_F(DispenserPlay, TheFirstPieceArrivesWithTheGameAndThenOneEveryTwelveTicks)
{
    startGame();
    EXPECT_NE(state.dispensers[1].pieceIndex, 0);
    tickTimes(11);
    EXPECT_EQ(state.pumpTicks, 11);
    EXPECT_EQ(liveSlots(), 1);
    EXPECT_EQ(display.count(testing::RecordingDisplay::Op::Pump), 11);

    display.clear();
    scriptPiece(2);
    rules.timerPieces_Timer();
    EXPECT_EQ(display.log(), "pump, slot 2/2, refresh");
    EXPECT_EQ(state.pumpTicks, 0);
    EXPECT_EQ(liveSlots(), 2);
    EXPECT_EQ(display.timerInterval(), 250) << "twelve steps of 250 ms on level 1";
}

TEST_F(DispenserPlay, APieceDueWithEverySlotFullEndsTheGame)
{
    fillEverySlot();
    tickTimes(11);
    display.clear();
    const int draws = random.draws();
    rules.timerPieces_Timer();
    EXPECT_FALSE(state.gamePlaying);
    EXPECT_EQ(display.log(), "pump, timer off, message 21, refresh, sleep 300");
    EXPECT_EQ(random.draws(), draws);
    EXPECT_TRUE(getIsLastPiece(state));
}

TEST_F(DispenserPlay, CarryingOneOfFiveTheDuePieceFillsItsSlotAroundTheCarriedPicture)
{
    fillEverySlot();
    take(3);
    EXPECT_FALSE(getIsLastPiece(state));
    display.clear();
    rules.timerPieces_Timer();
    EXPECT_EQ(display.log(), "erase, pump, redraw, refresh");

    tickTimes(10);
    display.clear();
    scriptPiece(1);
    rules.timerPieces_Timer();
    EXPECT_TRUE(state.gamePlaying);
    EXPECT_EQ(display.log(), "erase, pump, redraw, erase, slot 3/2, redraw, refresh");
    EXPECT_EQ(liveSlots(), 5);
    EXPECT_TRUE(state.pieceDragOn);
}

TEST_F(DispenserPlay, TakingEmptiesTheSlotForTheNextArrival)
{
    startGame();
    arrive(4);
    display.clear();
    take(2);
    EXPECT_EQ(display.log(), "slot 2/1, show 675,160");
    EXPECT_EQ(state.dispensers[2].pieceIndex, 0);
    EXPECT_EQ(state.grabSquare, 3) << "the 2 x 2 block is held by its lower left square";
    EXPECT_EQ(state.grabOffsetX, 22);
    EXPECT_EQ(state.grabOffsetY, 68);

    arrive(2);
    EXPECT_NE(state.dispensers[2].pieceIndex, 0) << "slot 1 is full, so slot 2 gets it";
    EXPECT_EQ(state.dispensers[3].pieceIndex, 0);
}

TEST_F(DispenserPlay, SwappingPutsTheCarriedPieceInTheSlotAndTakesTheOther)
{
    startGame(1);
    arrive(4);
    const std::int32_t single = state.dispensers[1].pieceIndex;
    const std::int32_t block = state.dispensers[2].pieceIndex;
    take(1);
    display.clear();
    rules.pressInGame(kMiddleButton, slotX(2), slotY(2));
    EXPECT_EQ(display.log(), "erase, slot 2/1, show 675,160");
    EXPECT_EQ(state.carriedPiece, block);
    EXPECT_EQ(state.dispensers[2].pieceIndex, single);
    EXPECT_EQ(state.grabSquare, 3);
    EXPECT_TRUE(state.pieceDragOn);
}

TEST_F(DispenserPlay, APutBackPieceKeepsItsTurn)
{
    startGame(3);   // the bar of three, lying
    take(1);
    rules.pressInGame(kRightButton, 400, 300);
    display.clear();
    rules.pressInGame(kLeftButton, slotX(3), slotY(3));
    EXPECT_EQ(display.log(), "erase, slot 3/1, refresh");
    EXPECT_FALSE(state.pieceDragOn);
    EXPECT_EQ(state.carriedPiece, 0);

    take(3);
    EXPECT_EQ(carried().width, 1);
    EXPECT_EQ(carried().height, 3);
    EXPECT_EQ(state.grabOffsetY, 112) << "held by its bottom square";
}

TEST_F(DispenserPlay, TurningKeepsTheSameSquareUnderThePointer)
{
    scriptPiece(3, 1, 1);   // the bar of three, standing after one turn
    rules.startArcadeGame();
    take(1);
    EXPECT_EQ(state.grabSquare, 3) << "the bar's last square is now at the bottom";
    EXPECT_EQ(state.grabOffsetX, 22);
    EXPECT_EQ(state.grabOffsetY, 112);

    display.clear();
    rules.pressInGame(kRightButton, 400, 300);
    EXPECT_EQ(display.log(), "erase, show 400,300, refresh");
    EXPECT_EQ(state.grabSquare, 3);
    EXPECT_EQ(state.grabOffsetX, 22);
    EXPECT_EQ(state.grabOffsetY, 22) << "now the left end of a lying bar";
    EXPECT_EQ(carried().width, 3);
}

TEST_F(DispenserPlay, PressesThatFindNothingChangeNothing)
{
    rules.dispenserClicked(1);
    rules.timerPieces_Timer();
    rules.pressInGame(kLeftButton, slotX(1), slotY(1));
    EXPECT_TRUE(display.rawCalls().empty()) << "no game yet: " << display.log();

    startGame();
    rules.pressInGame(kRightButton, slotX(4), slotY(4));
    for (std::int16_t slot : {0, -1, 6, 20, 21, 32767, -32768}) {
        EXPECT_FALSE(rules.dispenserClicked(slot)) << slot;
    }
    EXPECT_FALSE(rules.checkPieceDrop(cellX(5), cellY(5))) << "nothing carried";
    rules.rotateMousePieceRight(400, 300);
    rules.pressInGame(kLeftButton, 10, 10);
    EXPECT_TRUE(display.rawCalls().empty()) << display.log();
    EXPECT_FALSE(state.pieceDragOn);
    EXPECT_EQ(liveSlots(), 1);
}

TEST_F(DispenserPlay, ADropThatEmptiesEverySlotBringsAPieceAtOnceAndRestartsTheTimer)
{
    startGame();
    tickTimes(5);
    take(1);
    display.clear();
    scriptPiece(2);
    dropAt(5, 5);
    EXPECT_EQ(display.log(), "erase, board, refresh, timer off, slot 1/2, refresh, timer on");
    EXPECT_EQ(state.pumpTicks, 0);
    EXPECT_EQ(state.boardCells(5, 5), colourBase + 1);
    EXPECT_EQ(state.dispensers[1].pieceIndex, 1) << "the placed piece's pool entry is reused";
    EXPECT_FALSE(state.pieceDragOn);
}

TEST_F(DispenserPlay, ADropLeavingPiecesInTheSlotsLeavesTheTimerAlone)
{
    startGame();
    arrive(1);
    take(1);
    display.clear();
    dropAt(1, 9);
    EXPECT_EQ(display.log(), "erase, board, refresh");
    EXPECT_EQ(state.carriedPiece, 0);
    EXPECT_FALSE(state.piecePoolUsed[1]);
}

TEST_F(DispenserPlay, APieceThatDoesNotFitStaysOnTheMouse)
{
    startGame(2);
    arrive(1);
    take(1);
    occupy({{6, 4}});
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
    const struct {
        int offset;
        int row;
        int col;
    } cases[] = {{45, 7, 2}, {90, 8, 2}, {135, 9, 4}};
    for (const auto& drop : cases) {
        take(1);
        ASSERT_TRUE(rules.checkPieceDrop(static_cast<std::int16_t>(kBoardX + drop.offset), cellY(drop.row)));
        EXPECT_EQ(state.boardCells(drop.row, drop.col), colourBase + 1) << drop.offset;
        arrive(1);
    }
}

TEST_F(DispenserPlay, FullLinesScoreAnimateAndClear)
{
    startGame();
    arrive(1);
    occupyRow(5, 1, 8);
    occupyColumn(9, 1, 4);
    occupyColumn(9, 6, 9);
    take(1);
    display.clear();
    dropAt(9, 5);
    EXPECT_EQ(display.log(), "erase, board, refresh, animate, refresh, score");
    EXPECT_EQ(state.totalScore, 30);
    EXPECT_EQ(state.levelScore, 30);
    EXPECT_EQ(state.boardCells, state.boardBase) << "all 17 cells cleared";

    take(2);
    display.clear();
    scriptPiece(1);
    dropAt(1, 1);
    EXPECT_EQ(display.log(), "erase, board, refresh, timer off, slot 1/2, refresh, timer on")
        << "a drop that fills no line scores nothing";
    EXPECT_EQ(state.totalScore, 30);
}

} // namespace
} // namespace snugbox
