#include "game_window_fixture.h"
#include "graphics/colours.h"

namespace snugbox::testing {
namespace {

class CarriedPiece : public GameWindow {
protected:
    void SetUp() override
    {
        GameWindow::SetUp();
        newGame();
        form->setPieceTimerEnabled(false);   // the test decides when a tick comes
    }
    // What the empty first-level board shows at a window pixel.
    Rgb boardPixel(int x, int y) const
    {
        const int col0 = (x - 202) / 45;
        const int row0 = (y - 58) / 45;
        const int tile = (col0 + row0) % 2 == 0 ? 1 : 2;
        return sprites().pixel((tile - 1) * 45 + (x - 202) % 45, (y - 58) % 45);
    }

    static int brightness(Rgb colour) { return colour.red + colour.green + colour.blue; }
};

const sprite::Region kSquare = sprite::pieceSquare(3);

TEST_F(CarriedPiece, FollowsThePointerWithTheHeldSquaresCentreUnderIt)
{
    putPiece(1, {{0, 0}, {0, 1}});
    takeFromSlot(1);
    moveTo(400, 300);
    EXPECT_EQ(state.grabOffsetX, 22);
    EXPECT_EQ(state.grabOffsetY, 68);
    EXPECT_TRUE(shows(378, 232, kSquare));
    EXPECT_TRUE(shows(378, 277, kSquare));
    // The shadow darkens the board right of and below the piece, and only there.
    EXPECT_LT(brightness(surface().pixel(425, 330)), brightness(boardPixel(425, 330)));
    EXPECT_LT(brightness(surface().pixel(400, 325)), brightness(boardPixel(400, 325)));
    EXPECT_EQ(surface().pixel(440, 300), boardPixel(440, 300));
    EXPECT_EQ(surface().pixel(385, 335), boardPixel(385, 335));
}

TEST_F(CarriedPiece, DraggingAcrossTheBoardAndBackLeavesEveryPixelAsItWas)
{
    putPiece(1, {{0, 0}, {1, 0}, {1, 1}, {2, 1}});
    takeFromSlot(1);
    const Surface before = surface().clone();
    for (int step = 0; step <= 40; ++step) {
        moveTo(675 - step * 12, 60 + step * 9);
    }
    moveTo(5, 5);        // picture partly above and left of the window
    moveTo(758, 556);    // and partly beyond its right and bottom edges
    moveTo(675, 60);
    EXPECT_TRUE(surface().pixelsEqual(before));
}

TEST_F(CarriedPiece, NearTheEdgesNothingOutsideThePictureIsDisturbed)
{
    putPiece(1, {{0, 0}, {1, 0}});
    takeFromSlot(1);
    moveTo(300, 300);
    const Surface before = surface().clone();
    moveTo(750, 550);
    const auto inPicture = [](int x, int y, int left, int top) {
        return x >= left && x < left + 190 && y >= top && y < top + 190;
    };
    EXPECT_TRUE(everyPixel(Rect{0, 0, surface().width(), surface().height()}, [&](int x, int y) {
        return inPicture(x, y, 278, 278) || inPicture(x, y, 728, 528) || surface().pixel(x, y) == before.pixel(x, y);
    }));
    // What is left of the held square inside the surface is still drawn.
    EXPECT_TRUE(shows(728, 528, sprite::Region{kSquare.x, kSquare.y, surface().width() - 728, surface().height() - 528}));
}

TEST_F(CarriedPiece, TurningKeepsTheHeldSquareUnderThePointer)
{
    putPiece(1, {{0, 0}, {0, 1}, {0, 2}});
    takeFromSlot(1);
    moveTo(400, 300);
    EXPECT_EQ(state.grabOffsetY, 112);
    ASSERT_TRUE(shows(378, 188, kSquare));
    press(400, 300, MouseButtons::Right);
    EXPECT_EQ(state.grabOffsetX, 22);
    EXPECT_EQ(state.grabOffsetY, 22);
    EXPECT_TRUE(shows(378, 278, kSquare));
    EXPECT_TRUE(shows(423, 278, kSquare));
    EXPECT_TRUE(shows(468, 278, kSquare));
    EXPECT_FALSE(shows(378, 188, kSquare)) << "the upright picture is gone";
}

TEST_F(CarriedPiece, AQuickDoubleRightPressTurnsTwice)
{
    putPiece(1, {{0, 0}, {1, 0}, {2, 0}, {0, 1}});
    takeFromSlot(1);
    simulate::doubleClick(window(), MouseButtons::Right, 400, 300);
    const PieceShape& piece = state.piecePool[state.carriedPiece];
    EXPECT_EQ(piece.width, 3);
    EXPECT_EQ(piece.squares[4], (Square{2, 0})) << "turned half way round";
}

TEST_F(CarriedPiece, ATickUnderThePieceLeavesNoStalePixelsBehind)
{
    putPiece(1, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    takeFromSlot(1);
    moveTo(560, 40);   // the picture covers the gauge
    for (int tick = 0; tick < 6; ++tick) {
        form->timerPieces_Timer();
    }
    moveTo(300, 300);
    EXPECT_TRUE(allOf(Rect{537, 20, 562, 30}, blueBrush.colour));
    EXPECT_TRUE(allOf(Rect{562, 20, 587, 30}, lightBlueBrush.colour));
}

TEST_F(CarriedPiece, ADropOnFreeCellsPutsTheSquaresThereAndAFullRowShrinksAway)
{
    for (int col = 1; col <= 7; ++col) state.boardCells(9, col) = 11;
    form->drawBoard();
    putPiece(1, {{0, 0}, {1, 0}}, 2);
    takeFromSlot(1);
    moveTo(202 + 7 * 45 + 22, 58 + 8 * 45 + 22);
    press(202 + 7 * 45 + 22, 58 + 8 * 45 + 22);
    EXPECT_FALSE(state.pieceDragOn);
    EXPECT_EQ(state.totalScore, 10);
    EXPECT_TRUE(shows(202, 58 + 8 * 45, sprite::boardTile(state.boardBase(9, 1))));
    EXPECT_TRUE(shows(202 + 8 * 45, 58 + 8 * 45, sprite::boardTile(state.boardBase(9, 9))));
}

TEST_F(CarriedPiece, AClearFrameShowsTheTileAroundTheShrunkSquare)
{
    state.boardCells(1, 1) = 14;
    state.boardMarks.resize(9, 9);
    state.boardMarks(1, 1) = 1;
    form->drawClearFrame(form->boardPanel(), 4.0 / 6.0);
    EXPECT_EQ(surface().pixel(202 + 3, 58 + 3), sprites().pixel(3, 3)) << "tile 1 at the corner";
    EXPECT_EQ(surface().pixel(202 + 8, 58 + 8), sprites().pixel(135, 45)) << "the square 8 pixels in";
    form->drawClearFrame(form->boardPanel(), 0.0);
    EXPECT_TRUE(shows(202, 58, sprite::boardTile(1)));
}

} // namespace
} // namespace snugbox::testing
