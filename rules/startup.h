#pragma once
// The rules' part of starting the program: the fixed tables, and making sense of the
// game mode and level that came back from the per-user store.

namespace snugbox {

struct GameState;

// The level table and the cell kinds, which every rule relies on. Done once at start-up,
// before the stored settings are loaded.
void prepareGameTables(GameState& state);

// Games are always played in mode 2 ("Normal"). A stored mode 1 keeps its stored level;
// a stored 0 (a new store), 2 or anything else - a damaged store - starts again from
// level 1. A kept level outside 1..10 also becomes 1, since the level and score displays
// look it up in the level table. Returns whether the welcome message is to be shown,
// which after this is always the case.
bool settleStoredGameMode(GameState& state);

} // namespace snugbox
