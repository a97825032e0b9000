#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

TEST(ArtGenerator, RegeneratesTheShippedPicturesAndAnIconOfEverySizeByteForByte)
{
    EXPECT_TRUE(shipped("ALLPICDATA.BMP") == generateSpriteSheet()) << "data/ALLPICDATA.BMP is stale: run `make data`";
    EXPECT_TRUE(shipped("BGIMG.BMP") == generateWelcomePicture()) << "data/BGIMG.BMP is stale: run `make data`";
    EXPECT_TRUE(shipped("snugbox.svg") == generateScalableIcon()) << "data/snugbox.svg is stale: run `make data`";
    const std::vector<NamedFile> icons = generateIcons();
    ASSERT_EQ(icons.size(), std::size(kIconSizes));
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const Bytes& png = icons[i].bytes;
        EXPECT_TRUE(shipped(icons[i].name) == png) << "data/" << icons[i].name << " is stale: run `make data`";
        EXPECT_EQ(icons[i].name, "snugbox-" + std::to_string(kIconSizes[i]) + ".png");
        // The header chunk holds width and height, big-endian, from byte 16.
        ASSERT_GE(png.size(), 24u);
        EXPECT_EQ(std::pair(png[18] << 8 | png[19], png[22] << 8 | png[23]), std::pair(kIconSizes[i], kIconSizes[i]));
    }
}

// Points for 1, 2, 4 and 18 lines; level, target and the real time between pieces, twelve
// whole-millisecond ticks.
TEST(HelpPage, IsTheShippedStandalonePageWithTablesFromTheGamesRules)
{
    const std::string page = generateHelpPage();
    const Bytes shippedPage = shipped("Snugbox.htm");
    EXPECT_EQ(std::string(shippedPage.begin(), shippedPage.end()), page) << "data/Snugbox.htm is stale";
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos) << "readable with no network: nothing is fetched";
    EXPECT_EQ(page.find("<script"), std::string::npos);
    for (const char* row :
         {"<tr><td>1</td><td>10</td><td>10</td><td>550</td></tr>",
          "<tr><td>2</td><td>30</td><td>11</td><td>660</td></tr>", "<tr><td>4</td><td>100</td>",
          "<td>18</td><td>1710</td></tr>", "<tr><td>1</td><td>400</td><td>3.00&nbsp;s</td>",
          "<tr><td>2</td><td>400</td><td>2.60&nbsp;s</td>", "<tr><td>7</td><td>30</td><td>2.20&nbsp;s</td>",
          "<tr><td>10</td><td>2000</td><td>1.70&nbsp;s</td>"}) {
        EXPECT_NE(page.find(row), std::string::npos) << row;
    }
}

} // namespace
} // namespace snugbox::tools
