#pragma once
// Message boxes: a modal box with an OK button, and a way to catch them instead (tests).

#include <functional>
#include <string>
#include <vector>

namespace snugbox {

// Shows `text` in a modal message box captioned `title`, with an OK button, and returns
// once it is closed. Texts are UTF-8. Without a widget application (a tool, a test) the
// message goes to standard error instead of a box.
void showMessageBox(const std::string& title, const std::string& text);

// What showMessageBox does instead of showing a box; an empty handler means the real box.
using MessageBoxHandler = std::function<void(const std::string& title, const std::string& text)>;

// Installs `handler` and returns the one it replaces, so that it can be put back.
MessageBoxHandler replaceMessageBox(MessageBoxHandler handler);

struct ShownMessage {
    std::string title;
    std::string text;
    bool operator==(const ShownMessage&) const = default;
};

// While it lives, every message box is recorded here instead of shown. Recorders nest:
// the newest one records, and each puts back what it replaced.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<ShownMessage>& messages() const { return messages_; }

private:
    std::vector<ShownMessage> messages_;
    MessageBoxHandler previous_;
};

} // namespace snugbox
