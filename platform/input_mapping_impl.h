#pragma once
// Inside the platform layer only: Qt's buttons, modifiers and keys in the game's numbering.

#include <QString>
#include <Qt>

#include <span>
#include <utility>

namespace snugbox {

int buttonCodeOf(Qt::MouseButton button);        // 1, 2, 4, or 0 for any other button
int buttonCodesOf(Qt::MouseButtons buttons);     // the held buttons added together
int shiftStateOf(Qt::KeyboardModifiers modifiers);
int keyCodeOf(int qtKey);                        // 0 for a key without a code
int characterOf(const QString& text);            // the first character typed, or -1

// The keys whose codes are not simply their character, as (Qt key, key code) pairs.
std::span<const std::pair<int, int>> namedKeyCodes();

} // namespace snugbox
