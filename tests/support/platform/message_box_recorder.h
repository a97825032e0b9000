#pragma once
// Catches message boxes in tests: while a recorder lives, every box is written down here
// instead of shown. Recorders nest: the newest one records, and each puts back the handler
// it replaced.

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace snugbox {

struct ShownMessage {
    std::string title;
    std::string text;
    bool operator==(const ShownMessage&) const = default;
};

class MessageBoxRecorder {
public:
    MessageBoxRecorder()
        : previous_(replaceMessageBox([this](const std::string& title, const std::string& text) {
              messages_.push_back(ShownMessage{title, text});
          }))
    {
    }
    ~MessageBoxRecorder() { replaceMessageBox(std::move(previous_)); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<ShownMessage>& messages() const { return messages_; }

private:
    std::vector<ShownMessage> messages_;
    MessageBoxHandler previous_;
};

} // namespace snugbox
