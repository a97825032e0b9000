#pragma once
// A drawing surface: a 32-bit RGB pixel buffer with the state the drawing code relies
// on (current pen, text colour and font), and the block copies, fills, lines and text
// that every picture of the game is made of. All coordinates are whole pixels, x to the
// right and y down; rectangles exclude their right and bottom edges.
//
// Every operation is clipped to the surfaces it touches: pixels outside the source or
// the target are neither read nor written.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "rules/panel.h"

namespace snugbox {

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
    bool isEmpty() const { return right <= left || bottom <= top; }
};

inline Rect rectOf(const Panel& panel)
{
    return Rect{panel.x, panel.y, panel.x + panel.width, panel.y + panel.height};
}

// Raster operations, by the codes the drawing code has always used.
enum class RasterOp : std::uint32_t {
    SrcCopy = 0x00CC0020,   // target = source
    SrcPaint = 0x00EE0086,  // target = target OR source, per channel
    SrcAnd = 0x008800C6,    // target = target AND source, per channel
};

// Text layout flags. Combinations in use: 0x25 one line centred both ways; 1 lines
// centred horizontally from the top; 4 (or 0) lines left-aligned from the top.
// "&" underlines the next character and "&&" shows one "&". Text is never wrapped.
namespace TextFlags {
inline constexpr std::uint32_t Center = 0x01;
inline constexpr std::uint32_t VCenter = 0x04;
inline constexpr std::uint32_t SingleLine = 0x20;
inline constexpr std::uint32_t CenteredLine = Center | VCenter | SingleLine; // 0x25
} // namespace TextFlags

// A font by family and size in points, as a 96 dots-per-inch desktop sizes it.
struct Font {
    std::string family = "Arial";
    double pointSize = 12.0;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

class Surface {
public:
    Surface();                              // 0 x 0: copies to or from it do nothing
    Surface(int width, int height);         // black
    ~Surface();
    Surface(Surface&&) noexcept;
    Surface& operator=(Surface&&) noexcept;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    Surface clone() const;
    void reset(int width, int height);      // a new black buffer of that size

    int width() const;
    int height() const;
    bool isNull() const;

    // Loads a BMP file at its own size. On failure the surface is left as it was. Pixels
    // the file does not give (run-length data that skips ahead or ends early, a file cut
    // short) show colour 0 of its colour table, or black: the same on every load.
    bool loadBmp(const std::string& path);
    bool saveBmp(const std::string& path) const;
    bool savePng(const std::string& path) const;

    // Outside the surface pixel() is black and setPixel() does nothing.
    Rgb pixel(int x, int y) const;
    void setPixel(int x, int y, Rgb colour);
    bool pixelsEqual(const Surface& other) const;

    // Drawing state. A new surface has a black one-pixel pen, black text and Arial 12 pt.
    // Selecting a pen that is not set keeps the current one.
    void selectPen(const Pen& pen);
    Pen pen() const;
    void setTextColour(Rgb colour);
    Rgb textColour() const;
    void setFont(const Font& font);
    const Font& font() const;

    // Fills with the brush; a brush that is not set fills nothing.
    void fillRect(const Rect& rect, const Brush& brush);
    // Outlines with the current pen, inside the rectangle: the frame's last column is
    // right - 1 and its last row bottom - 1. The interior is not touched.
    void outlineRect(const Rect& rect);
    // Lines with the current pen; like the classic line call, the end point is not drawn.
    void moveTo(int x, int y);
    void lineTo(int x, int y);

    void blockCopy(int x, int y, int width, int height, const Surface& source, int sourceX,
                   int sourceY, RasterOp op);
    // Nearest-pixel scaling of the source rectangle onto the target rectangle.
    void stretchCopy(int x, int y, int width, int height, const Surface& source, int sourceX,
                     int sourceY, int sourceWidth, int sourceHeight, RasterOp op);

    // UTF-8 text in the current font and text colour, transparent background, clipped
    // to the rectangle. "\r\n" and "\n" break lines (except on a single line).
    void drawText(std::string_view text, const Rect& rect, std::uint32_t flags);

    // The area painted since the last call, for windows that present only what changed.
    Rect takeChangedArea();

    // Raw pixels (0xffRRGGBB), for presenting and for benchmarks.
    const std::uint32_t* constScanLine(int y) const;
    std::int64_t bytesPerLine() const;

    struct Impl;
    Impl& impl() { return *impl_; }
    const Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace snugbox
