#pragma once
// A display that paints nothing and writes down every call the rules make, in order:
// "erase, slot 3/2, redraw, refresh" (slot 3 painted in box style 2), "show 400,300",
// "timer off", "interval 250". It lays out the board and the slots where the window puts
// them, so presses can be given in window pixels. What the window could not live with is
// written down as a fault: painting over the shown carried piece, erasing or redrawing it
// with none on the mouse, waiting or opening a dialog with the piece timer on.

#include <cstdint>
#include <string>
#include <vector>

#include "rules/display.h"
#include "rules/panel.h"

namespace snugbox {
struct GameState;
}

namespace snugbox::testing {

class RecordingDisplay final : public GameDisplay {
public:
    explicit RecordingDisplay(GameState& state) : state_(state) {}

    // The calls since the last clear(), separated by ", ".
    const std::string& log() const { return log_; }
    void clear() { log_.clear(); }
    bool timerEnabled() const { return timerEnabled_; }
    const std::vector<std::string>& faults() const { return faults_; }
    void clearFaults() { faults_.clear(); }

    // GameDisplay
    void eraseMousePiece() override { carriedPiece("erase", false); }
    void redrawMousePiece() override { carriedPiece("redraw", true); }
    void startShowingMousePiece(std::int16_t x, std::int16_t y) override;
    void animateLineClear() override { paint("animate"); }
    void drawBoard() override { paint("board"); }
    void paintSlot(std::int16_t slot, std::int16_t boxStyle) override
    {
        paint("slot " + std::to_string(slot) + "/" + std::to_string(boxStyle));
    }
    void drawPumb() override { paint("pump"); }
    void updateScoreDisplay() override { paint("score"); }
    void displayLevel() override { paint("level"); }
    void showGameOverMessage(std::int16_t messageId) override { paint("message " + std::to_string(messageId)); }
    void paintPlayArea() override { paint("play area"); }
    void paintSidePicture() override { paint("side picture"); }
    void paintMenuButtons() override { paint("menu buttons"); }
    // Pausing covers everything, the carried piece included; it shows again at the next move.
    void paintWindowBackground() override { pieceShown_ = false; record("background"); }
    void setPauseLabelVisible(bool visible) override { record(visible ? "label on" : "label off"); }
    void refresh() override { record("refresh"); }
    void layoutNewGamePanels() override { record("layout game"); }
    // Where the window puts the 9 x 9 board, and the column of five slots beside it.
    void layoutBoardPanel() override { board_ = panelOn(nullptr, 202, 58, 405, 405); record("layout board"); }
    void layoutSlotPanel(std::int16_t slot) override;
    void layoutLevelPanel() override { record("layout level"); }
    const Panel& boardPanel() const override { return board_; }
    void setPieceTimerInterval(int ms) override { record("interval " + std::to_string(ms)); }
    void setPieceTimerEnabled(bool on) override { timerEnabled_ = on; record(on ? "timer on" : "timer off"); }
    void sleepMs(int ms) override { withTimerOff("sleep " + std::to_string(ms)); }
    std::string askBestScoreName() override { withTimerOff("ask name"); return "Tester"; }
    void showBestScores(std::int16_t mode) override { withTimerOff("best scores " + std::to_string(mode)); }
    void bestScoresChanged() override { record("scores changed"); }

private:
    void record(const std::string& call, bool fault = false, const char* what = "")
    {
        if (fault) {
            faults_.push_back(call + what);
        }
        log_ += (log_.empty() ? "" : ", ") + call;
    }
    // A paint that may cover the carried piece's place.
    void paint(const std::string& call) { record(call, pieceShown_, " painted over the shown carried piece"); }
    void carriedPiece(const std::string& call, bool shownAfter);
    void withTimerOff(const std::string& call) { record(call, timerEnabled_, " with the piece timer on"); }

    GameState& state_;
    Panel board_;
    std::string log_;
    std::vector<std::string> faults_;
    bool pieceShown_ = false;
    bool timerEnabled_ = false;
};

} // namespace snugbox::testing
