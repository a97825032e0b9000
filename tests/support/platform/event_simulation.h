#pragma once
// Drives windows in tests as a user would, through Qt's test library: mouse and keys go
// through the platform's real input path (modality, double-click detection, focus and
// default button included), so a window blocked by a modal window ignores them just as it
// ignores the user. Positions are the window's logical client pixels; (0, 0) is not one
// of them, as Qt's test library reads it as "the middle of the window".

#include <functional>
#include <string_view>

namespace snugbox {

class Window;
class PushButton;
class Label;

namespace simulate {

// Press and release one button (MouseButtons). Never part of a double click.
void mouseDown(Window& window, int button, int x, int y);
// A press alone, and its release: for what happens between them.
void mousePress(Window& window, int button, int x, int y);
void mouseRelease(Window& window, int button, int x, int y);
// Two quick presses of the button at one place: the second arrives as a double click.
void doubleClick(Window& window, int button, int x, int y);
// Moves the pointer with no button held.
void mouseMove(Window& window, int x, int y);
// Presses and releases a key (KeyCodes), typing its character where it has one:
// 13 for Enter, 27 for Esc, the letter for 'A' to 'Z' (lower case), the digit for '0' to '9'.
void keyStroke(Window& window, int keyCode);
// Types UTF-8 text into the window's focused control, one key stroke per character.
void typeText(Window& window, std::string_view text);
// Clicks the middle of a control with the left button.
void click(PushButton& button);
void click(Label& label);
// The close box of the window's title bar, as the window manager reports it.
void closeBox(Window& window);

// Handles events (timer ticks included) for about this long.
void processEvents(int milliseconds);
// Runs the action from the event loop after the delay.
void after(int milliseconds, std::function<void()> action);
// The innermost window open modally now, or nullptr.
Window* openModalWindow();
// Runs the action inside the next modal window's event loop, once it shows. Use it to
// act on a dialog that the code under test opens with showModal().
void whenModalOpens(std::function<void(Window&)> action);

} // namespace simulate

class Surface;

namespace testing {

// The client area as the user sees it: the window's surface with its standard controls
// drawn over it, without needing a screen.
Surface snapshot(Window& window);

} // namespace testing
} // namespace snugbox
