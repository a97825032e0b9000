#pragma once
// The piece catalogue ALLPIECES.PDAT: for each piece size s = 1..N, every shape of s
// squares. Little-endian, no header:
//   int32 pieceSizeCount, then per class s: 4 reserved bytes, int32 shapeCount, and
//   shapeCount records of (u8 width, u8 height, s square bytes: low nibble column,
//   high nibble row).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "rules/game_state.h"

namespace snugbox {

// The generator draws sizes 1..6, so a usable catalogue has at least this many classes.
inline constexpr int kRequiredSizeClasses = 6;
// A shape's box is at most this many squares wide and high.
inline constexpr int kMaxShapeSide = 4;
// Classes and shapes are counted in 16 bits throughout the game.
inline constexpr std::int32_t kMaxCatalogueCount = 32767;

// Reads the catalogue at path into state.allPieces and state.pieceSizeCount.
// Returns a one-line message naming the file and the problem when the file cannot be
// used; state is then left untouched. Bytes after the last shape are ignored.
// Every shape of an accepted catalogue has its squares inside its box. Every shape of the
// classes the game draws from (1..kRequiredSizeClasses) also lies in a box of at most
// kMaxShapeSide x kMaxShapeSide squares, has a square in each row and column of that box
// and no two squares on one cell. Larger classes are never drawn, so the format's own
// limits are all they are held to.
std::optional<std::string> loadAllPieces(GameState& state, const std::string& path);

// The same for bytes already in memory; name is used in the message.
std::optional<std::string> parseAllPieces(GameState& state, std::span<const std::uint8_t> bytes,
                                          const std::string& name);

} // namespace snugbox
