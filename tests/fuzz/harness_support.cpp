#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/application.h"
#include "tests/fuzz/harnesses.h"

namespace snugbox::fuzz {
namespace {

std::filesystem::path makeScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "snugbox-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        fail("no scratch directory can be made under " + std::filesystem::temp_directory_path().string());
    }
    return pattern;
}

void removeScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratchDirectory(), ignored);
}

} // namespace

void fail(const std::string& what)
{
    std::fprintf(stderr, "\nBROKEN PROMISE: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

const std::filesystem::path& scratchDirectory()
{
    // Never destroyed, so that the removal at exit still finds it.
    static const auto* directory = [] {
        const auto* made = new std::filesystem::path(makeScratchDirectory());
        std::atexit(removeScratchDirectory);
        return made;
    }();
    return *directory;
}

void makeApplicationAsTheGameDoes()
{
    static const bool made = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        constexpr std::array signals{SIGTERM, SIGINT, SIGHUP};
        std::array<struct sigaction, signals.size()> fuzzers{};
        for (std::size_t i = 0; i < signals.size(); ++i) sigaction(signals[i], nullptr, &fuzzers[i]);
        Application::instance();
        for (std::size_t i = 0; i < signals.size(); ++i) sigaction(signals[i], &fuzzers[i], nullptr);
        return true;
    }();
    (void)made;
}

void writeFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    require(file.good(), [&] { return "cannot write " + path.string(); });
}

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace snugbox::fuzz
