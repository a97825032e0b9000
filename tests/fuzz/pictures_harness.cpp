// The two pictures: whatever the file holds, the game loads it (or goes on without it),
// loads it the same every time, and every sprite copy stays inside its panel.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "graphics/sprite_layout.h"
#include "platform/surface.h"
#include "rules/catalogue.h"
#include "rules/game_state.h"
#include "rules/pieces.h"
#include "rules/random.h"
#include "tests/fuzz/harnesses.h"
#include "tests/support/scribble.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SNUGBOX_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define SNUGBOX_ASAN 1
#endif

namespace snugbox::fuzz {
namespace {

// Decoding and converting dominate the time of a run, growing with the picture. What the
// drawing makes of a picture - copies clipped to it or not - shows at any size, and the
// decoder's paths do not depend on it; so inputs claiming more than 256 x 256 pixels are
// left alone, and the fuzzer spends its time on many small pictures instead.
constexpr std::int64_t kMostPixelsTried = 256 * 256;
constexpr int kGuard = 16;   // around each panel, wider than a slip of a copy would be
constexpr Rgb kGuardColour{3, 141, 59};

std::int64_t littleEndian(const std::uint8_t* bytes, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return size == 4 ? static_cast<std::int32_t>(value) : static_cast<std::int64_t>(value);
}

// The pixels a BMP header claims: a 12-byte header holds 16-bit sizes, the others 32-bit.
std::int64_t claimedPixels(const std::uint8_t* data, std::size_t size)
{
    if (size < 26) {
        return 0;
    }
    const bool oldHeader = littleEndian(data + 14, 4) == 12;
    const std::int64_t width = littleEndian(data + 18, oldHeader ? 2 : 4);
    const std::int64_t height = littleEndian(data + (oldHeader ? 20 : 22), oldHeader ? 2 : 4);
    return std::abs(width) * std::abs(height);
}

// Every shape of the shipped catalogue, the pieces the slots show.
const GameState& shippedShapes()
{
    static const GameState* state = [] {
        auto* loaded = new GameState;
        if (auto error = loadAllPieces(*loaded, std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT")) {
            fail(*error);
        }
        return loaded;
    }();
    return *state;
}

// Draws the given sequence of values, one per call, for the dialog tile.
class FixedDraws final : public RandomSource {
public:
    explicit FixedDraws(std::vector<double> values) : values_(std::move(values)) {}
    double next() override { return values_[next_++ % values_.size()]; }
    void reseedFromClock() override {}

private:
    std::vector<double> values_;
    std::size_t next_ = 0;
};

constexpr std::uint32_t kGuardPixel = 0xff000000U | kGuardColour.red << 16 | kGuardColour.green << 8 | kGuardColour.blue;

// Whether every pixel of the surface outside `inside` still has the guard colour.
bool guardKept(const Surface& surface, const Rect& inside)
{
    static const std::vector<std::uint32_t> guardRow(2048, kGuardPixel);
    const auto isGuard = [](const std::uint32_t* pixels, int count) {
        return count <= 0 || std::memcmp(pixels, guardRow.data(), static_cast<std::size_t>(count) * 4) == 0;
    };
    const int width = surface.width();
    for (int y = 0; y < surface.height(); ++y) {
        const std::uint32_t* row = surface.constScanLine(y);
        const bool kept = y >= inside.top && y < inside.bottom
                              ? isGuard(row, inside.left) && isGuard(row + inside.right, width - inside.right)
                              : isGuard(row, width);
        if (!kept) {
            return false;
        }
    }
    return true;
}

// A surface with room for width x height and a guard border all round, made once per size
// and kept, since the checks run on every input: a check that passed leaves the border as
// it found it.
Surface& guardedSurface(int width, int height)
{
    static std::map<std::pair<int, int>, Surface> surfaces;
    Surface& surface = surfaces[{width, height}];
    if (surface.isNull()) {
        surface.reset(width + 2 * kGuard, height + 2 * kGuard);
        surface.fillRect(Rect{0, 0, surface.width(), surface.height()}, Brush{true, kGuardColour});
    }
    return surface;
}

// Paints into a panel of width x height inside a guard border, and checks that the border
// kept its colour.
void checkPaintsInside(const char* what, int width, int height, const std::function<void(const Panel&)>& paint)
{
    Surface& surface = guardedSurface(width, height);
    const Panel panel = panelOn(&surface, kGuard, kGuard, width, height);
    paint(panel);
    require(guardKept(surface, rectOf(panel)), [&] { return std::string(what) + " paints outside its panel"; });
}

void checkBoard(const Surface& sprites)
{
    checkPaintsInside("the board", 9 * cellSize, 9 * cellSize, [&](Panel panel) {
        panel.tag = cellSize;
        GameState state;
        state.boardRows = state.boardCols = 9;
        state.boardCells.resize(9, 9);
        for (int cell = 0; cell < 81; ++cell) {
            state.boardCells(cell / 9 + 1, cell % 9 + 1) = static_cast<std::uint8_t>(cell % 17);   // 0..16
        }
        drawBoard(panel, state, sprites);
        // The line-clear frames of each colour, in the bottom row.
        for (std::int16_t colour = 1; colour <= colourCount; ++colour) {
            const auto value = static_cast<std::int16_t>(colourBase + colour);
            for (int frame = 5; frame >= 1; --frame) {
                drawCell(panel, sprites, colour, 8, colour);
                drawShrunkCell(panel, sprites, colour, 8, value, frame / 6.0);
            }
        }
    });
}

// The first and last shape of each size of the shipped catalogue in every turn, in the
// slots' square size, each square in one of the five colours.
void checkPiecesInSlots(const Surface& sprites)
{
    const GameState& shapes = shippedShapes();
    checkPaintsInside("a piece in its slot", 2 * cellSize, 2 * cellSize, [&](Panel panel) {
        GameState state;
        panel.tag = 20;   // the slots' square size
        state.dispensers[1] = panel;
        int colour = 0;
        for (int size = 1; size <= shapes.pieceSizeCount; ++size) {
            const int last = shapes.allPieces[size].shapeCount;
            for (const int index : {1, last}) {
                PieceShape piece = shapes.allPieces[size].shapes[index];
                piece.squareCount = static_cast<std::int16_t>(size);
                piece.colours.resize(size);
                for (int k = 1; k <= size; ++k) piece.colours[k] = static_cast<std::int16_t>(colour % colourCount + 1);
                ++colour;
                for (int turn = 0; turn < 4; ++turn, rotatePieceRight(piece)) {
                    drawPieceInSlot(state, sprites, 1, piece);
                }
            }
        }
    });
}

void checkFaces(const Surface& sprites)
{
    checkPaintsInside("a button face", 122, 30, [&](const Panel& panel) {
        for (int face = sprite::kFaceExit; face <= sprite::kFaceScorePlate; ++face) {
            drawButtonFace(panel, sprites, face, true);
            drawButtonFace(panel, sprites, face, false);
        }
    });
    checkPaintsInside("the score plate", sprite::scorePlate.width, sprite::scorePlate.height,
                      [&](const Panel& panel) { drawButtonFace(panel, sprites, sprite::kFaceScorePlate, true); });
    checkPaintsInside("the level badge", 50, 50,
                      [&](const Panel& panel) { drawPanelFace(panel, sprites, sprite::kKindLevelBadge, true); });
    checkPaintsInside("the side picture", 165, 67,
                      [&](const Panel& panel) { drawPanelFace(panel, sprites, sprite::kKindSidePicture, false); });
}

void checkWelcomePicture(const Surface& background)
{
    checkPaintsInside("the welcome picture", 680, 450, [&](const Panel& panel) { copyPicture(panel, background); });
}

// The tile covers a dialog's surface from its corner, so what must stay untouched is all
// beyond the dialog's width and height. One of the seven tiles per input, by its size.
void checkDialogTile(const Surface& sprites, std::size_t inputSize)
{
    constexpr int kWidth = 329;   // the name entry, the smallest dialog
    constexpr int kHeight = 207;
    FixedDraws draws({(inputSize % 7) / 6.0});   // n = 1..7 shows tile n + 1
    Surface& window = guardedSurface(kWidth, kHeight);
    paintRandomTile(window, sprites, draws, kWidth, kHeight);
    require(guardKept(window, Rect{0, 0, kWidth, kHeight}), "the dialog tile paints beyond its window");
}

// Hands heap blocks of a decoded picture's possible sizes back full of junk, so that a
// pixel a decoder leaves unwritten shows up as a difference between two loads.
void scribbleOverFreedMemory(int width, int height)
{
    for (const int bits : {1, 4, 8, 32}) {
        const std::size_t size = static_cast<std::size_t>((width * bits + 31) / 32 * 4) * static_cast<std::size_t>(height);
        testing::scribbleOverFreedMemory(size, static_cast<unsigned char>(0xA5 + bits), 4);
    }
}

// Loads the picture once more after junk was left where its pixels may be decoded.
[[maybe_unused]] void checkLoadsTheSameAgain(const std::filesystem::path& file, const Surface& loaded)
{
    scribbleOverFreedMemory(loaded.width(), loaded.height());
    Surface again;
    again.loadBmp(file.string());
    require(again.pixelsEqual(loaded), "a picture loads differently the second time");
}

} // namespace

int fuzzPictures(const std::uint8_t* data, std::size_t size)
{
    makeApplicationAsTheGameDoes();
    if (claimedPixels(data, size) > kMostPixelsTried) {
        return -1;
    }
    const std::filesystem::path folder = scratchDirectory() / "pictures";
    std::filesystem::create_directories(folder);
    writeFile(folder / "ALLPICDATA.BMP", data, size);
    writeFile(folder / "BGIMG.BMP", data, size);
    GraphicsResources pictures;
    loadGraphics(pictures, folder.string() + "/");
    require(pictures.spriteSurface.pixelsEqual(pictures.backgroundSurface), "one file loads as two pictures");
    // The address sanitizer keeps freed memory from reuse for a while, so junk left there
    // would not reach a decoder; the replay without it does this check.
#ifndef SNUGBOX_ASAN
    checkLoadsTheSameAgain(folder / "ALLPICDATA.BMP", pictures.spriteSurface);
#endif

    const Surface& sprites = pictures.spriteSurface;
    checkBoard(sprites);
    checkPiecesInSlots(sprites);
    checkFaces(sprites);
    checkWelcomePicture(pictures.backgroundSurface);
    checkDialogTile(sprites, size);
    return 0;
}

} // namespace snugbox::fuzz
