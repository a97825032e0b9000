#include <gtest/gtest.h>

#include "rules/board.h"
#include "rules/pieces.h"
#include "tests/rules/rules_fixture.h"

namespace snugbox {
namespace {

using testing::drawForValue;
using testing::shapeOf;

TEST(PieceSize, BandsShiftTowardLargerPiecesAsLevelsRise)
{
    // level, v = round(r x 100 + 1), size
    const int cases[][3] = {{1, 1, 1},  {1, 14, 1}, {1, 15, 2}, {1, 34, 2}, {1, 35, 3},  {1, 79, 4}, {1, 94, 5},
                            {1, 95, 6}, {2, 14, 1}, {3, 9, 1},  {3, 10, 2}, {4, 93, 6},  {5, 27, 2}, {6, 90, 6},
                            {7, 3, 1},  {7, 4, 2},  {7, 69, 4}, {7, 79, 5}, {10, 80, 6}, {1, 101, 6}};
    for (const auto& [level, v, size] : cases) {
        GameState state;
        state.currentLevel = static_cast<std::int16_t>(level);
        testing::ScriptedRandom random{drawForValue(v)};
        EXPECT_EQ(pickPieceSize(state, random), size) << "level " << level << ", v " << v;
    }
}

TEST(Rotation, TurnsClockwiseOnScreenKeepingSquareNumbersAndColoursAndCodesNeverMirror)
{
    PieceShape hook = shapeOf({{0, 0}, {1, 0}, {2, 0}, {2, 1}}, 1);
    PieceShape turned = shapeOf({{1, 0}, {1, 1}, {1, 2}, {0, 2}}, 1);
    hook.colours[4] = turned.colours[4] = 3;
    PieceShape once = hook;
    rotatePieceRight(once);
    EXPECT_EQ(once, turned);

    const int turns[] = {1, 2, 3, 0, 1, 2, 3, 0};
    for (int code = 1; code <= 8; ++code) {
        PieceShape oriented = hook;
        orientPiece(oriented, code);
        PieceShape expected = hook;
        for (int turn = 0; turn < turns[code - 1]; ++turn) {
            rotatePieceRight(expected);
        }
        EXPECT_EQ(oriented, expected) << "code " << code;
    }
}

TEST(GrabSquare, IsTheLeftmostSquareOfTheLowestRowAndItsCentreIsTheOffset)
{
    EXPECT_EQ(findGrabSquare(shapeOf({{0, 2}, {0, 1}, {0, 0}})), 1);
    EXPECT_EQ(findGrabSquare(shapeOf({{2, 1}, {1, 1}, {1, 0}, {0, 0}})), 2);
    EXPECT_EQ(findGrabSquare(PieceShape{}), 0);

    GameState state;
    state.piecePool.push_back(shapeOf({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}));
    state.piecePoolUsed.push_back(true);
    state.carriedPiece = 1;
    const int expected[] = {22, 68, 112, 158, 202, 248};   // halves to the even neighbour
    for (int k = 1; k <= 6; ++k) {
        state.grabSquare = static_cast<std::int16_t>(k);
        computeGrabOffset(state);
        EXPECT_EQ(std::tuple(state.grabOffsetX, state.grabOffsetY), std::tuple(expected[k - 1], expected[k - 1])) << k;
    }
}

using Generation = testing::RulesTest;

TEST_F(Generation, DrawsSizeShapeColourAndTurnIntoTheFirstFreeSlot)
{
    state.dispenserCount = 5;
    state.dispensers[1].pieceIndex = 9;
    scriptPiece(3, 4, 1, 2);   // the L, colour 4, one turn
    EXPECT_EQ(generatePiece(state, random), 2);
    ASSERT_EQ(state.dispensers[2].pieceIndex, 1);
    EXPECT_EQ(std::tuple(state.piecePoolUsed[1], state.piecePool[1]),
              std::tuple(true, shapeOf({{1, 0}, {0, 0}, {0, 1}}, 4)));

    // Shape and colour draws round halves to even: shape 1.5 -> 2, colour 2.5 -> 2.
    random.push({drawForValue(35), 0.5, 0.375, 3 / 7.0});
    generatePiece(state, random);
    EXPECT_EQ(state.piecePool[2], (shapeOf({{0, 0}, {0, 1}, {1, 1}}, 2)));
    random.push({drawForValue(35), 0.49, 0.999, 0.99});   // turn code 8: no turn
    generatePiece(state, random);
    EXPECT_EQ(state.piecePool[3], (shapeOf({{0, 0}, {1, 0}, {2, 0}}, 5)));

    state.allPieces.resize(4);
    random.push({drawForValue(80), 0.0});   // size 5, which this catalogue now lacks
    EXPECT_EQ(generatePiece(state, random), 0);
    EXPECT_EQ(state.piecePool.count(), 3);
}

TEST_F(Generation, AFullDispenserDrawsNothingAndLeavesThePoolAlone)
{
    state.dispenserCount = 5;
    for (int slot = 1; slot <= 5; ++slot) {
        state.dispensers[slot].pieceIndex = 9;
    }
    EXPECT_EQ(generatePiece(state, random), -1);
    EXPECT_EQ(std::tuple(random.draws(), state.piecePool.count()), std::tuple(0, 0));
}

// Shapes sprawling over a 15 x 15 box, as an accepted catalogue may hold: turning,
// fitting, placing and clearing them stay within every table.
TEST_F(Generation, OddCataloguesStayWithinEveryTable)
{
    state.dispenserCount = 5;
    state.boardRows = state.boardCols = 9;
    initBoardTiles(state);
    for (int size = 1; size <= 6; ++size) {
        PieceShape sprawling;
        for (int k = 1; k <= size; ++k) {
            sprawling.squares.push_back(Square{static_cast<std::int16_t>((k * 7) % 15),
                                               static_cast<std::int16_t>(k == size ? 14 : (k * 4) % 15)});
        }
        sprawling.width = sprawling.height = 15;
        state.allPieces[size] = PieceSizeClass{1, {}};
        state.allPieces[size].shapes.push_back(sprawling);
        state.dispensers[1].pieceIndex = 0;
        scriptPiece(size, 5, size);
        ASSERT_EQ(generatePiece(state, random), 1);
        PieceShape& piece = state.piecePool[state.dispensers[1].pieceIndex];
        for (int turn = 0; turn < 4; ++turn) {
            rotatePieceRight(piece);
            const std::int16_t grab = findGrabSquare(piece);
            for (int row = -15; row <= 25; ++row) {
                for (int col = -15; col <= 25; ++col) {
                    EXPECT_TRUE(!pieceFits(state, col, row, grab, piece) || size == 1);
                    placePiece(state, col, row, grab, piece);
                }
            }
            countCompleteLines(state);
            clearMarkedCells(state);
        }
    }
}

} // namespace
} // namespace snugbox
