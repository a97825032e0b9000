#include <gtest/gtest.h>

#include "platform/surface.h"

namespace snugbox {
namespace {

Surface filled(int width, int height, Rgb colour)
{
    Surface surface(width, height);
    surface.fillRect(Rect{0, 0, width, height}, Brush{true, colour});
    return surface;
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
            int painted = 0;
            for (int y = 0; y < 4; ++y) {
                for (int x = 0; x < 4; ++x) {
                    painted += target.pixel(x, y) == Rgb{200, 0, 0} ? 1 : 0;
                }
            }
            EXPECT_EQ(painted, dx < 0 && dy < 0 ? 1 : dx < 0 || dy < 0 ? 2 : 4) << dx << "," << dy;
        }
    }
    // Reading beyond the source writes nothing there: only the 3 x 3 part arrives.
    Surface target = filled(6, 6, Rgb{0, 0, 9});
    target.blockCopy(0, 0, 6, 6, source, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(target.pixel(2, 2), (Rgb{200, 0, 0}));
    EXPECT_EQ(target.pixel(3, 2), (Rgb{0, 0, 9}));
    // A source origin off the sheet shifts the clipped part to where it belongs.
    Surface shifted = filled(6, 6, Rgb{0, 0, 9});
    shifted.blockCopy(0, 0, 4, 4, source, -1, -1, RasterOp::SrcCopy);
    EXPECT_EQ(shifted.pixel(0, 0), (Rgb{0, 0, 9}));
    EXPECT_EQ(shifted.pixel(1, 1), (Rgb{200, 0, 0}));
    EXPECT_EQ(shifted.pixel(3, 3), (Rgb{200, 0, 0}));
    // An empty (unloaded) source paints nothing.
    shifted.blockCopy(0, 0, 4, 4, Surface(), 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(shifted.pixel(1, 1), (Rgb{200, 0, 0}));
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
    source.setPixel(0, 0, Rgb{1, 0, 0});
    source.setPixel(1, 0, Rgb{2, 0, 0});
    source.setPixel(0, 1, Rgb{3, 0, 0});
    source.setPixel(1, 1, Rgb{4, 0, 0});
    Surface target(4, 4);
    target.stretchCopy(0, 0, 4, 4, source, 0, 0, 2, 2, RasterOp::SrcCopy);
    EXPECT_EQ(target.pixel(1, 1).red, 1);
    EXPECT_EQ(target.pixel(2, 1).red, 2);
    EXPECT_EQ(target.pixel(1, 2).red, 3);
    EXPECT_EQ(target.pixel(3, 3).red, 4);
}

TEST(Surface, OutlineLiesInsideTheRectangleAndLinesStopShortOfTheirEnd)
{
    Surface surface = filled(10, 10, Rgb{1, 1, 1});
    surface.selectPen(Pen{true, Rgb{9, 9, 9}});
    surface.outlineRect(Rect{2, 2, 6, 6});
    EXPECT_EQ(surface.pixel(2, 2), (Rgb{9, 9, 9}));
    EXPECT_EQ(surface.pixel(5, 5), (Rgb{9, 9, 9}));
    EXPECT_EQ(surface.pixel(6, 5), (Rgb{1, 1, 1}));
    EXPECT_EQ(surface.pixel(3, 3), (Rgb{1, 1, 1})) << "the interior is not filled";

    surface.selectPen(Pen{}); // no pen: the frame pen stays selected
    EXPECT_EQ(surface.pen().colour, (Rgb{9, 9, 9}));
    surface.selectPen(Pen{true, Rgb{7, 7, 7}});
    surface.moveTo(0, 8);
    surface.lineTo(4, 8);
    EXPECT_EQ(surface.pixel(0, 8), (Rgb{7, 7, 7}));
    EXPECT_EQ(surface.pixel(3, 8), (Rgb{7, 7, 7}));
    EXPECT_EQ(surface.pixel(4, 8), (Rgb{1, 1, 1}));
}

TEST(Surface, FillWithoutABrushPaintsNothing)
{
    Surface surface = filled(3, 3, Rgb{5, 5, 5});
    surface.fillRect(Rect{0, 0, 3, 3}, Brush{});
    EXPECT_EQ(surface.pixel(1, 1), (Rgb{5, 5, 5}));
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

} // namespace
} // namespace snugbox
