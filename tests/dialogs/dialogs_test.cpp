#include <gtest/gtest.h>

#include <algorithm>
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
#include "platform/event_simulation.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "tests/support/seeded_random.h"

namespace snugbox {
namespace {

using testing::boundsOfColour;

// While it lives, a dialog left open for seconds is closed and the test fails, instead of
// the test never ending.
class ModalGuard {
public:
    ModalGuard()
    {
        Application::instance();
        simulate::after(6000, [armed = armed_] {
            while (Window* stuck = *armed ? simulate::openModalWindow() : nullptr) {
                ADD_FAILURE() << "a modal dialog had to be closed by force";
                stuck->close();
            }
        });
    }
    ~ModalGuard() { *armed_ = false; }

private:
    std::shared_ptr<bool> armed_ = std::make_shared<bool>(true);
};

constexpr Rect kOk{90, 405, 225, 435};
constexpr Rect kClear{270, 405, 405, 435};
constexpr Rgb kMark{1, 2, 3};

// Whether the area shows just what `draw` paints there alone on the table's background.
bool shows(const Surface& shown, const Rect& area, const std::function<void(Panel&)>& draw)
{
    Surface alone = testing::filledSurface(466, 454, darkBrush.colour);
    alone.setFont(Font{"Times New Roman", 14.25, true});
    Panel panel = testing::panelOn(alone, area.left, area.top, area.right - area.left, 45);
    panel.textColour = rowTextColour;
    draw(panel);
    return testing::showsBlock(shown, area.left, area.top, alone, area.left, area.top, area.right - area.left,
                               area.bottom - area.top);
}

// A row's last line is left out: the next row's text may rise into it by a pixel.
bool rowShows(const Surface& shown, int row, const std::string& name, const std::string& score)
{
    return shows(shown, Rect{45, 45 * row, 315, 45 * row + 44}, [&](Panel& p) { drawShadowText(p, 1, name, -1); }) &&
           shows(shown, Rect{360, 45 * row, 450, 45 * row + 44}, [&](Panel& p) { drawShadowText(p, 1, score, -1); });
}

// A button's corner, and its caption `rise` pixels right of its black shadow (looked for
// inside the frame, which has the lit caption's colour).
bool looks(const Surface& shown, const Rect& button, Rgb corner, Rgb caption, int rise)
{
    Surface face(button.right - button.left - 2, button.bottom - button.top - 2);
    face.blockCopy(0, 0, face.width(), face.height(), shown, button.left + 1, button.top + 1, RasterOp::SrcCopy);
    const Rect coloured = boundsOfColour(face, caption);
    return shown.pixel(button.left, button.top) == corner && !coloured.isEmpty() &&
           coloured.left - boundsOfColour(face, Rgb{0, 0, 0}).left == rise;
}
bool looksLit(const Surface& s, const Rect& button) { return looks(s, button, hoverPen.colour, hoverTextColour, 3); }
bool looksNormal(const Surface& s, const Rect& button)
{
    return looks(s, button, panelBrush.colour, buttonTextColour, 2);
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

TEST_F(BestScoresDialog, AButtonIsRedrawnOnlyWhenThePointerCrossesItsEdge)
{
    openTable(1, [&](Window& window, Surface& shown) {
        simulate::mouseMove(window, 90, 420);   // on the left edge: outside
        EXPECT_TRUE(looksNormal(shown, kOk));
        simulate::mouseMove(window, 91, 406);
        EXPECT_TRUE(looksLit(shown, kOk));
        EXPECT_TRUE(shown.takeChangedArea().isEmpty()) << "presented at once";

        shown.setPixel(92, 407, kMark);   // any redraw of the button paints over it
        simulate::mouseMove(window, 224, 434);
        EXPECT_EQ(shown.pixel(92, 407), kMark) << "moving within the button draws nothing";
        simulate::mouseMove(window, 150, 435);   // on the bottom edge: left it
        EXPECT_TRUE(looksNormal(shown, kOk));
        shown.setPixel(92, 407, kMark);
        simulate::mouseMove(window, 10, 10);
        EXPECT_EQ(shown.pixel(92, 407), kMark) << "moving outside draws nothing";

        simulate::mouseMove(window, 150, 420);
        simulate::mouseMove(window, 300, 420);   // straight from one button onto the other
        EXPECT_TRUE(looksNormal(shown, kOk) && looksLit(shown, kClear));
    });
}

TEST_F(BestScoresDialog, ClearScoresClearsTheShownModeOnlyShowsItsNameAndIsSavedAtOnce)
{
    state.bestScores[2].scores[2] = 89986;
    const BestScoreTable timeTrial = state.bestScores[1];
    openTable(2, [&](Window& window, Surface& shown) {
        simulate::mouseMove(window, 300, 420);
        simulate::mouseDown(window, MouseButtons::Left, 301, 421);
        EXPECT_TRUE(shows(shown, Rect{143, 22, 323, 52}, [](Panel& title) {
            title.height = 30;
            title.textColour = hoverTextColour;
            drawButton(title, kButtonFilled, false, 2, "Normal");
        }));
        for (int row = 1; row <= 8; ++row) EXPECT_TRUE(rowShows(shown, row, "Anonoymous", "0")) << row;
        EXPECT_TRUE(looksNormal(shown, kClear)) << "plain again under the pointer";
        EXPECT_TRUE(shown.takeChangedArea().isEmpty());

        const Surface once = shown.clone();
        simulate::mouseDown(window, MouseButtons::Left, 300, 420);
        EXPECT_TRUE(shown.pixelsEqual(once)) << "clearing twice gives the same picture";
    });
    EXPECT_EQ(savedScores, (std::vector<std::int32_t>{0, 0})) << "saved at once, after the change";
    EXPECT_EQ(state.bestScores[1], timeTrial);
}

TEST_F(BestScoresDialog, ClosingWhileLitThenReopeningShowsTheTableAfresh)
{
    openTable(2, [&](Window& window, Surface&) {
        simulate::mouseDown(window, MouseButtons::Left, 300, 420);
        simulate::mouseMove(window, 150, 420);
        simulate::keyStroke(window, KeyCodes::Escape);
    });
    openTable(2, [&](Window& window, Surface& shown) {
        EXPECT_TRUE(looksNormal(shown, kOk) && looksNormal(shown, kClear));
        EXPECT_EQ(boundsOfColour(shown, hoverTextColour), Rect{}) << "no title";
        simulate::mouseMove(window, 151, 421);
        EXPECT_TRUE(looksLit(shown, kOk)) << "the first move onto a button lights it";
    });
}

TEST_F(BestScoresDialog, NamesShowMnemonicsAndAreCutAtTheCellsEdgeOnOneLine)
{
    state.bestScores[1].names[1] = "A&b";
    state.bestScores[1].names[2] = "Ab";
    state.bestScores[1].names[3] = std::string(19, 'W');
    openTable(1, [&](Window&, Surface& shown) {
        // "A&b" is "Ab" plus a line under the b.
        int top = 45, bottom = 0, extra = 0;
        for (int y = 0; y < 44; ++y) {
            for (int x = 45; x < 315; ++x) {
                if (shown.pixel(x, 45 + y) == shown.pixel(x, 90 + y)) continue;
                EXPECT_EQ(shown.pixel(x, 90 + y), darkBrush.colour) << "same glyphs, at " << x << "," << y;
                top = std::min(top, y), bottom = std::max(bottom, y), ++extra;
            }
        }
        EXPECT_GT(extra, 3);
        EXPECT_LE(bottom - top, 1);

        Surface wide(360, 45);   // row 3 up to the score cell
        wide.blockCopy(0, 0, 360, 45, shown, 0, 135, RasterOp::SrcCopy);
        EXPECT_EQ(boundsOfColour(wide, rowTextColour).right, 315) << "cut at the name cell's edge";
        EXPECT_LT(boundsOfColour(wide, rowTextColour).bottom, 24) << "on one line";
    });
}

class NameEntryDialog : public ::testing::Test {
protected:
    // Opens the dialog, runs the action inside its event loop and returns the name it gave.
    std::string enterName(const std::function<void(Window&)>& whileOpen)
    {
        simulate::whenModalOpens([&](Window& window) {
            for (int wait = 0; wait < 200 && !dialog.txtName().hasFocus(); ++wait) simulate::processEvents(5);
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

    ModalGuard guard;
    GraphicsResources graphics;
    testing::SeededRandom random{1};
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
                  simulate::typeText(window, "Ada");
                  simulate::closeBox(window);
              }),
              "Ada");
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
    graphics.backgroundSurface = testing::codedSheet(300, 200);
    simulate::whenModalOpens([&](Window& window) {
        const Surface shown = window.snapshot();
        int wrong = 0;
        for (int y = 0; y < 450; ++y) {
            for (int x = 0; x < 680; ++x) {
                const Rgb expected = x < 300 && y < 200 ? testing::codedColour(x, y) : darkBrush.colour;
                wrong += shown.pixel(x, y) == expected ? 0 : 1;
            }
        }
        EXPECT_EQ(wrong, 0) << "the picture where it reaches, the dark dialog colour beyond";
        window.close();
    });
    welcome.show();
}

TEST_F(WelcomeScreen, ClosesItselfAfterTwoSecondsWhateverThePlayerDoes)
{
    bool openLate = false;
    simulate::whenModalOpens([&](Window& window) {
        simulate::after(1000, [&] {
            for (int key : {KeyCodes::Escape, KeyCodes::Enter, KeyCodes::Space}) simulate::keyStroke(window, key);
            simulate::mouseDown(window, MouseButtons::Left, 350, 420);   // the edge of the maker's area
            simulate::mouseDown(window, MouseButtons::Left, 450, 420);
        });
        simulate::after(1900, [&] { openLate = window.isOpen(); });
    });
    const auto start = std::chrono::steady_clock::now();
    welcome.show();
    const std::chrono::duration<double, std::milli> shownFor = std::chrono::steady_clock::now() - start;

    EXPECT_TRUE(openLate);
    EXPECT_GE(shownFor.count(), 1995.0);
    EXPECT_LT(shownFor.count(), 3000.0);
    EXPECT_EQ(opened, (std::vector<std::string>{loadResString(kStringMakerAddress)}));
}

} // namespace
} // namespace snugbox
