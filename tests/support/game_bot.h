#pragma once
// A player for tests and benchmarks: plays whole games through the rules' entry points the
// way the window forwards them (timer ticks, presses in window pixels), with a
// RecordingDisplay for a screen. Its choices come from a seeded source, so a seed always
// plays the same games: some with care (where most lines fill), some carelessly, now and
// then letting the timer run until the dispenser fills up.
//
// With checking on, after every event it checks what must always hold (board values, the
// live pieces, the score, levels, the timer, the game over and the carried-piece protocol)
// and writes down what does not. Where a drop fits and how many lines it fills it reckons
// on its own, not with the rules' code.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rules/game_state.h"

namespace snugbox::testing {

struct BotTotals {
    int games = 0;
    int gamesLost = 0;      // a piece was due with every slot full
    int gamesWon = 0;       // the tenth level's target was reached
    long long events = 0;
};

class GameBot {
public:
    // `setup` holds the prepared tables and the piece catalogue; the bot plays on its own
    // copy, keeping best scores from game to game.
    GameBot(const GameState& setup, std::uint64_t seed);
    ~GameBot();

    // When off, the bot only plays (for benchmarks).
    void setChecking(bool on) { checking_ = on; }
    // Plays one game from the new-game press to its game over.
    void playGame();
    // Plays the opening of a game: a game still running after `events` events is ended
    // there, as the last piece timer of a lost game would end it.
    void playShortGame(long long events);

    const BotTotals& totals() const { return totals_; }
    // What did not hold, with the game and event it happened at; empty when all held.
    const std::vector<std::string>& faults() const { return faults_; }

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
    bool checking_ = true;
    BotTotals totals_;
    std::vector<std::string> faults_;
};

} // namespace snugbox::testing
