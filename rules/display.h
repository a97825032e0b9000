#pragma once
// Everything the rules need from the outside world: painting, the piece timer, the
// blocking wait and the modal dialogs. The main window implements it; the rules call
// it by name and never draw by themselves, so they run just as well without a screen.
//
// The rules keep one protocol for the carried piece: whatever may paint where the
// carried piece lies is wrapped in eraseMousePiece() ... redrawMousePiece(), so the
// window's save-under always holds the true background. The operations below may
// therefore paint freely; none of them erases or redraws the carried piece itself.
//
// Operations read the shared GameState and paint; they do not change the game state
// unless their comment says so. Unless a comment says otherwise they do not refresh:
// the rules call refresh() when a step is done.

#include <cstdint>
#include <string>

namespace snugbox {

struct Panel;

class GameDisplay {
public:
    virtual ~GameDisplay() = default;

    // --- The carried piece -------------------------------------------------------

    // Puts back the pixels saved under the carried piece's picture; no refresh.
    virtual void eraseMousePiece() = 0;
    // Saves what now lies under the carried piece's last place and draws it there again;
    // refreshes.
    virtual void redrawMousePiece() = 0;
    // Builds the pictures of piecePool[carriedPiece] (grabOffsetX/Y are already computed),
    // saves what lies under them, draws the piece with the grab square's centre at (x, y),
    // records carriedPieceX/Y and refreshes. The rules set pieceDragOn afterwards.
    virtual void startShowingMousePiece(std::int16_t x, std::int16_t y) = 0;
    // The five shrinking frames over the cells marked in boardMarks (5/6 .. 1/6, each
    // refreshed and followed by sleepMs(10)) and the final frame at scale 0. The rules
    // then reset the marked cells (clearMarkedCells) and refresh.
    virtual void animateLineClear() = 0;

    // --- Board and dispenser slots -----------------------------------------------

    // Every board cell from boardCells, with its tile or square.
    virtual void drawBoard() = 0;
    // Dispenser slot `slot` (1..dispenserCount): drawBox with boxStyle (2 framed outside,
    // 1 outlined inside), then the piece dispensers[slot].pieceIndex when it is not 0.
    virtual void paintSlot(std::int16_t slot, std::int16_t boxStyle) = 0;

    // --- Status displays ---------------------------------------------------------

    // The pump gauge from pumpTicks (blinking red while getIsLastPiece()); no refresh.
    virtual void drawPumb() = 0;
    // The score label, totalScore and the level bar levelScore / target of currentLevel.
    // May run before any game (at the window's first paint): currentLevel can then lie
    // outside 1..10 and the panels may not be laid out yet.
    virtual void updateScoreDisplay() = 0;
    // The level badge with currentLevel; the same caution as updateScoreDisplay.
    virtual void displayLevel() = 0;
    // Dims the play area and writes message `messageId` (21, 22 or 24 of the string
    // table) over it; refreshes by itself.
    virtual void showGameOverMessage(std::int16_t messageId) = 0;

    // --- Whole areas -------------------------------------------------------------

    // The framed play area, empty (board and slots are painted separately).
    virtual void paintPlayArea() = 0;
    // The fixed picture left of the play area.
    virtual void paintSidePicture() = 0;
    // Every menu button with a face in its normal look, hover flags cleared.
    virtual void paintMenuButtons() = 0;
    // The whole window background over everything: what a paused game shows.
    virtual void paintWindowBackground() = 0;
    // The "Game Paused - Click here to resume" label.
    virtual void setPauseLabelVisible(bool visible) = 0;
    // Presents the window's drawing surface now.
    virtual void refresh() = 0;

    // --- Layout (screen fields only: geometry, surface, brush, pen, colours) -----

    // The play area, score, score bar and gauge panels of a new game.
    virtual void layoutNewGamePanels() = 0;
    // The board panel, sized from boardRows x boardCols; done on each game's first level.
    virtual void layoutBoardPanel() = 0;
    // The level panel; done on every level.
    virtual void layoutLevelPanel() = 0;
    // The screen fields of dispensers[slot] for the current dispenserCount; must leave
    // pieceIndex and tag alone (the rules own them). Done on every level.
    virtual void layoutSlotPanel(std::int16_t slot) = 0;
    // The board panel as last laid out: the drop maps pointer pixels to cells from it.
    virtual const Panel& boardPanel() const = 0;

    // --- Time --------------------------------------------------------------------

    // Interval of the piece timer in milliseconds. 0 means it never ticks (the window
    // starts that way, before the first level sets a real interval).
    virtual void setPieceTimerInterval(int ms) = 0;
    // Switches the piece timer on or off; switching it on starts a full interval.
    virtual void setPieceTimerEnabled(bool enabled) = 0;
    // Blocks the thread; no events are handled meanwhile.
    virtual void sleepMs(int ms) = 0;

    // --- Modal dialogs -----------------------------------------------------------

    // The high-score name entry; returns the name entered.
    virtual std::string askBestScoreName() = 0;
    // The best-scores table of game mode `mode` (1 or 2).
    virtual void showBestScores(std::int16_t mode) = 0;
    // A best-score table just changed in memory; the window may save it at once.
    virtual void bestScoresChanged() = 0;
};

} // namespace snugbox
