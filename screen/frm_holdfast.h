#pragma once
// The game's main window: the layout of the play area, menu and status panels, the
// mouse and keyboard handlers, the piece that follows the mouse, and every picture the
// rules ask for. The rules themselves live in GameRules, which this window owns and
// paints for; the window's handlers carry the game's flow from the platform to them.
//
// Everything is painted into the window's persistent surface and presented by refresh().
// The window keeps the classic handler names (Form_Load, Form_MouseDown, ...) so that
// the flow reads the same from the platform's events down to the rules.

#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/diag_un.h"
#include "dialogs/frm_stats.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "rules/display.h"
#include "rules/game_rules.h"
#include "rules/one_based.h"
#include "rules/panel.h"

namespace snugbox {

struct GameState;
struct GraphicsResources;
class RandomSource;

// The outer window, frame and caption included: 17 x 12.5 cells, in twips as the
// classic desktop measures them, and the whole pixels that gives.
inline constexpr int kMainWindowWidthTwips = 11475;
inline constexpr int kMainWindowHeightTwips = 8438;
inline constexpr int kMainWindowWidth = 765;
inline constexpr int kMainWindowHeight = 563;

inline constexpr int kMenuButtonCount = 6;

class frmHoldfast final : public WindowEvents, public GameDisplay {
public:
    // graphics must hold the loaded pictures; the carried-piece surfaces may be created
    // after the window has been shown, before the first game starts.
    frmHoldfast(GameState& state, GraphicsResources& graphics, RandomSource& random);
    ~frmHoldfast() override;
    frmHoldfast(const frmHoldfast&) = delete;
    frmHoldfast& operator=(const frmHoldfast&) = delete;

    Window& window() { return window_; }
    GameRules& rules() { return rules_; }
    bool isPauseLabelVisible() const { return Label1.isVisible(); }
    const Timer& pieceTimer() const { return timerPieces; }

    // Where the store is written (on unload, after a new best score, after the tables were
    // cleared). Empty, the default, is the user's own configuration directory.
    void setConfigDirectory(std::string directory) { configDirectory_ = std::move(directory); }

    // --- Window events -----------------------------------------------------------------
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    // Positions arrive in client pixels (the platform's logical pixels).
    void Form_MouseDown(std::int16_t button, std::int16_t shift, float X, float Y);
    void Form_MouseMove(std::int16_t button, std::int16_t shift, float X, float Y);
    void Form_DblClick();
    void Form_KeyDown(std::int16_t keyCode, std::int16_t shift);
    void Form_KeyPress(std::int16_t keyAscii);
    void Label1_Click();
    void timerPieces_Timer();

    // --- Menu --------------------------------------------------------------------------
    void initButtons();
    void menuBtnClick(std::int16_t clickedMenu);

    // --- Carried piece -----------------------------------------------------------------
    void prepareCarriedPiece();
    void showPickedPieceAt(std::int16_t x, std::int16_t y);
    void drawClearFrame(const Panel& panel, double scale);

    // --- Status --------------------------------------------------------------------------
    void drawScoreBar(const Panel& panel, double percent);

    // --- GameDisplay ---------------------------------------------------------------------
    void eraseMousePiece() override;
    void redrawMousePiece() override;
    void startShowingMousePiece(std::int16_t x, std::int16_t y) override;
    void animateLineClear() override;
    void drawBoard() override;
    void paintSlot(std::int16_t slot, std::int16_t boxStyle) override;
    void drawPumb() override;
    void updateScoreDisplay() override;
    void displayLevel() override;
    void showGameOverMessage(std::int16_t messageId) override;
    void paintPlayArea() override;
    void paintSidePicture() override;
    void paintMenuButtons() override;
    void paintWindowBackground() override;
    void setPauseLabelVisible(bool visible) override;
    void refresh() override;
    void layoutNewGamePanels() override;
    void layoutBoardPanel() override;
    void layoutLevelPanel() override;
    void layoutSlotPanel(std::int16_t slot) override;
    const Panel& boardPanel() const override { return boardPanel_; }
    void setPieceTimerInterval(int ms) override;
    void setPieceTimerEnabled(bool enabled) override;
    void sleepMs(int ms) override;
    std::string askBestScoreName() override;
    void showBestScores(std::int16_t mode) override;
    void bestScoresChanged() override;

    // --- The window's fields ---------------------------------------------------------------
    std::int16_t myHt = 0;    // outer height in twips, fixed at load
    std::int16_t myWid = 0;   // outer width in twips, fixed at load
    Panel backPanel;
    std::int16_t lastMouseButton = 0;
    Panel scoreBarPanel;
    Panel pumpPanel;
    Panel scorePanel;
    Panel levelPanel;
    OneBasedArray<Panel, kMenuButtonCount> menuButtons;
    Panel sidePicturePanel;
    Panel playAreaPanel;
    std::int16_t buttonTop = 0;

private:
    // WindowEvents: the platform's events, forwarded to the handlers above.
    void onLoad() override { Form_Load(); }
    void onActivate() override { Form_Activate(); }
    void onResize() override { Form_Resize(); }
    void onUnload() override { Form_Unload(); }
    void onMouseDown(int button, int shift, float x, float y) override;
    void onMouseMove(int buttons, int shift, float x, float y) override;
    void onDoubleClick() override { Form_DblClick(); }
    void onKeyDown(int keyCode, int shift) override;
    void onKeyPress(int character) override;

    void setCaption();
    void placeWindow();
    void layoutLoadPanels();
    void layoutPlayAreaPanel();
    Panel panelAt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    void dimPlayArea();
    void updateMenuHover(std::int16_t x, std::int16_t y);
    void setButtonLit(Panel& button, bool lit);
    void minimizeIfNormal();
    void openHelpPage();
    void saveStore();
    bool isCarriedPieceLive() const;

    GameState& state_;
    GraphicsResources& graphics_;
    std::string configDirectory_;
    Window window_;
    Timer timerPieces;
    Label Label1;
    GameRules rules_;
    Panel boardPanel_;   // the board; its tag is the square size
    frmStats bestScoresDialog_;
    diagUN nameEntryDialog_;
};

} // namespace snugbox
