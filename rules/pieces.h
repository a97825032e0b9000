#pragma once
// Making new pieces and turning them: random size, shape, colour and turn for a new
// piece in the first free dispenser slot; the clockwise quarter turn the player uses;
// the square a carried piece is held by and where its centre lies in the picture.

#include <cstdint>

namespace snugbox {

struct GameState;
struct PieceShape;
class RandomSource;

// Number of squares (1..6) for a new piece; larger pieces grow likelier with the level.
// One draw.
std::int16_t pickPieceSize(const GameState& state, RandomSource& random);

// Makes a random piece in the first free slot in play and returns that slot. Returns -1
// when every slot in play is full, without drawing or touching the pool. Returns 0 when
// the catalogue has no shape of the drawn size (a loaded catalogue always has).
// Four draws: size, shape, colour, turn.
std::int16_t generatePiece(GameState& state, RandomSource& random);

// Turns a piece clockwise (code mod 4) times: codes 1 and 5 once, 2 and 6 twice,
// 3 and 7 three times, 4 and 8 not at all.
void orientPiece(PieceShape& piece, int code);
// The number of clockwise quarter turns an orientation code stands for.
int turnsForOrientation(int code);

// A quarter turn clockwise on screen. Squares keep their numbers and colours, so the
// square the piece is held by stays the same square.
void rotatePieceRight(PieceShape& piece);

// The leftmost square of the lowest row; 0 for a piece without squares.
std::int16_t findGrabSquare(const PieceShape& piece);

// grabOffsetX/Y: the centre of square grabSquare of the carried piece in the carried
// picture, in pixels. Left unchanged when there is no carried piece or no such square.
void computeGrabOffset(GameState& state);

} // namespace snugbox
