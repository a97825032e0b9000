#include "game_window_fixture.h"
#include "graphics/colours.h"
#include "store/settings_store.h"

namespace snugbox::testing {
namespace {

using Layout = GameWindow;
using Lifecycle = GameWindow;

void expectRect(const Panel& panel, int x, int y, int width, int height, const char* name)
{
    EXPECT_EQ(panel.x, x) << name;
    EXPECT_EQ(panel.y, y) << name;
    EXPECT_EQ(panel.width, width) << name;
    EXPECT_EQ(panel.height, height) << name;
}

TEST_F(Layout, EveryPanelLiesWhereTheGameDrawsIt)
{
    newGame();
    EXPECT_EQ(form->myHt, 8438);
    EXPECT_EQ(form->myWid, 11475);
    EXPECT_EQ(form->buttonTop, 131);
    expectRect(form->backPanel, 0, 0, 810, 585, "back");
    EXPECT_EQ(form->backPanel.brush, panelBrush);
    expectRect(form->sidePicturePanel, 10, 100, 165, 67, "side picture");
    expectRect(form->playAreaPanel, 180, 10, 570, 500, "play area");
    EXPECT_EQ(form->playAreaPanel.brush, panelBrush);
    EXPECT_EQ(form->playAreaPanel.pen, hoverPen);
    const int faces[] = {0, 5, 6, 7, 8, 4};
    for (int i = 1; i <= 6; ++i) {
        expectRect(form->menuButtons[i], 25, 131 + 50 * i, 122, 30, "menu button");
        EXPECT_EQ(form->menuButtons[i].tag, faces[i - 1]);
        EXPECT_EQ(form->menuButtons[i].textColour, buttonTextColour);
    }
    expectRect(form->scorePanel, 315, 10, 122, 31, "score");
    EXPECT_EQ(form->scorePanel.textColour, hoverTextColour);
    expectRect(form->scoreBarPanel, 315, 485, 241, 25, "score bar");
    expectRect(form->pumpPanel, 537, 20, 50, 10, "pump");
    expectRect(form->boardPanel(), 202, 58, 405, 405, "board");
    EXPECT_EQ(form->boardPanel().tag, 45);
    expectRect(form->levelPanel, 247, 473, 50, 50, "level");
    EXPECT_FALSE(form->levelPanel.brush.set);
    for (int slot = 1; slot <= 5; ++slot) {
        const Panel& panel = state.dispensers[slot];
        expectRect(panel, 630, 15 + 100 * (slot - 1), 90, 90, "slot");
        EXPECT_EQ(panel.tag, 20);
        EXPECT_EQ(panel.brush, darkBrush);
        EXPECT_EQ(panel.pen, framePen);
        EXPECT_EQ(panel.surface, &surface());
    }
}

TEST_F(Lifecycle, OpensAtItsFixedSizeWithItsCaptionAndNothingOfAGameOnIt)
{
    EXPECT_EQ(window().caption(), "Snugbox  Ver 1.0");
    EXPECT_EQ(window().outerWidth(), 765);
    EXPECT_EQ(window().outerHeight(), 563);
    // Before any game: no board, score or gauge; the timer is on but has no interval.
    EXPECT_TRUE(allOf(Rect{202, 58, 607, 463}, panelBrush.colour));
    EXPECT_TRUE(allOf(Rect{315, 11, 587, 41}, panelBrush.colour));
    EXPECT_TRUE(form->pieceTimer().isEnabled());
    EXPECT_EQ(form->pieceTimer().interval(), 0);
    EXPECT_TRUE(shows(25, 231, sprite::buttonFace(sprite::kFaceNewGame, false)));
    EXPECT_TRUE(shows(10, 100, sprite::sidePicture));
}

TEST_F(Lifecycle, ExitAndTheCloseBoxBothSaveTheStore)
{
    const auto storedTopScore = [this] {
        GameState stored;
        loadSettings(stored, config.path().string());
        return stored.bestScores[2].scores[1];
    };
    state.bestScores[2].scores[1] = 4321;
    press(30, 440);   // the exit button
    EXPECT_FALSE(window().isOpen());
    EXPECT_EQ(storedTopScore(), 4321);

    state.bestScores[2].scores[1] = 5432;
    window().show();
    simulate::closeBox(window());
    EXPECT_FALSE(window().isOpen());
    EXPECT_EQ(storedTopScore(), 5432);
}

} // namespace
} // namespace snugbox::testing
