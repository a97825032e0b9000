#include "platform/application.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

#include "platform/application_impl.h"
#include "platform/program_directory.h"
#include "platform/window_impl.h"

namespace snugbox {
namespace {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
// The name of the installed desktop entry (without ".desktop"), also the AppStream id and
// the icon name: desktops find the menu entry and icon of a running window through it.
constexpr char kDesktopFileName[] = "org.example.snugbox.Snugbox";
// The freedesktop icon theme's base size for applications, which menus and window lists
// look for first.
constexpr int kFirstAskedIconSize = 48;

// A signal handler may do next to nothing; writing one byte to a pipe is allowed, and
// the event loop wakes up on the other end and quits in an orderly way from there.
int quitSignalPipe[2] = {-1, -1};

void onQuitSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(quitSignalPipe[1], &byte, 1);
    errno = savedErrno;
}

void drainQuitSignalPipe()
{
    char bytes[64];
    while (::read(quitSignalPipe[0], bytes, sizeof bytes) > 0) {
    }
}

// QApplication keeps references to these for its whole life.
int argumentCount = 1;
char programName[] = "snugbox";
char* arguments[] = {programName, nullptr};

bool isNumber(const QString& text)
{
    bool number = false;
    text.toInt(&number);
    return number;
}

} // namespace

Application::Impl::Impl()
{
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QApplication>(argumentCount, arguments);
    }
    QCoreApplication::setApplicationName(QString::fromStdString(Application::title()));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(kVersionMajor).arg(kVersionMinor));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    // The main window decides when the program ends, not the last window to close: the
    // welcome screen closes before the main window opens.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    watchQuitSignals();
#if QT_CONFIG(sessionmanager)
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp,
                     [](QSessionManager&) { Application::instance().requestQuit(); });
#endif
}

void Application::Impl::watchQuitSignals()
{
    if (::pipe2(quitSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;   // the signals keep their default effect
    }
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // A closing terminal (SIGHUP) ends the program as politely as kill and Ctrl+C do.
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    signalNotifier = new QSocketNotifier(quitSignalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(signalNotifier, &QSocketNotifier::activated, qApp, [] {
        drainQuitSignalPipe();
        Application::instance().requestQuit();
    });
}

void Application::Impl::windowCreated(Window& window) { windows.push_back(&window); }

void Application::Impl::windowDestroyed(Window& window)
{
    std::erase(windows, &window);
    std::erase(modalWindows, &window);
}

bool Application::Impl::exists(const Window* window) const
{
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

void Application::Impl::modalOpened(Window& window)
{
    modalWindows.push_back(&window);
}

void Application::Impl::modalEnded(const Window* window)
{
    std::erase(modalWindows, window);
    if (quitPending && modalWindows.empty()) {
        deliverQuitLater();   // after the code that opened the window has run on
    }
}

void Application::Impl::mainWindowClosed(Window& window)
{
    const auto others = windows;
    for (Window* other : others) {
        if (other != &window && exists(other) && other->isOpen()) {
            other->impl().closeWindow();
        }
    }
    if (running) {
        QCoreApplication::quit();
    }
}

Window* Application::Impl::openMainWindow() const
{
    for (Window* window : windows) {
        if (window->kind() == WindowKind::Main && window->isOpen()) return window;
    }
    return nullptr;
}

void Application::Impl::toolkitDialogOpened(QDialog& dialog) { toolkitDialogs.emplace_back(&dialog); }

void Application::Impl::toolkitDialogEnded(const QDialog& dialog)
{
    std::erase_if(toolkitDialogs, [&dialog](const QPointer<QDialog>& open) { return open == &dialog || open.isNull(); });
}

void Application::Impl::deliverQuitIfIdle()
{
    if (!quitPending || !modalWindows.empty()) {
        return;
    }
    // The handler and the main window's unload run with the quit no longer pending, so
    // that a second request starts afresh, but still under way.
    const bool deliveringAlready = std::exchange(deliveringQuit, true);
    if (quitHandler) {
        quitPending = false;
        const auto handler = quitHandler;
        handler();
    } else if (Window* main = openMainWindow()) {
        quitPending = false;
        main->impl().closeWindow();
    } else if (running) {
        quitPending = false;
        QCoreApplication::quit();
    }
    // Otherwise nothing is open to close yet and the quit stays pending until run().
    deliveringQuit = deliveringAlready;
}

void Application::Impl::deliverQuitLater()
{
    QTimer::singleShot(0, qApp, [this] { deliverQuitIfIdle(); });
}

Application::Application() : impl_(std::make_unique<Impl>()) {}

Application::~Application() = default;

Application& Application::instance()
{
    // Never destroyed: windows held in static storage may outlive main().
    static Application* const application = new Application();
    return *application;
}

std::string Application::title() { return "Snugbox"; }
int Application::versionMajor() { return kVersionMajor; }
int Application::versionMinor() { return kVersionMinor; }

ScreenSize Application::screenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    return ScreenSize{screen->size().width(), screen->size().height()};
}

int Application::run()
{
    if (impl_->openMainWindow() == nullptr) {
        return 0;
    }
    impl_->running = true;
    if (impl_->quitPending) {
        impl_->deliverQuitLater();
    }
    const int result = QApplication::exec();
    impl_->running = false;
    // The loop can also end from outside (the session manager); the main window still
    // closes as its close box closes it, so that its unload handler runs.
    if (Window* main = impl_->openMainWindow()) {
        main->impl().closeWindow();
    }
    return result;
}

void Application::setQuitHandler(std::function<void()> handler) { impl_->quitHandler = std::move(handler); }

void Application::requestQuit()
{
    if (impl_->quitPending) {
        return;
    }
    impl_->quitPending = true;
    const auto modal = impl_->modalWindows;
    for (auto window = modal.rbegin(); window != modal.rend(); ++window) {
        if (impl_->exists(*window) && (*window)->isOpen()) {
            (*window)->impl().closeWindow();
        }
    }
    const auto dialogs = impl_->toolkitDialogs;
    for (const QPointer<QDialog>& dialog : dialogs) {
        if (dialog != nullptr) {
            dialog->accept();
        }
    }
    impl_->deliverQuitIfIdle();
}

bool Application::isQuitting() const { return impl_->quitPending; }

void Application::loadIcon(const std::string& directory, IconSizes sizes)
{
    QIcon icon;
    const QDir folder(QString::fromStdString(directory));
    const QString prefix = QStringLiteral("snugbox-");
    const QString suffix = QStringLiteral(".png");
    for (const QString& name : folder.entryList({prefix + "*" + suffix}, QDir::Files, QDir::Name)) {
        const QString size = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (!isNumber(size) || (sizes == IconSizes::FirstAsked && size.toInt() != kFirstAskedIconSize)) {
            continue;
        }
        // Told the format, the reader skips asking every image plug-in about the file.
        QImageReader reader(folder.filePath(name), "PNG");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    QApplication::setWindowIcon(icon);
}

bool Application::hasIcon() const { return !QApplication::windowIcon().isNull(); }

} // namespace snugbox
