#include "tests/support/game_bot.h"

#include <algorithm>
#include <array>

#include "rules/game_rules.h"
#include "tests/support/recording_display.h"
#include "tests/support/seeded_random.h"

namespace snugbox::testing {
namespace {

using Op = RecordingDisplay::Op;

// The piece timer's tick on each level: the level's period over twelve ticks, rounded.
constexpr std::array<int, 10> kTickMs{250, 217, 208, 200, 183, 192, 183, 167, 150, 142};
constexpr int kBoardSize = 9;
constexpr long long kEventsPerGameLimit = 200000;

// A piece's squares moved to start at row 0, column 0, as sorted bytes (row << 4 | col)
// packed into one number: the same for a shape however its squares are numbered.
// Pieces of more than six squares never come out of the dispenser; they all get 0.
std::uint64_t footprint(const PieceShape& piece)
{
    const int count = piece.squares.count();
    if (count < 1 || count > 6) {
        return 0;
    }
    int minCol = piece.squares[1].col;
    int minRow = piece.squares[1].row;
    for (int k = 2; k <= count; ++k) {
        minCol = std::min<int>(minCol, piece.squares[k].col);
        minRow = std::min<int>(minRow, piece.squares[k].row);
    }
    std::array<std::uint8_t, 6> bytes{};
    for (int k = 1; k <= count; ++k) {
        const int row = piece.squares[k].row - minRow;
        const int col = piece.squares[k].col - minCol;
        bytes[static_cast<std::size_t>(k - 1)] = static_cast<std::uint8_t>((row & 15) << 4 | (col & 15));
    }
    std::sort(bytes.begin(), bytes.begin() + count);
    std::uint64_t key = static_cast<std::uint64_t>(count);
    for (int k = 0; k < count; ++k) {
        key = key << 8 | bytes[static_cast<std::size_t>(k)];
    }
    return key;
}

// A quarter turn clockwise on screen, reckoned on its own: (col, row) -> (-row, col).
PieceShape turnedClockwise(const PieceShape& piece)
{
    PieceShape turned = piece;
    for (int k = 1; k <= piece.squares.count(); ++k) {
        turned.squares[k] = Square{static_cast<std::int16_t>(-piece.squares[k].row),
                                   piece.squares[k].col};
    }
    return turned;
}

// Everything a call that must change nothing could disturb.
struct Snapshot {
    BoardGrid cells;
    BoardGrid base;
    OneBasedVector<PieceShape> pool;
    OneBasedVector<bool> used;
    std::array<std::int32_t, kDispenserCapacity + 1> slots{};
    bool playing = false;
    bool paused = false;
    bool dragging = false;
    std::int16_t carried = 0;
    std::int16_t grab = 0;
    std::int16_t pump = 0;
    std::int16_t level = 0;
    std::int16_t slotCount = 0;
    std::int32_t total = 0;
    std::int32_t levelScore = 0;
    OneBasedArray<BestScoreTable, kGameModes> best;
    bool operator==(const Snapshot&) const = default;

    explicit Snapshot(const GameState& state)
        : cells(state.boardCells), base(state.boardBase), pool(state.piecePool),
          used(state.piecePoolUsed), playing(state.gamePlaying), paused(state.gamePaused),
          dragging(state.pieceDragOn), carried(state.carriedPiece), grab(state.grabSquare),
          pump(state.pumpTicks), level(state.currentLevel), slotCount(state.dispenserCount),
          total(state.totalScore), levelScore(state.levelScore), best(state.bestScores)
    {
        for (int slot = 1; slot <= kDispenserCapacity; ++slot) {
            slots[static_cast<std::size_t>(slot)] = state.dispensers[slot].pieceIndex;
        }
    }
};

// What an event is checked against.
struct Before {
    bool playing = false;
    std::int16_t level = 0;
};

struct Placement {
    bool fits = false;
    int lines = 0;
};

// Which cells hold squares, indexed [row][col] from 1, and how many each line holds.
struct Occupancy {
    std::array<std::array<bool, kBoardSize + 1>, kBoardSize + 1> filled{};
    std::array<int, kBoardSize + 1> inRow{};
    std::array<int, kBoardSize + 1> inColumn{};
};

} // namespace

class GameBot::Impl {
public:
    Impl(GameBot& bot, std::uint64_t seed)
        : bot_(bot), state_(bot.state_), display_(bot.state_), gameRandom_(seed),
          choices_(seed * 0x9E3779B97F4A7C15ULL + 1), rules_(bot.state_, display_, gameRandom_),
          standardLevels_(bot.state_.levels)
    {
        learnCatalogueShapes();
        bestBeforeGameOver_ = state_.bestScores;
    }

    void playGame();

private:
    // --- Playing ---------------------------------------------------------------------
    void chooseStyle();
    void step();
    void stepCarrying();
    void stepEmptyHanded();
    void tick();
    void pressSlot(int slot, std::int16_t button);
    void turnPiece();
    void dropAt(int col, int row);
    bool dropWherePointsAreBest();
    void putBackOrWait();
    void burstOfTicks();
    void pauseAndPoke();
    void startOverMidway();
    void tryNonsense();
    void pokeFinishedGame();

    // --- Reckoning -------------------------------------------------------------------
    bool occupied(int row, int col) const { return state_.boardCells(row, col) > colourBase; }
    Occupancy occupancy() const;
    static Placement reckon(const Occupancy& board, const PieceShape& piece, int grab, int col, int row);
    static int contactAt(const Occupancy& board, const PieceShape& piece, int grab, int col, int row);
    std::int16_t lowestLeftmost(const PieceShape& piece) const;
    std::int16_t slotX(int slot) { return static_cast<std::int16_t>(state_.dispensers[slot].x + choices_.between(1, 89)); }
    std::int16_t slotY(int slot) { return static_cast<std::int16_t>(state_.dispensers[slot].y + choices_.between(1, 89)); }

    // --- Checking --------------------------------------------------------------------
    template <class Action>
    void event(const char* name, Action action, bool startsGame = false);
    template <class Action>
    void expectNoEffect(const char* name, Action action);
    void fail(const std::string& what);
    void checkAfter(const char* name, const Before& before, bool startsGame);
    void checkBoard();
    void checkPieces();
    void checkPiece(int index);
    void checkProgress();
    void checkGameOver();
    void learnCatalogueShapes();

    GameBot& bot_;
    GameState& state_;
    RecordingDisplay display_;
    SeededRandom gameRandom_;
    SeededRandom choices_;
    GameRules rules_;
    OneBasedArray<LevelSpec, kLevelCount> standardLevels_;
    std::vector<std::uint64_t> knownShapes_;   // sorted
    BoardGrid checkedCells_;   // the board as last found sound
    BoardGrid checkedBase_;
    OneBasedVector<PieceShape> soundPieces_;   // pool entries as last found sound
    OneBasedArray<BestScoreTable, kGameModes> bestBeforeGameOver_;

    bool careful_ = true;
    double tickShare_ = 0.5;     // of the steps, plain ticks of the timer
    double burstShare_ = 0.02;   // of the steps, a while of leaving the pieces alone
    int turnsTried_ = 0;
    std::int32_t expectedScore_ = 0;
    long long eventsThisGame_ = 0;
    const char* currentEvent_ = "";
};

GameBot::GameBot(const GameState& setup, std::uint64_t seed)
    : state_(setup), impl_(std::make_unique<Impl>(*this, seed))
{
}

GameBot::~GameBot() = default;

void GameBot::playGame() { impl_->playGame(); }

// --- Playing -----------------------------------------------------------------------------

void GameBot::Impl::playGame()
{
    chooseStyle();
    ++bot_.totals_.games;
    eventsThisGame_ = 0;
    expectedScore_ = 0;
    event("new game", [this] { rules_.startArcadeGame(); }, true);
    while (state_.gamePlaying) {
        if (eventsThisGame_ > kEventsPerGameLimit) {
            fail("the game has not ended after " + std::to_string(kEventsPerGameLimit) + " events");
            rules_.gameOver();
            break;
        }
        step();
    }
    bot_.totals_.highestLevel = std::max<int>(bot_.totals_.highestLevel, state_.currentLevel);
    if (bot_.checking_) {
        pokeFinishedGame();
    }
}

// Each game is played differently: with care or not, quick or slow to take pieces, and
// some on levels of a few points each so that games reach their end after level 10.
void GameBot::Impl::chooseStyle()
{
    careful_ = choices_.chance(0.6);
    tickShare_ = 0.2 + 0.6 * choices_.next();
    burstShare_ = 0.01 + 0.05 * choices_.next();
    state_.levels = standardLevels_;
    if (choices_.chance(0.3)) {
        for (int level = 1; level <= kLevelCount; ++level) {
            state_.levels[level].targetScore = choices_.between(10, 40);
        }
    }
}

void GameBot::Impl::step()
{
    const double roll = choices_.next();
    if (roll < 0.004) {
        tryNonsense();
    } else if (roll < 0.007) {
        pauseAndPoke();
    } else if (roll < 0.0072) {
        startOverMidway();
    } else if (roll < 0.0072 + burstShare_) {
        burstOfTicks();
    } else if (choices_.chance(tickShare_)) {
        tick();
    } else if (state_.pieceDragOn) {
        stepCarrying();
    } else {
        stepEmptyHanded();
    }
}

void GameBot::Impl::stepEmptyHanded()
{
    // Any button takes a piece; an empty slot gives nothing.
    static constexpr std::array<std::int16_t, 3> buttons{kLeftButton, kRightButton, kMiddleButton};
    turnsTried_ = 0;
    pressSlot(choices_.between(1, state_.dispenserCount),
              buttons[static_cast<std::size_t>(choices_.between(0, 2))]);
}

void GameBot::Impl::stepCarrying()
{
    if (careful_) {
        if (dropWherePointsAreBest()) {
            return;
        }
        if (turnsTried_ < 3) {
            ++turnsTried_;
            turnPiece();
        } else {
            putBackOrWait();
        }
        return;
    }
    const double roll = choices_.next();
    if (roll < 0.55) {
        dropAt(choices_.between(1, kBoardSize), choices_.between(1, kBoardSize));
    } else if (roll < 0.7) {
        turnPiece();
    } else if (roll < 0.85) {
        pressSlot(choices_.between(1, state_.dispenserCount),
                  choices_.chance(0.5) ? kLeftButton : kMiddleButton);
    } else {
        // A left press beside the board and the slots does nothing.
        event("press beside", [this] { rules_.pressInGame(kLeftButton, 100, 40); });
    }
}

void GameBot::Impl::tick()
{
    event("tick", [this] { rules_.timerPieces_Timer(); });
}

void GameBot::Impl::burstOfTicks()
{
    for (int ticks = choices_.between(12, 40); ticks > 0 && state_.gamePlaying; --ticks) {
        tick();
    }
}

void GameBot::Impl::pressSlot(int slot, std::int16_t button)
{
    const std::int16_t x = slotX(slot);
    const std::int16_t y = slotY(slot);
    event("slot press", [this, button, x, y] { rules_.pressInGame(button, x, y); });
    if (bot_.checking_ && state_.pieceDragOn &&
        state_.grabSquare != lowestLeftmost(state_.piecePool[state_.carriedPiece])) {
        fail("a piece from a slot is not held by its lowest-leftmost square");
    }
}

void GameBot::Impl::turnPiece()
{
    const PieceShape before = state_.piecePool[state_.carriedPiece];
    const std::int16_t grab = state_.grabSquare;
    const auto x = static_cast<std::int16_t>(choices_.between(0, 800));
    const auto y = static_cast<std::int16_t>(choices_.between(0, 580));
    event("turn", [this, x, y] { rules_.pressInGame(kRightButton, x, y); });
    if (!bot_.checking_) {
        return;
    }
    const PieceShape& after = state_.piecePool[state_.carriedPiece];
    if (footprint(after) != footprint(turnedClockwise(before))) {
        fail("a turn is not a clockwise quarter turn");
    }
    if (state_.grabSquare != grab) {
        fail("a turn changed the square the piece is held by");
    }
}

// Presses the board with the held square's centre area over cell (row, col).
void GameBot::Impl::dropAt(int col, int row)
{
    const PieceShape piece = state_.piecePool[state_.carriedPiece];
    const Placement expected = reckon(occupancy(), piece, state_.grabSquare, col, row);
    const Panel& board = display_.boardPanel();
    // Inside the cell, off its borders, where every way of mapping pixels agrees.
    const auto x = static_cast<std::int16_t>(board.x + (col - 1) * cellSize + choices_.between(1, 44));
    const auto y = static_cast<std::int16_t>(board.y + (row - 1) * cellSize + choices_.between(1, 44));
    if (expected.fits) {
        expectedScore_ += 5 * expected.lines * (expected.lines + 1);
    }
    event("drop", [this, x, y] { rules_.pressInGame(kLeftButton, x, y); });
    const bool placed = !state_.pieceDragOn;
    if (bot_.checking_ && placed != expected.fits) {
        fail(expected.fits ? "a piece that fits was refused" : "a piece that does not fit was placed");
    }
    if (placed) {
        ++bot_.totals_.drops;
        bot_.totals_.lines += expected.lines;
        turnsTried_ = 0;
    }
}

bool GameBot::Impl::dropWherePointsAreBest()
{
    const PieceShape& piece = state_.piecePool[state_.carriedPiece];
    const int grab = state_.grabSquare;
    const Occupancy filled = occupancy();
    int bestValue = -1;
    int bestCol = 0;
    int bestRow = 0;
    for (int row = 1; row <= kBoardSize; ++row) {
        for (int col = 1; col <= kBoardSize; ++col) {
            const Placement placement = reckon(filled, piece, grab, col, row);
            if (!placement.fits) {
                continue;
            }
            const int value = placement.lines * 1000 + contactAt(filled, piece, grab, col, row) * 10 +
                              choices_.between(0, 9);
            if (value > bestValue) {
                bestValue = value;
                bestCol = col;
                bestRow = row;
            }
        }
    }
    if (bestValue < 0) {
        return false;
    }
    dropAt(bestCol, bestRow);
    return true;
}

void GameBot::Impl::putBackOrWait()
{
    for (int slot = 1; slot <= state_.dispenserCount; ++slot) {
        if (state_.dispensers[slot].pieceIndex == 0) {
            pressSlot(slot, kLeftButton);
            turnsTried_ = 0;
            return;
        }
    }
    tick();
}

void GameBot::Impl::pauseAndPoke()
{
    event("pause", [this] { rules_.enablePause(true); });
    if (bot_.checking_ && (!state_.gamePaused || display_.timerEnabled() || !display_.pauseLabelVisible())) {
        fail("pausing leaves the game running, the timer on or the label hidden");
    }
    if (bot_.checking_) {
        expectNoEffect("tick while paused", [this] { rules_.timerPieces_Timer(); });
        expectNoEffect("insert while paused", [this] { rules_.insertAPiece(); });
        expectNoEffect("slot while paused", [this] { rules_.dispenserClicked(1); });
        expectNoEffect("press while paused", [this] { rules_.pressInGame(kLeftButton, slotX(1), slotY(1)); });
        expectNoEffect("drop while paused", [this] { rules_.checkPieceDrop(300, 200); });
        expectNoEffect("turn while paused", [this] { rules_.rotateMousePieceRight(300, 200); });
        expectNoEffect("level while paused", [this] { rules_.startArcadeLevel(); });
    }
    event("resume", [this] { rules_.enablePause(false); });
    if (bot_.checking_ && (state_.gamePaused || !display_.timerEnabled() || display_.pauseLabelVisible())) {
        fail("resuming leaves the game paused, the timer off or the label showing");
    }
}

void GameBot::Impl::startOverMidway()
{
    ++bot_.totals_.newGamesMidway;
    expectedScore_ = 0;
    event("new game midway", [this] { rules_.startArcadeGame(); }, true);
    if (bot_.checking_ && (state_.pieceDragOn || state_.currentLevel != 1 || state_.totalScore != 0)) {
        fail("a new game during a game does not start afresh");
    }
}

void GameBot::Impl::tryNonsense()
{
    if (!bot_.checking_) {
        return;
    }
    static constexpr std::array<std::int16_t, 7> badSlots{0, -1, 6, 20, 21, 32767, -32768};
    const std::int16_t slot = badSlots[static_cast<std::size_t>(choices_.between(0, 6))];
    expectNoEffect("slot out of play", [this, slot] { rules_.dispenserClicked(slot); });
    if (!state_.pieceDragOn) {
        expectNoEffect("drop with nothing carried", [this] { rules_.checkPieceDrop(300, 200); });
        expectNoEffect("drop sequence with nothing carried", [this] { rules_.dropCarriedPieceAt(300, 200); });
        expectNoEffect("turn with nothing carried", [this] { rules_.rotateMousePieceRight(300, 200); });
    }
    expectNoEffect("press far outside", [this] { rules_.pressInGame(kMiddleButton, -32768, 32767); });
}

// Once a game is over, nothing but a new game may move it.
void GameBot::Impl::pokeFinishedGame()
{
    expectNoEffect("tick after game over", [this] { rules_.timerPieces_Timer(); });
    expectNoEffect("insert after game over", [this] { rules_.insertAPiece(); });
    expectNoEffect("game over again", [this] { rules_.gameOver(); });
    expectNoEffect("level after game over", [this] { rules_.startArcadeLevel(); });
    expectNoEffect("level check after game over", [this] { rules_.checkLevelFinished(); });
    expectNoEffect("slot after game over", [this] { rules_.dispenserClicked(1); });
    expectNoEffect("press after game over", [this] { rules_.pressInGame(kLeftButton, slotX(1), slotY(1)); });
    expectNoEffect("drop after game over", [this] { rules_.dropCarriedPieceAt(300, 200); });
}

// --- Reckoning ---------------------------------------------------------------------------

Occupancy GameBot::Impl::occupancy() const
{
    Occupancy board;
    for (int r = 1; r <= kBoardSize; ++r) {
        for (int c = 1; c <= kBoardSize; ++c) {
            const bool filled = occupied(r, c);
            board.filled[r][c] = filled;
            board.inRow[r] += filled ? 1 : 0;
            board.inColumn[c] += filled ? 1 : 0;
        }
    }
    return board;
}

// Whether the piece fits with its square `grab` on (row, col), and the lines it would fill.
Placement GameBot::Impl::reckon(const Occupancy& board, const PieceShape& piece, int grab, int col, int row)
{
    std::array<int, kBoardSize + 1> addedToRow{};
    std::array<int, kBoardSize + 1> addedToColumn{};
    const Square& held = piece.squares[grab];
    for (int k = 1; k <= piece.squares.count(); ++k) {
        const int c = col + piece.squares[k].col - held.col;
        const int r = row + piece.squares[k].row - held.row;
        if (c < 1 || c > kBoardSize || r < 1 || r > kBoardSize || board.filled[r][c]) {
            return Placement{};
        }
        ++addedToRow[r];
        ++addedToColumn[c];
    }
    Placement placement{true, 0};
    for (int i = 1; i <= kBoardSize; ++i) {
        placement.lines += (addedToRow[i] > 0 && board.inRow[i] + addedToRow[i] == kBoardSize) ? 1 : 0;
        placement.lines += (addedToColumn[i] > 0 && board.inColumn[i] + addedToColumn[i] == kBoardSize) ? 1 : 0;
    }
    return placement;
}

// How snugly a piece would sit: its squares' sides against squares or the board's edge.
int GameBot::Impl::contactAt(const Occupancy& board, const PieceShape& piece, int grab, int col, int row)
{
    static constexpr std::array<std::array<int, 2>, 4> sides{{{0, 1}, {0, -1}, {1, 0}, {-1, 0}}};
    const Square& held = piece.squares[grab];
    int contact = 0;
    for (int k = 1; k <= piece.squares.count(); ++k) {
        const int c = col + piece.squares[k].col - held.col;
        const int r = row + piece.squares[k].row - held.row;
        for (const auto& side : sides) {
            const int nc = c + side[0];
            const int nr = r + side[1];
            const bool outside = nc < 1 || nc > kBoardSize || nr < 1 || nr > kBoardSize;
            contact += (outside || board.filled[nr][nc]) ? 1 : 0;
        }
    }
    return contact;
}

std::int16_t GameBot::Impl::lowestLeftmost(const PieceShape& piece) const
{
    int best = 0;
    for (int k = 1; k <= piece.squares.count(); ++k) {
        const Square& square = piece.squares[k];
        // The last of equals wins, as the game has always picked it.
        if (best == 0 || square.row > piece.squares[best].row ||
            (square.row == piece.squares[best].row && square.col <= piece.squares[best].col)) {
            best = k;
        }
    }
    return static_cast<std::int16_t>(best);
}

// --- Checking ----------------------------------------------------------------------------

template <class Action>
void GameBot::Impl::event(const char* name, Action action, bool startsGame)
{
    ++eventsThisGame_;
    ++bot_.totals_.events;
    currentEvent_ = name;
    if (!bot_.checking_) {
        action();
        display_.clear();
        return;
    }
    const Before before{state_.gamePlaying, state_.currentLevel};
    display_.clear();
    action();
    checkAfter(name, before, startsGame);
}

template <class Action>
void GameBot::Impl::expectNoEffect(const char* name, Action action)
{
    currentEvent_ = name;
    const Snapshot before(state_);
    display_.clear();
    action();
    if (!(Snapshot(state_) == before)) {
        fail("the game state changed");
    }
    if (!display_.rawCalls().empty()) {
        fail("the display was called: " + display_.log());
    }
}

void GameBot::Impl::fail(const std::string& what)
{
    if (bot_.faults_.size() < 50) {
        bot_.faults_.push_back("game " + std::to_string(bot_.totals_.games) + ", event " +
                               std::to_string(eventsThisGame_) + " (" + currentEvent_ + "): " + what);
    }
}

void GameBot::Impl::checkAfter(const char* name, const Before& before, bool startsGame)
{
    for (const std::string& fault : display_.faults()) {
        fail(fault + " [" + display_.log() + "]");
    }
    display_.clearFaults();
    checkBoard();
    if (state_.totalScore != expectedScore_) {
        fail("total score " + std::to_string(state_.totalScore) + " where the points awarded add up to " +
             std::to_string(expectedScore_));
    }
    const bool endedNow = display_.count(Op::Message) > 0;
    if (endedNow) {
        checkGameOver();
        return;
    }
    if (state_.gamePlaying != (before.playing || startsGame)) {
        fail(std::string("the game ") + (state_.gamePlaying ? "started" : "stopped") + " on '" + name +
             "' without a new game or a game over");
    }
    if (state_.gamePlaying) {
        checkPieces();
        checkProgress();
        if (state_.currentLevel > before.level && state_.currentLevel != 1 && state_.levelScore != 0) {
            fail("a new level starts with points");
        }
    }
}

void GameBot::Impl::checkBoard()
{
    if (state_.boardCells == checkedCells_ && state_.boardBase == checkedBase_) {
        return;
    }
    checkedCells_ = state_.boardCells;
    checkedBase_ = state_.boardBase;
    for (int row = 1; row <= state_.boardCells.rows(); ++row) {
        for (int col = 1; col <= state_.boardCells.cols(); ++col) {
            const int value = state_.boardCells(row, col);
            const int base = state_.boardBase(row, col);
            if (value < 1 || value > 15 || base < 1 || base > 10 ||
                (value <= colourBase && value != base)) {
                fail("cell (" + std::to_string(row) + ", " + std::to_string(col) + ") holds " +
                     std::to_string(value) + " on tile " + std::to_string(base));
                return;
            }
        }
    }
}

void GameBot::Impl::checkPieces()
{
    const int poolCount = state_.piecePool.count();
    std::vector<int> holders(static_cast<std::size_t>(poolCount) + 1, 0);
    auto hold = [&](std::int32_t index, const char* where) {
        if (index < 1 || index > poolCount) {
            fail(std::string(where) + " refers to pool entry " + std::to_string(index));
            return;
        }
        ++holders[static_cast<std::size_t>(index)];
    };
    for (int slot = 1; slot <= kDispenserCapacity; ++slot) {
        const std::int32_t index = state_.dispensers[slot].pieceIndex;
        if (index != 0 && slot > state_.dispenserCount) {
            fail("slot " + std::to_string(slot) + " is out of play but holds a piece");
        } else if (index != 0) {
            hold(index, "a slot");
        }
    }
    if (state_.pieceDragOn != (state_.carriedPiece != 0)) {
        fail("carrying flag and carried piece disagree");
    }
    if (state_.pieceDragOn) {
        hold(state_.carriedPiece, "the carried piece");
    }
    int live = 0;
    for (int index = 1; index <= poolCount; ++index) {
        const int holds = holders[static_cast<std::size_t>(index)];
        if (holds > 1 || state_.piecePoolUsed[index] != (holds == 1)) {
            fail("pool entry " + std::to_string(index) + " is marked " +
                 (state_.piecePoolUsed[index] ? "used" : "free") + " and held " + std::to_string(holds) +
                 " times");
        }
        if (holds == 1) {
            ++live;
            checkPiece(index);
        }
    }
    if (live > state_.dispenserCount + 1) {
        fail(std::to_string(live) + " live pieces for " + std::to_string(state_.dispenserCount) + " slots");
    }
}

void GameBot::Impl::checkPiece(int index)
{
    const PieceShape& piece = state_.piecePool[index];
    if (soundPieces_.contains(index) && soundPieces_[index] == piece) {
        return;
    }
    const int count = piece.squares.count();
    bool sound = count >= 1 && count <= 6 && piece.squareCount == count && piece.colours.count() == count;
    int width = 0;
    int height = 0;
    for (int k = 1; sound && k <= count; ++k) {
        const Square& square = piece.squares[k];
        sound = square.col >= 0 && square.row >= 0 && piece.colours[k] == piece.colours[1] &&
                piece.colours[k] >= 1 && piece.colours[k] <= colourCount;
        width = std::max(width, square.col + 1);
        height = std::max(height, square.row + 1);
    }
    sound = sound && width == piece.width && height == piece.height &&
            std::binary_search(knownShapes_.begin(), knownShapes_.end(), footprint(piece));
    if (!sound) {
        fail("pool entry " + std::to_string(index) + " is not a turned catalogue shape of one colour");
        return;
    }
    if (!soundPieces_.contains(index)) {
        soundPieces_.resize(index);
    }
    soundPieces_[index] = piece;
}

void GameBot::Impl::checkProgress()
{
    const int level = state_.currentLevel;
    if (level < 1 || level > kLevelCount) {
        fail("level " + std::to_string(level));
        return;
    }
    if (state_.levelScore >= state_.levels[level].targetScore) {
        fail("level score " + std::to_string(state_.levelScore) + " stays at or above the target");
    }
    if (state_.pumpTicks < 0 || state_.pumpTicks >= state_.pumpMaxSize) {
        fail("pump at " + std::to_string(state_.pumpTicks));
    }
    if (display_.timerEnabled() == state_.gamePaused) {
        fail(state_.gamePaused ? "the timer runs while paused" : "the timer is off during play");
    }
    if (display_.timerInterval() != kTickMs[static_cast<std::size_t>(level - 1)]) {
        fail("timer interval " + std::to_string(display_.timerInterval()) + " on level " +
             std::to_string(level));
    }
}

void GameBot::Impl::checkGameOver()
{
    const int level = state_.currentLevel;
    const bool won = level == kLevelCount && state_.levelScore >= state_.levels[level].targetScore;
    won ? ++bot_.totals_.gamesWon : ++bot_.totals_.gamesLost;
    if (state_.gamePlaying || state_.pieceDragOn || display_.timerEnabled()) {
        fail("after game over the game runs, a piece is carried or the timer is on");
    }
    if (display_.count(Op::Message) != 1) {
        fail("the end message was shown " + std::to_string(display_.count(Op::Message)) + " times");
    }
    const auto& calls = display_.rawCalls();
    const auto message = std::find_if(calls.begin(), calls.end(),
                                      [](const RecordingDisplay::Call& call) { return call.op == Op::Message; });
    const int expectedMessage = level == kLevelCount ? kMessageAllLevelsDone : kMessageGameOver;
    if (message->first != expectedMessage) {
        fail("end message " + std::to_string(message->first) + " on level " + std::to_string(level));
    }
    const BestScoreTable& table = state_.bestScores[state_.gameMode];
    const bool ranks = state_.totalScore > bestBeforeGameOver_[state_.gameMode].scores[kBestScorePlaces];
    bool entered = false;
    for (int place = 1; place <= kBestScorePlaces; ++place) {
        if (place > 1 && table.scores[place] > table.scores[place - 1]) {
            fail("the best scores are out of order");
        }
        entered = entered || (table.scores[place] == state_.totalScore && table.names[place] == "Tester");
    }
    if (ranks != (display_.count(Op::AskName) == 1) || (ranks && !entered) ||
        (!ranks && !(table == bestBeforeGameOver_[state_.gameMode]))) {
        fail("score " + std::to_string(state_.totalScore) + (ranks ? " ranks" : " does not rank") +
             " but the table or the dialogs say otherwise");
    }
    bot_.totals_.rankedScores += ranks ? 1 : 0;
    bestBeforeGameOver_ = state_.bestScores;
}

// Every shape of the catalogue in each of its four turns.
void GameBot::Impl::learnCatalogueShapes()
{
    for (int size = 1; size <= state_.allPieces.count(); ++size) {
        const PieceSizeClass& sizeClass = state_.allPieces[size];
        for (int index = 1; index <= sizeClass.shapes.count(); ++index) {
            PieceShape shape = sizeClass.shapes[index];
            for (int turn = 0; turn < 4; ++turn) {
                knownShapes_.push_back(footprint(shape));
                shape = turnedClockwise(shape);
            }
        }
    }
    std::sort(knownShapes_.begin(), knownShapes_.end());
}

} // namespace snugbox::testing
