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
    static constexpr const char* names[] = {
        "erase", "redraw", "show", "animate", "board", "slot", "pump", "score", "level", "message",
        "play area", "side picture", "menu buttons", "background", "label", "refresh", "layout game",
        "layout board", "layout level", "layout slot", "interval", "timer", "sleep", "ask name",
        "best scores", "scores changed"};
    const std::string name = names[static_cast<int>(call.op)];
    const std::string first = std::to_string(call.first);
    if (call.op == Op::Show || call.op == Op::Slot) {
        return name + " " + first + (call.op == Op::Show ? "," : "/") + std::to_string(call.second);
    }
    if (call.op == Op::PauseLabel || call.op == Op::Timer) {
        return name + (call.first != 0 ? " on" : " off");
    }
    const bool numbered = call.op == Op::Message || call.op == Op::LayoutSlot || call.op == Op::Interval ||
                          call.op == Op::Sleep || call.op == Op::BestScores;
    return numbered ? name + " " + first : name;
}

} // namespace

std::vector<std::string> RecordingDisplay::calls() const
{
    std::vector<std::string> out;
    for (const Call& call : calls_) {
        out.push_back(words(call));
    }
    return out;
}

std::string RecordingDisplay::log() const
{
    std::string out;
    for (const std::string& call : calls()) {
        out += (out.empty() ? "" : ", ") + call;
    }
    return out;
}

int RecordingDisplay::count(Op op) const
{
    return static_cast<int>(
        std::count_if(calls_.begin(), calls_.end(), [op](const Call& call) { return call.op == op; }));
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
        fault(words(Call{op, first, second}) + " painted over the shown carried piece");
    }
    record(op, first, second);
}

void RecordingDisplay::carriedPieceCall(Op op, bool shownAfter)
{
    if (!state_.pieceDragOn) {
        fault(words(Call{op}) + " with no piece on the mouse");
    }
    pieceShown_ = shownAfter;
    record(op);
}

void RecordingDisplay::expectTimerOff(const char* what)
{
    if (timerEnabled_) {
        fault(std::string(what) + " with the piece timer on");
    }
}

void RecordingDisplay::startShowingMousePiece(std::int16_t x, std::int16_t y)
{
    if (!state_.piecePool.contains(state_.carriedPiece) || !state_.piecePoolUsed[state_.carriedPiece]) {
        fault("show with no live carried piece");
    }
    state_.carriedPieceX = x;
    state_.carriedPieceY = y;
    pieceShown_ = true;
    record(Op::Show, x, y);
}

void RecordingDisplay::paintSlot(std::int16_t slot, std::int16_t boxStyle)
{
    if (slot < 1 || slot > std::min<int>(state_.dispenserCount, kDispenserCapacity)) {
        fault("slot " + std::to_string(slot) + " painted, which is not in play");
    }
    painted(Op::Slot, slot, boxStyle);
}

// Pausing covers everything, the carried piece included; it shows again at the next
// pointer move.
void RecordingDisplay::paintWindowBackground()
{
    pieceShown_ = false;
    record(Op::Background);
}

void RecordingDisplay::layoutBoardPanel()
{
    board_.width = cellSize * state_.boardCols;
    board_.height = cellSize * state_.boardRows;
    board_.x = nearest((kPlayAreaWidth - board_.width - 120) / 2.0 + kPlayAreaX);
    board_.y = nearest((kPlayAreaHeight - board_.height) / 2.0 + kPlayAreaY);
    board_.tag = cellSize;
    record(Op::LayoutBoard);
}

void RecordingDisplay::layoutSlotPanel(std::int16_t slot)
{
    if (slot < 1 || slot > kDispenserCapacity) {
        fault("layout of slot " + std::to_string(slot) + ", which does not exist");
    } else {
        Panel& panel = state_.dispensers[slot];
        panel.x = kPlayAreaX + kPlayAreaWidth - 120;
        const double column = kPlayAreaHeight - 100.0 * state_.dispenserCount;
        panel.y = nearest(kPlayAreaY + 5 + column / 2.0 + 100.0 * (slot - 1));
        panel.width = panel.height = 2 * cellSize;
    }
    record(Op::LayoutSlot, slot);
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

} // namespace snugbox::testing
