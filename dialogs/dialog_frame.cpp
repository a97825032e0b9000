#include "dialogs/dialog_frame.h"

#include <utility>

#include "graphics/drawing.h"
#include "platform/window.h"

namespace snugbox {
namespace {

// The two looks of a drawn dialog button: the lit one gains a frame and its caption
// rises further off its shadow.
constexpr std::int32_t kNormalShift = 4;
constexpr std::int32_t kLitShift = 6;

} // namespace

Panel dialogPanel(Window& window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                  const Brush& brush, Rgb textColour)
{
    Panel panel = panelOn(&window.surface(), x, y, width, height);
    panel.brush = brush;
    panel.textColour = textColour;
    return panel;
}

DialogFrame::DialogFrame(Window& window) : window_(window) {}

void DialogFrame::clearButtons() { buttons_.clear(); }

void DialogFrame::addButton(const Panel& panel, std::string caption, std::function<void()> action)
{
    DrawnButton button{panel, std::move(caption), std::move(action)};
    button.panel.hover = kFlagFalse;
    buttons_.push_back(button);
}

void DialogFrame::drawButtonsNormal()
{
    for (int number = 1; number <= buttons_.count(); ++number) {
        drawNormal(buttons_[number]);
    }
}

void DialogFrame::trackHover(float x, float y)
{
    for (int number = 1; number <= buttons_.count(); ++number) {
        DrawnButton& button = buttons_[number];
        const bool inside = hitTest(button.panel, x, y);
        const bool lit = button.panel.hover != kFlagFalse;
        if (inside == lit) {
            continue;   // no edge crossed: the button already shows the right look
        }
        if (inside) {
            drawLit(button);
        } else {
            drawNormal(button);
        }
        window_.refresh();
    }
}

void DialogFrame::pressAt(float x, float y)
{
    for (int number = 1; number <= buttons_.count(); ++number) {
        if (hitTest(buttons_[number].panel, x, y)) {
            // A copy: the action may rebuild the buttons or close the dialog.
            const std::function<void()> action = buttons_[number].action;
            if (action) {
                action();
            }
            return;
        }
    }
}

void DialogFrame::drawNormal(DrawnButton& button)
{
    drawButton(button.panel, kButtonFilled, false, kNormalShift, button.caption);
    button.panel.hover = kFlagFalse;
}

void DialogFrame::drawLit(DrawnButton& button)
{
    drawButton(button.panel, kButtonFramed, true, kLitShift, button.caption);
    button.panel.hover = kFlagTrue;
}

} // namespace snugbox
