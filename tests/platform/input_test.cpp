#include <gtest/gtest.h>

#include <QWidget>

#include <string>

#include "platform/controls.h"
#include "platform/event_simulation.h"
#include "platform/input_mapping_impl.h"
#include "platform/window.h"
#include "platform/window_impl.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::Lines;
using testing::waitUntilShown;

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(waitUntilShown(window));
        events.clear();
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
    for (int key : {KeyCodes::Escape, KeyCodes::Enter, int{'A'}, int{'7'}, KeyCodes::F1, KeyCodes::Left}) {
        simulate::keyStroke(window, key);
    }
    EXPECT_EQ(events.only({"keydown", "keypress"}), (Lines{"keydown 27", "keypress 27", "keydown 13", "keypress 13",
                                                           "keydown 65", "keypress 97", "keydown 55", "keypress 55",
                                                           "keydown 112", "keydown 37"}));
}

TEST_F(Input, AKeyDownThatClosesTheWindowEndsTheKeyThere)
{
    struct Closer : EventLog {
        Window* target = nullptr;
        void onKeyDown(int keyCode, int shift) override
        {
            EventLog::onKeyDown(keyCode, shift);
            target->close();
        }
    } closer;
    Window dialog(WindowKind::Dialog, 80, 60, closer);
    closer.target = &dialog;
    dialog.show();
    ASSERT_TRUE(waitUntilShown(dialog));
    simulate::keyStroke(dialog, KeyCodes::Escape);
    EXPECT_EQ(closer.only({"keydown", "keypress", "unload"}), (Lines{"keydown 27", "unload"}));
}

TEST(InputMapping, EveryKeyCodeMapsToAQtKeyAndBack)
{
    for (int code = 1; code < 256; ++code) {
        if (qtKeyFor(code) != Qt::Key_unknown) {
            EXPECT_EQ(keyCodeOf(qtKeyFor(code)), code);
        }
    }
    EXPECT_EQ(keyCodeOf(Qt::Key_Enter), KeyCodes::Enter) << "the keypad's Enter too";
    EXPECT_EQ(keyCodeOf(Qt::Key_F12), KeyCodes::F1 + 11);
    EXPECT_EQ(keyCodeOf(Qt::Key_F13) + keyCodeOf(Qt::Key_VolumeUp) + buttonCodeOf(Qt::BackButton), 0);
    EXPECT_EQ(buttonCodesOf(Qt::LeftButton | Qt::MiddleButton | Qt::BackButton), 5);
    EXPECT_EQ(shiftStateOf(Qt::ShiftModifier | Qt::AltModifier), ShiftKeys::Shift | ShiftKeys::Alt);
    EXPECT_EQ(characterOf(QString()), -1);
    EXPECT_EQ(characterOf(QString::fromUtf8("\xF0\x9F\x99\x82")), 0x1F642) << "beyond 16 bits";
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

    // Without a default button Enter is an ordinary key of the window.
    ok.setDefault(false);
    dialog.show();
    ASSERT_TRUE(waitUntilShown(dialog));
    widgetOf(dialog)->setFocus();
    simulate::keyStroke(dialog, KeyCodes::Enter);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(events.only({"keydown", "keypress"}), (Lines{"keydown 13", "keypress 13"}));
    dialog.close();
}

TEST(Controls, ALabelTakesThePressesOnItAndReportsClicks)
{
    EventLog events;
    Window window(WindowKind::Main, 765, 563, events);
    Label paused(window);
    paused.setGeometry(15, 139, 385, 49);
    paused.setText("Game Paused - Click here to resume");
    int clicks = 0;
    paused.setClickHandler([&] { ++clicks; });
    window.show();
    ASSERT_TRUE(waitUntilShown(window));
    simulate::mouseDown(window, MouseButtons::Left, 20, 150);
    simulate::mouseDown(window, MouseButtons::Left, 14, 150);   // just beside it
    paused.setVisible(false);
    simulate::mouseDown(window, MouseButtons::Left, 20, 150);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(events.only({"down"}), (Lines{"down 1 14 150", "down 1 20 150"}));
    window.close();
}

} // namespace
} // namespace snugbox
