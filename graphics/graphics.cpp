#include "graphics/graphics.h"

#include <algorithm>

#include "graphics/sprite_layout.h"
#include "rules/game_state.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

constexpr std::int16_t kCarryShadowOffset = 10;

bool isSquareValue(int value) { return value > colourBase && value <= colourBase + colourCount; }
bool isTileValue(int value) { return value >= 1 && value <= colourBase; }

// The sprite a board cell of this value shows.
sprite::Region cellSprite(int value)
{
    return isSquareValue(value) ? sprite::pieceSquare(value - colourBase) : sprite::boardTile(value);
}

void copyToPanel(const Panel& panel, const Surface& sprites, int sourceX, int sourceY)
{
    if (panel.surface == nullptr) {
        return;
    }
    panel.surface->blockCopy(panel.x, panel.y, panel.width, panel.height, sprites, sourceX, sourceY,
                             RasterOp::SrcCopy);
}

} // namespace

void loadGraphics(GraphicsResources& resources, const std::string& appPath)
{
    loadSpriteSheet(resources, appPath);
    loadWelcomePicture(resources, appPath);
}

// A failed load leaves the surface empty, so every copy from it paints nothing.
void loadWelcomePicture(GraphicsResources& resources, const std::string& appPath)
{
    resources.backgroundSurface = Surface();
    resources.backgroundSurface.loadBmp(appPath + "BGIMG.BMP");
}

void loadSpriteSheet(GraphicsResources& resources, const std::string& appPath)
{
    resources.spriteSurface = Surface();
    resources.spriteSurface.loadBmp(appPath + "ALLPICDATA.BMP");
}

void createCarrySurfaces(GraphicsResources& resources)
{
    resources.carrySurfaceSize = static_cast<std::int16_t>(cellSize * 4 + kCarryShadowOffset);
    resources.carryShadowOffset = kCarryShadowOffset;
    const int size = resources.carrySurfaceSize;
    resources.pieceImageSurface.reset(size, size);
    resources.pieceMaskSurface.reset(size, size);
    resources.saveUnderSurface.reset(size, size);
}

void drawBoard(const Panel& panel, const GameState& state, const Surface& sprites)
{
    for (int row = 1; row <= state.boardRows; ++row) {
        for (int col = 1; col <= state.boardCols; ++col) {
            if (!state.boardCells.contains(row, col)) {
                continue;   // a board not laid out yet has no cells to show
            }
            drawCell(panel, sprites, static_cast<std::int16_t>(col - 1), static_cast<std::int16_t>(row - 1),
                     state.boardCells(row, col));
        }
    }
}

void drawCell(const Panel& panel, const Surface& sprites, std::int16_t col0, std::int16_t row0,
              std::int16_t value)
{
    if (panel.surface == nullptr || !(isTileValue(value) || isSquareValue(value))) {
        return;
    }
    const int size = panel.tag;
    const sprite::Region source = cellSprite(value);
    panel.surface->blockCopy(panel.x + col0 * size, panel.y + row0 * size, size, size, sprites, source.x,
                             source.y, RasterOp::SrcCopy);
}

void drawShrunkCell(const Panel& panel, const Surface& sprites, std::int16_t col0, std::int16_t row0,
                    std::int16_t value, double scale)
{
    if (panel.surface == nullptr || !isSquareValue(value)) {
        return;
    }
    // In double and in this order: 45 * 5/6 lands a hair above 37.5 and its offset a hair
    // below 3.75, and the animation's frames depend on exactly that.
    const double size = panel.tag;
    const double inset = ((1.0 - scale) / 2.0) * size;
    const int left = nearest((panel.x + col0 * size) + inset);
    const int top = nearest((panel.y + row0 * size) + inset);
    const int shrunk = nearest(size * scale);
    const sprite::Region source = sprite::pieceSquare(value - colourBase);
    panel.surface->stretchCopy(left, top, shrunk, shrunk, sprites, source.x, source.y, panel.tag, panel.tag,
                               RasterOp::SrcCopy);
}

void drawPieceInSlot(const GameState& state, const Surface& sprites, std::int16_t slotIndex,
                     const PieceShape& piece)
{
    if (!state.dispensers.contains(slotIndex)) {
        return;
    }
    const Panel& slot = state.dispensers[slotIndex];
    if (slot.surface == nullptr) {
        return;
    }
    const int size = slot.tag;
    const auto offsetX = static_cast<std::int16_t>(nearest((slot.width - piece.width * size) / 2.0));
    const auto offsetY = static_cast<std::int16_t>(nearest((slot.height - piece.height * size) / 2.0));
    // A piece record is never trusted beyond the squares and colours it really holds.
    const int squares = std::min({static_cast<int>(piece.squareCount), piece.squares.count(),
                                  piece.colours.count()});
    for (int i = 1; i <= squares; ++i) {
        const Square& square = piece.squares[i];
        const sprite::Region source = sprite::pieceSquare(piece.colours[i]);
        slot.surface->stretchCopy(slot.x + offsetX + square.col * size, slot.y + offsetY + square.row * size,
                                  size, size, sprites, source.x, source.y, cellSize, cellSize,
                                  RasterOp::SrcCopy);
    }
}

void drawPanelFace(const Panel& panel, const Surface& sprites, std::int32_t kind, bool /*lit*/)
{
    if (kind == sprite::kKindLevelBadge) {
        copyToPanel(panel, sprites, sprite::levelBadge.x, sprite::levelBadge.y);
    } else if (kind == sprite::kKindSidePicture) {
        copyToPanel(panel, sprites, sprite::sidePicture.x, sprite::sidePicture.y);
    }
}

void drawButtonFace(const Panel& panel, const Surface& sprites, std::int32_t face, bool lit)
{
    const sprite::Region source = sprite::buttonFace(face, lit);
    copyToPanel(panel, sprites, source.x, source.y);
}

void copyPicture(const Panel& panel, const Surface& source) { copyToPanel(panel, source, 0, 0); }

} // namespace snugbox
