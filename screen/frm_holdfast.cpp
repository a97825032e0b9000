#include "screen/frm_holdfast.h"

#include <string>

#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "platform/application.h"
#include "platform/sleep.h"
#include "rules/game_state.h"
#include "rules/rounding.h"
#include "store/settings_store.h"

namespace snugbox {

frmHoldfast::frmHoldfast(GameState& state, GraphicsResources& graphics, RandomSource& random)
    : state_(state),
      graphics_(graphics),
      window_(WindowKind::Main, kMainWindowWidth, kMainWindowHeight, *this),
      timerPieces(window_),
      Label1(window_),
      rules_(state, *this, random),
      bestScoresDialog_(state, [this] { saveStore(); }),
      nameEntryDialog_(graphics, random)
{
    // On from the start, but with no interval it stays silent until a level sets one.
    timerPieces.setEnabled(true);
    timerPieces.setTickHandler([this] { timerPieces_Timer(); });

    Label1.setText("Game Paused - Click here to resume");
    Label1.setFont(Font{"Arial Black", 12.0, true});
    Label1.setTextColour(Rgb{192, 192, 255});
    Label1.setGeometry(15, 139, 385, 49);
    Label1.setVisible(false);
    Label1.setPressHandler([this] { Label1_Click(); });
}

frmHoldfast::~frmHoldfast() = default;

// --- Lifecycle ---------------------------------------------------------------------------

void frmHoldfast::Form_Load()
{
    state_.pumpMaxSize = pumpMaxSizeDefault;
    myHt = static_cast<std::int16_t>(nearest(cellSize * 12.5 * kTwipsPerPixel));
    myWid = static_cast<std::int16_t>(nearest(cellSize * 17.0 * kTwipsPerPixel));
    placeWindow();
    Form_Resize();
    window_.surface().setFont(Font{"Arial", 12.0, false});
    layoutLoadPanels();
    drawBox(backPanel, kBoxFilled);
    initButtons();
    setCaption();
    rules_.enablePause(false);
}

void frmHoldfast::placeWindow()
{
    const ScreenSize screen = Application::instance().screenSize();
    const ScreenPoint at = mainWindowPosition(screen.width, screen.height, myWid, myHt);
    window_.moveTo(at.x, at.y);
}

void frmHoldfast::Form_Activate() { setCaption(); }

void frmHoldfast::setCaption()
{
    window_.setCaption(Application::title() + "  Ver " + std::to_string(Application::versionMajor()) + "." +
                       std::to_string(Application::versionMinor()));
}

// A normal window that was resized snaps back; a minimized one keeps its size.
void frmHoldfast::Form_Resize()
{
    if (window_.state() != WindowState::Normal) {
        return;
    }
    const int height = nearest(static_cast<double>(myHt) / kTwipsPerPixel);
    const int width = nearest(static_cast<double>(myWid) / kTwipsPerPixel);
    if (window_.outerHeight() != height || window_.outerWidth() != width) {
        window_.setOuterSize(width, height);
    }
}

void frmHoldfast::Form_Unload() { saveStore(); }

void frmHoldfast::saveStore()
{
    if (configDirectory_.empty()) {
        saveSettings(state_);
    } else {
        saveSettings(state_, configDirectory_);
    }
}

void frmHoldfast::timerPieces_Timer() { rules_.timerPieces_Timer(); }

// --- Simple pictures and services the rules ask for -------------------------------------

void frmHoldfast::refresh() { window_.refresh(); }

void frmHoldfast::drawBoard() { snugbox::drawBoard(boardPanel_, state_, graphics_.spriteSurface); }

void frmHoldfast::setPauseLabelVisible(bool visible) { Label1.setVisible(visible); }

void frmHoldfast::setPieceTimerInterval(int ms) { timerPieces.setInterval(ms); }

void frmHoldfast::setPieceTimerEnabled(bool enabled) { timerPieces.setEnabled(enabled); }

void frmHoldfast::sleepMs(int ms) { sleepMilliseconds(ms); }

// --- Dialogs ---------------------------------------------------------------------------

std::string frmHoldfast::askBestScoreName()
{
    nameEntryDialog_.show();
    return nameEntryDialog_.nameEntered;
}

// The piece timer keeps running behind the table while a game is on.
void frmHoldfast::showBestScores(std::int16_t mode)
{
    if (!state_.bestScores.contains(mode)) {
        return;   // no table to show for a mode the game does not keep
    }
    bestScoresDialog_.modeNum = mode;
    bestScoresDialog_.show();
}

// A new best score is kept at once: a crash later in the session must not lose it.
void frmHoldfast::bestScoresChanged() { saveStore(); }

} // namespace snugbox
