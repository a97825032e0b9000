// The store's load and save, run as a child process that a test may kill at any moment.
//
//   snugbox_store_save_loop DIR
//
// loads the store of DIR as the game does at start-up and writes "found N" for a store
// that holds numbered store N, or "found none" for one that holds no numbered store
// whole (defaults, or a mix of two). Then it saves the numbered stores N + 1, N + 2, ...
// (1, 2, ... after none) one after the other until killed, writing "saving N" before and
// "saved N" after each save to standard output.
//
// Every stored value changes from one numbered store to the next, so a store that kept
// part of one save and part of another is found as none.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "rules/game_state.h"
#include "store/settings_store.h"

namespace {

using snugbox::GameState;

constexpr int kSaveFailed = 2;
constexpr int kWrongArguments = 3;

GameState numberedStore(int number)
{
    GameState state;
    state.gameMode = 2;
    state.currentLevel = static_cast<std::int16_t>(1 + number % 10);
    state.solvingDataHead = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8)};
    state.numwfsfValue = number;
    for (std::size_t i = 0; i < state.soundOptions.size(); ++i) {
        state.soundOptions[i] = static_cast<std::int16_t>((number + static_cast<int>(i)) % 2);
    }
    for (int mode = 1; mode <= snugbox::kGameModes; ++mode) {
        for (int row = 1; row <= snugbox::kBestScorePlaces; ++row) {
            state.bestScores[mode].scores[row] = number * 100 + mode * 10 + row;
            // Names of a length that changes with the number, so that the file does too.
            state.bestScores[mode].names[row] = "P" + std::to_string(number) + std::string(number % 7, '*');
        }
    }
    return state;
}

bool sameStoredValues(const GameState& a, const GameState& b)
{
    return a.gameMode == b.gameMode && a.currentLevel == b.currentLevel && a.solvingDataHead == b.solvingDataHead &&
           a.solvingDataTail == b.solvingDataTail && a.numwfsfValue == b.numwfsfValue &&
           a.soundOptions == b.soundOptions && a.bestScores == b.bestScores;
}

// One write per line, so that what a killed child said is whole and in order.
void say(std::string_view word, int number)
{
    const std::string line = std::string(word) + " " + std::to_string(number) + "\n";
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, line.data(), line.size());
}

// The number of the store found in `directory`, or 0 for none.
int loadAndTell(const std::string& directory)
{
    GameState state;
    snugbox::loadSettings(state, directory);
    const bool numbered = state.numwfsfValue > 0 && sameStoredValues(state, numberedStore(state.numwfsfValue));
    const std::string line = numbered ? "found " + std::to_string(state.numwfsfValue) + "\n" : "found none\n";
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, line.data(), line.size());
    return numbered ? state.numwfsfValue : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return kWrongArguments;
    }
    const std::string directory = argv[1];
    for (int number = loadAndTell(directory) + 1;; ++number) {
        say("saving", number);
        if (!snugbox::saveSettings(numberedStore(number), directory)) {
            return kSaveFailed;
        }
        say("saved", number);
    }
}
