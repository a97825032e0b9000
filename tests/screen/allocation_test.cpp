// Every allocation of this test program is counted, so that a test can tell whether some
// work allocated anything.
#include <cstdlib>
#include <new>

#include "game_window_fixture.h"

namespace {

long long allocations = 0, releases = 0;

} // namespace

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    releases += block != nullptr ? 1 : 0;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace snugbox::testing {
namespace {

using Allocation = Playing;

// Presenting goes through the platform's painting, which allocates a few small objects of
// its own on every refresh; the move itself must add nothing to that.
TEST_F(Allocation, MovingTheCarriedPieceAllocatesNothingBeyondPresentingIt)
{
    putPiece(1, {{0, 0}, {1, 0}, {1, 1}});
    takeFromSlot(1);
    form->Form_MouseMove(0, 0, 400, 300);

    const long long allocatedBefore = allocations, heldBefore = allocations - releases;
    for (int i = 0; i < 200; ++i) {
        form->Form_MouseMove(0, 0, static_cast<float>(400 + i % 7), static_cast<float>(300 + i % 5));
    }
    const long long byMoves = allocations - allocatedBefore;
    EXPECT_EQ(allocations - releases, heldBefore) << "nothing is kept from one move to the next";
    const long long beforePresents = allocations;
    for (int i = 0; i < 200; ++i) {
        surface().fillRect(Rect{400, 300, 401 + i % 7, 301 + i % 5}, whiteBrush);
        window().refresh();
    }
    EXPECT_EQ(byMoves, allocations - beforePresents);
}

} // namespace
} // namespace snugbox::testing
