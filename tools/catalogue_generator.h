#pragma once
// Builds the shipped piece catalogue: for every size s = 1..6, each one-sided polyomino
// of s squares whose bounding box fits in 4 x 4 squares (rotations are one shape, mirror
// images are two). Larger boxes would be cut off in the carried picture and overflow a
// dispenser slot.

#include <cstdint>
#include <vector>

namespace snugbox::tools {

inline constexpr int kCatalogueMaxSize = 6;
inline constexpr int kCatalogueBox = 4;

// One shape as its square bytes (row << 4 | column), sorted, rows and columns from 0.
using ShapeBytes = std::vector<std::uint8_t>;

// The shapes of one size in their canonical orientation, in a fixed order.
std::vector<ShapeBytes> oneSidedPolyominoes(int size);

// The whole ALLPIECES.PDAT file.
std::vector<std::uint8_t> generateCatalogue();

} // namespace snugbox::tools
