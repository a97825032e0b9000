#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "dialogs/diag_un.h"
#include "graphics/graphics.h"
#include "tests/dialogs/dialog_test_support.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "tests/support/scripted_random.h"

namespace snugbox {
namespace {

class NameEntryDialog : public ::testing::Test {
protected:
    NameEntryDialog() { graphics.spriteSurface = testing::codedSheet(); }

    // Opens the dialog, runs the action inside its event loop and returns the name it gave.
    std::string enterName(const std::function<void(Window&)>& whileOpen)
    {
        simulate::whenModalOpens([&](Window& window) {
            for (int wait = 0; wait < 200 && !dialog.txtName().hasFocus(); ++wait) simulate::processEvents(5);
            EXPECT_TRUE(dialog.txtName().hasFocus());
            EXPECT_EQ(dialog.txtName().text(), "") << "nothing carries over from the last opening";
            whileOpen(window);
        });
        dialog.show();
        EXPECT_FALSE(dialog.window().isOpen());
        return dialog.nameEntered;
    }
    std::string typeAndPressOk(const std::string& typed)
    {
        return enterName([&](Window& window) {
            simulate::typeText(window, typed);
            simulate::click(dialog.OKButton());
        });
    }

    testing::ModalGuard guard;
    GraphicsResources graphics;
    testing::ScriptedRandom random{0.5, 0.0, 0.3, 0.3, 0.3, 0.3, 0.3, 0.3, 0.3, 0.3};
    diagUN dialog{graphics, random};
};

TEST_F(NameEntryDialog, TheNameIsKeptAsTypedCutToNineteenCharactersAndNeverEmpty)
{
    const std::string nineteen = "Abcdefghij Klmnopqr";
    EXPECT_EQ(typeAndPressOk(nineteen), nineteen);
    EXPECT_EQ(typeAndPressOk(nineteen + "stuv"), nineteen);
    EXPECT_EQ(typeAndPressOk("   "), "   ") << "spaces only stay spaces";
    EXPECT_EQ(typeAndPressOk(""), "-");
    // Whole characters, never half of one: 20 letters, most of two bytes each, keep 19.
    std::string twenty = "Zo";
    while (twenty.size() < 2 + 18 * 2) twenty += "ë";
    EXPECT_EQ(typeAndPressOk(twenty), twenty.substr(0, twenty.size() - 2));
}

TEST_F(NameEntryDialog, EnterAndTheCloseBoxGiveWhatOkGivesAndEscapeDoesNotClose)
{
    EXPECT_EQ(enterName([&](Window& window) {
                  simulate::typeText(window, "Twenty characters!!!");
                  simulate::keyStroke(window, KeyCodes::Escape);
                  simulate::processEvents(10);
                  EXPECT_TRUE(window.isOpen());
                  simulate::keyStroke(window, KeyCodes::Enter);
              }),
              "Twenty characters!!");
    EXPECT_EQ(enterName([&](Window& window) {
                  simulate::typeText(window, "Twenty characters!!!");
                  simulate::closeBox(window);
              }),
              "Twenty characters!!");
    EXPECT_EQ(enterName([&](Window& window) { simulate::closeBox(window); }), "-");
}

TEST_F(NameEntryDialog, CongratulatesInsideTheWindowOverAFreshRandomTile)
{
    enterName([&](Window& window) {
        EXPECT_EQ(window.caption(), "Best Score");
        // 0.5 draws tile 5, at (180, 0) of the sheet, stretched over all 329 x 207 pixels.
        EXPECT_EQ(window.surface().pixel(0, 0), testing::codedColour(180, 0));
        EXPECT_EQ(window.surface().pixel(328, 206), testing::codedColour(224, 44));

        Label& message = dialog.lblCongMsg();
        EXPECT_EQ(message.text(), " Congratulations ! \n Your Score is among High scores ");
        EXPECT_EQ(message.y(), 22);
        EXPECT_EQ(message.x(), std::min(153, 329 - message.width())) << "at its place, or as near as fits";
        Label arialBold(window);
        arialBold.setVisible(false);
        arialBold.setFont(Font{"Arial", 8.25, true});
        arialBold.setText(message.text());
        EXPECT_EQ(message.width(), arialBold.width());
        EXPECT_EQ(message.height(), arialBold.height());

        const Surface shown = window.snapshot();
        const Rect yellow = testing::boundsOfColour(shown, Rgb{255, 255, 0});
        EXPECT_FALSE(yellow.isEmpty()) << "the message in yellow";
        EXPECT_GE(yellow.left, message.x());
        EXPECT_FALSE(testing::boundsOfColour(shown, Rgb{255, 255, 128}).isEmpty()) << "Enter Your Name, paler";
        simulate::closeBox(window);
    });
    enterName([&](Window& window) {
        EXPECT_EQ(window.surface().pixel(0, 0), testing::codedColour(45, 0)) << "0.0 draws tile 2";
        simulate::closeBox(window);
    });
}

} // namespace
} // namespace snugbox
