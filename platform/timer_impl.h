#pragma once
// Inside the platform layer only: the Qt timer behind a Timer.

#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

#include "platform/timer.h"
#include "platform/window.h"

namespace snugbox {

struct Timer::Impl {
    struct TickState {
        std::function<void()> handler;
        bool ticking = false;
    };

    Window::Impl* owner = nullptr;            // null once the window is gone
    QPointer<QTimer> timer;                   // a child of the window's widget
    std::shared_ptr<TickState> tick = std::make_shared<TickState>();
    int interval = 0;
    bool enabled = false;

    // Starts a full interval from now when the timer should run, stops it otherwise.
    void restart();
    void ownerGone();
};

} // namespace snugbox
