#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>

#include <string>

#include "platform/controls.h"
#include "platform/controls_impl.h"
#include "platform/event_simulation.h"
#include "platform/input_mapping_impl.h"
#include "platform/window.h"
#include "platform/window_impl.h"
#include "window_test_support.h"

namespace snugbox {
namespace {

using testing::EventLog;
using testing::waitUntilShown;
using Lines = std::vector<std::string>;

class OpenWindow : public ::testing::Test {
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

using MouseInput = OpenWindow;
using KeyInput = OpenWindow;

TEST_F(MouseInput, PressesArriveWithTheirButtonCodeAndLogicalPosition)
{
    simulate::mouseDown(window, MouseButtons::Left, 10, 20);
    simulate::mouseDown(window, MouseButtons::Right, 0, 0);
    simulate::mouseDown(window, MouseButtons::Middle, 299, 199);
    EXPECT_EQ(events.only({"down", "dblclick"}), (Lines{"down 1 10 20", "down 2 0 0", "down 4 299 199"}));
}

TEST_F(MouseInput, MovesArriveWithTheirPosition)
{
    simulate::mouseMove(window, 3, 4);
    simulate::mouseMove(window, 250, 6);
    EXPECT_EQ(events.only({"move"}), (Lines{"move 0 3 4", "move 0 250 6"}));
}

TEST_F(MouseInput, SecondPressOfAQuickDoublePressArrivesAsADoubleClickOnly)
{
    simulate::doubleClick(window, MouseButtons::Right, 40, 50);
    EXPECT_EQ(events.only({"down", "dblclick"}), (Lines{"down 2 40 50", "dblclick"}));

    // Presses far apart in time stay single presses.
    events.clear();
    simulate::mouseDown(window, MouseButtons::Right, 40, 50);
    simulate::mouseDown(window, MouseButtons::Right, 40, 50);
    EXPECT_EQ(events.only({"down", "dblclick"}), (Lines{"down 2 40 50", "down 2 40 50"}));
}

TEST_F(KeyInput, KeyDownComesBeforeKeyPressForEscAndEnter)
{
    simulate::keyStroke(window, KeyCodes::Escape);
    simulate::keyStroke(window, KeyCodes::Enter);
    EXPECT_EQ(events.only({"keydown", "keypress"}),
              (Lines{"keydown 27", "keypress 27", "keydown 13", "keypress 13"}));
}

TEST_F(KeyInput, LettersGiveTheirCapitalAsCodeAndTheirCharacterAsPress)
{
    simulate::keyStroke(window, 'A');
    simulate::keyStroke(window, '7');
    simulate::keyStroke(window, KeyCodes::F1);      // types nothing
    simulate::keyStroke(window, KeyCodes::Left);
    EXPECT_EQ(events.only({"keydown", "keypress"}),
              (Lines{"keydown 65", "keypress 97", "keydown 55", "keypress 55", "keydown 112", "keydown 37"}));
}

TEST_F(KeyInput, KeyDownThatClosesTheWindowEndsTheKeyThere)
{
    class Closer : public EventLog {
    public:
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
        const int qtKey = qtKeyFor(code);
        if (qtKey == Qt::Key_unknown) continue;
        EXPECT_EQ(keyCodeOf(qtKey), code) << code;
    }
    EXPECT_EQ(keyCodeOf(Qt::Key_Enter), KeyCodes::Enter);   // the keypad's Enter too
    EXPECT_EQ(keyCodeOf(Qt::Key_F12), KeyCodes::F1 + 11);
    EXPECT_EQ(keyCodeOf(Qt::Key_F13), 0);
    EXPECT_EQ(keyCodeOf(Qt::Key_VolumeUp), 0);
    EXPECT_EQ(buttonCodeOf(Qt::BackButton), 0);
    EXPECT_EQ(buttonCodesOf(Qt::LeftButton | Qt::MiddleButton | Qt::BackButton), 5);
    EXPECT_EQ(shiftStateOf(Qt::ShiftModifier | Qt::AltModifier), ShiftKeys::Shift | ShiftKeys::Alt);
    EXPECT_EQ(characterOf(QString()), -1);
    EXPECT_EQ(characterOf(QString::fromUtf8("\xF0\x9F\x99\x82")), 0x1F642);   // beyond 16 bits
}

// The name-entry layout: two labels, a text box and a default OK button over a picture.
class NameEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        events.whenLoading = [this] {
            name.setText("");
            name.setFocus();
        };
        message.setPosition(153, 22);
        message.setCentredLines(true);
        message.setFont(Font{"Arial", 8.25, true});
        message.setTextColour(Rgb{255, 255, 0});
        message.setText(" Congratulations ! \r\n Your Score is among High scores ");
        name.setGeometry(133, 101, 166, 22);
        ok.setGeometry(128, 153, 81, 25);
        ok.setCaption("OK");
        ok.setDefault(true);
        ok.setClickHandler([this] {
            ++okPresses;
            dialog.close();
        });
    }

    EventLog events;
    Window dialog{WindowKind::Dialog, 329, 207, events};
    Label message{dialog};
    TextBox name{dialog};
    PushButton ok{dialog};
    int okPresses = 0;
};

TEST_F(NameEntry, TypedTextGoesToTheFocusedBoxAndEnterPressesTheDefaultButton)
{
    dialog.show();
    ASSERT_TRUE(waitUntilShown(dialog));
    EXPECT_TRUE(name.hasFocus());
    simulate::typeText(dialog, "Zoë  O'Neil ");
    EXPECT_EQ(name.text(), "Zoë  O'Neil ");
    // Esc belongs to nobody here: the box has the focus and the window gets no keys.
    simulate::keyStroke(dialog, KeyCodes::Escape);
    EXPECT_TRUE(dialog.isOpen());
    simulate::keyStroke(dialog, KeyCodes::Enter);
    EXPECT_EQ(okPresses, 1);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(events.only({"keydown", "keypress"}), Lines{});
    EXPECT_EQ(name.text(), "Zoë  O'Neil ");   // still there for the closing code to read
}

TEST_F(NameEntry, EachOpeningStartsWithTheFocusInAnEmptyBox)
{
    dialog.show();
    ASSERT_TRUE(waitUntilShown(dialog));
    simulate::typeText(dialog, "first");
    simulate::click(ok);
    EXPECT_EQ(okPresses, 1);
    dialog.show();
    ASSERT_TRUE(waitUntilShown(dialog));
    EXPECT_TRUE(testing::waitUntil([&] { return name.hasFocus(); }));
    EXPECT_EQ(name.text(), "");
    dialog.close();
}

TEST_F(NameEntry, SnapshotShowsTheControlsOverTheSurface)
{
    const Rgb backdrop{20, 90, 30};
    events.whenLoading = [&] { dialog.surface().fillRect(Rect{0, 0, 329, 207}, Brush{true, backdrop}); };
    dialog.show();
    ASSERT_TRUE(waitUntilShown(dialog));

    const Surface shot = dialog.snapshot();
    ASSERT_EQ(shot.width(), 329);
    ASSERT_EQ(shot.height(), 207);
    EXPECT_EQ(shot.pixel(5, 5), backdrop) << "the surface shows where no control lies";
    EXPECT_EQ(shot.pixel(133 + 150, 101 + 11), (Rgb{255, 255, 255})) << "the text box";
    int yellow = 0;
    for (int y = 0; y < 207; ++y) {
        for (int x = 0; x < 329; ++x) {
            if (shot.pixel(x, y) == Rgb{255, 255, 0}) {
                ++yellow;
                EXPECT_GE(x, message.x());
                EXPECT_GE(y, message.y());
            }
        }
    }
    EXPECT_GT(yellow, 100) << "the label's glyphs, drawn over the picture";
    EXPECT_EQ(dialog.surface().pixel(message.x() + 40, message.y() + 5), backdrop) << "the surface itself is untouched";
    dialog.close();
}

TEST_F(NameEntry, TheTextBoxHasNoLengthLimit)
{
    const std::string longName(40000, 'x');
    name.setText(longName);
    EXPECT_EQ(name.text().size(), longName.size());
}

TEST_F(NameEntry, LabelsSizeToTheirTextAndCentreTheirLines)
{
    EXPECT_EQ(message.text(), " Congratulations ! \n Your Score is among High scores ");
    EXPECT_EQ(message.x(), 153);
    EXPECT_EQ(message.y(), 22);
    const int twoLines = message.height();
    const int width = message.width();
    message.setText(" Congratulations ! ");
    EXPECT_LT(message.height(), twoLines);
    EXPECT_LT(message.width(), width);
    EXPECT_GT(message.width(), 0);
    // Sized as a 96 dpi desktop sizes 8.25 pt: an 11 pixel font, whatever the screen.
    EXPECT_EQ(message.impl().label->font().pixelSize(), 11);
    EXPECT_TRUE(message.impl().label->font().bold());
    EXPECT_EQ(message.impl().label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(Label, TakesThePressesOnItAndReportsClicks)
{
    EventLog events;
    Window window(WindowKind::Main, 765, 563, events);
    Label paused(window);
    paused.setGeometry(15, 139, 385, 49);
    paused.setFont(Font{"Arial Black", 12, true});
    paused.setText("Game Paused - Click here to resume");
    int clicks = 0;
    paused.setClickHandler([&] { ++clicks; });
    window.show();
    ASSERT_TRUE(waitUntilShown(window));
    events.clear();

    EXPECT_EQ(paused.width(), 385);   // a fixed rectangle is not sized to the text
    simulate::mouseDown(window, MouseButtons::Left, 20, 150);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(events.count("down"), 0);
    simulate::mouseDown(window, MouseButtons::Left, 14, 150);   // just beside it
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(events.count("down"), 1);

    paused.setVisible(false);
    EXPECT_FALSE(paused.isVisible());
    simulate::mouseDown(window, MouseButtons::Left, 20, 150);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(events.count("down"), 2);
    window.close();
}

TEST(PushButton, OnlyOneDefaultButtonPerWindow)
{
    EventLog events;
    Window window(WindowKind::Dialog, 200, 100, events);
    PushButton first(window);
    PushButton second(window);
    int firstPresses = 0;
    int secondPresses = 0;
    first.setClickHandler([&] { ++firstPresses; });
    second.setClickHandler([&] { ++secondPresses; });
    first.setDefault(true);
    second.setDefault(true);
    EXPECT_FALSE(first.isDefault());
    EXPECT_TRUE(second.isDefault());
    window.show();
    ASSERT_TRUE(waitUntilShown(window));
    widgetOf(window)->setFocus();
    simulate::keyStroke(window, KeyCodes::Enter);
    EXPECT_EQ(firstPresses, 0);
    EXPECT_EQ(secondPresses, 1);

    // Without a default button Enter is an ordinary key of the window.
    second.setDefault(false);
    simulate::keyStroke(window, KeyCodes::Enter);
    EXPECT_EQ(secondPresses, 1);
    EXPECT_EQ(events.only({"keydown", "keypress"}), (Lines{"keydown 13", "keypress 13"}));
    window.close();
}

} // namespace
} // namespace snugbox
