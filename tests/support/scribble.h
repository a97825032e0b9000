#pragma once
// Freed heap memory filled with junk, so that pixels a decoder leaves unwritten show the
// junk instead of the zeros of memory fresh from the system.

#include <cstdlib>
#include <cstring>
#include <vector>

namespace snugbox::testing {

// Takes `count` blocks of `size` bytes, fills them with `byte` and hands them back; the
// next allocations of that size are likely to get them.
inline void scribbleOverFreedMemory(std::size_t size, unsigned char byte, int count)
{
    std::vector<void*> blocks;
    for (int i = 0; i < count && size > 0; ++i) {
        void* block = std::malloc(size);
        std::memset(block, byte, size);
        asm volatile("" : : "r"(block) : "memory");   // the writes must really happen
        blocks.push_back(block);
    }
    for (void* block : blocks) std::free(block);
}

} // namespace snugbox::testing
