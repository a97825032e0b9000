#include "platform/event_simulation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include "platform/application.h"
#include "platform/application_impl.h"
#include "platform/controls_impl.h"
#include "platform/input_mapping_impl.h"
#include "platform/window_impl.h"

// Qt's own entry points for synthetic input, the ones its test library uses: events go
// through the same processing as the window system's (modality, double clicks, focus).
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key,
                                    Qt::KeyboardModifiers mods, const QString& text,
                                    bool autorep, ushort count);
QT_END_NAMESPACE

namespace snugbox::simulate {
namespace {

// The simulated clock of input events, in milliseconds. Presses meant to stand alone are
// spaced far beyond any double-click interval; the presses of a double click come 1 ms apart.
int inputClock = 0;
constexpr int kFarApart = 10000;

QWindow* nativeWindowOf(QWidget* widget)
{
    if (widget == nullptr || !widget->isVisible()) {
        return nullptr;   // a window that is not shown takes no input
    }
    return widget->window()->windowHandle();
}

void sendMouse(QWindow* window, QPointF at, Qt::MouseButtons held, Qt::MouseButton button, QEvent::Type type)
{
    qt_handleMouseEvent(window, at, window->mapToGlobal(at), held, button, type, Qt::NoModifier, inputClock);
}

void pressAndRelease(QWindow* window, QPointF at, Qt::MouseButton button)
{
    sendMouse(window, at, button, button, QEvent::MouseButtonPress);
    inputClock += 1;
    sendMouse(window, at, Qt::NoButton, button, QEvent::MouseButtonRelease);
    inputClock += 1;
}

void clickWidget(QWidget* widget)
{
    if (QWindow* window = nativeWindowOf(widget)) {
        const QPointF centre = widget->mapTo(widget->window(), widget->rect().center());
        inputClock += kFarApart;
        pressAndRelease(window, centre, Qt::LeftButton);
    }
}

void sendKey(QWindow* window, int qtKey, const QString& text)
{
    qt_handleKeyEvent(window, QEvent::KeyPress, qtKey, Qt::NoModifier, text, false, 1);
    qt_handleKeyEvent(window, QEvent::KeyRelease, qtKey, Qt::NoModifier, text, false, 1);
}

int qtKeyForCharacter(char32_t character)
{
    if (character >= 'a' && character <= 'z') return static_cast<int>(character - 'a' + 'A');
    if (character < 0x100) return static_cast<int>(character);   // Qt numbers Latin-1 keys by their character
    return Qt::Key_unknown;
}

} // namespace

void mouseDown(Window& window, int button, float x, float y)
{
    if (QWindow* native = nativeWindowOf(widgetOf(window))) {
        inputClock += kFarApart;
        pressAndRelease(native, QPointF(x, y), qtButtonFor(button));
    }
}

void doubleClick(Window& window, int button, float x, float y)
{
    if (QWindow* native = nativeWindowOf(widgetOf(window))) {
        inputClock += kFarApart;
        pressAndRelease(native, QPointF(x, y), qtButtonFor(button));
        pressAndRelease(native, QPointF(x, y), qtButtonFor(button));
    }
}

void mouseMove(Window& window, float x, float y)
{
    if (QWindow* native = nativeWindowOf(widgetOf(window))) {
        inputClock += 1;
        sendMouse(native, QPointF(x, y), Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
    }
}

void keyStroke(Window& window, int keyCode)
{
    if (QWindow* native = nativeWindowOf(widgetOf(window))) {
        sendKey(native, qtKeyFor(keyCode), textFor(keyCode));
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
        sendKey(native, qtKeyForCharacter(character), QString::fromUcs4(&character, 1));
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
    Application::instance().impl().modalHooks.push_back(std::move(action));
}

} // namespace snugbox::simulate
