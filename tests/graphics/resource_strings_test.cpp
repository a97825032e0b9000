#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/resource_strings.h"
#include "platform/desktop.h"

namespace snugbox {
namespace {

TEST(ResourceStrings, HoldTheGamesTextsByNumber)
{
    EXPECT_EQ(loadResString(21), "Game Over");
    EXPECT_EQ(loadResString(22), "Welcome ! Click new game to play");
    EXPECT_EQ(loadResString(24), "Congrats ! You finished all levels");
    EXPECT_EQ(loadResString(kStringModeNameBase + 1), "Time Trial");
    EXPECT_EQ(loadResString(kStringModeNameBase + 2), "Normal");
    EXPECT_EQ(loadResString(kStringButtonBase + 1), "OK");
    EXPECT_EQ(loadResString(kStringButtonBase + 2), "Clear Scores");
}

TEST(ResourceStrings, TheMakersAddressIsAWebAddressOfOurOwn)
{
    const std::string address = loadResString(kStringMakerAddress);
    EXPECT_EQ(address.rfind("https://", 0), 0u);
    EXPECT_NE(address.find(".example.org"), std::string::npos);
}

TEST(ResourceStrings, UnknownNumbersGiveAnEmptyText)
{
    for (std::int16_t id : {0, 2, 23, 25, 30, 33, 90, 93, -1, 32767}) {
        EXPECT_EQ(loadResString(id), "") << id;
    }
}

class OpenDocument : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = replaceDesktopOpener([this](const std::string& target) { opened.push_back(target); });
    }
    void TearDown() override { replaceDesktopOpener(previous); }

    DesktopOpener previous;
    std::vector<std::string> opened;
};

TEST_F(OpenDocument, PassesTheHelpPagePathWholeEvenWithSpaces)
{
    const std::string page = std::string("/home/player/My Games/Snug box/") + kHelpPageName;
    openDocument(page);
    openDocument(loadResString(kStringMakerAddress));
    EXPECT_EQ(opened, (std::vector<std::string>{page, "https://snugbox.example.org/"}));
}

} // namespace
} // namespace snugbox
