#pragma once
// Inside the platform layer only: the Qt widget behind a Window.

#include <QEventLoop>
#include <QMargins>
#include <QPointer>
#include <QPushButton>
#include <QSize>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

#include "platform/surface.h"
#include "platform/timer.h"
#include "platform/window.h"

namespace snugbox {

// Shows the owner's surface and turns Qt's events into the owner's handler calls.
class WindowWidget : public QWidget {
public:
    WindowWidget(Window::Impl& owner, Qt::WindowFlags flags);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool pressesDefaultButton(const QKeyEvent& event);
    Window::Impl& owner_;
};

struct Window::Impl {
    Impl(Window& window, WindowKind kind, int width, int height, WindowEvents& events);
    ~Impl();

    // Runs onLoad on a fresh black surface; false when the load handler closed the window
    // (or destroyed it).
    bool load();
    // Shows the loaded window with the given modality, placed by its kind's rule.
    void present(Qt::WindowModality modality);
    // The one way every window closes: onUnload, hide, timers off, modal loop ended.
    void closeWindow();

    QMargins frameMargins() const;
    // Holds the client area at its fixed size (or the outer size less the frame) while the
    // window is in its normal state; a drag of the border therefore snaps back.
    void keepFixedSize();
    void placeByKind();
    void growSurfaceToCover(QSize size);
    WindowState state() const;

    Window& window;
    const WindowKind kind;
    WindowEvents& events;
    Surface surface;
    std::unique_ptr<WindowWidget> widget;

    std::optional<QSize> fixedClient;
    std::optional<QSize> fixedOuter;
    bool loaded = false;
    bool closing = false;
    bool placedByOwner = false;   // moveTo() since the last closing
    bool keepingSize = false;
    QEventLoop* modalLoop = nullptr;
    QPointer<QPushButton> defaultButton;
    std::function<void()> afterFirstShown;
    std::vector<Timer::Impl*> timers;
    // Cleared when the window is destroyed, for code that may outlive it on the stack.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

inline QWidget* widgetOf(Window& window) { return window.impl().widget.get(); }

} // namespace snugbox
