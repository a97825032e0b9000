#include <gtest/gtest.h>

#include "rules/game_rules.h"
#include "tests/rules/rules_fixture.h"

namespace snugbox {
namespace {

// What every level paints as it starts, up to its timer interval.
constexpr const char* kLevelPicture =
    "layout slot 1, layout slot 2, layout slot 3, layout slot 4, layout slot 5, play area, board, side picture, "
    "layout level, level, score, slot 1/2, slot 2/2, slot 3/2, slot 4/2, slot 5/2, refresh, interval ";

class Progress : public testing::RulesTest {
protected:
    // The log from the first `from` on.
    std::string logFrom(const std::string& from) const { return display.log().substr(display.log().find(from)); }

    // Level `level` with row 9 and column 9 full but for cell (9, 9), a single square on
    // the mouse and more waiting in the slots.
    void readyForTwoLinesOn(int level)
    {
        state.currentLevel = static_cast<std::int16_t>(level - 1);
        rules.startArcadeLevel();
        arrive(1);
        arrive(1);
        occupy(1, 9, 8, 9);
        occupy(9, 1, 9, 8);
        take(1);
    }
};

TEST_F(Progress, ANewGameLaysOutLevelOneAndBringsTheFirstPieceAtOnce)
{
    scriptPiece(1);
    rules.startArcadeGame();
    EXPECT_EQ(display.log(), "label off, menu buttons, layout game, layout board, " + std::string(kLevelPicture) +
                                 "250, timer on, slot 1/2, refresh");
    EXPECT_EQ(std::tuple(state.gamePlaying, state.currentLevel, state.dispenserCount, state.boardRows, state.boardCols),
              std::tuple(true, 1, 5, 9, 9));
    EXPECT_EQ(std::tuple(state.dispensers[5].tag, random.reseeds()), std::tuple(20, 1)) << "slot squares of 20 pixels";
}

TEST_F(Progress, FourLinesTakeTheLevelScoreFrom390To490AndStartLevelTwoKeepingSquaresAndPieces)
{
    startGame(4);   // the 2 x 2 block, held by its lower left square
    arrive(1);
    occupy(3, 1, 9, 2);
    occupy(1, 3, 2, 9);
    occupy(5, 5, 5, 5);
    const std::int32_t waiting = state.dispensers[2].pieceIndex;
    take(1);
    state.levelScore = state.totalScore = 390;
    dropAt(1, 2);
    EXPECT_EQ(std::tuple(state.totalScore, state.currentLevel, state.levelScore), std::tuple(490, 2, 0))
        << "points beyond the target are not carried over";
    EXPECT_EQ(logFrom("animate"), "animate, refresh, score, " + std::string(kLevelPicture) + "217")
        << "the timer runs on with its new interval";
    EXPECT_EQ(std::tuple(state.boardCells(5, 5), state.boardCells(1, 1), state.boardCells(1, 2)),
              std::tuple(colourBase + 1, 3, 4)) << "cleared cells show the tiles of level 2";
    EXPECT_EQ(std::tuple(state.dispensers[2].pieceIndex, random.reseeds()), std::tuple(waiting, 2));
}

TEST_F(Progress, LevelSevenEndsAtThirtyPointsAndLevelTenAtTwoThousandWithTheCongratulationsForGood)
{
    startGame();
    readyForTwoLinesOn(7);
    dropAt(9, 9);
    EXPECT_EQ(std::tuple(state.totalScore, state.currentLevel), std::tuple(30, 8));

    readyForTwoLinesOn(10);
    rules.startArcadeLevel();
    EXPECT_EQ(state.currentLevel, 10) << "there is no eleventh level";
    state.levelScore = 1960;
    dropAt(9, 9);
    EXPECT_TRUE(state.gamePlaying) << "1990 is not yet enough";
    occupy(1, 8, 8, 8);
    take(2);
    dropAt(9, 8);
    EXPECT_EQ(logFrom("score"), "score, timer off, message 24, refresh, sleep 300, ask name, scores changed, best scores 2");
    EXPECT_EQ(std::tuple(state.bestScores[2].scores[1], state.bestScores[2].names[1]), std::tuple(70, "Tester"));

    display.clear();
    rules.startArcadeLevel();
    rules.checkLevelFinished();
    rules.gameOver();
    EXPECT_EQ(display.log(), "") << "a finished game stays finished";
}

TEST_F(Progress, ARankedScoreAsksForTheNameAfterTheTimerStopsAndANothingScoreOpensNoDialog)
{
    startGame();
    rules.gameOver();
    EXPECT_EQ(display.log(), "timer off, message 21, refresh, sleep 300");
    EXPECT_EQ(state.bestScores[2], BestScoreTable{});

    startGame();
    state.totalScore = 120;
    rules.gameOver();
    EXPECT_EQ(display.log(), "timer off, message 21, refresh, sleep 300, ask name, scores changed, best scores 2");
    EXPECT_EQ(state.bestScores[2].scores[1], 120);
}

TEST_F(Progress, ANewGameWhileCarryingStartsAfreshWithNothingOnTheMouse)
{
    startGame();
    arrive(1);
    take(2);
    state.totalScore = state.levelScore = 70;
    occupy(3, 3, 3, 3);
    startGame(2);
    EXPECT_EQ(std::tuple(state.pieceDragOn, state.carriedPiece, state.grabSquare, state.totalScore, state.currentLevel),
              std::tuple(false, 0, 0, 0, 1));
    EXPECT_EQ(std::tuple(state.boardCells == state.boardBase, state.piecePool.count()), std::tuple(true, 1))
        << "a fresh board and pool";
}

} // namespace
} // namespace snugbox
