#include "platform/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

#include "platform/application.h"
#include "platform/application_impl.h"
#include "platform/input_mapping_impl.h"
#include "platform/surface_impl.h"
#include "platform/timer_impl.h"
#include "platform/window_impl.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

// The classic placement keeps this much more room below the main window than above it.
constexpr int kPlacementAllowanceTwips = 100;

Qt::WindowFlags flagsFor(WindowKind kind)
{
    const Qt::WindowFlags caption = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    switch (kind) {
    case WindowKind::Main: return Qt::Window | caption | Qt::WindowMinimizeButtonHint;
    case WindowKind::Dialog: return Qt::Dialog | caption;
    case WindowKind::Borderless: return Qt::Window | Qt::FramelessWindowHint;
    }
    return Qt::Window;
}

QRect qtRect(const Rect& rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

} // namespace

ScreenPoint mainWindowPosition(int screenWidth, int screenHeight, int outerWidthTwips,
                               int outerHeightTwips)
{
    const double left = (screenWidth * kTwipsPerPixel - outerWidthTwips) / 2.0;
    double top = (screenHeight * kTwipsPerPixel - outerHeightTwips - kPlacementAllowanceTwips) / 2.0;
    if (top < 0) {
        top = 1;
    }
    return ScreenPoint{nearest(left / kTwipsPerPixel), nearest(top / kTwipsPerPixel)};
}

ScreenPoint centredPosition(int screenWidth, int screenHeight, int outerWidth, int outerHeight)
{
    return ScreenPoint{nearest((screenWidth - outerWidth) / 2.0), nearest((screenHeight - outerHeight) / 2.0)};
}

// ---- the widget ----

WindowWidget::WindowWidget(Window::Impl& owner, Qt::WindowFlags flags)
    : QWidget(nullptr, flags), owner_(owner)
{
    // Every pixel comes from the surface, so nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

bool WindowWidget::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Paint && owner_.afterFirstShown) {
        // Queued, so that the picture just painted reaches the screen first.
        QTimer::singleShot(0, this, [action = std::exchange(owner_.afterFirstShown, {})] { action(); });
    }
    if (event->type() == QEvent::WindowActivate) {
        owner_.keepFixedSize();
        if (owner_.loaded) owner_.events.onActivate();
    }
    return handled;
}

void WindowWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QImage& image = owner_.surface.impl().image;
    const QRect surfaceArea = image.rect();
    for (const QRect& area : event->region()) {
        const QRect shown = area & surfaceArea;
        if (!shown.isEmpty()) {
            painter.drawImage(shown, image, shown);
        }
    }
    // Beyond the surface (only while a size change settles) the window is black.
    for (const QRect& area : event->region() - QRegion(surfaceArea)) {
        painter.fillRect(area, Qt::black);
    }
}

void WindowWidget::mousePressEvent(QMouseEvent* event)
{
    const int button = buttonCodeOf(event->button());
    if (button == 0 || !owner_.loaded) {
        return;
    }
    const QPointF at = event->position();
    owner_.events.onMouseDown(button, shiftStateOf(event->modifiers()), static_cast<float>(at.x()),
                              static_cast<float>(at.y()));
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!owner_.loaded) {
        return;
    }
    const QPointF at = event->position();
    owner_.events.onMouseMove(buttonCodesOf(event->buttons()), shiftStateOf(event->modifiers()),
                              static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt delivers the second press of a double press only as this event, never as a press.
    if (buttonCodeOf(event->button()) != 0 && owner_.loaded) {
        owner_.events.onDoubleClick();
    }
}

bool WindowWidget::pressesDefaultButton(const QKeyEvent& event)
{
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter) {
        return false;
    }
    QPushButton* button = owner_.defaultButton;
    if (button == nullptr || !button->isVisible() || !button->isEnabled()) {
        return false;
    }
    button->click();
    return true;
}

void WindowWidget::keyPressEvent(QKeyEvent* event)
{
    // Keys reach here from a focused control that did not use them (Enter from a text box).
    if (pressesDefaultButton(*event)) {
        return;
    }
    const QWidget* focused = focusWidget();
    if ((focused != nullptr && focused != this) || !owner_.loaded) {
        event->ignore();
        return;
    }
    const int keyCode = keyCodeOf(event->key());
    if (keyCode != 0) {
        owner_.events.onKeyDown(keyCode, shiftStateOf(event->modifiers()));
    }
    const int character = characterOf(event->text());
    // A key-down that closed the window ends the key there, as the window is gone.
    if (character >= 0 && owner_.loaded) {
        owner_.events.onKeyPress(character);
    }
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // The close box or the window system: the window closes as close() closes it.
    owner_.closeWindow();
    event->accept();
}

void WindowWidget::resizeEvent(QResizeEvent* event)
{
    owner_.growSurfaceToCover(event->size());
    if (owner_.loaded) {
        owner_.events.onResize();
    }
    owner_.keepFixedSize();
}

void WindowWidget::moveEvent(QMoveEvent*)
{
    // The window manager's frame often becomes known only once the window is placed.
    owner_.keepFixedSize();
}

void WindowWidget::showEvent(QShowEvent*) { owner_.keepFixedSize(); }

void WindowWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        if (owner_.loaded) {
            owner_.events.onResize();
        }
        owner_.keepFixedSize();
    }
}

// ---- the window's state ----

Window::Impl::Impl(Window& window, WindowKind kind, int width, int height, WindowEvents& events)
    : window(window), kind(kind), events(events)
{
    widget = std::make_unique<WindowWidget>(*this, flagsFor(kind));
    const QSize size(std::max(width, 1), std::max(height, 1));
    if (kind == WindowKind::Main) {
        fixedOuter = size;
    } else {
        fixedClient = size;
    }
    keepFixedSize();
}

Window::Impl::~Impl()
{
    for (Timer::Impl* timer : timers) {
        timer->ownerGone();
    }
}

bool Window::Impl::load()
{
    if (loaded) {
        return true;
    }
    loaded = true;
    // Each opening starts from a black surface with fresh drawing state, large enough for
    // the biggest client area the window can have.
    const QSize cover = widget->size().expandedTo(fixedOuter.value_or(QSize()));
    surface = Surface(cover.width(), cover.height());
    const auto stillThere = alive;
    events.onLoad();
    return *stillThere && loaded;
}

void Window::Impl::present(Qt::WindowModality modality)
{
    widget->setWindowModality(modality);
    // Creating the native window first lets platforms that know the frame at once report it.
    widget->winId();
    keepFixedSize();
    if (!placedByOwner) {
        placeByKind();
    }
    widget->show();
    widget->raise();
    widget->activateWindow();
    // A window that had the focus when it was hidden may still be the platform's focus
    // window; the platform then reports no new activation, and Qt would leave it inactive.
    if (QGuiApplication::focusWindow() == widget->windowHandle() &&
        QApplication::activeWindow() != widget.get()) {
        QApplication::setActiveWindow(widget.get());
    }
}

void Window::Impl::closeWindow()
{
    if (!loaded || closing) {
        return;
    }
    closing = true;
    const auto stillThere = alive;
    events.onUnload();
    if (!*stillThere) {
        return;
    }
    closing = false;
    loaded = false;
    placedByOwner = false;
    for (Timer::Impl* timer : timers) {
        timer->enabled = false;
        timer->restart();
    }
    widget->hide();
    if (modalLoop != nullptr) {
        modalLoop->exit();
    }
    if (kind == WindowKind::Main) {
        Application::instance().impl().mainWindowClosed(window);
    }
}

QMargins Window::Impl::frameMargins() const
{
    const QWindow* handle = widget->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

void Window::Impl::keepFixedSize()
{
    if (keepingSize || state() != WindowState::Normal) {
        return;
    }
    QSize client = fixedClient.value_or(QSize(1, 1));
    if (fixedOuter) {
        client = fixedOuter->shrunkBy(frameMargins()).expandedTo(QSize(1, 1));
    }
    keepingSize = true;
    if (widget->minimumSize() != client || widget->maximumSize() != client) {
        widget->setFixedSize(client);
    }
    // A window manager may resize the window in spite of the fixed size; it snaps back.
    if (widget->size() != client) {
        widget->resize(client);
    }
    keepingSize = false;
}

void Window::Impl::placeByKind()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize outer = fixedOuter.value_or(widget->size().grownBy(frameMargins()));
    const ScreenPoint at =
        kind == WindowKind::Main
            ? mainWindowPosition(area.width(), area.height(), outer.width() * kTwipsPerPixel,
                                 outer.height() * kTwipsPerPixel)
            : centredPosition(area.width(), area.height(), outer.width(), outer.height());
    widget->move(area.x() + at.x, area.y() + at.y);
}

void Window::Impl::growSurfaceToCover(QSize size)
{
    if (size.width() <= surface.width() && size.height() <= surface.height()) {
        return;
    }
    // The same Surface object keeps its drawing state and what was drawn; panels point at it.
    Surface::Impl& state = surface.impl();
    QImage larger = makeSurfaceImage(std::max(size.width(), surface.width()),
                                     std::max(size.height(), surface.height()));
    QPainter painter(&larger);
    painter.drawImage(0, 0, state.image);
    painter.end();
    state.image = larger;
    state.markChanged(Rect{0, 0, larger.width(), larger.height()});
}

WindowState Window::Impl::state() const
{
    const Qt::WindowStates states = widget->windowState();
    if (states & Qt::WindowMinimized) return WindowState::Minimized;
    if (states & Qt::WindowMaximized) return WindowState::Maximized;
    return WindowState::Normal;
}

// ---- the public face ----

Window::Window(WindowKind kind, int width, int height, WindowEvents& events)
{
    Application& application = Application::instance();   // before any widget exists
    impl_ = std::make_unique<Impl>(*this, kind, width, height, events);
    application.impl().windowCreated(*this);
}

Window::~Window()
{
    Application::instance().impl().windowDestroyed(*this);
    // The handlers' owner is going away: no unload handler runs now.
    *impl_->alive = false;
    if (impl_->modalLoop != nullptr) {
        impl_->modalLoop->exit();
    }
}

WindowKind Window::kind() const { return impl_->kind; }

void Window::show()
{
    if (impl_->loaded) {
        impl_->widget->raise();
        impl_->widget->activateWindow();
        return;
    }
    // While the program is quitting the window loads, so that the quit closes it as its
    // close box would, but never appears.
    if (impl_->load() && !Application::instance().isQuitting()) {
        impl_->present(Qt::NonModal);
    }
}

void Window::showModal()
{
    if (impl_->loaded) {
        return;   // open already; it cannot become modal now
    }
    Application& application = Application::instance();
    const auto stillThere = impl_->alive;
    if (!impl_->load()) {
        return;
    }
    if (application.isQuitting()) {
        impl_->closeWindow();
        return;
    }
    impl_->present(Qt::ApplicationModal);
    QEventLoop loop;
    impl_->modalLoop = &loop;
    application.impl().modalOpened(*this);
    if (impl_->loaded) {
        loop.exec(QEventLoop::DialogExec);
    }
    if (!*stillThere) {
        application.impl().modalEnded(this);
        return;
    }
    impl_->modalLoop = nullptr;
    // The loop also ends when the program ends; the window still closes properly.
    impl_->closeWindow();
    application.impl().modalEnded(this);
}

void Window::close() { impl_->closeWindow(); }

bool Window::isOpen() const { return impl_->loaded; }

bool Window::isModal() const { return impl_->modalLoop != nullptr; }

Surface& Window::surface() { return impl_->surface; }

void Window::afterFirstShown(std::function<void()> action) { impl_->afterFirstShown = std::move(action); }

void Window::refresh()
{
    const Rect changed = impl_->surface.takeChangedArea();
    if (changed.isEmpty() || !impl_->widget->isVisible()) {
        return;   // a window that is not shown paints everything when it shows
    }
    // Painted before returning, so that a blocking sleep that follows shows this frame.
    impl_->widget->repaint(qtRect(changed));
}

void Window::setCaption(const std::string& caption)
{
    impl_->widget->setWindowTitle(QString::fromStdString(caption));
}

std::string Window::caption() const { return impl_->widget->windowTitle().toStdString(); }

void Window::setClientSize(int width, int height)
{
    impl_->fixedOuter.reset();
    impl_->fixedClient = QSize(std::max(width, 1), std::max(height, 1));
    impl_->keepFixedSize();
    impl_->growSurfaceToCover(impl_->widget->size());
}

int Window::clientWidth() const { return impl_->widget->width(); }
int Window::clientHeight() const { return impl_->widget->height(); }

void Window::setOuterSize(int width, int height)
{
    impl_->fixedClient.reset();
    impl_->fixedOuter = QSize(std::max(width, 1), std::max(height, 1));
    impl_->keepFixedSize();
    impl_->growSurfaceToCover(impl_->widget->size());
}

int Window::outerWidth() const { return impl_->widget->frameGeometry().width(); }
int Window::outerHeight() const { return impl_->widget->frameGeometry().height(); }

void Window::moveTo(int left, int top)
{
    impl_->placedByOwner = true;
    impl_->widget->move(left, top);
}

int Window::left() const { return impl_->widget->pos().x(); }
int Window::top() const { return impl_->widget->pos().y(); }

WindowState Window::state() const { return impl_->state(); }

void Window::minimize()
{
    if (impl_->loaded) {
        impl_->widget->showMinimized();
    }
}

void Window::restore()
{
    if (impl_->loaded) {
        impl_->widget->showNormal();
        impl_->widget->activateWindow();
    }
}

bool Window::isActive() const { return impl_->widget->isActiveWindow(); }

} // namespace snugbox
