#include "graphics/drawing.h"

#include "graphics/colours.h"
#include "graphics/sprite_layout.h"
#include "platform/surface.h"
#include "rules/random.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

constexpr Rgb kShadowColour{0, 0, 0};

void paintButtonBackground(Surface& surface, const Panel& panel, std::int16_t style)
{
    const Rect rect = rectOf(panel);
    if (style != kButtonFilled && style != kButtonFramed && style != kButtonDoubleFramed) {
        return;
    }
    surface.fillRect(rect, panel.brush);
    if (style == kButtonFilled) {
        return;
    }
    surface.selectPen(panel.pen);
    surface.outlineRect(rect);
    if (style == kButtonDoubleFramed) {
        surface.selectPen(hoverPen);
        surface.outlineRect(Rect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1});
    }
}

// A closed one-pixel frame in framePen, margin pixels outside the rectangle's edges.
void frameOutside(Surface& surface, const Rect& rect, int margin)
{
    const int left = rect.left - margin;
    const int top = rect.top - margin;
    const int right = rect.right + margin;
    const int bottom = rect.bottom + margin;
    surface.selectPen(framePen);
    surface.moveTo(left, bottom);
    surface.lineTo(left, top);
    surface.lineTo(right, top);
    surface.lineTo(right, bottom);
    surface.lineTo(left, bottom);
}

} // namespace

void drawButton(const Panel& panel, std::int16_t style, bool lit, std::int32_t shift, std::string_view caption)
{
    if (panel.surface == nullptr) {
        return;
    }
    Surface& surface = *panel.surface;
    paintButtonBackground(surface, panel, style);

    Rect rect = rectOf(panel);
    surface.setTextColour(kShadowColour);
    surface.drawText(caption, rect, TextFlags::CenteredLine);
    // Widening and lowering the box moves the centred caption half the shift up and right.
    rect.right += shift;
    rect.bottom -= shift;
    surface.setTextColour(lit ? hoverTextColour : panel.textColour);
    surface.drawText(caption, rect, TextFlags::CenteredLine);
}

void drawBox(const Panel& panel, std::int16_t style)
{
    if (panel.surface == nullptr) {
        return;
    }
    Surface& surface = *panel.surface;
    const Rect rect = rectOf(panel);
    surface.fillRect(rect, panel.brush);
    switch (style) {
    case kBoxOutlined:
        surface.outlineRect(rect);
        break;
    case kBoxFramed:
        frameOutside(surface, rect, 1);
        break;
    case kBoxWideFramed:
        frameOutside(surface, rect, 2);
        break;
    default:
        break;
    }
}

void drawShadowText(const Panel& panel, std::int32_t shift, std::string_view text, std::int32_t flags)
{
    if (panel.surface == nullptr) {
        return;
    }
    Surface& surface = *panel.surface;
    const std::uint32_t layout =
        flags == kShadowTextDefault ? TextFlags::VCenter : static_cast<std::uint32_t>(flags);
    Rect rect = rectOf(panel);
    surface.setTextColour(kShadowColour);
    surface.drawText(text, rect, layout);
    rect.left += shift;
    rect.top -= shift;
    surface.setTextColour(panel.textColour);
    surface.drawText(text, rect, layout);
}

void paintRandomTile(Surface& surface, const Surface& sprites, RandomSource& random, std::int16_t width,
                     std::int16_t height)
{
    // n is 1..7 with 1 and 7 half as likely as the others; the tile shown is n + 1.
    const int n = nearest(random.next() * 6.0 + 1.0);
    const sprite::Region tile = sprite::boardTile(n + 1);
    surface.stretchCopy(0, 0, width, height, sprites, tile.x, tile.y, tile.width, tile.height,
                        RasterOp::SrcCopy);
}

} // namespace snugbox
