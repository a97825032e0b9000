#pragma once

namespace snugbox {

// Blocks the user-interface thread: no event, tick or repaint is handled meanwhile.
// What a window presented with refresh() before the sleep stays on the screen.
void sleepMilliseconds(int milliseconds);

} // namespace snugbox
