#include <gtest/gtest.h>

#include "rules/board.h"
#include "rules/catalogue.h"
#include "rules/pieces.h"
#include "tests/rules/rules_fixture.h"

namespace snugbox {
namespace {

using testing::drawForValue;
using testing::shapeOf;

std::vector<Square> squaresOf(const PieceShape& piece)
{
    std::vector<Square> squares;
    for (int k = 1; k <= piece.squares.count(); ++k) {
        squares.push_back(piece.squares[k]);
    }
    return squares;
}

int sizeFor(int level, int v)
{
    GameState state;
    state.currentLevel = static_cast<std::int16_t>(level);
    testing::ScriptedRandom random{drawForValue(v)};
    return pickPieceSize(state, random);
}

TEST(PieceSize, BandsShiftTowardLargerPiecesAsLevelsRise)
{
    EXPECT_EQ(sizeFor(1, 1), 1);
    EXPECT_EQ(sizeFor(1, 14), 1);
    EXPECT_EQ(sizeFor(1, 15), 2);
    EXPECT_EQ(sizeFor(1, 34), 2);
    EXPECT_EQ(sizeFor(1, 35), 3);
    EXPECT_EQ(sizeFor(1, 79), 4);
    EXPECT_EQ(sizeFor(1, 94), 5);
    EXPECT_EQ(sizeFor(1, 95), 6);
    EXPECT_EQ(sizeFor(2, 14), 1) << "levels 1 and 2 share a band";
    EXPECT_EQ(sizeFor(3, 9), 1);
    EXPECT_EQ(sizeFor(3, 10), 2);
    EXPECT_EQ(sizeFor(4, 93), 6);
    EXPECT_EQ(sizeFor(5, 27), 2);
    EXPECT_EQ(sizeFor(6, 90), 6);
    EXPECT_EQ(sizeFor(7, 3), 1);
    EXPECT_EQ(sizeFor(7, 4), 2);
    EXPECT_EQ(sizeFor(7, 69), 4);
    EXPECT_EQ(sizeFor(7, 79), 5);
    EXPECT_EQ(sizeFor(7, 80), 6);
    EXPECT_EQ(sizeFor(10, 80), 6);
    EXPECT_EQ(sizeFor(1, 101), 6);
}

TEST(Orientation, CodesTurnOneToThreeTimesOrNotAtAll)
{
    const int expected[] = {1, 2, 3, 0, 1, 2, 3, 0};
    const PieceShape bar = shapeOf({{0, 0}, {1, 0}, {2, 0}, {2, 1}});
    for (int code = 1; code <= 8; ++code) {
        EXPECT_EQ(turnsForOrientation(code), expected[code - 1]) << code;
        PieceShape oriented = bar;
        orientPiece(oriented, code);
        PieceShape turned = bar;
        for (int turn = 0; turn < expected[code - 1]; ++turn) {
            rotatePieceRight(turned);
        }
        EXPECT_EQ(oriented, turned) << "code " << code << " never mirrors";
    }
}

TEST(Rotation, TurnsClockwiseOnScreenKeepingSquareNumbersAndColours)
{
    PieceShape bar = shapeOf({{0, 0}, {1, 0}, {2, 0}});
    rotatePieceRight(bar);
    EXPECT_EQ(squaresOf(bar), (std::vector<Square>{{0, 0}, {0, 1}, {0, 2}}));
    EXPECT_EQ(bar.width, 1);
    EXPECT_EQ(bar.height, 3);

    PieceShape corner = shapeOf({{0, 0}, {0, 1}, {1, 1}});
    corner.colours.resize(3);
    corner.colours[1] = 1;
    corner.colours[2] = 2;
    corner.colours[3] = 3;
    rotatePieceRight(corner);
    EXPECT_EQ(squaresOf(corner), (std::vector<Square>{{1, 0}, {0, 0}, {0, 1}}));
    EXPECT_EQ(corner.colours[1], 1);
    EXPECT_EQ(corner.colours[3], 3);
}

TEST(Rotation, FourTurnsBringEveryShippedShapeBack)
{
    GameState state;
    ASSERT_FALSE(loadAllPieces(state, std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT"));
    int shapes = 0;
    for (int size = 1; size <= state.allPieces.count(); ++size) {
        for (int index = 1; index <= state.allPieces[size].shapes.count(); ++index) {
            const PieceShape original = state.allPieces[size].shapes[index];
            PieceShape shape = original;
            for (int turn = 1; turn <= 4; ++turn) {
                rotatePieceRight(shape);
                int maxCol = 0;
                int maxRow = 0;
                for (const Square& square : squaresOf(shape)) {
                    ASSERT_GE(square.col, 0);
                    ASSERT_GE(square.row, 0);
                    maxCol = std::max<int>(maxCol, square.col);
                    maxRow = std::max<int>(maxRow, square.row);
                }
                EXPECT_EQ(maxCol + 1, shape.width) << "size " << size << " shape " << index;
                EXPECT_EQ(maxRow + 1, shape.height) << "size " << size << " shape " << index;
            }
            EXPECT_EQ(shape, original) << "size " << size << " shape " << index;
            ++shapes;
        }
    }
    EXPECT_GT(shapes, 6);
}

TEST(GrabSquare, IsTheLeftmostSquareOfTheLowestRow)
{
    EXPECT_EQ(findGrabSquare(shapeOf({{0, 0}, {1, 0}, {0, 1}, {1, 1}})), 3);
    EXPECT_EQ(findGrabSquare(shapeOf({{0, 0}})), 1);
    EXPECT_EQ(findGrabSquare(shapeOf({{0, 2}, {0, 1}, {0, 0}})), 1);
    EXPECT_EQ(findGrabSquare(shapeOf({{2, 1}, {1, 1}, {1, 0}, {0, 0}})), 2);
    EXPECT_EQ(findGrabSquare(PieceShape{}), 0);
}

TEST(GrabSquare, OffsetIsTheHeldSquaresCentreRoundedHalfToEven)
{
    GameState state;
    state.piecePool.resize(1);
    state.piecePoolUsed.resize(1);
    state.piecePool[1] = shapeOf({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
    state.carriedPiece = 1;
    const int expected[] = {22, 68, 112, 158, 202, 248};
    for (int k = 1; k <= 6; ++k) {
        state.grabSquare = static_cast<std::int16_t>(k);
        computeGrabOffset(state);
        EXPECT_EQ(state.grabOffsetX, expected[k - 1]) << k;
        EXPECT_EQ(state.grabOffsetY, expected[k - 1]) << k;
    }

    // Nothing to hold: the offsets stay as they were.
    state.grabSquare = 7;
    computeGrabOffset(state);
    state.carriedPiece = 0;
    state.grabSquare = 1;
    computeGrabOffset(state);
    EXPECT_EQ(state.grabOffsetX, 248);
}

class Generation : public testing::RulesTest {
protected:
    Generation() { state.dispenserCount = 5; }
};

TEST_F(Generation, DrawsSizeShapeColourAndTurnIntoTheFirstFreeSlot)
{
    state.dispensers[1].pieceIndex = 9;
    scriptPiece(3, 4, 1, 2);   // the L, colour 4, one turn
    EXPECT_EQ(generatePiece(state, random), 2);
    EXPECT_EQ(random.draws(), 4);

    ASSERT_EQ(state.dispensers[2].pieceIndex, 1);
    const PieceShape& piece = state.piecePool[1];
    EXPECT_TRUE(state.piecePoolUsed[1]);
    EXPECT_EQ(piece.squareCount, 3);
    EXPECT_EQ(squaresOf(piece), (std::vector<Square>{{1, 0}, {0, 0}, {0, 1}}));
    EXPECT_EQ(piece.width, 2);
    EXPECT_EQ(piece.height, 2);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(piece.colours[k], 4);
    }
}

TEST_F(Generation, ShapeAndColourDrawsRoundHalvesToEven)
{
    // Two shapes: round(r + 1) takes r = 0.5 to shape 1.5 -> 2 and r = 0.49 to shape 1.
    random.push({testing::drawForSize(3), 0.5, 0.999, testing::drawForOrientation(kNoTurn)});
    generatePiece(state, random);
    EXPECT_EQ(state.piecePool[1].height, 2) << "the L";
    EXPECT_EQ(state.piecePool[1].colours[1], 5);
    random.push({testing::drawForSize(3), 0.49, 0.375, testing::drawForOrientation(kNoTurn)});
    generatePiece(state, random);
    EXPECT_EQ(state.piecePool[2].width, 3) << "the bar";
    EXPECT_EQ(state.piecePool[2].colours[1], 2) << "colour 2.5 rounds to the even 2";
}

TEST_F(Generation, AClassWithOneShapeAlwaysGivesThatShape)
{
    for (double shapeDraw : {0.0, 0.5, 0.999}) {
        state.dispensers[1].pieceIndex = 0;
        random.push({testing::drawForSize(4), shapeDraw, 0.0, testing::drawForOrientation(kNoTurn)});
        const std::int16_t slot = generatePiece(state, random);
        ASSERT_EQ(slot, 1);
        EXPECT_EQ(squaresOf(state.piecePool[state.dispensers[1].pieceIndex]),
                  squaresOf(state.allPieces[4].shapes[1]));
    }
}

TEST_F(Generation, AFullDispenserDrawsNothingAndLeavesThePoolAlone)
{
    for (int slot = 1; slot <= 5; ++slot) {
        scriptPiece(1);
        ASSERT_EQ(generatePiece(state, random), slot);
    }
    const auto pool = state.piecePool;
    const auto used = state.piecePoolUsed;
    const int drawsBefore = random.draws();
    EXPECT_EQ(generatePiece(state, random), -1);
    EXPECT_EQ(random.draws(), drawsBefore);
    EXPECT_EQ(state.piecePool, pool);
    EXPECT_EQ(state.piecePoolUsed, used);
}

TEST_F(Generation, ACatalogueWithoutTheDrawnSizeMakesNoPiece)
{
    state.allPieces.resize(2);
    scriptPiece(2);
    random.push({testing::drawForSize(5), 0.0});
    EXPECT_EQ(generatePiece(state, random), 1);
    EXPECT_EQ(generatePiece(state, random), 0);
    EXPECT_EQ(state.piecePool.count(), 1);
    EXPECT_EQ(state.dispensers[2].pieceIndex, 0);
}

// Any catalogue the loader takes: shapes up to 15 x 15, more classes than the six sizes
// drawn. Generating, turning, fitting and placing them stays within every table.
TEST_F(Generation, HugeShapesStayWithinEveryTable)
{
    state.allPieces.resize(9);
    for (int size = 1; size <= 9; ++size) {
        PieceShape sprawling;
        sprawling.squares.resize(size);
        for (int k = 1; k <= size; ++k) {
            sprawling.squares[k] = Square{static_cast<std::int16_t>((k * 7) % 15),
                                          static_cast<std::int16_t>(k == size ? 14 : (k * 4) % 15)};
        }
        sprawling.width = 15;
        sprawling.height = 15;
        state.allPieces[size].shapeCount = 1;
        state.allPieces[size].shapes.clear();
        state.allPieces[size].shapes.push_back(sprawling);
    }
    state.boardRows = state.boardCols = 9;
    initBoardTiles(state);
    for (int size = 1; size <= 6; ++size) {
        state.dispensers[1].pieceIndex = 0;
        scriptPiece(size, 5, size);
        ASSERT_EQ(generatePiece(state, random), 1);
        PieceShape& piece = state.piecePool[state.dispensers[1].pieceIndex];
        for (int turn = 0; turn < 4; ++turn) {
            rotatePieceRight(piece);
            const std::int16_t grab = findGrabSquare(piece);
            for (int row = -15; row <= 25; ++row) {
                for (int col = -15; col <= 25; ++col) {
                    if (pieceFits(state, col, row, grab, piece)) {
                        EXPECT_EQ(size, 1) << "only a single square fits a 9 x 9 board here";
                    }
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
