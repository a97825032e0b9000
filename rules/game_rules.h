#pragma once
// The flow of a game: new game, levels, piece arrivals on the timer, taking, swapping,
// putting back, turning and dropping pieces, scoring, game over and pause. The main
// window owns one GameRules, forwards its timer ticks and mouse presses to it and
// implements the GameDisplay it paints through.
//
// Every entry point checks the state it is called in: a call that makes no sense now
// (a tick with no game, a slot that is not in play, a drop with nothing carried, any
// game action while paused) changes nothing.

#include <cstdint>

namespace snugbox {

struct GameState;
class GameDisplay;
class RandomSource;

// Mouse buttons as the window reports them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// Message ids of the string table shown over the play area.
inline constexpr std::int16_t kMessageGameOver = 21;
inline constexpr std::int16_t kMessageWelcome = 22;
inline constexpr std::int16_t kMessageAllLevelsDone = 24;

// Milliseconds the game holds still on its final picture before asking for a name.
inline constexpr int kGameOverPauseMs = 300;

// True when no slot in play is empty (also when none is in play): the next due piece
// would end the game. The gauge shows its warning then.
bool getIsLastPiece(const GameState& state);

// Milliseconds between two ticks of the piece timer on `level`: the level's period
// spread over pumpMaxSize ticks.
int pieceTimerInterval(const GameState& state, std::int16_t level);

class GameRules {
public:
    GameRules(GameState& state, GameDisplay& display, RandomSource& random);

    // --- Progress --------------------------------------------------------------------

    // Drops whatever game runs (without a score entry) and starts level 1 afresh.
    void startArcadeGame();
    // The next level: new period, new background, the squares and slot pieces stay.
    void startArcadeLevel();
    // After a scoring drop: starts the next level once the level's target is reached, or
    // ends the game when that was level 10.
    void checkLevelFinished();
    // Stops the timer, shows the end message and ranks the score; a ranked score asks
    // for the player's name and shows the best scores.
    void gameOver();
    // Pauses (true) or resumes (false): timer, pause label and the picture.
    void enablePause(bool enab);

    // --- The dispenser ---------------------------------------------------------------

    // A tick of the piece timer: the gauge fills, and a full gauge brings a piece.
    void timerPieces_Timer();
    // A new piece in the first free slot, or game over when there is none.
    void insertAPiece();
    // The player clicked slot cDisp: take its piece, swap it with the carried one or put
    // the carried one back. True when a piece is now on the mouse and must be shown.
    bool dispenserClicked(std::int16_t cDisp);

    // --- The carried piece -----------------------------------------------------------

    // Places the carried piece with its held square on the cell under window pixel
    // (xPix, yPix) when every square lands on a free cell. Scores nothing by itself.
    bool checkPieceDrop(std::int16_t xPix, std::int16_t yPix);
    // Turns the carried piece clockwise and shows it again at pointer (x, y).
    void rotateMousePieceRight(std::int16_t x, std::int16_t y);

    // --- What a mouse press in the game means ------------------------------------------
    // The window handles pause, the menu buttons and the pixel conversion first, then
    // forwards the press here.

    // The whole game side of a press: nothing without a running game; while carrying,
    // the right button turns and a left press on the board drops; anything else goes to
    // the slot under the pointer.
    void pressInGame(std::int16_t button, std::int16_t x, std::int16_t y);
    // A left press on the board while carrying: the drop, then lines, points, the
    // clearing animation, the score and the level check.
    void dropCarriedPieceAt(std::int16_t x, std::int16_t y);
    // A press on whichever slot in play lies under (x, y): the slot's action, and the
    // piece now on the mouse is held by its lowest-leftmost square and shown at (x, y).
    void pressDispenserAt(std::int16_t x, std::int16_t y);

private:
    bool gameRunning() const;
    bool isLivePiece(std::int32_t index) const;
    bool isCarrying() const;
    template <class Paint>
    void paintAroundCarriedPiece(Paint paint);
    void dispenserPressed(std::int16_t slot, std::int16_t x, std::int16_t y);
    void showCarriedPieceAt(std::int16_t x, std::int16_t y);
    void dropCarriedPiece(std::int16_t col, std::int16_t row);
    void refillEmptyDispenser();
    void scoreCompletedLines();
    void setUpLevelSlots(bool firstLevel);
    void paintLevel();
    void paintSlots();
    void repaintAfterPause();
    void rankFinalScore();

    GameState& state_;
    GameDisplay& display_;
    RandomSource& random_;
};

} // namespace snugbox
