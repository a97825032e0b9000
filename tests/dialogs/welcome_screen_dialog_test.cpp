#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "dialogs/diag_sws.h"
#include "graphics/colours.h"
#include "graphics/graphics.h"
#include "graphics/resource_strings.h"
#include "platform/desktop.h"
#include "tests/dialogs/dialog_test_support.h"
#include "tests/graphics/graphics_test_helpers.h"

namespace snugbox {
namespace {

class WelcomeScreen : public ::testing::Test {
protected:
    WelcomeScreen()
    {
        graphics.backgroundSurface = testing::codedSheet(800, 500);
        replaceDesktopOpener([this](const std::string& target) { opened.push_back(target); });
    }
    ~WelcomeScreen() override { replaceDesktopOpener(nullptr); }

    testing::ModalGuard guard;
    GraphicsResources graphics;
    diagSWS welcome{graphics};
    std::vector<std::string> opened;
};

TEST_F(WelcomeScreen, ShowsThePicturesTopLeftAndASmallerOneCoversOnlyItsArea)
{
    for (const int pictureHeight : {500, 200}) {
        graphics.backgroundSurface = testing::codedSheet(pictureHeight == 500 ? 800 : 300, pictureHeight);
        simulate::whenModalOpens([&](Window& window) {
            EXPECT_EQ(window.kind(), WindowKind::Borderless);
            const Surface shown = window.snapshot();
            int wrong = 0;
            for (int y = 0; y < 450; ++y) {
                for (int x = 0; x < 680; ++x) {
                    const bool onPicture = x < graphics.backgroundSurface.width() && y < pictureHeight;
                    wrong += shown.pixel(x, y) == (onPicture ? testing::codedColour(x, y) : darkBrush.colour) ? 0 : 1;
                }
            }
            EXPECT_EQ(wrong, 0) << "the picture where it reaches, the dark dialog colour beyond";
            window.close();
        });
        welcome.show();
    }
}

TEST_F(WelcomeScreen, ClosesItselfAfterTwoSecondsWhateverThePlayerDoes)
{
    bool openLate = false;
    simulate::whenModalOpens([&](Window& window) {
        simulate::after(1000, [&] {
            for (int key : {KeyCodes::Escape, KeyCodes::Enter, KeyCodes::Space}) simulate::keyStroke(window, key);
            const float presses[][2] = {{350, 420}, {550, 420}, {450, 400}, {450, 440}, {10, 10}, {450, 420}};
            for (const auto& at : presses) simulate::mouseDown(window, MouseButtons::Left, at[0], at[1]);
            simulate::mouseDown(window, MouseButtons::Right, 351, 401);
            EXPECT_EQ(opened.size(), 2u) << "only presses strictly inside the maker's area";
        });
        simulate::after(1900, [&] { openLate = window.isOpen(); });
    });
    const auto start = std::chrono::steady_clock::now();
    welcome.show();
    const std::chrono::duration<double, std::milli> shownFor = std::chrono::steady_clock::now() - start;

    EXPECT_TRUE(openLate);
    EXPECT_GE(shownFor.count(), 1995.0);
    EXPECT_LT(shownFor.count(), 3000.0);
    EXPECT_FALSE(welcome.splashTimer().isEnabled());
    EXPECT_EQ(opened, (std::vector<std::string>(2, loadResString(kStringMakerAddress))));
}

} // namespace
} // namespace snugbox
