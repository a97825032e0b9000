#include "rules/game_state.h"

#include <algorithm>
#include <cassert>

namespace snugbox {

void BoardGrid::resize(int rows, int cols, std::uint8_t fill)
{
    rows_ = std::max(rows, 0);
    cols_ = std::max(cols, 0);
    cells_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), fill);
}

std::uint8_t& BoardGrid::operator()(int row, int col)
{
    assert(contains(row, col));
    return cells_[static_cast<std::size_t>((row - 1) * cols_ + (col - 1))];
}

std::uint8_t BoardGrid::operator()(int row, int col) const
{
    assert(contains(row, col));
    return cells_[static_cast<std::size_t>((row - 1) * cols_ + (col - 1))];
}

void BoardGrid::fill(std::uint8_t value) { std::fill(cells_.begin(), cells_.end(), value); }

void fillLevelTable(GameState& state)
{
    struct Row {
        std::int16_t periodMs;
        std::int32_t targetScore;
    };
    // Level 6 is a breather after level 5, and level 7 is a short sprint of 30 points.
    static constexpr std::array<Row, kLevelCount> rows{{{3000, 400},
                                                        {2600, 400},
                                                        {2500, 400},
                                                        {2400, 400},
                                                        {2200, 400},
                                                        {2300, 400},
                                                        {2200, 30},
                                                        {2000, 400},
                                                        {1800, 400},
                                                        {1700, 2000}}};
    for (int level = 1; level <= kLevelCount; ++level) {
        const Row& row = rows[static_cast<std::size_t>(level - 1)];
        state.levels[level] = LevelSpec{9, 0, row.periodMs, row.targetScore, 5};
    }
}

void initCellKinds(GameState& state)
{
    for (int value = 1; value <= colourBase; ++value) {
        state.cellKind[value] = 0;
    }
    for (int value = colourBase + 1; value <= colourBase + colourCount; ++value) {
        state.cellKind[value] = static_cast<std::uint8_t>(value - colourBase + 1);
    }
}

bool isCellFree(const GameState& state, int cellValue)
{
    // Only 1..15 ever occur; anything else is treated as taken so that nothing lands on it.
    if (!state.cellKind.contains(cellValue)) {
        return false;
    }
    return state.cellKind[cellValue] == 0;
}

std::int16_t allocPoolPiece(GameState& state)
{
    const int count = state.piecePool.count();
    for (int index = 1; index <= count; ++index) {
        if (!state.piecePoolUsed[index]) {
            return static_cast<std::int16_t>(index);
        }
    }
    state.piecePool.resize(count + 1);
    state.piecePoolUsed.resize(count + 1);
    return static_cast<std::int16_t>(count + 1);
}

std::int32_t piecePoolCount(const GameState& state) { return state.piecePool.count(); }

bool isOnBoard(const GameState& state, std::int16_t col, std::int16_t row)
{
    return col >= 1 && col <= state.boardCols && row >= 1 && row <= state.boardRows;
}

static int slotsInPlay(const GameState& state)
{
    return std::clamp<int>(state.dispenserCount, 0, kDispenserCapacity);
}

std::int16_t findFreeDispenser(const GameState& state)
{
    for (int slot = 1; slot <= slotsInPlay(state); ++slot) {
        if (state.dispensers[slot].pieceIndex == 0) {
            return static_cast<std::int16_t>(slot);
        }
    }
    return -1;
}

std::int16_t countFreeDispensers(const GameState& state)
{
    std::int16_t free = 0;
    for (int slot = 1; slot <= slotsInPlay(state); ++slot) {
        if (state.dispensers[slot].pieceIndex == 0) {
            ++free;
        }
    }
    return free;
}

} // namespace snugbox
