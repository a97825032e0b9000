#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>

#include <csignal>
#include <thread>

#include "platform/application.h"
#include "platform/event_simulation.h"
#include "platform/window.h"
#include "platform/window_impl.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::Lines;
using testing::waitUntil;

TEST(OrderlyQuit, SigtermClosesTheMainWindowOnTheUserInterfaceThread)
{
    EventLog events;
    Window main(WindowKind::Main, 765, 563, events);
    std::thread::id unloadThread;
    events.whenUnloading = [&] { unloadThread = std::this_thread::get_id(); };
    main.show();
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_TRUE(main.isOpen()) << "the signal handler itself only wakes the event loop";
    ASSERT_TRUE(waitUntil([&] { return !main.isOpen(); }));
    EXPECT_EQ(events.count("unload"), 1);
    EXPECT_EQ(unloadThread, std::this_thread::get_id());
    EXPECT_FALSE(Application::instance().isQuitting());
}

// What the game does at game over: the name entry, then the table, then it goes on. A
// quit meanwhile lets all of that finish, so the score is kept, before the main window closes.
TEST(OrderlyQuit, SigintDuringAModalWindowLetsItsOpenerFinishFirst)
{
    testing::ModalWatchdog watchdog;
    EventLog mainEvents;
    EventLog nameEvents;
    EventLog tableEvents;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window nameEntry(WindowKind::Dialog, 329, 207, nameEvents);
    Window table(WindowKind::Dialog, 466, 454, tableEvents);
    Lines order;
    mainEvents.whenUnloading = [&] { order.push_back("main unloads"); };
    nameEvents.whenUnloading = [&] { order.push_back("name entry unloads"); };
    main.show();
    simulate::whenModalOpens([&](Window&) { std::raise(SIGINT); });
    nameEntry.showModal();
    order.push_back("score inserted");
    table.showModal();   // the program is ending: it opens and closes at once
    order.push_back("game over done");
    EXPECT_TRUE(main.isOpen());
    ASSERT_TRUE(waitUntil([&] { return !main.isOpen(); }));
    EXPECT_EQ(order, (Lines{"name entry unloads", "score inserted", "game over done", "main unloads"}));
    EXPECT_EQ(tableEvents.only({"load", "unload"}), (Lines{"load", "unload"}));
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
        child.start(QString::fromLocal8Bit("/proc/self/exe"), {QStringLiteral("--gtest_filter=HighDensityScreen.*")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const std::string output = QString::fromLocal8Bit(child.readAll()).toStdString();
        EXPECT_EQ(child.exitCode(), 0) << output;
        EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
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
    EXPECT_EQ(std::pair(window.clientWidth(), window.clientHeight()), std::pair(60, 40));
    EXPECT_EQ(window.surface().width(), 60);

    // Every logical pixel of the surface covers two by two device pixels when the window paints.
    const QImage shown = widgetOf(window)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(120, 80));
    for (int dy = 0; dy < 4; ++dy) {
        EXPECT_EQ(shown.pixel(20 + dy % 2, 10 + dy / 2), qRgb(255, 0, 0));
    }
    EXPECT_EQ(shown.pixel(22, 10), qRgb(0, 0, 90));
    EXPECT_EQ(shown.pixel(19, 11), qRgb(0, 0, 90));

    simulate::mouseDown(window, MouseButtons::Left, 59, 39);
    simulate::mouseMove(window, 30, 20);
    EXPECT_EQ(events.only({"down", "move"}).back(), "move 0 30 20");
    EXPECT_EQ(events.only({"down"}), (Lines{"down 1 59 39"}));
    window.close();
}

} // namespace
} // namespace snugbox
