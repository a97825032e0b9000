#pragma once
// The game's fixed set of colours, brushes and pens. Every window paints with these and
// nothing else, which is what keeps the main window, the dialogs and the sprite sheet
// looking like one game.

#include "rules/panel.h"

namespace snugbox {

// Captions.
inline constexpr Rgb hoverTextColour{230, 230, 160};   // a lit button, the level number
inline constexpr Rgb buttonTextColour{160, 160, 120};  // a button in its normal look
inline constexpr Rgb rowTextColour{220, 220, 160};     // rows of the best-score table

// Fills.
inline constexpr Brush darkBrush{true, Rgb{50, 50, 40}};        // dark dialog backgrounds, slots
inline constexpr Brush panelBrush{true, Rgb{74, 107, 173}};     // main window, board frame, buttons
inline constexpr Brush whiteBrush{true, Rgb{255, 255, 255}};    // carried-piece image background
inline constexpr Brush blackBrush{true, Rgb{0, 0, 0}};          // carried-piece mask background
inline constexpr Brush blueBrush{true, Rgb{10, 10, 200}};       // dispenser gauge, filled part
inline constexpr Brush lightBlueBrush{true, Rgb{100, 100, 240}};
inline constexpr Brush redBrush{true, Rgb{200, 10, 10}};        // gauge while the dispenser is full
inline constexpr Brush lightRedBrush{true, Rgb{240, 100, 100}};

// One-pixel outlines.
inline constexpr Pen framePen{true, Rgb{170, 170, 100}};        // boxes and buttons
inline constexpr Pen hoverPen{true, Rgb{230, 230, 160}};        // inner frame of a lit button

} // namespace snugbox
