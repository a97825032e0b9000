#include "tests/support/recording_display.h"

#include <tuple>

#include "rules/game_state.h"

namespace snugbox::testing {

void RecordingDisplay::startShowingMousePiece(std::int16_t x, std::int16_t y)
{
    pieceShown_ = true;
    record("show " + std::to_string(x) + "," + std::to_string(y));
}

void RecordingDisplay::layoutSlotPanel(std::int16_t slot)
{
    Panel& panel = state_.dispensers[slot];
    std::tie(panel.x, panel.y, panel.width, panel.height) =
        std::tuple(630, 15 + 100 * (slot - 1), 2 * cellSize, 2 * cellSize);
    record("layout slot " + std::to_string(slot));
}

void RecordingDisplay::carriedPiece(const std::string& call, bool shownAfter)
{
    record(call, !state_.pieceDragOn, " with no piece on the mouse");
    pieceShown_ = shownAfter;
}

} // namespace snugbox::testing
