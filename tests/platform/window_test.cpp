#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>

#include "platform/event_simulation.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "platform/window_impl.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::Lines;
using testing::presented;
using testing::waitUntil;
using testing::waitUntilShown;

// How many pixels of the window's client area differ from its surface.
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
        // Stripes of distinct colours, so that any shift, scaling or swap of pixels shows.
        for (int i = 0; i < 120 * 80; ++i) {
            const int x = i % 120;
            const int y = i / 120;
            window.surface().setPixel(x, y, Rgb{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
                                                static_cast<std::uint8_t>((x + y) % 2 ? 200 : 30)});
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

TEST(Window, EachOpeningLoadsOnABlackSurfaceAndTheCloseBoxUnloadsOnce)
{
    EventLog mainEvents;
    EventLog events;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window dialog(WindowKind::Dialog, 50, 40, events);
    Surface* const surfaceAtStart = &dialog.surface();
    std::vector<Rgb> colourAtLoad;
    events.whenLoading = [&] {
        colourAtLoad.push_back(dialog.surface().pixel(10, 10));
        dialog.surface().fillRect(Rect{0, 0, 50, 40}, Brush{true, Rgb{9, 9, 9}});
    };
    main.show();
    dialog.show();
    dialog.show();   // open already: no second load
    ASSERT_TRUE(waitUntilShown(dialog));
    simulate::closeBox(dialog);
    dialog.close();  // closed already: no second unload
    EXPECT_FALSE(dialog.isOpen() || widgetOf(dialog)->isVisible());
    EXPECT_TRUE(main.isOpen());
    EXPECT_EQ(dialog.surface().pixel(10, 10), (Rgb{9, 9, 9})) << "kept while closed";

    dialog.show();
    EXPECT_EQ(colourAtLoad, (std::vector<Rgb>{Rgb{}, Rgb{}}));
    EXPECT_EQ(&dialog.surface(), surfaceAtStart) << "panels keep pointing at the right surface";
    // The main window's close box takes the other windows with it.
    ASSERT_TRUE(waitUntilShown(main));
    simulate::closeBox(main);
    EXPECT_EQ(mainEvents.count("unload"), 1);
    EXPECT_EQ(events.only({"load", "unload"}), (Lines{"load", "unload", "load", "unload"}));
    EXPECT_FALSE(main.isOpen() || dialog.isOpen());
}

TEST(Window, ALoadHandlerThatClosesTheWindowLeavesItClosed)
{
    testing::ModalWatchdog watchdog;
    EventLog events;
    Window window(WindowKind::Dialog, 50, 40, events);
    events.whenLoading = [&] { window.close(); };
    window.show();
    window.showModal();   // must not wait for a window that never showed
    EXPECT_FALSE(window.isOpen() || widgetOf(window)->isVisible());
    EXPECT_EQ(events.only({"load", "unload"}), (Lines{"load", "unload", "load", "unload"}));
}

TEST(WindowSize, WindowsKeepTheirSizeAndSnapBackFromADrag)
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
    EXPECT_GE(std::min(main.surface().width() - 765, main.surface().height() - 563), 0)
        << "the surface covers the largest client area the window can have";
    EXPECT_EQ(std::pair(dialog.clientWidth(), dialog.clientHeight()), std::pair(329, 207)) << "a dialog's client size";

    // A window manager resizing the windows past their fixed size, as a border drag does.
    mainEvents.clear();
    dialogEvents.clear();
    widgetOf(main)->windowHandle()->resize(900, 700);
    widgetOf(dialog)->windowHandle()->resize(400, 300);
    ASSERT_TRUE(waitUntil([&] { return mainEvents.count("resize") > 0 && dialogEvents.count("resize") > 0; }));
    EXPECT_TRUE(waitUntil([&] { return main.outerWidth() == 765 && main.outerHeight() == 563; }));
    EXPECT_TRUE(waitUntil([&] { return dialog.clientWidth() == 329 && dialog.clientHeight() == 207; }));
    main.minimize();
    ASSERT_TRUE(waitUntil([&] { return main.state() == WindowState::Minimized; }));
    main.restore();
    ASSERT_TRUE(waitUntil([&] { return main.state() == WindowState::Normal; }));
    EXPECT_EQ(main.outerWidth(), 765);
    main.close();
}

TEST(WindowPlacement, MainWindowRuleWorksInTwipsAndDialogsAreCentred)
{
    // 1024 x 768: left 1942.5 twips and top 1491 twips.
    EXPECT_EQ(mainWindowPosition(1024, 768, 11475, 8438), (ScreenPoint{130, 99}));
    // A screen lower than the window puts the top at 1 twip; a narrow one pushes the left off.
    EXPECT_EQ(mainWindowPosition(640, 480, 11475, 8438), (ScreenPoint{-62, 0}));
    EXPECT_EQ(mainWindowPosition(765, 563, 11475, 8445), (ScreenPoint{0, 0}));
    EXPECT_EQ(centredPosition(800, 600, 466, 454), (ScreenPoint{167, 73}));
    EXPECT_EQ(centredPosition(800, 600, 465, 453), (ScreenPoint{168, 74})) << "halves to even";
}

} // namespace
} // namespace snugbox
