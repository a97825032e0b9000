#include "rules/panel.h"

namespace snugbox {

Panel panelOn(Surface* surface, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    Panel panel;
    panel.surface = surface;
    panel.x = x;
    panel.y = y;
    panel.width = width;
    panel.height = height;
    return panel;
}

bool hitTest(const Panel& panel, float x, float y)
{
    // In double so that a panel near the 32-bit limits still compares exactly.
    const double left = panel.x;
    const double top = panel.y;
    const double right = left + panel.width;
    const double bottom = top + panel.height;
    return left < x && x < right && top < y && y < bottom;
}

} // namespace snugbox
