#include "tests/support/game_bot.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "rules/game_rules.h"
#include "tests/support/recording_display.h"
#include "tests/support/seeded_random.h"

namespace snugbox::testing {
namespace {

constexpr int kBoardSize = 9;
constexpr long long kEventsPerGameLimit = 200000;

struct Placement {
    bool fits = false;
    int lines = 0;   // rows and columns it would fill
    int snug = 0;    // sides of its squares against squares or the board's edge
};

// Which cells hold squares, [row][col] from 1; the rows and columns around stay empty.
using Occupancy = std::array<std::array<bool, kBoardSize + 2>, kBoardSize + 2>;

Occupancy occupancy(const GameState& state)
{
    Occupancy filled{};
    for (int r = 1; r <= kBoardSize; ++r) {
        for (int c = 1; c <= kBoardSize; ++c) {
            filled[r][c] = state.boardCells(r, c) > colourBase;
        }
    }
    return filled;
}

// The carried piece with its held square on (row, col).
Placement reckon(const GameState& state, Occupancy filled, int col, int row)
{
    const auto inside = [](int r, int c) { return r >= 1 && r <= kBoardSize && c >= 1 && c <= kBoardSize; };
    const PieceShape& piece = state.piecePool[state.carriedPiece];
    const Square& held = piece.squares[state.grabSquare];
    Placement placement{true};
    int rows = 0;      // bit r set when a square lands in row r
    int columns = 0;
    for (int k = 1; k <= piece.squares.count(); ++k) {
        const int r = row + piece.squares[k].row - held.row;
        const int c = col + piece.squares[k].col - held.col;
        if (!inside(r, c) || filled[r][c]) {
            return Placement{};
        }
        filled[r][c] = true;
        rows |= 1 << r;
        columns |= 1 << c;
        placement.snug += !inside(r - 1, c) + !inside(r + 1, c) + !inside(r, c - 1) + !inside(r, c + 1) +
                          filled[r - 1][c] + filled[r + 1][c] + filled[r][c - 1] + filled[r][c + 1];
    }
    for (int i = 1; i <= kBoardSize; ++i) {
        bool rowFull = (rows >> i & 1) != 0;
        bool columnFull = (columns >> i & 1) != 0;
        for (int j = 1; j <= kBoardSize; ++j) {
            rowFull = rowFull && filled[i][j];
            columnFull = columnFull && filled[j][i];
        }
        placement.lines += rowFull + columnFull;
    }
    return placement;
}

} // namespace

class GameBot::Impl {
public:
    Impl(GameBot& bot, std::uint64_t seed)
        : bot_(bot), state_(bot.state_), display_(bot.state_), gameRandom_(seed),
          choices_(seed * 0x9E3779B97F4A7C15ULL + 1), rules_(bot.state_, display_, gameRandom_),
          standardLevels_(bot.state_.levels), bestBefore_(bot.state_.bestScores)
    {
    }

    // Each game is played differently: with care or not, quick or slow to take pieces,
    // and some on levels of a few points each so that games reach their end after level 10.
    void playGame()
    {
        careful_ = choices_.chance(0.6);
        tickShare_ = 0.2 + 0.6 * choices_.next();
        state_.levels = standardLevels_;
        const bool quickLevels = choices_.chance(0.3);
        for (int level = 1; quickLevels && level <= kLevelCount; ++level) {
            state_.levels[level].targetScore = choices_.between(10, 40);
        }
        ++bot_.totals_.games;
        eventsThisGame_ = 0;
        event([this] { rules_.startArcadeGame(); }, true);
        while (state_.gamePlaying && eventsThisGame_ < kEventsPerGameLimit) {
            step();
        }
        if (state_.gamePlaying) {
            fail("the game has not ended");
            rules_.gameOver();
            bestBefore_ = state_.bestScores;
        }
        bot_.totals_.highestLevel = std::max<int>(bot_.totals_.highestLevel, state_.currentLevel);
    }

private:
    void step()
    {
        const double roll = choices_.next();
        if (roll < 0.003) {
            event([this] { rules_.enablePause(true); });
            event([this] { rules_.enablePause(false); });
        } else if (roll < 0.0032) {
            ++bot_.totals_.newGamesMidway;
            event([this] { rules_.startArcadeGame(); }, true);
        } else if (roll < 0.02) {
            // A while of leaving the pieces alone, so that the dispenser fills up.
            for (int ticks = choices_.between(12, 40); ticks > 0 && state_.gamePlaying; --ticks) {
                event([this] { rules_.timerPieces_Timer(); });
            }
        } else if (choices_.chance(tickShare_)) {
            event([this] { rules_.timerPieces_Timer(); });
        } else if (!state_.pieceDragOn || choices_.chance(careful_ ? 0.02 : 0.3)) {
            // Takes, swaps or puts back with the left, right or middle button; an empty
            // slot gives nothing.
            const Panel& slot = state_.dispensers[choices_.between(1, state_.dispenserCount)];
            press(static_cast<std::int16_t>(1 << choices_.between(0, 2)), slot.x + choices_.between(1, 89),
                  slot.y + choices_.between(1, 89));
        } else if (choices_.chance(careful_ ? 0.1 : 0.2)) {
            press(kRightButton, choices_.between(0, 800), choices_.between(0, 580));
        } else {
            drop();
        }
    }

    void press(std::int16_t button, int x, int y)
    {
        event([=, this] { rules_.pressInGame(button, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)); });
    }

    // Onto the cell where most lines fill and the piece sits snuggest, or any cell at all.
    void drop()
    {
        const Occupancy filled = occupancy(state_);
        int bestValue = -1;
        int col = choices_.between(1, kBoardSize);
        int row = choices_.between(1, kBoardSize);
        for (int r = 1; careful_ && r <= kBoardSize; ++r) {
            for (int c = 1; c <= kBoardSize; ++c) {
                const Placement placement = reckon(state_, filled, c, r);
                const int value = placement.lines * 1000 + placement.snug * 10 + choices_.between(0, 9);
                if (placement.fits && value > bestValue) {
                    std::tie(bestValue, col, row) = std::tuple(value, c, r);
                }
            }
        }
        const Placement expected = reckon(state_, filled, col, row);
        pointsAwarded_ += expected.fits ? 5 * expected.lines * (expected.lines + 1) : 0;
        // Inside the cell, off its borders, where every way of mapping pixels agrees.
        const Panel& board = display_.boardPanel();
        press(kLeftButton, board.x + (col - 1) * cellSize + choices_.between(1, 44),
              board.y + (row - 1) * cellSize + choices_.between(1, 44));
        if (state_.pieceDragOn == expected.fits && bot_.checking_) {
            fail(expected.fits ? "a piece that fits was refused" : "a piece that does not fit was placed");
        }
        bot_.totals_.drops += expected.fits ? 1 : 0;
        bot_.totals_.lines += expected.fits ? expected.lines : 0;
    }

    template <class Action>
    void event(Action action, bool startsGame = false)
    {
        ++eventsThisGame_;
        ++bot_.totals_.events;
        const bool wasPlaying = state_.gamePlaying;
        if (startsGame) {
            pointsAwarded_ = 0;
        }
        display_.clear();
        action();
        if (bot_.checking_) {
            checkAfter(wasPlaying || startsGame);
        }
    }

    void fail(const std::string& what)
    {
        if (bot_.faults_.size() < 50) {
            bot_.faults_.push_back("game " + std::to_string(bot_.totals_.games) + ", event " +
                                   std::to_string(eventsThisGame_) + ": " + what + " [" + display_.log() + "]");
        }
    }

    void checkAfter(bool playingExpected)
    {
        for (const std::string& fault : display_.faults()) {
            fail(fault);
        }
        display_.clearFaults();
        if (state_.boardCells != checkedBoard_) {
            checkBoard();
        }
        if (state_.totalScore != pointsAwarded_) {
            fail("total score " + std::to_string(state_.totalScore) + " for " + std::to_string(pointsAwarded_));
        }
        const bool ended = display_.count(RecordingDisplay::Op::Message) > 0;
        if (state_.gamePlaying != (playingExpected && !ended)) {
            fail("the game runs when it should not or stopped without a game over");
        }
        if (ended) {
            checkGameOver();
        } else if (state_.gamePlaying) {
            checkPieces();
            checkProgress();
        }
    }

    void checkBoard()
    {
        for (int row = 1; row <= kBoardSize; ++row) {
            for (int col = 1; col <= kBoardSize; ++col) {
                const int value = state_.boardCells(row, col);
                const int base = state_.boardBase(row, col);
                if (value < 1 || value > 15 || base < 1 || base > 10 || (value <= colourBase && value != base)) {
                    fail("cell " + std::to_string(row) + "," + std::to_string(col) + " holds " + std::to_string(value));
                }
            }
        }
        checkedBoard_ = state_.boardCells;
    }

    void checkProgress()
    {
        const int level = state_.currentLevel;
        if (level < 1 || level > kLevelCount || state_.levelScore >= state_.levels[level].targetScore) {
            fail("level " + std::to_string(level) + " with " + std::to_string(state_.levelScore) + " points");
        }
        if (display_.timerEnabled() == state_.gamePaused) {
            fail("the timer runs while paused or is off during play");
        }
    }

    // Every pool entry marked used is held exactly once, by a slot in play or the mouse.
    void checkPieces()
    {
        std::vector<int> holders(static_cast<std::size_t>(state_.piecePool.count()) + 1, 0);
        for (int slot = 1; slot <= kDispenserCapacity; ++slot) {
            const int index = state_.dispensers[slot].pieceIndex;
            if (index != 0 && (slot > state_.dispenserCount || !state_.piecePool.contains(index))) {
                fail("slot " + std::to_string(slot) + " holds pool entry " + std::to_string(index));
            } else {
                ++holders[static_cast<std::size_t>(index)];
            }
        }
        if (state_.pieceDragOn != state_.piecePool.contains(state_.carriedPiece)) {
            fail("the carrying flag and the carried piece " + std::to_string(state_.carriedPiece) + " disagree");
        } else if (state_.pieceDragOn) {
            ++holders[static_cast<std::size_t>(state_.carriedPiece)];
        }
        int live = 0;
        for (int index = 1; index <= state_.piecePool.count(); ++index) {
            const int holds = holders[static_cast<std::size_t>(index)];
            if (holds > 1 || state_.piecePoolUsed[index] != (holds == 1)) {
                fail("pool entry " + std::to_string(index) + " is held " + std::to_string(holds) + " times");
            }
            live += holds;
        }
        if (live > state_.dispenserCount + 1) {
            fail(std::to_string(live) + " live pieces");
        }
    }

    void checkGameOver()
    {
        const int level = state_.currentLevel;
        const bool won = level == kLevelCount && state_.levelScore >= state_.levels[level].targetScore;
        ++(won ? bot_.totals_.gamesWon : bot_.totals_.gamesLost);
        const std::string message = "message " + std::to_string(level == kLevelCount ? 24 : 21);
        if (state_.pieceDragOn || display_.timerEnabled() || display_.count(RecordingDisplay::Op::Message) != 1 ||
            display_.log().find(message) == std::string::npos) {
            fail("game over with a piece carried, the timer on or the wrong message");
        }
        const bool ranks = state_.totalScore > bestBefore_[state_.gameMode].scores[kBestScorePlaces];
        const bool asked = display_.count(RecordingDisplay::Op::AskName) == 1;
        if (ranks != asked || ranks == (state_.bestScores == bestBefore_)) {
            fail("score " + std::to_string(state_.totalScore) + " and the best scores disagree");
        }
        bot_.totals_.rankedScores += ranks ? 1 : 0;
        bestBefore_ = state_.bestScores;
    }

    GameBot& bot_;
    GameState& state_;
    RecordingDisplay display_;
    SeededRandom gameRandom_;
    SeededRandom choices_;
    GameRules rules_;
    OneBasedArray<LevelSpec, kLevelCount> standardLevels_;
    OneBasedArray<BestScoreTable, kGameModes> bestBefore_;   // as the last game over left them
    BoardGrid checkedBoard_;                                 // as last found sound
    bool careful_ = true;
    double tickShare_ = 0.5;
    std::int32_t pointsAwarded_ = 0;
    long long eventsThisGame_ = 0;
};

GameBot::GameBot(const GameState& setup, std::uint64_t seed) : state_(setup), impl_(std::make_unique<Impl>(*this, seed))
{
}

GameBot::~GameBot() = default;

void GameBot::playGame() { impl_->playGame(); }

} // namespace snugbox::testing
