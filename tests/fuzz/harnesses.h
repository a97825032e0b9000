#pragma once
// The fuzzing harnesses: one entry point per file the game reads, shared by the libFuzzer
// programs of `make fuzz` and by the replay of the kept corpora in the tests. Each takes
// the input as the file, makes the game read it as it does at start-up and then checks
// the promises the rest of the game relies on. A broken promise ends the program with a
// message (a crash to libFuzzer, a failure to the replay).
//
// Each returns 0 for an input it has tried and -1 for one it leaves alone, which
// libFuzzer then keeps out of its corpus.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <type_traits>

namespace snugbox::fuzz {

// The input as ALLPIECES.PDAT.
int fuzzCatalogue(const std::uint8_t* data, std::size_t size);
// The input as both pictures, ALLPICDATA.BMP and BGIMG.BMP.
int fuzzPictures(const std::uint8_t* data, std::size_t size);
// The input as the per-user store file.
int fuzzStore(const std::uint8_t* data, std::size_t size);

// Shared by the harnesses.

// Reports a broken promise and aborts.
[[noreturn]] void fail(const std::string& what);
// `what` is the message, or a function making it: most checks run often, and hold.
template <class Message>
void require(bool holds, const Message& what)
{
    if (holds) {
        return;
    }
    if constexpr (std::is_invocable_v<Message>) {
        fail(what());
    } else {
        fail(what);
    }
}

// A private directory for the files a harness writes, made at first use under the
// system's temporary directory and removed when the program ends.
const std::filesystem::path& scratchDirectory();

// The game makes its application object before it reads any file (a store value may
// be of a picture type, which needs one), so the harnesses reading through the platform
// make it too, once, on Qt's offscreen platform unless another is asked for. The
// fuzzer keeps its own handling of the signals the application would take over.
void makeApplicationAsTheGameDoes();

void writeFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);
std::string fileBytes(const std::filesystem::path& path);

} // namespace snugbox::fuzz
