#include "game_window_fixture.h"
#include "graphics/colours.h"

namespace snugbox::testing {
namespace {

class Status : public GameWindow {
protected:
    void SetUp() override
    {
        GameWindow::SetUp();
        newGame();
        form->setPieceTimerEnabled(false);
    }

    // The bar shows the full picture in its first `fill` columns and the empty one after.
    bool barShows(int fill)
    {
        for (int row = 0; row < 25; ++row) {
            for (int column = 0; column < 241; ++column) {
                const int pictureTop = column < fill ? sprite::fullScoreBar.y : sprite::emptyScoreBar.y;
                if (surface().pixel(331 + column, 485 + row) != sprites().pixel(column, pictureTop + row)) {
                    return false;
                }
            }
        }
        return true;
    }

    Rect digitsOfScore() { return boundsIn(Rect{315, 10, 437, 41}, hoverTextColour); }

    Rect boundsIn(const Rect& area, Rgb colour)
    {
        Rect bounds{area.right, area.bottom, area.left, area.top};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (surface().pixel(x, y) != colour) continue;
                bounds = Rect{std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x + 1),
                              std::max(bounds.bottom, y + 1)};
            }
        }
        return bounds;
    }
};

TEST_F(Status, TheScoreIsWrittenInFullAndCentredOnItsPlate)
{
    const Rect zero = digitsOfScore();
    ASSERT_FALSE(zero.isEmpty());
    state.totalScore = 1710;
    form->updateScoreDisplay();
    const Rect wide = digitsOfScore();
    EXPECT_GT(wide.right - wide.left, 3 * (zero.right - zero.left));
    EXPECT_NEAR((wide.left + wide.right) / 2.0, 315 + 61 + 1, 2.0);
    EXPECT_NEAR((zero.left + zero.right) / 2.0, 315 + 61 + 1, 2.0);
}

TEST_F(Status, TheBarShowsHowFarTheLevelHasCome)
{
    state.currentLevel = 10;
    state.levelScore = 10;
    form->updateScoreDisplay();
    EXPECT_TRUE(barShows(1));
    state.currentLevel = 1;
    state.levelScore = 200;
    form->updateScoreDisplay();
    EXPECT_TRUE(barShows(120));
    state.levelScore = 430;
    form->updateScoreDisplay();
    EXPECT_TRUE(barShows(241));
}

TEST_F(Status, BeforeAnyLevelTheScoreShowsNoBar)
{
    state.currentLevel = 0;
    const Surface before = surface().clone();
    form->updateScoreDisplay();
    EXPECT_TRUE(sameArea(surface(), before, Rect{315, 485, 556, 510}));
    state.currentLevel = 31000;   // whatever a damaged store held
    form->updateScoreDisplay();
    form->displayLevel();
    EXPECT_TRUE(sameArea(surface(), before, Rect{315, 485, 556, 510}));
}

TEST_F(Status, TheGaugeFillsTickByTick)
{
    state.pumpTicks = 1;
    form->drawPumb();
    EXPECT_TRUE(allOf(Rect{537, 20, 541, 30}, blueBrush.colour));
    EXPECT_TRUE(allOf(Rect{541, 20, 587, 30}, lightBlueBrush.colour));
    state.pumpTicks = 6;
    form->drawPumb();
    EXPECT_TRUE(allOf(Rect{537, 20, 562, 30}, blueBrush.colour));
    EXPECT_TRUE(allOf(Rect{562, 20, 587, 30}, lightBlueBrush.colour));
}

TEST_F(Status, WithEverySlotFullTheGaugeBlinksRed)
{
    for (int slot = 2; slot <= 5; ++slot) {
        putPiece(slot, {{0, 0}});
    }
    form->timerPieces_Timer();   // tick 1
    EXPECT_TRUE(allOf(Rect{537, 20, 541, 30}, redBrush.colour));
    EXPECT_TRUE(allOf(Rect{541, 20, 587, 30}, lightRedBrush.colour));
    form->timerPieces_Timer();   // tick 2
    EXPECT_TRUE(allOf(Rect{537, 20, 587, 30}, darkBrush.colour));
}

TEST_F(Status, AMessageDimsThePlayAreaEachTimeAndTheFontComesBack)
{
    const Surface clear = surface().clone();
    form->showGameOverMessage(21);
    const Surface once = surface().clone();
    form->showGameOverMessage(24);
    for (const auto& [x, y] : {std::pair{185, 15}, std::pair{660, 490}, std::pair{400, 60}}) {
        const Rgb shade = sprites().pixel((x - 180) % 44, 90 + (y - 10) % 44);   // the shadow square, tiled
        const Rgb was = clear.pixel(x, y);
        const Rgb dimmed{static_cast<std::uint8_t>(was.red & shade.red), static_cast<std::uint8_t>(was.green & shade.green),
                         static_cast<std::uint8_t>(was.blue & shade.blue)};
        EXPECT_EQ(once.pixel(x, y), dimmed);
    }
    EXPECT_EQ(surface().pixel(700, 300), clear.pixel(700, 300)) << "the slot column stays bright";
    EXPECT_EQ(surface().font().pointSize, 12.0);
    EXPECT_FALSE(sameArea(surface(), once, Rect{180, 200, 664, 300})) << "the second message over the first";
}

} // namespace
} // namespace snugbox::testing
