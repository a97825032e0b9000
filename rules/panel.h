#pragma once
// The record that every painted or clickable area of the game is described by: the
// board, each dispenser slot, menu buttons, status areas and every dialog cell.
// The dispenser slots are panels too, which is why the record lives with the rules.

#include <cstdint>

namespace snugbox {

class Surface; // the drawing surface a panel paints into; owned by its window

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    constexpr bool operator==(const Rgb&) const = default;
};

// A solid fill. A panel whose brush is not set is never filled.
struct Brush {
    bool set = false;
    Rgb colour;
    constexpr bool operator==(const Brush&) const = default;
};

// A solid one-pixel line.
struct Pen {
    bool set = false;
    Rgb colour;
    constexpr bool operator==(const Pen&) const = default;
};

// Flags kept in records use -1 for true, as the stored layouts always have.
inline constexpr std::int16_t kFlagTrue = -1;
inline constexpr std::int16_t kFlagFalse = 0;

struct Panel {
    Surface* surface = nullptr;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int16_t hover = kFlagFalse;   // drawn in its hover look now
    Brush brush;
    Pen pen;
    Rgb textColour;
    std::int32_t tag = 0;              // square size (board, slots) or face number (menu)
    std::int32_t pieceIndex = 0;       // dispenser slots: pool index of the piece, 0 = empty
};

// A panel covering (x, y, width, height) of a surface; every other field as a new panel has it.
Panel panelOn(Surface* surface, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

// True only strictly inside: a point on any edge of the panel is outside.
bool hitTest(const Panel& panel, float x, float y);

} // namespace snugbox
