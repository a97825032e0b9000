#include <gtest/gtest.h>

#include <array>

#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "tests/support/scripted_random.h"

namespace snugbox {
namespace {

using testing::boundsOfColour;
using testing::filledSurface;
using testing::panelOn;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kFill{20, 40, 60};
constexpr Rgb kOutline{1, 2, 3};

class Drawing : public ::testing::Test {
protected:
    void SetUp() override { Application::instance(); }
    Surface window = filledSurface(300, 200, kWhite);
};

TEST_F(Drawing, BoxStylesFillAndFrameWhereTheyShould)
{
    Panel panel = panelOn(window, 10, 10, 20, 20);
    panel.brush = Brush{true, kFill};

    drawBox(panel, kBoxFilled);
    EXPECT_EQ(boundsOfColour(window, kFill), (Rect{10, 10, 30, 30}));

    window.selectPen(Pen{true, kOutline});
    drawBox(panel, kBoxOutlined);
    EXPECT_EQ(boundsOfColour(window, kOutline), (Rect{10, 10, 30, 30})) << "outline inside, with the current pen";
    EXPECT_EQ(window.pixel(11, 11), kFill);

    Surface framed = filledSurface(60, 60, kWhite);
    panel.surface = &framed;
    drawBox(panel, kBoxFramed);
    EXPECT_EQ(boundsOfColour(framed, kFill), (Rect{10, 10, 30, 30}));
    EXPECT_EQ(boundsOfColour(framed, framePen.colour), (Rect{9, 9, 32, 32})) << "frame on x, y = 9 and 31";
    for (int i = 9; i <= 31; ++i) {
        EXPECT_EQ(framed.pixel(9, i), framePen.colour) << i;
        EXPECT_EQ(framed.pixel(31, i), framePen.colour) << i;
        EXPECT_EQ(framed.pixel(i, 9), framePen.colour) << i;
        EXPECT_EQ(framed.pixel(i, 31), framePen.colour) << i;
    }
    for (int i = 10; i <= 30; ++i) {
        EXPECT_EQ(framed.pixel(30, i), kWhite) << "column 30 stays unpainted, row " << i;
        EXPECT_EQ(framed.pixel(i, 30), kWhite) << "row 30 stays unpainted, column " << i;
    }
    EXPECT_EQ(framed.pen(), framePen) << "the frame pen stays selected";

    Surface wide = filledSurface(60, 60, kWhite);
    panel.surface = &wide;
    drawBox(panel, kBoxWideFramed);
    EXPECT_EQ(boundsOfColour(wide, framePen.colour), (Rect{8, 8, 33, 33}));
    EXPECT_EQ(wide.pixel(31, 20), kWhite);
    EXPECT_EQ(wide.pixel(9, 20), kWhite);

    Surface other = filledSurface(60, 60, kWhite);
    other.selectPen(Pen{true, kOutline});
    panel.surface = &other;
    for (std::int16_t style : {-1, 4, 99}) {
        drawBox(panel, style);
    }
    EXPECT_EQ(boundsOfColour(other, kFill), (Rect{10, 10, 30, 30})) << "any other style only fills";
    EXPECT_TRUE(boundsOfColour(other, kOutline).isEmpty());
    EXPECT_TRUE(boundsOfColour(other, framePen.colour).isEmpty());
}

TEST_F(Drawing, APanelWithoutABrushIsNotFilled)
{
    Panel panel = panelOn(window, 10, 10, 20, 20);
    drawBox(panel, kBoxFilled);
    drawButton(panel, kButtonFilled, false, 2, "");
    EXPECT_EQ(testing::countWhere(window, Rect{0, 0, 300, 200}, [](Rgb p) { return p != kWhite; }), 0);
    drawBox(panel, kBoxFramed);
    EXPECT_EQ(window.pixel(20, 20), kWhite) << "still not filled, only framed";
    EXPECT_EQ(window.pixel(9, 20), framePen.colour);
}

TEST_F(Drawing, ButtonBackgroundsByStyle)
{
    Panel button = panelOn(window, 20, 20, 100, 30);
    button.brush = Brush{true, kFill};
    button.pen = Pen{true, kOutline};

    drawButton(button, kButtonNoBackground, false, 0, "");
    EXPECT_EQ(window.pixel(20, 20), kWhite);
    drawButton(button, 7, false, 0, "");
    EXPECT_EQ(window.pixel(20, 20), kWhite) << "an unknown style draws no background";

    drawButton(button, kButtonFilled, false, 0, "");
    EXPECT_EQ(boundsOfColour(window, kFill), (Rect{20, 20, 120, 50}));

    drawButton(button, kButtonFramed, false, 0, "");
    EXPECT_EQ(boundsOfColour(window, kOutline), (Rect{20, 20, 120, 50}));
    EXPECT_EQ(window.pixel(21, 21), kFill);
    EXPECT_EQ(window.pen().colour, kOutline) << "the panel's pen stays selected";

    drawButton(button, kButtonDoubleFramed, true, 0, "");
    EXPECT_EQ(window.pixel(20, 20), kOutline);
    EXPECT_EQ(window.pixel(21, 21), hoverPen.colour);
    EXPECT_EQ(window.pixel(118, 48), hoverPen.colour);
    EXPECT_EQ(window.pixel(22, 22), kFill);
    EXPECT_EQ(window.pen(), hoverPen);
}

TEST_F(Drawing, ButtonCaptionsMoveHalfTheShiftUpAndRightOfTheirShadow)
{
    Panel button = panelOn(window, 20, 20, 180, 30);
    button.textColour = buttonTextColour;
    drawButton(button, kButtonNoBackground, true, 4, "Best Scores");
    const Rect lit = boundsOfColour(window, hoverTextColour);
    const Rect shadow = boundsOfColour(window, kBlack);
    ASSERT_FALSE(lit.isEmpty());
    EXPECT_EQ(lit.left - shadow.left, 2);
    EXPECT_EQ(shadow.bottom - lit.bottom, 2);
    EXPECT_TRUE(boundsOfColour(window, buttonTextColour).isEmpty()) << "lit captions use the hover colour";

    Surface normal = filledSurface(300, 200, kWhite);
    button.surface = &normal;
    drawButton(button, kButtonNoBackground, false, 4, "Best Scores");
    EXPECT_EQ(boundsOfColour(normal, buttonTextColour), lit) << "same place, the panel's own colour";
}

TEST_F(Drawing, WithNoShiftTheCaptionCoversItsShadowExactly)
{
    Panel button = panelOn(window, 20, 20, 180, 30);
    drawButton(button, kButtonNoBackground, true, 0, "New Game");
    EXPECT_FALSE(boundsOfColour(window, hoverTextColour).isEmpty());
    EXPECT_TRUE(boundsOfColour(window, kBlack).isEmpty());
}

TEST_F(Drawing, ShadowTextIsLeftAlignedLinesWithTheShadowLeftAndBelow)
{
    Panel cell = panelOn(window, 45, 45, 200, 90);
    cell.textColour = rowTextColour;
    drawShadowText(cell, 1, "Wide line\nIl", kShadowTextDefault);
    const Rect text = boundsOfColour(window, rowTextColour);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_LE(text.left, 45 + 1 + 3) << "starts at the cell's left edge";
    EXPECT_LT(text.top, 45 + 8) << "starts at the cell's top";

    // Two lines, one under the other, both starting at the left edge.
    std::array<int, 200> inkPerRow{};
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            inkPerRow[static_cast<std::size_t>(y)] += window.pixel(x, y) == rowTextColour ? 1 : 0;
        }
    }
    int lines = 0;
    for (int y = 1; y < 200; ++y) {
        lines += inkPerRow[static_cast<std::size_t>(y)] > 0 && inkPerRow[static_cast<std::size_t>(y - 1)] == 0 ? 1 : 0;
    }
    EXPECT_EQ(lines, 2);
    int secondLineLeft = 300;
    for (int y = text.top + 20; y < text.bottom; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (window.pixel(x, y) == rowTextColour) secondLineLeft = std::min(secondLineLeft, x);
        }
    }
    EXPECT_LE(secondLineLeft, text.left + 3) << "the second line starts at the left too";

    // Every coloured pixel has its shadow one left and one down, or covers it.
    for (int y = text.top; y < text.bottom; ++y) {
        for (int x = text.left; x < text.right; ++x) {
            if (window.pixel(x, y) == rowTextColour) {
                const Rgb below = window.pixel(x - 1, y + 1);
                ASSERT_TRUE(below == kBlack || below == rowTextColour) << x << ", " << y;
            }
        }
    }
}

TEST_F(Drawing, CentredShadowTextMovesOnlyHalfTheShiftEachWay)
{
    Panel area = panelOn(window, 0, 0, 300, 200);
    area.textColour = Rgb{100, 100, 200};
    drawShadowText(area, 3, "Game Over", TextFlags::CenteredLine);
    const Rect text = boundsOfColour(window, area.textColour);
    const Rect shadow = boundsOfColour(window, kBlack);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NEAR((text.left + text.right) / 2.0, 150, 3.0) << "one line, centred";
    // Only the rectangle's left and top edges move, so the centred copy moves by 1.5.
    EXPECT_GE(text.left - shadow.left, 1);
    EXPECT_LE(text.left - shadow.left, 2);
    EXPECT_GE(shadow.bottom - text.bottom, 1);
    EXPECT_LE(shadow.bottom - text.bottom, 2);
}

TEST_F(Drawing, AmpersandUnderlinesTheNextCharacterAndIsNotShown)
{
    Panel row = panelOn(window, 10, 10, 200, 40);
    row.textColour = kFill;
    drawShadowText(row, 0, "Hi", kShadowTextDefault);
    Surface marked = filledSurface(300, 200, kWhite);
    row.surface = &marked;
    drawShadowText(row, 0, "&Hi", kShadowTextDefault);
    const Rect plain = boundsOfColour(window, kFill);
    const Rect underlined = boundsOfColour(marked, kFill);
    EXPECT_NEAR(underlined.left, plain.left, 1) << "the & takes no room";
    EXPECT_GT(underlined.bottom, plain.bottom) << "an underline below";
    int extraAbove = 0;
    for (int y = plain.top; y < plain.bottom; ++y) {
        for (int x = 0; x < 300; ++x) {
            extraAbove += (marked.pixel(x, y) == kFill) != (window.pixel(x, y) == kFill) ? 1 : 0;
        }
    }
    EXPECT_EQ(extraAbove, 0) << "the letters themselves are unchanged";

    Surface doubled = filledSurface(300, 200, kWhite);
    row.surface = &doubled;
    drawShadowText(row, 0, "H&&i", kShadowTextDefault);
    EXPECT_GT(boundsOfColour(doubled, kFill).right - plain.right, 5) << "one & is shown between the letters";
    EXPECT_LE(boundsOfColour(doubled, kFill).bottom, plain.bottom + 4) << "and nothing is underlined";
}

TEST_F(Drawing, RandomTilesAreTwoToEightWithTheEndsHalfAsLikely)
{
    // A sheet whose tiles are told apart by their red channel.
    Surface sheet(450, 45);
    for (int tile = 1; tile <= 10; ++tile) {
        sheet.fillRect(Rect{45 * (tile - 1), 0, 45 * tile, 45}, Brush{true, Rgb{static_cast<std::uint8_t>(tile), 7, 7}});
    }
    constexpr int kDraws = 1200;
    testing::ScriptedRandom random;
    for (int i = 0; i < kDraws; ++i) {
        random.push((i + 0.5) / kDraws);
    }
    std::array<int, 11> shown{};
    Surface dialog(16, 16);
    for (int i = 0; i < kDraws; ++i) {
        paintRandomTile(dialog, sheet, random, 16, 16);
        ++shown[dialog.pixel(0, 0).red];
    }
    EXPECT_EQ(shown[1], 0);
    EXPECT_EQ(shown[9], 0);
    EXPECT_EQ(shown[10], 0);
    EXPECT_EQ(shown[2], kDraws / 12);
    EXPECT_EQ(shown[8], kDraws / 12);
    for (int tile = 3; tile <= 7; ++tile) {
        EXPECT_EQ(shown[static_cast<std::size_t>(tile)], kDraws / 6) << tile;
    }
}

TEST_F(Drawing, RandomTileHalvesGoToTheEvenNeighbour)
{
    Surface sheet(450, 45);
    for (int tile = 1; tile <= 10; ++tile) {
        sheet.fillRect(Rect{45 * (tile - 1), 0, 45 * tile, 45}, Brush{true, Rgb{static_cast<std::uint8_t>(tile), 0, 0}});
    }
    testing::ScriptedRandom random{0.25, 0.75, 0.0, 0.999999};
    Surface dialog(4, 4);
    std::array<int, 4> tiles{};
    for (int& tile : tiles) {
        paintRandomTile(dialog, sheet, random, 4, 4);
        tile = dialog.pixel(3, 3).red;
    }
    // 0.25 * 6 + 1 = 2.5 gives 2 (tile 3); 0.75 * 6 + 1 = 5.5 gives 6 (tile 7).
    EXPECT_EQ(tiles, (std::array<int, 4>{3, 7, 2, 8}));
}

TEST_F(Drawing, ARandomTileIsStretchedOverTheWholeWindow)
{
    Surface sheet = testing::codedSheet();
    testing::ScriptedRandom random{0.5};   // 4: tile 5 at (180, 0)
    Surface dialog = filledSurface(329, 207, kWhite);
    paintRandomTile(dialog, sheet, random, 329, 207);
    EXPECT_EQ(dialog.pixel(0, 0), testing::codedColour(180, 0));
    EXPECT_EQ(dialog.pixel(328, 206), testing::codedColour(180 + 44, 44));
    EXPECT_EQ(dialog.pixel(164, 103), testing::codedColour(180 + 164 * 45 / 329, 103 * 45 / 207));
}

} // namespace
} // namespace snugbox
