// The piece on the mouse. It is laid over the window without repainting what lies under
// it: the covered pixels are kept in a save-under, the piece's squares are turned white
// by ORing a mask and then coloured, with their shadow, by ANDing an image. Moving it is
// four block copies of one small square and a refresh, whatever the board holds.
#include <algorithm>

#include "graphics/colours.h"
#include "graphics/graphics.h"
#include "graphics/sprite_layout.h"
#include "rules/game_state.h"
#include "rules/pieces.h"
#include "screen/frm_holdfast.h"

namespace snugbox {

bool frmHoldfast::isCarriedPieceLive() const
{
    return state_.piecePool.contains(state_.carriedPiece) && state_.piecePoolUsed[state_.carriedPiece];
}

// The picture's top-left corner for a pointer position: the grab square's centre sits
// under the pointer. Worked out in 16 bits, like every position of the carried piece.
namespace {

std::int16_t pictureCorner(std::int16_t pointer, std::int16_t grabOffset)
{
    return static_cast<std::int16_t>(pointer - grabOffset);
}

} // namespace

void frmHoldfast::prepareCarriedPiece()
{
    computeGrabOffset(state_);
    const int size = graphics_.carrySurfaceSize;
    const int shadow = graphics_.carryShadowOffset;
    Surface& mask = graphics_.pieceMaskSurface;
    Surface& image = graphics_.pieceImageSurface;
    mask.fillRect(Rect{0, 0, size, size}, blackBrush);
    image.fillRect(Rect{0, 0, size, size}, whiteBrush);
    if (!isCarriedPieceLive()) {
        return;
    }
    const PieceShape& piece = state_.piecePool[state_.carriedPiece];
    const Surface& sprites = graphics_.spriteSurface;
    const int squares = std::min({static_cast<int>(piece.squareCount), piece.squares.count(), piece.colours.count()});
    // Every shadow before any square, so a square always lies over its neighbours' shadows.
    for (int k = 1; k <= squares; ++k) {
        const Square& at = piece.squares[k];
        const sprite::Region source = sprite::shadowSquare(piece.colours[k]);
        image.blockCopy(at.col * cellSize + shadow, at.row * cellSize + shadow, cellSize, cellSize, sprites, source.x,
                        source.y, RasterOp::SrcCopy);
    }
    for (int k = 1; k <= squares; ++k) {
        const Square& at = piece.squares[k];
        const int left = at.col * cellSize;
        const int top = at.row * cellSize;
        mask.fillRect(Rect{left, top, left + cellSize, top + cellSize}, whiteBrush);
        const sprite::Region source = sprite::pieceSquare(piece.colours[k]);
        image.blockCopy(left, top, cellSize, cellSize, sprites, source.x, source.y, RasterOp::SrcCopy);
    }
}

void frmHoldfast::startShowingMousePiece(std::int16_t x, std::int16_t y)
{
    prepareCarriedPiece();
    const int size = graphics_.carrySurfaceSize;
    graphics_.saveUnderSurface.blockCopy(0, 0, size, size, window_.surface(), pictureCorner(x, state_.grabOffsetX),
                                         pictureCorner(y, state_.grabOffsetY), RasterOp::SrcCopy);
    state_.carriedPieceX = x;
    state_.carriedPieceY = y;
    // Its first step puts back exactly what was just saved, so nothing is lost.
    showPickedPieceAt(x, y);
}

void frmHoldfast::showPickedPieceAt(std::int16_t x, std::int16_t y)
{
    Surface& target = window_.surface();
    const int size = graphics_.carrySurfaceSize;
    const std::int16_t left = pictureCorner(x, state_.grabOffsetX);
    const std::int16_t top = pictureCorner(y, state_.grabOffsetY);
    eraseMousePiece();
    graphics_.saveUnderSurface.blockCopy(0, 0, size, size, target, left, top, RasterOp::SrcCopy);
    target.blockCopy(left, top, size, size, graphics_.pieceMaskSurface, 0, 0, RasterOp::SrcPaint);
    target.blockCopy(left, top, size, size, graphics_.pieceImageSurface, 0, 0, RasterOp::SrcAnd);
    state_.carriedPieceX = x;
    state_.carriedPieceY = y;
    window_.refresh();
}

void frmHoldfast::redrawMousePiece()
{
    const int size = graphics_.carrySurfaceSize;
    graphics_.saveUnderSurface.blockCopy(0, 0, size, size, window_.surface(),
                                         pictureCorner(state_.carriedPieceX, state_.grabOffsetX),
                                         pictureCorner(state_.carriedPieceY, state_.grabOffsetY), RasterOp::SrcCopy);
    showPickedPieceAt(state_.carriedPieceX, state_.carriedPieceY);
}

void frmHoldfast::eraseMousePiece()
{
    const int size = graphics_.carrySurfaceSize;
    window_.surface().blockCopy(pictureCorner(state_.carriedPieceX, state_.grabOffsetX),
                                pictureCorner(state_.carriedPieceY, state_.grabOffsetY), size, size,
                                graphics_.saveUnderSurface, 0, 0, RasterOp::SrcCopy);
}

// --- Clearing completed lines ----------------------------------------------------------

void frmHoldfast::animateLineClear()
{
    constexpr int kFrames = 5;
    constexpr int kFrameMs = 10;
    for (int k = kFrames; k >= 1; --k) {
        drawClearFrame(boardPanel_, k / 6.0);
        window_.refresh();
        sleepMs(kFrameMs);
    }
    drawClearFrame(boardPanel_, 0.0);
}

void frmHoldfast::drawClearFrame(const Panel& panel, double scale)
{
    const Surface& sprites = graphics_.spriteSurface;
    for (int row = 1; row <= state_.boardMarks.rows(); ++row) {
        for (int col = 1; col <= state_.boardMarks.cols(); ++col) {
            if (state_.boardMarks(row, col) == 0 || !state_.boardCells.contains(row, col) ||
                !state_.boardBase.contains(row, col)) {
                continue;
            }
            const auto col0 = static_cast<std::int16_t>(col - 1);
            const auto row0 = static_cast<std::int16_t>(row - 1);
            drawCell(panel, sprites, col0, row0, state_.boardBase(row, col));
            if (scale > 0.1) {
                drawShrunkCell(panel, sprites, col0, row0, state_.boardCells(row, col), scale);
            }
        }
    }
}

} // namespace snugbox
