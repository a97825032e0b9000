#include <gtest/gtest.h>

#include <fstream>

#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/sprite_layout.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "rules/game_state.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

using testing::codedColour;
using testing::codedSheet;
using testing::filledSurface;
using testing::panelOn;

constexpr Rgb kBackground{0, 0, 0};

// True when the size x size block at (x, y) of the target shows the sheet's block at
// (sourceX, sourceY) unscaled.
::testing::AssertionResult showsSprite(const Surface& target, int x, int y, int sourceX, int sourceY, int width,
                                       int height)
{
    for (int dy = 0; dy < height; ++dy) {
        for (int dx = 0; dx < width; ++dx) {
            if (target.pixel(x + dx, y + dy) != codedColour(sourceX + dx, sourceY + dy)) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x + dx << ", " << y + dy << ") is not sheet pixel (" << sourceX + dx << ", "
                       << sourceY + dy << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

class SpriteCopies : public ::testing::Test {
protected:
    Surface sheet = codedSheet();
    Surface window = filledSurface(800, 600, kBackground);
    Panel board = boardPanel();

    Panel boardPanel()
    {
        Panel panel = panelOn(window, 202, 58, 405, 405);
        panel.tag = cellSize;
        return panel;
    }
};

TEST_F(SpriteCopies, CellValuesPickTheirTileOrPieceSquare)
{
    drawCell(board, sheet, 0, 0, 10);
    drawCell(board, sheet, 1, 0, 11);
    drawCell(board, sheet, 8, 8, 15);
    drawCell(board, sheet, 2, 0, 1);
    EXPECT_TRUE(showsSprite(window, 202, 58, 405, 0, 45, 45)) << "value 10 is board tile 10";
    EXPECT_TRUE(showsSprite(window, 247, 58, 0, 45, 45, 45)) << "value 11 is piece colour 1";
    EXPECT_TRUE(showsSprite(window, 202 + 8 * 45, 58 + 8 * 45, 180, 45, 45, 45)) << "value 15 is colour 5";
    EXPECT_TRUE(showsSprite(window, 292, 58, 0, 0, 45, 45)) << "value 1 is board tile 1";
}

TEST_F(SpriteCopies, ASmallerSquareShowsTheSpritesCornerUnscaled)
{
    Panel small = panelOn(window, 10, 10, 100, 100);
    small.tag = 20;
    drawCell(small, sheet, 2, 1, 13);
    EXPECT_TRUE(showsSprite(window, 50, 30, 90, 45, 20, 20));
    EXPECT_EQ(window.pixel(70, 30), kBackground) << "nothing beyond the 20 x 20 square";
    EXPECT_EQ(window.pixel(50, 50), kBackground);
}

TEST_F(SpriteCopies, ValuesThatAreNeitherTileNorSquarePaintNothing)
{
    for (std::int16_t value : {0, 16, -1, 255}) {
        drawCell(board, sheet, 0, 0, value);
        drawShrunkCell(board, sheet, 0, 0, value, 0.5);
    }
    EXPECT_EQ(window.pixel(202, 58), kBackground);
    EXPECT_EQ(window.pixel(224, 80), kBackground);
}

TEST_F(SpriteCopies, TheBoardShowsEveryCellOfTheGrid)
{
    GameState state;
    state.boardRows = 9;
    state.boardCols = 9;
    state.boardCells.resize(9, 9, 1);
    state.boardCells(1, 2) = 2;
    state.boardCells(9, 9) = 14;
    state.boardCells(5, 3) = 12;
    drawBoard(board, state, sheet);
    EXPECT_TRUE(showsSprite(window, 202, 58, 0, 0, 45, 45));
    EXPECT_TRUE(showsSprite(window, 247, 58, 45, 0, 45, 45)) << "row 1, column 2";
    EXPECT_TRUE(showsSprite(window, 202 + 2 * 45, 58 + 4 * 45, 45, 45, 45, 45)) << "row 5, column 3";
    EXPECT_TRUE(showsSprite(window, 562, 418, 135, 45, 45, 45)) << "row 9, column 9";
    EXPECT_EQ(window.pixel(201, 58), kBackground);
    EXPECT_EQ(window.pixel(607, 462), kBackground);
}

TEST_F(SpriteCopies, ABoardNotLaidOutYetPaintsNothing)
{
    GameState state;
    state.boardRows = 9;   // sized, but its grid was never made
    state.boardCols = 9;
    drawBoard(board, state, sheet);
    EXPECT_EQ(window.takeChangedArea(), (Rect{0, 0, 800, 600})) << "only the first fill was ever painted";
    EXPECT_TRUE(window.takeChangedArea().isEmpty());
}

// The line-clear frames are computed in double: 45 * 5/6 is a hair above 37.5 and its
// inset a hair below 3.75; the inset at 4/6 is a hair above 7.5.
TEST_F(SpriteCopies, ShrunkCellsAreCentredAndRoundedAsTheAnimationExpects)
{
    Panel corner = panelOn(window, 0, 0, 405, 405);
    corner.tag = cellSize;
    drawShrunkCell(corner, sheet, 0, 0, 12, 5.0 / 6.0);
    const Rect five = testing::boundsWhere(window, [](Rgb pixel) { return pixel != kBackground; });
    EXPECT_EQ(five, (Rect{4, 4, 4 + 38, 4 + 38}));

    Surface again = filledSurface(800, 600, kBackground);
    corner.surface = &again;
    drawShrunkCell(corner, sheet, 0, 0, 12, 4.0 / 6.0);
    const Rect four = testing::boundsWhere(again, [](Rgb pixel) { return pixel != kBackground; });
    EXPECT_EQ(four, (Rect{8, 8, 8 + 30, 8 + 30}));
    // The shrunk square is the whole piece square, scaled: its corners are the sprite's.
    EXPECT_EQ(again.pixel(8, 8), codedColour(45, 45));
    EXPECT_EQ(again.pixel(37, 37), codedColour(45 + 43, 45 + 43));
}

TEST_F(SpriteCopies, ShrunkCellsOnTheBoardShrinkAboutTheirOwnCell)
{
    drawShrunkCell(board, sheet, 2, 1, 15, 0.5);
    // Cell corner (292, 103); inset 11.25 and size 22.5 round to 11 and 22.
    EXPECT_EQ(testing::boundsWhere(window, [](Rgb pixel) { return pixel != kBackground; }),
              (Rect{303, 114, 325, 136}));
    EXPECT_EQ(window.pixel(303, 114), codedColour(180, 45));
}

TEST_F(SpriteCopies, APieceIsCentredInItsSlot)
{
    GameState state;
    Panel& slot = state.dispensers[3];
    slot = panelOn(window, 100, 200, 122, 90);
    slot.tag = 20;
    PieceShape piece;
    piece.squareCount = 2;
    piece.width = 2;
    piece.height = 3;
    piece.squares.push_back(Square{0, 0});
    piece.squares.push_back(Square{1, 2});
    piece.colours.push_back(2);
    piece.colours.push_back(5);
    drawPieceInSlot(state, sheet, 3, piece);
    // 41 = (122 - 2 * 20) / 2 and 15 = (90 - 3 * 20) / 2.
    EXPECT_EQ(window.pixel(141, 215), codedColour(45, 45)) << "square 1 starts 41 right and 15 down";
    EXPECT_EQ(window.pixel(140, 215), kBackground);
    EXPECT_EQ(window.pixel(141, 214), kBackground);
    EXPECT_EQ(window.pixel(161, 255), codedColour(180, 45)) << "square 2, colour 5, at column 1 row 2";
    // Squares are the 45 x 45 sprite scaled to 20 x 20 by nearest pixels.
    EXPECT_EQ(window.pixel(180, 274), codedColour(180 + 42, 45 + 42));
    EXPECT_EQ(window.pixel(181, 255), kBackground);
    EXPECT_EQ(window.pixel(161, 235), kBackground) << "no square at column 1 row 1";
}

TEST_F(SpriteCopies, HalfPixelSlotOffsetsRoundToEven)
{
    GameState state;
    state.dispensers[1] = panelOn(window, 0, 0, 95, 95);
    state.dispensers[1].tag = 20;
    PieceShape piece;
    piece.squareCount = 1;
    piece.width = 1;
    piece.height = 4;
    piece.squares.push_back(Square{0, 0});
    piece.colours.push_back(1);
    drawPieceInSlot(state, sheet, 1, piece);
    // (95 - 20) / 2 = 37.5 gives 38; (95 - 80) / 2 = 7.5 gives 8.
    EXPECT_EQ(testing::boundsWhere(window, [](Rgb p) { return p != kBackground; }), (Rect{38, 8, 58, 28}));
}

TEST_F(SpriteCopies, SlotsOutsideTheTableAndPiecesShortOfSquaresAreSafe)
{
    GameState state;
    state.dispensers[1] = panelOn(window, 0, 0, 90, 90);
    state.dispensers[1].tag = 20;
    PieceShape piece;
    piece.squareCount = 6;   // claims more squares than it holds
    piece.width = 1;
    piece.height = 1;
    piece.squares.push_back(Square{0, 0});
    piece.colours.push_back(1);
    drawPieceInSlot(state, sheet, 0, piece);
    drawPieceInSlot(state, sheet, 21, piece);
    EXPECT_EQ(window.pixel(35, 35), kBackground);
    drawPieceInSlot(state, sheet, 1, piece);
    EXPECT_EQ(window.pixel(35, 35), codedColour(0, 45));
}

TEST_F(SpriteCopies, FacesComeFromTheirRegionsAtThePanelsSize)
{
    Panel level = panelOn(window, 247, 473, 50, 50);
    drawPanelFace(level, sheet, sprite::kKindLevelBadge, true);
    EXPECT_TRUE(showsSprite(window, 247, 473, 246, 144, 50, 50));
    Panel side = panelOn(window, 10, 100, 165, 67);
    drawPanelFace(side, sheet, sprite::kKindSidePicture, false);
    EXPECT_TRUE(showsSprite(window, 10, 100, 225, 45, 165, 67));

    Panel button = panelOn(window, 25, 231, 122, 30);
    drawButtonFace(button, sheet, 5, true);
    EXPECT_TRUE(showsSprite(window, 25, 231, 0, 114 + 31 * 5, 122, 30)) << "lit";
    drawButtonFace(button, sheet, 5, false);
    EXPECT_TRUE(showsSprite(window, 25, 231, 123, 114 + 31 * 5, 122, 30)) << "normal";
    EXPECT_EQ(window.pixel(25, 261), kBackground) << "30 rows only";

    Panel score = panelOn(window, 315, 10, 122, 31);
    drawButtonFace(score, sheet, 9, true);
    EXPECT_TRUE(showsSprite(window, 315, 10, 0, 393, 122, 31));
}

TEST_F(SpriteCopies, UnknownPanelFacesPaintNothing)
{
    Panel panel = panelOn(window, 0, 0, 50, 50);
    for (int kind : {0, 1, 3, 7, 9}) {
        drawPanelFace(panel, sheet, kind, true);
    }
    EXPECT_EQ(window.pixel(10, 10), kBackground);
}

TEST_F(SpriteCopies, CopyPictureTakesTheTopLeftOfItsSource)
{
    Panel whole = panelOn(window, 5, 6, 100, 80);
    copyPicture(whole, sheet);
    EXPECT_TRUE(showsSprite(window, 5, 6, 0, 0, 100, 80));
    EXPECT_EQ(window.pixel(105, 6), kBackground);
    // A picture smaller than the panel covers only its own area.
    const Surface small = codedSheet(30, 20);
    Surface target = filledSurface(100, 100, kBackground);
    copyPicture(panelOn(target, 0, 0, 100, 100), small);
    EXPECT_EQ(testing::boundsWhere(target, [](Rgb p) { return p != kBackground; }), (Rect{0, 0, 30, 20}));
}

TEST_F(SpriteCopies, CopiesAtTheSurfacesEdgesPaintOnlyWhatIsInside)
{
    Surface small = filledSurface(60, 60, kBackground);
    Panel offEdge = panelOn(small, -20, 30, 405, 405);
    offEdge.tag = cellSize;
    drawCell(offEdge, sheet, 0, 0, 3);   // spans x -20..24, y 30..74
    EXPECT_EQ(small.pixel(0, 30), codedColour(90 + 20, 0));
    EXPECT_EQ(small.pixel(24, 59), codedColour(90 + 44, 29));
    EXPECT_EQ(small.pixel(25, 30), kBackground);
    drawCell(offEdge, sheet, 5, 5, 3);   // wholly outside
    drawShrunkCell(offEdge, sheet, 1, 0, 11, 0.5);   // 22 x 22 at (36, 41): cut at the bottom
    EXPECT_EQ(small.pixel(36, 41), codedColour(0, 45));
    EXPECT_EQ(small.pixel(57, 59), codedColour(21 * 45 / 22, 45 + 18 * 45 / 22));
}

TEST_F(SpriteCopies, PanelsWithoutASurfacePaintNothingAndDoNotCrash)
{
    Panel none;
    none.width = 100;
    none.height = 100;
    none.tag = 45;
    drawCell(none, sheet, 0, 0, 11);
    drawShrunkCell(none, sheet, 0, 0, 11, 0.5);
    drawPanelFace(none, sheet, 2, true);
    drawButtonFace(none, sheet, 4, true);
    copyPicture(none, sheet);
    GameState state;
    state.dispensers[1] = none;
    PieceShape piece;
    piece.squareCount = 1;
    piece.squares.push_back(Square{0, 0});
    piece.colours.push_back(1);
    drawPieceInSlot(state, sheet, 1, piece);
    none.brush = Brush{true, Rgb{1, 2, 3}};
    drawBox(none, kBoxWideFramed);
    drawButton(none, kButtonDoubleFramed, true, 4, "Exit");
    drawShadowText(none, 1, "text", kShadowTextDefault);
    SUCCEED();
}

TEST(CarrySurfaces, AreThreeSquaresRoomyEnoughForAFourByFourPieceAndItsShadow)
{
    GraphicsResources resources;
    createCarrySurfaces(resources);
    EXPECT_EQ(resources.carrySurfaceSize, 190);
    EXPECT_EQ(resources.carryShadowOffset, 10);
    for (const Surface* surface :
         {&resources.pieceMaskSurface, &resources.pieceImageSurface, &resources.saveUnderSurface}) {
        EXPECT_EQ(surface->width(), 190);
        EXPECT_EQ(surface->height(), 190);
    }
}

TEST(LoadGraphics, MissingOrBrokenPicturesLeaveEmptySurfacesAndPlayGoesOn)
{
    testing::TempDir empty;
    GraphicsResources resources;
    resources.spriteSurface.reset(5, 5);   // whatever was there before does not survive
    loadGraphics(resources, empty.path().string() + "/");
    EXPECT_TRUE(resources.spriteSurface.isNull());
    EXPECT_TRUE(resources.backgroundSurface.isNull());

    std::ofstream(empty.file("ALLPICDATA.BMP")) << "BM this is not a picture";
    loadGraphics(resources, empty.path().string() + "/");
    EXPECT_TRUE(resources.spriteSurface.isNull());

    // Drawing from the empty sheet changes nothing.
    Surface window = filledSurface(100, 100, Rgb{9, 9, 9});
    Panel board = panelOn(window, 0, 0, 90, 90);
    board.tag = 45;
    GameState state;
    state.boardRows = 2;
    state.boardCols = 2;
    state.boardCells.resize(2, 2, 11);
    drawBoard(board, state, resources.spriteSurface);
    drawButtonFace(board, resources.spriteSurface, 5, true);
    EXPECT_EQ(testing::countWhere(window, Rect{0, 0, 100, 100}, [](Rgb p) { return p != Rgb{9, 9, 9}; }), 0);
}

TEST(LoadGraphics, LoadsBothShippedPictures)
{
    GraphicsResources resources;
    loadGraphics(resources, std::string(SNUGBOX_DATA_DIR) + "/");
    EXPECT_EQ(resources.spriteSurface.width(), sprite::kSheetWidth);
    EXPECT_EQ(resources.spriteSurface.height(), sprite::kSheetHeight);
    EXPECT_EQ(resources.backgroundSurface.width(), 680);
    EXPECT_EQ(resources.backgroundSurface.height(), 450);
}

} // namespace
} // namespace snugbox
