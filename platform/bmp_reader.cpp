#include "platform/bmp_reader_impl.h"

#include <QFile>
#include <QImageReader>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/surface_impl.h"

namespace snugbox {
namespace {

// Whether an image of this size and layout stays within the memory the BMP reader itself
// would allow a picture.
bool withinReaderLimit(QSize size, QImage::Format format)
{
    if (size.isEmpty() || format == QImage::Format_Invalid) {
        return false;
    }
    const qint64 bitsPerLine = static_cast<qint64>(size.width()) * QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 bytes = (bitsPerLine + 31) / 32 * 4 * size.height();
    return bytes <= static_cast<qint64>(QImageReader::allocationLimit()) * 1024 * 1024;
}

struct ReadResult {
    QImage image;
    bool read = false;
    bool overClearedPixels = false;   // the pixels landed in the memory cleared for them
};

// The reader decodes into an image handed to it when that has the size and layout it
// wants; then every pixel the file does not give keeps the zero it was cleared to.
ReadResult readBmpOver(const QString& path, QSize size, QImage::Format format)
{
    ReadResult result;
    if (withinReaderLimit(size, format)) {
        result.image = QImage(size, format);
        result.image.fill(0);
    }
    const uchar* cleared = result.image.isNull() ? nullptr : result.image.constBits();
    QImageReader reader(path, "BMP");
    reader.setAutoDetectImageFormat(false);   // see readBmpOverKnownPixels
    result.read = reader.read(&result.image);
    result.overClearedPixels = result.read && cleared != nullptr && result.image.constBits() == cleared;
    return result;
}

// The BMP reader writes only the pixels a file gives: run-length data may skip ahead or
// end early, plain data may be cut short, and the rest of a picture it allocates holds
// whatever that memory held before. So the picture is read into memory cleared to zero
// (colour 0 of its table, or black), of the size and layout the reader announces, and
// should it pick another after all, once more in the one it picked. A picture that still
// does not land in cleared memory is refused, as an unreadable one is.
QImage readBmpOverKnownPixels(const QString& path)
{
    // Told the format and no more, a reader goes straight to Qt's own BMP decoder instead
    // of loading every image plug-in to ask whether it knows the file better.
    QImageReader header(path, "BMP");
    header.setAutoDetectImageFormat(false);
    QSize size = header.size();
    size.setHeight(std::abs(size.height()));   // a top-down picture gives its height negative
    ReadResult result = readBmpOver(path, size, header.imageFormat());
    if (result.read && !result.overClearedPixels) {
        result = readBmpOver(path, result.image.size(), result.image.format());
    }
    return result.overClearedPixels ? result.image : QImage();
}

// The layout the game's own pictures have, and most BMP files: a 14-byte file header, the
// 40-byte info header, then uncompressed 24-bit rows padded to four bytes, nothing between.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kPlainPixelsOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr int kLargestPlainSide = 32767;

std::uint32_t littleEndian(const uchar* at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | at[i];
    return value;
}

struct PlainLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    std::size_t rowBytes = 0;
};

// The layout when the file is a whole picture of that plain kind; nothing otherwise.
std::optional<PlainLayout> plainLayout(const uchar* file, std::size_t size)
{
    if (size < kPlainPixelsOffset || file[0] != 'B' || file[1] != 'M' ||
        littleEndian(file + 10, 4) != kPlainPixelsOffset || littleEndian(file + 14, 4) != kInfoHeaderSize ||
        littleEndian(file + 26, 2) != 1 || littleEndian(file + 28, 2) != 24 || littleEndian(file + 30, 4) != 0) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(littleEndian(file + 18, 4));
    const auto height = static_cast<std::int32_t>(littleEndian(file + 22, 4));
    if (width <= 0 || width > kLargestPlainSide || height == 0 || height < -kLargestPlainSide ||
        height > kLargestPlainSide) {
        return std::nullopt;
    }
    PlainLayout layout{width, std::abs(height), height < 0, (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4};
    if (!withinReaderLimit(QSize(layout.width, layout.height), QImage::Format_RGB32)) {
        return std::nullopt;   // the toolkit's reader refuses it, and so the game does
    }
    if ((size - kPlainPixelsOffset) / layout.rowBytes < static_cast<std::size_t>(layout.height)) {
        return std::nullopt;   // cut short: the toolkit's reader knows what to make of that
    }
    return layout;
}

// The game's pictures are read at every start, before the first window: this reads them
// straight from the mapped file, several times faster than the toolkit's general reader,
// into the same pixels.
QImage readPlainBmp(QFile& file)
{
    const qint64 size = file.size();
    const uchar* bytes = size > 0 ? file.map(0, size) : nullptr;
    const auto layout = bytes != nullptr ? plainLayout(bytes, static_cast<std::size_t>(size)) : std::nullopt;
    if (!layout) {
        return QImage();
    }
    QImage image = makeRgbImage(layout->width, layout->height);
    if (image.isNull()) {
        return image;
    }
    for (int y = 0; y < layout->height; ++y) {
        const int fileRow = layout->topDown ? y : layout->height - 1 - y;
        const uchar* from = bytes + kPlainPixelsOffset + static_cast<std::size_t>(fileRow) * layout->rowBytes;
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < layout->width; ++x, from += 3) {
            to[x] = qRgb(from[2], from[1], from[0]);
        }
    }
    return image;
}

} // namespace

QImage readBmp(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        if (QImage plain = readPlainBmp(file); !plain.isNull()) {
            return plain;
        }
    }
    return readBmpOverKnownPixels(path);
}

} // namespace snugbox
