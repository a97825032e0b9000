// The game's status in its panels: score and level bar, level badge, the pump gauge that
// fills before each piece, the dispenser slots, and the big messages over the play area.
// They read the game state and paint; callers refresh unless said otherwise.
#include <algorithm>
#include <string>

#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/resource_strings.h"
#include "graphics/sprite_layout.h"
#include "rules/game_rules.h"
#include "rules/game_state.h"
#include "rules/rounding.h"
#include "screen/frm_holdfast.h"

namespace snugbox {
namespace {

constexpr int kScoreBarWidth = 241;
constexpr std::int32_t kNumberShift = 2;
constexpr std::int32_t kMessageShift = 3;
constexpr Rgb kMessageColour{100, 100, 200};
constexpr int kMessageFontGrowth = 4;

} // namespace

void frmHoldfast::updateScoreDisplay()
{
    drawButtonFace(scorePanel, graphics_.spriteSurface, sprite::kFaceScorePlate, true);
    drawButton(scorePanel, kButtonNoBackground, true, kNumberShift, std::to_string(state_.totalScore));
    // Before the first game the level can be anything the store held: no bar then.
    if (!state_.levels.contains(state_.currentLevel) || state_.levels[state_.currentLevel].targetScore <= 0) {
        return;
    }
    const double target = state_.levels[state_.currentLevel].targetScore;
    drawScoreBar(scoreBarPanel, state_.levelScore / target * 100.0);
}

// The full bar up to the level's progress and the empty bar after it; the two pictures
// line up pixel for pixel.
void frmHoldfast::drawScoreBar(const Panel& panel, double percent)
{
    if (panel.surface == nullptr) {
        return;
    }
    const double shown = percent > 100.0 ? 100.0 : percent;
    const int fill = std::max(0, nearest(shown * kScoreBarWidth / 100.0));
    const int left = nearest(panel.x + (7 * cellSize - 283) / 2.0);
    const Surface& sprites = graphics_.spriteSurface;
    panel.surface->blockCopy(left + fill, panel.y, kScoreBarWidth - fill, panel.height, sprites,
                             sprite::emptyScoreBar.x + fill, sprite::emptyScoreBar.y, RasterOp::SrcCopy);
    panel.surface->blockCopy(left, panel.y, fill, panel.height, sprites, sprite::fullScoreBar.x,
                             sprite::fullScoreBar.y, RasterOp::SrcCopy);
}

void frmHoldfast::displayLevel()
{
    drawPanelFace(levelPanel, graphics_.spriteSurface, sprite::kKindLevelBadge, true);
    drawButton(levelPanel, kButtonFilled, true, kNumberShift, std::to_string(state_.currentLevel));
}

void frmHoldfast::showGameOverMessage(std::int16_t messageId)
{
    dimPlayArea();
    playAreaPanel.textColour = kMessageColour;
    Surface& surface = window_.surface();
    Font font = surface.font();
    const int points = nearest(font.pointSize);
    font.pointSize = points + kMessageFontGrowth;
    surface.setFont(font);
    drawShadowText(playAreaPanel, kMessageShift, loadResString(messageId), TextFlags::CenteredLine);
    font.pointSize = points;
    surface.setFont(font);
    window_.refresh();
}

// Eleven by eleven shadow squares, bounded by the play area's height both ways: the
// rightmost part of the play area, the slot column, stays bright. The squares are ANDed
// over what is there.
void frmHoldfast::dimPlayArea()
{
    const sprite::Region shade = sprite::shadowSquare(1);
    const int step = cellSize - 1;
    const int limit = playAreaPanel.height - cellSize;
    for (int dy = 0; dy <= limit; dy += step) {
        for (int dx = 0; dx <= limit; dx += step) {
            window_.surface().blockCopy(playAreaPanel.x + dx, playAreaPanel.y + dy, step, step, graphics_.spriteSurface,
                                        shade.x, shade.y, RasterOp::SrcAnd);
        }
    }
}

// Blue while a slot is free; with every slot full it blinks red, tick by tick.
void frmHoldfast::drawPumb()
{
    if (pumpPanel.surface == nullptr) {
        return;
    }
    Surface& surface = *pumpPanel.surface;
    Rect gauge = rectOf(pumpPanel);
    const int maxTicks = state_.pumpMaxSize > 0 ? state_.pumpMaxSize : pumpMaxSizeDefault;
    const int filledRight = nearest(static_cast<double>(state_.pumpTicks) * pumpPanel.width / maxTicks + pumpPanel.x);
    if (!getIsLastPiece(state_)) {
        surface.fillRect(gauge, lightBlueBrush);
        gauge.right = filledRight;
        surface.fillRect(gauge, blueBrush);
    } else if (state_.pumpTicks % 2 == 0) {
        surface.fillRect(gauge, darkBrush);
    } else {
        surface.fillRect(gauge, lightRedBrush);
        gauge.right = filledRight;
        surface.fillRect(gauge, redBrush);
    }
}

void frmHoldfast::paintSlot(std::int16_t slot, std::int16_t boxStyle)
{
    if (!state_.dispensers.contains(slot)) {
        return;
    }
    const Panel& panel = state_.dispensers[slot];
    drawBox(panel, boxStyle);
    const std::int32_t piece = panel.pieceIndex;
    if (piece != 0 && state_.piecePool.contains(piece)) {
        drawPieceInSlot(state_, graphics_.spriteSurface, slot, state_.piecePool[piece]);
    }
}

// Filled and outlined in its own pen: the frame is what sets it apart from the window.
void frmHoldfast::paintPlayArea() { drawButton(playAreaPanel, kButtonFramed, false, 0, ""); }

void frmHoldfast::paintSidePicture()
{
    drawPanelFace(sidePicturePanel, graphics_.spriteSurface, sprite::kKindSidePicture, false);
}

void frmHoldfast::paintWindowBackground() { drawBox(backPanel, kBoxFilled); }

} // namespace snugbox
