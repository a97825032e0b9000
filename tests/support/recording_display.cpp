#include "tests/support/recording_display.h"

#include "rules/game_state.h"

namespace snugbox::testing {

void RecordingDisplay::paint(const std::string& call)
{
    if (pieceShown_) {
        faults_.push_back(call + " painted over the shown carried piece");
    }
    record(call);
}

void RecordingDisplay::carriedPiece(const std::string& call, bool shownAfter)
{
    if (!state_.pieceDragOn) {
        faults_.push_back(call + " with no piece on the mouse");
    }
    pieceShown_ = shownAfter;
    record(call);
}

void RecordingDisplay::withTimerOff(const std::string& call)
{
    if (timerEnabled_) {
        faults_.push_back(call + " with the piece timer on");
    }
    record(call);
}

void RecordingDisplay::startShowingMousePiece(std::int16_t x, std::int16_t y)
{
    pieceShown_ = true;
    record("show " + std::to_string(x) + "," + std::to_string(y));
}

// Where the window puts the column of five slots beside the board.
void RecordingDisplay::layoutSlotPanel(std::int16_t slot)
{
    Panel& panel = state_.dispensers[slot];
    panel.x = 630;
    panel.y = 15 + 100 * (slot - 1);
    panel.width = panel.height = 2 * cellSize;
    record("layout slot " + std::to_string(slot));
}

} // namespace snugbox::testing
