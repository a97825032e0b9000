#pragma once
// Inside the platform layer only: the Qt image behind a Surface.

#include <QImage>

#include "platform/surface.h"

namespace snugbox {

struct Surface::Impl {
    QImage image;
    Pen pen{true, Rgb{0, 0, 0}};
    Rgb textColour{0, 0, 0};
    Font font;
    int penX = 0;
    int penY = 0;
    Rect changed;   // union of everything painted since takeChangedArea()

    void markChanged(const Rect& area);
};

// An RGB image of that size whose pixels are not set yet.
QImage makeRgbImage(int width, int height);

// A blank RGB image that sizes fonts as a 96 dots-per-inch desktop does, whatever the screen.
QImage makeSurfaceImage(int width, int height);

} // namespace snugbox
