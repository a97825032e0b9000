#include "game_window_fixture.h"
#include "graphics/colours.h"

namespace snugbox::testing {
namespace {

using MenuButtons = GameWindow;
using Keys = GameWindow;
using Pause = GameWindow;

const sprite::Region kNewGameLit = sprite::buttonFace(sprite::kFaceNewGame, true);
const sprite::Region kNewGameNormal = sprite::buttonFace(sprite::kFaceNewGame, false);
const sprite::Region kBestScoresLit = sprite::buttonFace(sprite::kFaceBestScores, true);
const sprite::Region kBestScoresNormal = sprite::buttonFace(sprite::kFaceBestScores, false);

TEST_F(MenuButtons, APressActsOnlyStrictlyInsideAButton)
{
    press(25, 246);   // on the new-game button's left edge
    EXPECT_FALSE(state.gamePlaying);
    press(147, 240);  // on its right edge
    EXPECT_FALSE(state.gamePlaying);
    press(26, 246);
    EXPECT_TRUE(state.gamePlaying);
}

TEST_F(MenuButtons, TheAreaAboveNewGameAndTheHelpButtonOpenTheHelpPage)
{
    press(30, 190);   // no picture there, but its rectangle answers
    press(86, 396, MouseButtons::Right);
    ASSERT_EQ(opened.size(), 2U);
    EXPECT_EQ(opened[0], state.appPath + "Snugbox.htm");
    EXPECT_EQ(opened[1], opened[0]);
}

TEST_F(MenuButtons, PauseWithNoGameDoesNothing)
{
    press(86, 346);
    EXPECT_FALSE(state.gamePaused);
    EXPECT_FALSE(form->isPauseLabelVisible());
}

TEST_F(MenuButtons, AButtonLightsOnceOnEntryAndGoesOutOnceOnLeaving)
{
    moveTo(60, 240);
    EXPECT_TRUE(shows(25, 231, kNewGameLit));
    // A mark inside the lit button survives further moves inside it: nothing repaints.
    surface().setPixel(30, 235, Rgb{1, 2, 3});
    moveTo(70, 250);
    EXPECT_EQ(surface().pixel(30, 235), (Rgb{1, 2, 3}));
    moveTo(200, 200);
    EXPECT_TRUE(shows(25, 231, kNewGameNormal));
    surface().setPixel(30, 235, Rgb{1, 2, 3});
    moveTo(210, 210);
    EXPECT_EQ(surface().pixel(30, 235), (Rgb{1, 2, 3}));
}

TEST_F(MenuButtons, OneMoveFromOneButtonToTheNextRepaintsBoth)
{
    moveTo(60, 240);
    moveTo(60, 290);
    EXPECT_TRUE(shows(25, 231, kNewGameNormal));
    EXPECT_TRUE(shows(25, 281, kBestScoresLit));
    EXPECT_EQ(form->menuButtons[2].hover, kFlagFalse);
    EXPECT_EQ(form->menuButtons[3].hover, kFlagTrue);
    newGame();   // a new game draws every button normal again
    EXPECT_TRUE(shows(25, 281, kBestScoresNormal));
}

TEST_F(Keys, EscWithNoGameMinimizesWithoutPausing)
{
    simulate::keyStroke(window(), KeyCodes::Escape);
    EXPECT_EQ(window().state(), WindowState::Minimized);
    EXPECT_FALSE(state.gamePaused);
    EXPECT_FALSE(form->isPauseLabelVisible());
}

TEST_F(Keys, EscDuringAGamePausesAndMinimizesAndEnterResumes)
{
    newGame();
    simulate::keyStroke(window(), KeyCodes::Escape);
    EXPECT_EQ(window().state(), WindowState::Minimized);
    EXPECT_TRUE(state.gamePaused);
    EXPECT_TRUE(form->isPauseLabelVisible());
    EXPECT_FALSE(form->pieceTimer().isEnabled());
    window().restore();
    simulate::keyStroke(window(), KeyCodes::Enter);
    EXPECT_FALSE(state.gamePaused);
    EXPECT_TRUE(form->pieceTimer().isEnabled());
}

TEST_F(Pause, PausingCoversThePlayAreaAndResumingPaintsItAgain)
{
    newGame();
    const Surface playing = surface().clone();
    press(86, 346);
    ASSERT_TRUE(state.gamePaused);
    EXPECT_TRUE(allOf(Rect{180, 10, 750, 510}, panelBrush.colour));
    press(400, 300);
    EXPECT_FALSE(state.gamePaused);
    EXPECT_TRUE(sameArea(surface(), playing, Rect{180, 41, 750, 510}));
}

TEST_F(Pause, APressWhilePausedOnlyResumesEvenOnNewGame)
{
    newGame();
    state.totalScore = 120;
    press(86, 346);
    newGame();
    EXPECT_FALSE(state.gamePaused);
    EXPECT_EQ(state.totalScore, 120);
    newGame();
    EXPECT_EQ(state.totalScore, 0);
}

TEST_F(Pause, ThePauseLabelResumesWhenClicked)
{
    newGame();
    press(86, 346);
    ASSERT_TRUE(form->isPauseLabelVisible());
    simulate::click(form->pauseLabel());
    EXPECT_FALSE(state.gamePaused);
    EXPECT_FALSE(form->isPauseLabelVisible());
}

} // namespace
} // namespace snugbox::testing
