#include <cstdio>

#include "platform/program_directory.h"
#include "rules/catalogue.h"
#include "rules/game_state.h"

int main()
{
    snugbox::GameState state;
    state.appPath = snugbox::programDirectory();
    if (auto error = snugbox::loadAllPieces(state, state.appPath + "ALLPIECES.PDAT")) {
        std::fprintf(stderr, "snugbox: %s\n", error->c_str());
        return 1;
    }
    std::puts("snugbox: built, with its data in place; the game window is not there yet.");
    return 0;
}
