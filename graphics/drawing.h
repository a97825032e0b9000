#pragma once
// Boxes, buttons and shadowed text: the small painting operations that give every window
// its look. None keeps state; a button's hover look is its caller's (the panel's hover).

#include <cstdint>
#include <string_view>

namespace snugbox {

class RandomSource;
class Surface;
struct Panel;

// drawButton backgrounds.
inline constexpr std::int16_t kButtonNoBackground = -1;
inline constexpr std::int16_t kButtonFilled = 0;
inline constexpr std::int16_t kButtonFramed = 1;
inline constexpr std::int16_t kButtonDoubleFramed = 2;

// drawBox styles.
inline constexpr std::int16_t kBoxFilled = 0;
inline constexpr std::int16_t kBoxOutlined = 1;    // with the pen selected in the surface
inline constexpr std::int16_t kBoxFramed = 2;      // framePen one pixel outside
inline constexpr std::int16_t kBoxWideFramed = 3;  // framePen two pixels outside

// drawShadowText flags meaning "lines left-aligned from the top".
inline constexpr std::int32_t kShadowTextDefault = -1;

// The background by style (-1 none, 0 fill, 1 fill and outline with the panel's pen,
// 2 as 1 plus an inner outline in hoverPen; any other style draws no background), then
// the caption centred on one line with a black shadow. The coloured copy is shift / 2
// pixels right of and above the shadow, in hoverTextColour when lit, else in the
// panel's textColour. The pen selected for the outline stays selected.
void drawButton(const Panel& panel, std::int16_t style, bool lit, std::int32_t shift,
                std::string_view caption);

// Fills the panel with its brush (nothing without one), then by style: 1 outlines it
// with the surface's current pen, inside; 2 and 3 frame it with framePen one or two
// pixels outside its edges, and leave framePen selected.
void drawBox(const Panel& panel, std::int16_t style);

// The text in the panel's rectangle with a black shadow shift pixels left of and below
// the coloured copy (panel.textColour). flags are the surface's text flags; -1 means
// lines left-aligned from the top.
void drawShadowText(const Panel& panel, std::int32_t shift, std::string_view text, std::int32_t flags);

// One of the board tiles 2..8, drawn from the shared random source, stretched over the
// whole width x height of a window's surface.
void paintRandomTile(Surface& surface, const Surface& sprites, RandomSource& random, std::int16_t width,
                     std::int16_t height);

} // namespace snugbox
