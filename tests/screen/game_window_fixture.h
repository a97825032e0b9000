#pragma once
// The game window as the program opens it, with the shipped pieces and pictures, the
// store in a temporary directory and the help page caught instead of opened. Pieces can
// be set by hand, so a test knows what it carries.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "graphics/colours.h"
#include "graphics/graphics.h"
#include "graphics/sprite_layout.h"
#include "platform/desktop.h"
#include "tests/support/platform/event_simulation.h"
#include "platform/window.h"
#include "rules/catalogue.h"
#include "rules/startup.h"
#include "screen/frm_holdfast.h"
#include "store/settings_store.h"
#include "tests/graphics/graphics_test_helpers.h"
#include "tests/support/seeded_random.h"
#include "tests/support/temp_dir.h"

namespace snugbox::testing {

class GameWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application::instance();
        previousOpener = replaceDesktopOpener([this](const std::string& target) { opened.push_back(target); });
        state.appPath = std::string(SNUGBOX_DATA_DIR) + "/";
        prepareGameTables(state);
        ASSERT_FALSE(loadAllPieces(state, state.appPath + "ALLPIECES.PDAT"));
        loadGraphics(graphics, state.appPath);
        state.gameMode = 2;
        form = std::make_unique<frmHoldfast>(state, graphics, random);
        form->setConfigDirectory(config.path().string());
        window().show();
        createCarrySurfaces(graphics);
        simulate::processEvents(20);
    }

    void TearDown() override
    {
        window().close();
        replaceDesktopOpener(previousOpener);
    }

    Window& window() { return form->window(); }
    Surface& surface() { return window().surface(); }
    const Surface& sprites() const { return graphics.spriteSurface; }

    void press(int x, int y, int button = MouseButtons::Left) { simulate::mouseDown(window(), button, x, y); }
    void moveTo(int x, int y) { simulate::mouseMove(window(), x, y); }
    void newGame() { press(86, 246); }
    void takeFromSlot(int slot) { press(675, 60 + 100 * (slot - 1)); }

    // Puts a piece of the given squares (column, row) and colour into a slot, painted.
    void putPiece(int slot, std::initializer_list<Square> squares, std::int16_t colour = 3)
    {
        std::int32_t& index = state.dispensers[slot].pieceIndex;
        if (index == 0) {
            index = allocPoolPiece(state);
            state.piecePoolUsed[index] = true;
        }
        state.piecePool[index] = pieceOf(squares, std::vector<std::int16_t>(squares.size(), colour));
        form->paintSlot(static_cast<std::int16_t>(slot), 2);
    }

    // The window's area at (x, y) shows exactly the sprite region.
    ::testing::AssertionResult shows(int x, int y, const sprite::Region& region)
    {
        return showsBlock(surface(), x, y, sprites(), region.x, region.y, region.width, region.height);
    }
    ::testing::AssertionResult allOf(const Rect& area, Rgb colour)
    {
        const Surface flat = filledSurface(area.right - area.left, area.bottom - area.top, colour);
        return showsBlock(surface(), area.left, area.top, flat, 0, 0, flat.width(), flat.height());
    }
    GameState state;
    GraphicsResources graphics;
    SeededRandom random{7};
    TempDir config;
    std::unique_ptr<frmHoldfast> form;
    std::vector<std::string> opened;
    DesktopOpener previousOpener;
};

// A game under way whose pieces arrive only when the test ticks the timer.
class Playing : public GameWindow {
protected:
    void SetUp() override
    {
        GameWindow::SetUp();
        newGame();
        form->setPieceTimerEnabled(false);
    }
};

} // namespace snugbox::testing
