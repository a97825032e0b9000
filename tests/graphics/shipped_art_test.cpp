#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/resource_strings.h"
#include "graphics/sprite_layout.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "rules/game_state.h"

namespace snugbox {
namespace {

using sprite::Region;
using testing::filledSurface;
using testing::panelOn;

double luminance(Rgb colour) { return 0.2126 * colour.red + 0.7152 * colour.green + 0.0722 * colour.blue; }

struct Stats {
    double meanLuminance = 0;
    double red = 0, green = 0, blue = 0;
    int distinctColours = 0;
};

Stats statsOf(const Surface& sheet, const Region& region)
{
    Stats stats;
    std::set<std::uint32_t> colours;
    for (int y = region.y; y < region.y + region.height; ++y) {
        for (int x = region.x; x < region.x + region.width; ++x) {
            const Rgb pixel = sheet.pixel(x, y);
            stats.meanLuminance += luminance(pixel);
            stats.red += pixel.red;
            stats.green += pixel.green;
            stats.blue += pixel.blue;
            colours.insert(static_cast<std::uint32_t>(pixel.red << 16 | pixel.green << 8 | pixel.blue));
        }
    }
    const double count = region.width * region.height;
    stats.meanLuminance /= count;
    stats.red /= count;
    stats.green /= count;
    stats.blue /= count;
    stats.distinctColours = static_cast<int>(colours.size());
    return stats;
}

double colourDistance(const Stats& a, const Stats& b)
{
    return std::sqrt((a.red - b.red) * (a.red - b.red) + (a.green - b.green) * (a.green - b.green) +
                     (a.blue - b.blue) * (a.blue - b.blue));
}

int differingPixels(const Surface& sheet, const Region& a, const Region& b)
{
    int count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            count += sheet.pixel(a.x + x, a.y + y) != sheet.pixel(b.x + x, b.y + y) ? 1 : 0;
        }
    }
    return count;
}

::testing::AssertionResult samePixels(const Surface& target, int x, int y, const Surface& sheet, const Region& source)
{
    for (int dy = 0; dy < source.height; ++dy) {
        for (int dx = 0; dx < source.width; ++dx) {
            if (target.pixel(x + dx, y + dy) != sheet.pixel(source.x + dx, source.y + dy)) {
                return ::testing::AssertionFailure() << "differs at (" << x + dx << ", " << y + dy << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

class ShippedArt : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Application::instance();
        resources = new GraphicsResources;
        loadGraphics(*resources, std::string(SNUGBOX_DATA_DIR) + "/");
    }
    static void TearDownTestSuite()
    {
        delete resources;
        resources = nullptr;
    }
    const Surface& sheet() const { return resources->spriteSurface; }

    static GraphicsResources* resources;
};

GraphicsResources* ShippedArt::resources = nullptr;

TEST_F(ShippedArt, TheSheetCoversEveryRegion)
{
    ASSERT_GE(sheet().width(), 450);
    ASSERT_GE(sheet().height(), 481);
    for (int tile = 1; tile <= 10; ++tile) {
        EXPECT_GE(statsOf(sheet(), sprite::boardTile(tile)).distinctColours, 16) << "tile " << tile;
    }
    for (int colour = 1; colour <= colourCount; ++colour) {
        EXPECT_GE(statsOf(sheet(), sprite::pieceSquare(colour)).distinctColours, 16) << "colour " << colour;
        EXPECT_GE(statsOf(sheet(), sprite::shadowSquare(colour)).distinctColours, 2) << "shadow " << colour;
    }
    for (const Region& picture : {sprite::sidePicture, sprite::levelBadge, sprite::scorePlate, sprite::emptyScoreBar,
                                  sprite::fullScoreBar}) {
        EXPECT_GE(statsOf(sheet(), picture).distinctColours, 16) << picture.x << ", " << picture.y;
    }
    for (int face = sprite::kFaceExit; face <= sprite::kFaceHelp; ++face) {
        EXPECT_GE(statsOf(sheet(), sprite::buttonFace(face, true)).distinctColours, 16) << "face " << face;
        EXPECT_GE(statsOf(sheet(), sprite::buttonFace(face, false)).distinctColours, 16) << "face " << face;
    }
}

TEST_F(ShippedArt, EveryLevelHasItsOwnCheckerboardOfTiles)
{
    for (int a = 1; a <= 10; ++a) {
        for (int b = a + 1; b <= 10; ++b) {
            EXPECT_GT(differingPixels(sheet(), sprite::boardTile(a), sprite::boardTile(b)), 45 * 45 / 2) << a << ", " << b;
        }
    }
    for (int pair = 0; pair < 5; ++pair) {
        const Stats light = statsOf(sheet(), sprite::boardTile(2 * pair + 1));
        const Stats dark = statsOf(sheet(), sprite::boardTile(2 * pair + 2));
        EXPECT_GT(light.meanLuminance - dark.meanLuminance, 12) << "the two shades of pair " << pair + 1;
        EXPECT_LT(colourDistance(light, dark), 60) << "one pattern, one hue, two shades";
        for (int other = pair + 1; other < 5; ++other) {
            EXPECT_GT(colourDistance(light, statsOf(sheet(), sprite::boardTile(2 * other + 1))), 25)
                << "pairs " << pair + 1 << " and " << other + 1 << " look alike";
        }
    }
}

TEST_F(ShippedArt, PieceColoursStandApartFromEachOtherAndFromTheBoard)
{
    for (int a = 1; a <= colourCount; ++a) {
        const Stats piece = statsOf(sheet(), sprite::pieceSquare(a));
        for (int b = a + 1; b <= colourCount; ++b) {
            EXPECT_GT(colourDistance(piece, statsOf(sheet(), sprite::pieceSquare(b))), 60) << a << ", " << b;
        }
        for (int tile = 1; tile <= 10; ++tile) {
            EXPECT_GT(colourDistance(piece, statsOf(sheet(), sprite::boardTile(tile))), 50) << a << " on tile " << tile;
        }
    }
}

// In grey, as a player who cannot tell the hues apart sees them, each colour's motif still
// tells it from every other: their light-and-dark patterns differ in the middle.
TEST_F(ShippedArt, PieceSquaresDifferEvenInGrey)
{
    const auto relativeGrey = [this](int colour, int x, int y) {
        const Region square = sprite::pieceSquare(colour);
        const Region middle{square.x + 10, square.y + 10, 25, 25};
        return luminance(sheet().pixel(square.x + x, square.y + y)) - statsOf(sheet(), middle).meanLuminance;
    };
    for (int a = 1; a <= colourCount; ++a) {
        for (int b = a + 1; b <= colourCount; ++b) {
            int differing = 0;
            for (int y = 10; y < 35; ++y) {
                for (int x = 10; x < 35; ++x) {
                    differing += std::abs(relativeGrey(a, x, y) - relativeGrey(b, x, y)) > 25 ? 1 : 0;
                }
            }
            EXPECT_GT(differing, 40) << a << ", " << b;
        }
    }
}

// Shadows are ANDed onto what lies under them. Compared on average over the square.
TEST_F(ShippedArt, ShadowsAreDarkerThanTheirPiecesAndDarkenWhatTheyLandOn)
{
    for (int colour = 1; colour <= colourCount; ++colour) {
        EXPECT_LT(statsOf(sheet(), sprite::shadowSquare(colour)).meanLuminance,
                  statsOf(sheet(), sprite::pieceSquare(colour)).meanLuminance)
            << "colour " << colour;
    }
    // Dimmed as at game over, each level's two tiles are still two shades of one
    // pattern, about half as bright.
    for (int tile = 1; tile <= 10; ++tile) {
        Surface dimmed(45, 45);
        const Region source = sprite::boardTile(tile);
        dimmed.blockCopy(0, 0, 45, 45, sheet(), source.x, source.y, RasterOp::SrcCopy);
        const Region shadow = sprite::shadowSquare(1);
        dimmed.blockCopy(0, 0, 44, 44, sheet(), shadow.x, shadow.y, RasterOp::SrcAnd);
        const double before = statsOf(sheet(), source).meanLuminance;
        const double after = statsOf(dimmed, Region{0, 0, 44, 44}).meanLuminance;
        EXPECT_LT(after, before * 0.65) << "tile " << tile;
        EXPECT_GT(after, before * 0.35) << "tile " << tile << " is still there";
        int kept = 0;
        for (int y = 0; y < 44; ++y) {
            for (int x = 0; x < 44; ++x) {
                const Rgb now = dimmed.pixel(x, y);
                const Rgb was = sheet().pixel(source.x + x, source.y + y);
                kept += std::abs(now.red - was.red) < 16 && std::abs(now.green - was.green) < 16 &&
                                std::abs(now.blue - was.blue) < 16
                            ? 1
                            : 0;
            }
        }
        EXPECT_GE(kept, 44 * 44 / 2) << "half the pixels keep their colour, so the pattern stays";
    }
}

TEST_F(ShippedArt, LitFacesDifferFromNormalOnes)
{
    for (int face = sprite::kFaceExit; face <= sprite::kFaceHelp; ++face) {
        const Region lit = sprite::buttonFace(face, true);
        const Region normal = sprite::buttonFace(face, false);
        EXPECT_GT(differingPixels(sheet(), lit, normal), 122 * 30 / 3) << "face " << face;
        EXPECT_GT(statsOf(sheet(), lit).meanLuminance, statsOf(sheet(), normal).meanLuminance) << "face " << face;
        for (int other = face + 1; other <= sprite::kFaceHelp; ++other) {
            EXPECT_GT(differingPixels(sheet(), normal, sprite::buttonFace(other, false)), 100)
                << "faces " << face << " and " << other << " need different words";
        }
    }
}

TEST_F(ShippedArt, TheTwoScoreBarsLineUp)
{
    const Region empty = sprite::emptyScoreBar;
    const Region full = sprite::fullScoreBar;
    EXPECT_EQ(empty.width, full.width);
    EXPECT_EQ(empty.height, full.height);
    // The frame, two pixels deep, is the same in both: the full bar ends where the empty
    // one goes on without a seam.
    for (int depth = 0; depth < 2; ++depth) {
        for (int x = 0; x < empty.width; ++x) {
            for (int y : {depth, empty.height - 1 - depth}) {
                ASSERT_EQ(sheet().pixel(empty.x + x, empty.y + y), sheet().pixel(full.x + x, full.y + y)) << x << ", " << y;
            }
        }
        for (int y = 0; y < empty.height; ++y) {
            for (int x : {depth, empty.width - 1 - depth}) {
                ASSERT_EQ(sheet().pixel(empty.x + x, empty.y + y), sheet().pixel(full.x + x, full.y + y)) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(statsOf(sheet(), full).meanLuminance, statsOf(sheet(), empty).meanLuminance + 60);
}

TEST_F(ShippedArt, TheWelcomePictureHasTheMakersAddressInItsArea)
{
    const Surface& picture = resources->backgroundSurface;
    ASSERT_EQ(picture.width(), 680);
    ASSERT_EQ(picture.height(), 450);
    // Light link-blue letters inside the maker area (350, 400, 200 x 40).
    const auto isLinkText = [](Rgb p) { return p.blue > 200 && p.red > 120 && p.red < p.blue; };
    EXPECT_GT(testing::countWhere(picture, Rect{350, 400, 550, 440}, isLinkText), 150);
    EXPECT_LT(testing::countWhere(picture, Rect{0, 400, 340, 450}, isLinkText), 5) << "and not outside it";
}

// Everything the main window paints comes out of the sheet pixel for pixel.
TEST_F(ShippedArt, WindowPaintingMatchesTheSheetPixelForPixel)
{
    Surface window = filledSurface(765, 563, panelBrush.colour);
    GameState state;
    state.boardRows = 9;
    state.boardCols = 9;
    state.boardCells.resize(9, 9, 5);
    state.boardCells(1, 1) = 6;
    state.boardCells(9, 9) = 13;
    Panel board = panelOn(window, 202, 58, 405, 405);
    board.tag = cellSize;
    drawBoard(board, state, sheet());
    EXPECT_TRUE(samePixels(window, 202, 58, sheet(), sprite::boardTile(6)));
    EXPECT_TRUE(samePixels(window, 247, 58, sheet(), sprite::boardTile(5)));
    EXPECT_TRUE(samePixels(window, 562, 418, sheet(), sprite::pieceSquare(3)));

    Panel& slot = state.dispensers[1];
    slot = panelOn(window, 630, 15, 90, 90);
    slot.tag = 20;
    PieceShape piece;
    piece.squareCount = 1;
    piece.width = 1;
    piece.height = 1;
    piece.squares.push_back(Square{0, 0});
    piece.colours.push_back(4);
    drawPieceInSlot(state, sheet(), 1, piece);
    const Region square = sprite::pieceSquare(4);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(window.pixel(665 + x, 50 + y), sheet().pixel(square.x + x * 45 / 20, square.y + y * 45 / 20))
                << x << ", " << y;
        }
    }

    Panel button = panelOn(window, 25, 231, 122, 30);
    drawButtonFace(button, sheet(), sprite::kFaceNewGame, true);
    EXPECT_TRUE(samePixels(window, 25, 231, sheet(), sprite::buttonFace(sprite::kFaceNewGame, true)));
    drawButtonFace(button, sheet(), sprite::kFaceNewGame, false);
    EXPECT_TRUE(samePixels(window, 25, 231, sheet(), sprite::buttonFace(sprite::kFaceNewGame, false)));

    // The score bar at 100 of 241 pixels: the full picture, then the empty one.
    const int fill = 100;
    window.blockCopy(331 + fill, 485, 241 - fill, 25, sheet(), sprite::emptyScoreBar.x + fill, sprite::emptyScoreBar.y,
                     RasterOp::SrcCopy);
    window.blockCopy(331, 485, fill, 25, sheet(), sprite::fullScoreBar.x, sprite::fullScoreBar.y, RasterOp::SrcCopy);
    EXPECT_TRUE(samePixels(window, 331, 485, sheet(), Region{0, 456, fill, 25}));
    EXPECT_TRUE(samePixels(window, 331 + fill, 485, sheet(), Region{fill, 428, 241 - fill, 25}));
}

// Paints the main window as the game shows it, with a carried piece and, in a second
// picture, the play area dimmed at game over. With SNUGBOX_MOCK_DIR set the two pictures
// are written there as PNG files to look at.
class MainWindowMock : public ShippedArt {
protected:
    Surface window = filledSurface(765, 563, panelBrush.colour);
    GameState state;
    Panel playArea = panelOn(window, 180, 10, 570, 500);

    void paintGame()
    {
        Panel side = panelOn(window, 10, 100, 165, 67);
        drawPanelFace(side, sheet(), sprite::kKindSidePicture, false);
        const int faces[] = {0, 5, 6, 7, 8, 4};
        for (int i = 1; i <= 6; ++i) {
            Panel button = panelOn(window, 25, 131 + 50 * i, 122, 30);
            if (faces[i - 1] > 0) drawButtonFace(button, sheet(), faces[i - 1], i == 3);
        }
        playArea.brush = panelBrush;
        drawBox(playArea, kBoxFilled);
        paintBoard();
        paintSlots();
        paintStatus();
    }

    void paintBoard()
    {
        state.boardRows = 9;
        state.boardCols = 9;
        state.boardCells.resize(9, 9);
        for (int row = 1; row <= 9; ++row) {
            for (int col = 1; col <= 9; ++col) {
                state.boardCells(row, col) = (row + col) % 2 == 0 ? 5 : 6;   // level 3
            }
        }
        const int squares[][3] = {{9, 1, 11}, {9, 2, 11}, {9, 3, 11}, {8, 1, 11}, {9, 5, 12}, {9, 6, 12}, {8, 6, 12},
                                  {9, 9, 13}, {8, 9, 13}, {7, 9, 13}, {7, 8, 13}, {8, 3, 14}, {8, 4, 14}, {7, 3, 14},
                                  {7, 4, 14}, {6, 1, 15}, {7, 1, 15}, {5, 1, 15}};
        for (const auto& s : squares) state.boardCells(s[0], s[1]) = static_cast<std::uint8_t>(s[2]);
        Panel board = panelOn(window, 202, 58, 405, 405);
        board.tag = cellSize;
        drawBoard(board, state, sheet());
    }

    static PieceShape shapeOf(std::initializer_list<std::pair<int, int>> squares, int colour)
    {
        PieceShape piece;
        for (auto [col, row] : squares) {
            piece.squares.push_back(Square{static_cast<std::int16_t>(col), static_cast<std::int16_t>(row)});
            piece.colours.push_back(static_cast<std::int16_t>(colour));
            piece.width = std::max<std::uint8_t>(piece.width, static_cast<std::uint8_t>(col + 1));
            piece.height = std::max<std::uint8_t>(piece.height, static_cast<std::uint8_t>(row + 1));
        }
        piece.squareCount = static_cast<std::int16_t>(piece.squares.count());
        return piece;
    }

    void paintSlots()
    {
        const PieceShape pieces[] = {shapeOf({{0, 0}, {1, 0}, {2, 0}, {1, 1}}, 2), shapeOf({{0, 0}}, 4),
                                     shapeOf({{0, 0}, {0, 1}, {0, 2}, {1, 2}}, 1), shapeOf({{0, 0}, {1, 0}}, 5)};
        for (int i = 1; i <= 5; ++i) {
            Panel& slot = state.dispensers[i];
            slot = panelOn(window, 630, 15 + 100 * (i - 1), 90, 90);
            slot.brush = darkBrush;
            slot.pen = framePen;
            slot.tag = 20;
            drawBox(slot, kBoxFramed);
            if (i <= 4) drawPieceInSlot(state, sheet(), static_cast<std::int16_t>(i), pieces[i - 1]);
        }
    }

    void paintStatus()
    {
        Panel score = panelOn(window, 315, 10, 122, 31);
        score.textColour = hoverTextColour;
        drawButtonFace(score, sheet(), sprite::kFaceScorePlate, true);
        drawButton(score, kButtonNoBackground, true, 2, "1710");
        const int fill = 145;
        window.blockCopy(331 + fill, 485, 241 - fill, 25, sheet(), fill, 428, RasterOp::SrcCopy);
        window.blockCopy(331, 485, fill, 25, sheet(), 0, 456, RasterOp::SrcCopy);
        Panel level = panelOn(window, 247, 473, 50, 50);
        level.textColour = hoverTextColour;
        drawPanelFace(level, sheet(), sprite::kKindLevelBadge, true);
        drawButton(level, kButtonFilled, true, 2, "3");
        window.fillRect(Rect{537, 20, 587, 30}, lightBlueBrush);
        window.fillRect(Rect{537, 20, 562, 30}, blueBrush);
    }

    // The carried piece as the window combines it: OR the mask, AND the image.
    void paintCarriedPiece(int left, int top)
    {
        createCarrySurfaces(*resources);
        Surface& mask = resources->pieceMaskSurface;
        Surface& image = resources->pieceImageSurface;
        mask.fillRect(Rect{0, 0, 190, 190}, blackBrush);
        image.fillRect(Rect{0, 0, 190, 190}, whiteBrush);
        const int squares[][2] = {{0, 0}, {1, 0}, {1, 1}, {1, 2}};
        for (const auto& s : squares) {
            image.blockCopy(s[0] * 45 + 10, s[1] * 45 + 10, 45, 45, sheet(), 45 * 2, 90, RasterOp::SrcCopy);
        }
        for (const auto& s : squares) {
            image.blockCopy(s[0] * 45, s[1] * 45, 45, 45, sheet(), 45 * 2, 45, RasterOp::SrcCopy);
            mask.fillRect(Rect{s[0] * 45, s[1] * 45, s[0] * 45 + 45, s[1] * 45 + 45}, whiteBrush);
        }
        window.blockCopy(left, top, 190, 190, mask, 0, 0, RasterOp::SrcPaint);
        window.blockCopy(left, top, 190, 190, image, 0, 0, RasterOp::SrcAnd);
    }

    void dimPlayArea(std::int16_t messageId)
    {
        const Region shadow = sprite::shadowSquare(1);
        for (int dy = 0; dy <= playArea.height - cellSize; dy += cellSize - 1) {
            for (int dx = 0; dx <= playArea.height - cellSize; dx += cellSize - 1) {
                window.blockCopy(playArea.x + dx, playArea.y + dy, 44, 44, sheet(), shadow.x, shadow.y, RasterOp::SrcAnd);
            }
        }
        playArea.textColour = Rgb{100, 100, 200};
        window.setFont(Font{"Arial", 16.0, false});
        drawShadowText(playArea, 3, loadResString(messageId), TextFlags::CenteredLine);
        window.setFont(Font{"Arial", 12.0, false});
    }

    void saveIfAsked(const char* name) const
    {
        if (const char* directory = std::getenv("SNUGBOX_MOCK_DIR")) {
            EXPECT_TRUE(window.savePng(std::string(directory) + "/" + name));
        }
    }
};

TEST_F(MainWindowMock, ACarriedPieceShowsItsColoursAndDarkensOnlyWhereItsShadowFalls)
{
    paintGame();
    const Surface before = window.clone();
    paintCarriedPiece(420, 160);
    saveIfAsked("mock-main-window.png");
    // On the piece: the piece square's own pixels.
    EXPECT_EQ(window.pixel(425, 165), sheet().pixel(90 + 5, 45 + 5));
    // Under the uncovered shadow (right of the top-left square, below it): never lighter,
    // and about half as bright.
    double under = 0, was = 0;
    for (int y = 205; y < 215; ++y) {
        for (int x = 430; x < 455; ++x) {
            under += luminance(window.pixel(x, y));
            was += luminance(before.pixel(x, y));
            ASSERT_LE(window.pixel(x, y).red, before.pixel(x, y).red);
        }
    }
    EXPECT_LT(under, was * 0.65);
    // Beyond the picture's square nothing changed.
    EXPECT_EQ(window.pixel(419, 200), before.pixel(419, 200));
    EXPECT_EQ(window.pixel(560, 300), before.pixel(560, 300)) << "white parts of the image leave the window be";
}

TEST_F(MainWindowMock, GameOverDimsTheSquareOfThePlayAreaAndWritesTheMessage)
{
    paintGame();
    const Surface before = window.clone();
    dimPlayArea(kStringGameOver);
    saveIfAsked("mock-game-over.png");
    const double was = testing::countWhere(before, Rect{180, 10, 664, 494}, [](Rgb p) { return luminance(p) > 60; });
    const double now = testing::countWhere(window, Rect{180, 10, 664, 494}, [](Rgb p) { return luminance(p) > 60; });
    EXPECT_LT(now, was * 0.6);
    EXPECT_EQ(window.pixel(700, 300), before.pixel(700, 300)) << "the rightmost part of the play area stays bright";
    EXPECT_FALSE(testing::boundsOfColour(window, Rgb{100, 100, 200}).isEmpty());
}

} // namespace
} // namespace snugbox
