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
    const std::filesystem::path folder = std::filesystem::path(SNUGBOX_DATA_DIR).parent_path() / "graphics";
    const std::regex qtInclude(R"(#\s*include\s*[<"](Q[A-Za-z]*|qt[a-z]*/)[^>"]*[>"])");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".h" && extension != ".cpp") continue;
        ++files;
        std::ifstream file(entry.path());
        std::string line;
        while (std::getline(file, line)) {
            EXPECT_FALSE(std::regex_search(line, qtInclude)) << entry.path().filename() << ": " << line;
            EXPECT_EQ(line.find("_impl.h"), std::string::npos) << entry.path().filename() << ": " << line;
        }
    }
    EXPECT_GE(files, 6);
}

} // namespace
