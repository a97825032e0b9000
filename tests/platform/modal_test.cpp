#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/event_simulation.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::waitUntilShown;
using Lines = std::vector<std::string>;

TEST(ModalWindow, CallerWaitsUntilItClosesWhileOtherTimersKeepTicking)
{
    testing::ModalWatchdog watchdog;
    EventLog mainEvents;
    EventLog dialogEvents;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window dialog(WindowKind::Dialog, 466, 454, dialogEvents);
    Timer pieces(main);
    int ticks = 0;
    pieces.setTickHandler([&] { ++ticks; });
    pieces.setInterval(5);
    pieces.setEnabled(true);
    main.show();

    std::vector<std::string> order;
    int ticksWhenOpened = -1;
    simulate::whenModalOpens([&](Window& opened) {
        EXPECT_EQ(&opened, &dialog);
        EXPECT_EQ(simulate::openModalWindow(), &dialog);
        EXPECT_TRUE(dialog.isModal());
        order.push_back("opened");
        ticksWhenOpened = ticks;
        // Wait inside the dialog's loop until the main window's timer has ticked a few times.
        simulate::after(0, [&] {
            testing::waitUntil([&] { return ticks >= ticksWhenOpened + 3; });
            order.push_back("closing");
            dialog.close();
        });
    });
    dialog.showModal();
    order.push_back("returned");

    EXPECT_EQ(order, (Lines{"opened", "closing", "returned"}));
    EXPECT_GE(ticks, ticksWhenOpened + 3);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(simulate::openModalWindow(), nullptr);
    EXPECT_EQ(dialogEvents.only({"load", "unload"}), (Lines{"load", "unload"}));
    main.close();
}

TEST(ModalWindow, WindowsBehindItTakeNoMouseKeysOrCloseBox)
{
    testing::ModalWatchdog watchdog;
    EventLog mainEvents;
    EventLog dialogEvents;
    Window main(WindowKind::Main, 765, 563, mainEvents);
    Window dialog(WindowKind::Dialog, 329, 207, dialogEvents);
    main.show();
    ASSERT_TRUE(waitUntilShown(main));
    mainEvents.clear();

    simulate::whenModalOpens([&](Window&) {
        ASSERT_TRUE(waitUntilShown(dialog));
        simulate::mouseDown(main, MouseButtons::Left, 100, 100);
        simulate::doubleClick(main, MouseButtons::Right, 100, 100);
        simulate::mouseMove(main, 50, 50);
        simulate::keyStroke(main, KeyCodes::Escape);
        simulate::closeBox(main);
        // The dialog itself takes all of them.
        simulate::mouseDown(dialog, MouseButtons::Left, 10, 10);
        simulate::keyStroke(dialog, KeyCodes::Enter);
        simulate::closeBox(dialog);
    });
    dialog.showModal();

    EXPECT_EQ(mainEvents.only({"down", "dblclick", "move", "keydown", "keypress", "unload"}), Lines{});
    EXPECT_TRUE(main.isOpen());
    EXPECT_EQ(dialogEvents.only({"down", "keydown", "keypress", "unload"}),
              (Lines{"down 1 10 10", "keydown 13", "keypress 13", "unload"}));

    // Once it has closed, the main window takes input again.
    simulate::mouseDown(main, MouseButtons::Left, 100, 100);
    EXPECT_EQ(mainEvents.count("down"), 1);
    main.close();
}

TEST(ModalWindow, NestedModalWindowsReturnInnermostFirstAndCanOpenAgain)
{
    testing::ModalWatchdog watchdog;
    EventLog outerEvents;
    EventLog innerEvents;
    Window outer(WindowKind::Dialog, 200, 100, outerEvents);
    Window inner(WindowKind::Borderless, 100, 50, innerEvents);
    std::vector<std::string> order;

    simulate::whenModalOpens([&](Window& opened) {
        EXPECT_EQ(&opened, &outer);
        simulate::whenModalOpens([&](Window& innermost) {
            EXPECT_EQ(&innermost, &inner);
            EXPECT_EQ(simulate::openModalWindow(), &inner);
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
    order.push_back("outer returned again");

    EXPECT_EQ(order, (Lines{"inner returned", "outer returned", "outer returned again"}));
    EXPECT_EQ(outerEvents.only({"load", "unload"}), (Lines{"load", "unload", "load", "unload"}));
}

TEST(ModalWindow, ShowingAnOpenWindowModallyDoesNotWait)
{
    testing::ModalWatchdog watchdog;
    EventLog events;
    Window dialog(WindowKind::Dialog, 100, 50, events);
    dialog.show();
    dialog.showModal();   // returns at once: nothing would ever close it from here
    EXPECT_TRUE(dialog.isOpen());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(events.count("load"), 1);
    dialog.close();
}

TEST(ModalWindow, DestroyingTheWindowFromInsideItsLoopReturnsSafely)
{
    testing::ModalWatchdog watchdog;
    EventLog events;
    auto dialog = std::make_unique<Window>(WindowKind::Dialog, 100, 50, events);
    simulate::whenModalOpens([&](Window&) { simulate::after(0, [&] { dialog.reset(); }); });
    dialog->showModal();
    EXPECT_EQ(dialog, nullptr);
    EXPECT_EQ(simulate::openModalWindow(), nullptr);
    EXPECT_EQ(events.count("unload"), 0);   // its owner was going away: no handler runs
}

} // namespace
} // namespace snugbox
