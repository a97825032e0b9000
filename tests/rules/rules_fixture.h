#pragma once
// A game on a small hand-made catalogue with a recording display and scripted random
// draws, so each test says exactly which pieces arrive.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "rules/game_rules.h"
#include "rules/game_state.h"
#include "rules/startup.h"
#include "tests/support/recording_display.h"
#include "tests/support/scripted_random.h"

namespace snugbox::testing {

// A shape from (col, row) pairs, with its bounding box.
inline PieceShape shapeOf(std::initializer_list<std::pair<int, int>> squares, int colour = 0)
{
    PieceShape shape;
    shape.squares.resize(static_cast<int>(squares.size()));
    if (colour != 0) {
        shape.colours.resize(static_cast<int>(squares.size()));
        shape.squareCount = static_cast<std::int16_t>(squares.size());
    }
    int k = 1;
    for (const auto& [col, row] : squares) {
        shape.squares[k] = Square{static_cast<std::int16_t>(col), static_cast<std::int16_t>(row)};
        if (colour != 0) {
            shape.colours[k] = static_cast<std::int16_t>(colour);
        }
        shape.width = static_cast<std::uint8_t>(std::max<int>(shape.width, col + 1));
        shape.height = static_cast<std::uint8_t>(std::max<int>(shape.height, row + 1));
        ++k;
    }
    return shape;
}

// The catalogue used by these tests: one shape per size except size 3, which has two.
//   1: a single square           2: a horizontal domino
//   3: a bar of three; an L (0,0) (0,1) (1,1)
//   4: a 2 x 2 block             5: a horizontal bar of five
//   6: a 3 x 2 block
inline OneBasedVector<PieceSizeClass> smallCatalogue()
{
    const std::vector<std::vector<PieceShape>> classes{
        {shapeOf({{0, 0}})},
        {shapeOf({{0, 0}, {1, 0}})},
        {shapeOf({{0, 0}, {1, 0}, {2, 0}}), shapeOf({{0, 0}, {0, 1}, {1, 1}})},
        {shapeOf({{0, 0}, {1, 0}, {0, 1}, {1, 1}})},
        {shapeOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}})},
        {shapeOf({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}})},
    };
    OneBasedVector<PieceSizeClass> catalogue;
    catalogue.resize(static_cast<int>(classes.size()));
    for (int size = 1; size <= catalogue.count(); ++size) {
        const auto& shapes = classes[static_cast<std::size_t>(size - 1)];
        catalogue[size].shapeCount = static_cast<std::int32_t>(shapes.size());
        for (const PieceShape& shape : shapes) {
            catalogue[size].shapes.push_back(shape);
        }
    }
    return catalogue;
}

// A draw r that makes round(r x 100 + 1) give v.
inline double drawForValue(int v) { return (v - 1) / 100.0; }

// A size draw that gives a piece of `size` squares on `level`: the lowest value of that
// size's band.
inline double drawForSize(int size, int level = 1)
{
    static const int lowest[4][6] = {
        {1, 15, 35, 55, 80, 95}, {1, 10, 30, 50, 80, 93}, {1, 8, 28, 50, 80, 90}, {1, 4, 16, 35, 70, 80}};
    const int band = level < 3 ? 0 : level < 5 ? 1 : level < 7 ? 2 : 3;
    return drawForValue(lowest[band][size - 1]);
}

// Turns for orientation codes 1..8: 1, 2, 3, 0, 1, 2, 3, 0.
inline double drawForOrientation(int code) { return (code - 1) / 7.0; }
inline double drawForColour(int colour) { return (colour - 1) / 4.0; }

class RulesTest : public ::testing::Test {
protected:
    static constexpr int kNoTurn = 4;   // orientation code without a turn
    static constexpr int kBoardX = 202; // the board panel's top-left corner in the window
    static constexpr int kBoardY = 58;

    RulesTest()
    {
        prepareGameTables(state);
        state.gameMode = 2;
        state.allPieces = smallCatalogue();
        state.pieceSizeCount = state.allPieces.count();
    }

    // The four draws of the next piece: size, shape, colour, turn.
    void scriptPiece(int size, int colour = 1, int orientationCode = kNoTurn, int shape = 1)
    {
        const int shapes = state.allPieces[size].shapeCount;
        random.push({drawForSize(size, nextPieceLevel()),
                     shapes > 1 ? (shape - 1) / static_cast<double>(shapes - 1) : 0.0,
                     drawForColour(colour), drawForOrientation(orientationCode)});
    }

    // A new game whose first piece (in slot 1) has `firstSize` squares.
    void startGame(int firstSize = 1, int colour = 1)
    {
        scriptPiece(firstSize, colour);
        rules.startArcadeGame();
        display.clear();
    }

    // Ticks until the next piece arrives, that piece scripted.
    void arrive(int size, int colour = 1, int orientationCode = kNoTurn, int shape = 1)
    {
        scriptPiece(size, colour, orientationCode, shape);
        for (int tick = 0; tick < state.pumpMaxSize; ++tick) {
            rules.timerPieces_Timer();
        }
    }

    // Takes the piece of `slot` onto the mouse with a press in the slot's middle.
    void take(int slot)
    {
        rules.pressInGame(kLeftButton, slotX(slot), slotY(slot));
        ASSERT_TRUE(state.pieceDragOn) << "slot " << slot << " gave no piece";
    }

    std::int16_t slotX(int slot) const { return static_cast<std::int16_t>(state.dispensers[slot].x + 45); }
    std::int16_t slotY(int slot) const { return static_cast<std::int16_t>(state.dispensers[slot].y + 45); }
    // A pointer inside cell (row, col) of the board.
    static std::int16_t cellX(int col) { return static_cast<std::int16_t>(kBoardX + (col - 1) * 45 + 20); }
    static std::int16_t cellY(int row) { return static_cast<std::int16_t>(kBoardY + (row - 1) * 45 + 20); }

    // Drops the carried piece with its held square over cell (row, col).
    void dropAt(int col, int row) { rules.pressInGame(kLeftButton, cellX(col), cellY(row)); }

    // Puts squares of colour 1 straight onto the board, as if placed in earlier moves.
    void occupy(std::initializer_list<std::pair<int, int>> cells)
    {
        for (const auto& [col, row] : cells) {
            state.boardCells(row, col) = colourBase + 1;
        }
    }
    void occupyRow(int row, int fromCol, int toCol)
    {
        for (int col = fromCol; col <= toCol; ++col) {
            state.boardCells(row, col) = colourBase + 1;
        }
    }
    void occupyColumn(int col, int fromRow, int toRow)
    {
        for (int row = fromRow; row <= toRow; ++row) {
            state.boardCells(row, col) = colourBase + 1;
        }
    }

    int liveSlots() const
    {
        int live = 0;
        for (int slot = 1; slot <= state.dispenserCount; ++slot) {
            live += state.dispensers[slot].pieceIndex != 0 ? 1 : 0;
        }
        return live;
    }

    const PieceShape& carried() const { return state.piecePool[state.carriedPiece]; }

    GameState state;
    RecordingDisplay display{state};
    ScriptedRandom random;
    GameRules rules{state, display, random};

private:
    // The level the next generated piece is drawn for.
    int nextPieceLevel() const { return state.gamePlaying ? std::max<int>(state.currentLevel, 1) : 1; }
};

} // namespace snugbox::testing
