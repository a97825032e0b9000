#include "tools/catalogue_generator.h"

#include <algorithm>
#include <bit>
#include <set>

namespace snugbox::tools {
namespace {

constexpr int kCells = kCatalogueBox * kCatalogueBox;

std::uint8_t packSquare(int col, int row) { return static_cast<std::uint8_t>(row << 4 | col); }
int colOf(std::uint8_t square) { return square & 15; }
int rowOf(std::uint8_t square) { return square >> 4; }

bool isConnected(unsigned mask)
{
    const unsigned start = mask & (~mask + 1);
    unsigned reached = start;
    unsigned frontier = start;
    while (frontier != 0) {
        unsigned next = 0;
        for (int cell = 0; cell < kCells; ++cell) {
            if ((frontier >> cell & 1U) == 0) {
                continue;
            }
            const int col = cell % kCatalogueBox;
            const int row = cell / kCatalogueBox;
            if (col > 0) next |= 1U << (cell - 1);
            if (col < kCatalogueBox - 1) next |= 1U << (cell + 1);
            if (row > 0) next |= 1U << (cell - kCatalogueBox);
            if (row < kCatalogueBox - 1) next |= 1U << (cell + kCatalogueBox);
        }
        frontier = next & mask & ~reached;
        reached |= frontier;
    }
    return reached == mask;
}

ShapeBytes normalised(std::vector<std::pair<int, int>> squares)
{
    int minCol = kCells;
    int minRow = kCells;
    for (const auto& [col, row] : squares) {
        minCol = std::min(minCol, col);
        minRow = std::min(minRow, row);
    }
    ShapeBytes bytes;
    for (const auto& [col, row] : squares) {
        bytes.push_back(packSquare(col - minCol, row - minRow));
    }
    std::sort(bytes.begin(), bytes.end());
    return bytes;
}

// The game's clockwise quarter turn: column = R - row, row = column.
ShapeBytes turnedClockwise(const ShapeBytes& shape)
{
    int lowestRow = 0;
    for (std::uint8_t square : shape) {
        lowestRow = std::max(lowestRow, rowOf(square));
    }
    std::vector<std::pair<int, int>> squares;
    for (std::uint8_t square : shape) {
        squares.emplace_back(lowestRow - rowOf(square), colOf(square));
    }
    return normalised(squares);
}

// Shapes in byte order, shorter first on a common start. Written out because GCC 12 at -O3
// warns about the library's memcmp-based vector comparison.
struct ShapeOrder {
    bool operator()(const ShapeBytes& a, const ShapeBytes& b) const
    {
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
            if (a[i] != b[i]) {
                return a[i] < b[i];
            }
        }
        return a.size() < b.size();
    }
};

ShapeBytes canonical(const ShapeBytes& shape)
{
    ShapeBytes best = shape;
    ShapeBytes turned = shape;
    for (int turn = 1; turn < 4; ++turn) {
        turned = turnedClockwise(turned);
        if (ShapeOrder{}(turned, best)) {
            best = turned;
        }
    }
    return best;
}

void appendInt32(std::vector<std::uint8_t>& out, std::int32_t value)
{
    const auto raw = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(raw >> shift));
    }
}

} // namespace

std::vector<ShapeBytes> oneSidedPolyominoes(int size)
{
    std::set<ShapeBytes, ShapeOrder> shapes;
    for (unsigned mask = 1; mask < (1U << kCells); ++mask) {
        if (std::popcount(mask) != size || !isConnected(mask)) {
            continue;
        }
        std::vector<std::pair<int, int>> squares;
        for (int cell = 0; cell < kCells; ++cell) {
            if (mask >> cell & 1U) {
                squares.emplace_back(cell % kCatalogueBox, cell / kCatalogueBox);
            }
        }
        shapes.insert(canonical(normalised(squares)));
    }
    return {shapes.begin(), shapes.end()};
}

std::vector<std::uint8_t> generateCatalogue()
{
    std::vector<std::uint8_t> out;
    appendInt32(out, kCatalogueMaxSize);
    for (int size = 1; size <= kCatalogueMaxSize; ++size) {
        const std::vector<ShapeBytes> shapes = oneSidedPolyominoes(size);
        appendInt32(out, 0); // reserved
        appendInt32(out, static_cast<std::int32_t>(shapes.size()));
        for (const ShapeBytes& shape : shapes) {
            int width = 0;
            int height = 0;
            for (std::uint8_t square : shape) {
                width = std::max(width, colOf(square) + 1);
                height = std::max(height, rowOf(square) + 1);
            }
            out.push_back(static_cast<std::uint8_t>(width));
            out.push_back(static_cast<std::uint8_t>(height));
            out.insert(out.end(), shape.begin(), shape.end());
        }
    }
    return out;
}

} // namespace snugbox::tools
