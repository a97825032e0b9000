#pragma once
// A game on a small hand-made catalogue with a recording display and scripted random
// draws, so each test says exactly which pieces arrive.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "rules/game_rules.h"
#include "rules/game_state.h"
#include "rules/startup.h"
#include "tests/support/recording_display.h"
#include "tests/support/scripted_random.h"

namespace snugbox::testing {

// A shape from (col, row) pairs, with its bounding box; colour 0 leaves it without colours,
// as in the catalogue.
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

// A draw r that makes round(r x 100 + 1) give v.
inline double drawForValue(int v) { return (v - 1) / 100.0; }

class RulesTest : public ::testing::Test {
protected:
    static constexpr int kNoTurn = 4;   // orientation code without a turn
    static constexpr int kBoardX = 202; // the board's top-left corner in the window
    static constexpr int kBoardY = 58;

    // One shape per size but two of size 3: a square, a lying domino, a lying bar of three and
    // an L (0,0) (0,1) (1,1), a 2 x 2 block, a lying bar of five, a 3 x 2 block.
    RulesTest()
    {
        prepareGameTables(state);
        state.gameMode = 2;
        const PieceShape shapes[] = {shapeOf({{0, 0}}), shapeOf({{0, 0}, {1, 0}}), shapeOf({{0, 0}, {1, 0}, {2, 0}}),
                                     shapeOf({{0, 0}, {0, 1}, {1, 1}}), shapeOf({{0, 0}, {1, 0}, {0, 1}, {1, 1}}),
                                     shapeOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}),
                                     shapeOf({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}})};
        state.allPieces.resize(6);
        state.pieceSizeCount = 6;
        for (const PieceShape& shape : shapes) {
            PieceSizeClass& sizeClass = state.allPieces[shape.squares.count()];
            sizeClass.shapes.push_back(shape);
            sizeClass.shapeCount = sizeClass.shapes.count();
        }
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

    // Each step below starts the display's log afresh, so that a test reads what its last
    // step did.

    // A new game whose first piece (in slot 1) has `firstSize` squares.
    void startGame(int firstSize = 1)
    {
        scriptPiece(firstSize);
        rules.startArcadeGame();
        display.clear();
    }

    void tick(int times)
    {
        display.clear();
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

    void press(std::int16_t button, int x, int y)
    {
        display.clear();
        rules.pressInGame(button, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y));
    }

    // Takes the piece of `slot` onto the mouse with a press in the slot's middle.
    void take(int slot)
    {
        press(kLeftButton, slotX(slot), slotY(slot));
        ASSERT_TRUE(state.pieceDragOn) << "slot " << slot << " gave no piece";
    }

    int slotX(int slot) const { return state.dispensers[slot].x + 45; }
    int slotY(int slot) const { return state.dispensers[slot].y + 45; }
    // A pointer inside cell (row, col) of the board.
    static int cellX(int col) { return kBoardX + (col - 1) * 45 + 20; }
    static int cellY(int row) { return kBoardY + (row - 1) * 45 + 20; }

    // Drops the carried piece with its held square over cell (row, col).
    void dropAt(int col, int row) { press(kLeftButton, cellX(col), cellY(row)); }

    // Squares of colour 1 on every cell from (fromCol, fromRow) to (toCol, toRow), as if
    // placed in earlier moves.
    void occupy(int fromCol, int fromRow, int toCol, int toRow)
    {
        for (int row = fromRow; row <= toRow; ++row) {
            for (int col = fromCol; col <= toCol; ++col) {
                state.boardCells(row, col) = colourBase + 1;
            }
        }
    }

    GameState state;
    RecordingDisplay display{state};
    ScriptedRandom random;
    GameRules rules{state, display, random};
};

} // namespace snugbox::testing
