#include "rules/game_rules.h"

#include <algorithm>
#include <string>

#include "rules/best_scores.h"
#include "rules/board.h"
#include "rules/display.h"
#include "rules/game_state.h"
#include "rules/pieces.h"
#include "rules/random.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

constexpr std::int16_t kSlotBoxFramedOutside = 2;   // a level's picture and a new arrival
constexpr std::int16_t kSlotBoxOutlinedInside = 1;  // the player's own take, swap and put-back

// Edge of one square of a piece drawn inside a slot: a quarter of the slot less its margin.
std::int32_t slotSquareSize() { return nearest((2 * cellSize - 10) / 4.0); }

// The board cell (1-based) under a pixel, with `origin` the board's left or top edge.
// Rounding the shifted value rather than flooring is how the game has always mapped
// the pointer; it differs only on the cell borders themselves.
std::int16_t cellUnder(std::int16_t pixel, std::int32_t origin)
{
    const double cell = (pixel - static_cast<double>(origin) + cellSize / 2.0) / cellSize;
    const std::int32_t rounded = nearest(std::clamp(cell, -32768.0, 32767.0));
    return static_cast<std::int16_t>(rounded);
}

int slotsInPlay(const GameState& state)
{
    return std::clamp<int>(state.dispenserCount, 0, kDispenserCapacity);
}

} // namespace

bool getIsLastPiece(const GameState& state) { return findFreeDispenser(state) < 0; }

int pieceTimerInterval(const GameState& state, std::int16_t level)
{
    if (!state.levels.contains(level)) {
        return 0;
    }
    const int ticksPerPiece = std::max<int>(state.pumpMaxSize, 1);
    return nearest(state.levels[level].periodMs / static_cast<double>(ticksPerPiece));
}

GameRules::GameRules(GameState& state, GameDisplay& display, RandomSource& random)
    : state_(state), display_(display), random_(random)
{
}

bool GameRules::gameRunning() const { return state_.gamePlaying && !state_.gamePaused; }

bool GameRules::isLivePiece(std::int32_t index) const
{
    return state_.piecePool.contains(index) && state_.piecePoolUsed[index];
}

bool GameRules::isCarrying() const
{
    return state_.pieceDragOn && isLivePiece(state_.carriedPiece);
}

// Whatever paints where the carried piece may lie takes the piece off first and puts it
// back after, so that the window's save-under never holds a stale picture.
template <class Paint>
void GameRules::paintAroundCarriedPiece(Paint paint)
{
    const bool carrying = state_.pieceDragOn;
    if (carrying) {
        display_.eraseMousePiece();
    }
    paint();
    if (carrying) {
        display_.redrawMousePiece();
    }
}

// --- Progress ------------------------------------------------------------------------

void GameRules::startArcadeGame()
{
    display_.setPauseLabelVisible(false);
    state_.gamePlaying = true;
    state_.gamePaused = false;
    state_.totalScore = 0;
    state_.levelScore = 0;
    if (state_.pieceDragOn) {
        display_.eraseMousePiece();
        state_.grabSquare = 0;
        state_.pieceDragOn = false;
    }
    display_.paintMenuButtons();
    display_.layoutNewGamePanels();
    state_.currentLevel = 0;
    state_.carriedPiece = 0;
    state_.piecePool.clear();
    state_.piecePoolUsed.clear();
    startArcadeLevel();
}

void GameRules::startArcadeLevel()
{
    if (!gameRunning() || state_.currentLevel < 0 || state_.currentLevel >= kLevelCount) {
        return;
    }
    ++state_.currentLevel;
    state_.levelScore = 0;
    const bool firstLevel = state_.currentLevel == 1;
    const LevelSpec& level = state_.levels[state_.currentLevel];
    if (firstLevel) {
        // The board keeps the first level's size for the whole game.
        state_.boardRows = state_.levels[1].boardSize;
        state_.boardCols = state_.levels[1].boardSize;
        display_.layoutBoardPanel();
    }
    state_.dispenserCount =
        static_cast<std::int16_t>(std::clamp<std::int32_t>(level.slotCount, 0, kDispenserCapacity));
    random_.reseedFromClock();
    setUpLevelSlots(firstLevel);
    if (firstLevel) {
        initBoardTiles(state_);
    } else {
        advanceBoardTiles(state_);
    }
    paintAroundCarriedPiece([this] { paintLevel(); });
    display_.setPieceTimerInterval(pieceTimerInterval(state_, state_.currentLevel));
    if (firstLevel) {
        // The first piece comes at once; later levels keep the timer running.
        display_.setPieceTimerEnabled(true);
        insertAPiece();
    }
}

void GameRules::setUpLevelSlots(bool firstLevel)
{
    for (int slot = 1; slot <= slotsInPlay(state_); ++slot) {
        display_.layoutSlotPanel(static_cast<std::int16_t>(slot));
        state_.dispensers[slot].tag = slotSquareSize();
        if (firstLevel) {
            state_.dispensers[slot].pieceIndex = 0;
        }
    }
}

void GameRules::paintLevel()
{
    display_.paintPlayArea();
    display_.drawBoard();
    display_.paintSidePicture();
    display_.layoutLevelPanel();
    display_.displayLevel();
    display_.updateScoreDisplay();
    paintSlots();
    display_.refresh();
}

void GameRules::paintSlots()
{
    for (int slot = 1; slot <= slotsInPlay(state_); ++slot) {
        display_.paintSlot(static_cast<std::int16_t>(slot), kSlotBoxFramedOutside);
    }
}

void GameRules::checkLevelFinished()
{
    if (!gameRunning() || !state_.levels.contains(state_.currentLevel)) {
        return;
    }
    if (state_.levelScore < state_.levels[state_.currentLevel].targetScore) {
        return;
    }
    if (state_.currentLevel >= kLevelCount) {
        gameOver();
    } else {
        startArcadeLevel();
    }
}

void GameRules::gameOver()
{
    if (!state_.gamePlaying) {
        return;
    }
    // Off before the wait and the dialogs, so no piece arrives behind them.
    display_.setPieceTimerEnabled(false);
    if (state_.pieceDragOn) {
        display_.eraseMousePiece();
        state_.grabSquare = 0;
    }
    state_.gamePlaying = false;
    state_.pieceDragOn = false;
    display_.showGameOverMessage(state_.currentLevel == kLevelCount ? kMessageAllLevelsDone
                                                                    : kMessageGameOver);
    display_.refresh();
    display_.sleepMs(kGameOverPauseMs);
    rankFinalScore();
}

void GameRules::rankFinalScore()
{
    const std::int16_t place = rankOfScore(state_, state_.gameMode, state_.totalScore);
    if (place < 1 || place > kBestScorePlaces) {
        return;
    }
    const std::string name = display_.askBestScoreName();
    insertBestScore(state_, state_.gameMode, state_.totalScore, name);
    display_.bestScoresChanged();
    display_.showBestScores(state_.gameMode);
}

void GameRules::enablePause(bool enab)
{
    display_.setPieceTimerEnabled(!enab);
    display_.setPauseLabelVisible(enab);
    state_.gamePaused = enab;
    // A paused game hides the board and pieces; the carried piece shows again at the
    // next pointer move, from the save-under it still holds.
    if (enab) {
        display_.paintWindowBackground();
    } else {
        repaintAfterPause();
    }
    display_.refresh();
}

void GameRules::repaintAfterPause()
{
    display_.paintPlayArea();
    display_.drawBoard();
    display_.paintMenuButtons();
    paintSlots();
    display_.paintSidePicture();
    display_.displayLevel();
    display_.updateScoreDisplay();
}

// --- The dispenser -------------------------------------------------------------------

void GameRules::timerPieces_Timer()
{
    if (!gameRunning()) {
        return;
    }
    ++state_.pumpTicks;
    paintAroundCarriedPiece([this] { display_.drawPumb(); });
    if (state_.pumpTicks >= state_.pumpMaxSize) {
        state_.pumpTicks = 0;
        insertAPiece();
    } else {
        display_.refresh();
    }
}

void GameRules::insertAPiece()
{
    if (!gameRunning()) {
        return;
    }
    state_.pumpTicks = 0;
    const std::int16_t slot = generatePiece(state_, random_);
    if (slot == -1) {
        gameOver();
        return;
    }
    if (slot == 0) {
        return;   // the catalogue had nothing of the drawn size
    }
    paintAroundCarriedPiece([this, slot] { display_.paintSlot(slot, kSlotBoxFramedOutside); });
    display_.refresh();
}

bool GameRules::dispenserClicked(std::int16_t cDisp)
{
    if (!gameRunning() || cDisp < 1 || cDisp > slotsInPlay(state_)) {
        return false;
    }
    Panel& slot = state_.dispensers[cDisp];
    const std::int32_t inSlot = slot.pieceIndex;
    const std::int16_t carried = state_.carriedPiece;
    if ((inSlot != 0 && !isLivePiece(inSlot)) || (carried != 0 && !isCarrying())) {
        return false;
    }
    if (inSlot != 0 && carried == 0) {   // take
        state_.carriedPiece = static_cast<std::int16_t>(inSlot);
        slot.pieceIndex = 0;
        display_.paintSlot(cDisp, kSlotBoxOutlinedInside);
        state_.pieceDragOn = true;
        return true;
    }
    if (inSlot != 0) {   // swap
        display_.eraseMousePiece();
        state_.carriedPiece = static_cast<std::int16_t>(inSlot);
        slot.pieceIndex = carried;
        display_.paintSlot(cDisp, kSlotBoxOutlinedInside);
        return true;
    }
    if (carried != 0) {   // put back, turned as it is
        display_.eraseMousePiece();
        state_.pieceDragOn = false;
        slot.pieceIndex = carried;
        display_.paintSlot(cDisp, kSlotBoxOutlinedInside);
        state_.carriedPiece = 0;
        display_.refresh();
    }
    return false;
}

// --- The carried piece ---------------------------------------------------------------

bool GameRules::checkPieceDrop(std::int16_t xPix, std::int16_t yPix)
{
    if (!gameRunning() || !isCarrying()) {
        return false;
    }
    const Panel& board = display_.boardPanel();
    const std::int16_t col = cellUnder(xPix, board.x);
    const std::int16_t row = cellUnder(yPix, board.y);
    const PieceShape& piece = state_.piecePool[state_.carriedPiece];
    if (!pieceFits(state_, col, row, state_.grabSquare, piece)) {
        return false;
    }
    dropCarriedPiece(col, row);
    if (countFreeDispensers(state_) == state_.dispenserCount) {
        refillEmptyDispenser();
    }
    return true;
}

void GameRules::dropCarriedPiece(std::int16_t col, std::int16_t row)
{
    display_.eraseMousePiece();
    placePiece(state_, col, row, state_.grabSquare, state_.piecePool[state_.carriedPiece]);
    display_.drawBoard();
    state_.pieceDragOn = false;
    state_.piecePoolUsed[state_.carriedPiece] = false;
    state_.carriedPiece = 0;
    display_.refresh();
}

// An empty dispenser gets its next piece at once, and the timer starts a fresh interval
// so the piece after it comes a full period later.
void GameRules::refillEmptyDispenser()
{
    display_.setPieceTimerEnabled(false);
    insertAPiece();
    if (state_.gamePlaying) {
        display_.setPieceTimerEnabled(true);
    }
}

void GameRules::rotateMousePieceRight(std::int16_t x, std::int16_t y)
{
    if (!gameRunning() || !isCarrying()) {
        return;
    }
    display_.eraseMousePiece();
    rotatePieceRight(state_.piecePool[state_.carriedPiece]);
    showCarriedPieceAt(x, y);
    display_.refresh();
}

void GameRules::showCarriedPieceAt(std::int16_t x, std::int16_t y)
{
    computeGrabOffset(state_);
    display_.startShowingMousePiece(x, y);
    state_.pieceDragOn = true;
}

// --- Mouse presses -------------------------------------------------------------------

void GameRules::pressInGame(std::int16_t button, std::int16_t x, std::int16_t y)
{
    if (!gameRunning()) {
        return;
    }
    if (state_.pieceDragOn) {
        if (button == kRightButton) {
            rotateMousePieceRight(x, y);
            return;
        }
        if (button == kLeftButton && hitTest(display_.boardPanel(), x, y)) {
            dropCarriedPieceAt(x, y);
            return;
        }
    }
    pressDispenserAt(x, y);
}

void GameRules::dropCarriedPieceAt(std::int16_t x, std::int16_t y)
{
    if (!checkPieceDrop(x, y) || !state_.gamePlaying) {
        return;
    }
    scoreCompletedLines();
}

void GameRules::scoreCompletedLines()
{
    const std::int16_t lines = countCompleteLines(state_);
    if (lines == 0) {
        return;   // placing a piece alone scores nothing
    }
    const std::int16_t points = pointsForLines(lines);
    state_.totalScore += points;
    state_.levelScore += points;
    display_.animateLineClear();
    clearMarkedCells(state_);
    display_.refresh();
    display_.updateScoreDisplay();
    checkLevelFinished();
}

void GameRules::pressDispenserAt(std::int16_t x, std::int16_t y)
{
    if (!gameRunning()) {
        return;
    }
    // Slots never overlap, so at most one of them answers.
    for (int slot = 1; slot <= slotsInPlay(state_); ++slot) {
        if (hitTest(state_.dispensers[slot], x, y)) {
            dispenserPressed(static_cast<std::int16_t>(slot), x, y);
        }
    }
}

void GameRules::dispenserPressed(std::int16_t slot, std::int16_t x, std::int16_t y)
{
    const bool taken = dispenserClicked(slot);
    if (taken && (state_.dispensers[slot].pieceIndex != 0 || state_.carriedPiece != 0)) {
        // Held by its lowest-leftmost square, whichever way it is turned now.
        state_.grabSquare = findGrabSquare(state_.piecePool[state_.carriedPiece]);
        showCarriedPieceAt(x, y);
    }
}

} // namespace snugbox
