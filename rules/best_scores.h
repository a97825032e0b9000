#pragma once
// Ranking a finished game's score against the eight best of its game mode.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace snugbox {

struct GameState;

// Place 1..8 the score would take in the table of `mode`, or 9 when it earns none.
// A score equal to an entry goes below it, so 0 never enters a table of zeros. Only
// modes 1 and 2 have tables; any other mode earns no place.
std::int16_t rankOfScore(const GameState& state, std::int16_t mode, std::int32_t score);

// Enters score and name at the place rankOfScore gives, moving the entries below down
// one place (the last one drops out). Does nothing when the score earns no place.
void insertBestScore(GameState& state, std::int16_t mode, std::int32_t score,
                     const std::string& name);

// The name without U+FEFF. Names never hold that invisible mark, which a paste can bring:
// the store's text format drops it at the start of a value, so a name holding it would
// not come back as it was saved.
std::string withoutInvisibleMarks(std::string_view name);

// Names are UTF-8 and their limits count characters: a byte starts a character unless it
// continues one.
inline bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U; }
std::size_t characterCount(std::string_view name);

} // namespace snugbox
