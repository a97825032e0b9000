#include "game_window_fixture.h"
#include "store/settings_store.h"

namespace snugbox::testing {
namespace {

class BestScores : public GameWindow {
protected:
    BestScoreTable stored()
    {
        GameState fromStore;
        loadSettings(fromStore, config.path().string());
        return fromStore.bestScores[2];
    }
};

TEST_F(BestScores, ARankedScoreAsksForANameShowsTheTableAndIsSavedAtOnce)
{
    newGame();
    form->setPieceTimerEnabled(false);
    for (int slot = 2; slot <= 5; ++slot) {
        putPiece(slot, {{0, 0}});
    }
    state.totalScore = 480;
    bool tableShown = false;
    simulate::whenModalOpens([&](Window& nameEntry) {
        simulate::processEvents(100);   // the name box takes the focus
        simulate::typeText(nameEntry, "Ada");
        simulate::whenModalOpens([&](Window& table) {
            tableShown = true;
            simulate::keyStroke(table, KeyCodes::Escape);
        });
        simulate::keyStroke(nameEntry, KeyCodes::Enter);
    });
    form->rules().insertAPiece();   // due with every slot full: the game is over
    EXPECT_FALSE(state.gamePlaying);
    EXPECT_TRUE(tableShown);
    EXPECT_EQ(stored().scores[1], 480);
    EXPECT_EQ(stored().names[1], "Ada");
}

TEST_F(BestScores, ClearingTheTableFromTheMenuIsSavedAtOnce)
{
    state.bestScores[2].scores[1] = 900;
    state.bestScores[2].names[1] = "Bo";
    simulate::whenModalOpens([](Window& table) {
        simulate::mouseDown(table, MouseButtons::Left, 337, 420);   // "Clear Scores"
        simulate::keyStroke(table, KeyCodes::Escape);
    });
    press(86, 296);
    EXPECT_EQ(stored().scores[1], 0);
    EXPECT_EQ(stored().names[1], "Anonoymous");
}

} // namespace
} // namespace snugbox::testing
