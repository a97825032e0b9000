#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <csignal>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/application.h"
#include "platform/controls.h"
#include "platform/event_simulation.h"
#include "platform/sleep.h"
#include "platform/surface.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "platform/window_impl.h"

namespace snugbox {
namespace {

using Lines = std::vector<std::string>;

// Writes every event down as a line: "load", "down 1 10.5 20", "move 0 3 4", "dblclick",
// "keydown 27", "keypress 27", "resize", "unload".
struct EventLog : WindowEvents {
    Lines lines;
    std::function<void()> whenLoading = [] {};
    std::function<void()> whenUnloading = [] {};

    void onLoad() override { add("load"); whenLoading(); }
    void onUnload() override { add("unload"); whenUnloading(); }
    void onResize() override { add("resize"); }
    void onMouseDown(int button, int, float x, float y) override { add("down", button, x, y); }
    void onMouseMove(int buttons, int, float x, float y) override { add("move", buttons, x, y); }
    void onDoubleClick() override { add("dblclick"); }
    void onKeyDown(int keyCode, int) override { add("keydown", keyCode); }
    void onKeyPress(int character) override { add("keypress", character); }

    void add(const char* word, auto... values)
    {
        std::ostringstream line;
        line << word;
        ((line << ' ' << values), ...);
        lines.push_back(line.str());
    }
    // The lines that start with one of the words, in order.
    Lines only(std::initializer_list<std::string> words) const
    {
        Lines result;
        std::ranges::copy_if(lines, std::back_inserter(result), [&](const std::string& line) {
            return std::ranges::find(words, line.substr(0, line.find(' '))) != words.end();
        });
        return result;
    }
    std::size_t count(const std::string& word) const { return only({word}).size(); }
};

// Handles events until the condition holds or about two seconds have passed.
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

// What the window system holds for the client area now, without handling any event first.
QImage presented(Window& window)
{
    const QPixmap grabbed = QGuiApplication::primaryScreen()->grabWindow(widgetOf(window)->winId());
    return grabbed.toImage().convertToFormat(QImage::Format_RGB32);
}

bool waitUntilShown(Window& window)
{
    return waitUntil([&] {
        const QWidget* widget = widgetOf(window);
        return widget->isVisible() && widget->windowHandle()->isExposed() && !presented(window).isNull();
    });
}

int differencesFromSurface(Window& window)
{
    const QImage shown = presented(window);
    int different = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const Rgb expected = window.surface().pixel(x, y);
            different += shown.pixel(x, y) != qRgb(expected.red, expected.green, expected.blue) ? 1 : 0;
        }
    }
    return different;
}

TEST(Window, ShowsExactlyItsSurfaceAndRefreshPresentsBeforeReturning)
{
    EventLog events;
    Window window(WindowKind::Dialog, 120, 80, events);
    events.whenLoading = [&] {
        // Distinct colours everywhere, so that any shift, scaling or swap of pixels shows.
        for (int i = 0; i < 120 * 80; ++i) {
            window.surface().setPixel(i % 120, i / 120, Rgb{static_cast<std::uint8_t>(i % 120 * 7),
                                                            static_cast<std::uint8_t>(i / 120 * 5),
                                                            static_cast<std::uint8_t>(i % 2 ? 200 : 30)});
        }
    };
    window.show();
    ASSERT_TRUE(waitUntilShown(window));
    EXPECT_EQ(presented(window).size(), QSize(120, 80));
    EXPECT_EQ(differencesFromSurface(window), 0);

    // Drawing alone puts nothing on the screen; refresh does, with no event handled between.
    window.surface().fillRect(Rect{20, 10, 40, 30}, Brush{true, Rgb{250, 10, 10}});
    EXPECT_NE(presented(window).pixel(25, 15), qRgb(250, 10, 10));
    window.refresh();
    EXPECT_EQ(differencesFromSurface(window), 0);

    // The platform's own repaint (an uncovered window) shows the surface again by itself.
    window.surface().fillRect(Rect{0, 0, 120, 80}, Brush{true, Rgb{1, 2, 3}});
    widgetOf(window)->update();
    ASSERT_TRUE(waitUntil([&] { return presented(window).pixel(100, 70) == qRgb(1, 2, 3); }));
    EXPECT_EQ(differencesFromSurface(window), 0);
}

TEST(Window, EachOpeningLoadsOnceAndTheCloseBoxUnloadsOnceTakingDialogsWithTheMainWindow)
{
    EventLog mainEvents;
    EventLog events;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window dialog(WindowKind::Dialog, 50, 40, events);
    Surface* const surfaceAtStart = &dialog.surface();
    main.show();
    dialog.show();
    dialog.show();   // open already: no second load
    ASSERT_TRUE(waitUntilShown(dialog));
    simulate::closeBox(dialog);
    dialog.close();  // closed already: no second unload
    EXPECT_FALSE(dialog.isOpen() || widgetOf(dialog)->isVisible());
    EXPECT_TRUE(main.isOpen());

    dialog.show();
    EXPECT_EQ(&dialog.surface(), surfaceAtStart) << "panels keep pointing at the right surface";
    ASSERT_TRUE(waitUntilShown(main));
    simulate::closeBox(main);
    EXPECT_EQ(mainEvents.count("unload"), 1u);
    EXPECT_EQ(events.only({"load", "unload"}), (Lines{"load", "unload", "load", "unload"}));
    EXPECT_FALSE(main.isOpen() || dialog.isOpen());
}

TEST(Window, KeepsItsSizeAndSnapsBackFromADrag)
{
    EventLog mainEvents;
    EventLog dialogEvents;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window dialog(WindowKind::Dialog, 329, 207, dialogEvents);
    main.show();
    dialog.show();
    ASSERT_TRUE(waitUntilShown(main) && waitUntilShown(dialog));
    const QMargins frame = widgetOf(main)->windowHandle()->frameMargins();
    EXPECT_EQ(std::pair(main.outerWidth(), main.outerHeight()), std::pair(765, 563)) << "the main window's outer size";
    EXPECT_EQ(main.clientWidth(), 765 - frame.left() - frame.right());
    EXPECT_EQ(std::pair(dialog.clientWidth(), dialog.clientHeight()), std::pair(329, 207)) << "a dialog's client size";

    // A window manager resizing the windows past their fixed size, as a border drag does.
    widgetOf(main)->windowHandle()->resize(900, 700);
    widgetOf(dialog)->windowHandle()->resize(400, 300);
    ASSERT_TRUE(waitUntil([&] { return mainEvents.count("resize") > 0 && dialogEvents.count("resize") > 0; }));
    EXPECT_TRUE(waitUntil([&] { return main.outerWidth() == 765 && main.outerHeight() == 563; }));
    EXPECT_TRUE(waitUntil([&] { return dialog.clientWidth() == 329 && dialog.clientHeight() == 207; }));
    main.close();
}

TEST(Window, TheMainWindowIsPlacedInTwipsAndDialogsAreCentred)
{
    EXPECT_EQ(mainWindowPosition(1024, 768, 11475, 8438), (ScreenPoint{130, 99}));   // 1942.5 and 1491 twips
    // A screen lower than the window puts the top at 1 twip; a narrow one pushes the left off.
    EXPECT_EQ(mainWindowPosition(640, 480, 11475, 8438), (ScreenPoint{-62, 0}));
    EXPECT_EQ(centredPosition(800, 600, 465, 453), (ScreenPoint{168, 74})) << "halves to even";
}

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(waitUntilShown(window));
    }
    void TearDown() override { window.close(); }

    EventLog events;
    Window window{WindowKind::Dialog, 300, 200, events};
};

TEST_F(Input, PressesAndMovesArriveWithTheirButtonCodeAndLogicalPosition)
{
    simulate::mouseDown(window, MouseButtons::Left, 10, 20);
    simulate::mouseDown(window, MouseButtons::Right, 0, 0);
    simulate::mouseDown(window, MouseButtons::Middle, 299, 199);
    simulate::mouseMove(window, 250, 6);
    EXPECT_EQ(events.only({"down", "dblclick"}), (Lines{"down 1 10 20", "down 2 0 0", "down 4 299 199"}));
    EXPECT_EQ(events.only({"move"}).back(), "move 0 250 6");
}

TEST_F(Input, TheSecondPressOfAQuickDoublePressArrivesAsADoubleClickOnly)
{
    simulate::doubleClick(window, MouseButtons::Right, 40, 50);
    simulate::mouseDown(window, MouseButtons::Right, 40, 50);   // presses far apart in time
    simulate::mouseDown(window, MouseButtons::Right, 40, 50);
    EXPECT_EQ(events.only({"down", "dblclick"}), (Lines{"down 2 40 50", "dblclick", "down 2 40 50", "down 2 40 50"}));
}

TEST_F(Input, KeyDownComesBeforeKeyPressAndLettersGiveTheirCapitalAsCode)
{
    for (int key : {KeyCodes::Escape, int{'A'}, KeyCodes::F1}) {
        simulate::keyStroke(window, key);
    }
    EXPECT_EQ(events.only({"keydown", "keypress"}), (Lines{"keydown 27", "keypress 27", "keydown 65", "keypress 97",
                                                           "keydown 112"}));
}

TEST(Controls, TypedTextGoesToTheFocusedBoxAndEnterPressesTheOneDefaultButton)
{
    EventLog events;
    Window dialog(WindowKind::Dialog, 329, 207, events);
    TextBox name(dialog);
    PushButton other(dialog);
    PushButton ok(dialog);
    name.setGeometry(133, 101, 166, 22);
    int presses = 0;
    other.setClickHandler([&] { presses += 100; });
    ok.setClickHandler([&] {
        ++presses;
        dialog.close();
    });
    other.setDefault(true);
    ok.setDefault(true);
    EXPECT_FALSE(other.isDefault()) << "one default button per window";
    events.whenLoading = [&] { name.setFocus(); };
    dialog.show();
    ASSERT_TRUE(waitUntilShown(dialog));
    simulate::typeText(dialog, "Zoë  O'Neil ");
    simulate::keyStroke(dialog, KeyCodes::Escape);   // the box has the focus: the window gets no keys
    EXPECT_TRUE(dialog.isOpen());
    simulate::keyStroke(dialog, KeyCodes::Enter);
    EXPECT_EQ(presses, 1);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(events.only({"keydown", "keypress"}), Lines{});
    EXPECT_EQ(name.text(), "Zoë  O'Neil ") << "still there for the closing code to read";
}

// The caller waits until the dialog closes while the main window's timer keeps ticking;
// the main window takes no mouse, keys or close box meanwhile, the dialog takes them all.
TEST(ModalWindow, BlocksTheCallerWhileOtherTimersTickAndWindowsBehindTakeNoInput)
{
    simulate::after(5000, [] {   // a fault that leaves the dialog open fails instead of hanging
        while (Window* stuck = simulate::openModalWindow()) {
            ADD_FAILURE() << "a modal window had to be closed by force";
            stuck->close();
        }
    });
    EventLog mainEvents;
    EventLog dialogEvents;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window dialog(WindowKind::Dialog, 329, 207, dialogEvents);
    Timer pieces(main);
    int ticks = 0;
    pieces.setTickHandler([&] { ++ticks; });
    pieces.setInterval(5);
    pieces.setEnabled(true);
    main.show();
    ASSERT_TRUE(waitUntilShown(main));
    mainEvents.lines.clear();

    Lines order;
    simulate::whenModalOpens([&](Window& opened) {
        EXPECT_EQ(&opened, &dialog);
        order.push_back("opened");
        ASSERT_TRUE(waitUntilShown(dialog));
        simulate::mouseDown(main, MouseButtons::Left, 100, 100);
        simulate::doubleClick(main, MouseButtons::Right, 100, 100);
        simulate::mouseMove(main, 50, 50);
        simulate::keyStroke(main, KeyCodes::Escape);
        simulate::closeBox(main);
        simulate::mouseDown(dialog, MouseButtons::Left, 10, 10);
        simulate::keyStroke(dialog, KeyCodes::Enter);
        const int ticksWhenOpened = ticks;
        order.push_back(waitUntil([&] { return ticks >= ticksWhenOpened + 3; }) ? "ticked" : "no ticks");
        simulate::closeBox(dialog);
    });
    dialog.showModal();
    order.push_back("returned");

    EXPECT_EQ(order, (Lines{"opened", "ticked", "returned"}));
    EXPECT_EQ(mainEvents.only({"down", "dblclick", "move", "keydown", "keypress", "unload"}), Lines{});
    EXPECT_EQ(dialogEvents.only({"load", "down", "keydown", "keypress", "unload"}),
              (Lines{"load", "down 1 10 10", "keydown 13", "keypress 13", "unload"}));
    simulate::mouseDown(main, MouseButtons::Left, 100, 100);
    EXPECT_EQ(mainEvents.count("down"), 1u) << "once it has closed, the main window takes input again";
    main.close();
}

TEST(Timer, AZeroIntervalNeverTicksAndClosingTheOwnerStopsTheOthersKeepingTheirInterval)
{
    EventLog events;
    Window window(WindowKind::Main, 765, 563, events);
    window.show();
    int silentTicks = 0;
    int ticks = 0;
    Timer silent(window);
    Timer ticking(window);
    silent.setTickHandler([&] { ++silentTicks; });
    ticking.setTickHandler([&] { ++ticks; });
    silent.setEnabled(true);   // as the piece timer starts: enabled, with no interval
    ticking.setInterval(5);
    ticking.setEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return ticks >= 5; }));
    EXPECT_EQ(silentTicks, 0);

    window.close();
    const int ticksWhenClosed = ticks;
    simulate::processEvents(30);
    EXPECT_EQ(ticks, ticksWhenClosed);
    EXPECT_FALSE(ticking.isEnabled());
    EXPECT_EQ(ticking.interval(), 5);
}

// The line-clear animation sleeps between frames: each frame must be on the screen
// meanwhile, and no tick may run in the middle of it.
TEST(Timer, SleepBlocksTicksButKeepsThePresentedFrame)
{
    EventLog events;
    Window window(WindowKind::Main, 765, 563, events);
    window.show();
    ASSERT_TRUE(waitUntilShown(window));
    int ticks = 0;
    Timer timer(window);
    timer.setTickHandler([&] { ++ticks; });
    timer.setInterval(1);
    timer.setEnabled(true);
    window.surface().fillRect(Rect{0, 0, 40, 40}, Brush{true, Rgb{0, 200, 0}});
    window.refresh();
    const int ticksBefore = ticks;
    QElapsedTimer clock;
    clock.start();
    sleepMilliseconds(30);
    EXPECT_GE(clock.elapsed(), 29);
    EXPECT_EQ(ticks, ticksBefore);
    EXPECT_EQ(presented(window).pixel(5, 5), qRgb(0, 200, 0));
    EXPECT_TRUE(waitUntil([&] { return ticks > ticksBefore; }));
    window.close();
}

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
    EXPECT_EQ(events.count("unload"), 1u);
    EXPECT_EQ(unloadThread, std::this_thread::get_id());
    EXPECT_FALSE(Application::instance().isQuitting());
}

} // namespace
} // namespace snugbox
