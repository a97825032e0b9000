#pragma once
// Where every picture lies in the sprite sheet ALLPICDATA.BMP. The drawing operations read
// these regions and the art generator paints them, so both sides share this one table.
// The unit of the sheet is the board's cell size, 45 pixels.

#include <cstdint>

#include "rules/game_state.h"

namespace snugbox::sprite {

struct Region {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    constexpr bool operator==(const Region&) const = default;
};

inline constexpr int kSheetWidth = 10 * cellSize;   // 450: ten board tiles side by side
inline constexpr int kSheetHeight = 481;            // the bottom of the full score bar
inline constexpr int kTileCount = 10;

// Board tile t = 1..10: the empty cells. Levels use them in pairs (1-2, 3-4, ... 9-10).
constexpr Region boardTile(int tile) { return {cellSize * (tile - 1), 0, cellSize, cellSize}; }
// A square of a piece of colour k = 1..colourCount.
constexpr Region pieceSquare(int colour) { return {cellSize * (colour - 1), cellSize, cellSize, cellSize}; }
// The shadow of a square of colour k, ANDed onto whatever lies under it.
constexpr Region shadowSquare(int colour) { return {cellSize * (colour - 1), 2 * cellSize, cellSize, cellSize}; }

// Button faces are stacked 31 pixels apart; the lit look sits left of the normal one.
inline constexpr int kFaceTop = 114;
inline constexpr int kFaceStep = 31;
inline constexpr int kFaceNormalX = 123;
constexpr Region buttonFace(int face, bool lit)
{
    return {lit ? 0 : kFaceNormalX, kFaceTop + kFaceStep * face, 122, 30};
}

// The faces the game draws. The menu uses 4 to 8; 9 is the plate under the score, which
// uses the spare row below it too (122 x 31).
inline constexpr int kFaceExit = 4;
inline constexpr int kFaceNewGame = 5;
inline constexpr int kFaceBestScores = 6;
inline constexpr int kFacePause = 7;
inline constexpr int kFaceHelp = 8;
inline constexpr int kFaceScorePlate = 9;
inline constexpr Region scorePlate{0, kFaceTop + kFaceStep * kFaceScorePlate, 122, 31};

// Fixed pictures, by the kind number the windows ask for.
inline constexpr int kKindLevelBadge = 2;
inline constexpr int kKindSidePicture = 8;
inline constexpr Region levelBadge{246, 144, 50, 50};
inline constexpr Region sidePicture{225, 45, 165, 67};

// The two score bars line up pixel for pixel: the bar shows the full one up to the
// level's progress and the empty one after it.
inline constexpr Region emptyScoreBar{0, 428, 241, 25};
inline constexpr Region fullScoreBar{0, 456, 241, 25};

} // namespace snugbox::sprite
