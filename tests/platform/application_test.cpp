#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>

#include <csignal>
#include <fstream>
#include <thread>

#include "platform/application.h"
#include "platform/event_simulation.h"
#include "platform/window.h"
#include "platform/window_impl.h"
#include "tests/support/temp_dir.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::waitUntil;
using Lines = std::vector<std::string>;

TEST(Application, NamesItselfSnugboxVersionOneDotZero)
{
    Application& application = Application::instance();
    EXPECT_EQ(&application, &Application::instance());
    EXPECT_EQ(Application::title(), "Snugbox");
    EXPECT_EQ(Application::versionMajor(), 1);
    EXPECT_EQ(Application::versionMinor(), 0);
    EXPECT_EQ(QCoreApplication::applicationName().toStdString(), "Snugbox");
    EXPECT_EQ(QCoreApplication::applicationVersion().toStdString(), "1.0");
    const ScreenSize screen = application.screenSize();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
}

TEST(Application, IconComesFromTheNumberedPngsAndIsOptional)
{
    Application& application = Application::instance();
    snugbox::testing::TempDir folder;
    for (int size : {16, 32}) {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(Qt::green);
        ASSERT_TRUE(image.save(QString::fromStdString(folder.file("snugbox-" + std::to_string(size) + ".png"))));
    }
    std::ofstream(folder.file("snugbox-48.png")) << "not a picture";
    QImage(8, 8, QImage::Format_RGB32).save(QString::fromStdString(folder.file("snugbox-big.png")));

    application.loadIcon(folder.path().string());
    EXPECT_TRUE(application.hasIcon());
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    EXPECT_EQ(sizes.size(), 2);
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    // Every window shows the program's icon.
    EventLog events;
    Window window(WindowKind::Dialog, 10, 10, events);
    EXPECT_FALSE(widgetOf(window)->windowIcon().isNull());

    snugbox::testing::TempDir empty;
    application.loadIcon(empty.path().string());
    EXPECT_FALSE(application.hasIcon());
    application.loadIcon(folder.file("no such folder"));
    EXPECT_FALSE(application.hasIcon());
}

TEST(Application, RunLastsUntilTheMainWindowClosesByItsCloseBox)
{
    testing::ModalWatchdog watchdog;
    Application& application = Application::instance();
    EXPECT_EQ(application.run(), 0);   // no main window: nothing to wait for

    EventLog events;
    Window main(WindowKind::Main, 765, 563, events);
    main.show();
    simulate::after(20, [&] { simulate::closeBox(main); });
    application.run();
    EXPECT_FALSE(main.isOpen());
    EXPECT_EQ(events.count("unload"), 1);

    // The program's loop ends only once; a dialog opened afterwards still works normally.
    EventLog dialogEvents;
    Window dialog(WindowKind::Dialog, 10, 10, dialogEvents);
    simulate::whenModalOpens([&](Window&) { simulate::after(10, [&] { dialog.close(); }); });
    dialog.showModal();
    EXPECT_EQ(dialogEvents.only({"load", "unload"}), (Lines{"load", "unload"}));
}

TEST(OrderlyQuit, SigtermClosesTheMainWindowOnTheUserInterfaceThread)
{
    EventLog events;
    Window main(WindowKind::Main, 765, 563, events);
    std::thread::id unloadThread;
    events.whenUnloading = [&] { unloadThread = std::this_thread::get_id(); };
    main.show();

    ASSERT_EQ(std::raise(SIGTERM), 0);
    // The signal handler itself only wakes the event loop; nothing has closed yet.
    EXPECT_TRUE(main.isOpen());
    EXPECT_EQ(events.count("unload"), 0);
    ASSERT_TRUE(waitUntil([&] { return !main.isOpen(); }));
    EXPECT_EQ(events.count("unload"), 1);
    EXPECT_EQ(unloadThread, std::this_thread::get_id());
    EXPECT_FALSE(Application::instance().isQuitting());
}

TEST(OrderlyQuit, SigintDuringAModalWindowLetsItsOpenerFinishBeforeTheMainWindowCloses)
{
    testing::ModalWatchdog watchdog;
    EventLog mainEvents;
    EventLog nameEvents;
    EventLog tableEvents;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window nameEntry(WindowKind::Dialog, 329, 207, nameEvents);
    Window table(WindowKind::Dialog, 466, 454, tableEvents);
    std::vector<std::string> order;
    mainEvents.whenUnloading = [&] { order.push_back("main unloads"); };
    nameEvents.whenUnloading = [&] { order.push_back("name entry unloads"); };
    main.show();

    // What the game does at game over: the name entry, then the table, then it goes on.
    simulate::whenModalOpens([&](Window&) { std::raise(SIGINT); });
    nameEntry.showModal();
    order.push_back("score inserted");
    table.showModal();   // the program is ending: it opens and closes at once
    order.push_back("game over done");
    EXPECT_TRUE(main.isOpen());

    ASSERT_TRUE(waitUntil([&] { return !main.isOpen(); }));
    EXPECT_EQ(order, (Lines{"name entry unloads", "score inserted", "game over done", "main unloads"}));
    EXPECT_EQ(tableEvents.only({"load", "unload"}), (Lines{"load", "unload"}));
    EXPECT_FALSE(Application::instance().isQuitting());
}

TEST(OrderlyQuit, AQuitHandlerTakesOverFromTheDefault)
{
    Application& application = Application::instance();
    EventLog events;
    Window main(WindowKind::Main, 765, 563, events);
    main.show();
    int handled = 0;
    application.setQuitHandler([&] { ++handled; });
    application.requestQuit();
    application.requestQuit();
    application.setQuitHandler(nullptr);
    EXPECT_EQ(handled, 2);
    EXPECT_TRUE(main.isOpen());
    EXPECT_EQ(events.count("unload"), 0);

    application.requestQuit();   // the default: as the close box
    EXPECT_FALSE(main.isOpen());
    EXPECT_EQ(events.count("unload"), 1);
}

TEST(OrderlyQuit, AQuitBeforeTheMainWindowOpensWaitsForTheProgramToRun)
{
    Application& application = Application::instance();
    application.requestQuit();
    EXPECT_TRUE(application.isQuitting());
    EventLog events;
    Window main(WindowKind::Main, 765, 563, events);
    main.show();
    EXPECT_TRUE(main.isOpen());
    application.run();   // returns once the pending quit has closed the main window
    EXPECT_EQ(events.only({"load", "unload"}), (Lines{"load", "unload"}));
    EXPECT_FALSE(application.isQuitting());
}

// The same test binary, run again on a screen scaled by two, does the checking.
constexpr const char* kScaledChild = "SNUGBOX_SCALED_SCREEN_CHILD";

TEST(HighDensityScreen, WindowScalesAsAWholeWhileItsLayoutStaysInLogicalPixels)
{
    if (!qEnvironmentVariableIsSet(kScaledChild)) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kScaledChild, "1");
        environment.insert("QT_SCALE_FACTOR", "2");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QString::fromLocal8Bit("/proc/self/exe"),
                    {QStringLiteral("--gtest_filter=HighDensityScreen.*")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return;
    }

    EventLog events;
    Window window(WindowKind::Dialog, 60, 40, events);
    events.whenLoading = [&] {
        window.surface().fillRect(Rect{0, 0, 60, 40}, Brush{true, Rgb{0, 0, 90}});
        window.surface().setPixel(10, 5, Rgb{255, 0, 0});
    };
    window.show();
    ASSERT_TRUE(testing::waitUntilShown(window));
    ASSERT_DOUBLE_EQ(widgetOf(window)->devicePixelRatioF(), 2.0);
    EXPECT_EQ(window.clientWidth(), 60);
    EXPECT_EQ(window.clientHeight(), 40);
    EXPECT_EQ(window.surface().width(), 60);

    // Every logical pixel of the surface covers two by two device pixels when the window paints.
    const QImage shown = widgetOf(window)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(120, 80));
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            EXPECT_EQ(shown.pixel(20 + dx, 10 + dy), qRgb(255, 0, 0));
        }
    }
    EXPECT_EQ(shown.pixel(22, 10), qRgb(0, 0, 90));
    EXPECT_EQ(shown.pixel(19, 11), qRgb(0, 0, 90));

    simulate::mouseDown(window, MouseButtons::Left, 59, 39);
    simulate::mouseMove(window, 30, 20);
    EXPECT_EQ(events.only({"down"}), (Lines{"down 1 59 39"}));
    EXPECT_EQ(events.only({"move"}).back(), "move 0 30 20");
    window.close();
}

} // namespace
} // namespace snugbox
