// What drawing costs, against a plain memcpy of the same bytes timed in the same run: one
// 190 x 190 sprite copy in each raster op, the whole board after a drop, and one pointer
// move while a piece is carried (four such copies and the window's present).
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "platform/application.h"
#include "tests/support/platform/event_simulation.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "rules/catalogue.h"
#include "rules/game_state.h"
#include "rules/startup.h"
#include "screen/frm_holdfast.h"
#include "tests/support/seeded_random.h"

namespace snugbox {
namespace {

constexpr int kCarrySize = 190;
constexpr std::size_t kCarryBytes = std::size_t{kCarrySize} * kCarrySize * 4;

// Processor time of this thread: the comparison stays fair while other programs load the
// machine. Everything of a move, its present included, runs on this thread.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

using Bytes = std::vector<std::uint8_t>;

// The yardstick: plain memcpy calls of a carry surface's bytes, as many as `from` holds.
void plainCopies(Bytes& to, const Bytes& from)
{
    for (std::size_t at = 0; at < from.size(); at += kCarryBytes) {
        std::memcpy(to.data() + at, from.data() + at, kCarryBytes);
    }
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
}

// range(0) copies: 1 for one sprite copy's bytes, 4 for one pointer move's.
void BM_PlainCopy(benchmark::State& state)
{
    const Bytes from(static_cast<std::size_t>(state.range(0)) * kCarryBytes, 7);
    Bytes to(from.size(), 0);
    for (auto _ : state) {
        plainCopies(to, from);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(from.size()));
}
BENCHMARK(BM_PlainCopy)->Arg(1)->Arg(4);

Surface patterned(int width, int height, int seed)
{
    Surface surface(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface.setPixel(x, y, Rgb{static_cast<std::uint8_t>(x * 7 + seed), static_cast<std::uint8_t>(y * 3 + seed),
                                       static_cast<std::uint8_t>(x ^ y)});
        }
    }
    return surface;
}

// The carried piece is combined onto a surface whose rows may be far longer than its own:
// range(0) is the target's width (765 the main window, 190 another carry surface).
void BM_CarryCopy(benchmark::State& state, RasterOp op)
{
    const Surface source = patterned(kCarrySize, kCarrySize, 1);
    Surface target = patterned(static_cast<int>(state.range(0)), 563, 2);
    const int left = state.range(0) > kCarrySize ? 300 : 0;
    for (auto _ : state) {
        target.blockCopy(left, 200, kCarrySize, kCarrySize, source, 0, 0, op);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kCarryBytes));
}
BENCHMARK_CAPTURE(BM_CarryCopy, SrcCopy, RasterOp::SrcCopy)->Arg(765)->Arg(190);
BENCHMARK_CAPTURE(BM_CarryCopy, SrcPaint, RasterOp::SrcPaint)->Arg(765)->Arg(190);
BENCHMARK_CAPTURE(BM_CarryCopy, SrcAnd, RasterOp::SrcAnd)->Arg(765)->Arg(190);

void BM_DrawBoard(benchmark::State& state)
{
    GraphicsResources resources;
    loadGraphics(resources, std::string(SNUGBOX_DATA_DIR) + "/");
    Surface window(765, 563);
    Panel board;
    board.surface = &window;
    board.x = 202;
    board.y = 58;
    board.width = board.height = 405;
    board.tag = cellSize;
    GameState game;
    game.boardRows = game.boardCols = 9;
    game.boardCells.resize(9, 9);
    for (int row = 1; row <= 9; ++row) {
        for (int col = 1; col <= 9; ++col) {
            game.boardCells(row, col) = static_cast<std::uint8_t>((row * 9 + col) % 15 + 1);
        }
    }
    for (auto _ : state) {
        drawBoard(board, game, resources.spriteSurface);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawBoard);

// On the real game window, shown on the platform, with the first piece on the mouse; the
// move's cost is also given as a multiple of the plain copies of its bytes.
void BM_CarriedPieceMove(benchmark::State& run)
{
    Application::instance();
    GameState state;
    state.appPath = std::string(SNUGBOX_DATA_DIR) + "/";
    prepareGameTables(state);
    loadAllPieces(state, state.appPath + "ALLPIECES.PDAT");
    state.gameMode = 2;
    GraphicsResources graphics;
    loadGraphics(graphics, state.appPath);
    testing::SeededRandom random{11};
    const auto form = std::make_unique<frmHoldfast>(state, graphics, random);
    form->setConfigDirectory("/nonexistent/snugbox-bench");   // the bench has no store of its own
    form->window().show();
    createCarrySurfaces(graphics);
    simulate::processEvents(50);
    form->rules().startArcadeGame();
    form->setPieceTimerEnabled(false);
    form->Form_MouseDown(1, 0, 675, 60);
    form->Form_MouseMove(0, 0, 400, 300);

    const Bytes from(4 * kCarryBytes, 7);
    Bytes to(from.size(), 0);
    const double plainStart = threadSeconds();
    for (int i = 0; i < 20000; ++i) {
        plainCopies(to, from);
    }
    const double plainSeconds = (threadSeconds() - plainStart) / 20000;
    int step = 0;
    const double start = threadSeconds();
    for (auto _ : run) {
        // Small steps back and forth, as a hand moves the mouse.
        form->Form_MouseMove(0, 0, static_cast<float>(400 + step % 7), static_cast<float>(300 + step % 5));
        ++step;
    }
    const double secondsPerMove = (threadSeconds() - start) / static_cast<double>(run.iterations());
    run.counters["plain_copy_us"] = plainSeconds * 1e6;
    run.counters["times_plain_copy"] = secondsPerMove / plainSeconds;
}
BENCHMARK(BM_CarriedPieceMove);

} // namespace
} // namespace snugbox
