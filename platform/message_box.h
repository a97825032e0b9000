#pragma once
// Message boxes: a modal box with an OK button, and a way to catch them instead (tests).

#include <functional>
#include <string>

namespace snugbox {

// Shows `text` in a modal message box captioned `title`, with an OK button, and returns
// once it is closed, or once the program is asked to end (see Application::requestQuit).
// Texts are UTF-8. Without a widget application (a tool, a test), or while the program is
// quitting, the message goes to standard error instead of a box.
void showMessageBox(const std::string& title, const std::string& text);

// What showMessageBox does instead of showing a box; an empty handler means the real box.
using MessageBoxHandler = std::function<void(const std::string& title, const std::string& text)>;

// Installs `handler` and returns the one it replaces, so that it can be put back.
MessageBoxHandler replaceMessageBox(MessageBoxHandler handler);

} // namespace snugbox
