#include "tests/support/platform/event_simulation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <deque>

#include "platform/application.h"
#include "platform/application_impl.h"
#include "platform/controls_impl.h"
#include "platform/input_mapping_impl.h"
#include "platform/surface_impl.h"
#include "platform/window_impl.h"

namespace snugbox::simulate {
namespace {

constexpr int kFunctionKeys = 12;

QWindow* nativeWindowOf(QWidget* widget)
{
    if (widget == nullptr || !widget->isVisible()) {
        return nullptr;   // a window that is not shown takes no input
    }
    return widget->window()->windowHandle();
}

Qt::MouseButton qtButtonFor(int button)
{
    switch (button) {
    case MouseButtons::Left: return Qt::LeftButton;
    case MouseButtons::Right: return Qt::RightButton;
    case MouseButtons::Middle: return Qt::MiddleButton;
    default: return Qt::NoButton;
    }
}

// The key that the window reports with this code: the main keyboard's Return for Enter.
Qt::Key qtKeyFor(int keyCode)
{
    if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')) {
        return static_cast<Qt::Key>(keyCode);
    }
    if (keyCode >= KeyCodes::F1 && keyCode < KeyCodes::F1 + kFunctionKeys) {
        return static_cast<Qt::Key>(Qt::Key_F1 + (keyCode - KeyCodes::F1));
    }
    for (const auto& [key, code] : namedKeyCodes()) {
        if (code == keyCode) return static_cast<Qt::Key>(key);
    }
    return Qt::Key_unknown;
}

QString textFor(int keyCode)
{
    if (keyCode >= 'A' && keyCode <= 'Z') return QString(QChar(keyCode - 'A' + 'a'));
    if (keyCode >= '0' && keyCode <= '9') return QString(QChar(keyCode));
    switch (keyCode) {
    case KeyCodes::Back:
    case KeyCodes::Tab:
    case KeyCodes::Enter:
    case KeyCodes::Escape:
    case KeyCodes::Space:
        return QString(QChar(keyCode));
    default:
        return {};
    }
}

Qt::Key qtKeyForCharacter(char32_t character)
{
    if (character >= 'a' && character <= 'z') return static_cast<Qt::Key>(character - 'a' + 'A');
    if (character < 0x100) return static_cast<Qt::Key>(character);   // Qt numbers Latin-1 keys by their character
    return Qt::Key_unknown;
}

void clickWidget(QWidget* widget)
{
    if (QWindow* window = nativeWindowOf(widget)) {
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier,
                          widget->mapTo(widget->window(), widget->rect().center()));
    }
}

// The game's window behind a Qt widget, if it is one of them.
Window* gameWindowOf(const QWidget* widget)
{
    for (Window* window : Application::instance().impl().windows) {
        if (widgetOf(*window) == widget) return window;
    }
    return nullptr;
}

// Hands each modal window that shows to the next action waiting for one.
class ModalWatcher : public QObject {
public:
    std::deque<std::function<void(Window&)>> actions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || actions.empty() || widget == nullptr || !widget->isWindow() ||
            widget->windowModality() == Qt::NonModal) {
            return false;
        }
        Window* window = gameWindowOf(widget);
        if (window == nullptr) {
            return false;
        }
        auto action = std::move(actions.front());
        actions.pop_front();
        // Queued, so that it runs inside the window's own event loop.
        QTimer::singleShot(0, widget, [window, widget = QPointer<const QWidget>(widget), action = std::move(action)] {
            if (widget != nullptr && window->isOpen()) action(*window);
        });
        return false;
    }
};

ModalWatcher& modalWatcher()
{
    static ModalWatcher* const watcher = [] {
        auto* created = new ModalWatcher;
        qApp->installEventFilter(created);
        return created;
    }();
    return *watcher;
}

using MouseAction = void (*)(QWindow*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint, int);

void mouseAction(MouseAction action, Window& window, int button, int x, int y)
{
    if (QWindow* native = nativeWindowOf(widgetOf(window))) {
        action(native, qtButtonFor(button), Qt::NoModifier, QPoint(x, y), -1);
    }
}

} // namespace

void mouseDown(Window& window, int button, int x, int y) { mouseAction(QTest::mouseClick, window, button, x, y); }
void mousePress(Window& window, int button, int x, int y) { mouseAction(QTest::mousePress, window, button, x, y); }
void mouseRelease(Window& window, int button, int x, int y) { mouseAction(QTest::mouseRelease, window, button, x, y); }
void doubleClick(Window& window, int button, int x, int y) { mouseAction(QTest::mouseDClick, window, button, x, y); }

void mouseMove(Window& window, int x, int y)
{
    if (QWindow* native = nativeWindowOf(widgetOf(window))) {
        QTest::mouseMove(native, QPoint(x, y));
    }
}

void keyStroke(Window& window, int keyCode)
{
    if (QWindow* native = nativeWindowOf(widgetOf(window))) {
        QTest::sendKeyEvent(QTest::Click, native, qtKeyFor(keyCode), textFor(keyCode), Qt::NoModifier);
    }
}

void typeText(Window& window, std::string_view text)
{
    QWindow* native = nativeWindowOf(widgetOf(window));
    if (native == nullptr) {
        return;
    }
    const QString characters = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (char32_t character : characters.toUcs4()) {
        QTest::sendKeyEvent(QTest::Click, native, qtKeyForCharacter(character), QString::fromUcs4(&character, 1),
                            Qt::NoModifier);
    }
}

void click(PushButton& button) { clickWidget(button.impl().button); }

void click(Label& label) { clickWidget(label.impl().label); }

void closeBox(Window& window)
{
    QWidget* widget = widgetOf(window);
    QWindow* native = nativeWindowOf(widget);
    if (native == nullptr) {
        return;
    }
    // A window behind a modal one ignores its close box, as the window system makes it.
    const QWindow* modal = QGuiApplication::modalWindow();
    if (modal != nullptr && modal != native) {
        return;
    }
    QCloseEvent event;
    QCoreApplication::sendEvent(native, &event);
}

void processEvents(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(std::max(milliseconds, 0), &loop, &QEventLoop::quit);
    loop.exec();
}

void after(int milliseconds, std::function<void()> action)
{
    QTimer::singleShot(std::max(milliseconds, 0), qApp, std::move(action));
}

Window* openModalWindow()
{
    const auto& modal = Application::instance().impl().modalWindows;
    for (auto window = modal.rbegin(); window != modal.rend(); ++window) {
        if ((*window)->isOpen()) return *window;
    }
    return nullptr;
}

void whenModalOpens(std::function<void(Window&)> action)
{
    Application::instance();
    modalWatcher().actions.push_back(std::move(action));
}

} // namespace snugbox::simulate

namespace snugbox::testing {

Surface snapshot(Window& window)
{
    QWidget& widget = *widgetOf(window);
    const QImage shot = widget.grab().toImage();
    Surface result(widget.width(), widget.height());
    // The grab is in device pixels; the surface in logical ones.
    QPainter painter(&result.impl().image);
    painter.drawImage(QRect(0, 0, widget.width(), widget.height()), shot);
    painter.end();
    return result;
}

} // namespace snugbox::testing
