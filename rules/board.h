#pragma once
// The 9 x 9 board: its background pattern per level, whether a piece fits where the
// player points, writing a piece into it, and finding and clearing full lines.

#include <cstdint>

namespace snugbox {

struct GameState;
struct PieceShape;

// Sizes the board to boardRows x boardCols and lays the first level's checkerboard of
// tiles 1 and 2, nothing occupied and nothing marked.
void initBoardTiles(GameState& state);

// Moves every background tile on by two (1 -> 3 ... 9 -> 1, 2 -> 4 ... 10 -> 2) for the
// next level; occupied cells keep their squares and only their background moves on.
void advanceBoardTiles(GameState& state);

// Would the piece fit with its square `grab` on cell (row, col)? Every square must land
// on a free cell of the board. A piece without squares fits; a grab square the piece
// does not have never does.
bool pieceFits(const GameState& state, int col, int row, int grab, const PieceShape& piece);

// Writes the piece's squares (colour + colourBase) with its square `grab` on (row, col).
// Meant to follow a successful pieceFits; squares off the board are skipped.
void placePiece(GameState& state, int col, int row, int grab, const PieceShape& piece);

// Marks every full row and column in boardMarks and returns how many there are (0..18).
// A cell where a full row crosses a full column is marked once and counts for both.
std::int16_t countCompleteLines(GameState& state);

// Returns every marked cell to its background tile.
void clearMarkedCells(GameState& state);

// Points for clearing `lines` lines with one drop: 5 x L x (L + 1).
std::int16_t pointsForLines(std::int16_t lines);

} // namespace snugbox
