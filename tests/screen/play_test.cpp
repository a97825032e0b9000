#include "game_window_fixture.h"

namespace snugbox::testing {
namespace {

using CarriedPiece = Playing;
using Status = Playing;

const sprite::Region kSquare = sprite::pieceSquare(3);

TEST_F(CarriedPiece, FollowsThePointerWithTheHeldSquaresCentreUnderIt)
{
    putPiece(1, {{0, 0}, {0, 1}});
    takeFromSlot(1);
    moveTo(400, 300);
    EXPECT_EQ((std::pair<int, int>(state.grabOffsetX, state.grabOffsetY)), std::pair(22, 68));
    EXPECT_TRUE(shows(378, 232, kSquare) && shows(378, 277, kSquare));
}

TEST_F(CarriedPiece, DraggingAcrossTheBoardAndPastTheEdgesAndBackLeavesEveryPixelAsItWas)
{
    putPiece(1, {{0, 0}, {1, 0}, {1, 1}, {2, 1}});
    takeFromSlot(1);
    const Surface before = surface().clone();
    for (int step = 0; step <= 40; ++step) moveTo(675 - step * 12, 60 + step * 9);
    moveTo(5, 5);        // picture partly above and left of the window
    moveTo(758, 556);    // and partly beyond its right and bottom edges
    // What is left of the held square (its centre 68 pixels into the picture each way) inside
    // the 765 x 563 window is still drawn.
    EXPECT_TRUE(shows(735, 533, sprite::Region{kSquare.x, kSquare.y, 765 - 735, 563 - 533}));
    moveTo(675, 60);
    EXPECT_TRUE(surface().pixelsEqual(before));
}

TEST_F(CarriedPiece, TurningKeepsTheHeldSquareUnderThePointerEvenOnAQuickDoubleRightPress)
{
    putPiece(1, {{0, 0}, {0, 1}, {0, 2}});
    takeFromSlot(1);
    moveTo(400, 300);
    ASSERT_TRUE(shows(378, 188, kSquare));
    press(400, 300, MouseButtons::Right);
    EXPECT_EQ((std::pair<int, int>(state.grabOffsetX, state.grabOffsetY)), std::pair(22, 22));
    EXPECT_TRUE(shows(378, 278, kSquare) && shows(468, 278, kSquare)) << "lying right of the held square";
    EXPECT_FALSE(shows(378, 188, kSquare)) << "the upright picture is gone";
    // The second press of a quick pair arrives as a double-click; it must turn the piece too.
    simulate::doubleClick(window(), MouseButtons::Right, 400, 300);
    EXPECT_TRUE(shows(378, 278, kSquare) && shows(288, 278, kSquare)) << "two more turns: lying left of it";
    EXPECT_FALSE(shows(468, 278, kSquare) || shows(378, 368, kSquare)) << "not left after one of them";
}

TEST_F(CarriedPiece, ATickUnderThePieceLeavesNoStalePixelsBehind)
{
    putPiece(1, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    takeFromSlot(1);
    moveTo(560, 40);   // the picture covers the gauge
    for (int tick = 0; tick < 6; ++tick) form->timerPieces_Timer();
    moveTo(300, 300);
    EXPECT_TRUE(allOf(Rect{537, 20, 562, 30}, blueBrush.colour));
    EXPECT_TRUE(allOf(Rect{562, 20, 587, 30}, lightBlueBrush.colour));
}

TEST_F(CarriedPiece, ADropThatFillsARowShowsTheBoardsTilesThereOnceItHasCleared)
{
    for (int col = 1; col <= 7; ++col) state.boardCells(9, col) = 11;
    form->drawBoard();
    putPiece(1, {{0, 0}, {1, 0}}, 2);
    takeFromSlot(1);
    moveTo(202 + 7 * 45 + 22, 58 + 8 * 45 + 22);
    press(202 + 7 * 45 + 22, 58 + 8 * 45 + 22);
    EXPECT_EQ(state.totalScore, 10);
    EXPECT_TRUE(shows(202, 418, sprite::boardTile(state.boardBase(9, 1))) &&
                shows(562, 418, sprite::boardTile(state.boardBase(9, 9))));
}

TEST_F(Status, TheScoreIsWrittenInFullAndCentredOnItsPlate)
{
    const auto scoreDigits = [this] {
        Surface plate(122, 31);
        plate.blockCopy(0, 0, 122, 31, surface(), 315, 10, RasterOp::SrcCopy);
        return boundsOfColour(plate, hoverTextColour);
    };
    const Rect zero = scoreDigits();
    state.totalScore = 1710;
    form->updateScoreDisplay();
    const Rect wide = scoreDigits();
    EXPECT_GT(wide.right - wide.left, 4 * (zero.right - zero.left)) << "all four digits";
    EXPECT_NEAR((wide.left + wide.right) / 2.0, 61 + 1, 2.0);
    EXPECT_NEAR((zero.left + zero.right) / 2.0, 61 + 1, 2.0);
}

TEST_F(Status, TheBarShowsHowFarTheLevelHasCome)
{
    // Level 1's target is 400: 120.5 columns go to the even 120, 180.75 to 181, and past the
    // target the bar stays full.
    const std::tuple<int, int, int> levelScoreFill[] = {{10, 10, 1}, {1, 200, 120}, {1, 300, 181}, {1, 430, 241}};
    for (const auto& [level, score, fill] : levelScoreFill) {
        state.currentLevel = static_cast<std::int16_t>(level);
        state.levelScore = score;
        form->updateScoreDisplay();
        // The full picture in the bar's first `fill` columns and the empty one after.
        EXPECT_TRUE(showsBlock(surface(), 331, 485, sprites(), 0, sprite::fullScoreBar.y, fill, 25)) << fill;
        EXPECT_TRUE(showsBlock(surface(), 331 + fill, 485, sprites(), fill, sprite::emptyScoreBar.y, 241 - fill, 25));
    }
}

TEST_F(Status, TheGaugeFillsTickByTickAndBlinksRedWithEverySlotFull)
{
    state.pumpTicks = 1;   // tick 6 ends at 562: see the tick under the carried piece
    form->drawPumb();
    EXPECT_TRUE(allOf(Rect{537, 20, 541, 30}, blueBrush.colour));
    EXPECT_TRUE(allOf(Rect{541, 20, 587, 30}, lightBlueBrush.colour));

    for (int slot = 2; slot <= 5; ++slot) putPiece(slot, {{0, 0}});
    state.pumpTicks = 0;
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
    Surface dimmed = clear.clone();
    for (const auto& [x, y] : {std::pair{186, 15}, std::pair{661, 490}, std::pair{401, 60}}) {
        // the shadow square, tiled over the play area, ANDed onto it (here on its light half)
        dimmed.blockCopy(x, y, 1, 1, sprites(), (x - 180) % 44, 90 + (y - 10) % 44, RasterOp::SrcAnd);
        EXPECT_EQ(once.pixel(x, y), dimmed.pixel(x, y)) << x << "," << y;
    }
    EXPECT_EQ(surface().pixel(700, 300), clear.pixel(700, 300)) << "the slot column stays bright";
    EXPECT_EQ(surface().font().pointSize, 12.0);
    EXPECT_FALSE(showsBlock(surface(), 180, 200, once, 180, 200, 484, 100)) << "the second message over the first";
}

} // namespace
} // namespace snugbox::testing
