#include "tests/support/game_bot.h"

#include <algorithm>
#include <array>
#include <functional>
#include <tuple>
#include <utility>

#include "rules/game_rules.h"
#include "tests/support/recording_display.h"
#include "tests/support/seeded_random.h"

namespace snugbox::testing {
namespace {

constexpr int kSide = 9;

// Which board cells hold squares, [row][col] from 1, with a border of taken cells all round.
using Occupancy = std::array<std::array<bool, kSide + 2>, kSide + 2>;

Occupancy occupancy(const GameState& state)
{
    Occupancy taken;
    for (int r = 0; r <= kSide + 1; ++r) {
        for (int c = 0; c <= kSide + 1; ++c) {
            taken[r][c] = r < 1 || r > kSide || c < 1 || c > kSide || state.boardCells(r, c) > colourBase;
        }
    }
    return taken;
}

// Where the carried piece with its held square on (row, col) lands: the rows and columns it
// fills (-1 where it does not fit) and how many sides of its squares touch a square or the edge.
std::pair<int, int> reckonDrop(const GameState& state, Occupancy taken, int row, int col)
{
    const PieceShape& piece = state.piecePool[state.carriedPiece];
    const Square& held = piece.squares[state.grabSquare];
    int snug = 0;
    for (int k = 1; k <= piece.squares.count(); ++k) {
        const int r = row + piece.squares[k].row - held.row;
        const int c = col + piece.squares[k].col - held.col;
        if (r < 1 || r > kSide || c < 1 || c > kSide || taken[r][c]) {
            return {-1, 0};
        }
        snug += taken[r - 1][c] + taken[r + 1][c] + taken[r][c - 1] + taken[r][c + 1];
        taken[r][c] = true;
    }
    int lines = 0;
    for (int i = 1; i <= kSide; ++i) {   // the border counts as full
        lines += std::ranges::all_of(taken[i], std::identity{});
        lines += std::ranges::all_of(taken, [i](const auto& cells) { return cells[i]; });
    }
    return {lines, snug};
}

} // namespace

class GameBot::Impl {
public:
    Impl(GameBot& bot, const GameState& setup, std::uint64_t seed)
        : bot_(bot), state_(setup), display_(state_), gameRandom_(seed), choices_(seed * 0x9E3779B97F4A7C15ULL + 1),
          rules_(state_, display_, gameRandom_), standardLevels_(setup.levels)
    {
    }

    // Each game is played differently: with care or not, quick or slow to take pieces,
    // and some on levels of a few points each so that games reach their end after level 10.
    void playGame(long long eventLimit, bool mustEnd)
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
        newGame();
        while (state_.gamePlaying && eventsThisGame_ < eventLimit) {
            step();
        }
        if (mustEnd) {
            expect(!state_.gamePlaying, "the game has not ended");
        }
        if (state_.gamePlaying) {
            event([this] { rules_.gameOver(); });
        }
    }

private:
    void step()
    {
        const double roll = choices_.next();
        if (roll < 0.003) {
            event([this] { rules_.enablePause(true); });
            event([this] { rules_.enablePause(false); });
        } else if (roll < 0.0032) {
            newGame();
        } else if (roll < 0.02) {
            // A while of leaving the pieces alone, so that the dispenser fills up.
            for (int ticks = choices_.between(12, 40); ticks > 0 && state_.gamePlaying; --ticks) {
                event([this] { rules_.timerPieces_Timer(); });
            }
        } else if (choices_.chance(tickShare_)) {
            event([this] { rules_.timerPieces_Timer(); });
        } else if (!state_.pieceDragOn || choices_.chance(careful_ ? 0.02 : 0.3)) {
            // Takes, swaps or puts back with any button; an empty slot gives nothing.
            const Panel& slot = state_.dispensers[choices_.between(1, state_.dispenserCount)];
            press(1 << choices_.between(0, 2), slot.x + choices_.between(1, 89), slot.y + choices_.between(1, 89));
        } else if (choices_.chance(careful_ ? 0.1 : 0.2)) {
            press(kRightButton, choices_.between(0, 800), choices_.between(0, 580));
        } else {
            drop();
        }
    }

    // Onto the cell where most lines fill and the piece sits snuggest, or any cell at all.
    void drop()
    {
        const Occupancy taken = occupancy(state_);
        int col = choices_.between(1, kSide);
        int row = choices_.between(1, kSide);
        for (int r = 1, best = -1; careful_ && r <= kSide; ++r) {
            for (int c = 1; c <= kSide; ++c) {
                const auto [lines, snug] = reckonDrop(state_, taken, r, c);
                const int value = lines * 1000 + snug * 10 + choices_.between(0, 9);
                if (lines >= 0 && value > best) {
                    std::tie(best, col, row) = std::tuple(value, c, r);
                }
            }
        }
        const int lines = reckonDrop(state_, taken, row, col).first;
        pointsAwarded_ += lines > 0 ? 5 * lines * (lines + 1) : 0;
        // Inside the cell, off its borders, where every way of mapping pixels agrees.
        const Panel& board = display_.boardPanel();
        press(kLeftButton, board.x + (col - 1) * cellSize + choices_.between(1, 44),
              board.y + (row - 1) * cellSize + choices_.between(1, 44));
        if (bot_.checking_) {
            expect(state_.pieceDragOn != (lines >= 0), "a drop was refused where it fits or placed where it does not");
            checkBoard();
        }
    }

    void newGame()
    {
        pointsAwarded_ = 0;
        event([this] { rules_.startArcadeGame(); }, true);
    }

    void press(int button, int x, int y)
    {
        const auto pixel = [](int value) { return static_cast<std::int16_t>(value); };
        event([=, this] { rules_.pressInGame(pixel(button), pixel(x), pixel(y)); });
    }

    template <class Action>
    void event(Action action, bool startsGame = false)
    {
        ++eventsThisGame_;
        ++bot_.totals_.events;
        const bool playingBefore = state_.gamePlaying || startsGame;
        display_.clear();
        action();
        if (bot_.checking_) {
            check(playingBefore);
        }
    }

    // Writes down what does not hold, with the game and event it happened at.
    void expect(bool holds, const char* what)
    {
        if (!holds && bot_.faults_.size() < 50) {
            bot_.faults_.push_back("game " + std::to_string(bot_.totals_.games) + ", event " +
                                   std::to_string(eventsThisGame_) + ": " + what + " [" + display_.log() + "]");
        }
    }

    void check(bool playingBefore)
    {
        for (const std::string& fault : display_.faults()) {
            expect(false, fault.c_str());
        }
        display_.clearFaults();
        const bool ended = display_.log().find("message") != std::string::npos;
        expect(state_.gamePlaying == (playingBefore && !ended), "the game runs on after its end or ended unseen");
        expect(state_.totalScore == pointsAwarded_, "the total score is not the sum of the points for the lines");
        expect(display_.timerEnabled() == (state_.gamePlaying && !state_.gamePaused), "the timer runs out of play");
        if (ended) {
            checkGameOver();
        } else if (state_.gamePlaying) {
            const int level = state_.currentLevel;
            expect(level >= 1 && level <= kLevelCount && state_.levelScore < state_.levels[level].targetScore,
                   "a level goes on past its target");
            checkPieces();
        }
    }

    void checkBoard()
    {
        for (int row = 1; row <= state_.boardRows; ++row) {
            for (int col = 1; col <= state_.boardCols; ++col) {
                const int value = state_.boardCells(row, col);
                const int base = state_.boardBase(row, col);
                expect(value >= 1 && value <= 15 && base >= 1 && base <= 10 && (value > colourBase || value == base),
                       "a cell holds neither its tile nor a square");
            }
        }
    }

    // Every pool entry marked used is held exactly once, by a slot in play or the mouse.
    void checkPieces()
    {
        std::vector<int> holders(static_cast<std::size_t>(state_.piecePool.count()) + 1, 0);
        const auto hold = [&](int index) {
            expect(index == 0 || state_.piecePool.contains(index), "a slot or the mouse holds no pool entry");
            ++holders[static_cast<std::size_t>(state_.piecePool.contains(index) ? index : 0)];
        };
        for (int slot = 1; slot <= state_.dispenserCount; ++slot) {
            hold(state_.dispensers[slot].pieceIndex);
        }
        expect(state_.pieceDragOn == (state_.carriedPiece != 0), "the carrying flag and the carried piece disagree");
        hold(state_.pieceDragOn ? state_.carriedPiece : 0);
        for (int index = 1; index <= state_.piecePool.count(); ++index) {
            const int holds = holders[static_cast<std::size_t>(index)];
            expect(holds <= 1 && state_.piecePoolUsed[index] == (holds == 1), "a pool entry is held twice or marked wrongly");
        }
    }

    void checkGameOver()
    {
        const int level = state_.currentLevel;
        const bool won = level == kLevelCount && state_.levelScore >= state_.levels[level].targetScore;
        ++(won ? bot_.totals_.gamesWon : bot_.totals_.gamesLost);
        const std::string& log = display_.log();
        expect(!state_.pieceDragOn && log.find(level == kLevelCount ? "message 24" : "message 21") != std::string::npos &&
                   log.find("message") == log.rfind("message"),
               "game over with a piece carried or the wrong message");
    }

    GameBot& bot_;
    GameState state_;
    RecordingDisplay display_;
    SeededRandom gameRandom_;
    SeededRandom choices_;
    GameRules rules_;
    OneBasedArray<LevelSpec, kLevelCount> standardLevels_;
    bool careful_ = true;
    double tickShare_ = 0.5;
    std::int32_t pointsAwarded_ = 0;
    long long eventsThisGame_ = 0;
};

GameBot::GameBot(const GameState& setup, std::uint64_t seed) : impl_(std::make_unique<Impl>(*this, setup, seed)) {}

GameBot::~GameBot() = default;

void GameBot::playGame() { impl_->playGame(200000, true); }

void GameBot::playShortGame(long long events) { impl_->playGame(events, false); }

} // namespace snugbox::testing
