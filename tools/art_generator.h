#pragma once
// Draws every picture that ships with the game: the sprite sheet, the welcome picture and
// the application icon. Everything is painted from code with fixed seeds and the fonts
// the install script brings, so the same machine always produces the same bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace snugbox::tools {

using Bytes = std::vector<std::uint8_t>;

struct NamedFile {
    std::string name;
    Bytes bytes;
};

// ALLPICDATA.BMP, a 24-bit BMP of 450 x 481 pixels laid out as graphics/sprite_layout.h says.
Bytes generateSpriteSheet();

// BGIMG.BMP, the 680 x 450 welcome picture.
Bytes generateWelcomePicture();

// The application icon as PNG files, snugbox-<size>.png for each of kIconSizes.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
std::vector<NamedFile> generateIcons();

// The same icon as an SVG document, snugbox.svg: drawn by the code that paints the PNGs,
// in the coordinates of the largest one.
inline constexpr int kScalableIconSize = 256;
Bytes generateScalableIcon();

} // namespace snugbox::tools
