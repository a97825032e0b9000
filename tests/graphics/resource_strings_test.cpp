#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/resource_strings.h"
#include "platform/desktop.h"

namespace snugbox {
namespace {

TEST(ResourceStrings, HoldTheGamesTextsByNumberAndNothingElse)
{
    const std::pair<int, const char*> texts[] = {
        {21, "Game Over"}, {22, "Welcome ! Click new game to play"}, {24, "Congrats ! You finished all levels"},
        {kStringModeNameBase + 1, "Time Trial"}, {kStringModeNameBase + 2, "Normal"}, {kStringButtonBase + 1, "OK"},
        {kStringButtonBase + 2, "Clear Scores"}, {kStringMakerAddress, "https://snugbox.example.org/"}};
    for (const auto& [id, text] : texts) {
        EXPECT_EQ(loadResString(static_cast<std::int16_t>(id)), text);
    }
    for (std::int16_t id : {0, 2, 23, 25, 30, 33, 90, 93, -1, 32767}) {
        EXPECT_EQ(loadResString(id), "") << id;
    }
}

TEST(OpenDocument, PassesTheHelpPagePathWholeEvenWithSpaces)
{
    std::vector<std::string> opened;
    const DesktopOpener previous = replaceDesktopOpener([&](const std::string& target) { opened.push_back(target); });
    const std::string page = std::string("/home/player/My Games/Snug box/") + kHelpPageName;
    openDocument(page);
    openDocument(loadResString(kStringMakerAddress));
    replaceDesktopOpener(previous);
    EXPECT_EQ(opened, (std::vector<std::string>{page, "https://snugbox.example.org/"}));
}

} // namespace
} // namespace snugbox
