// Mouse and keys. The mouse plays the game; the keyboard only pauses, resumes and hides
// the window. While the game is paused, a press anywhere only resumes it.
#include <algorithm>
#include <cmath>

#include "rules/game_state.h"
#include "rules/rounding.h"
#include "screen/frm_holdfast.h"

namespace snugbox {
namespace {

constexpr std::int16_t kEscape = 27;
constexpr std::int16_t kEnter = 13;

// Client pixels as the handlers work with them: whole and within 16 bits, wherever a
// held button drags the pointer.
std::int16_t toPixel(float position)
{
    if (std::isnan(position)) {
        return 0;
    }
    const double clamped = std::clamp(static_cast<double>(position), -32768.0, 32767.0);
    return static_cast<std::int16_t>(nearest(clamped));
}

std::int16_t to16(int value) { return static_cast<std::int16_t>(std::clamp(value, -32768, 32767)); }

} // namespace

void frmHoldfast::onMouseDown(int button, int shift, float x, float y)
{
    Form_MouseDown(to16(button), to16(shift), x, y);
}

void frmHoldfast::onMouseMove(int buttons, int shift, float x, float y)
{
    Form_MouseMove(to16(buttons), to16(shift), x, y);
}

void frmHoldfast::onKeyDown(int keyCode, int shift) { Form_KeyDown(to16(keyCode), to16(shift)); }

void frmHoldfast::onKeyPress(int character) { Form_KeyPress(to16(character)); }

void frmHoldfast::Form_MouseDown(std::int16_t button, std::int16_t /*shift*/, float X, float Y)
{
    if (state_.gamePaused) {
        rules_.enablePause(false);
        return;
    }
    const std::int16_t xPix = toPixel(X);
    const std::int16_t yPix = toPixel(Y);
    lastMouseButton = button;
    // Every rectangle answers, with any button, in any state, with or without a picture.
    for (int i = 1; i <= kMenuButtonCount; ++i) {
        if (hitTest(menuButtons[i], xPix, yPix)) {
            menuBtnClick(static_cast<std::int16_t>(i));
            return;
        }
    }
    rules_.pressInGame(button, xPix, yPix);
}

void frmHoldfast::Form_MouseMove(std::int16_t /*button*/, std::int16_t /*shift*/, float X, float Y)
{
    if (state_.gamePaused) {
        return;
    }
    const std::int16_t xPix = toPixel(X);
    const std::int16_t yPix = toPixel(Y);
    if (state_.pieceDragOn) {
        showPickedPieceAt(xPix, yPix);   // buttons keep their look while a piece is carried
        return;
    }
    updateMenuHover(xPix, yPix);
}

// The platform reports the second press of a quick double press only as a double-click,
// so a fast series of right presses keeps turning the piece.
void frmHoldfast::Form_DblClick()
{
    if (state_.pieceDragOn && lastMouseButton == kRightButton) {
        rules_.rotateMousePieceRight(state_.carriedPieceX, state_.carriedPieceY);
    }
}

// Esc arrives as key-down and then key-press: during a game it ends minimized and
// paused, with no game it only minimizes.
void frmHoldfast::Form_KeyDown(std::int16_t keyCode, std::int16_t /*shift*/)
{
    if (keyCode == kEscape && !state_.gamePaused) {
        if (state_.gamePlaying) {
            rules_.enablePause(false);
        }
        minimizeIfNormal();
    } else if (keyCode == kEnter && state_.gamePaused) {
        rules_.enablePause(false);
    }
}

void frmHoldfast::Form_KeyPress(std::int16_t keyAscii)
{
    if (keyAscii != kEscape) {
        return;
    }
    window_.minimize();
    if (state_.gamePlaying) {
        rules_.enablePause(true);
    }
}

// The pause label lies over part of the board and takes the presses there: any button
// resumes at the press, as it does anywhere else in the window.
void frmHoldfast::Label1_Click()
{
    if (state_.gamePaused) {
        rules_.enablePause(false);
    }
}

void frmHoldfast::minimizeIfNormal()
{
    if (window_.state() == WindowState::Normal) {
        window_.minimize();
    }
}

} // namespace snugbox
