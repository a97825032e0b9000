#pragma once
// The program from its start to its end: the fixed tables, the stored settings, the
// piece catalogue and the pictures, the welcome screen, then the main window with its
// welcome message until the player leaves.

#include <string>

namespace snugbox {

struct GraphicsResources;

// Returns the program's exit status: 0 after the main window has closed, non-zero when
// the piece catalogue cannot be used (reported in a message box before any window).
int runSnugbox();

// Reads the welcome picture, shows the welcome screen for its two seconds and returns when
// it has closed. The sprite sheet and the window icon's larger sizes are read only once
// the welcome screen is on the screen: it needs neither, and it appears sooner without
// them. Either way both are there when this returns.
void showWelcomeScreen(const std::string& appPath, GraphicsResources& graphics);

} // namespace snugbox
