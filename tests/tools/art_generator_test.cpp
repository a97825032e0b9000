#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tools/art_generator.h"
#include "tools/help_page_generator.h"

namespace snugbox::tools {
namespace {

Bytes shipped(const std::string& name)
{
    std::ifstream file(std::string(SNUGBOX_DATA_DIR) + "/" + name, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(ArtGenerator, RegeneratesTheShippedPicturesByteForByte)
{
    EXPECT_TRUE(shipped("ALLPICDATA.BMP") == generateSpriteSheet()) << "data/ALLPICDATA.BMP is stale: run `make data`";
    EXPECT_TRUE(shipped("BGIMG.BMP") == generateWelcomePicture()) << "data/BGIMG.BMP is stale: run `make data`";
    for (const NamedFile& icon : generateIcons()) {
        EXPECT_TRUE(shipped(icon.name) == icon.bytes) << "data/" << icon.name << " is stale: run `make data`";
    }
}

TEST(ArtGenerator, TheIconComesInSeveralSquareSizes)
{
    const std::vector<NamedFile> icons = generateIcons();
    ASSERT_EQ(icons.size(), std::size(kIconSizes));
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const Bytes& png = icons[i].bytes;
        ASSERT_GE(png.size(), 24u);
        EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
        // The header chunk holds width and height, big-endian.
        const auto at = [&png](std::size_t o) {
            return png[o] << 24 | png[o + 1] << 16 | png[o + 2] << 8 | png[o + 3];
        };
        EXPECT_EQ(std::pair(at(16), at(20)), std::pair(kIconSizes[i], kIconSizes[i])) << "width and height";
        EXPECT_EQ(icons[i].name, "snugbox-" + std::to_string(kIconSizes[i]) + ".png");
    }
}

TEST(HelpPage, IsTheShippedStandaloneHtml5Page)
{
    const std::string page = generateHelpPage();
    const Bytes shippedPage = shipped("Snugbox.htm");
    EXPECT_EQ(std::string(shippedPage.begin(), shippedPage.end()), page) << "data/Snugbox.htm is stale";
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("<title>"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos) << "readable with no network: nothing is fetched";
    EXPECT_EQ(page.find("<script"), std::string::npos);
    // Every element that is opened is closed, in order.
    const std::regex tag("<(/?)([a-z0-9]+)[^>]*>");
    const std::set<std::string> empty{"meta", "br", "img", "link"};
    std::vector<std::string> open;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), tag); it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[2];
        if (empty.count(name) != 0) continue;
        if ((*it)[1] == "/") {
            ASSERT_FALSE(open.empty()) << "stray </" << name << ">";
            ASSERT_EQ(open.back(), name);
            open.pop_back();
        } else {
            open.push_back(name);
        }
    }
    EXPECT_TRUE(open.empty());
    // Links inside the page point at sections that exist.
    const std::regex anchor("href=\"#([a-z]+)\"");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), anchor); it != std::sregex_iterator(); ++it) {
        EXPECT_NE(page.find("id=\"" + std::string((*it)[1]) + "\""), std::string::npos) << (*it)[1];
    }
}

// Points for 1, 2, 4 and 18 lines; level, target and the real time between pieces, twelve
// whole-millisecond ticks; and the page's sections.
TEST(HelpPage, TablesComeFromTheGamesRules)
{
    const std::string page = generateHelpPage();
    for (const char* expected :
         {"<tr><td>1</td><td>10</td><td>10</td><td>550</td></tr>",
          "<tr><td>2</td><td>30</td><td>11</td><td>660</td></tr>", "<tr><td>4</td><td>100</td>",
          "<td>18</td><td>1710</td></tr>", "<tr><td>1</td><td>400</td><td>3.00&nbsp;s</td>",
          "<tr><td>2</td><td>400</td><td>2.60&nbsp;s</td>", "<tr><td>7</td><td>30</td><td>2.20&nbsp;s</td>",
          "<tr><td>10</td><td>2000</td><td>1.70&nbsp;s</td>", "How to play", "Mouse and keys", "Scoring",
          "The ten levels", "Pause", "Best scores"}) {
        EXPECT_NE(page.find(expected), std::string::npos) << expected;
    }
}

} // namespace
} // namespace snugbox::tools
