#pragma once
// Shared by the window-layer tests: a handler object that writes down every event it gets,
// and ways to wait for the event loop and to see what a window has put on the screen.

#include <QImage>
#include <QTimer>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace snugbox::testing {

using Lines = std::vector<std::string>;

// Writes every event as a line: "down 1 10.5 20", "move 0 3 4", "dblclick",
// "keydown 27", "keypress 27", "load", "unload", "activate", "resize".
class EventLog : public WindowEvents {
public:
    Lines lines;
    std::function<void()> whenLoading;
    std::function<void()> whenUnloading;

    void onLoad() override;
    void onActivate() override { lines.push_back("activate"); }
    void onResize() override { lines.push_back("resize"); }
    void onUnload() override;
    void onMouseDown(int button, int shift, float x, float y) override;
    void onMouseMove(int buttons, int shift, float x, float y) override;
    void onDoubleClick() override { lines.push_back("dblclick"); }
    void onKeyDown(int keyCode, int shift) override;
    void onKeyPress(int character) override;

    // The lines that start with one of the words, in order.
    Lines only(std::initializer_list<std::string_view> words) const;
    int count(std::string_view word) const { return static_cast<int>(only({word}).size()); }
    void clear() { lines.clear(); }
};

// While it lives, closes any window left open modally after a few seconds, so that a
// fault shows as a failed expectation instead of a test that never ends.
class ModalWatchdog {
public:
    ModalWatchdog();
    ~ModalWatchdog();   // fails the test if it had to close anything

private:
    QTimer timer_;
    bool fired_ = false;
};

// Handles events until the condition holds or about two seconds have passed.
bool waitUntil(const std::function<bool()>& condition);
// Waits until the window is on the screen with its first picture presented.
bool waitUntilShown(Window& window);
// What the window system holds for the window's client area now, without handling any
// event first (device pixels).
QImage presented(Window& window);

} // namespace snugbox::testing
