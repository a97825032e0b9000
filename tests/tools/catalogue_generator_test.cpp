#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "tools/catalogue_generator.h"

namespace snugbox::tools {
namespace {

// The shape turned a quarter clockwise, still in the top-left corner, its squares in order.
ShapeBytes turned(const ShapeBytes& shape)
{
    int lowestRow = 0;
    for (std::uint8_t square : shape) {
        lowestRow = std::max(lowestRow, square >> 4);
    }
    ShapeBytes result;
    for (std::uint8_t square : shape) {
        result.push_back(static_cast<std::uint8_t>((square & 15) << 4 | (lowestRow - (square >> 4))));
    }
    std::sort(result.begin(), result.end());
    return result;
}

TEST(CatalogueGenerator, ListsEveryOneSidedShapeThatFitsFourByFourOnceWhicheverWayItIsTurned)
{
    const std::size_t expected[] = {1, 1, 2, 7, 17, 50};   // mirror images are shapes of their own
    for (int size = 1; size <= 6; ++size) {
        const std::vector<ShapeBytes> shapes = oneSidedPolyominoes(size);
        EXPECT_EQ(shapes.size(), expected[size - 1]) << size;
        std::set<ShapeBytes> seen;
        for (const ShapeBytes& shape : shapes) {
            std::set<ShapeBytes> orientations{shape};
            ShapeBytes turn = shape;
            for (int quarter = 1; quarter < 4; ++quarter) {
                orientations.insert(turn = turned(turn));
            }
            for (const ShapeBytes& orientation : orientations) {
                EXPECT_TRUE(seen.insert(orientation).second) << "two shapes of size " << size << " are turns of each other";
            }
        }
    }
}

TEST(CatalogueGenerator, RegeneratesTheShippedFileByteForByte)
{
    std::ifstream file(std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT", std::ios::binary);
    const std::vector<std::uint8_t> shipped{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(shipped == generateCatalogue()) << "data/ALLPIECES.PDAT is stale: run `make data`";
}

} // namespace
} // namespace snugbox::tools
