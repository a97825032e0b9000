#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/diag_sws.h"
#include "dialogs/diag_un.h"
#include "dialogs/frm_stats.h"
#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/resource_strings.h"
#include "platform/desktop.h"
#include "tests/support/platform/event_simulation.h"
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

// What a table shows above its buttons: the title, when there is one, and the eight rows.
Surface tableShowing(const BestScoreTable& table, const std::string& title)
{
    Surface shown = filledSurface(466, 454, darkBrush.colour);
    shown.setFont(Font{"Times New Roman", 14.25, true});
    Panel cell = panelOn(shown, 143, 22, 180, 30);
    cell.textColour = hoverTextColour;
    if (!title.empty()) drawButton(cell, kButtonFilled, false, 2, title);
    cell.textColour = rowTextColour;
    for (int row = 1; row <= 8; ++row) {
        cell.x = 45, cell.y = 45 * row, cell.width = 270, cell.height = 45;
        drawShadowText(cell, 1, table.names[row], -1);
        cell.x = 360, cell.width = 90;
        drawShadowText(cell, 1, std::to_string(table.scores[row]), -1);
    }
    return shown;
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
    frmStats stats{state, {}};   // saving at once is the game window's; its tests look in the store
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

TEST_F(BestScoresDialog, EnterEscapeAndOkCloseItWhileOtherKeysLeaveItOpen)
{
    for (int closer : {int{KeyCodes::Enter}, int{KeyCodes::Escape}, -1}) {
        bool stayedOpen = false;
        bool closed = false;
        openTable(1, [&](Window& window, Surface&) {
            simulate::keyStroke(window, KeyCodes::Space);
            stayedOpen = window.isOpen();
            if (closer < 0) {
                simulate::mouseDown(window, MouseButtons::Left, 150, 420);
            } else {
                simulate::keyStroke(window, closer);
            }
            closed = !window.isOpen();
        });
        EXPECT_TRUE(stayedOpen && closed) << closer;
    }
}

TEST_F(BestScoresDialog, ClearScoresClearsTheShownModeOnlyAndShowsItsName)
{
    state.bestScores[2].scores[2] = 89986;
    const BestScoreTable timeTrial = state.bestScores[1];
    BestScoreTable cleared;
    for (int row = 1; row <= 8; ++row) cleared.names[row] = "Anonoymous", cleared.scores[row] = 0;
    openTable(2, [&](Window& window, Surface& shown) {
        simulate::mouseMove(window, 300, 420);
        simulate::mouseDown(window, MouseButtons::Left, 301, 421);
        EXPECT_TRUE(showsBlock(shown, 0, 0, tableShowing(cleared, "Normal"), 0, 0, 466, 400));
        EXPECT_FALSE(isLit(shown, kClear)) << "plain again under the pointer";
        EXPECT_TRUE(shown.takeChangedArea().isEmpty());

        const Surface once = shown.clone();
        simulate::mouseDown(window, MouseButtons::Left, 300, 420);
        EXPECT_TRUE(shown.pixelsEqual(once)) << "clearing twice gives the same picture";
    });
    EXPECT_EQ(std::pair(state.bestScores[1], state.bestScores[2]), std::pair(timeTrial, cleared));
}

TEST_F(BestScoresDialog, RowsShowNamesWithTheirMnemonicsAndCutAtTheCellsEdgeOnOneLine)
{
    state.bestScores[1].names[1] = "A&b";
    state.bestScores[1].names[3] = std::string(19, 'W');
    state.bestScores[1].scores[2] = 89986;
    openTable(1, [&](Window&, Surface& shown) {
        EXPECT_TRUE(showsBlock(shown, 0, 0, tableShowing(state.bestScores[1], ""), 0, 0, 466, 400));
        Surface wide(360, 45);   // row 3 up to the score cell
        wide.blockCopy(0, 0, 360, 45, shown, 0, 135, RasterOp::SrcCopy);
        EXPECT_EQ(boundsOfColour(wide, rowTextColour).right, 315) << "cut at the name cell's edge";
        EXPECT_LT(boundsOfColour(wide, rowTextColour).bottom, 24) << "on one line";
    });
}

// The name given for what was typed, and the dialog giving it however it closes.
TEST(NameEntry, TheNameIsKeptAsTypedCutToNineteenCharactersAndNeverEmptyHoweverTheDialogCloses)
{
    std::string twenty = "Zo";   // 20 letters, most of two bytes each: whole characters are kept
    while (twenty.size() < 2 + 18 * 2) twenty += "ë";
    // U+FEFF, invisible, would not survive the store at a name's start: it never gets in.
    const std::string mark = "\xEF\xBB\xBF";
    const std::pair<std::string, std::string> typedAndKept[] = {
        {"Abcdefghij Klmnopqr", "Abcdefghij Klmnopqr"}, {"   ", "   "}, {"", "-"},
        {twenty, twenty.substr(0, twenty.size() - 2)}, {mark + "Ada" + mark + "B", "AdaB"}, {mark + mark, "-"},
        {mark + "Abcdefghij Klmnopqr", "Abcdefghij Klmnopqr"}};
    for (const auto& [typed, kept] : typedAndKept) EXPECT_EQ(nameFromTyped(typed), kept) << typed;

    ModalGuard guard;
    GraphicsResources graphics;
    SeededRandom random{1};
    diagUN dialog{graphics, random};
    // Opens the dialog, types, closes it by `close` and returns the name it gave.
    const auto enterName = [&](const std::string& typed, const std::function<void(Window&)>& close) {
        simulate::whenModalOpens([&](Window& window) {
            for (int wait = 0; wait < 200 && !dialog.txtName().hasFocus(); ++wait) simulate::processEvents(5);
            EXPECT_EQ(dialog.txtName().text(), "") << "nothing carries over from the last opening";
            simulate::typeText(window, typed);
            close(window);
        });
        dialog.show();
        return dialog.nameEntered;
    };
    EXPECT_EQ(enterName("", [&](Window&) { simulate::click(dialog.OKButton()); }), "-");
    EXPECT_EQ(enterName("Ada", [](Window& window) { simulate::closeBox(window); }), "Ada");
    EXPECT_EQ(enterName("Twenty characters!!!",
                        [](Window& window) {
                            simulate::keyStroke(window, KeyCodes::Escape);
                            simulate::processEvents(10);
                            EXPECT_TRUE(window.isOpen()) << "Escape leaves it open";
                            simulate::keyStroke(window, KeyCodes::Enter);
                        }),
              "Twenty characters!!");
}

// A picture smaller than the screen covers only its own area.
TEST(WelcomeScreen, ShowsThePictureTopLeftAndClosesItselfAfterTwoSecondsWhateverThePlayerDoes)
{
    ModalGuard guard;
    std::vector<std::string> opened;
    replaceDesktopOpener([&](const std::string& target) { opened.push_back(target); });
    GraphicsResources graphics;
    graphics.backgroundSurface = codedSheet(300, 200);
    Surface expected = filledSurface(680, 450, darkBrush.colour);   // the dark dialog colour beyond
    expected.blockCopy(0, 0, 300, 200, graphics.backgroundSurface, 0, 0, RasterOp::SrcCopy);
    diagSWS welcome{graphics};
    simulate::whenModalOpens([&](Window& window) {
        EXPECT_TRUE(showsBlock(snapshot(window), 0, 0, expected, 0, 0, 680, 450));
        simulate::after(1000, [&] {
            for (int key : {KeyCodes::Escape, KeyCodes::Enter, KeyCodes::Space}) simulate::keyStroke(window, key);
            simulate::mouseDown(window, MouseButtons::Left, 350, 420);   // the edge of the maker's area
            simulate::mouseDown(window, MouseButtons::Left, 450, 420);
        });
    });
    const auto start = std::chrono::steady_clock::now();
    welcome.show();
    const std::chrono::duration<double, std::milli> shownFor = std::chrono::steady_clock::now() - start;
    replaceDesktopOpener(nullptr);
    EXPECT_GE(shownFor.count(), 1995.0);
    EXPECT_LT(shownFor.count(), 3000.0);
    EXPECT_EQ(opened, (std::vector<std::string>{loadResString(kStringMakerAddress)}));
}

} // namespace
} // namespace snugbox
