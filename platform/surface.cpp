#include "platform/surface.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/mman.h>

#include "platform/bmp_reader_impl.h"
#include "platform/surface_impl.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780;

std::uint32_t packed(Rgb colour)
{
    return 0xff000000U | static_cast<std::uint32_t>(colour.red) << 16 |
           static_cast<std::uint32_t>(colour.green) << 8 | colour.blue;
}

Rgb unpacked(std::uint32_t pixel)
{
    return Rgb{static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
               static_cast<std::uint8_t>(pixel)};
}

Rect intersected(const Rect& a, const Rect& b)
{
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

Rect united(const Rect& a, const Rect& b)
{
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

Rect boundsOf(const QImage& image) { return Rect{0, 0, image.width(), image.height()}; }

// The three ways a source block meets a target block, row by row. Source and target never
// overlap (a copy within one surface reads from a snapshot), which lets the compiler work
// on several pixels at once; on processors with wider vector units a wider build of each
// loop is picked at load time, as the C library's memcpy does for itself.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__)
#define SNUGBOX_WIDE_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define SNUGBOX_WIDE_LOOP
#endif

// Passed by value: the loops must see that no store can change the span's own fields.
struct BlockSpan {
    std::uint32_t* target;
    const std::uint32_t* source;
    std::ptrdiff_t targetStride;   // in pixels
    std::ptrdiff_t sourceStride;
    int width;
    int rows;
};

void copyBlock(BlockSpan span)
{
    std::uint32_t* target = span.target;
    const std::uint32_t* source = span.source;
    for (int row = 0; row < span.rows; ++row, target += span.targetStride, source += span.sourceStride) {
        std::memcpy(target, source, static_cast<std::size_t>(span.width) * sizeof(std::uint32_t));
    }
}

SNUGBOX_WIDE_LOOP void orBlock(BlockSpan span)
{
    std::uint32_t* target = span.target;
    const std::uint32_t* source = span.source;
    for (int row = 0; row < span.rows; ++row, target += span.targetStride, source += span.sourceStride) {
        std::uint32_t* __restrict to = target;
        const std::uint32_t* __restrict from = source;
        for (int i = 0; i < span.width; ++i) to[i] |= from[i];
    }
}

SNUGBOX_WIDE_LOOP void andBlock(BlockSpan span)
{
    std::uint32_t* target = span.target;
    const std::uint32_t* source = span.source;
    for (int row = 0; row < span.rows; ++row, target += span.targetStride, source += span.sourceStride) {
        std::uint32_t* __restrict to = target;
        const std::uint32_t* __restrict from = source;
        // The alpha byte stays opaque whatever the source holds.
        for (int i = 0; i < span.width; ++i) to[i] &= from[i] | 0xff000000U;
    }
}

void combineBlock(BlockSpan span, RasterOp op)
{
    switch (op) {
    case RasterOp::SrcPaint:
        orBlock(span);
        return;
    case RasterOp::SrcAnd:
        andBlock(span);
        return;
    case RasterOp::SrcCopy:
        break;
    }
    copyBlock(span);
}

void combinePixel(std::uint32_t& target, std::uint32_t source, RasterOp op)
{
    switch (op) {
    case RasterOp::SrcPaint:
        target |= source;
        return;
    case RasterOp::SrcAnd:
        target &= source | 0xff000000U;
        return;
    case RasterOp::SrcCopy:
        break;
    }
    target = source;
}

Qt::Alignment alignmentFor(std::uint32_t flags)
{
    Qt::Alignment horizontal = (flags & TextFlags::Center) ? Qt::AlignHCenter : Qt::AlignLeft;
    // Vertical centring applies to a single line only; otherwise lines start at the top.
    const bool single = (flags & TextFlags::SingleLine) != 0;
    Qt::Alignment vertical = (single && (flags & TextFlags::VCenter)) ? Qt::AlignVCenter : Qt::AlignTop;
    return horizontal | vertical;
}

QString textFor(std::string_view text, std::uint32_t flags)
{
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QChar('\r'), QChar('\n'));
    if (flags & TextFlags::SingleLine) {
        result.replace(QChar('\n'), QChar(' '));
    }
    return result;
}

// Fresh memory costs a page fault at the first touch of every 4 KiB page, and a picture
// of the game's size has hundreds of pages. Start-up makes several such pictures before
// its first window shows; taking all their pages from the kernel at once is many times
// cheaper than taking them one fault at a time.
constexpr std::size_t kPrefaultedImageBytes = 256 * 1024;

struct MappedPixels {
    void* memory;
    std::size_t bytes;
};

void unmapPixels(void* info)
{
    const auto* pixels = static_cast<MappedPixels*>(info);
    ::munmap(pixels->memory, pixels->bytes);
    delete pixels;
}

} // namespace

QImage makeRgbImage(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    const qsizetype bytesPerLine = qsizetype{width} * 4;
    const auto bytes = static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height);
    if (bytes < kPrefaultedImageBytes) {
        return QImage(width, height, QImage::Format_RGB32);
    }
    void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (memory == MAP_FAILED) {
        return QImage(width, height, QImage::Format_RGB32);
    }
    return QImage(static_cast<uchar*>(memory), width, height, bytesPerLine, QImage::Format_RGB32, unmapPixels,
                  new MappedPixels{memory, bytes});
}

QImage makeSurfaceImage(int width, int height)
{
    QImage image = makeRgbImage(width, height);
    image.fill(0xff000000U);
    image.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    image.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
    return image;
}

void Surface::Impl::markChanged(const Rect& area)
{
    changed = united(changed, intersected(area, boundsOf(image)));
}

Surface::Surface() : impl_(std::make_unique<Impl>()) {}

Surface::Surface(int width, int height) : Surface() { reset(width, height); }

Surface::~Surface() = default;
Surface::Surface(Surface&&) noexcept = default;
Surface& Surface::operator=(Surface&&) noexcept = default;

Surface Surface::clone() const
{
    Surface copy;
    *copy.impl_ = *impl_;
    copy.impl_->image = impl_->image.copy();
    return copy;
}

void Surface::reset(int width, int height)
{
    impl_->image = makeSurfaceImage(width, height);
    impl_->changed = boundsOf(impl_->image);
}

int Surface::width() const { return impl_->image.width(); }
int Surface::height() const { return impl_->image.height(); }
bool Surface::isNull() const { return impl_->image.isNull() || width() == 0 || height() == 0; }

bool Surface::loadBmp(const std::string& path)
{
    QImage image = readBmp(QString::fromStdString(path));
    if (image.isNull()) {
        return false;
    }
    // The decoded picture becomes the surface itself: a second copy would only cost
    // memory and page faults at start-up.
    image.convertTo(QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    image.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
    impl_->changed = boundsOf(image);
    impl_->image = std::move(image);
    return true;
}

bool Surface::saveBmp(const std::string& path) const
{
    return impl_->image.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(path), "BMP");
}

bool Surface::savePng(const std::string& path) const
{
    return impl_->image.save(QString::fromStdString(path), "PNG");
}

Rgb Surface::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height()) {
        return Rgb{};
    }
    return unpacked(reinterpret_cast<const std::uint32_t*>(impl_->image.constScanLine(y))[x]);
}

void Surface::setPixel(int x, int y, Rgb colour)
{
    if (x < 0 || y < 0 || x >= width() || y >= height()) {
        return;
    }
    reinterpret_cast<std::uint32_t*>(impl_->image.scanLine(y))[x] = packed(colour);
    impl_->markChanged(Rect{x, y, x + 1, y + 1});
}

bool Surface::pixelsEqual(const Surface& other) const
{
    if (width() != other.width() || height() != other.height()) {
        return false;
    }
    for (int y = 0; y < height(); ++y) {
        if (std::memcmp(constScanLine(y), other.constScanLine(y),
                        static_cast<std::size_t>(width()) * sizeof(std::uint32_t)) != 0) {
            return false;
        }
    }
    return true;
}

void Surface::selectPen(const Pen& pen)
{
    if (pen.set) {
        impl_->pen = pen;
    }
}

Pen Surface::pen() const { return impl_->pen; }
void Surface::setTextColour(Rgb colour) { impl_->textColour = colour; }
Rgb Surface::textColour() const { return impl_->textColour; }
void Surface::setFont(const Font& font) { impl_->font = font; }
const Font& Surface::font() const { return impl_->font; }

void Surface::fillRect(const Rect& rect, const Brush& brush)
{
    if (!brush.set) {
        return;
    }
    const Rect area = intersected(rect, boundsOf(impl_->image));
    if (area.isEmpty()) {
        return;
    }
    const std::uint32_t colour = packed(brush.colour);
    for (int y = area.top; y < area.bottom; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(impl_->image.scanLine(y));
        std::fill(row + area.left, row + area.right, colour);
    }
    impl_->markChanged(area);
}

void Surface::outlineRect(const Rect& rect)
{
    if (rect.isEmpty()) {
        return;
    }
    const Brush line{true, impl_->pen.colour};
    fillRect(Rect{rect.left, rect.top, rect.right, rect.top + 1}, line);
    fillRect(Rect{rect.left, rect.bottom - 1, rect.right, rect.bottom}, line);
    fillRect(Rect{rect.left, rect.top, rect.left + 1, rect.bottom}, line);
    fillRect(Rect{rect.right - 1, rect.top, rect.right, rect.bottom}, line);
}

void Surface::moveTo(int x, int y)
{
    impl_->penX = x;
    impl_->penY = y;
}

void Surface::lineTo(int x, int y)
{
    // Bresenham from the current position, stopping short of (x, y).
    int px = impl_->penX;
    int py = impl_->penY;
    const int dx = std::abs(x - px);
    const int dy = -std::abs(y - py);
    const int stepX = px < x ? 1 : -1;
    const int stepY = py < y ? 1 : -1;
    int error = dx + dy;
    const Rgb colour = impl_->pen.colour;
    while (px != x || py != y) {
        setPixel(px, py, colour);
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            px += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            py += stepY;
        }
    }
    moveTo(x, y);
}

void Surface::blockCopy(int x, int y, int width, int height, const Surface& source, int sourceX,
                        int sourceY, RasterOp op)
{
    if (width <= 0 || height <= 0) {
        return;
    }
    // Clip in source space, then in target space, keeping the two rectangles aligned.
    Rect from = intersected(Rect{sourceX, sourceY, sourceX + width, sourceY + height},
                            boundsOf(source.impl_->image));
    Rect to{x + (from.left - sourceX), y + (from.top - sourceY), x + (from.right - sourceX),
            y + (from.bottom - sourceY)};
    to = intersected(to, boundsOf(impl_->image));
    if (from.isEmpty() || to.isEmpty()) {
        return;
    }
    const int fromLeft = sourceX + (to.left - x);
    const int fromTop = sourceY + (to.top - y);
    const int count = to.right - to.left;

    // A copy within one surface reads from a snapshot, so overlapping areas come out whole.
    QImage snapshot;
    const QImage* sourceImage = &source.impl_->image;
    if (&source == this) {
        snapshot = impl_->image.copy();
        sourceImage = &snapshot;
    }
    // Row addresses by stride: asking the image for every row costs more than a small copy.
    const std::ptrdiff_t targetStride = impl_->image.bytesPerLine() / static_cast<std::ptrdiff_t>(sizeof(std::uint32_t));
    const std::ptrdiff_t sourceStride = sourceImage->bytesPerLine() / static_cast<std::ptrdiff_t>(sizeof(std::uint32_t));
    const BlockSpan span{reinterpret_cast<std::uint32_t*>(impl_->image.bits()) + to.top * targetStride + to.left,
                         reinterpret_cast<const std::uint32_t*>(sourceImage->constBits()) + fromTop * sourceStride +
                             fromLeft,
                         targetStride, sourceStride, count, to.bottom - to.top};
    combineBlock(span, op);
    impl_->markChanged(to);
}

void Surface::stretchCopy(int x, int y, int width, int height, const Surface& source, int sourceX,
                          int sourceY, int sourceWidth, int sourceHeight, RasterOp op)
{
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return;
    }
    QImage snapshot;
    const QImage* sourceImage = &source.impl_->image;
    if (&source == this) {
        snapshot = impl_->image.copy();
        sourceImage = &snapshot;
    }
    const Rect to = intersected(Rect{x, y, x + width, y + height}, boundsOf(impl_->image));
    if (to.isEmpty()) {
        return;
    }
    const int sourceRight = sourceImage->width();
    const int sourceBottom = sourceImage->height();
    for (int ty = to.top; ty < to.bottom; ++ty) {
        const std::int64_t sy = sourceY + static_cast<std::int64_t>(ty - y) * sourceHeight / height;
        if (sy < 0 || sy >= sourceBottom) {
            continue;
        }
        auto* target = reinterpret_cast<std::uint32_t*>(impl_->image.scanLine(ty));
        const auto* row = reinterpret_cast<const std::uint32_t*>(sourceImage->constScanLine(static_cast<int>(sy)));
        for (int tx = to.left; tx < to.right; ++tx) {
            const std::int64_t sx = sourceX + static_cast<std::int64_t>(tx - x) * sourceWidth / width;
            if (sx < 0 || sx >= sourceRight) {
                continue;
            }
            combinePixel(target[tx], row[sx], op);
        }
    }
    impl_->markChanged(to);
}

void Surface::drawText(std::string_view text, const Rect& rect, std::uint32_t flags)
{
    if (rect.isEmpty() || isNull()) {
        return;
    }
    QFont font(QString::fromStdString(impl_->font.family));
    // Sized as a 96 dpi desktop sizes a font of this many points, whatever the screen says.
    font.setPixelSize(std::max(1, nearest(impl_->font.pointSize * 96.0 / 72.0)));
    font.setBold(impl_->font.bold);
    // Crisp, single-colour glyphs, as the game has always drawn its captions.
    font.setStyleStrategy(QFont::NoAntialias);

    QPainter painter(&impl_->image);
    painter.setFont(font);
    painter.setPen(QColor(impl_->textColour.red, impl_->textColour.green, impl_->textColour.blue));
    const QRect box(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    painter.setClipRect(box);
    painter.drawText(box, static_cast<int>(alignmentFor(flags)) | Qt::TextShowMnemonic, textFor(text, flags));
    painter.end();
    impl_->markChanged(rect);
}

Rect Surface::takeChangedArea()
{
    const Rect area = impl_->changed;
    impl_->changed = Rect{};
    return area;
}

const std::uint32_t* Surface::constScanLine(int y) const
{
    return reinterpret_cast<const std::uint32_t*>(impl_->image.constScanLine(y));
}

std::int64_t Surface::bytesPerLine() const { return impl_->image.bytesPerLine(); }

} // namespace snugbox
