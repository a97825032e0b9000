#pragma once
// Shared by the graphics, dialog and game window tests: a sprite sheet whose every pixel
// tells where it came from, and small ways of making panels and pieces and of looking at
// what was painted.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/application.h"
#include "platform/surface.h"
#include "rules/game_state.h"
#include "rules/panel.h"

namespace snugbox::testing {

// Pixel (x, y) of the coded sheet is (x mod 256, y mod 256, 1 + x / 256 + 16 * (y / 256)):
// never black, and different for every pixel of a 450 x 481 sheet.
inline Rgb codedColour(int x, int y)
{
    return Rgb{static_cast<std::uint8_t>(x % 256), static_cast<std::uint8_t>(y % 256),
               static_cast<std::uint8_t>(1 + x / 256 + 16 * (y / 256))};
}

inline Surface codedSheet(int width = 450, int height = 481)
{
    Surface sheet(width, height);
    for (int i = 0; i < width * height; ++i) sheet.setPixel(i % width, i / width, codedColour(i % width, i / width));
    return sheet;
}

inline Surface filledSurface(int width, int height, Rgb colour)
{
    Surface surface(width, height);
    surface.fillRect(Rect{0, 0, width, height}, Brush{true, colour});
    return surface;
}

inline Panel panelOn(Surface& surface, int x, int y, int width, int height, int tag = 0)
{
    return Panel{.surface = &surface, .x = x, .y = y, .width = width, .height = height,
                 .brush = {}, .pen = {}, .textColour = {}, .tag = tag};
}

// A piece of the squares (column, row) with the colours in turn, in the smallest box
// holding them.
inline PieceShape pieceOf(std::initializer_list<Square> squares, const std::vector<std::int16_t>& colours)
{
    PieceShape piece;
    piece.squareCount = static_cast<std::int16_t>(squares.size());
    std::size_t next = 0;
    for (const Square& square : squares) {
        piece.squares.push_back(square);
        piece.colours.push_back(colours[next++]);
        piece.width = static_cast<std::uint8_t>(std::max<int>(piece.width, square.col + 1));
        piece.height = static_cast<std::uint8_t>(std::max<int>(piece.height, square.row + 1));
    }
    return piece;
}

// The smallest rectangle holding every pixel that matches; empty when none does.
template <typename Matches>
Rect boundsWhere(const Surface& surface, Matches matches)
{
    Rect bounds{surface.width(), surface.height(), 0, 0};
    for (int i = 0; i < surface.width() * surface.height(); ++i) {
        const int x = i % surface.width(), y = i / surface.width();
        if (!matches(surface.pixel(x, y))) continue;
        bounds = Rect{std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x + 1),
                      std::max(bounds.bottom, y + 1)};
    }
    return bounds.isEmpty() ? Rect{} : bounds;
}

inline Rect boundsOfColour(const Surface& surface, Rgb colour)
{
    return boundsWhere(surface, [colour](Rgb pixel) { return pixel == colour; });
}

// True when the block at (x, y) of the target shows the block at (sourceX, sourceY) of the
// source unscaled.
inline ::testing::AssertionResult showsBlock(const Surface& target, int x, int y, const Surface& source, int sourceX,
                                             int sourceY, int width, int height)
{
    for (int i = 0; i < width * height; ++i) {
        const int dx = i % width, dy = i / width;
        if (target.pixel(x + dx, y + dy) != source.pixel(sourceX + dx, sourceY + dy)) {
            return ::testing::AssertionFailure() << "pixel (" << x + dx << ", " << y + dy << ") differs";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace snugbox::testing
