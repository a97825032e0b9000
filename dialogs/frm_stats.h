#pragma once
// The best-scores table of one game mode, with a button that clears it.

#include <cstdint>
#include <functional>

#include "dialogs/dialog_frame.h"
#include "platform/window.h"
#include "rules/game_state.h"

namespace snugbox {

class frmStats : private WindowEvents {
public:
    // state: the best-score tables shown and cleared. tablesCleared: runs right after
    // "Clear Scores" changed the table in memory (the game saves the store there, so that
    // a crash cannot bring the cleared scores back).
    frmStats(GameState& state, std::function<void()> tablesCleared);

    std::int16_t modeNum = 0;     // input: set before show(); 1 or 2
    // Modal; returns when closed. Open already (a game ended behind it and changed the
    // table), it shows the rows as they are now and returns at once.
    void show();
    Window& window();             // for tests

private:
    void onLoad() override;
    void onMouseMove(int buttons, int shift, float x, float y) override;
    void onMouseDown(int button, int shift, float x, float y) override;
    void onKeyPress(int character) override;

    // The table of modeNum, or nullptr when modeNum names no mode.
    BestScoreTable* shownTable();
    void layOutRows();
    void drawRow(int row);
    void redrawRows();
    void layOutButtons();
    void clearScores();

    GameState& state_;
    std::function<void()> tablesCleared_;
    Window window_;
    DialogFrame frame_;
    Panel background_;
    Panel title_;
    OneBasedArray<Panel, kBestScorePlaces> nameCells_;
    OneBasedArray<Panel, kBestScorePlaces> scoreCells_;
};

} // namespace snugbox
