#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "dialogs/frm_stats.h"
#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "tests/dialogs/dialog_test_support.h"
#include "tests/graphics/graphics_test_helpers.h"

namespace snugbox {
namespace {

using testing::boundsOfColour;

constexpr Rect kTitle{143, 22, 323, 52};
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
    return testing::sameArea(shown, alone, area);
}

// A row's last line is left out: the next row's text may rise into it by a pixel.
bool rowShows(const Surface& shown, int row, const std::string& name, const std::string& score)
{
    return shows(shown, Rect{45, 45 * row, 315, 45 * row + 44}, [&](Panel& p) { drawShadowText(p, 1, name, -1); }) &&
           shows(shown, Rect{360, 45 * row, 450, 45 * row + 44}, [&](Panel& p) { drawShadowText(p, 1, score, -1); });
}

bool titleShows(const Surface& shown, const std::string& modeName)
{
    return shows(shown, kTitle, [&](Panel& p) {
        p.height = 30;
        p.textColour = hoverTextColour;
        drawButton(p, kButtonFilled, false, 2, modeName);
    });
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
bool looksNormal(const Surface& s, const Rect& button) { return looks(s, button, panelBrush.colour, buttonTextColour, 2); }

class BestScoresDialog : public ::testing::Test {
protected:
    BestScoresDialog()
    {
        for (int row = 1; row <= 8; ++row) {
            state.bestScores[1].names[row] = "Time " + std::to_string(row);
            state.bestScores[2].names[row] = "Norm " + std::to_string(row);
            state.bestScores[2].scores[row] = 90000 - 7 * row;
        }
    }

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

    testing::ModalGuard guard;
    GameState state;
    std::function<void()> whenCleared = [] {};
    int clears = 0;
    frmStats stats{state, [this] {
                       ++clears;
                       whenCleared();
                   }};
};

TEST_F(BestScoresDialog, AButtonIsRedrawnOnlyWhenThePointerCrossesItsEdge)
{
    openTable(1, [&](Window& window, Surface& shown) {
        EXPECT_EQ(window.caption(), "Best Scores - Snugbox");
        simulate::mouseMove(window, 90, 420);   // on the left edge: outside
        EXPECT_TRUE(looksNormal(shown, kOk));
        simulate::mouseMove(window, 91, 406);
        EXPECT_TRUE(looksLit(shown, kOk) && stats.frame().button(1).hover == kFlagTrue);
        EXPECT_TRUE(shown.takeChangedArea().isEmpty()) << "presented at once";

        shown.setPixel(92, 407, kMark);   // any redraw of the button paints over it
        simulate::mouseMove(window, 224, 434);
        EXPECT_EQ(shown.pixel(92, 407), kMark) << "moving within the button draws nothing";
        simulate::mouseMove(window, 150, 435);   // on the bottom edge: left it
        EXPECT_TRUE(looksNormal(shown, kOk) && stats.frame().button(1).hover == kFlagFalse);
        shown.setPixel(92, 407, kMark);
        simulate::mouseMove(window, 10, 10);
        EXPECT_EQ(shown.pixel(92, 407), kMark) << "moving outside draws nothing";

        simulate::mouseMove(window, 150, 420);
        simulate::mouseMove(window, 300, 420);   // straight from one button onto the other
        EXPECT_TRUE(looksNormal(shown, kOk) && looksLit(shown, kClear));
    });
}

TEST_F(BestScoresDialog, AnyMouseButtonPressesAndEnterOrEscapeClose)
{
    for (int mouse : {MouseButtons::Left, MouseButtons::Right, MouseButtons::Middle}) {
        openTable(1, [&](Window& window, Surface&) {
            for (float x : {90.0f, 225.0f, 250.0f, 270.0f}) simulate::mouseDown(window, mouse, x, 420);
            for (int key : {int('A'), KeyCodes::Space, KeyCodes::Tab, KeyCodes::F1}) simulate::keyStroke(window, key);
            EXPECT_TRUE(window.isOpen() && clears == 0) << "edges, gaps and other keys do nothing";
            simulate::mouseDown(window, mouse, 300, 420);
            EXPECT_EQ(clears, 1);
            simulate::mouseDown(window, mouse, 150, 420);
            EXPECT_FALSE(window.isOpen()) << "OK closes";
        });
        clears = 0;
    }
    for (int key : {KeyCodes::Enter, KeyCodes::Escape}) {
        openTable(2, [&](Window& window, Surface&) {
            simulate::keyStroke(window, key);
            EXPECT_FALSE(window.isOpen());
        });
    }
}

TEST_F(BestScoresDialog, ClearScoresClearsTheShownModeOnlyShowsItsNameAndIsSavedAtOnce)
{
    const BestScoreTable timeTrial = state.bestScores[1];
    whenCleared = [&] { EXPECT_EQ(state.bestScores[2].names[8], "Anonoymous") << "saved after the change"; };
    openTable(2, [&](Window& window, Surface& shown) {
        EXPECT_TRUE(rowShows(shown, 2, "Norm 2", "89986"));
        EXPECT_EQ(boundsOfColour(shown, hoverTextColour), Rect{}) << "the title starts empty";
        simulate::mouseMove(window, 300, 420);
        simulate::mouseDown(window, MouseButtons::Left, 301, 421);
        EXPECT_TRUE(titleShows(shown, "Normal"));
        for (int row = 1; row <= 8; ++row) EXPECT_TRUE(rowShows(shown, row, "Anonoymous", "0")) << row;
        EXPECT_TRUE(looksNormal(shown, kClear)) << "plain again under the pointer";
        EXPECT_TRUE(shown.takeChangedArea().isEmpty());

        const Surface once = shown.clone();
        simulate::mouseDown(window, MouseButtons::Left, 300, 420);
        EXPECT_TRUE(shown.pixelsEqual(once)) << "clearing twice gives the same picture";
    });
    EXPECT_EQ(clears, 2);
    EXPECT_EQ(state.bestScores[1], timeTrial);

    openTable(1, [&](Window& window, Surface& shown) {
        simulate::mouseDown(window, MouseButtons::Left, 300, 420);
        EXPECT_TRUE(titleShows(shown, "Time Trial"));
    });
    openTable(3, [&](Window& window, Surface&) { simulate::mouseDown(window, MouseButtons::Left, 300, 420); });
    EXPECT_EQ(clears, 3) << "a mode that is no mode has nothing to clear or save";
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
        EXPECT_EQ(stats.frame().button(1).hover, kFlagFalse);
        EXPECT_EQ(boundsOfColour(shown, hoverTextColour), Rect{}) << "no title";
        EXPECT_TRUE(rowShows(shown, 1, "Anonoymous", "0")) << "the table as it is in memory";
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

} // namespace
} // namespace snugbox
