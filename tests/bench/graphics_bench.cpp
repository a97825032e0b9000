





// How fast the sprite copies are, against a plain memcpy of the same bytes in the same
// run: moving the carried piece costs a few 190 x 190 copies, and a drop repaints the
// whole board.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "platform/surface.h"
#include "rules/game_state.h"

namespace {

using snugbox::RasterOp;
using snugbox::Surface;

constexpr int kCarrySize = 190;

Surface patterned(int width, int height, int seed)
{
    Surface surface(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface.setPixel(x, y, snugbox::Rgb{static_cast<std::uint8_t>(x * 7 + seed),
                                                static_cast<std::uint8_t>(y * 3 + seed),
                                                static_cast<std::uint8_t>(x ^ y)});
        }
    }
    return surface;
}

// The carried piece is combined onto the window, whose rows are far longer than the
// piece's: range(0) is the target surface's width (765 the main window, 190 another carry
// surface).
void carryCopy(benchmark::State& state, RasterOp op)
{
    const int targetWidth = static_cast<int>(state.range(0));
    const Surface source = patterned(kCarrySize, kCarrySize, 1);
    Surface target = patterned(targetWidth, 563, 2);
    const int left = targetWidth > kCarrySize ? 300 : 0;
    for (auto _ : state) {
        target.blockCopy(left, 200, kCarrySize, kCarrySize, source, 0, 0, op);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kCarrySize * kCarrySize * 4);
}

void BM_CarryCopySrcCopy(benchmark::State& state) { carryCopy(state, RasterOp::SrcCopy); }
void BM_CarryCopySrcPaint(benchmark::State& state) { carryCopy(state, RasterOp::SrcPaint); }
void BM_CarryCopySrcAnd(benchmark::State& state) { carryCopy(state, RasterOp::SrcAnd); }

// The yardstick: the same number of bytes in one plain memcpy.
void BM_MemcpySameBytes(benchmark::State& state)
{
    const std::size_t bytes = std::size_t{kCarrySize} * kCarrySize * 4;
    std::vector<std::uint8_t> from(bytes, 7);
    std::vector<std::uint8_t> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// The floor for any copy onto the window: the same bytes, one memcpy per row, into a
// buffer shaped like the window's pixels.
void BM_MemcpyRowsOntoWindow(benchmark::State& state)
{
    constexpr std::size_t kWindowWidth = 765;
    const std::size_t rowBytes = std::size_t{kCarrySize} * 4;
    std::vector<std::uint8_t> from(rowBytes * kCarrySize, 7);
    std::vector<std::uint8_t> window(kWindowWidth * 4 * 563, 0);
    for (auto _ : state) {
        for (std::size_t row = 0; row < kCarrySize; ++row) {
            std::memcpy(window.data() + (200 + row) * kWindowWidth * 4 + 300 * 4, from.data() + row * rowBytes, rowBytes);
        }
        benchmark::DoNotOptimize(window.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(rowBytes * kCarrySize));
}

void BM_DrawBoard(benchmark::State& state)
{
    snugbox::GraphicsResources resources;
    snugbox::loadGraphics(resources, std::string(SNUGBOX_DATA_DIR) + "/");
    Surface window(765, 563);
    snugbox::Panel board;
    board.surface = &window;
    board.x = 202;
    board.y = 58;
    board.width = 405;
    board.height = 405;
    board.tag = snugbox::cellSize;
    snugbox::GameState game;
    game.boardRows = 9;
    game.boardCols = 9;
    game.boardCells.resize(9, 9);
    for (int row = 1; row <= 9; ++row) {
        for (int col = 1; col <= 9; ++col) {
            game.boardCells(row, col) = static_cast<std::uint8_t>((row * 9 + col) % 15 + 1);
        }
    }
    for (auto _ : state) {
        snugbox::drawBoard(board, game, resources.spriteSurface);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_MemcpySameBytes);
BENCHMARK(BM_MemcpyRowsOntoWindow);
BENCHMARK(BM_CarryCopySrcCopy)->Arg(765)->Arg(190);
BENCHMARK(BM_CarryCopySrcPaint)->Arg(765)->Arg(190);
BENCHMARK(BM_CarryCopySrcAnd)->Arg(765)->Arg(190);
BENCHMARK(BM_DrawBoard);

} // namespace
