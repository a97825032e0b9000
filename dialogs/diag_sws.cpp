#include "dialogs/diag_sws.h"

#include "dialogs/dialog_frame.h"
#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/resource_strings.h"

namespace snugbox {
namespace {

constexpr int kWidth = 680;
constexpr int kHeight = 450;
constexpr int kShowMilliseconds = 2000;

} // namespace

diagSWS::diagSWS(const GraphicsResources& graphics)
    : graphics_(graphics), window_(WindowKind::Borderless, kWidth, kHeight, *this), splashTimer_(window_)
{
    splashTimer_.setTickHandler([this] { splashTimer_Timer(); });
}

void diagSWS::show() { window_.showModal(); }

Window& diagSWS::window() { return window_; }

void diagSWS::onLoad()
{
    window_.setClientSize(kWidth, kHeight);

    // A picture smaller than the window leaves the rest in the dark dialog colour
    // rather than black.
    picture_ = dialogPanel(window_, 0, 0, kWidth, kHeight, darkBrush, Rgb{});
    drawBox(picture_, kBoxFilled);
    copyPicture(picture_, graphics_.backgroundSurface);

    // Never drawn: it only answers presses.
    makerArea_ = dialogPanel(window_, 350, 400, 200, 40, Brush{}, Rgb{});

    splashTimer_.setInterval(kShowMilliseconds);
    splashTimer_.setEnabled(true);
}

void diagSWS::splashTimer_Timer()
{
    splashTimer_.setEnabled(false);
    window_.close();
}

void diagSWS::onMouseDown(int, int, float x, float y)
{
    if (hitTest(makerArea_, x, y)) {
        openDocument(loadResString(kStringMakerAddress));
    }
}

} // namespace snugbox
