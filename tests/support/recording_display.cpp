#include "tests/support/recording_display.h"

#include <algorithm>

#include "rules/game_state.h"
#include "rules/rounding.h"

namespace snugbox::testing {
namespace {

// Where the window puts the play area; the board and slots are laid out inside it.
constexpr int kPlayAreaX = 180;
constexpr int kPlayAreaY = 10;
constexpr int kPlayAreaWidth = 570;
constexpr int kPlayAreaHeight = 500;

std::string words(const RecordingDisplay::Call& call)
{
    using Op = RecordingDisplay::Op;
    const std::string first = std::to_string(call.first);
    const std::string second = std::to_string(call.second);
    switch (call.op) {
    case Op::Erase: return "erase";
    case Op::Redraw: return "redraw";
    case Op::Show: return "show " + first + "," + second;
    case Op::Animate: return "animate";
    case Op::Board: return "board";
    case Op::Slot: return "slot " + first + "/" + second;
    case Op::Pump: return "pump";
    case Op::Score: return "score";
    case Op::Level: return "level";
    case Op::Message: return "message " + first;
    case Op::PlayArea: return "play area";
    case Op::SidePicture: return "side picture";
    case Op::MenuButtons: return "menu buttons";
    case Op::Background: return "background";
    case Op::PauseLabel: return call.first != 0 ? "label on" : "label off";
    case Op::Refresh: return "refresh";
    case Op::LayoutGame: return "layout game";
    case Op::LayoutBoard: return "layout board";
    case Op::LayoutLevel: return "layout level";
    case Op::LayoutSlot: return "layout slot " + first;
    case Op::Interval: return "interval " + first;
    case Op::Timer: return call.first != 0 ? "timer on" : "timer off";
    case Op::Sleep: return "sleep " + first;
    case Op::AskName: return "ask name";
    case Op::BestScores: return "best scores " + first;
    case Op::ScoresChanged: return "scores changed";
    }
    return "?";
}

} // namespace

RecordingDisplay::RecordingDisplay(GameState& state) : state_(state) {}

std::vector<std::string> RecordingDisplay::calls() const
{
    std::vector<std::string> out;
    out.reserve(calls_.size());
    for (const Call& call : calls_) {
        out.push_back(words(call));
    }
    return out;
}

std::string RecordingDisplay::log() const
{
    std::string out;
    for (const Call& call : calls_) {
        if (!out.empty()) {
            out += ", ";
        }
        out += words(call);
    }
    return out;
}

int RecordingDisplay::count(Op op) const
{
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [op](const Call& call) { return call.op == op; }));
}

void RecordingDisplay::fault(std::string what)
{
    // A broken rule can repeat a fault thousands of times; the first few tell the story.
    if (faults_.size() < 20) {
        faults_.push_back(std::move(what));
    }
}

void RecordingDisplay::painted(Op op, int first, int second)
{
    if (pieceShown_) {
        std::string what = words(Call{op, first, second});
        what += " painted over the shown carried piece";
        fault(std::move(what));
    }
    record(op, first, second);
}

void RecordingDisplay::expectTimerOff(const char* what)
{
    if (timerEnabled_) {
        fault(std::string(what) + " with the piece timer on");
    }
}

void RecordingDisplay::eraseMousePiece()
{
    if (!state_.pieceDragOn) {
        fault("erase with no piece on the mouse");
    }
    pieceShown_ = false;
    record(Op::Erase);
}

void RecordingDisplay::redrawMousePiece()
{
    if (!state_.pieceDragOn) {
        fault("redraw with no piece on the mouse");
    }
    pieceShown_ = true;
    record(Op::Redraw);
}

void RecordingDisplay::startShowingMousePiece(std::int16_t x, std::int16_t y)
{
    const bool live = state_.piecePool.contains(state_.carriedPiece) &&
                      state_.piecePoolUsed[state_.carriedPiece];
    if (!live) {
        fault("show with no live carried piece");
    } else {
        const PieceShape& piece = state_.piecePool[state_.carriedPiece];
        if (!piece.squares.contains(state_.grabSquare)) {
            fault("show held by a square the piece does not have");
        } else {
            const Square& held = piece.squares[state_.grabSquare];
            if (state_.grabOffsetX != nearest(45.0 * held.col + 22.5) ||
                state_.grabOffsetY != nearest(45.0 * held.row + 22.5)) {
                fault("show with grab offsets not yet computed for the held square");
            }
        }
    }
    state_.carriedPieceX = x;
    state_.carriedPieceY = y;
    pieceShown_ = true;
    record(Op::Show, x, y);
}

void RecordingDisplay::animateLineClear() { painted(Op::Animate); }
void RecordingDisplay::drawBoard() { painted(Op::Board); }

void RecordingDisplay::paintSlot(std::int16_t slot, std::int16_t boxStyle)
{
    if (slot < 1 || slot > std::min<int>(state_.dispenserCount, kDispenserCapacity)) {
        fault("slot " + std::to_string(slot) + " painted, which is not in play");
    }
    painted(Op::Slot, slot, boxStyle);
}

void RecordingDisplay::drawPumb() { painted(Op::Pump); }
void RecordingDisplay::updateScoreDisplay() { painted(Op::Score); }
void RecordingDisplay::displayLevel() { painted(Op::Level); }
void RecordingDisplay::showGameOverMessage(std::int16_t messageId) { painted(Op::Message, messageId); }
void RecordingDisplay::paintPlayArea() { painted(Op::PlayArea); }
void RecordingDisplay::paintSidePicture() { painted(Op::SidePicture); }
void RecordingDisplay::paintMenuButtons() { painted(Op::MenuButtons); }

void RecordingDisplay::paintWindowBackground()
{
    // Pausing covers everything, the carried piece included; it shows again at the next
    // pointer move.
    pieceShown_ = false;
    record(Op::Background);
}

void RecordingDisplay::setPauseLabelVisible(bool visible)
{
    pauseLabel_ = visible;
    record(Op::PauseLabel, visible ? 1 : 0);
}

void RecordingDisplay::refresh() { record(Op::Refresh); }
void RecordingDisplay::layoutNewGamePanels() { record(Op::LayoutGame); }

void RecordingDisplay::layoutBoardPanel()
{
    board_.width = cellSize * state_.boardCols;
    board_.height = cellSize * state_.boardRows;
    board_.x = nearest((kPlayAreaWidth - board_.width - 120) / 2.0 + kPlayAreaX);
    board_.y = nearest((kPlayAreaHeight - board_.height) / 2.0 + kPlayAreaY);
    board_.tag = cellSize;
    record(Op::LayoutBoard);
}

void RecordingDisplay::layoutLevelPanel() { record(Op::LayoutLevel); }

void RecordingDisplay::layoutSlotPanel(std::int16_t slot)
{
    if (slot < 1 || slot > kDispenserCapacity) {
        fault("layout of slot " + std::to_string(slot) + ", which does not exist");
        record(Op::LayoutSlot, slot);
        return;
    }
    Panel& panel = state_.dispensers[slot];
    panel.x = kPlayAreaX + kPlayAreaWidth - 120;
    panel.y = nearest(kPlayAreaY + 5 + (kPlayAreaHeight - 100.0 * state_.dispenserCount) / 2.0 +
                      100.0 * (slot - 1));
    panel.width = 2 * cellSize;
    panel.height = 2 * cellSize;
    record(Op::LayoutSlot, slot);
}

void RecordingDisplay::setPieceTimerInterval(int ms)
{
    timerInterval_ = ms;
    record(Op::Interval, ms);
}

void RecordingDisplay::setPieceTimerEnabled(bool enabled)
{
    timerEnabled_ = enabled;
    record(Op::Timer, enabled ? 1 : 0);
}

void RecordingDisplay::sleepMs(int ms)
{
    if (ms > 10) {
        expectTimerOff("a long wait");   // the animation's short waits run with it on
    }
    totalSleepMs_ += ms;
    record(Op::Sleep, ms);
}

std::string RecordingDisplay::askBestScoreName()
{
    expectTimerOff("the name entry");
    record(Op::AskName);
    return nameToEnter_;
}

void RecordingDisplay::showBestScores(std::int16_t mode)
{
    expectTimerOff("the best scores");
    record(Op::BestScores, mode);
}

void RecordingDisplay::bestScoresChanged() { record(Op::ScoresChanged); }

} // namespace snugbox::testing
