#include <gtest/gtest.h>

#include "rules/best_scores.h"
#include "rules/game_rules.h"
#include "rules/startup.h"
#include "tests/rules/rules_fixture.h"

namespace snugbox {
namespace {

// What every level paints as it starts, up to its timer interval.
constexpr const char* kLevelPicture =
    "layout slot 1, layout slot 2, layout slot 3, layout slot 4, layout slot 5, play area, board, side picture, "
    "layout level, level, score, slot 1/2, slot 2/2, slot 3/2, slot 4/2, slot 5/2, refresh, interval ";

// The log's words from the first occurrence of `from` on.
std::string logFrom(const testing::RecordingDisplay& display, const std::string& from)
{
    const std::string log = display.log();
    const std::size_t at = log.find(from);
    return at == std::string::npos ? "(no '" + from + "' in: " + log + ")" : log.substr(at);
}

class Progress : public testing::RulesTest {
protected:
    // Row 9 (and column 9 as well when `twoLines`) lacks only its cell (9, 9); a single
    // square is on the mouse and another waits in a slot.
    void readyToComplete(bool twoLines)
    {
        arrive(1);
        arrive(1);
        occupy(1, 9, 8, 9);
        if (twoLines) {
            occupy(9, 1, 9, 8);
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
};

TEST_F(Progress, ANewGameLaysOutLevelOneAndBringsTheFirstPieceAtOnce)
{
    scriptPiece(1);
    rules.startArcadeGame();
    EXPECT_EQ(display.log(), "label off, menu buttons, layout game, layout board, " + std::string(kLevelPicture) +
                                 "250, timer on, slot 1/2, refresh");
    EXPECT_TRUE(state.gamePlaying);
    EXPECT_EQ(state.currentLevel, 1);
    EXPECT_EQ(state.dispenserCount, 5);
    EXPECT_EQ(std::pair(state.boardRows, state.boardCols), (std::pair<std::int16_t, std::int16_t>(9, 9)));
    EXPECT_EQ(state.dispensers[5].tag, 20) << "slot squares of 20 pixels";
    EXPECT_EQ(random.reseeds(), 1);
}

TEST_F(Progress, EachLevelTicksItsPeriodOverTwelveSteps)
{
    const int expected[] = {0, 250, 217, 208, 200, 183, 192, 183, 167, 150, 142, 0};
    for (int level = 0; level <= 11; ++level) {
        EXPECT_EQ(pieceTimerInterval(state, static_cast<std::int16_t>(level)), expected[level]) << level;
    }
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
    display.clear();
    state.levelScore = state.totalScore = 390;
    dropAt(1, 2);
    EXPECT_EQ(state.totalScore, 490);
    EXPECT_EQ(state.currentLevel, 2);
    EXPECT_EQ(state.levelScore, 0) << "points beyond the target are not carried over";
    EXPECT_EQ(logFrom(display, "animate"), "animate, refresh, score, " + std::string(kLevelPicture) + "217")
        << "the timer runs on with its new interval";
    EXPECT_EQ(state.boardCells(5, 5), colourBase + 1);
    EXPECT_EQ(state.boardCells(1, 1), 3) << "a cleared cell shows the level 2 tile";
    EXPECT_EQ(state.boardCells(1, 2), 4);
    EXPECT_EQ(state.dispensers[2].pieceIndex, waiting);
    EXPECT_EQ(random.reseeds(), 2);
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

TEST_F(Progress, ReachingTwoThousandOnLevelTenEndsTheGameWithTheCongratulations)
{
    startGame();
    jumpToLevel(10);
    rules.startArcadeLevel();
    EXPECT_EQ(state.currentLevel, 10) << "there is no eleventh level";
    arrive(1);
    readyToComplete(true);
    state.levelScore = 1960;
    dropAt(9, 9);
    EXPECT_TRUE(state.gamePlaying) << "1990 is not yet enough";
    occupy(1, 8, 8, 8);
    take(2);
    display.clear();
    dropAt(9, 8);
    EXPECT_FALSE(state.gamePlaying);
    EXPECT_EQ(logFrom(display, "score"),
              "score, timer off, message 24, refresh, sleep 300, ask name, scores changed, best scores 2");
    EXPECT_EQ(state.bestScores[2].scores[1], 40);
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
    fillEverySlot();
    display.clear();
    tick(12);
    EXPECT_FALSE(state.gamePlaying);
    EXPECT_EQ(logFrom(display, "message"), "message 24, refresh, sleep 300");
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

TEST_F(Progress, ANewGameWhileCarryingStartsWithNothingOnTheMouse)
{
    startGame();
    arrive(1);
    take(2);
    state.totalScore = state.levelScore = 70;
    occupy(3, 3, 3, 3);
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
    EXPECT_EQ(display.log(), "timer on, label off, play area, board, menu buttons, slot 1/2, slot 2/2, slot 3/2, "
                             "slot 4/2, slot 5/2, side picture, level, score, refresh");
    EXPECT_FALSE(state.gamePaused);
}

TEST(BestScores, RankGoesBelowEqualScoresAndInsertMovesTheRestDown)
{
    GameState state;
    BestScoreTable& table = state.bestScores[2];
    table.scores[1] = 900;
    table.scores[2] = table.scores[3] = 800;
    table.scores[4] = 500;
    table.names[4] = "fourth";
    const std::pair<int, int> ranks[] = {{800, 4}, {600, 4}, {900, 2}, {901, 1}, {0, 9}};
    for (const auto& [score, place] : ranks) {
        EXPECT_EQ(rankOfScore(state, 2, score), place) << score;
    }
    EXPECT_EQ(rankOfScore(state, 1, 50), 1) << "mode 1 keeps a table of its own";
    for (std::int16_t mode : {0, 3, -1, 32767}) {
        EXPECT_EQ(rankOfScore(state, mode, 1000), 9) << "no table for mode " << mode;
        insertBestScore(state, mode, 1000, "x");
    }

    insertBestScore(state, 2, 600, "new");
    const std::int32_t after[] = {900, 800, 800, 600, 500, 0, 0, 0};
    for (int place = 1; place <= 8; ++place) {
        EXPECT_EQ(table.scores[place], after[place - 1]) << place;
    }
    EXPECT_EQ(table.names[4], "new");
    EXPECT_EQ(table.names[5], "fourth") << "names move with their scores";
    EXPECT_EQ(state.bestScores[1], BestScoreTable{});
}

TEST(StoredMode, GamesArePlayedInModeTwoAndOnlyModeOneKeepsItsLevel)
{
    // stored mode, stored level, level after
    const int cases[][3] = {{0, 0, 1}, {2, 4, 1}, {1, 4, 4}, {1, 10, 10}, {7, 4, 1}, {-3, 5, 1}, {1, 37, 1}, {1, 0, 1}};
    for (const auto& [mode, level, settledLevel] : cases) {
        GameState state;
        state.gameMode = static_cast<std::int16_t>(mode);
        state.currentLevel = static_cast<std::int16_t>(level);
        EXPECT_TRUE(settleStoredGameMode(state));
        EXPECT_EQ(state.gameMode, 2) << mode;
        EXPECT_EQ(state.currentLevel, settledLevel) << mode << " " << level;
    }
}

} // namespace
} // namespace snugbox
