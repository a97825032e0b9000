// Where every panel of the main window lies. The values follow from the board's cell
// size and from the play area, so the picture keeps its proportions if either changes.
#include <algorithm>

#include "graphics/colours.h"
#include "rules/game_state.h"
#include "rules/rounding.h"
#include "screen/frm_holdfast.h"

namespace snugbox {
namespace {

constexpr int kBackCellsWide = 18;
constexpr int kBackCellsHigh = 13;
constexpr int kSlotColumnWidth = 120;   // right of the board, inside the play area
constexpr int kSlotPitch = 100;         // from one dispenser slot to the next
constexpr int kScoreBarHeight = 25;

} // namespace

// A panel on this window's surface; every other field as a new panel has it.
Panel frmHoldfast::panelAt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    return panelOn(&window_.surface(), x, y, width, height);
}

void frmHoldfast::layoutLoadPanels()
{
    // Larger than the client area; the part outside is simply clipped.
    backPanel = panelAt(0, 0, kBackCellsWide * cellSize, kBackCellsHigh * cellSize);
    backPanel.brush = panelBrush;
    sidePicturePanel = panelAt(10, 100, 165, 67);
    layoutPlayAreaPanel();
}

void frmHoldfast::layoutPlayAreaPanel()
{
    playAreaPanel = panelAt(180, 10, 570, 500);
    playAreaPanel.brush = panelBrush;
    playAreaPanel.pen = hoverPen;
}

void frmHoldfast::layoutNewGamePanels()
{
    layoutPlayAreaPanel();

    scorePanel = panelAt(3 * cellSize + playAreaPanel.x, 10, 122, 31);
    scorePanel.brush = darkBrush;
    scorePanel.textColour = hoverTextColour;

    scoreBarPanel = panelAt(3 * cellSize + playAreaPanel.x,
                            playAreaPanel.y + playAreaPanel.height - kScoreBarHeight, 241, kScoreBarHeight);
    scoreBarPanel.brush = darkBrush;

    pumpPanel = panelAt(scorePanel.x + scorePanel.width + 100, scorePanel.y + 10, 50, 10);
}

void frmHoldfast::layoutBoardPanel()
{
    const std::int32_t width = cellSize * state_.boardCols;
    const std::int32_t height = cellSize * state_.boardRows;
    boardPanel_ = panelAt(nearest((playAreaPanel.width - width - kSlotColumnWidth) / 2.0 + playAreaPanel.x),
                          nearest((playAreaPanel.height - height) / 2.0 + playAreaPanel.y), width, height);
    boardPanel_.tag = cellSize;
}

void frmHoldfast::layoutLevelPanel()
{
    levelPanel = panelAt(boardPanel_.x + cellSize, boardPanel_.y + boardPanel_.height + 10, 50, 50);
    levelPanel.textColour = hoverTextColour;
}

void frmHoldfast::layoutSlotPanel(std::int16_t slot)
{
    if (!state_.dispensers.contains(slot)) {
        return;
    }
    Panel& panel = state_.dispensers[slot];
    const int slotsInPlay = std::clamp<int>(state_.dispenserCount, 0, kDispenserCapacity);
    panel.surface = &window_.surface();
    panel.x = playAreaPanel.x + playAreaPanel.width - kSlotColumnWidth;
    panel.y = nearest(playAreaPanel.y + 5 + (playAreaPanel.height - kSlotPitch * slotsInPlay) / 2.0 +
                      kSlotPitch * (slot - 1));
    panel.width = 2 * cellSize;
    panel.height = 2 * cellSize;
    panel.brush = darkBrush;
    panel.pen = framePen;
}

} // namespace snugbox
