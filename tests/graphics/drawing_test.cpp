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
    // style, then the bounds of the fill, of the selected pen's outline and of the frame
    const std::pair<int, std::array<Rect, 3>> styles[] = {
        {kBoxFilled, {Rect{10, 10, 30, 30}}},
        {kBoxOutlined, {Rect{11, 11, 29, 29}, Rect{10, 10, 30, 30}}},
        {kBoxFramed, {Rect{10, 10, 30, 30}, Rect{}, Rect{9, 9, 32, 32}}},
        {kBoxWideFramed, {Rect{10, 10, 30, 30}, Rect{}, Rect{8, 8, 33, 33}}},
        {-1, {Rect{10, 10, 30, 30}}},
        {4, {Rect{10, 10, 30, 30}}},
    };
    for (const auto& [style, bounds] : styles) {
        Surface surface = filledSurface(60, 60, kWhite);
        surface.selectPen(Pen{true, kOutline});
        Panel panel = panelOn(surface, 10, 10, 20, 20);
        panel.brush = Brush{true, kFill};
        drawBox(panel, static_cast<std::int16_t>(style));
        EXPECT_EQ(boundsOfColour(surface, kFill), bounds[0]) << style;
        EXPECT_EQ(boundsOfColour(surface, kOutline), bounds[1]) << style;
        EXPECT_EQ(boundsOfColour(surface, framePen.colour), bounds[2]) << style;
        if (style == kBoxFramed) {
            // A closed frame on x, y = 9 and 31: column and row 30 stay unpainted.
            int framePixels = 0;
            for (int i = 0; i < 60 * 60; ++i) {
                framePixels += surface.pixel(i % 60, i / 60) == framePen.colour ? 1 : 0;
            }
            EXPECT_EQ(framePixels, 4 * 22);
            EXPECT_EQ(surface.pixel(30, 20), kWhite);
            EXPECT_EQ(surface.pixel(20, 30), kWhite);
            EXPECT_EQ(surface.pen(), framePen) << "the frame pen stays selected";
        }
    }
}

TEST_F(Drawing, APanelWithoutABrushIsNotFilled)
{
    const Panel panel = panelOn(window, 10, 10, 20, 20);
    drawBox(panel, kBoxFilled);
    drawButton(panel, kButtonFilled, false, 2, "");
    EXPECT_TRUE(testing::boundsWhere(window, [](Rgb p) { return p != kWhite; }).isEmpty());
    drawBox(panel, kBoxFramed);
    EXPECT_EQ(window.pixel(20, 20), kWhite) << "framed, still not filled";
    EXPECT_EQ(window.pixel(9, 20), framePen.colour);
}

TEST_F(Drawing, ButtonBackgroundsByStyle)
{
    Panel button = panelOn(window, 20, 20, 100, 30);
    button.brush = Brush{true, kFill};
    button.pen = Pen{true, kOutline};
    drawButton(button, kButtonNoBackground, false, 0, "");
    drawButton(button, 7, false, 0, "");
    EXPECT_EQ(window.pixel(20, 20), kWhite) << "no background, nor for an unknown style";

    drawButton(button, kButtonFramed, false, 0, "");
    EXPECT_EQ(boundsOfColour(window, kOutline), (Rect{20, 20, 120, 50}));
    EXPECT_EQ(window.pixel(21, 21), kFill);
    EXPECT_EQ(window.pen().colour, kOutline) << "the panel's pen stays selected";

    drawButton(button, kButtonDoubleFramed, true, 0, "");
    EXPECT_EQ(window.pixel(20, 20), kOutline);
    EXPECT_EQ(window.pixel(118, 48), hoverPen.colour);
    EXPECT_EQ(window.pixel(22, 22), kFill);
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

    Surface normal = filledSurface(300, 200, kWhite);
    button.surface = &normal;
    drawButton(button, kButtonNoBackground, false, 4, "Best Scores");
    EXPECT_EQ(boundsOfColour(normal, buttonTextColour), lit) << "same place, the panel's own colour";
    Surface unshifted = filledSurface(300, 200, kWhite);
    button.surface = &unshifted;
    drawButton(button, kButtonNoBackground, false, 0, "Best Scores");
    EXPECT_TRUE(boundsOfColour(unshifted, kBlack).isEmpty()) << "with no shift the caption covers its shadow";
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
    int lines = 0;
    int secondLineLeft = 300;
    bool previousRowInked = false;
    for (int y = 0; y < 200; ++y) {
        bool inked = false;
        for (int x = 0; x < 300; ++x) {
            if (window.pixel(x, y) == rowTextColour) {
                inked = true;
                secondLineLeft = lines == 2 ? std::min(secondLineLeft, x) : secondLineLeft;
                // Every coloured pixel has its shadow one left and one down, or covers it.
                EXPECT_TRUE(window.pixel(x - 1, y + 1) == kBlack || window.pixel(x - 1, y + 1) == rowTextColour);
            }
        }
        lines += inked && !previousRowInked ? 1 : 0;
        previousRowInked = inked;
    }
    EXPECT_EQ(lines, 2);
    EXPECT_LE(secondLineLeft, text.left + 3) << "the second line starts at the left too";
}

TEST_F(Drawing, AmpersandUnderlinesTheNextCharacterAndIsNotShown)
{
    Panel row = panelOn(window, 10, 10, 200, 40);
    row.textColour = kFill;
    drawShadowText(row, 0, "Hi", kShadowTextDefault);
    const Rect plain = boundsOfColour(window, kFill);
    Surface marked = filledSurface(300, 200, kWhite);
    row.surface = &marked;
    drawShadowText(row, 0, "&Hi", kShadowTextDefault);
    const Rect underlined = boundsOfColour(marked, kFill);
    EXPECT_NEAR(underlined.left, plain.left, 1) << "the & takes no room";
    EXPECT_GT(underlined.bottom, plain.bottom) << "an underline below";
    EXPECT_TRUE(testing::showsBlock(marked, 0, plain.top, window, 0, plain.top, 300, plain.bottom - plain.top))
        << "the letters themselves are unchanged";

    Surface doubled = filledSurface(300, 200, kWhite);
    row.surface = &doubled;
    drawShadowText(row, 0, "H&&i", kShadowTextDefault);
    EXPECT_GT(boundsOfColour(doubled, kFill).right - plain.right, 5) << "one & is shown between the letters";
    EXPECT_LE(boundsOfColour(doubled, kFill).bottom, plain.bottom + 4) << "and nothing is underlined";
}

// Tiles 2 to 8, the two ends half as likely, halves going to the even neighbour, the
// tile stretched over the whole window.
TEST_F(Drawing, RandomTilesAreTwoToEightWithTheEndsHalfAsLikely)
{
    const Surface sheet = testing::codedSheet();
    constexpr int kDraws = 1200;
    testing::ScriptedRandom random;
    for (int i = 0; i < kDraws; ++i) {
        random.push((i + 0.5) / kDraws);
    }
    random.push({0.25, 0.75});
    Surface dialog(329, 207);
    const auto tileShown = [&dialog] {
        const Rgb corner = dialog.pixel(0, 0);
        return static_cast<std::size_t>((corner.red + 256 * (corner.blue - 1)) / 45 + 1);
    };
    std::array<int, 11> shown{};
    for (int i = 0; i < kDraws; ++i) {
        paintRandomTile(dialog, sheet, random, 329, 207);
        ++shown[tileShown()];
    }
    EXPECT_EQ(shown, (std::array<int, 11>{0, 0, 100, 200, 200, 200, 200, 200, 100, 0, 0}));
    paintRandomTile(dialog, sheet, random, 329, 207);
    EXPECT_EQ(dialog.pixel(0, 0), testing::codedColour(90, 0)) << "2.5 goes to 2: tile 3";
    EXPECT_EQ(dialog.pixel(328, 206), testing::codedColour(90 + 44, 44));
    EXPECT_EQ(dialog.pixel(164, 103), testing::codedColour(90 + 164 * 45 / 329, 103 * 45 / 207));
    paintRandomTile(dialog, sheet, random, 329, 207);
    EXPECT_EQ(dialog.pixel(0, 0), testing::codedColour(270, 0)) << "5.5 goes to 6: tile 7";
}

} // namespace
} // namespace snugbox
