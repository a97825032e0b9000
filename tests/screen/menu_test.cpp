#include <cstdlib>

#include "game_window_fixture.h"
#include "tests/support/platform/message_box_recorder.h"
#include "screen/startup.h"

namespace snugbox::testing {
namespace {

using MenuButtons = GameWindow;
using Keys = GameWindow;
using Pause = GameWindow;

const sprite::Region kNewGameNormal = sprite::buttonFace(sprite::kFaceNewGame, false);
constexpr Rgb kMark{1, 2, 3};

// The panels whose place no picture test shows.
TEST_F(GameWindow, EveryPanelLiesWhereTheGameDrawsIt)
{
    newGame();
    EXPECT_EQ(std::tuple(form->myWid, form->myHt, form->buttonTop), std::tuple(11475, 8438, 131));
    EXPECT_EQ(std::tuple(rectOf(form->backPanel), rectOf(form->sidePicturePanel), rectOf(form->levelPanel)),
              std::tuple(Rect{0, 0, 810, 585}, Rect{10, 100, 175, 167}, Rect{247, 473, 297, 523}));
    std::vector<int> faces;
    for (int i = 1; i <= 6; ++i) faces.push_back(form->menuButtons[i].tag);
    EXPECT_EQ(faces, (std::vector<int>{0, 5, 6, 7, 8, 4}));
}

TEST_F(MenuButtons, APressActsOnlyStrictlyInsideAButtonsRectanglePictureOrNot)
{
    press(25, 246);   // on the new-game button's left edge
    press(147, 240);  // on its right edge
    EXPECT_FALSE(state.gamePlaying);
    press(30, 190);   // above new game: no picture there, but the first button's rectangle opens help
    press(86, 396, MouseButtons::Right);
    EXPECT_EQ(opened, std::vector<std::string>(2, state.appPath + "Snugbox.htm"));
    press(26, 246);
    EXPECT_TRUE(state.gamePlaying);
}

TEST_F(MenuButtons, AButtonLightsOnceOnEntryAndGoesOutOnceOnLeavingEvenOntoTheNext)
{
    moveTo(60, 240);
    EXPECT_TRUE(shows(25, 231, sprite::buttonFace(sprite::kFaceNewGame, true)));
    EXPECT_TRUE(surface().takeChangedArea().isEmpty()) << "presented at once";
    // A mark inside the button survives further moves inside it or outside: nothing repaints.
    surface().setPixel(30, 235, kMark);
    moveTo(70, 250);
    EXPECT_EQ(surface().pixel(30, 235), kMark);
    moveTo(200, 200);
    EXPECT_TRUE(shows(25, 231, kNewGameNormal));
    surface().setPixel(30, 235, kMark);
    moveTo(210, 210);
    EXPECT_EQ(surface().pixel(30, 235), kMark);
    moveTo(60, 240);
    moveTo(60, 290);   // from one button straight onto the next
    EXPECT_TRUE(shows(25, 231, kNewGameNormal) && shows(25, 281, sprite::buttonFace(sprite::kFaceBestScores, true)));
}

TEST_F(Keys, WithNoGameEscMinimizesAndNeitherItNorThePauseButtonPauses)
{
    press(86, 346);
    simulate::keyStroke(window(), KeyCodes::Escape);
    EXPECT_EQ(window().state(), WindowState::Minimized);
    EXPECT_FALSE(state.gamePaused || form->isPauseLabelVisible());
}

TEST_F(Keys, EscDuringAGamePausesAndMinimizes)
{
    newGame();
    simulate::keyStroke(window(), KeyCodes::Escape);
    EXPECT_EQ(window().state(), WindowState::Minimized);
    EXPECT_TRUE(state.gamePaused && form->isPauseLabelVisible() && !form->pieceTimer().isEnabled());
}

TEST_F(Pause, PausingCoversThePlayAreaAndEveryWayOutOnlyResumesAndRepaintsIt)
{
    newGame();
    state.totalScore = 120;
    const Surface playing = surface().clone();
    press(86, 346);
    ASSERT_TRUE(state.gamePaused);
    EXPECT_TRUE(allOf(Rect{180, 10, 750, 510}, panelBrush.colour));
    press(400, 300);
    EXPECT_FALSE(state.gamePaused);
    EXPECT_TRUE(showsBlock(surface(), 180, 41, playing, 180, 41, 570, 469));
    press(86, 346);
    newGame();
    EXPECT_EQ(std::pair(state.gamePaused, state.totalScore), std::pair(false, 120));
    press(86, 346);
    simulate::keyStroke(window(), KeyCodes::Enter);
    EXPECT_FALSE(state.gamePaused);
    // The pause label lies over the board and the help button's rectangle: a press on it
    // with any button resumes at once, before the release, and does nothing more.
    for (int button : {MouseButtons::Right, MouseButtons::Middle, MouseButtons::Left}) {
        press(86, 346);
        ASSERT_TRUE(form->isPauseLabelVisible());
        simulate::mousePress(window(), button, 86, 185);
        EXPECT_FALSE(state.gamePaused) << button;
        simulate::mouseRelease(window(), button, 86, 185);
    }
    EXPECT_TRUE(opened.empty()) << "the help button under the label stays shut";
    EXPECT_TRUE(form->pieceTimer().isEnabled());
    newGame();
    EXPECT_EQ(state.totalScore, 0) << "and once playing, a new game starts";
}

TEST_F(Playing, ARankedScoreAndAClearedTableAreEachSavedAtOnce)
{
    for (int slot = 2; slot <= 5; ++slot) putPiece(slot, {{0, 0}});
    state.totalScore = 480;
    const auto stored = [this] {
        GameState fromStore;
        loadSettings(fromStore, config.path().string());
        return std::pair(fromStore.bestScores[2].scores[1], fromStore.bestScores[2].names[1]);
    };
    simulate::whenModalOpens([&](Window& nameEntry) {
        simulate::processEvents(100);   // the name box takes the focus
        simulate::typeText(nameEntry, "Ada");
        simulate::whenModalOpens([&](Window& table) {
            EXPECT_EQ(stored(), std::pair(480, std::string("Ada")));
            simulate::mouseDown(table, MouseButtons::Left, 337, 420);   // "Clear Scores"
            EXPECT_EQ(stored(), std::pair(0, std::string("Anonoymous")));
            simulate::keyStroke(table, KeyCodes::Escape);
        });
        simulate::keyStroke(nameEntry, KeyCodes::Enter);
    });
    form->rules().insertAPiece();   // due with every slot full: the game is over
    EXPECT_FALSE(state.gamePlaying);
    EXPECT_EQ(stored().second, "Anonoymous") << "the name entry and the table were shown";
}

// The piece timer ticks on behind the table opened from the menu.
TEST_F(Playing, AGameOverBehindTheOpenTableAsksTheNameAndTheTableThenShowsTheNewRow)
{
    for (int slot = 2; slot <= 5; ++slot) putPiece(slot, {{0, 0}});
    state.totalScore = 480;
    state.pumpTicks = static_cast<std::int16_t>(state.pumpMaxSize - 1);
    Surface afterTheName;
    simulate::whenModalOpens([&](Window& table) {
        simulate::whenModalOpens([](Window& nameEntry) {
            simulate::processEvents(100);   // the name box takes the focus
            simulate::typeText(nameEntry, "Ada");
            simulate::keyStroke(nameEntry, KeyCodes::Enter);
        });
        form->setPieceTimerEnabled(true);   // the next tick brings a piece into a full dispenser
        for (int wait = 0; wait < 100 && (state.gamePlaying || simulate::openModalWindow() != &table); ++wait) {
            simulate::processEvents(20);
        }
        afterTheName = table.surface().clone();
        simulate::keyStroke(table, KeyCodes::Escape);
    });
    press(86, 296);   // best scores
    ASSERT_EQ(state.bestScores[2].names[1], "Ada");
    simulate::whenModalOpens([&](Window& table) {
        EXPECT_TRUE(showsBlock(afterTheName, 0, 0, table.surface(), 0, 0, 466, 400)) << "as a fresh opening shows it";
        simulate::keyStroke(table, KeyCodes::Escape);
    });
    press(86, 296);
}

// The sprite sheet and the icon are read behind the welcome screen; the main window must
// not show the difference.
TEST(StartUp, TheMainWindowsFirstPictureIsTheSameWhenTheSpritesAreReadBehindTheWelcomeScreen)
{
    const std::string data = std::string(SNUGBOX_DATA_DIR) + "/";
    TempDir config;
    const auto firstPicture = [&](GraphicsResources& graphics) {
        GameState state;
        state.appPath = data;
        prepareGameTables(state);
        EXPECT_FALSE(loadAllPieces(state, data + "ALLPIECES.PDAT"));
        state.gameMode = 2;
        SeededRandom random{7};
        frmHoldfast form(state, graphics, random);
        form.setConfigDirectory(config.path().string());
        form.window().show();
        createCarrySurfaces(graphics);
        form.showGameOverMessage(kMessageWelcome);
        Surface picture = form.window().surface().clone();
        form.window().close();
        return picture;
    };
    GraphicsResources behindTheWelcomeScreen;
    showWelcomeScreen(data, behindTheWelcomeScreen);
    GraphicsResources upFront;
    loadGraphics(upFront, data);
    const Surface expected = firstPicture(upFront);
    EXPECT_TRUE(showsBlock(firstPicture(behindTheWelcomeScreen), 0, 0, expected, 0, 0, expected.width(),
                           expected.height()));
}

// The program's own directory holds no piece catalogue, as a broken install would.
TEST(StartUp, WithoutAUsableCatalogueSaysWhyAndEndsBeforeAnyWindow)
{
    Application::instance();
    TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    MessageBoxRecorder recorder;
    EXPECT_NE(runSnugbox(), 0);
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(recorder.messages().size(), 1U);
    EXPECT_NE(recorder.messages()[0].text.find("ALLPIECES.PDAT"), std::string::npos);
}

} // namespace
} // namespace snugbox::testing
