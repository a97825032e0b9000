#pragma once
// The program from its start to its end: the fixed tables, the stored settings, the
// piece catalogue and the pictures, the welcome screen, then the main window with its
// welcome message until the player leaves.

namespace snugbox {

// Returns the program's exit status: 0 after the main window has closed, non-zero when
// the piece catalogue cannot be used (reported in a message box before any window).
int runSnugbox();

} // namespace snugbox
