#pragma once
// Inside the platform layer only: Qt's buttons, modifiers and keys in the game's numbering.

#include <QString>
#include <Qt>

namespace snugbox {

int buttonCodeOf(Qt::MouseButton button);        // 1, 2, 4, or 0 for any other button
int buttonCodesOf(Qt::MouseButtons buttons);     // the held buttons added together
int shiftStateOf(Qt::KeyboardModifiers modifiers);
int keyCodeOf(int qtKey);                        // 0 for a key without a code
int characterOf(const QString& text);            // the first character typed, or -1

Qt::MouseButton qtButtonFor(int buttonCode);
Qt::MouseButtons qtButtonsFor(int buttonCodes);
int qtKeyFor(int keyCode);
QString textFor(int keyCode);                    // what the key types, empty if nothing

} // namespace snugbox
