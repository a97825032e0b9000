#pragma once
// The standard controls that sit on a window above its drawn surface: a transparent text
// label, a single-line text box and a push button. Positions are client pixels; fonts are
// sized as a 96 dots-per-inch desktop sizes them, whatever the screen. A new control is
// shown with the platform's dialog font, Arial 8.25 pt, and keeps its settings from one
// opening of its window to the next.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/surface.h"

namespace snugbox {

class Window;

// Text over the window's picture; only the glyphs are painted. A press on the label goes
// to the label and not to the window.
class Label {
public:
    explicit Label(Window& owner);
    ~Label();
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    // UTF-8; "\r\n" or "\n" starts a new line. Spaces at either end of a line are kept.
    void setText(std::string_view text);
    std::string text() const;   // the lines joined by "\n"
    void setFont(const Font& font);
    void setTextColour(Rgb colour);
    // Each line centred in the label's width instead of starting at its left edge.
    void setCentredLines(bool centred);

    // The top-left corner; the label takes the size of its text (every later change of
    // text or font sizes it again).
    void setPosition(int x, int y);
    // A fixed rectangle; the text is no longer sized to.
    void setGeometry(int x, int y, int width, int height);
    int x() const;
    int y() const;
    int width() const;
    int height() const;

    void setVisible(bool visible);
    bool isVisible() const;   // its own setting, whether or not the window is open

    // Runs when any mouse button is pressed on the label, at the press.
    void setPressHandler(std::function<void()> handler);

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// One line of text, any length.
class TextBox {
public:
    explicit TextBox(Window& owner);
    ~TextBox();
    TextBox(const TextBox&) = delete;
    TextBox& operator=(const TextBox&) = delete;

    void setText(std::string_view text);
    std::string text() const;   // UTF-8, exactly as typed
    void setFont(const Font& font);
    void setGeometry(int x, int y, int width, int height);
    // Takes the keyboard focus now, or when its window opens if it is not open yet.
    void setFocus();
    bool hasFocus() const;

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

class PushButton {
public:
    explicit PushButton(Window& owner);
    ~PushButton();
    PushButton(const PushButton&) = delete;
    PushButton& operator=(const PushButton&) = delete;

    void setCaption(std::string_view caption);
    void setFont(const Font& font);
    void setGeometry(int x, int y, int width, int height);
    // The window's default button: Enter pressed anywhere in the window presses it,
    // unless the control with the focus uses Enter itself. One per window.
    void setDefault(bool isDefault);
    bool isDefault() const;
    void setClickHandler(std::function<void()> handler);

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace snugbox
