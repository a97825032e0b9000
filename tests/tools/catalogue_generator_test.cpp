#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "tools/catalogue_generator.h"

namespace snugbox::tools {
namespace {

ShapeBytes normalisedCopy(std::vector<std::pair<int, int>> squares)
{
    int minCol = 99, minRow = 99;
    for (auto [col, row] : squares) {
        minCol = std::min(minCol, col);
        minRow = std::min(minRow, row);
    }
    ShapeBytes bytes;
    for (auto [col, row] : squares) {
        bytes.push_back(static_cast<std::uint8_t>((row - minRow) << 4 | (col - minCol)));
    }
    std::sort(bytes.begin(), bytes.end());
    return bytes;
}

ShapeBytes mirrored(const ShapeBytes& shape)
{
    std::vector<std::pair<int, int>> squares;
    for (std::uint8_t square : shape) {
        squares.emplace_back(-(square & 15), square >> 4);
    }
    return normalisedCopy(squares);
}

ShapeBytes turned(const ShapeBytes& shape)
{
    std::vector<std::pair<int, int>> squares;
    for (std::uint8_t square : shape) {
        squares.emplace_back(-(square >> 4), square & 15);
    }
    return normalisedCopy(squares);
}

TEST(CatalogueGenerator, ListsEveryOneSidedShapeThatFitsFourByFour)
{
    const std::size_t expected[] = {1, 1, 2, 7, 17, 50};
    for (int size = 1; size <= 6; ++size) {
        EXPECT_EQ(oneSidedPolyominoes(size).size(), expected[size - 1]) << size;
    }
}

TEST(CatalogueGenerator, NoShapeIsATurnOfAnotherButMirrorImagesAreKept)
{
    for (int size = 1; size <= 6; ++size) {
        const std::vector<ShapeBytes> shapes = oneSidedPolyominoes(size);
        const std::set<ShapeBytes> listed(shapes.begin(), shapes.end());
        for (const ShapeBytes& shape : shapes) {
            ShapeBytes orientation = turned(shape);
            for (int turn = 1; turn < 4; ++turn, orientation = turned(orientation)) {
                EXPECT_TRUE(orientation == shape || listed.count(orientation) == 0)
                    << "two listed shapes of size " << size << " are turns of each other";
            }
        }
    }
    const std::vector<ShapeBytes> tetrominoes = oneSidedPolyominoes(4);
    // The L and the J tetromino are both there: mirror images are different shapes.
    int chiral = 0;
    for (const ShapeBytes& shape : tetrominoes) {
        ShapeBytes image = mirrored(shape);
        bool sameUnderTurns = false;
        for (int turn = 0; turn < 4; ++turn, image = turned(image)) {
            sameUnderTurns = sameUnderTurns || image == shape;
        }
        chiral += sameUnderTurns ? 0 : 1;
    }
    EXPECT_EQ(chiral, 4) << "L, J, S and Z";
}

TEST(CatalogueGenerator, RegeneratesTheShippedFileByteForByte)
{
    std::ifstream file(std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT", std::ios::binary);
    const std::vector<std::uint8_t> shipped{std::istreambuf_iterator<char>(file),
                                            std::istreambuf_iterator<char>()};
    const std::vector<std::uint8_t> generated = generateCatalogue();
    EXPECT_EQ(generated.size(), 4u + 6u * 8u + 1u * 3u + 1u * 4u + 2u * 5u + 7u * 6u + 17u * 7u + 50u * 8u);
    EXPECT_TRUE(shipped == generated) << "data/ALLPIECES.PDAT is stale: run `make data`";
}

} // namespace
} // namespace snugbox::tools
