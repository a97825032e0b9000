#include "rules/pieces.h"

#include <algorithm>
#include <array>
#include <utility>

#include "rules/game_state.h"
#include "rules/random.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

inline constexpr int kLargestGeneratedPiece = 6;

// For each band of levels, the values of v = 1..101 that sizes 1 to 5 stay below;
// whatever is left is a piece of six. Later bands shift toward larger pieces.
constexpr std::array<std::array<int, kLargestGeneratedPiece - 1>, 4> kSizeBounds{{
    {15, 35, 55, 80, 95},   // levels 1-2
    {10, 30, 50, 80, 93},   // levels 3-4
    {8, 28, 50, 80, 90},    // levels 5-6
    {4, 16, 35, 70, 80},    // levels 7 and up
}};

std::size_t sizeBand(std::int16_t level)
{
    if (level < 3) {
        return 0;
    }
    if (level < 5) {
        return 1;
    }
    return level < 7 ? 2 : 3;
}

// round((m - 1) r + 1): 1..m, the two end values half as likely as the inner ones.
// Clamped so that a source straying outside [0, 1) still picks a real entry.
int drawOneTo(int m, double r)
{
    return std::clamp(nearest((m - 1) * r + 1.0), 1, std::max(m, 1));
}

} // namespace

std::int16_t pickPieceSize(const GameState& state, RandomSource& random)
{
    const std::int32_t v = nearest(random.next() * 100.0 + 1.0);
    const auto& bounds = kSizeBounds[sizeBand(state.currentLevel)];
    for (std::size_t size = 1; size <= bounds.size(); ++size) {
        if (v < bounds[size - 1]) {
            return static_cast<std::int16_t>(size);
        }
    }
    return kLargestGeneratedPiece;
}

std::int16_t generatePiece(GameState& state, RandomSource& random)
{
    const std::int16_t slot = findFreeDispenser(state);
    if (slot < 0) {
        return -1;
    }
    const std::int16_t size = pickPieceSize(state, random);
    const double shapeDraw = random.next();
    if (!state.allPieces.contains(size)) {
        return 0;
    }
    const PieceSizeClass& sizeClass = state.allPieces[size];
    const int shapeCount = std::min<int>(sizeClass.shapeCount, sizeClass.shapes.count());
    if (shapeCount < 1) {
        return 0;
    }
    const PieceShape& shape = sizeClass.shapes[drawOneTo(shapeCount, shapeDraw)];
    const int squares = std::min<int>(size, shape.squares.count());

    const std::int16_t index = allocPoolPiece(state);
    state.piecePoolUsed[index] = true;
    PieceShape& piece = state.piecePool[index];
    piece.squares.resize(squares);
    piece.colours.resize(squares);

    // One colour for the whole piece.
    const auto colour = static_cast<std::int16_t>(drawOneTo(colourCount, random.next()));
    for (int k = 1; k <= squares; ++k) {
        piece.squares[k] = shape.squares[k];
        piece.colours[k] = colour;
    }
    piece.squareCount = static_cast<std::int16_t>(squares);
    piece.width = shape.width;
    piece.height = shape.height;
    state.dispensers[slot].pieceIndex = index;

    orientPiece(piece, nearest(random.next() * 7.0 + 1.0));
    return slot;
}

int turnsForOrientation(int code) { return ((code % 4) + 4) % 4; }

void orientPiece(PieceShape& piece, int code)
{
    // Codes 4 to 8 were once meant to mirror the piece as well; mirrored shapes come
    // from the catalogue as shapes of their own instead, so only the turns remain.
    for (int turn = turnsForOrientation(code); turn > 0; --turn) {
        rotatePieceRight(piece);
    }
}

void rotatePieceRight(PieceShape& piece)
{
    const int count = piece.squares.count();
    if (count > 0) {
        std::int16_t lowestRow = piece.squares[1].row;
        for (int k = 2; k <= count; ++k) {
            lowestRow = std::max(lowestRow, piece.squares[k].row);
        }
        for (int k = 1; k <= count; ++k) {
            Square& square = piece.squares[k];
            square = Square{static_cast<std::int16_t>(lowestRow - square.row), square.col};
        }
    }
    std::swap(piece.width, piece.height);
}

std::int16_t findGrabSquare(const PieceShape& piece)
{
    const int count = piece.squares.count();
    if (count < 1) {
        return 0;
    }
    int best = 1;
    for (int k = 2; k <= count; ++k) {
        const Square& square = piece.squares[k];
        const Square& held = piece.squares[best];
        if (square.row > held.row || (square.row == held.row && square.col <= held.col)) {
            best = k;
        }
    }
    return static_cast<std::int16_t>(best);
}

void computeGrabOffset(GameState& state)
{
    if (!state.piecePool.contains(state.carriedPiece)) {
        return;
    }
    const PieceShape& piece = state.piecePool[state.carriedPiece];
    if (!piece.squares.contains(state.grabSquare)) {
        return;
    }
    const Square& held = piece.squares[state.grabSquare];
    state.grabOffsetX = static_cast<std::int16_t>(nearest(cellSize * held.col + cellSize / 2.0));
    state.grabOffsetY = static_cast<std::int16_t>(nearest(cellSize * held.row + cellSize / 2.0));
}

} // namespace snugbox
