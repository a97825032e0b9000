#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <memory>

#include "platform/event_simulation.h"
#include "platform/sleep.h"
#include "platform/surface.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::waitUntil;

class Timers : public ::testing::Test {
protected:
    void SetUp() override { window.show(); }
    void TearDown() override { window.close(); }

    // A timer of the window that counts its ticks.
    std::unique_ptr<Timer> counting(int& ticks, int interval, bool enabled = true)
    {
        auto timer = std::make_unique<Timer>(window);
        timer->setTickHandler([&ticks] { ++ticks; });
        timer->setInterval(interval);
        timer->setEnabled(enabled);
        return timer;
    }

    testing::EventLog events;
    Window window{WindowKind::Main, 765, 563, events};
};

TEST_F(Timers, AZeroIntervalNeverTicksEvenWhenEnabledWhileANonzeroOneDoes)
{
    int silentTicks = 0;
    int tickingTicks = 0;
    const auto silent = counting(silentTicks, 0);   // as the piece timer starts
    const auto ticking = counting(tickingTicks, 5);
    EXPECT_TRUE(silent->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return tickingTicks >= 5; }));
    silent->setInterval(-20);   // nonsense counts as 0
    EXPECT_EQ(silent->interval(), 0);
    simulate::processEvents(20);
    EXPECT_EQ(silentTicks, 0);
}

TEST_F(Timers, EnablingOrSettingTheIntervalStartsAFullIntervalFromNow)
{
    int ticks = 0;
    const auto timer = counting(ticks, 60);
    simulate::processEvents(40);
    QElapsedTimer clock;
    for (bool byInterval : {true, false}) {
        ticks = 0;
        clock.start();
        if (byInterval) {
            timer->setInterval(60);
        } else {
            timer->setEnabled(false);
            timer->setEnabled(true);
        }
        ASSERT_TRUE(waitUntil([&] { return ticks > 0; }));
        EXPECT_GE(clock.elapsed(), 59) << (byInterval ? "interval set again" : "enabled again");
    }
}

TEST_F(Timers, ClosingTheOwnerDisablesItsTimersKeepingTheInterval)
{
    int ticks = 0;
    const auto timer = counting(ticks, 5);
    ASSERT_TRUE(waitUntil([&] { return ticks >= 1; }));
    window.close();
    const int ticksWhenClosed = ticks;
    simulate::processEvents(30);
    EXPECT_EQ(ticks, ticksWhenClosed);
    EXPECT_FALSE(timer->isEnabled());
    EXPECT_EQ(timer->interval(), 5);
}

TEST_F(Timers, ATimerMayBeDestroyedFromItsOwnTickOrOutliveItsWindow)
{
    auto timer = std::make_unique<Timer>(window);
    int ticks = 0;
    timer->setTickHandler([&] {
        ++ticks;
        timer.reset();
    });
    timer->setInterval(1);
    timer->setEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return timer == nullptr; }));

    auto dialog = std::make_unique<Window>(WindowKind::Dialog, 10, 10, events);
    Timer orphan(*dialog);
    orphan.setTickHandler([&] { ++ticks; });
    dialog.reset();
    orphan.setInterval(1);
    orphan.setEnabled(true);
    simulate::processEvents(20);
    EXPECT_EQ(ticks, 1);
}

TEST_F(Timers, ATickWhileItsHandlerWaitsInAModalWindowIsDropped)
{
    testing::ModalWatchdog watchdog;
    testing::EventLog dialogEvents;
    Window dialog(WindowKind::Dialog, 100, 50, dialogEvents);
    int otherTicks = 0;
    const auto other = counting(otherTicks, 5);
    int entered = 0;
    Timer timer(window);
    timer.setTickHandler([&] {
        if (++entered > 1) return;
        simulate::whenModalOpens([&](Window&) {
            waitUntil([&] { return otherTicks >= 10; });
            dialog.close();
        });
        dialog.showModal();
    });
    timer.setInterval(2);
    timer.setEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return otherTicks >= 10 && !dialog.isOpen(); }));
    EXPECT_EQ(entered, 1) << "during the dialog only the first tick's handler ran";
    ASSERT_TRUE(waitUntil([&] { return entered > 1; })) << "afterwards ticks come again";
}

TEST_F(Timers, SleepBlocksTicksButKeepsThePresentedFrame)
{
    int ticks = 0;
    const auto timer = counting(ticks, 1);
    ASSERT_TRUE(testing::waitUntilShown(window));
    window.surface().fillRect(Rect{0, 0, 40, 40}, Brush{true, Rgb{0, 200, 0}});
    window.refresh();
    const int ticksBefore = ticks;
    QElapsedTimer clock;
    clock.start();
    sleepMilliseconds(30);
    sleepMilliseconds(-5);   // nothing to wait for
    EXPECT_GE(clock.elapsed(), 29);
    EXPECT_EQ(ticks, ticksBefore) << "nothing ran meanwhile";
    EXPECT_EQ(testing::presented(window).pixel(5, 5), qRgb(0, 200, 0));
    ASSERT_TRUE(waitUntil([&] { return ticks > ticksBefore; }));
}

} // namespace
} // namespace snugbox
