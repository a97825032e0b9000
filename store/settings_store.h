#pragma once
// The per-user store of the best scores with their names, the last game mode and level,
// the sound options and one carried value. It lives in the user's configuration
// directory, as Quillon/Snugbox/1.0.ini.

#include <string>

namespace snugbox {

struct GameState;

// Reads the store into `state`: solvingDataHead, gameMode, currentLevel, solvingDataTail,
// numwfsfValue, soundOptions and both bestScores tables. Values that are missing or
// cannot be read take their defaults; a first run creates the store. When the
// configuration directory is unusable, " Error Failerd" is shown and `state` is left as
// it is. Call once at start-up, before the welcome screen and the first save.
void loadSettings(GameState& state);

// Writes every stored value of `state` back, replacing the store file in one step, so it
// may be called at any moment a handler has finished (exit, a new best score, a cleared
// table, end of session). Returns true when the file now holds them all; failures are
// otherwise silent except for an unusable configuration directory, which shows
// " Error Failerd".
bool saveSettings(const GameState& state);

// The same against another configuration directory instead of the user's own.
void loadSettings(GameState& state, const std::string& configDirectory);
bool saveSettings(const GameState& state, const std::string& configDirectory);

} // namespace snugbox
