#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>

#include "platform/application.h"
#include "platform/event_simulation.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "platform/window_impl.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::presented;
using testing::waitUntil;
using testing::waitUntilShown;

// Stripes of distinct colours, so that any shift, scaling or swap of pixels shows.
void paintPattern(Surface& surface)
{
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            surface.setPixel(x, y, Rgb{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
                                       static_cast<std::uint8_t>((x + y) % 2 ? 200 : 30)});
        }
    }
}

int pixelsDifferentFrom(const QImage& shown, const Surface& surface, int width, int height)
{
    int different = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = shown.pixel(x, y);
            const Rgb expected = surface.pixel(x, y);
            if (qRed(pixel) != expected.red || qGreen(pixel) != expected.green || qBlue(pixel) != expected.blue) {
                ++different;
            }
        }
    }
    return different;
}

QRgb rgbOf(Rgb colour) { return qRgb(colour.red, colour.green, colour.blue); }

TEST(Window, ShowsExactlyItsSurfaceAndRefreshPresentsBeforeReturning)
{
    EventLog events;
    Window window(WindowKind::Dialog, 120, 80, events);
    events.whenLoading = [&] { paintPattern(window.surface()); };
    window.show();
    ASSERT_TRUE(waitUntilShown(window));

    QImage shown = presented(window);
    ASSERT_EQ(shown.size(), QSize(120, 80));
    EXPECT_EQ(pixelsDifferentFrom(shown, window.surface(), 120, 80), 0);

    // Drawing alone puts nothing on the screen; refresh does, with no event handled between.
    const Rgb red{250, 10, 10};
    window.surface().fillRect(Rect{20, 10, 40, 30}, Brush{true, red});
    EXPECT_NE(presented(window).pixel(25, 15), rgbOf(red));
    window.refresh();
    shown = presented(window);
    EXPECT_EQ(shown.pixel(25, 15), rgbOf(red));
    EXPECT_EQ(shown.pixel(39, 29), rgbOf(red));
    EXPECT_EQ(pixelsDifferentFrom(shown, window.surface(), 120, 80), 0);

    // The platform's own repaint (an uncovered window) shows the surface again by itself.
    window.surface().fillRect(Rect{0, 0, 120, 80}, Brush{true, Rgb{1, 2, 3}});
    widgetOf(window)->update();
    ASSERT_TRUE(waitUntil([&] { return presented(window).pixel(100, 70) == qRgb(1, 2, 3); }));
    EXPECT_EQ(pixelsDifferentFrom(presented(window), window.surface(), 120, 80), 0);
}

TEST(Window, EachOpeningLoadsAfreshOnABlackSurfaceAndClosingUnloadsOnce)
{
    EventLog events;
    Window window(WindowKind::Dialog, 50, 40, events);
    Surface* const surfaceAtStart = &window.surface();
    std::vector<Rgb> colourAtLoad;
    events.whenLoading = [&] {
        colourAtLoad.push_back(window.surface().pixel(10, 10));
        window.surface().fillRect(Rect{0, 0, 50, 40}, Brush{true, Rgb{9, 9, 9}});
        window.surface().setTextColour(Rgb{200, 0, 0});
    };

    EXPECT_FALSE(window.isOpen());
    window.show();
    EXPECT_TRUE(window.isOpen());
    window.show();   // open already: no second load
    window.close();
    window.close();  // closed already: no second unload
    EXPECT_FALSE(window.isOpen());
    EXPECT_FALSE(widgetOf(window)->isVisible());
    EXPECT_EQ(window.surface().pixel(10, 10), (Rgb{9, 9, 9}));   // kept while closed

    window.show();
    EXPECT_EQ(events.only({"load", "unload"}), (std::vector<std::string>{"load", "unload", "load"}));
    ASSERT_EQ(colourAtLoad.size(), 2u);
    EXPECT_EQ(colourAtLoad[1], (Rgb{0, 0, 0}));
    EXPECT_EQ(&window.surface(), surfaceAtStart);   // panels keep pointing at the right surface
    window.close();
}

TEST(Window, LoadHandlerThatClosesTheWindowLeavesItClosed)
{
    EventLog events;
    testing::ModalWatchdog watchdog;
    Window window(WindowKind::Dialog, 50, 40, events);
    events.whenLoading = [&] { window.close(); };
    window.show();
    window.showModal();   // must not wait for a window that never showed
    EXPECT_FALSE(window.isOpen());
    EXPECT_FALSE(widgetOf(window)->isVisible());
    EXPECT_EQ(events.only({"load", "unload"}),
              (std::vector<std::string>{"load", "unload", "load", "unload"}));
}

TEST(Window, CloseBoxClosesAsCloseDoesAndTheMainWindowTakesTheOthersWithIt)
{
    EventLog mainEvents;
    EventLog dialogEvents;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window dialog(WindowKind::Dialog, 100, 50, dialogEvents);
    main.show();
    dialog.show();
    ASSERT_TRUE(waitUntilShown(dialog));

    simulate::closeBox(dialog);
    EXPECT_EQ(dialogEvents.count("unload"), 1);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_FALSE(widgetOf(dialog)->isVisible());
    EXPECT_TRUE(main.isOpen());

    dialog.show();
    ASSERT_TRUE(waitUntilShown(main));
    simulate::closeBox(main);
    EXPECT_EQ(mainEvents.count("unload"), 1);
    EXPECT_EQ(dialogEvents.count("unload"), 2);
    EXPECT_FALSE(main.isOpen());
    EXPECT_FALSE(dialog.isOpen());
}

TEST(Window, CaptionAndActivationReachTheWindow)
{
    EventLog events;
    Window window(WindowKind::Main, 765, 563, events);
    events.whenLoading = [&] { window.setCaption("Snugbox  Ver 1.0"); };
    window.show();
    EXPECT_EQ(window.caption(), "Snugbox  Ver 1.0");
    EXPECT_EQ(widgetOf(window)->windowTitle().toStdString(), "Snugbox  Ver 1.0");
    ASSERT_TRUE(waitUntil([&] { return events.count("activate") > 0; }));
    EXPECT_TRUE(window.isActive());
    window.close();
}

TEST(WindowSize, MainWindowKeepsItsOuterSizeAndSnapsBackFromADrag)
{
    EventLog events;
    Window window(WindowKind::Main, 765, 563, events);
    window.show();
    ASSERT_TRUE(waitUntilShown(window));
    QWidget* widget = widgetOf(window);
    const QMargins frame = widget->windowHandle()->frameMargins();

    EXPECT_EQ(window.outerWidth(), 765);
    EXPECT_EQ(window.outerHeight(), 563);
    EXPECT_EQ(window.clientWidth(), 765 - frame.left() - frame.right());
    EXPECT_EQ(window.clientHeight(), 563 - frame.top() - frame.bottom());
    // The surface covers the largest client area the window can have.
    EXPECT_GE(window.surface().width(), 765);
    EXPECT_GE(window.surface().height(), 563);

    // A window manager resizing the window past its fixed size, as a border drag does.
    events.clear();
    widget->windowHandle()->resize(900, 700);
    ASSERT_TRUE(waitUntil([&] { return events.count("resize") > 0 && window.outerWidth() == 765; }));
    ASSERT_TRUE(waitUntil([&] { return window.outerHeight() == 563; }));

    window.minimize();
    ASSERT_TRUE(waitUntil([&] { return window.state() == WindowState::Minimized; }));
    window.restore();
    ASSERT_TRUE(waitUntil([&] { return window.state() == WindowState::Normal; }));
    EXPECT_EQ(window.outerWidth(), 765);
    window.close();
}

TEST(WindowSize, DialogsKeepTheirClientAreaAndTheSurfaceFollowsIt)
{
    EventLog events;
    Window dialog(WindowKind::Dialog, 329, 207, events);
    Window borderless(WindowKind::Borderless, 10, 10, events);
    events.whenLoading = [&] {
        if (!borderless.isOpen()) return;
        borderless.surface().fillRect(Rect{0, 0, 10, 10}, Brush{true, Rgb{5, 6, 7}});
        borderless.setClientSize(680, 450);
    };
    dialog.show();
    borderless.show();
    ASSERT_TRUE(waitUntilShown(dialog));
    ASSERT_TRUE(waitUntilShown(borderless));
    EXPECT_EQ(dialog.clientWidth(), 329);
    EXPECT_EQ(dialog.clientHeight(), 207);
    EXPECT_EQ(borderless.clientWidth(), 680);
    EXPECT_EQ(borderless.outerWidth(), 680);   // no frame at all
    EXPECT_EQ(borderless.outerHeight(), 450);
    EXPECT_EQ(borderless.surface().width(), 680);
    EXPECT_EQ(borderless.surface().height(), 450);
    EXPECT_EQ(borderless.surface().pixel(9, 9), (Rgb{5, 6, 7}));   // growing kept the drawing

    widgetOf(dialog)->windowHandle()->resize(400, 300);
    ASSERT_TRUE(waitUntil([&] { return dialog.clientWidth() == 329 && dialog.clientHeight() == 207; }));
    dialog.close();
    borderless.close();
}

TEST(WindowPlacement, MainWindowRuleWorksInTwips)
{
    // 1024 x 768: left 1942.5 twips and top 1491 twips.
    EXPECT_EQ(mainWindowPosition(1024, 768, 11475, 8438), (ScreenPoint{130, 99}));
    // A screen lower than the window puts the top at 1 twip; a narrow one pushes the left off.
    EXPECT_EQ(mainWindowPosition(640, 480, 11475, 8438), (ScreenPoint{-62, 0}));
    EXPECT_EQ(mainWindowPosition(765, 563, 11475, 8445), (ScreenPoint{0, 0}));
    EXPECT_EQ(centredPosition(800, 600, 466, 454), (ScreenPoint{167, 73}));
    EXPECT_EQ(centredPosition(800, 600, 465, 453), (ScreenPoint{168, 74}));   // halves to even
}

TEST(WindowPlacement, WindowsOpenWhereTheirKindPutsThemUnlessMoved)
{
    const ScreenSize screen = Application::instance().screenSize();
    ASSERT_GT(screen.width, 0);
    EventLog events;
    Window main(WindowKind::Main, 765, 563, events);
    Window dialog(WindowKind::Dialog, 200, 100, events);
    Window moved(WindowKind::Dialog, 200, 100, events);
    main.show();
    dialog.show();
    moved.moveTo(12, 34);
    moved.show();
    ASSERT_TRUE(waitUntilShown(dialog));
    ASSERT_TRUE(waitUntilShown(moved));

    const ScreenPoint mainAt = mainWindowPosition(screen.width, screen.height, 765 * kTwipsPerPixel,
                                                  563 * kTwipsPerPixel);
    EXPECT_EQ(ScreenPoint(main.left(), main.top()), mainAt);
    const ScreenPoint dialogAt = centredPosition(screen.width, screen.height, dialog.outerWidth(),
                                                 dialog.outerHeight());
    EXPECT_EQ(ScreenPoint(dialog.left(), dialog.top()), dialogAt);
    EXPECT_EQ(ScreenPoint(moved.left(), moved.top()), (ScreenPoint{12, 34}));
    main.close();
}

} // namespace
} // namespace snugbox
