#include <gtest/gtest.h>

#include "rules/best_scores.h"
#include "rules/game_rules.h"
#include "rules/startup.h"
#include "tests/rules/rules_fixture.h"

namespace snugbox {
namespace {

// The log's words from the first occurrence of `from` on.
std::string logFrom(const testing::RecordingDisplay& display, const std::string& from)
{
    const std::string log = display.log();
    const std::size_t at = log.find(from);
    return at == std::string::npos ? "(no '" + from + "' in: " + log + ")" : log.substr(at);
}

class Progress : public testing::RulesTest {
protected:
    // Sets the board so that a single square dropped on (row 9, column 9) completes row 9
    // (and column 9 as well when `twoLines`), and puts that square on the mouse with a
    // second piece left in slot 2.
    void readyToComplete(bool twoLines)
    {
        arrive(1);
        arrive(1);
        occupyRow(9, 1, 8);
        if (twoLines) {
            occupyColumn(9, 1, 8);
        }
        take(1);
        display.clear();
    }

    void jumpToLevel(int level)
    {
        state.currentLevel = static_cast<std::int16_t>(level - 1);
        rules.startArcadeLevel();
        ASSERT_EQ(state.currentLevel, level);
        display.clear();
    }

    void fillTheDispenser()
    {
        while (liveSlots() < 5) {
            arrive(1);
        }
    }
};

TEST_F(Progress, ANewGameLaysOutLevelOneAndBringsTheFirstPieceAtOnce)
{
    scriptPiece(1);
    rules.startArcadeGame();
    EXPECT_EQ(display.log(),
              "label off, menu buttons, layout game, layout board, layout slot 1, layout slot 2, "
              "layout slot 3, layout slot 4, layout slot 5, play area, board, side picture, "
              "layout level, level, score, slot 1/2, slot 2/2, slot 3/2, slot 4/2, slot 5/2, "
              "refresh, interval 250, timer on, slot 1/2, refresh");
    EXPECT_TRUE(state.gamePlaying);
    EXPECT_EQ(state.currentLevel, 1);
    EXPECT_EQ(state.totalScore, 0);
    EXPECT_EQ(state.dispenserCount, 5);
    EXPECT_EQ(state.boardRows, 9);
    EXPECT_EQ(state.boardCols, 9);
    for (int slot = 1; slot <= 5; ++slot) {
        EXPECT_EQ(state.dispensers[slot].tag, 20);
    }
    EXPECT_EQ(random.reseeds(), 1);
    EXPECT_EQ(state.piecePool.count(), 1);
}

TEST_F(Progress, EachLevelTicksItsPeriodOverTwelveSteps)
{
    const int expected[] = {250, 217, 208, 200, 183, 192, 183, 167, 150, 142};
    for (int level = 1; level <= 10; ++level) {
        EXPECT_EQ(pieceTimerInterval(state, static_cast<std::int16_t>(level)), expected[level - 1]);
    }
    EXPECT_EQ(pieceTimerInterval(state, 0), 0);
    EXPECT_EQ(pieceTimerInterval(state, 11), 0);
}

TEST_F(Progress, ReachingTheTargetStartsTheNextLevelKeepingSquaresAndPieces)
{
    startGame();
    occupy({{5, 5}});
    readyToComplete(false);
    const std::int32_t waiting = state.dispensers[2].pieceIndex;
    state.levelScore = 390;
    state.totalScore = 390;
    dropAt(9, 9);
    EXPECT_EQ(state.currentLevel, 2);
    EXPECT_EQ(state.levelScore, 0) << "points beyond the target are not carried over";
    EXPECT_EQ(state.totalScore, 400);
    EXPECT_EQ(logFrom(display, "animate"),
              "animate, refresh, score, layout slot 1, layout slot 2, layout slot 3, layout slot 4, "
              "layout slot 5, play area, board, side picture, layout level, level, score, slot 1/2, "
              "slot 2/2, slot 3/2, slot 4/2, slot 5/2, refresh, interval 217")
        << "the timer runs on with its new interval";
    EXPECT_EQ(state.boardCells(5, 5), colourBase + 1);
    EXPECT_EQ(state.boardCells(9, 1), 3) << "a cleared cell shows the level 2 tile";
    EXPECT_EQ(state.boardCells(8, 1), 4);
    EXPECT_EQ(state.dispensers[2].pieceIndex, waiting);
    EXPECT_EQ(random.reseeds(), 2);
}

TEST_F(Progress, FourLinesTakeTheLevelScoreFrom390To490AndOn)
{
    startGame(4);   // the 2 x 2 block, held by its lower left square
    arrive(1);
    occupyRow(1, 3, 9);
    occupyRow(2, 3, 9);
    occupyColumn(1, 3, 9);
    occupyColumn(2, 3, 9);
    take(1);
    state.levelScore = 390;
    state.totalScore = 390;
    dropAt(1, 2);
    EXPECT_EQ(state.totalScore, 490);
    EXPECT_EQ(state.currentLevel, 2);
    EXPECT_EQ(state.levelScore, 0);
}

TEST_F(Progress, LevelSevenIsFinishedByTwoLines)
{
    startGame();
    jumpToLevel(7);
    readyToComplete(true);
    dropAt(9, 9);
    EXPECT_EQ(state.totalScore, 30);
    EXPECT_EQ(state.currentLevel, 8);
}

TEST_F(Progress, FinishingLevelTenEndsTheGameWithTheCongratulations)
{
    startGame();
    jumpToLevel(10);
    readyToComplete(false);
    state.levelScore = 1990;
    state.totalScore = 5000;
    dropAt(9, 9);
    EXPECT_FALSE(state.gamePlaying);
    EXPECT_EQ(state.currentLevel, 10) << "no eleventh level";
    EXPECT_EQ(logFrom(display, "score"),
              "score, timer off, message 24, refresh, sleep 300, ask name, scores changed, best scores 2");
    EXPECT_EQ(state.bestScores[2].scores[1], 5010);
    EXPECT_EQ(state.bestScores[2].names[1], "Tester");

    display.clear();
    rules.startArcadeLevel();
    rules.checkLevelFinished();
    rules.gameOver();
    EXPECT_TRUE(display.rawCalls().empty()) << "a finished game stays finished: " << display.log();
}

TEST_F(Progress, AGameLostOnLevelTenAlsoShowsTheCongratulations)
{
    startGame();
    jumpToLevel(10);
    fillTheDispenser();
    display.clear();
    for (int tick = 0; tick < 12; ++tick) {
        rules.timerPieces_Timer();
    }
    EXPECT_FALSE(state.gamePlaying);
    EXPECT_EQ(display.count(testing::RecordingDisplay::Op::Message), 1);
    EXPECT_EQ(logFrom(display, "message"), "message 24, refresh, sleep 300");
}

TEST_F(Progress, GameOverTakesThePieceOffTheMouseBeforeItsMessage)
{
    startGame();
    fillTheDispenser();
    take(1);
    arrive(1);
    const std::int16_t carriedBefore = state.carriedPiece;
    display.clear();
    for (int tick = 0; tick < 12; ++tick) {
        rules.timerPieces_Timer();
    }
    EXPECT_EQ(logFrom(display, "timer off"), "timer off, erase, message 21, refresh, sleep 300");
    EXPECT_FALSE(state.pieceDragOn);
    EXPECT_EQ(state.grabSquare, 0);
    EXPECT_EQ(state.carriedPiece, carriedBefore) << "kept until the next new game";
}

TEST_F(Progress, ARankedScoreAsksForTheNameAfterTheTimerStops)
{
    startGame();
    state.totalScore = 120;
    rules.gameOver();
    EXPECT_EQ(display.log(),
              "timer off, message 21, refresh, sleep 300, ask name, scores changed, best scores 2");
    EXPECT_EQ(state.bestScores[2].scores[1], 120);
    EXPECT_TRUE(display.faults().empty()) << display.faults().front();
}

TEST_F(Progress, ANothingScoreOnATableOfZerosOpensNoDialog)
{
    startGame();
    rules.gameOver();
    EXPECT_EQ(display.log(), "timer off, message 21, refresh, sleep 300");
    EXPECT_EQ(state.bestScores[2], BestScoreTable{});
}

TEST_F(Progress, ANewGameWhileCarryingStartsWithNothingOnTheMouse)
{
    startGame();
    arrive(1);
    take(2);
    state.totalScore = state.levelScore = 70;
    occupy({{3, 3}});
    display.clear();
    scriptPiece(2);
    rules.startArcadeGame();
    EXPECT_EQ(display.calls().at(1), "erase");
    EXPECT_FALSE(state.pieceDragOn);
    EXPECT_EQ(state.carriedPiece, 0);
    EXPECT_EQ(state.grabSquare, 0);
    EXPECT_EQ(state.totalScore, 0);
    EXPECT_EQ(state.currentLevel, 1);
    EXPECT_EQ(state.boardCells, state.boardBase) << "a fresh board";
    EXPECT_EQ(state.piecePool.count(), 1) << "a fresh pool";
    EXPECT_EQ(liveSlots(), 1);
}

TEST_F(Progress, PauseHidesTheGameAndStopsTheTimerUntilResumed)
{
    startGame();
    rules.enablePause(true);
    EXPECT_EQ(display.log(), "timer off, label on, background, refresh");
    EXPECT_TRUE(state.gamePaused);

    display.clear();
    rules.timerPieces_Timer();
    rules.pressInGame(kLeftButton, slotX(1), slotY(1));
    rules.insertAPiece();
    EXPECT_TRUE(display.rawCalls().empty()) << "nothing moves while paused: " << display.log();
    EXPECT_EQ(state.pumpTicks, 0);

    rules.enablePause(false);
    EXPECT_EQ(display.log(),
              "timer on, label off, play area, board, menu buttons, slot 1/2, slot 2/2, slot 3/2, "
              "slot 4/2, slot 5/2, side picture, level, score, refresh");
    EXPECT_FALSE(state.gamePaused);
    EXPECT_TRUE(display.timerEnabled());
}

TEST_F(Progress, TheWindowsFirstPaintBeforeAnyGameStartsNothing)
{
    rules.enablePause(false);
    EXPECT_EQ(display.log(), "timer on, label off, play area, board, menu buttons, side picture, level, "
                             "score, refresh");
    display.clear();
    rules.timerPieces_Timer();
    rules.insertAPiece();
    rules.gameOver();
    EXPECT_TRUE(display.rawCalls().empty()) << display.log();
    EXPECT_FALSE(state.gamePlaying);
}

TEST(BestScores, RankGoesBelowEqualScoresAndInsertMovesTheRestDown)
{
    GameState state;
    BestScoreTable& table = state.bestScores[2];
    const std::int32_t scores[] = {900, 800, 800, 500, 0, 0, 0, 0};
    for (int place = 1; place <= 8; ++place) {
        table.scores[place] = scores[place - 1];
        table.names[place] = "n" + std::to_string(place);
    }
    EXPECT_EQ(rankOfScore(state, 2, 800), 4);
    EXPECT_EQ(rankOfScore(state, 2, 600), 4);
    EXPECT_EQ(rankOfScore(state, 2, 900), 2);
    EXPECT_EQ(rankOfScore(state, 2, 901), 1);
    EXPECT_EQ(rankOfScore(state, 2, 0), 9);
    EXPECT_EQ(rankOfScore(state, 1, 50), 1) << "mode 1 keeps a table of its own";

    insertBestScore(state, 2, 600, "new");
    const std::int32_t after[] = {900, 800, 800, 600, 500, 0, 0, 0};
    for (int place = 1; place <= 8; ++place) {
        EXPECT_EQ(table.scores[place], after[place - 1]) << place;
    }
    EXPECT_EQ(table.names[4], "new");
    EXPECT_EQ(table.names[5], "n4") << "names move with their scores";
    EXPECT_EQ(table.names[8], "n7") << "the last entry drops out";
}

TEST(BestScores, OnlyModesOneAndTwoHaveTables)
{
    GameState state;
    for (std::int16_t mode : {0, 3, -1, 32767}) {
        EXPECT_EQ(rankOfScore(state, mode, 1000), 9) << mode;
        insertBestScore(state, mode, 1000, "x");
    }
    insertBestScore(state, 2, 0, "zero");
    EXPECT_EQ(state.bestScores[1], BestScoreTable{});
    EXPECT_EQ(state.bestScores[2], BestScoreTable{});
}

TEST(StoredMode, GamesArePlayedInModeTwoAndOnlyModeOneKeepsItsLevel)
{
    struct Case {
        std::int16_t mode;
        std::int16_t level;
        std::int16_t settledLevel;
    };
    const Case cases[] = {{0, 0, 1},  {2, 4, 1},  {1, 4, 4},      {1, 10, 10},
                          {7, 4, 1},  {-3, 5, 1}, {1, 37, 1},     {1, 0, 1}};
    for (const Case& stored : cases) {
        GameState state;
        state.gameMode = stored.mode;
        state.currentLevel = stored.level;
        EXPECT_TRUE(settleStoredGameMode(state)) << stored.mode;
        EXPECT_EQ(state.gameMode, 2) << stored.mode;
        EXPECT_EQ(state.currentLevel, stored.settledLevel) << stored.mode << " " << stored.level;
    }
}

} // namespace
} // namespace snugbox
