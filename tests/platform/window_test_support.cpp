#include "window_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <sstream>

#include "platform/event_simulation.h"
#include "platform/window_impl.h"

namespace snugbox::testing {
namespace {

std::string line(std::string_view word, std::initializer_list<double> values)
{
    std::ostringstream text;
    text << word;
    for (double value : values) {
        text << ' ' << value;
    }
    return text.str();
}

} // namespace

void EventLog::onLoad()
{
    lines.push_back("load");
    if (whenLoading) whenLoading();
}

void EventLog::onUnload()
{
    lines.push_back("unload");
    if (whenUnloading) whenUnloading();
}

void EventLog::onMouseDown(int button, int, float x, float y) { lines.push_back(line("down", {1.0 * button, x, y})); }
void EventLog::onMouseMove(int buttons, int, float x, float y) { lines.push_back(line("move", {1.0 * buttons, x, y})); }
void EventLog::onKeyDown(int keyCode, int) { lines.push_back(line("keydown", {1.0 * keyCode})); }
void EventLog::onKeyPress(int character) { lines.push_back(line("keypress", {1.0 * character})); }

Lines EventLog::only(std::initializer_list<std::string_view> words) const
{
    Lines result;
    for (const std::string& entry : lines) {
        const std::string_view first = std::string_view(entry).substr(0, entry.find(' '));
        if (std::find(words.begin(), words.end(), first) != words.end()) {
            result.push_back(entry);
        }
    }
    return result;
}

ModalWatchdog::ModalWatchdog()
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        fired_ = true;
        while (Window* window = simulate::openModalWindow()) {
            window->close();
        }
    });
    timer_.start(5000);
}

ModalWatchdog::~ModalWatchdog() { EXPECT_FALSE(fired_) << "a modal window had to be closed by force"; }

bool waitUntil(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 2000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

bool waitUntilShown(Window& window)
{
    QWidget* widget = widgetOf(window);
    return waitUntil([&] {
        return widget->isVisible() && widget->windowHandle() != nullptr &&
               widget->windowHandle()->isExposed() && !presented(window).isNull();
    });
}

QImage presented(Window& window)
{
    QWidget* widget = widgetOf(window);
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(widget->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace snugbox::testing
