// The column of picture buttons at the window's left edge. They act on the press; there
// is no pressed look. A button lights while the pointer is over it and is repainted only
// when the pointer crosses its edge.
#include "graphics/colours.h"
#include "graphics/graphics.h"
#include "graphics/resource_strings.h"
#include "graphics/sprite_layout.h"
#include "rules/game_state.h"
#include "rules/rounding.h"
#include "screen/frm_holdfast.h"

namespace snugbox {
namespace {

constexpr std::int16_t kMenuHelpArea = 1;   // no picture, but its rectangle opens the help too
constexpr std::int16_t kMenuNewGame = 2;
constexpr std::int16_t kMenuBestScores = 3;
constexpr std::int16_t kMenuPause = 4;
constexpr std::int16_t kMenuHelp = 5;
constexpr std::int16_t kMenuExit = 6;

// The picture on each button, slot by slot; 0 draws nothing.
constexpr std::int32_t kFaces[kMenuButtonCount] = {0,
                                                   sprite::kFaceNewGame,
                                                   sprite::kFaceBestScores,
                                                   sprite::kFacePause,
                                                   sprite::kFaceHelp,
                                                   sprite::kFaceExit};

constexpr int kButtonLeft = 25;
constexpr int kButtonPitch = 50;
constexpr int kButtonWidth = 122;
constexpr int kButtonHeight = 30;

} // namespace

// Centred on the window's height: 131 for the game's window at any twips per pixel.
// hover is left as it is: the buttons are drawn later, by the first paint.
void frmHoldfast::initButtons()
{
    buttonTop = static_cast<std::int16_t>(nearest((static_cast<double>(myHt) / kTwipsPerPixel - 300) / 2));
    for (int i = 1; i <= kMenuButtonCount; ++i) {
        Panel& button = menuButtons[i];
        button.surface = &window_.surface();
        button.x = kButtonLeft;
        button.y = static_cast<std::int16_t>(buttonTop + kButtonPitch * i);
        button.width = kButtonWidth;
        button.height = kButtonHeight;
        button.textColour = buttonTextColour;
        button.brush = panelBrush;
        button.tag = kFaces[i - 1];
    }
}

void frmHoldfast::menuBtnClick(std::int16_t clickedMenu)
{
    switch (clickedMenu) {
    case kMenuHelpArea:
    case kMenuHelp:
        openHelpPage();
        break;
    case kMenuNewGame:
        rules_.startArcadeGame();
        break;
    case kMenuBestScores:
        showBestScores(state_.gameMode);
        break;
    case kMenuPause:
        if (state_.gamePlaying) {
            rules_.enablePause(true);
        }
        break;
    case kMenuExit:
        window_.close();   // the unload handler saves
        break;
    default:
        break;
    }
}

void frmHoldfast::openHelpPage() { openDocument(state_.appPath + kHelpPageName); }

void frmHoldfast::paintMenuButtons()
{
    for (int i = 1; i <= kMenuButtonCount; ++i) {
        Panel& button = menuButtons[i];
        if (button.tag > 0) {
            drawButtonFace(button, graphics_.spriteSurface, button.tag, false);
        }
        button.hover = kFlagFalse;
    }
}

void frmHoldfast::updateMenuHover(std::int16_t x, std::int16_t y)
{
    for (int i = 1; i <= kMenuButtonCount; ++i) {
        Panel& button = menuButtons[i];
        if (button.tag <= 0) {
            continue;
        }
        const bool inside = hitTest(button, x, y);
        const bool lit = button.hover != kFlagFalse;
        if (inside != lit) {
            setButtonLit(button, inside);
        }
    }
}

void frmHoldfast::setButtonLit(Panel& button, bool lit)
{
    drawButtonFace(button, graphics_.spriteSurface, button.tag, lit);
    button.hover = lit ? kFlagTrue : kFlagFalse;
    window_.refresh();
}

} // namespace snugbox
