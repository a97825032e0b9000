#pragma once
// What every drawn dialog shares: panels on the dialog's own surface, and drawn buttons
// that light up under the pointer and act on a press. A button is redrawn only when the
// pointer crosses its edge, so moving about inside a dialog costs nothing.

#include <cstdint>
#include <functional>
#include <string>

#include "rules/one_based.h"
#include "rules/panel.h"

namespace snugbox {

class Window;

// A panel on the window's persistent surface.
Panel dialogPanel(Window& window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                  const Brush& brush, Rgb textColour);

class DialogFrame {
public:
    // The window must outlive the frame.
    explicit DialogFrame(Window& window);

    // Buttons are numbered from 1 in the order they are added; hover and press test
    // them in that order. A button starts in its normal look, undrawn.
    void clearButtons();
    void addButton(const Panel& panel, std::string caption, std::function<void()> action);
    int buttonCount() const { return buttons_.count(); }
    const Panel& button(int number) const { return buttons_[number].panel; }

    // Every button in its normal look, hover cleared. The caller refreshes.
    void drawButtonsNormal();

    // For every mouse move: lights the buttons the pointer has entered and puts out the
    // ones it has left, refreshing the window at once after each change.
    void trackHover(float x, float y);

    // For every press, whichever mouse button: the first button the pointer is strictly
    // inside runs its action; a press elsewhere does nothing.
    void pressAt(float x, float y);

private:
    struct DrawnButton {
        Panel panel;
        std::string caption;
        std::function<void()> action;
    };

    void drawNormal(DrawnButton& button);
    void drawLit(DrawnButton& button);

    Window& window_;
    OneBasedVector<DrawnButton> buttons_;
};

} // namespace snugbox
