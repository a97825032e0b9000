#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "graphics/colours.h"
#include "graphics/graphics.h"
#include "graphics/sprite_layout.h"
#include "rules/game_state.h"
#include "tests/graphics/graphics_test_helpers.h"

namespace snugbox {
namespace {

using sprite::Region;
using testing::panelOn;

struct Look {
    double brightness = 0;
    int colours = 0;
};

Look lookOf(const Surface& sheet, const Region& region)
{
    Look look;
    std::set<std::uint32_t> colours;
    for (int y = region.y; y < region.y + region.height; ++y) {
        for (int x = region.x; x < region.x + region.width; ++x) {
            const Rgb pixel = sheet.pixel(x, y);
            const double luminance = 0.2126 * pixel.red + 0.7152 * pixel.green + 0.0722 * pixel.blue;
            look.brightness += luminance / (region.width * region.height);
            colours.insert(static_cast<std::uint32_t>(pixel.red << 16 | pixel.green << 8 | pixel.blue));
        }
    }
    look.colours = static_cast<int>(colours.size());
    return look;
}

class ShippedArt : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Application::instance();
        resources = std::make_unique<GraphicsResources>();
        loadGraphics(*resources, std::string(SNUGBOX_DATA_DIR) + "/");
    }
    static void TearDownTestSuite() { resources.reset(); }
    static const Surface& sheet() { return resources->spriteSurface; }

    static std::unique_ptr<GraphicsResources> resources;
};

std::unique_ptr<GraphicsResources> ShippedArt::resources;

TEST_F(ShippedArt, PicturesFillEveryRegionTheGameCopiesFrom)
{
    ASSERT_EQ(std::pair(sheet().width(), sheet().height()), std::pair(sprite::kSheetWidth, sprite::kSheetHeight));
    const Surface& welcome = resources->backgroundSurface;
    EXPECT_EQ(std::pair(welcome.width(), welcome.height()), std::pair(680, 450));
    std::vector<Region> pictures{sprite::sidePicture, sprite::levelBadge, sprite::scorePlate, sprite::emptyScoreBar,
                                 sprite::fullScoreBar};
    for (int tile = 1; tile <= sprite::kTileCount; ++tile) {
        pictures.push_back(sprite::boardTile(tile));
    }
    for (int face = sprite::kFaceExit; face <= sprite::kFaceHelp; ++face) {
        pictures.push_back(sprite::buttonFace(face, false));
        EXPECT_GT(lookOf(sheet(), sprite::buttonFace(face, true)).brightness,
                  lookOf(sheet(), sprite::buttonFace(face, false)).brightness) << "lit face " << face;
    }
    for (const Region& picture : pictures) {
        EXPECT_GE(lookOf(sheet(), picture).colours, 16) << picture.x << ", " << picture.y;
    }
    for (int colour = 1; colour <= colourCount; ++colour) {
        const Look piece = lookOf(sheet(), sprite::pieceSquare(colour));
        EXPECT_GE(piece.colours, 16) << "colour " << colour;
        EXPECT_LT(lookOf(sheet(), sprite::shadowSquare(colour)).brightness, piece.brightness) << "shadow " << colour;
    }
}

// Everything the main window paints comes out of the sheet pixel for pixel. With
// SNUGBOX_MOCK_DIR set the picture is written there, to look at the art in place.
TEST_F(ShippedArt, MainWindowMockMatchesTheSheetPixelForPixel)
{
    Surface window = testing::filledSurface(765, 563, panelBrush.colour);
    GameState state;
    state.boardRows = state.boardCols = 9;
    state.boardCells.resize(9, 9, 5);
    state.boardCells(1, 2) = 6;
    state.boardCells(9, 8) = 13;
    drawBoard(panelOn(window, 202, 58, 405, 405, cellSize), state, sheet());
    EXPECT_TRUE(testing::showsBlock(window, 202, 58, sheet(), 180, 0, 45, 45)) << "tile 5";
    EXPECT_TRUE(testing::showsBlock(window, 247, 58, sheet(), 225, 0, 45, 45)) << "tile 6 in row 1, column 2";
    EXPECT_TRUE(testing::showsBlock(window, 517, 418, sheet(), 90, 45, 45, 45)) << "colour 3 in row 9, column 8";
    EXPECT_EQ(testing::boundsWhere(window, [](Rgb p) { return p != panelBrush.colour; }), (Rect{202, 58, 607, 463}));

    state.dispensers[1] = panelOn(window, 630, 15, 90, 90, 20);
    PieceShape piece;
    piece.squareCount = piece.width = piece.height = 1;
    piece.squares.push_back(Square{0, 0});
    piece.colours.push_back(4);
    drawPieceInSlot(state, sheet(), 1, piece);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const Rgb sprite = sheet().pixel(135 + x * 45 / 20, 45 + y * 45 / 20);
            ASSERT_EQ(window.pixel(665 + x, 50 + y), sprite) << x << "," << y;
        }
    }

    for (bool lit : {true, false}) {
        const Region face = sprite::buttonFace(sprite::kFaceNewGame, lit);
        drawButtonFace(panelOn(window, 25, 231 + (lit ? 0 : 50), 122, 30), sheet(), sprite::kFaceNewGame, lit);
        EXPECT_TRUE(testing::showsBlock(window, 25, 231 + (lit ? 0 : 50), sheet(), face.x, face.y, 122, 30)) << lit;
    }

    // The score bar at 100 of 241 pixels: the full picture, then the empty one.
    window.blockCopy(431, 485, 141, 25, sheet(), 100, 428, RasterOp::SrcCopy);
    window.blockCopy(331, 485, 100, 25, sheet(), 0, 456, RasterOp::SrcCopy);
    EXPECT_TRUE(testing::showsBlock(window, 331, 485, sheet(), 0, 456, 100, 25));
    EXPECT_TRUE(testing::showsBlock(window, 431, 485, sheet(), 100, 428, 141, 25));
    if (const char* directory = std::getenv("SNUGBOX_MOCK_DIR")) {
        EXPECT_TRUE(window.savePng(std::string(directory) + "/mock-main-window.png"));
    }
}

} // namespace
} // namespace snugbox
