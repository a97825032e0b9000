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

// A shape from (col, row) pairs, with its bounding box. Catalogue shapes (colour 0) leave
// the colours and the square count unset.
inline PieceShape shapeOf(std::initializer_list<std::pair<int, int>> squares, int colour = 0)
{
    PieceShape shape;
    for (const auto& [col, row] : squares) {
        shape.squares.push_back(Square{static_cast<std::int16_t>(col), static_cast<std::int16_t>(row)});
        if (colour != 0) {
            shape.colours.push_back(static_cast<std::int16_t>(colour));
        }
        shape.width = static_cast<std::uint8_t>(std::max<int>(shape.width, col + 1));
        shape.height = static_cast<std::uint8_t>(std::max<int>(shape.height, row + 1));
    }
    shape.squareCount = static_cast<std::int16_t>(shape.colours.count());
    return shape;
}

// One shape per size except size 3, which has two:
//   1: a single square           2: a lying domino
//   3: a lying bar of three; an L (0,0) (0,1) (1,1)
//   4: a 2 x 2 block             5: a lying bar of five
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
    for (const auto& shapes : classes) {
        PieceSizeClass sizeClass;
        sizeClass.shapeCount = static_cast<std::int32_t>(shapes.size());
        for (const PieceShape& shape : shapes) {
            sizeClass.shapes.push_back(shape);
        }
        catalogue.push_back(sizeClass);
    }
    return catalogue;
}

// A draw r that makes round(r x 100 + 1) give v.
inline double drawForValue(int v) { return (v - 1) / 100.0; }

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

    void TearDown() override
    {
        for (const std::string& fault : display.faults()) {
            ADD_FAILURE() << fault;
        }
    }

    // The four draws of the next piece: size, shape, colour, turn. The size draw is the
    // lowest of its band on levels 1 and 2; a single square's is the same on every level.
    void scriptPiece(int size, int colour = 1, int orientationCode = kNoTurn, int shape = 1)
    {
        static constexpr int lowest[] = {1, 15, 35, 55, 80, 95};
        const int shapes = state.allPieces[size].shapeCount;
        random.push({drawForValue(lowest[size - 1]), shapes > 1 ? (shape - 1.0) / (shapes - 1) : 0.0,
                     (colour - 1) / 4.0, (orientationCode - 1) / 7.0});
    }

    // A new game whose first piece (in slot 1) has `firstSize` squares.
    void startGame(int firstSize = 1)
    {
        scriptPiece(firstSize);
        rules.startArcadeGame();
        display.clear();
    }

    void tick(int times)
    {
        for (int i = 0; i < times; ++i) {
            rules.timerPieces_Timer();
        }
    }

    // Ticks until the next piece arrives, that piece scripted.
    void arrive(int size, int colour = 1, int orientationCode = kNoTurn, int shape = 1)
    {
        scriptPiece(size, colour, orientationCode, shape);
        tick(state.pumpMaxSize);
    }

    void fillEverySlot()
    {
        while (liveSlots() < state.dispenserCount) {
            arrive(1);
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

    // Puts squares of colour 1 on every cell from (fromCol, fromRow) to (toCol, toRow), as
    // if placed in earlier moves.
    void occupy(int fromCol, int fromRow, int toCol, int toRow)
    {
        for (int row = fromRow; row <= toRow; ++row) {
            for (int col = fromCol; col <= toCol; ++col) {
                state.boardCells(row, col) = colourBase + 1;
            }
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
};

} // namespace snugbox::testing
