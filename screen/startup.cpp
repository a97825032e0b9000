#include "screen/startup.h"

#include "dialogs/diag_sws.h"
#include "graphics/graphics.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/program_directory.h"
#include "rules/catalogue.h"
#include "rules/game_rules.h"
#include "rules/game_state.h"
#include "rules/random.h"
#include "rules/startup.h"
#include "screen/frm_holdfast.h"
#include "store/settings_store.h"

#include <utility>

namespace snugbox {
namespace {

constexpr int kCatalogueUnusable = 1;

} // namespace

void showWelcomeScreen(const std::string& appPath, GraphicsResources& graphics)
{
    Application& application = Application::instance();
    loadWelcomePicture(graphics, appPath);
    application.loadIcon(appPath, Application::IconSizes::FirstAsked);
    bool restLoaded = false;
    const auto loadTheRest = [&] {
        if (std::exchange(restLoaded, true)) return;
        application.loadIcon(appPath);
        loadSpriteSheet(graphics, appPath);
    };
    diagSWS welcomeScreen(graphics);
    welcomeScreen.window().afterFirstShown(loadTheRest);
    welcomeScreen.show();
    loadTheRest();   // the welcome screen may have closed before it reached the screen
}

int runSnugbox()
{
    Application& application = Application::instance();
    GameState state;
    state.appPath = programDirectory();
    prepareGameTables(state);
    loadSettings(state);
    // Without usable pieces there is no game to offer: say why before any window opens.
    if (const auto error = loadAllPieces(state, state.appPath + "ALLPIECES.PDAT")) {
        showMessageBox(Application::title(), *error);
        return kCatalogueUnusable;
    }
    GraphicsResources graphics;
    showWelcomeScreen(state.appPath, graphics);
    ClockSeededRandom random;
    frmHoldfast mainWindow(state, graphics, random);
    mainWindow.window().show();
    createCarrySurfaces(graphics);
    if (settleStoredGameMode(state)) {
        mainWindow.showGameOverMessage(kMessageWelcome);
    }
    return application.run();
}

} // namespace snugbox
