#pragma once
// Text needs fonts, and fonts need the GUI application object. The program creates its
// own; tests and tools that draw text without a window call this first.

namespace snugbox {

// Creates the application object (widgets included) when none exists yet, on the
// offscreen platform when no other platform is named. It lives until the program ends.
void ensureGuiApplication();

} // namespace snugbox
