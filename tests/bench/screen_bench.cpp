// What one pointer move costs while a piece is carried: four 190 x 190 block copies and
// the present of the window, on the real game window. The yardstick is a plain memcpy of
// the same bytes, timed in the same run; the move reports its cost as a multiple of it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "platform/application.h"
#include "platform/event_simulation.h"
#include "platform/window.h"
#include "rules/catalogue.h"
#include "rules/game_state.h"
#include "rules/startup.h"
#include "screen/frm_holdfast.h"
#include "tests/support/seeded_random.h"

namespace {

constexpr std::size_t kCarryBytes = std::size_t{190} * 190 * 4;
constexpr int kCopiesPerMove = 4;

// Processor time of this thread: the comparison stays fair while other programs load the
// machine. Everything of a move, its present included, runs on this thread.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The four copies of one move, as plain memcpy calls between separate buffers.
class PlainCopies {
public:
    void run()
    {
        for (int i = 0; i < kCopiesPerMove; ++i) {
            std::memcpy(to_[i].data(), from_[i].data(), kCarryBytes);
        }
        benchmark::DoNotOptimize(to_[0].data());
        benchmark::ClobberMemory();
    }

    // Processor time per run, over many runs.
    double secondsPerRun()
    {
        constexpr int kRuns = 20000;
        const double start = threadSeconds();
        for (int i = 0; i < kRuns; ++i) run();
        return (threadSeconds() - start) / kRuns;
    }

private:
    std::vector<std::vector<std::uint8_t>> from_ = std::vector<std::vector<std::uint8_t>>(4, std::vector<std::uint8_t>(kCarryBytes, 7));
    std::vector<std::vector<std::uint8_t>> to_ = std::vector<std::vector<std::uint8_t>>(4, std::vector<std::uint8_t>(kCarryBytes, 0));
};

// The game window shown on the platform, a game running and the first piece on the mouse.
struct CarryingWindow {
    snugbox::GameState state;
    snugbox::GraphicsResources graphics;
    snugbox::testing::SeededRandom random{11};
    std::unique_ptr<snugbox::frmHoldfast> form;

    CarryingWindow()
    {
        snugbox::Application::instance();
        state.appPath = std::string(SNUGBOX_DATA_DIR) + "/";
        snugbox::prepareGameTables(state);
        snugbox::loadAllPieces(state, state.appPath + "ALLPIECES.PDAT");
        snugbox::loadGraphics(graphics, state.appPath);
        state.gameMode = 2;
        form = std::make_unique<snugbox::frmHoldfast>(state, graphics, random);
        form->setConfigDirectory("/nonexistent/snugbox-bench");
        form->window().show();
        snugbox::createCarrySurfaces(graphics);
        snugbox::simulate::processEvents(50);
        form->rules().startArcadeGame();
        form->setPieceTimerEnabled(false);
        form->Form_MouseDown(1, 0, 675, 60);
        form->Form_MouseMove(0, 0, 400, 300);
    }

    ~CarryingWindow()
    {
        // Leaving without saving: the bench has no store of its own.
        form.reset();
    }
};

void BM_CarriedPieceMove(benchmark::State& state)
{
    CarryingWindow window;
    PlainCopies plain;
    const double plainSeconds = plain.secondsPerRun();
    int step = 0;
    const double start = threadSeconds();
    for (auto _ : state) {
        // Small steps back and forth, as a hand moves the mouse.
        const float dx = static_cast<float>(step % 7);
        const float dy = static_cast<float>(step % 5);
        window.form->Form_MouseMove(0, 0, 400 + dx, 300 + dy);
        ++step;
    }
    const double secondsPerMove = (threadSeconds() - start) / static_cast<double>(state.iterations());
    state.counters["plain_copy_us"] = plainSeconds * 1e6;
    state.counters["times_plain_copy"] = secondsPerMove / plainSeconds;
}

void BM_PlainCopyOfOneMovesBytes(benchmark::State& state)
{
    PlainCopies plain;
    for (auto _ : state) {
        plain.run();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kCarryBytes * kCopiesPerMove));
}

BENCHMARK(BM_PlainCopyOfOneMovesBytes);
BENCHMARK(BM_CarriedPieceMove);

} // namespace
