#pragma once
// A player for tests and benchmarks: plays whole games through the rules' entry points,
// the way the window forwards them (timer ticks and mouse presses in window pixels),
// with a RecordingDisplay for a screen. Its choices come from a seeded random source,
// so a seed always plays the same games. Some games it plays with care (it looks for the
// place that completes most lines), some carelessly, and it lets the timer run for a
// while now and then so that the dispenser fills up.
//
// With checking on, after every event it checks what must always hold (board values,
// the live pieces, scores, levels, the timer and the carried-piece protocol) and writes
// down what does not. Which drops fit and how many lines they fill it reckons on its own,
// not with the rules' code.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rules/game_state.h"

namespace snugbox::testing {

struct BotTotals {
    int games = 0;
    int gamesLost = 0;            // a piece was due with every slot full
    int gamesWon = 0;             // the tenth level's target was reached
    int newGamesMidway = 0;       // the bot pressed "new game" during a game
    int highestLevel = 0;
    long long events = 0;
    long long drops = 0;
    long long lines = 0;
    long long rankedScores = 0;
};

class GameBot {
public:
    // `setup` holds the prepared tables and the piece catalogue; the bot plays on its own
    // copy, keeping best scores from game to game.
    GameBot(const GameState& setup, std::uint64_t seed);
    ~GameBot();
    GameBot(const GameBot&) = delete;
    GameBot& operator=(const GameBot&) = delete;

    // When off, the bot only plays (for benchmarks).
    void setChecking(bool on) { checking_ = on; }
    // Plays one game from the new-game press to its game over.
    void playGame();

    const BotTotals& totals() const { return totals_; }
    // What did not hold, with the game and event it happened at; empty when all held.
    const std::vector<std::string>& faults() const { return faults_; }
    const GameState& state() const { return state_; }

private:
    class Impl;
    GameState state_;
    std::unique_ptr<Impl> impl_;
    bool checking_ = true;
    BotTotals totals_;
    std::vector<std::string> faults_;
};

} // namespace snugbox::testing
