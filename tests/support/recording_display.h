#pragma once
// A display that paints nothing and writes down every call the rules make, so that tests
// can read what happened and in which order ("erase", "pump", "redraw", "refresh").
// It lays out the board and the slots where the window puts them, so presses can be
// given in window pixels, and it watches the rules' side of the carried-piece protocol
// and the timer: painting over a shown carried piece, waiting or opening a dialog with
// the timer on are written down as faults.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "rules/display.h"
#include "rules/panel.h"

namespace snugbox {
struct GameState;
}

namespace snugbox::testing {

class RecordingDisplay final : public GameDisplay {
public:
    enum class Op : std::uint8_t {
        Erase, Redraw, Show, Animate, Board, Slot, Pump, Score, Level, Message, PlayArea,
        SidePicture, MenuButtons, Background, PauseLabel, Refresh, LayoutGame, LayoutBoard,
        LayoutLevel, LayoutSlot, Interval, Timer, Sleep, AskName, BestScores, ScoresChanged,
    };
    struct Call {
        Op op;
        int first = 0;
        int second = 0;
    };

    explicit RecordingDisplay(GameState& state) : state_(state) {}

    // The calls so far as short words: "slot 3/2" is slot 3 painted in box style 2,
    // "show 400,300" the carried piece shown at that pointer, "timer on", "interval 250".
    std::vector<std::string> calls() const;
    // The same, one string with the words separated by ", ".
    std::string log() const;
    const std::vector<Call>& rawCalls() const { return calls_; }
    int count(Op op) const;
    void clear() { calls_.clear(); }

    // What the window would now show and run.
    bool timerEnabled() const { return timerEnabled_; }
    int timerInterval() const { return timerInterval_; }
    bool pauseLabelVisible() const { return pauseLabel_; }
    int totalSleepMs() const { return totalSleepMs_; }
    // Faults of the protocol, in words; empty when the rules kept to it.
    const std::vector<std::string>& faults() const { return faults_; }
    void clearFaults() { faults_.clear(); }

    void setNameToEnter(std::string name) { nameToEnter_ = std::move(name); }

    // GameDisplay
    void eraseMousePiece() override { carriedPieceCall(Op::Erase, false); }
    void redrawMousePiece() override { carriedPieceCall(Op::Redraw, true); }
    void startShowingMousePiece(std::int16_t x, std::int16_t y) override;
    void animateLineClear() override { painted(Op::Animate); }
    void drawBoard() override { painted(Op::Board); }
    void paintSlot(std::int16_t slot, std::int16_t boxStyle) override;
    void drawPumb() override { painted(Op::Pump); }
    void updateScoreDisplay() override { painted(Op::Score); }
    void displayLevel() override { painted(Op::Level); }
    void showGameOverMessage(std::int16_t messageId) override { painted(Op::Message, messageId); }
    void paintPlayArea() override { painted(Op::PlayArea); }
    void paintSidePicture() override { painted(Op::SidePicture); }
    void paintMenuButtons() override { painted(Op::MenuButtons); }
    void paintWindowBackground() override;
    void setPauseLabelVisible(bool visible) override { pauseLabel_ = visible; record(Op::PauseLabel, visible); }
    void refresh() override { record(Op::Refresh); }
    void layoutNewGamePanels() override { record(Op::LayoutGame); }
    void layoutBoardPanel() override;
    void layoutLevelPanel() override { record(Op::LayoutLevel); }
    void layoutSlotPanel(std::int16_t slot) override;
    const Panel& boardPanel() const override { return board_; }
    void setPieceTimerInterval(int ms) override { timerInterval_ = ms; record(Op::Interval, ms); }
    void setPieceTimerEnabled(bool enabled) override { timerEnabled_ = enabled; record(Op::Timer, enabled); }
    void sleepMs(int ms) override;
    std::string askBestScoreName() override;
    void showBestScores(std::int16_t mode) override { expectTimerOff("the best scores"); record(Op::BestScores, mode); }
    void bestScoresChanged() override { record(Op::ScoresChanged); }

private:
    void record(Op op, int first = 0, int second = 0) { calls_.push_back(Call{op, first, second}); }
    // A paint that may cover the carried piece's place.
    void painted(Op op, int first = 0, int second = 0);
    void carriedPieceCall(Op op, bool shownAfter);
    void fault(std::string what);
    void expectTimerOff(const char* what);

    GameState& state_;
    Panel board_;
    std::vector<Call> calls_;
    std::vector<std::string> faults_;
    bool pieceShown_ = false;
    bool timerEnabled_ = false;
    int timerInterval_ = 0;
    bool pauseLabel_ = false;
    int totalSleepMs_ = 0;
    std::string nameToEnter_ = "Tester";
};

} // namespace snugbox::testing
