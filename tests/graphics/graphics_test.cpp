#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <set>

#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/sprite_layout.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "tests/support/scripted_random.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

using namespace testing;
using sprite::Region;

constexpr Rgb kBlack{0, 0, 0};   // a new surface's colour, too
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kFill{20, 40, 60};

Rect paintedArea(const Surface& surface)
{
    return boundsWhere(surface, [](Rgb p) { return p != kBlack; });
}

class SpriteCopies : public ::testing::Test {
protected:
    Surface sheet = codedSheet();
    Surface window{800, 600};
};

TEST_F(SpriteCopies, CellsShowTheirTileOrSquareAtThePanelsSizeAndShrinkCentredAsTheAnimationRounds)
{
    const Panel board = panelOn(window, 202, 58, 405, 405, cellSize);
    drawCell(board, sheet, 0, 0, 10);
    drawCell(board, sheet, 1, 0, 11);
    drawCell(board, sheet, 8, 8, 15);
    EXPECT_TRUE(showsBlock(window, 202, 58, sheet, 405, 0, 45, 45)) << "value 10 is board tile 10";
    EXPECT_TRUE(showsBlock(window, 247, 58, sheet, 0, 45, 45, 45)) << "value 11 is piece colour 1";
    EXPECT_TRUE(showsBlock(window, 562, 418, sheet, 180, 45, 45, 45)) << "value 15 is colour 5";

    Surface small(100, 100);
    drawCell(panelOn(small, 10, 10, 100, 100, 20), sheet, 2, 1, 13);
    EXPECT_TRUE(showsBlock(small, 50, 30, sheet, 90, 45, 20, 20)) << "the sprite's corner, unscaled";
    EXPECT_EQ(paintedArea(small), (Rect{50, 30, 70, 50}));

    // The line-clear frames are computed in double: 45 * 5/6 is a hair above 37.5 and its
    // inset a hair below 3.75; the inset at 4/6 is a hair above 7.5.
    const std::pair<double, Rect> frames[] = {{5.0 / 6.0, Rect{4, 4, 42, 42}}, {4.0 / 6.0, Rect{8, 8, 38, 38}}};
    for (const auto& [scale, area] : frames) {
        window.fillRect(Rect{0, 0, 800, 600}, Brush{true, kBlack});
        drawShrunkCell(panelOn(window, 0, 0, 405, 405, cellSize), sheet, 0, 0, 12, scale);
        EXPECT_EQ(paintedArea(window), area) << scale;
        EXPECT_EQ(window.pixel(area.left, area.top), codedColour(45, 45)) << "the whole square, scaled";
    }
    EXPECT_EQ(window.pixel(37, 37), codedColour(45 + 43, 45 + 43));
}

TEST_F(SpriteCopies, APieceIsCentredInItsSlotHalvesGoingToEven)
{
    GameState state;
    state.dispensers[3] = panelOn(window, 100, 200, 122, 90, 20);
    drawPieceInSlot(state, sheet, 3, pieceOf({{0, 0}, {1, 2}}, {2, 5}));
    // 41 = (122 - 2 * 20) / 2 and 15 = (90 - 3 * 20) / 2; squares are the sprite scaled to 20.
    EXPECT_EQ(paintedArea(window), (Rect{141, 215, 181, 275}));
    EXPECT_EQ(window.pixel(141, 215), codedColour(45, 45)) << "square 1, colour 2, at column 0 row 0";
    EXPECT_EQ(window.pixel(161, 255), codedColour(180, 45)) << "square 2, colour 5, at column 1 row 2";
    EXPECT_EQ(window.pixel(161, 235), kBlack) << "no square at column 1 row 1";

    // (95 - 20) / 2 = 37.5 gives 38 and (93 - 80) / 2 = 6.5 gives 6.
    Surface other(100, 100);
    state.dispensers[1] = panelOn(other, 0, 0, 95, 93, 20);
    drawPieceInSlot(state, sheet, 1, pieceOf({{0, 0}, {0, 3}}, {1, 1}));
    EXPECT_EQ(paintedArea(other), (Rect{38, 6, 58, 86}));
}

TEST(LoadGraphics, MissingOrBrokenPicturesLeaveEmptySurfaces)
{
    TempDir folder;
    std::ofstream(folder.file("ALLPICDATA.BMP")) << "BM this is not a picture";
    GraphicsResources resources;
    resources.spriteSurface.reset(5, 5);   // whatever was there before does not survive
    loadGraphics(resources, folder.path().string() + "/");
    EXPECT_TRUE(resources.spriteSurface.isNull()) << "broken";
    EXPECT_TRUE(resources.backgroundSurface.isNull()) << "missing";
}

// How many different colours the region holds: a picture, not a flat or missing patch.
std::size_t coloursIn(const Surface& sheet, const Region& region)
{
    std::set<std::uint32_t> colours;
    for (int i = 0; i < region.width * region.height; ++i) {
        const Rgb pixel = sheet.pixel(region.x + i % region.width, region.y + i / region.width);
        colours.insert(static_cast<std::uint32_t>(pixel.red << 16 | pixel.green << 8 | pixel.blue));
    }
    return colours.size();
}

TEST(ShippedArt, PicturesFillEveryRegionTheGameCopiesFrom)
{
    GraphicsResources art;
    loadGraphics(art, std::string(SNUGBOX_DATA_DIR) + "/");
    const Surface& sheet = art.spriteSurface;
    ASSERT_EQ(std::pair(sheet.width(), sheet.height()), std::pair(sprite::kSheetWidth, sprite::kSheetHeight));
    EXPECT_EQ(std::pair(art.backgroundSurface.width(), art.backgroundSurface.height()), std::pair(680, 450));
    std::vector<Region> pictures{sprite::sidePicture, sprite::levelBadge, sprite::scorePlate, sprite::emptyScoreBar,
                                 sprite::fullScoreBar};
    for (int tile = 1; tile <= sprite::kTileCount; ++tile) pictures.push_back(sprite::boardTile(tile));
    for (int colour = 1; colour <= colourCount; ++colour) pictures.push_back(sprite::pieceSquare(colour));
    for (int f = sprite::kFaceExit; f <= sprite::kFaceHelp; ++f) pictures.push_back(sprite::buttonFace(f, false));
    for (int f = sprite::kFaceExit; f <= sprite::kFaceHelp; ++f) pictures.push_back(sprite::buttonFace(f, true));
    for (const Region& picture : pictures) EXPECT_GE(coloursIn(sheet, picture), 16U) << picture.x << "," << picture.y;
}

// The board, a slot and a button of the main window come out of the sheet pixel for pixel
// (the score bar's test is the game window's).
TEST(ShippedArt, MainWindowMockMatchesTheSheetPixelForPixel)
{
    GraphicsResources art;
    loadGraphics(art, std::string(SNUGBOX_DATA_DIR) + "/");
    const Surface& sheet = art.spriteSurface;
    Surface window = filledSurface(765, 563, panelBrush.colour);
    GameState state;
    state.boardRows = state.boardCols = 9;
    state.boardCells.resize(9, 9, 5);
    state.boardCells(1, 2) = 6;
    state.boardCells(9, 8) = 13;
    drawBoard(panelOn(window, 202, 58, 405, 405, cellSize), state, sheet);
    EXPECT_TRUE(showsBlock(window, 202, 58, sheet, 180, 0, 45, 45)) << "tile 5";
    EXPECT_TRUE(showsBlock(window, 247, 58, sheet, 225, 0, 45, 45)) << "tile 6 in row 1, column 2";
    EXPECT_TRUE(showsBlock(window, 517, 418, sheet, 90, 45, 45, 45)) << "colour 3 in row 9, column 8";
    EXPECT_EQ(boundsWhere(window, [](Rgb p) { return p != panelBrush.colour; }), (Rect{202, 58, 607, 463}));

    state.dispensers[1] = panelOn(window, 630, 15, 90, 90, 20);
    drawPieceInSlot(state, sheet, 1, pieceOf({{0, 0}}, {4}));
    for (int i = 0; i < 20 * 20; ++i) {
        const int x = i % 20, y = i / 20;
        ASSERT_EQ(window.pixel(665 + x, 50 + y), sheet.pixel(135 + x * 45 / 20, 45 + y * 45 / 20)) << x << "," << y;
    }
    for (bool lit : {true, false}) {
        const Region face = sprite::buttonFace(sprite::kFaceNewGame, lit);
        drawButtonFace(panelOn(window, 25, 231, 122, 30), sheet, sprite::kFaceNewGame, lit);
        EXPECT_TRUE(showsBlock(window, 25, 231, sheet, face.x, face.y, 122, 30)) << lit;
    }
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override { Application::instance(); }
    Surface window = filledSurface(300, 200, kWhite);
    Surface second = filledSurface(300, 200, kWhite);
};

TEST_F(Drawing, BoxStylesFillWithThePanelsBrushOnlyAndFrameWhereTheyShould)
{
    constexpr Rgb kOutline{1, 2, 3};
    // style, then the bounds of the fill, of the selected pen's outline and of the frame
    const std::pair<int, std::array<Rect, 3>> styles[] = {
        {kBoxFilled, {Rect{10, 10, 30, 30}}},
        {kBoxOutlined, {Rect{11, 11, 29, 29}, Rect{10, 10, 30, 30}}},
        {kBoxFramed, {Rect{10, 10, 30, 30}, Rect{}, Rect{9, 9, 32, 32}}},
        {kBoxWideFramed, {Rect{10, 10, 30, 30}, Rect{}, Rect{8, 8, 33, 33}}},
        {4, {Rect{10, 10, 30, 30}}},
    };
    for (const auto& [style, bounds] : styles) {
        Surface surface = filledSurface(60, 60, kWhite);
        surface.selectPen(Pen{true, kOutline});
        Panel panel = panelOn(surface, 10, 10, 20, 20);
        panel.brush = Brush{true, kFill};
        drawBox(panel, static_cast<std::int16_t>(style));
        const auto where = [&surface](Rgb colour) { return boundsOfColour(surface, colour); };
        EXPECT_EQ((std::array{where(kFill), where(kOutline), where(framePen.colour)}), bounds) << style;
        if (style != kBoxFramed) continue;
        // A closed one-pixel frame on x, y = 9 and 31: column and row 30 stay unpainted.
        int framePixels = 0;
        for (int i = 0; i < 60 * 60; ++i) framePixels += surface.pixel(i % 60, i / 60) == framePen.colour ? 1 : 0;
        EXPECT_EQ(framePixels, 4 * 22);
        EXPECT_EQ(surface.pen(), framePen) << "the frame pen stays selected";
    }
    const Panel bare = panelOn(window, 10, 10, 20, 20);   // no brush
    drawBox(bare, kBoxFramed);
    drawButton(bare, kButtonFilled, false, 2, "");
    EXPECT_EQ(boundsWhere(window, [](Rgb p) { return p != kWhite; }), (Rect{9, 9, 32, 32})) << "the frame alone";
    EXPECT_EQ(window.pixel(20, 20), kWhite) << "a panel without a brush is not filled";
}

TEST_F(Drawing, ButtonCaptionsMoveHalfTheShiftUpAndRightOfTheirShadow)
{
    Panel button = panelOn(window, 20, 20, 180, 30);
    button.textColour = buttonTextColour;
    drawButton(button, kButtonNoBackground, true, 4, "Best Scores");
    const Rect lit = boundsOfColour(window, hoverTextColour), shadow = boundsOfColour(window, kBlack);
    EXPECT_EQ(std::pair(lit.left - shadow.left, shadow.bottom - lit.bottom), std::pair(2, 2));

    button.surface = &second;
    drawButton(button, kButtonNoBackground, false, 0, "Best Scores");
    EXPECT_FALSE(boundsOfColour(second, buttonTextColour).isEmpty()) << "not lit: the panel's own colour";
    EXPECT_TRUE(boundsOfColour(second, kBlack).isEmpty()) << "with no shift the caption covers its shadow";
}

TEST_F(Drawing, ShadowTextIsLeftAlignedLinesShadowedLeftAndBelowAndAnAmpersandUnderlines)
{
    Panel cell = panelOn(window, 45, 45, 200, 90);
    cell.textColour = rowTextColour;
    drawShadowText(cell, 1, "Wide line\nIl", kShadowTextDefault);
    const Rect text = boundsOfColour(window, rowTextColour), shadow = boundsOfColour(window, kBlack);
    EXPECT_LE(text.left, 45 + 1 + 3) << "starts at the cell's left edge";
    EXPECT_LT(text.top, 45 + 8) << "starts at the cell's top";
    EXPECT_EQ(std::pair(shadow.left, shadow.bottom), std::pair(text.left - 1, text.bottom + 1));

    cell.surface = &second;
    drawShadowText(cell, 1, "\nIl", kShadowTextDefault);
    const Rect il = boundsOfColour(second, rowTextColour);
    EXPECT_LE(il.left, 45 + 1 + 3) << "the second line starts at the left too";
    EXPECT_GT(il.top, text.top + 10) << "below the first";
    EXPECT_EQ(il.bottom, text.bottom);

    Surface plain = filledSurface(300, 200, kWhite), marked = filledSurface(300, 200, kWhite);
    cell.surface = &plain;
    drawShadowText(cell, 0, "Hi", kShadowTextDefault);
    cell.surface = &marked;
    drawShadowText(cell, 0, "&Hi", kShadowTextDefault);
    const Rect letters = boundsOfColour(plain, rowTextColour), underlined = boundsOfColour(marked, rowTextColour);
    EXPECT_NEAR(underlined.left, letters.left, 1) << "the & takes no room";
    EXPECT_GT(underlined.bottom, letters.bottom) << "an underline below";
    EXPECT_TRUE(showsBlock(marked, 0, letters.top, plain, 0, letters.top, 300, letters.bottom - letters.top))
        << "the letters themselves are unchanged";
}

// Tiles 2 to 8, the two ends half as likely, halves going to the even neighbour, the
// tile stretched over the whole window.
TEST_F(Drawing, RandomTilesAreTwoToEightWithTheEndsHalfAsLikely)
{
    const Surface sheet = codedSheet();
    constexpr int kDraws = 1200;
    ScriptedRandom random;
    for (int i = 0; i < kDraws; ++i) random.push((i + 0.5) / kDraws);
    random.push({0.25, 0.75});
    Surface dialog(329, 207);
    std::array<int, 11> shown{};
    for (int i = 0; i < kDraws; ++i) {
        paintRandomTile(dialog, sheet, random, 329, 207);
        const Rgb corner = dialog.pixel(0, 0);
        ++shown[static_cast<std::size_t>((corner.red + 256 * (corner.blue - 1)) / 45 + 1)];
    }
    EXPECT_EQ(shown, (std::array<int, 11>{0, 0, 100, 200, 200, 200, 200, 200, 100, 0, 0}));
    paintRandomTile(dialog, sheet, random, 329, 207);
    EXPECT_EQ(dialog.pixel(0, 0), codedColour(90, 0)) << "2.5 goes to 2: tile 3";
    EXPECT_EQ(dialog.pixel(328, 206), codedColour(90 + 44, 44)) << "stretched over the whole window";
    paintRandomTile(dialog, sheet, random, 329, 207);
    EXPECT_EQ(dialog.pixel(0, 0), codedColour(270, 0)) << "5.5 goes to 6: tile 7";
}

} // namespace
} // namespace snugbox
