#pragma once
// Inside the platform layer only: the QApplication and the book-keeping of open windows
// that modality and the orderly quit need.

#include <QApplication>
#include <QDialog>
#include <QPointer>
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
    // The toolkit's own modal dialogs (message boxes) are not Windows; a quit closes
    // those that are open, as their OK button would.
    void toolkitDialogOpened(QDialog& dialog);
    void toolkitDialogEnded(const QDialog& dialog);
    // From the request of a quit until it has been delivered and the main window has
    // closed: nothing may wait for an answer from the player meanwhile.
    bool quitUnderWay() const { return quitPending || deliveringQuit; }

    // Calls the quit handler once a quit is pending and no modal window is open.
    void deliverQuitIfIdle();
    void deliverQuitLater();
    void watchQuitSignals();

    std::unique_ptr<QApplication> application;
    std::vector<Window*> windows;
    std::vector<Window*> modalWindows;
    std::vector<QPointer<QDialog>> toolkitDialogs;
    std::function<void()> quitHandler;
    bool quitPending = false;
    bool deliveringQuit = false;
    bool running = false;
    QSocketNotifier* signalNotifier = nullptr;
};

} // namespace snugbox
