#pragma once
// The state the whole game shares: board, pieces, dispenser slots, levels, best scores
// and the flags of a running game. The rules change it; the windows only read it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "rules/one_based.h"
#include "rules/panel.h"

namespace snugbox {

inline constexpr std::int16_t cellSize = 45;        // pixels per board square and sprite tile
inline constexpr std::int16_t colourBase = 10;      // values 1..10 are empty tiles, 11..15 squares
inline constexpr std::int16_t colourCount = 5;      // piece colours 1..5
inline constexpr std::int16_t pumpMaxSizeDefault = 12;
inline constexpr int kDispenserCapacity = 20;
inline constexpr int kBestScorePlaces = 8;
inline constexpr int kGameModes = 2;                // 1 "Time Trial", 2 "Normal"
inline constexpr int kLevelCount = 10;
inline constexpr int kCellKindEntries = 20;

// One square of a piece: offsets from the piece's top-left corner, rows growing downward.
struct Square {
    std::int16_t col = 0;
    std::int16_t row = 0;
    bool operator==(const Square&) const = default;
};

// One shape in one orientation. Square k keeps its number and colour through turns.
struct PieceShape {
    std::int16_t squareCount = 0;
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    OneBasedVector<Square> squares;
    OneBasedVector<std::int16_t> colours;
    bool operator==(const PieceShape&) const = default;
};

// Catalogue class s: every shape of s squares. Catalogue shapes leave squareCount and
// colours unset; the class number is the square count.
struct PieceSizeClass {
    std::int32_t shapeCount = 0;
    OneBasedVector<PieceShape> shapes;
};

struct LevelSpec {
    std::int16_t boardSize = 0;
    std::int16_t spare = 0;
    std::int16_t periodMs = 0;       // between two inserted pieces
    std::int32_t targetScore = 0;    // level score that finishes the level
    std::int32_t slotCount = 0;      // dispenser slots in play
};

struct BestScoreTable {
    OneBasedArray<std::int32_t, kBestScorePlaces> scores;    // best first
    OneBasedArray<std::string, kBestScorePlaces> names;
    bool operator==(const BestScoreTable&) const = default;
};

// A board-sized grid of 8-bit values addressed (row, column) from (1, 1).
class BoardGrid {
public:
    void resize(int rows, int cols, std::uint8_t fill = 0);
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    bool contains(int row, int col) const
    {
        return row >= 1 && row <= rows_ && col >= 1 && col <= cols_;
    }
    std::uint8_t& operator()(int row, int col);
    std::uint8_t operator()(int row, int col) const;
    void fill(std::uint8_t value);
    bool operator==(const BoardGrid&) const = default;

private:
    int rows_ = 0;
    int cols_ = 0;
    std::vector<std::uint8_t> cells_;
};

struct GameState {
    // Fixed tables, filled at start-up.
    OneBasedArray<LevelSpec, kLevelCount> levels;
    OneBasedArray<std::uint8_t, kCellKindEntries> cellKind;
    std::int16_t pumpMaxSize = pumpMaxSizeDefault;

    // The piece catalogue.
    std::int32_t pieceSizeCount = 0;
    OneBasedVector<PieceSizeClass> allPieces;

    // The board.
    std::int16_t boardRows = 0;
    std::int16_t boardCols = 0;
    BoardGrid boardCells;   // 1..10 empty (tile), 11..15 a square of colour v - 10
    BoardGrid boardBase;    // the tile a cell returns to when cleared
    BoardGrid boardMarks;   // 1 where the last drop completed a line

    // Live pieces (in a slot or on the mouse), referred to by pool index; 0 is none.
    OneBasedVector<PieceShape> piecePool;
    OneBasedVector<bool> piecePoolUsed;

    // Dispenser slots; the window lays out their screen fields.
    OneBasedArray<Panel, kDispenserCapacity> dispensers;
    std::int16_t dispenserCount = 0;

    // The running game.
    bool gamePlaying = false;
    bool gamePaused = false;
    bool pieceDragOn = false;
    std::int16_t carriedPiece = 0;
    std::int16_t grabSquare = 0;
    std::int16_t grabOffsetX = 0;
    std::int16_t grabOffsetY = 0;
    std::int16_t carriedPieceX = 0;   // pointer position where the carried piece was last drawn
    std::int16_t carriedPieceY = 0;
    std::int16_t pumpTicks = 0;
    std::int16_t currentLevel = 0;
    std::int32_t totalScore = 0;
    std::int32_t levelScore = 0;
    std::int16_t gameMode = 0;

    // Carried unchanged from the per-user store to the store.
    std::array<std::uint8_t, 2> solvingDataHead{};   // bytes 0-1 of the stored block
    std::array<std::uint8_t, 8> solvingDataTail{};   // bytes 6-13 of the stored block
    std::int32_t numwfsfValue = 0;
    std::array<std::int16_t, 7> soundOptions{};
    OneBasedArray<BestScoreTable, kGameModes> bestScores;

    // The program's directory, ending in '/'.
    std::string appPath;
};

// Fills the level table with the game's ten levels.
void fillLevelTable(GameState& state);
// cellKind: 0 for empty tiles 1..10, nonzero for squares 11..15.
void initCellKinds(GameState& state);

// True when a square may land on a cell holding this value (any empty tile).
bool isCellFree(const GameState& state, int cellValue);

// Lowest unused pool index, growing the pool by one when every entry is used.
// The caller marks the entry used.
std::int16_t allocPoolPiece(GameState& state);
std::int32_t piecePoolCount(const GameState& state);

bool isOnBoard(const GameState& state, std::int16_t col, std::int16_t row);

// Lowest empty slot in play, or -1 when every slot is full or none is in play.
std::int16_t findFreeDispenser(const GameState& state);
std::int16_t countFreeDispensers(const GameState& state);

} // namespace snugbox
