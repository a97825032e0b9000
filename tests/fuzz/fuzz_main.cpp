// A libFuzzer program for one harness, named by SNUGBOX_FUZZ_ENTRY at build time.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return snugbox::fuzz::SNUGBOX_FUZZ_ENTRY(data, size);
}
