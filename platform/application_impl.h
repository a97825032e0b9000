#pragma once
// Inside the platform layer only: the QApplication and the book-keeping of open windows
// that modality and the orderly quit need.

#include <QApplication>
#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <vector>

#include "platform/application.h"

namespace snugbox {

class Window;

struct Application::Impl {
    Impl();

    void windowCreated(Window& window);
    void windowDestroyed(Window& window);
    // Modal windows nest; the innermost is the last.
    void modalOpened(Window& window);
    void modalEnded(const Window* window);   // the window may be gone already
    void mainWindowClosed(Window& window);

    bool exists(const Window* window) const;
    Window* openMainWindow() const;
    // Calls the quit handler once a quit is pending and no modal window is open.
    void deliverQuitIfIdle();
    void deliverQuitLater();
    void watchQuitSignals();

    std::unique_ptr<QApplication> application;
    std::vector<Window*> windows;
    std::vector<Window*> modalWindows;
    std::function<void()> quitHandler;
    bool quitPending = false;
    bool running = false;
    QSocketNotifier* signalNotifier = nullptr;
};

} // namespace snugbox
