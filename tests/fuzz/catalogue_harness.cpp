// The piece catalogue: a refusal is one line naming the file and leaves the state as it
// was; an accepted catalogue gives pieces on every level, every shape turns and fits the
// board, and a game plays with it.
#include <array>
#include <functional>

#include "rules/board.h"
#include "rules/catalogue.h"
#include "rules/game_state.h"
#include "rules/pieces.h"
#include "rules/startup.h"
#include "tests/fuzz/harnesses.h"
#include "tests/support/game_bot.h"
#include "tests/support/seeded_random.h"

namespace snugbox::fuzz {
namespace {

constexpr std::int32_t kUntouchedClassCount = 77;
constexpr int kSide = 9;
constexpr long long kShortGameEvents = 40;   // takes, turns and drops a handful of pieces

// Names what a check is about, made only when a check fails.
using Naming = std::function<std::string()>;

Naming shapeNamed(int size, int index)
{
    return [=] { return "shape " + std::to_string(index) + " of class " + std::to_string(size); };
}

// Checked here on its own terms, not with the loader's code: `squares` squares, in a box
// of at most 4 x 4 that each row and column of holds a square, never two on one cell.
void checkShape(const PieceShape& shape, int squares, const Naming& name)
{
    require(shape.squares.count() == squares, [&] { return name() + " has the wrong number of squares"; });
    require(shape.width >= 1 && shape.width <= 4 && shape.height >= 1 && shape.height <= 4,
            [&] { return name() + " has a box beyond 4 x 4"; });
    std::array<std::array<bool, 4>, 4> taken{};
    std::array<bool, 4> rowUsed{};
    std::array<bool, 4> colUsed{};
    for (int k = 1; k <= squares; ++k) {
        const Square& square = shape.squares[k];
        require(square.col >= 0 && square.col < shape.width && square.row >= 0 && square.row < shape.height,
                [&] { return name() + " has a square outside its box"; });
        require(!taken[square.row][square.col], [&] { return name() + " has two squares on one cell"; });
        taken[square.row][square.col] = rowUsed[square.row] = colUsed[square.col] = true;
    }
    for (int i = 0; i < 4; ++i) {
        require((i >= shape.width || colUsed[i]) && (i >= shape.height || rowUsed[i]),
                [&] { return name() + " has a row or column of its box without a square"; });
    }
}

// In every turn: keeps to its box and fits the empty board at its top-left and
// bottom-right corners, not one cell beyond. Four turns bring it back. (The drop itself
// is the bot's to try.)
void checkTurnsAndFits(const GameState& board, PieceShape piece, const Naming& name)
{
    const PieceShape first = piece;
    for (int turn = 0; turn < 4; ++turn) {
        const Naming turned = [&] { return name() + " turned " + std::to_string(turn) + " times"; };
        checkShape(piece, piece.squareCount, turned);
        const int grab = findGrabSquare(piece);
        const Square& held = piece.squares[grab];
        const int rightmost = kSide - piece.width + 1;   // where the box's left edge may go
        const int lowest = kSide - piece.height + 1;
        require(pieceFits(board, 1 + held.col, 1 + held.row, grab, piece) &&
                    pieceFits(board, rightmost + held.col, lowest + held.row, grab, piece),
                [&] { return turned() + " does not fit the empty board"; });
        require(!pieceFits(board, rightmost + 1 + held.col, 1 + held.row, grab, piece) &&
                    !pieceFits(board, 1 + held.col, lowest + 1 + held.row, grab, piece),
                [&] { return turned() + " fits beyond the board"; });
        rotatePieceRight(piece);
    }
    require(piece == first, [&] { return name() + " is not itself after four turns"; });
}

const GameState& emptyBoard()
{
    static const GameState board = [] {
        GameState made;
        made.boardRows = made.boardCols = kSide;
        initBoardTiles(made);
        return made;
    }();
    return board;
}

void checkEveryShape(const GameState& state)
{
    require(state.pieceSizeCount >= 6 && state.allPieces.count() == state.pieceSizeCount,
            "an accepted catalogue lacks a class of 1 to 6 squares");
    for (int size = 1; size <= state.pieceSizeCount; ++size) {
        const PieceSizeClass& sizeClass = state.allPieces[size];
        require(sizeClass.shapeCount >= 1 && sizeClass.shapes.count() == sizeClass.shapeCount,
                [&] { return "class " + std::to_string(size) + " does not hold the shapes it declares"; });
        if (size > kRequiredSizeClasses) {
            continue;   // never drawn, so held only to the file format
        }
        for (int index = 1; index <= sizeClass.shapeCount; ++index) {
            PieceShape piece = sizeClass.shapes[index];
            checkShape(piece, size, shapeNamed(size, index));
            piece.squareCount = static_cast<std::int16_t>(size);
            piece.colours.resize(size);
            for (int k = 1; k <= size; ++k) {
                piece.colours[k] = 1;
            }
            checkTurnsAndFits(emptyBoard(), piece, shapeNamed(size, index));
        }
    }
}

// Five pieces fill the five slots on every level, each a shape of the catalogue in one
// colour; a sixth finds no slot.
void checkGeneration(GameState& state)
{
    state.boardRows = state.boardCols = kSide;
    initBoardTiles(state);
    testing::SeededRandom random(1);
    for (std::int16_t level = 1; level <= kLevelCount; ++level) {
        state.currentLevel = level;
        state.dispenserCount = static_cast<std::int16_t>(state.levels[level].slotCount);
        state.piecePool.clear();
        state.piecePoolUsed.clear();
        for (int slot = 1; slot <= state.dispenserCount; ++slot) {
            state.dispensers[slot].pieceIndex = 0;
        }
        for (int slot = 1; slot <= state.dispenserCount; ++slot) {
            require(generatePiece(state, random) == slot, "a new piece missed the first free slot");
            const PieceShape& piece = state.piecePool[state.dispensers[slot].pieceIndex];
            const Naming name = [&] { return "a piece made on level " + std::to_string(level); };
            require(piece.squareCount >= 1 && piece.squareCount <= 6, [&] { return name() + " has no size of 1 to 6"; });
            checkShape(piece, piece.squareCount, name);
            for (int k = 1; k <= piece.squareCount; ++k) {
                require(piece.colours.count() == piece.squareCount && piece.colours[k] == piece.colours[1] &&
                            piece.colours[1] >= 1 && piece.colours[1] <= colourCount,
                        [&] { return name() + " is not of one colour 1 to 5"; });
            }
        }
        require(generatePiece(state, random) == -1, "a piece was made with every slot full");
    }
}

void playShortGame(const GameState& state, std::size_t seed)
{
    testing::GameBot bot(state, seed);
    bot.playShortGame(kShortGameEvents);
    if (!bot.faults().empty()) {
        fail("the bot's game went wrong: " + bot.faults().front());
    }
}

} // namespace

int fuzzCatalogue(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path file = scratchDirectory() / "ALLPIECES.PDAT";
    writeFile(file, data, size);
    GameState state;
    prepareGameTables(state);
    state.gameMode = 2;
    state.pieceSizeCount = kUntouchedClassCount;
    if (const auto refusal = loadAllPieces(state, file.string())) {
        require(refusal->starts_with(file.string() + ": ") && refusal->size() > file.string().size() + 2 &&
                    refusal->find_first_of("\r\n") == std::string::npos,
                [&] { return "a refusal is not one line naming the file and the problem: " + *refusal; });
        require(state.pieceSizeCount == kUntouchedClassCount && state.allPieces.count() == 0,
                "a refused catalogue changed the state");
        return 0;
    }
    checkEveryShape(state);
    playShortGame(state, size);
    checkGeneration(state);
    return 0;
}

} // namespace snugbox::fuzz
