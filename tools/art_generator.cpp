#include "tools/art_generator.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

#include "graphics/sprite_layout.h"

namespace snugbox::tools {
namespace {

// ---------------------------------------------------------------------------------------
// Colours and small helpers

// The window colours the pictures sit on, so that rounded corners blend into the window.
const QColor kWindowBlue(74, 107, 173);
const QColor kSheetFiller(50, 50, 40);
const QColor kGold(170, 170, 100);
const QColor kWarmLight(230, 230, 160);
const QColor kCaptionNormal(160, 160, 120);
const QColor kInk(12, 14, 26);

// Five colours that stay apart for the common colour-vision deficiencies (the Okabe-Ito
// set); each square also carries its own motif, so they are told apart even in grey.
constexpr std::array<std::uint32_t, 5> kPieceColours{
    0xE69F00,   // orange, dot
    0x56B4E9,   // sky blue, ring
    0x00A57A,   // bluish green, cross
    0xF0E442,   // yellow, diamond
    0xCC79A7,   // reddish purple, bar
};
enum class Motif { Dot, Ring, Cross, Diamond, Bar };
constexpr std::array<Motif, 5> kPieceMotifs{Motif::Dot, Motif::Ring, Motif::Cross, Motif::Diamond, Motif::Bar};

QColor fromRgb(std::uint32_t rgb) { return QColor(int(rgb >> 16 & 0xff), int(rgb >> 8 & 0xff), int(rgb & 0xff)); }

int clampChannel(double value) { return std::clamp(static_cast<int>(std::lround(value)), 0, 255); }

QColor scaled(const QColor& colour, double factor)
{
    return QColor(clampChannel(colour.red() * factor), clampChannel(colour.green() * factor),
                  clampChannel(colour.blue() * factor));
}

// t = 0 gives a, t = 1 gives b.
QColor mixed(const QColor& a, const QColor& b, double t)
{
    return QColor(clampChannel(a.red() + (b.red() - a.red()) * t), clampChannel(a.green() + (b.green() - a.green()) * t),
                  clampChannel(a.blue() + (b.blue() - a.blue()) * t));
}

QColor lighter(const QColor& colour, double t) { return mixed(colour, Qt::white, t); }

// A fixed hash noise in [0, 1): the same picture on every run, with no global state.
double noise(int x, int y, int seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393U + static_cast<std::uint32_t>(y) * 668265263U +
                      static_cast<std::uint32_t>(seed) * 2246822519U;
    h = (h ^ (h >> 13)) * 1274126177U;
    h ^= h >> 16;
    return static_cast<double>(h & 0xffffff) / static_cast<double>(0x1000000);
}

QImage blankImage(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QFont fontOf(const char* family, int pixelSize, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont sansFont(int pixelSize, bool bold = true) { return fontOf("Liberation Sans", pixelSize, bold); }

// Text with a dark drop shadow, centred in the box.
void shadowedText(QPainter& painter, const QRectF& box, const QString& text, const QColor& colour,
                  const QColor& shadow, qreal offset, int flags = Qt::AlignCenter)
{
    painter.setPen(shadow);
    painter.drawText(box.translated(offset, offset), flags, text);
    painter.setPen(colour);
    painter.drawText(box, flags, text);
}

void ensureGuiApplication()
{
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    // Always offscreen: a desktop's own font hinting settings would change the pictures.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "snugbox_generate";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

Bytes encoded(const QImage& image, const char* format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return Bytes(data.begin(), data.end());
}

// ---------------------------------------------------------------------------------------
// Board tiles: five patterns, each in a light and a dark shade, so a level's board reads as
// a checkerboard and every level pair looks different. They stay muted and darker than the
// pieces so that the pieces stand out.

struct TilePattern {
    QColor light;
    QColor dark;
    double (*shading)(int x, int y, int seed);   // brightness factor around 1
};

double slateShading(int x, int y, int seed)
{
    const double grain = (noise(x, y, seed) - 0.5) * 0.10;
    const double dx = x - 22.0;
    const double dy = y - 22.0;
    const double dome = 0.05 * (1.0 - std::min(1.0, std::sqrt(dx * dx + dy * dy) / 30.0));
    // A faint vein across the slab.
    const double vein = std::abs((x * 0.55 + y) - (30.0 + 6.0 * std::sin(x * 0.3))) < 0.8 ? -0.07 : 0.0;
    return 1.0 + grain + dome + vein;
}

double weaveShading(int x, int y, int seed)
{
    // A basket weave of 15-pixel blocks whose strands alternate direction.
    const bool horizontal = ((x / 15) + (y / 15)) % 2 == 0;
    const int across = horizontal ? y % 15 : x % 15;
    const int along = horizontal ? x % 15 : y % 15;
    const int edge = across % 5;
    double factor = edge == 0 ? 0.84 : edge == 1 ? 1.09 : edge == 4 ? 0.95 : 1.0;
    if (along == 0) factor *= 0.9;
    return factor + (noise(x, y, seed) - 0.5) * 0.05;
}

double plankShading(int x, int y, int seed)
{
    const int plank = y / 15;
    const int within = y % 15;
    if (within == 0) return 0.68;
    const int joint = (plank * 19 + 28) % 45;
    if (x == joint) return 0.74;
    if (x == joint + 1) return 1.08;
    const double grain = 0.07 * std::sin((x + plank * 23) * 0.33 + 2.2 * std::sin(y * 0.55 + plank * 1.7));
    const double top = within == 1 ? 0.1 : 0.0;
    return 1.0 + grain + top + (noise(x, y, seed) - 0.5) * 0.04;
}

double inlayShading(int x, int y, int seed)
{
    const int centre = std::abs(x - 22) + std::abs(y - 22);
    const int corner = std::min({x + y, (44 - x) + y, x + (44 - y), (44 - x) + (44 - y)});
    double factor = 1.0;
    if (centre < 12) factor = 1.14 - centre * 0.004;
    else if (centre == 12) factor = 0.74;
    else if (centre == 13) factor = 1.06;
    if (corner < 9) factor = 1.1;
    else if (corner == 9) factor = 0.78;
    return factor + (noise(x, y, seed) - 0.5) * 0.04;
}

double rippleShading(int x, int y, int seed)
{
    const double radius = std::sqrt((x - 22.0) * (x - 22.0) + (y - 22.0) * (y - 22.0));
    const double phase = std::fmod(radius, 8.0);
    double factor = 1.0;
    if (radius < 28.0) {
        if (phase < 1.4) factor = 1.16;
        else if (phase < 2.6) factor = 0.9;
    }
    if (radius < 2.2) factor = 1.18;
    return factor + (noise(x, y, seed) - 0.5) * 0.05;
}

const std::array<TilePattern, 5>& tilePatterns()
{
    static const std::array<TilePattern, 5> patterns{{
        {QColor(112, 124, 148), QColor(84, 95, 118), slateShading},
        {QColor(88, 124, 82), QColor(64, 96, 62), weaveShading},
        {QColor(142, 108, 62), QColor(114, 84, 48), plankShading},
        {QColor(120, 90, 134), QColor(92, 66, 106), inlayShading},
        {QColor(150, 74, 74), QColor(118, 56, 58), rippleShading},
    }};
    return patterns;
}

// A one-pixel bevel on every tile keeps the cells apart where equal tiles meet.
double tileEdge(int x, int y)
{
    const int last = cellSize - 1;
    if (x == 0 || y == 0) return 1.2;
    if (x == last || y == last) return 0.7;
    if (x == 1 || y == 1) return 1.06;
    if (x == last - 1 || y == last - 1) return 0.88;
    return 1.0;
}

QImage boardTileImage(int tile)
{
    const TilePattern& pattern = tilePatterns()[static_cast<std::size_t>((tile - 1) / 2)];
    const QColor base = tile % 2 == 1 ? pattern.light : pattern.dark;
    QImage image = blankImage(cellSize, cellSize, base);
    for (int y = 0; y < cellSize; ++y) {
        for (int x = 0; x < cellSize; ++x) {
            image.setPixelColor(x, y, scaled(base, pattern.shading(x, y, tile) * tileEdge(x, y)));
        }
    }
    return image;
}

// ---------------------------------------------------------------------------------------
// Piece squares: a bevelled tile with an engraved motif.

void drawMotif(QPainter& painter, Motif motif, const QPointF& centre, const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    switch (motif) {
    case Motif::Dot:
        painter.drawEllipse(centre, 6.0, 6.0);
        break;
    case Motif::Ring: {
        QPainterPath ring;
        ring.addEllipse(centre, 9.5, 9.5);
        ring.addEllipse(centre, 6.0, 6.0);
        painter.drawPath(ring);
        break;
    }
    case Motif::Cross:
        painter.drawRect(QRectF(centre.x() - 9.5, centre.y() - 2.5, 19.0, 5.0));
        painter.drawRect(QRectF(centre.x() - 2.5, centre.y() - 9.5, 5.0, 19.0));
        break;
    case Motif::Diamond: {
        const QPolygonF diamond{{centre.x(), centre.y() - 10.0}, {centre.x() + 10.0, centre.y()},
                                {centre.x(), centre.y() + 10.0}, {centre.x() - 10.0, centre.y()}};
        painter.drawPolygon(diamond);
        break;
    }
    case Motif::Bar:
        painter.drawRect(QRectF(centre.x() - 11.5, centre.y() - 3.5, 23.0, 7.0));
        break;
    }
}

QImage pieceSquareImage(int colourNumber)
{
    const QColor base = fromRgb(kPieceColours[static_cast<std::size_t>(colourNumber - 1)]);
    constexpr int kBevel = 4;
    const int last = cellSize - 1;
    QImage image = blankImage(cellSize, cellSize, scaled(base, 0.42));
    const std::array<QColor, 4> edges{lighter(base, 0.55), lighter(base, 0.3), scaled(base, 0.62),
                                      scaled(base, 0.74)};   // top, left, bottom, right
    for (int y = 1; y < last; ++y) {
        for (int x = 1; x < last; ++x) {
            const int fromTop = y - 1, fromLeft = x - 1, fromBottom = last - 1 - y, fromRight = last - 1 - x;
            const int nearestEdge = std::min({fromTop, fromLeft, fromBottom, fromRight});
            if (nearestEdge < kBevel) {
                // Corners split on the diagonal: light edges win the top-left half.
                int edge = 0;
                if (nearestEdge == fromTop && fromTop <= fromRight) edge = 0;
                else if (nearestEdge == fromLeft && fromLeft <= fromBottom) edge = 1;
                else if (nearestEdge == fromBottom) edge = 2;
                else edge = 3;
                image.setPixelColor(x, y, scaled(edges[static_cast<std::size_t>(edge)], 1.0 + 0.03 * (kBevel - 1 - nearestEdge)));
            } else {
                const double down = (y - kBevel - 1) / double(cellSize - 2 * kBevel - 3);
                image.setPixelColor(x, y, mixed(lighter(base, 0.16), scaled(base, 0.9), down));
            }
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const Motif motif = kPieceMotifs[static_cast<std::size_t>(colourNumber - 1)];
    const QPointF centre(22.5, 22.5);
    // Engraved: a light rim below and right, the dark cut above it.
    drawMotif(painter, motif, centre + QPointF(1.0, 1.0), lighter(base, 0.45));
    drawMotif(painter, motif, centre, scaled(base, 0.5));
    return image;
}

// ---------------------------------------------------------------------------------------
// Shadows are combined with AND. A flat colour would clear whole bit planes and turn some
// colours into others; an even checkerboard of black and near-white halves the light of
// every colour while every other pixel keeps its own (less its lowest four bits), so
// whatever lies under a shadow, and the whole play area dimmed at game over, stays
// recognisable.

QImage shadowSquareImage()
{
    QImage image = blankImage(cellSize, cellSize, QColor(0xf0, 0xf0, 0xf0));
    for (int y = 0; y < cellSize; ++y) {
        for (int x = 0; x < cellSize; ++x) {
            if ((x + y) % 2 == 0) image.setPixelColor(x, y, Qt::black);
        }
    }
    return image;
}

// ---------------------------------------------------------------------------------------
// The side picture, the badge, the buttons, the score plate and the bars.

void drawMiniSquare(QPainter& painter, const QRectF& box, int colourNumber)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(box, pieceSquareImage(colourNumber));
    painter.restore();
}

// A plate shading from `top` to `bottom` with a gold rim, inset by `inset` on every side.
void drawGoldRimmedPlate(QPainter& painter, QSizeF size, double inset, double radius, QColor top, QColor bottom)
{
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    painter.setBrush(fill);
    painter.setPen(QPen(kGold, 1.0));
    painter.drawRoundedRect(QRectF(inset, inset, size.width() - 2 * inset, size.height() - 2 * inset), radius, radius);
}

QImage sidePictureImage()
{
    const sprite::Region region = sprite::sidePicture;
    QImage image = blankImage(region.width, region.height, kWindowBlue);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGoldRimmedPlate(painter, QSizeF(region.width, region.height), 1.5, 9, QColor(40, 54, 98), QColor(22, 30, 58));
    painter.setPen(QPen(QColor(90, 110, 170), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(3.5, 3.5, region.width - 7.0, region.height - 7.0), 7, 7);

    // A little piece: an L of three squares.
    drawMiniSquare(painter, QRectF(11, 13, 13, 13), 1);
    drawMiniSquare(painter, QRectF(11, 26, 13, 13), 2);
    drawMiniSquare(painter, QRectF(24, 26, 13, 13), 3);
    drawMiniSquare(painter, QRectF(24, 39, 13, 13), 4);

    painter.setFont(sansFont(26));
    shadowedText(painter, QRectF(40, 7, 120, 36), QStringLiteral("Snugbox"), QColor(240, 232, 160), kInk, 2);
    painter.setFont(sansFont(11, false));
    shadowedText(painter, QRectF(40, 42, 120, 16), QStringLiteral("make every piece fit"), QColor(178, 192, 230),
                 kInk, 1);
    return image;
}

QImage levelBadgeImage()
{
    const sprite::Region region = sprite::levelBadge;
    QImage image = blankImage(region.width, region.height, kWindowBlue);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(region.width / 2.0, region.height / 2.0);
    QLinearGradient rim(0, 0, region.width, region.height);
    rim.setColorAt(0.0, QColor(236, 226, 150));
    rim.setColorAt(1.0, QColor(120, 110, 60));
    painter.setPen(QPen(QColor(40, 40, 30), 1.0));
    painter.setBrush(rim);
    painter.drawEllipse(centre, 23.5, 23.5);
    // Notches around the rim, like a medal's edge.
    painter.setPen(QPen(QColor(110, 100, 56), 1.2));
    for (int notch = 0; notch < 16; ++notch) {
        const double angle = notch * 3.14159265358979 / 8.0;
        painter.drawLine(centre + QPointF(std::cos(angle) * 20.5, std::sin(angle) * 20.5),
                         centre + QPointF(std::cos(angle) * 22.5, std::sin(angle) * 22.5));
    }
    QRadialGradient disc(centre - QPointF(4, 5), 22);
    disc.setColorAt(0.0, QColor(70, 84, 130));
    disc.setColorAt(1.0, QColor(22, 26, 48));
    painter.setPen(QPen(QColor(60, 56, 30), 1.0));
    painter.setBrush(disc);
    painter.drawEllipse(centre, 18.5, 18.5);
    return image;
}

enum class Icon { Exit, NewGame, BestScores, Pause, Help };

void drawIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF c = box.center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    switch (icon) {
    case Icon::Exit: {
        painter.setPen(QPen(colour, 3.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
        painter.drawLine(c + QPointF(5, -5), c + QPointF(-5, 5));
        break;
    }
    case Icon::NewGame:
        painter.drawPolygon(QPolygonF{c + QPointF(-5, -7), c + QPointF(7, 0), c + QPointF(-5, 7)});
        break;
    case Icon::BestScores: {
        QPolygonF star;
        for (int point = 0; point < 10; ++point) {
            const double radius = point % 2 == 0 ? 8.0 : 3.4;
            const double angle = -3.14159265358979 / 2 + point * 3.14159265358979 / 5;
            star << c + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
        }
        painter.drawPolygon(star);
        break;
    }
    case Icon::Pause:
        painter.drawRect(QRectF(c.x() - 5.5, c.y() - 6.5, 4, 13));
        painter.drawRect(QRectF(c.x() + 1.5, c.y() - 6.5, 4, 13));
        break;
    case Icon::Help:
        painter.setPen(QPen(colour, 1.8));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(c, 7.5, 7.5);
        painter.setFont(sansFont(12));
        painter.drawText(QRectF(c.x() - 8, c.y() - 8, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    painter.restore();
}

struct MenuFace {
    int face;
    const char* caption;
    Icon icon;
};

constexpr std::array<MenuFace, 5> kMenuFaces{{
    {sprite::kFaceExit, "Exit", Icon::Exit},
    {sprite::kFaceNewGame, "New Game", Icon::NewGame},
    {sprite::kFaceBestScores, "Best Scores", Icon::BestScores},
    {sprite::kFacePause, "Pause", Icon::Pause},
    {sprite::kFaceHelp, "Help", Icon::Help},
}};

QImage buttonFaceImage(const MenuFace& menuFace, bool lit)
{
    QImage image = blankImage(122, 30, kWindowBlue);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 30);
    fill.setColorAt(0.0, lit ? QColor(112, 140, 210) : QColor(60, 80, 134));
    fill.setColorAt(1.0, lit ? QColor(58, 80, 148) : QColor(34, 46, 88));
    painter.setBrush(fill);
    painter.setPen(QPen(lit ? kWarmLight : QColor(24, 32, 62), 1.0));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 121, 29), 7, 7);
    painter.setPen(QPen(lit ? QColor(170, 190, 240) : QColor(92, 114, 172), 1.0));
    painter.drawLine(QPointF(7, 2.5), QPointF(115, 2.5));

    const QColor text = lit ? kWarmLight : kCaptionNormal;
    drawIcon(painter, menuFace.icon, QRectF(7, 6, 18, 18), lit ? QColor(250, 214, 90) : text);
    painter.setFont(sansFont(15));
    shadowedText(painter, QRectF(26, 0, 92, 29), QString::fromLatin1(menuFace.caption), text, kInk, 1);
    return image;
}

QImage scorePlateImage()
{
    const sprite::Region region = sprite::scorePlate;
    QImage image = blankImage(region.width, region.height, kWindowBlue);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGoldRimmedPlate(painter, QSizeF(region.width, region.height), 0.5, 8, QColor(16, 18, 30), QColor(40, 46, 70));
    painter.setPen(QPen(QColor(8, 10, 16), 1.0));
    painter.drawLine(QPointF(8, 2.5), QPointF(region.width - 8, 2.5));
    for (double x : {8.0, region.width - 8.0}) {
        painter.setPen(QPen(QColor(60, 56, 30), 1.0));
        painter.setBrush(QColor(190, 180, 110));
        painter.drawEllipse(QPointF(x, region.height / 2.0), 2.6, 2.6);
    }
    return image;
}

// Both bars share the frame: it is painted first, the same for both, and what fills the
// trough is clipped to well inside it. So the full bar up to any point and the empty bar
// after it make one picture with no seam.
QImage scoreBarImage(bool full)
{
    const sprite::Region region = sprite::emptyScoreBar;
    QImage image = blankImage(region.width, region.height, kWindowBlue);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(10, 12, 20));
    painter.setPen(QPen(kGold, 1.0));
    painter.drawRoundedRect(QRectF(0.5, 0.5, region.width - 1.0, region.height - 1.0), 8, 8);

    painter.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath trough;
    trough.addRoundedRect(QRectF(2, 2, region.width - 4.0, region.height - 4.0), 6, 6);
    painter.setClipPath(trough);
    QLinearGradient fill(0, 2, 0, region.height - 2);
    if (full) {
        fill.setColorAt(0.0, QColor(255, 226, 120));
        fill.setColorAt(0.45, QColor(240, 176, 40));
        fill.setColorAt(1.0, QColor(176, 104, 16));
    } else {
        fill.setColorAt(0.0, QColor(14, 16, 26));
        fill.setColorAt(1.0, QColor(38, 44, 66));
    }
    painter.fillRect(image.rect(), fill);
    // Ten steps, one tick between each.
    painter.setPen(full ? QColor(196, 128, 24) : QColor(56, 64, 92));
    for (int tick = 1; tick < 10; ++tick) {
        const int x = tick * 24;
        painter.drawLine(x, 5, x, region.height - 6);
    }
    if (full) {
        painter.setPen(QColor(255, 244, 200));
        painter.drawLine(6, 4, region.width - 7, 4);
    }
    return image;
}

void paste(QImage& sheet, const QImage& picture, int x, int y)
{
    QPainter painter(&sheet);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, picture);
}

void paste(QImage& sheet, const QImage& picture, const sprite::Region& region) { paste(sheet, picture, region.x, region.y); }

QImage spriteSheetImage()
{
    QImage sheet = blankImage(sprite::kSheetWidth, sprite::kSheetHeight, kSheetFiller);
    for (int tile = 1; tile <= sprite::kTileCount; ++tile) {
        paste(sheet, boardTileImage(tile), sprite::boardTile(tile));
    }
    const QImage shadow = shadowSquareImage();
    for (int colour = 1; colour <= colourCount; ++colour) {
        paste(sheet, pieceSquareImage(colour), sprite::pieceSquare(colour));
        paste(sheet, shadow, sprite::shadowSquare(colour));
    }
    paste(sheet, sidePictureImage(), sprite::sidePicture);
    paste(sheet, levelBadgeImage(), sprite::levelBadge);
    for (const MenuFace& menuFace : kMenuFaces) {
        paste(sheet, buttonFaceImage(menuFace, true), sprite::buttonFace(menuFace.face, true));
        paste(sheet, buttonFaceImage(menuFace, false), sprite::buttonFace(menuFace.face, false));
    }
    const QImage plate = scorePlateImage();
    paste(sheet, plate, sprite::scorePlate);
    paste(sheet, plate, sprite::buttonFace(sprite::kFaceScorePlate, false));
    paste(sheet, scoreBarImage(false), sprite::emptyScoreBar);
    paste(sheet, scoreBarImage(true), sprite::fullScoreBar);
    return sheet;
}

// ---------------------------------------------------------------------------------------
// The welcome picture: name, what the game is, a board with pieces, the maker's address.

struct BoardSquare {
    int col;
    int row;
    int colour;
};

void drawWelcomeBoard(QPainter& painter, const QPoint& origin)
{
    constexpr int kCells = 6;
    painter.fillRect(QRect(origin.x() - 4, origin.y() - 4, kCells * cellSize + 8, kCells * cellSize + 8),
                     QColor(14, 18, 34));
    painter.setPen(kGold);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(origin.x() - 5, origin.y() - 5, kCells * cellSize + 9, kCells * cellSize + 9));
    for (int row = 0; row < kCells; ++row) {
        for (int col = 0; col < kCells; ++col) {
            painter.drawImage(origin + QPoint(col * cellSize, row * cellSize), boardTileImage((row + col) % 2 == 0 ? 1 : 2));
        }
    }
    static constexpr std::array<BoardSquare, 17> kPlaced{{
        {0, 5, 1}, {1, 5, 1}, {2, 5, 1}, {0, 4, 1},          // an L
        {3, 5, 2}, {4, 5, 2}, {5, 5, 2}, {4, 4, 2},          // a T
        {5, 4, 3}, {5, 3, 3}, {4, 3, 3},                      // a bent three
        {0, 3, 5}, {0, 2, 5},                                 // a bar of two
        {1, 4, 4}, {2, 4, 4}, {1, 3, 4}, {2, 3, 4},           // a square
    }};
    for (const BoardSquare& square : kPlaced) {
        painter.drawImage(origin + QPoint(square.col * cellSize, square.row * cellSize), pieceSquareImage(square.colour));
    }
}

// A carried piece: the shadow is ANDed onto the picture, exactly as the game draws it.
void drawCarriedPiece(QImage& picture, const QPoint& origin)
{
    static constexpr std::array<BoardSquare, 3> kPiece{{{0, 0, 3}, {1, 0, 3}, {1, 1, 3}}};
    const QImage shadow = shadowSquareImage();
    for (const BoardSquare& square : kPiece) {
        const QPoint at = origin + QPoint(square.col * cellSize + 10, square.row * cellSize + 10);
        for (int y = 0; y < cellSize; ++y) {
            for (int x = 0; x < cellSize; ++x) {
                const QPoint p = at + QPoint(x, y);
                if (!picture.rect().contains(p)) continue;
                const QRgb under = picture.pixel(p);
                picture.setPixel(p, under & shadow.pixel(x, y));
            }
        }
    }
    QPainter painter(&picture);
    for (const BoardSquare& square : kPiece) {
        painter.drawImage(origin + QPoint(square.col * cellSize, square.row * cellSize), pieceSquareImage(square.colour));
    }
}

QImage welcomeImage()
{
    constexpr int kWidth = 680;
    constexpr int kHeight = 450;
    QImage picture = blankImage(kWidth, kHeight, Qt::black);
    {
        QPainter painter(&picture);
        QLinearGradient sky(0, 0, 0, kHeight);
        sky.setColorAt(0.0, QColor(16, 22, 44));
        sky.setColorAt(1.0, QColor(52, 76, 134));
        painter.fillRect(picture.rect(), sky);
        // A faint grid of board cells behind everything.
        painter.setPen(QColor(255, 255, 255, 14));
        for (int x = 0; x < kWidth; x += cellSize) painter.drawLine(x, 0, x, kHeight);
        for (int y = 0; y < kHeight; y += cellSize) painter.drawLine(0, y, kWidth, y);
        drawWelcomeBoard(painter, QPoint(40, 120));
    }
    drawCarriedPiece(picture, QPoint(196, 38));

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(sansFont(74));
    shadowedText(painter, QRectF(330, 60, 330, 100), QStringLiteral("Snugbox"), QColor(244, 234, 160), kInk, 4);
    painter.setFont(sansFont(21));
    shadowedText(painter, QRectF(330, 160, 330, 30), QStringLiteral("a puzzle of snug fits"), QColor(206, 216, 244),
                 kInk, 2);
    painter.setFont(sansFont(15, false));
    const QColor prose(176, 192, 230);
    shadowedText(painter, QRectF(340, 222, 310, 22), QStringLiteral("Take a piece from the dispenser,"), prose, kInk, 1);
    shadowedText(painter, QRectF(340, 246, 310, 22), QStringLiteral("turn it and drop it on the board."), prose, kInk, 1);
    shadowedText(painter, QRectF(340, 270, 310, 22), QStringLiteral("Fill a row or a column to clear it."), prose, kInk, 1);
    shadowedText(painter, QRectF(340, 294, 310, 22), QStringLiteral("Ten levels. How far will you get?"), prose, kInk, 1);

    // The maker's area answers a click with the address written in it.
    const QRectF makerArea(350, 400, 200, 40);
    painter.setPen(QPen(QColor(110, 134, 196), 1.0));
    painter.setBrush(QColor(20, 28, 54, 150));
    painter.drawRoundedRect(makerArea.adjusted(1.5, 4.5, -1.5, -4.5), 8, 8);
    QFont link = sansFont(15);
    link.setUnderline(true);
    painter.setFont(link);
    shadowedText(painter, makerArea, QStringLiteral("snugbox.example.org"), QColor(160, 200, 255), kInk, 1);
    return picture;
}

// ---------------------------------------------------------------------------------------
// The icon: a piece of three bevelled squares on a dark rounded tile. One drawing feeds
// two canvases, pixels for the PNG sizes and SVG elements for the scalable icon, so that
// the two cannot come to show different pictures.

class IconCanvas {
public:
    virtual ~IconCanvas() = default;
    // The rounded tile, shaded from top to bottom over the whole icon's height; a rim of
    // zero width draws none.
    virtual void tile(const QRectF& box, double radius, const QColor& top, const QColor& bottom, double rim) = 0;
    virtual void rectangle(const QRectF& box, const QColor& colour) = 0;
    virtual void polygon(const QPolygonF& corners, const QColor& colour) = 0;
};

void drawIcon(IconCanvas& canvas, int size)
{
    const double s = size;
    const double inset = size >= 32 ? s / 64.0 : 0.0;
    canvas.tile(QRectF(inset, inset, s - 2 * inset, s - 2 * inset), s * 0.2, QColor(66, 94, 164),
                QColor(26, 38, 78), size >= 32 ? s / 48.0 : 0.0);

    const double cell = s * 0.36;
    const double left = (s - 2 * cell) / 2.0;
    const double top = (s - 2 * cell) / 2.0;
    const std::array<std::pair<QPointF, int>, 3> squares{{
        {QPointF(left, top), 1},
        {QPointF(left, top + cell), 2},
        {QPointF(left + cell, top + cell), 3},
    }};
    const double bevel = std::max(1.0, cell * 0.14);
    for (const auto& [corner, colourNumber] : squares) {
        const QColor base = fromRgb(kPieceColours[static_cast<std::size_t>(colourNumber - 1)]);
        const QRectF box(corner, QSizeF(cell, cell));
        canvas.rectangle(box, scaled(base, 0.45));
        const QRectF inner = box.adjusted(s / 64.0 + 0.5, s / 64.0 + 0.5, -(s / 64.0 + 0.5), -(s / 64.0 + 0.5));
        const QRectF face = inner.adjusted(bevel, bevel, -bevel, -bevel);
        canvas.polygon(QPolygonF{inner.topLeft(), inner.topRight(), face.topRight(), face.topLeft()}, lighter(base, 0.5));
        canvas.polygon(QPolygonF{inner.topLeft(), face.topLeft(), face.bottomLeft(), inner.bottomLeft()},
                       lighter(base, 0.25));
        canvas.polygon(QPolygonF{inner.bottomLeft(), face.bottomLeft(), face.bottomRight(), inner.bottomRight()},
                       scaled(base, 0.6));
        canvas.polygon(QPolygonF{inner.topRight(), inner.bottomRight(), face.bottomRight(), face.topRight()},
                       scaled(base, 0.75));
        canvas.rectangle(face, base);
    }
}

class PainterCanvas : public IconCanvas {
public:
    explicit PainterCanvas(QImage& image) : painter_(&image) { painter_.setRenderHint(QPainter::Antialiasing); }

    void tile(const QRectF& box, double radius, const QColor& top, const QColor& bottom, double rim) override
    {
        QLinearGradient shade(0, 0, 0, painter_.device()->height());
        shade.setColorAt(0.0, top);
        shade.setColorAt(1.0, bottom);
        painter_.setPen(rim > 0 ? QPen(kGold, rim) : Qt::NoPen);
        painter_.setBrush(shade);
        painter_.drawRoundedRect(box, radius, radius);
    }
    void rectangle(const QRectF& box, const QColor& colour) override
    {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(colour);
        painter_.drawRect(box);
    }
    void polygon(const QPolygonF& corners, const QColor& colour) override
    {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(colour);
        painter_.drawPolygon(corners);
    }

private:
    QPainter painter_;
};

// Writes the elements as SVG 1.1 text with the same numbers the painter gets. QPainter's
// default pen joins are bevelled, so the rim's are too.
class SvgCanvas : public IconCanvas {
public:
    explicit SvgCanvas(int size) : size_(size) {}

    void tile(const QRectF& box, double radius, const QColor& top, const QColor& bottom, double rim) override
    {
        body_ += QStringLiteral("<defs><linearGradient id=\"shade\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" "
                                "y1=\"0\" x2=\"0\" y2=\"%1\"><stop offset=\"0\" stop-color=\"%2\"/>"
                                "<stop offset=\"1\" stop-color=\"%3\"/></linearGradient></defs>\n")
                     .arg(size_)
                     .arg(top.name(), bottom.name());
        body_ += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"url(#shade)\"")
                     .arg(number(box.x()), number(box.y()), number(box.width()), number(box.height()), number(radius));
        if (rim > 0) {
            body_ += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"bevel\"")
                         .arg(kGold.name(), number(rim));
        }
        body_ += QStringLiteral("/>\n");
    }
    void rectangle(const QRectF& box, const QColor& colour) override
    {
        body_ += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                     .arg(number(box.x()), number(box.y()), number(box.width()), number(box.height()), colour.name());
    }
    void polygon(const QPolygonF& corners, const QColor& colour) override
    {
        QStringList points;
        for (const QPointF& corner : corners) {
            points << number(corner.x()) + QLatin1Char(',') + number(corner.y());
        }
        body_ += QStringLiteral("<polygon points=\"%1\" fill=\"%2\"/>\n").arg(points.join(QLatin1Char(' ')), colour.name());
    }

    QByteArray document() const
    {
        return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                              "version=\"1.1\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n%2</svg>\n")
            .arg(size_)
            .arg(body_)
            .toUtf8();
    }

private:
    // Four decimals are far below a pixel at any size a desktop shows the icon.
    static QString number(double value) { return QString::number(value, 'f', 4).remove(QRegularExpression("\\.?0+$")); }

    int size_;
    QString body_;
};

QImage iconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    PainterCanvas canvas(image);
    drawIcon(canvas, size);
    return image;
}

} // namespace

Bytes generateSpriteSheet()
{
    ensureGuiApplication();
    return encoded(spriteSheetImage().convertToFormat(QImage::Format_RGB888), "BMP");
}

Bytes generateWelcomePicture()
{
    ensureGuiApplication();
    return encoded(welcomeImage().convertToFormat(QImage::Format_RGB888), "BMP");
}

std::vector<NamedFile> generateIcons()
{
    ensureGuiApplication();
    std::vector<NamedFile> icons;
    for (int size : kIconSizes) {
        icons.push_back(NamedFile{"snugbox-" + std::to_string(size) + ".png", encoded(iconImage(size), "PNG")});
    }
    return icons;
}

Bytes generateScalableIcon()
{
    SvgCanvas canvas(kScalableIconSize);
    drawIcon(canvas, kScalableIconSize);
    const QByteArray svg = canvas.document();
    return Bytes(svg.begin(), svg.end());
}

} // namespace snugbox::tools
