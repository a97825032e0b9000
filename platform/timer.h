#pragma once
// A repeating timer on the user-interface thread, owned by a window. It ticks every
// interval milliseconds while it is enabled; an interval of 0 never ticks, enabled or not.
// Enabling a disabled timer or setting its interval starts a full interval from now.
// Closing the owner window disables the timer.

#include <functional>
#include <memory>

namespace snugbox {

class Window;

class Timer {
public:
    // A new timer is disabled with an interval of 0. The owner must outlive the timer's use;
    // a timer whose window is gone never ticks again.
    explicit Timer(Window& owner);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Negative intervals count as 0.
    void setInterval(int milliseconds);
    int interval() const;
    void setEnabled(bool enabled);
    bool isEnabled() const;

    // A tick that comes while the handler is still running (inside a modal window it
    // opened) is dropped rather than nested.
    void setTickHandler(std::function<void()> handler);

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace snugbox
