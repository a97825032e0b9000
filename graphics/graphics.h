#pragma once
// The pictures the game is painted from and the sprite copies that put board cells,
// piece squares and button faces on a panel. Every copy is one block copy from a surface
// that is already in memory; nothing is loaded or allocated while playing.
//
// A panel paints into *panel.surface; a panel without a surface paints nothing. A sprite
// sheet that failed to load is an empty surface, and copies from it paint nothing.

#include <cstdint>
#include <string>

#include "platform/surface.h"

namespace snugbox {

struct GameState;
struct Panel;
struct PieceShape;

struct GraphicsResources {
    Surface spriteSurface;       // ALLPICDATA.BMP
    Surface backgroundSurface;   // BGIMG.BMP, the welcome picture
    // The piece that follows the mouse: drawn by combining a mask and an image over a
    // saved copy of what lies under it, so moving it never repaints the board.
    Surface pieceMaskSurface;
    Surface pieceImageSurface;
    Surface saveUnderSurface;
    std::int16_t carrySurfaceSize = 0;    // edge of the three carried-piece surfaces
    std::int16_t carryShadowOffset = 0;   // how far right and down the shadow lies
};

// Loads the sprite sheet and the welcome picture from the program's directory (appPath
// ends in a separator). A missing or unreadable file is not reported: its surface stays
// empty and play goes on without that picture.
void loadGraphics(GraphicsResources& resources, const std::string& appPath);
// The two halves of loadGraphics: the welcome screen needs only the welcome picture, so
// start-up reads the sprite sheet once that screen is up.
void loadWelcomePicture(GraphicsResources& resources, const std::string& appPath);
void loadSpriteSheet(GraphicsResources& resources, const std::string& appPath);

// The three carried-piece surfaces, each a square of cellSize * 4 + 10 pixels: room for
// a piece in a 4 x 4 box plus its shadow.
void createCarrySurfaces(GraphicsResources& resources);

// Every board cell, rows top to bottom and each row left to right. panel.tag is the
// square size.
void drawBoard(const Panel& panel, const GameState& state, const Surface& sprites);

// One cell (0-based column and row): values 1..10 show that board tile, 11..15 a square
// of colour value - 10. A square size other than 45 shows the sprite's top-left part,
// unscaled. Values outside 1..15 paint nothing.
void drawCell(const Panel& panel, const Surface& sprites, std::int16_t col0, std::int16_t row0,
              std::int16_t value);

// A covered cell's square shrunk about the cell's centre to scale (0, 1]; the line-clear
// animation. Paints nothing for a value that is not a square.
void drawShrunkCell(const Panel& panel, const Surface& sprites, std::int16_t col0, std::int16_t row0,
                    std::int16_t value, double scale);

// A piece centred in dispenser slot slotIndex (1-based), squares of the slot's tag size.
// The slot's background is the caller's to paint first.
void drawPieceInSlot(const GameState& state, const Surface& sprites, std::int16_t slotIndex,
                     const PieceShape& piece);

// A fixed picture filling the panel: kind 2 the level badge, kind 8 the side picture.
// Other kinds paint nothing; lit does not change these two.
void drawPanelFace(const Panel& panel, const Surface& sprites, std::int32_t kind, bool lit);

// Button face number face, lit or normal, filling the panel.
void drawButtonFace(const Panel& panel, const Surface& sprites, std::int32_t face, bool lit);

// The top-left width x height pixels of a picture, onto the panel.
void copyPicture(const Panel& panel, const Surface& source);

} // namespace snugbox
