#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "dialogs/diag_sws.h"
#include "dialogs/diag_un.h"
#include "dialogs/frm_stats.h"
#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/resource_strings.h"
#include "platform/desktop.h"
#include "platform/event_simulation.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "tests/support/seeded_random.h"

namespace snugbox {
namespace {

using namespace testing;

// While it lives, a dialog left open for seconds is closed and the test fails, instead of
// the test never ending.
struct ModalGuard {
    ModalGuard()
    {
        Application::instance();
        simulate::after(6000, [armed = armed] {
            while (Window* stuck = *armed ? simulate::openModalWindow() : nullptr) {
                ADD_FAILURE() << "a modal dialog had to be closed by force";
                stuck->close();
            }
        });
    }
    ~ModalGuard() { *armed = false; }
    std::shared_ptr<bool> armed = std::make_shared<bool>(true);
};

constexpr Rect kOk{90, 405, 225, 435};
constexpr Rect kClear{270, 405, 405, 435};

// A lit button is outlined in the hover pen; a normal one is filled to its corner.
bool isLit(const Surface& shown, const Rect& button) { return shown.pixel(button.left, button.top) == hoverPen.colour; }

// What a cleared table shows above its buttons: the mode's name and eight empty rows.
Surface clearedTable(const std::string& modeName)
{
    Surface table = filledSurface(466, 454, darkBrush.colour);
    table.setFont(Font{"Times New Roman", 14.25, true});
    Panel title = panelOn(table, 143, 22, 180, 30);
    title.textColour = hoverTextColour;
    drawButton(title, kButtonFilled, false, 2, modeName);
    for (int row = 1; row <= 8; ++row) {
        Panel cell = panelOn(table, 45, 45 * row, 270, 45);
        cell.textColour = rowTextColour;
        drawShadowText(cell, 1, "Anonoymous", -1);
        cell.x = 360, cell.width = 90;
        drawShadowText(cell, 1, "0", -1);
    }
    return table;
}

class BestScoresDialog : public ::testing::Test {
protected:
    // Shows the table of `mode` with the action run inside its event loop.
    void openTable(std::int16_t mode, const std::function<void(Window&, Surface&)>& whileOpen)
    {
        stats.modeNum = mode;
        simulate::whenModalOpens([whileOpen](Window& window) {
            whileOpen(window, window.surface());
            if (window.isOpen()) window.close();
        });
        stats.show();
    }

    ModalGuard guard;
    GameState state;
    std::vector<std::int32_t> savedScores;   // row 2 of mode 2 each time the table asks to be saved
    frmStats stats{state, [this] { savedScores.push_back(state.bestScores[2].scores[2]); }};
};

TEST_F(BestScoresDialog, AButtonIsRedrawnOnlyWhenThePointerCrossesItsEdgeAndReopeningForgetsIt)
{
    openTable(2, [&](Window& window, Surface& shown) {
        simulate::mouseMove(window, 90, 420);   // on the left edge: outside
        EXPECT_FALSE(isLit(shown, kOk));
        simulate::mouseMove(window, 91, 406);
        EXPECT_TRUE(isLit(shown, kOk));
        EXPECT_TRUE(shown.takeChangedArea().isEmpty()) << "presented at once";
        shown.setPixel(92, 407, Rgb{1, 2, 3});   // any redraw of the button paints over it
        simulate::mouseMove(window, 224, 434);
        EXPECT_EQ(shown.pixel(92, 407), (Rgb{1, 2, 3})) << "moving within the button draws nothing";
        simulate::mouseMove(window, 150, 435);   // on the bottom edge: left it
        EXPECT_FALSE(isLit(shown, kOk));
        shown.setPixel(92, 407, Rgb{1, 2, 3});
        simulate::mouseMove(window, 10, 10);
        EXPECT_EQ(shown.pixel(92, 407), (Rgb{1, 2, 3})) << "moving outside draws nothing";
        simulate::mouseMove(window, 150, 420);
        simulate::mouseMove(window, 300, 420);   // straight from one button onto the other
        EXPECT_TRUE(!isLit(shown, kOk) && isLit(shown, kClear));
        simulate::mouseDown(window, MouseButtons::Left, 300, 420);
        simulate::mouseMove(window, 150, 420);
        simulate::keyStroke(window, KeyCodes::Escape);   // closed with the title shown and a button lit
    });
    openTable(2, [&](Window& window, Surface& shown) {
        EXPECT_FALSE(isLit(shown, kOk) || isLit(shown, kClear));
        EXPECT_EQ(boundsOfColour(shown, hoverTextColour), Rect{}) << "no title";
        simulate::mouseMove(window, 151, 421);
        EXPECT_TRUE(isLit(shown, kOk)) << "the first move onto a button lights it";
    });
}

TEST_F(BestScoresDialog, ClearScoresClearsTheShownModeOnlyShowsItsNameAndIsSavedAtOnce)
{
    state.bestScores[2].scores[2] = 89986;
    const BestScoreTable timeTrial = state.bestScores[1];
    openTable(2, [&](Window& window, Surface& shown) {
        simulate::mouseMove(window, 300, 420);
        simulate::mouseDown(window, MouseButtons::Left, 301, 421);
        EXPECT_TRUE(showsBlock(shown, 0, 0, clearedTable("Normal"), 0, 0, 466, 400));
        EXPECT_FALSE(isLit(shown, kClear)) << "plain again under the pointer";
        EXPECT_TRUE(shown.takeChangedArea().isEmpty());

        const Surface once = shown.clone();
        simulate::mouseDown(window, MouseButtons::Left, 300, 420);
        EXPECT_TRUE(shown.pixelsEqual(once)) << "clearing twice gives the same picture";
    });
    EXPECT_EQ(savedScores, (std::vector<std::int32_t>{0, 0})) << "saved at once, after the change";
    EXPECT_EQ(state.bestScores[1], timeTrial);
}

TEST_F(BestScoresDialog, NamesShowMnemonicsAndAreCutAtTheCellsEdgeOnOneLine)
{
    state.bestScores[1].names[1] = "A&b";
    state.bestScores[1].names[2] = "Ab";
    state.bestScores[1].names[3] = std::string(19, 'W');
    openTable(1, [&](Window&, Surface& shown) {
        // "A&b" is "Ab" plus a line under the b.
        int top = 45, bottom = 0, extra = 0;
        for (int i = 0; i < 270 * 44; ++i) {
            const int x = 45 + i % 270, y = i / 270;
            if (shown.pixel(x, 45 + y) == shown.pixel(x, 90 + y)) continue;
            EXPECT_EQ(shown.pixel(x, 90 + y), darkBrush.colour) << "same glyphs, at " << x << "," << y;
            top = std::min(top, y), bottom = std::max(bottom, y), ++extra;
        }
        EXPECT_GT(extra, 3);
        EXPECT_LE(bottom - top, 1);

        Surface wide(360, 45);   // row 3 up to the score cell
        wide.blockCopy(0, 0, 360, 45, shown, 0, 135, RasterOp::SrcCopy);
        EXPECT_EQ(boundsOfColour(wide, rowTextColour).right, 315) << "cut at the name cell's edge";
        EXPECT_LT(boundsOfColour(wide, rowTextColour).bottom, 24) << "on one line";
    });
}

TEST(NameEntry, TheNameIsKeptAsTypedCutToNineteenCharactersAndNeverEmpty)
{
    std::string twenty = "Zo";   // 20 letters, most of two bytes each: whole characters are kept
    while (twenty.size() < 2 + 18 * 2) twenty += "ë";
    const std::pair<std::string, std::string> typedAndKept[] = {
        {"Abcdefghij Klmnopqr", "Abcdefghij Klmnopqr"}, {"   ", "   "}, {"", "-"},
        {twenty, twenty.substr(0, twenty.size() - 2)}};
    for (const auto& [typed, kept] : typedAndKept) EXPECT_EQ(nameFromTyped(typed), kept) << typed;
}

class NameEntryDialog : public ::testing::Test {
protected:
    // Opens the dialog, types, closes it by `close` and returns the name it gave.
    std::string enterName(const std::string& typed, const std::function<void(Window&)>& close)
    {
        simulate::whenModalOpens([&](Window& window) {
            for (int wait = 0; wait < 200 && !dialog.txtName().hasFocus(); ++wait) simulate::processEvents(5);
            EXPECT_EQ(dialog.txtName().text(), "") << "nothing carries over from the last opening";
            simulate::typeText(window, typed);
            close(window);
        });
        dialog.show();
        EXPECT_FALSE(dialog.window().isOpen());
        return dialog.nameEntered;
    }

    ModalGuard guard;
    GraphicsResources graphics;
    SeededRandom random{1};
    diagUN dialog{graphics, random};
};

TEST_F(NameEntryDialog, OkEnterAndTheCloseBoxGiveTheNameAndEscapeDoesNotClose)
{
    EXPECT_EQ(enterName("", [&](Window&) { simulate::click(dialog.OKButton()); }), "-");
    EXPECT_EQ(enterName("Ada", [](Window& window) { simulate::closeBox(window); }), "Ada");
    EXPECT_EQ(enterName("Twenty characters!!!",
                        [](Window& window) {
                            simulate::keyStroke(window, KeyCodes::Escape);
                            simulate::processEvents(10);
                            EXPECT_TRUE(window.isOpen());
                            simulate::keyStroke(window, KeyCodes::Enter);
                        }),
              "Twenty characters!!");
}

class WelcomeScreen : public ::testing::Test {
protected:
    WelcomeScreen() { replaceDesktopOpener([this](const std::string& target) { opened.push_back(target); }); }
    ~WelcomeScreen() override { replaceDesktopOpener(nullptr); }

    ModalGuard guard;
    GraphicsResources graphics;
    diagSWS welcome{graphics};
    std::vector<std::string> opened;
};

TEST_F(WelcomeScreen, ShowsThePictureTopLeftAndASmallerOneCoversOnlyItsArea)
{
    graphics.backgroundSurface = codedSheet(300, 200);
    Surface expected = filledSurface(680, 450, darkBrush.colour);   // the dark dialog colour beyond
    expected.blockCopy(0, 0, 300, 200, graphics.backgroundSurface, 0, 0, RasterOp::SrcCopy);
    simulate::whenModalOpens([&](Window& window) {
        EXPECT_TRUE(showsBlock(window.snapshot(), 0, 0, expected, 0, 0, 680, 450));
        window.close();
    });
    welcome.show();
}

TEST_F(WelcomeScreen, ClosesItselfAfterTwoSecondsWhateverThePlayerDoes)
{
    simulate::whenModalOpens([&](Window& window) {
        simulate::after(1000, [&] {
            for (int key : {KeyCodes::Escape, KeyCodes::Enter, KeyCodes::Space}) simulate::keyStroke(window, key);
            simulate::mouseDown(window, MouseButtons::Left, 350, 420);   // the edge of the maker's area
            simulate::mouseDown(window, MouseButtons::Left, 450, 420);
        });
    });
    const auto start = std::chrono::steady_clock::now();
    welcome.show();
    const std::chrono::duration<double, std::milli> shownFor = std::chrono::steady_clock::now() - start;
    EXPECT_GE(shownFor.count(), 1995.0);
    EXPECT_LT(shownFor.count(), 3000.0);
    EXPECT_EQ(opened, (std::vector<std::string>{loadResString(kStringMakerAddress)}));
}

} // namespace
} // namespace snugbox
