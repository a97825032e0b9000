#include <gtest/gtest.h>

#include <memory>

#include "platform/event_simulation.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::Lines;
using testing::waitUntilShown;

// The caller waits until the dialog closes while the main window's timer keeps ticking;
// the main window takes no mouse, keys or close box meanwhile, the dialog takes them all.
TEST(ModalWindow, BlocksTheCallerWhileOtherTimersTickAndWindowsBehindTakeNoInput)
{
    testing::ModalWatchdog watchdog;
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
    mainEvents.clear();

    Lines order;
    simulate::whenModalOpens([&](Window& opened) {
        EXPECT_EQ(&opened, &dialog);
        EXPECT_TRUE(dialog.isModal());
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
        testing::waitUntil([&] { return ticks >= ticksWhenOpened + 3; });
        order.push_back(ticks >= ticksWhenOpened + 3 ? "ticked" : "no ticks");
        simulate::closeBox(dialog);
    });
    dialog.showModal();
    order.push_back("returned");

    EXPECT_EQ(order, (Lines{"opened", "ticked", "returned"}));
    EXPECT_EQ(mainEvents.only({"down", "dblclick", "move", "keydown", "keypress", "unload"}), Lines{});
    EXPECT_EQ(dialogEvents.only({"load", "down", "keydown", "keypress", "unload"}),
              (Lines{"load", "down 1 10 10", "keydown 13", "keypress 13", "unload"}));
    EXPECT_TRUE(main.isOpen());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(simulate::openModalWindow(), nullptr);
    simulate::mouseDown(main, MouseButtons::Left, 100, 100);
    EXPECT_EQ(mainEvents.count("down"), 1) << "once it has closed, the main window takes input again";
    main.close();
}

TEST(ModalWindow, NestedModalWindowsReturnInnermostFirstAndCanOpenAgain)
{
    testing::ModalWatchdog watchdog;
    EventLog outerEvents;
    EventLog innerEvents;
    Window outer(WindowKind::Dialog, 200, 100, outerEvents);
    Window inner(WindowKind::Borderless, 100, 50, innerEvents);
    Lines order;
    simulate::whenModalOpens([&](Window&) {
        simulate::whenModalOpens([&](Window& innermost) {
            EXPECT_EQ(simulate::openModalWindow(), &innermost);
            inner.close();
        });
        inner.showModal();
        order.push_back("inner returned");
        EXPECT_EQ(simulate::openModalWindow(), &outer);
        outer.close();
    });
    outer.showModal();
    order.push_back("outer returned");
    simulate::whenModalOpens([&](Window&) { simulate::closeBox(outer); });
    outer.showModal();
    EXPECT_EQ(order, (Lines{"inner returned", "outer returned"}));
    EXPECT_EQ(outerEvents.only({"load", "unload"}), (Lines{"load", "unload", "load", "unload"}));
}

TEST(ModalWindow, AnOpenWindowShownModallyOrDestroyedInsideItsLoopReturnsAtOnce)
{
    testing::ModalWatchdog watchdog;
    EventLog events;
    auto dialog = std::make_unique<Window>(WindowKind::Dialog, 100, 50, events);
    dialog->show();
    dialog->showModal();   // nothing would ever close it from here
    EXPECT_TRUE(dialog->isOpen());
    EXPECT_FALSE(dialog->isModal());
    dialog->close();

    simulate::whenModalOpens([&](Window&) { simulate::after(0, [&] { dialog.reset(); }); });
    dialog->showModal();
    EXPECT_EQ(dialog, nullptr);
    EXPECT_EQ(simulate::openModalWindow(), nullptr);
    EXPECT_EQ(events.only({"load", "unload"}), (Lines{"load", "unload", "load"})) << "no handler runs as it goes";
}

} // namespace
} // namespace snugbox
