#pragma once
// Writes the help page Snugbox.htm. Its level table comes from the game's own level table
// and its scoring table from the scoring rule, so the page cannot drift from the game.

#include <string>

namespace snugbox::tools {

std::string generateHelpPage();

} // namespace snugbox::tools
