#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>

#include "platform/surface.h"

namespace snugbox {
namespace {

Surface filled(int width, int height, Rgb colour)
{
    Surface surface(width, height);
    surface.fillRect(Rect{0, 0, width, height}, Brush{true, colour});
    return surface;
}

std::ptrdiff_t countOf(const Surface& surface, Rgb colour)
{
    const auto has = [&](int i) { return surface.pixel(i % surface.width(), i / surface.width()) == colour; };
    return std::ranges::count_if(std::views::iota(0, surface.width() * surface.height()), has);
}

TEST(Surface, OrAndCopiesCombineEachChannelBitwise)
{
    Surface target = filled(2, 1, Rgb{0x0f, 0xf0, 0x55});
    const Surface source = filled(1, 1, Rgb{0x31, 0x13, 0xaa});
    target.blockCopy(0, 0, 1, 1, source, 0, 0, RasterOp::SrcPaint);
    target.blockCopy(1, 0, 1, 1, source, 0, 0, RasterOp::SrcAnd);
    EXPECT_EQ(target.pixel(0, 0), (Rgb{0x3f, 0xf3, 0xff}));
    EXPECT_EQ(target.pixel(1, 0), (Rgb{0x01, 0x10, 0x00}));
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
    EXPECT_EQ(std::pair(target.pixel(1, 1), target.pixel(3, 3)), std::pair(Rgb{200, 0, 0}, Rgb{200, 0, 0}));
}

} // namespace
} // namespace snugbox
