#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

// The drawing code reaches the platform only through its Qt-free headers, so that it can
// be built and tested with any platform layer behind it.
TEST(GraphicsSources, IncludeNoQtHeaders)
{
    const std::regex qtInclude(R"(#\s*include\s*[<"](Q[A-Za-z]*|qt[a-z]*/|.*_impl\.h))");
    int files = 0;
    const std::filesystem::path folder = std::filesystem::path(SNUGBOX_DATA_DIR) / "../graphics";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path());
        files += 1;
        for (std::string line; std::getline(file, line);) {
            EXPECT_FALSE(std::regex_search(line, qtInclude)) << entry.path().filename() << ": " << line;
        }
    }
    EXPECT_GE(files, 6);
}

} // namespace
