#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "platform/event_simulation.h"
#include "platform/sleep.h"
#include "platform/surface.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::waitUntil;

class Timers : public ::testing::Test {
protected:
    void SetUp() override { window.show(); }
    void TearDown() override { window.close(); }

    EventLog events;
    Window window{WindowKind::Main, 765, 563, events};
};

TEST_F(Timers, ZeroIntervalNeverTicksEvenWhenEnabledWhileANonzeroOneDoes)
{
    Timer silent(window);
    Timer ticking(window);
    int silentTicks = 0;
    int tickingTicks = 0;
    silent.setTickHandler([&] { ++silentTicks; });
    ticking.setTickHandler([&] { ++tickingTicks; });
    silent.setEnabled(true);   // enabled with interval 0, as the piece timer starts
    ticking.setInterval(5);
    ticking.setEnabled(true);
    EXPECT_TRUE(silent.isEnabled());
    EXPECT_EQ(silent.interval(), 0);

    ASSERT_TRUE(waitUntil([&] { return tickingTicks >= 5; }));
    EXPECT_EQ(silentTicks, 0);

    silent.setInterval(-20);   // nonsense counts as 0
    EXPECT_EQ(silent.interval(), 0);
    simulate::processEvents(20);
    EXPECT_EQ(silentTicks, 0);
}

TEST_F(Timers, DisabledTimerIsSilentUntilEnabledAgain)
{
    Timer timer(window);
    int ticks = 0;
    timer.setTickHandler([&] { ++ticks; });
    timer.setInterval(5);
    simulate::processEvents(30);
    EXPECT_EQ(ticks, 0);   // a new timer is disabled
    timer.setEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return ticks >= 2; }));
    timer.setEnabled(false);
    const int ticksWhenDisabled = ticks;
    simulate::processEvents(30);
    EXPECT_EQ(ticks, ticksWhenDisabled);
}

TEST_F(Timers, EnablingOrSettingTheIntervalStartsAFullIntervalFromNow)
{
    Timer timer(window);
    QElapsedTimer clock;
    qint64 firstTick = -1;
    timer.setTickHandler([&] {
        if (firstTick < 0) firstTick = clock.elapsed();
    });
    timer.setInterval(60);
    timer.setEnabled(true);
    simulate::processEvents(40);
    // Setting the interval again restarts the count: no tick may come 60 ms after the start.
    clock.start();
    timer.setInterval(60);
    ASSERT_TRUE(waitUntil([&] { return firstTick >= 0; }));
    EXPECT_GE(firstTick, 59);

    firstTick = -1;
    timer.setEnabled(false);
    clock.start();
    timer.setEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return firstTick >= 0; }));
    EXPECT_GE(firstTick, 59);
}

TEST_F(Timers, ClosingTheOwnerDisablesItsTimers)
{
    Timer timer(window);
    int ticks = 0;
    timer.setTickHandler([&] { ++ticks; });
    timer.setInterval(5);
    timer.setEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return ticks >= 1; }));
    window.close();
    EXPECT_FALSE(timer.isEnabled());
    const int ticksWhenClosed = ticks;
    simulate::processEvents(30);
    EXPECT_EQ(ticks, ticksWhenClosed);
    EXPECT_EQ(timer.interval(), 5);   // the interval is kept for the next opening
}

TEST_F(Timers, ATickWhileItsHandlerWaitsInAModalWindowIsDropped)
{
    testing::ModalWatchdog watchdog;
    EventLog dialogEvents;
    Window dialog(WindowKind::Dialog, 100, 50, dialogEvents);
    Timer timer(window);
    Timer other(window);
    int entered = 0;
    int otherTicks = 0;
    other.setTickHandler([&] { ++otherTicks; });
    other.setInterval(5);
    other.setEnabled(true);
    timer.setTickHandler([&] {
        ++entered;
        if (entered > 1) return;
        simulate::whenModalOpens([&](Window&) {
            waitUntil([&] { return otherTicks >= 10; });
            dialog.close();
        });
        dialog.showModal();
    });
    timer.setInterval(2);
    timer.setEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return otherTicks >= 10 && !dialog.isOpen(); }));
    // During the dialog only the first tick's handler ran; afterwards ticks come again.
    const int enteredAfterDialog = entered;
    EXPECT_EQ(enteredAfterDialog, 1);
    ASSERT_TRUE(waitUntil([&] { return entered > enteredAfterDialog; }));
}

TEST_F(Timers, ATimerMayBeDestroyedFromItsOwnTick)
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
    simulate::processEvents(20);
    EXPECT_EQ(ticks, 1);
}

TEST_F(Timers, SleepBlocksTicksButKeepsThePresentedFrame)
{
    Timer timer(window);
    int ticks = 0;
    timer.setTickHandler([&] { ++ticks; });
    timer.setInterval(1);
    timer.setEnabled(true);
    ASSERT_TRUE(testing::waitUntilShown(window));
    window.surface().fillRect(Rect{0, 0, 40, 40}, Brush{true, Rgb{0, 200, 0}});
    window.refresh();
    const int ticksBefore = ticks;
    QElapsedTimer clock;
    clock.start();
    sleepMilliseconds(30);
    EXPECT_GE(clock.elapsed(), 29);
    EXPECT_EQ(ticks, ticksBefore);   // nothing ran meanwhile
    EXPECT_EQ(testing::presented(window).pixel(5, 5), qRgb(0, 200, 0));
    sleepMilliseconds(-5);           // nothing to wait for
    ASSERT_TRUE(waitUntil([&] { return ticks > ticksBefore; }));
}

TEST(Timer, OutlivingItsWindowIsHarmless)
{
    EventLog events;
    auto window = std::make_unique<Window>(WindowKind::Dialog, 10, 10, events);
    Timer timer(*window);
    int ticks = 0;
    timer.setTickHandler([&] { ++ticks; });
    window.reset();
    timer.setInterval(1);
    timer.setEnabled(true);
    simulate::processEvents(20);
    EXPECT_EQ(ticks, 0);
}

} // namespace
} // namespace snugbox
