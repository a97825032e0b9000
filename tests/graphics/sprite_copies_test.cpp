#include <gtest/gtest.h>

#include <fstream>

#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/sprite_layout.h"
#include "rules/game_state.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

using testing::codedColour;
using testing::panelOn;

constexpr Rgb kBackground{0, 0, 0};

PieceShape pieceOf(std::initializer_list<Square> squares, std::initializer_list<std::int16_t> colours, int width,
                   int height)
{
    PieceShape piece;
    for (const Square& square : squares) {
        piece.squares.push_back(square);
    }
    for (std::int16_t colour : colours) {
        piece.colours.push_back(colour);
    }
    piece.squareCount = static_cast<std::int16_t>(piece.squares.count());
    piece.width = static_cast<std::uint8_t>(width);
    piece.height = static_cast<std::uint8_t>(height);
    return piece;
}

class SpriteCopies : public ::testing::Test {
protected:
    ::testing::AssertionResult showsSprite(int x, int y, int sourceX, int sourceY, int width = 45, int height = 45)
    {
        return testing::showsBlock(window, x, y, sheet, sourceX, sourceY, width, height);
    }
    Rect paintedArea() const { return testing::boundsWhere(window, [](Rgb p) { return p != kBackground; }); }

    Surface sheet = testing::codedSheet();
    Surface window{800, 600};
    Panel board = panelOn(window, 202, 58, 405, 405, cellSize);
};

TEST_F(SpriteCopies, CellValuesPickTheirTileOrPieceSquareAtThePanelsSquareSize)
{
    drawCell(board, sheet, 0, 0, 10);
    drawCell(board, sheet, 1, 0, 11);
    drawCell(board, sheet, 8, 8, 15);
    drawCell(board, sheet, 2, 0, 1);
    EXPECT_TRUE(showsSprite(202, 58, 405, 0)) << "value 10 is board tile 10";
    EXPECT_TRUE(showsSprite(247, 58, 0, 45)) << "value 11 is piece colour 1";
    EXPECT_TRUE(showsSprite(562, 418, 180, 45)) << "value 15 is colour 5";
    EXPECT_TRUE(showsSprite(292, 58, 0, 0)) << "value 1 is board tile 1";

    Surface small(100, 100);
    Panel twenty = panelOn(small, 10, 10, 100, 100, 20);
    drawCell(twenty, sheet, 2, 1, 13);
    EXPECT_TRUE(testing::showsBlock(small, 50, 30, sheet, 90, 45, 20, 20)) << "the sprite's corner, unscaled";
    EXPECT_EQ(testing::boundsWhere(small, [](Rgb p) { return p != kBackground; }), (Rect{50, 30, 70, 50}));
}

TEST_F(SpriteCopies, ValuesThatAreNeitherTileNorSquareAndBoardsNotLaidOutPaintNothing)
{
    for (std::int16_t value : {0, 16, -1, 255}) {
        drawCell(board, sheet, 0, 0, value);
        drawShrunkCell(board, sheet, 0, 0, value, 0.5);
    }
    GameState state;
    state.boardRows = state.boardCols = 9;   // sized, but its grid was never made
    drawBoard(board, state, sheet);
    EXPECT_TRUE(paintedArea().isEmpty());
}

// The line-clear frames are computed in double: 45 * 5/6 is a hair above 37.5 and its
// inset a hair below 3.75; the inset at 4/6 is a hair above 7.5.
TEST_F(SpriteCopies, ShrunkCellsAreCentredInTheirCellAndRoundedAsTheAnimationExpects)
{
    const Panel corner = panelOn(window, 0, 0, 405, 405, cellSize);
    const struct {
        double scale;
        std::int16_t col0;
        std::int16_t row0;
        Rect area;
    } frames[] = {{0.5, 2, 1, Rect{101, 56, 123, 78}}, {5.0 / 6.0, 0, 0, Rect{4, 4, 42, 42}},
                  {4.0 / 6.0, 0, 0, Rect{8, 8, 38, 38}}};
    for (const auto& frame : frames) {
        window.fillRect(Rect{0, 0, 800, 600}, Brush{true, kBackground});
        drawShrunkCell(corner, sheet, frame.col0, frame.row0, 12, frame.scale);
        EXPECT_EQ(paintedArea(), frame.area) << frame.scale;
        EXPECT_EQ(window.pixel(frame.area.left, frame.area.top), codedColour(45, 45)) << "the whole square, scaled";
    }
    EXPECT_EQ(window.pixel(37, 37), codedColour(45 + 43, 45 + 43));
}

TEST_F(SpriteCopies, APieceIsCentredInItsSlotHalvesGoingToEven)
{
    GameState state;
    state.dispensers[3] = panelOn(window, 100, 200, 122, 90, 20);
    drawPieceInSlot(state, sheet, 3, pieceOf({{0, 0}, {1, 2}}, {2, 5}, 2, 3));
    // 41 = (122 - 2 * 20) / 2 and 15 = (90 - 3 * 20) / 2; squares are the sprite scaled to 20.
    EXPECT_EQ(paintedArea(), (Rect{141, 215, 181, 275}));
    EXPECT_EQ(window.pixel(141, 215), codedColour(45, 45)) << "square 1, colour 2, at column 0 row 0";
    EXPECT_EQ(window.pixel(161, 255), codedColour(180, 45)) << "square 2, colour 5, at column 1 row 2";
    EXPECT_EQ(window.pixel(180, 274), codedColour(180 + 42, 45 + 42));
    EXPECT_EQ(window.pixel(161, 235), kBackground) << "no square at column 1 row 1";

    // (95 - 20) / 2 = 37.5 gives 38; (95 - 80) / 2 = 7.5 gives 8.
    Surface other(100, 100);
    state.dispensers[1] = panelOn(other, 0, 0, 95, 95, 20);
    drawPieceInSlot(state, sheet, 1, pieceOf({{0, 0}}, {1}, 1, 4));
    EXPECT_EQ(testing::boundsWhere(other, [](Rgb p) { return p != kBackground; }), (Rect{38, 8, 58, 28}));
}

TEST_F(SpriteCopies, SlotsOutsideTheTableAndPiecesShortOfSquaresAreSafe)
{
    GameState state;
    state.dispensers[1] = panelOn(window, 0, 0, 90, 90, 20);
    PieceShape piece = pieceOf({{0, 0}}, {1}, 1, 1);
    piece.squareCount = 6;   // claims more squares than it holds
    drawPieceInSlot(state, sheet, 0, piece);
    drawPieceInSlot(state, sheet, 21, piece);
    EXPECT_TRUE(paintedArea().isEmpty());
    drawPieceInSlot(state, sheet, 1, piece);
    EXPECT_EQ(paintedArea(), (Rect{35, 35, 55, 55}));
}

TEST_F(SpriteCopies, FacesComeFromTheirRegionsAtThePanelsSize)
{
    drawPanelFace(panelOn(window, 247, 473, 50, 50), sheet, sprite::kKindLevelBadge, true);
    EXPECT_TRUE(showsSprite(247, 473, 246, 144, 50, 50));
    drawPanelFace(panelOn(window, 10, 100, 165, 67), sheet, sprite::kKindSidePicture, false);
    EXPECT_TRUE(showsSprite(10, 100, 225, 45, 165, 67));
    const Panel button = panelOn(window, 25, 231, 122, 30);
    drawButtonFace(button, sheet, 5, true);
    EXPECT_TRUE(showsSprite(25, 231, 0, 114 + 31 * 5, 122, 30)) << "lit";
    drawButtonFace(button, sheet, 5, false);
    EXPECT_TRUE(showsSprite(25, 231, 123, 114 + 31 * 5, 122, 30)) << "normal";
    drawButtonFace(panelOn(window, 315, 10, 122, 31), sheet, 9, true);
    EXPECT_TRUE(showsSprite(315, 10, 0, 393, 122, 31)) << "the score plate";
    const Rect before = paintedArea();
    for (int kind : {0, 1, 3, 7, 9}) {
        drawPanelFace(panelOn(window, 500, 500, 50, 50), sheet, kind, true);
    }
    EXPECT_EQ(paintedArea(), before) << "unknown panel faces paint nothing";
}

TEST_F(SpriteCopies, CopiesAtTheSurfacesEdgesPaintOnlyWhatIsInside)
{
    Surface small(60, 60);
    const Panel offEdge = panelOn(small, -20, 30, 405, 405, cellSize);
    drawCell(offEdge, sheet, 0, 0, 3);   // spans x -20..24, y 30..74
    drawCell(offEdge, sheet, 5, 5, 3);   // wholly outside
    EXPECT_EQ(small.pixel(0, 30), codedColour(90 + 20, 0));
    EXPECT_EQ(small.pixel(24, 59), codedColour(90 + 44, 29));
    EXPECT_EQ(small.pixel(25, 30), kBackground);
    drawShrunkCell(offEdge, sheet, 1, 0, 11, 0.5);   // 22 x 22 at (36, 41): cut at the bottom
    EXPECT_EQ(small.pixel(57, 59), codedColour(21 * 45 / 22, 45 + 18 * 45 / 22));

    // A picture smaller than its panel covers only its own area.
    const Surface picture = testing::codedSheet(30, 20);
    copyPicture(panelOn(window, 5, 6, 100, 80), picture);
    EXPECT_EQ(paintedArea(), (Rect{5, 6, 35, 26}));
    EXPECT_TRUE(testing::showsBlock(window, 5, 6, picture, 0, 0, 30, 20));
}

TEST_F(SpriteCopies, PanelsWithoutASurfacePaintNothingAndDoNotCrash)
{
    Panel none;
    none.width = none.height = 100;
    none.tag = 45;
    none.brush = Brush{true, Rgb{1, 2, 3}};
    drawCell(none, sheet, 0, 0, 11);
    drawShrunkCell(none, sheet, 0, 0, 11, 0.5);
    drawPanelFace(none, sheet, 2, true);
    drawButtonFace(none, sheet, 4, true);
    copyPicture(none, sheet);
    GameState state;
    state.dispensers[1] = none;
    drawPieceInSlot(state, sheet, 1, pieceOf({{0, 0}}, {1}, 1, 1));
    drawBox(none, kBoxWideFramed);
    drawButton(none, kButtonDoubleFramed, true, 4, "Exit");
    drawShadowText(none, 1, "text", kShadowTextDefault);
}

TEST(CarrySurfaces, AreRoomyEnoughForAFourByFourPieceAndItsShadow)
{
    GraphicsResources resources;
    createCarrySurfaces(resources);
    EXPECT_EQ(resources.carryShadowOffset, 10);
    for (const Surface* surface :
         {&resources.pieceMaskSurface, &resources.pieceImageSurface, &resources.saveUnderSurface}) {
        EXPECT_EQ(std::pair(surface->width(), surface->height()), std::pair(190, 190));
    }
}

TEST(LoadGraphics, MissingOrBrokenPicturesLeaveEmptySurfacesThatPaintNothing)
{
    testing::TempDir folder;
    GraphicsResources resources;
    resources.spriteSurface.reset(5, 5);   // whatever was there before does not survive
    loadGraphics(resources, folder.path().string() + "/");
    EXPECT_TRUE(resources.spriteSurface.isNull());
    EXPECT_TRUE(resources.backgroundSurface.isNull());
    std::ofstream(folder.file("ALLPICDATA.BMP")) << "BM this is not a picture";
    loadGraphics(resources, folder.path().string() + "/");
    EXPECT_TRUE(resources.spriteSurface.isNull());

    Surface window = testing::filledSurface(100, 100, Rgb{9, 9, 9});
    GameState state;
    state.boardRows = state.boardCols = 2;
    state.boardCells.resize(2, 2, 11);
    drawBoard(panelOn(window, 0, 0, 90, 90, 45), state, resources.spriteSurface);
    drawButtonFace(panelOn(window, 0, 0, 90, 90), resources.spriteSurface, 5, true);
    EXPECT_TRUE(testing::boundsWhere(window, [](Rgb p) { return p != Rgb{9, 9, 9}; }).isEmpty());
}

} // namespace
} // namespace snugbox
