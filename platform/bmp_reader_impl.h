#pragma once
// Inside the platform layer only: BMP files read into images.

#include <QImage>

class QString;

namespace snugbox {

// The picture in the BMP file at path, or a null image when it cannot be read. Pixels the
// file does not give (run-length data that skips ahead or ends early, a file cut short)
// are colour 0 of its colour table, or black: the same on every read. Plain 24-bit
// pictures, which is what the game ships, come as Format_RGB32.
QImage readBmp(const QString& path);

} // namespace snugbox
