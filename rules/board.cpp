#include "rules/board.h"

#include <algorithm>

#include "rules/game_state.h"

namespace snugbox {
namespace {

constexpr std::uint8_t kFirstLevelTileA = 1;
constexpr std::uint8_t kFirstLevelTileB = 2;

// The next level's tile: two further on, wrapping within 1..colourBase.
std::uint8_t nextLevelTile(std::uint8_t tile)
{
    return static_cast<std::uint8_t>((tile + colourBase + 1) % colourBase + 1);
}

// Inside the board as the game sees it and inside the grid as it is stored; the two
// agree once the board is set up, and checking both keeps any call in bounds.
bool isPlayableCell(const GameState& state, int row, int col)
{
    return row >= 1 && row <= state.boardRows && col >= 1 && col <= state.boardCols &&
           state.boardCells.contains(row, col);
}

bool isOccupied(const GameState& state, int row, int col)
{
    return !isCellFree(state, state.boardCells(row, col));
}

void markRowIfFull(GameState& state, int row, std::int16_t& lines)
{
    for (int col = 1; col <= state.boardCells.cols(); ++col) {
        if (!isOccupied(state, row, col)) {
            return;
        }
    }
    for (int col = 1; col <= state.boardCells.cols(); ++col) {
        state.boardMarks(row, col) = 1;
    }
    ++lines;
}

void markColumnIfFull(GameState& state, int col, std::int16_t& lines)
{
    for (int row = 1; row <= state.boardCells.rows(); ++row) {
        if (!isOccupied(state, row, col)) {
            return;
        }
    }
    for (int row = 1; row <= state.boardCells.rows(); ++row) {
        state.boardMarks(row, col) = 1;
    }
    ++lines;
}

} // namespace

void initBoardTiles(GameState& state)
{
    state.boardCells.resize(state.boardRows, state.boardCols);
    state.boardBase.resize(state.boardRows, state.boardCols);
    state.boardMarks.resize(state.boardRows, state.boardCols, 0);
    for (int row = 1; row <= state.boardCells.rows(); ++row) {
        for (int col = 1; col <= state.boardCells.cols(); ++col) {
            const bool sameParity = (row % 2) == (col % 2);
            const std::uint8_t tile = sameParity ? kFirstLevelTileA : kFirstLevelTileB;
            state.boardCells(row, col) = tile;
            state.boardBase(row, col) = tile;
        }
    }
}

void advanceBoardTiles(GameState& state)
{
    for (int row = 1; row <= state.boardCells.rows(); ++row) {
        for (int col = 1; col <= state.boardCells.cols(); ++col) {
            if (!isOccupied(state, row, col)) {
                state.boardCells(row, col) = nextLevelTile(state.boardCells(row, col));
            }
            if (state.boardBase.contains(row, col)) {
                state.boardBase(row, col) = nextLevelTile(state.boardBase(row, col));
            }
        }
    }
}

bool pieceFits(const GameState& state, int col, int row, int grab, const PieceShape& piece)
{
    const int count = piece.squares.count();
    if (count == 0) {
        return true;
    }
    if (!piece.squares.contains(grab)) {
        return false;
    }
    const Square& held = piece.squares[grab];
    for (int k = 1; k <= count; ++k) {
        const int landingCol = col + piece.squares[k].col - held.col;
        const int landingRow = row + piece.squares[k].row - held.row;
        if (!isPlayableCell(state, landingRow, landingCol) ||
            isOccupied(state, landingRow, landingCol)) {
            return false;
        }
    }
    return true;
}

void placePiece(GameState& state, int col, int row, int grab, const PieceShape& piece)
{
    if (!piece.squares.contains(grab)) {
        return;
    }
    const Square& held = piece.squares[grab];
    const int count = std::min(piece.squares.count(), piece.colours.count());
    for (int k = 1; k <= count; ++k) {
        const int landingCol = col + piece.squares[k].col - held.col;
        const int landingRow = row + piece.squares[k].row - held.row;
        if (isPlayableCell(state, landingRow, landingCol)) {
            state.boardCells(landingRow, landingCol) =
                static_cast<std::uint8_t>(piece.colours[k] + colourBase);
        }
    }
}

std::int16_t countCompleteLines(GameState& state)
{
    if (state.boardMarks.rows() != state.boardCells.rows() ||
        state.boardMarks.cols() != state.boardCells.cols()) {
        state.boardMarks.resize(state.boardCells.rows(), state.boardCells.cols());
    }
    state.boardMarks.fill(0);
    std::int16_t lines = 0;
    for (int row = 1; row <= state.boardCells.rows(); ++row) {
        markRowIfFull(state, row, lines);
    }
    for (int col = 1; col <= state.boardCells.cols(); ++col) {
        markColumnIfFull(state, col, lines);
    }
    return lines;
}

void clearMarkedCells(GameState& state)
{
    for (int row = 1; row <= state.boardMarks.rows(); ++row) {
        for (int col = 1; col <= state.boardMarks.cols(); ++col) {
            if (state.boardMarks(row, col) != 0 && state.boardCells.contains(row, col) &&
                state.boardBase.contains(row, col)) {
                state.boardCells(row, col) = state.boardBase(row, col);
            }
        }
    }
}

std::int16_t pointsForLines(std::int16_t lines)
{
    return static_cast<std::int16_t>(5 * lines * (lines + 1));
}

} // namespace snugbox
