#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/surface.h"

namespace snugbox {
namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{10, 20, 30};

Surface filled(int width, int height, Rgb colour)
{
    Surface surface(width, height);
    surface.fillRect(Rect{0, 0, width, height}, Brush{true, colour});
    return surface;
}

int countOf(const Surface& surface, Rgb colour)
{
    int count = 0;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            count += surface.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(Surface, OrAndCopiesCombineEachChannelBitwise)
{
    Surface target = filled(4, 4, Rgb{0x0f, 0xf0, 0x55});
    const Surface source = filled(4, 4, Rgb{0x31, 0x13, 0xaa});
    target.blockCopy(0, 0, 2, 4, source, 0, 0, RasterOp::SrcPaint);
    target.blockCopy(2, 0, 2, 4, source, 0, 0, RasterOp::SrcAnd);
    EXPECT_EQ(target.pixel(1, 3), (Rgb{0x3f, 0xf3, 0xff}));
    EXPECT_EQ(target.pixel(2, 0), (Rgb{0x01, 0x10, 0x00}));
    target.blockCopy(0, 0, 1, 1, source, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(target.pixel(0, 0), (Rgb{0x31, 0x13, 0xaa}));
}

TEST(Surface, CopiesAreClippedToSourceAndTargetOnEveryEdge)
{
    const Surface source = filled(3, 3, Rgb{200, 0, 0});
    for (int dx : {-2, 2}) {
        for (int dy : {-2, 2}) {
            Surface target = filled(4, 4, Rgb{0, 0, 9});
            target.blockCopy(dx, dy, 3, 3, source, 0, 0, RasterOp::SrcCopy);
            const int inside = dx < 0 && dy < 0 ? 1 : dx < 0 || dy < 0 ? 2 : 4;
            EXPECT_EQ(countOf(target, Rgb{200, 0, 0}), inside) << dx << "," << dy;
        }
    }
    // Only the part inside the source arrives, where it belongs; an empty source paints nothing.
    Surface target = filled(6, 6, Rgb{0, 0, 9});
    target.blockCopy(0, 0, 6, 6, source, -1, -1, RasterOp::SrcCopy);
    target.blockCopy(0, 0, 4, 4, Surface(), 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(countOf(target, Rgb{200, 0, 0}), 9);
    EXPECT_EQ(countOf(target, Rgb{0, 0, 9}), 36 - 9);
    EXPECT_EQ(target.pixel(1, 1), (Rgb{200, 0, 0}));
    EXPECT_EQ(target.pixel(3, 3), (Rgb{200, 0, 0}));
}

TEST(Surface, OverlappingCopyWithinOneSurfaceMovesTheWholeBlock)
{
    Surface surface(5, 1);
    for (int x = 0; x < 5; ++x) {
        surface.setPixel(x, 0, Rgb{static_cast<std::uint8_t>(x + 1), 0, 0});
    }
    surface.blockCopy(1, 0, 4, 1, surface, 0, 0, RasterOp::SrcCopy);
    for (int x = 1; x < 5; ++x) {
        EXPECT_EQ(surface.pixel(x, 0).red, x) << x;
    }
}

TEST(Surface, StretchCopySamplesTheNearestSourcePixels)
{
    Surface source(2, 2);
    for (int i = 0; i < 4; ++i) {
        source.setPixel(i % 2, i / 2, Rgb{static_cast<std::uint8_t>(i + 1), 0, 0});
    }
    Surface target(4, 4);
    target.stretchCopy(0, 0, 4, 4, source, 0, 0, 2, 2, RasterOp::SrcCopy);
    EXPECT_EQ(target.pixel(1, 1).red, 1);
    EXPECT_EQ(target.pixel(2, 1).red, 2);
    EXPECT_EQ(target.pixel(1, 2).red, 3);
    EXPECT_EQ(target.pixel(3, 3).red, 4);
}

TEST(Surface, OutlinesLieInsideTheRectangleLinesStopShortOfTheirEndAndNoBrushFillsNothing)
{
    Surface surface = filled(10, 10, Rgb{1, 1, 1});
    surface.selectPen(Pen{true, Rgb{9, 9, 9}});
    surface.outlineRect(Rect{2, 2, 6, 6});
    EXPECT_EQ(countOf(surface, Rgb{9, 9, 9}), 12);
    EXPECT_EQ(surface.pixel(5, 5), (Rgb{9, 9, 9}));
    surface.selectPen(Pen{});   // no pen: the previous one stays selected
    EXPECT_EQ(surface.pen().colour, (Rgb{9, 9, 9}));
    surface.selectPen(Pen{true, Rgb{7, 7, 7}});
    surface.moveTo(0, 8);
    surface.lineTo(4, 8);
    EXPECT_EQ(countOf(surface, Rgb{7, 7, 7}), 4);
    EXPECT_EQ(surface.pixel(4, 8), (Rgb{1, 1, 1}));
    surface.fillRect(Rect{0, 0, 10, 10}, Brush{});
    EXPECT_EQ(countOf(surface, Rgb{1, 1, 1}), 100 - 16);
}

TEST(Surface, TracksTheAreaPaintedSinceItWasLastAsked)
{
    Surface surface(50, 50);
    surface.takeChangedArea();
    surface.fillRect(Rect{5, 6, 10, 12}, Brush{true, Rgb{1, 2, 3}});
    surface.setPixel(30, 2, Rgb{1, 1, 1});
    EXPECT_EQ(surface.takeChangedArea(), (Rect{5, 2, 31, 12}));
    EXPECT_TRUE(surface.takeChangedArea().isEmpty());
}

TEST(Surface, AMissingPictureFileLeavesTheSurfaceAsItWas)
{
    Surface surface = filled(2, 2, Rgb{4, 4, 4});
    EXPECT_FALSE(surface.loadBmp("/nonexistent/ALLPICDATA.BMP"));
    EXPECT_EQ(surface.width(), 2);
    EXPECT_EQ(surface.pixel(0, 0), (Rgb{4, 4, 4}));
}

// Where the ink of drawn text lies, and in how many separate bands of rows.
struct Ink {
    Rect bounds;
    int lines = 0;
    int rows = 0;
};

class Text : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application::instance();
        surface.setTextColour(kInk);
    }

    Ink ink(int fromRow = 0) const
    {
        Ink ink{Rect{400, 200, 0, 0}};
        bool previousRowInked = false;
        for (int y = fromRow; y < 200; ++y) {
            bool inked = false;
            for (int x = 0; x < 400; ++x) {
                if (surface.pixel(x, y) == kInk) {
                    inked = true;
                    ink.bounds = Rect{std::min(ink.bounds.left, x), std::min(ink.bounds.top, y),
                                      std::max(ink.bounds.right, x + 1), std::max(ink.bounds.bottom, y + 1)};
                }
            }
            ink.rows += inked ? 1 : 0;
            ink.lines += inked && !previousRowInked ? 1 : 0;
            previousRowInked = inked;
        }
        return ink;
    }

    Surface surface = filled(400, 200, kPaper);
};

TEST_F(Text, ACentredLineSitsInTheMiddleBothWaysAndALineBreakStartsNoSecondLine)
{
    surface.drawText("Centre\nline", Rect{100, 50, 300, 150}, TextFlags::CenteredLine);
    const Ink drawn = ink();
    EXPECT_EQ(drawn.lines, 1);
    EXPECT_NEAR((drawn.bounds.left + drawn.bounds.right) / 2.0, 200, 2.0);
    EXPECT_NEAR((drawn.bounds.top + drawn.bounds.bottom) / 2.0, 100, 4.0);
}

TEST_F(Text, CentredLinesStartAtTheTopEachCentred)
{
    surface.drawText("Wide first line\nIt", Rect{0, 40, 400, 200}, TextFlags::Center);
    const Ink drawn = ink();
    EXPECT_EQ(drawn.lines, 2);
    EXPECT_LT(drawn.bounds.top, 40 + 8);
    const Ink second = ink(drawn.bounds.top + 19);
    EXPECT_NEAR((second.bounds.left + second.bounds.right) / 2.0, 200, 2.0);
    EXPECT_GT(second.bounds.left, drawn.bounds.left + 40);
}

TEST_F(Text, LeftAlignedLinesStartAtTheTopAndAreCutNotWrapped)
{
    surface.drawText("A long name that does not fit\nB", Rect{20, 30, 120, 200}, TextFlags::VCenter);
    const Ink drawn = ink();
    EXPECT_EQ(drawn.lines, 2) << "vertical centring applies to single lines only";
    EXPECT_LE(drawn.bounds.left, 22);
    EXPECT_LT(drawn.bounds.top, 30 + 8);
    EXPECT_LE(drawn.bounds.right, 120) << "cut at the right edge";
    EXPECT_GE(drawn.bounds.right, 115) << "the first line runs up to the edge";
}

TEST_F(Text, TextIsDrawnInTheCurrentFontOverTheBackground)
{
    surface.fillRect(Rect{0, 0, 200, 200}, Brush{true, Rgb{0, 99, 0}});
    surface.drawText("Mixed", Rect{150, 0, 250, 40}, TextFlags::VCenter);
    const int smallRows = ink().rows;
    EXPECT_EQ(surface.pixel(150, 39), (Rgb{0, 99, 0})) << "transparent: the fill shows through";
    surface.fillRect(Rect{0, 0, 400, 200}, Brush{true, kPaper});
    surface.setFont(Font{"Arial", 16.0, true});
    surface.drawText("Mixed", Rect{150, 0, 400, 40}, TextFlags::VCenter);
    EXPECT_GT(ink().rows, smallRows) << "a bigger font, taller letters";
}

} // namespace
} // namespace snugbox
