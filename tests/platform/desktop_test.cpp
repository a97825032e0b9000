#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop.h"

namespace snugbox {
namespace {

TEST(Desktop, LocalPathsBecomeFileAddressesWithTheirSpacesKept)
{
    EXPECT_EQ(desktopUrlFor("/opt/snug box/Snugbox.htm"), "file:///opt/snug%20box/Snugbox.htm");
    EXPECT_EQ(desktopUrlFor("/tmp/a#b.htm"), "file:///tmp/a%23b.htm") << "a # is part of the name";
}

TEST(Desktop, WebAddressesArePassedOnAsTheyAre)
{
    EXPECT_EQ(desktopUrlFor("https://snugbox.example.org/"), "https://snugbox.example.org/");
    EXPECT_EQ(desktopUrlFor("mailto:makers@example.org"), "mailto:makers@example.org");
}

TEST(Desktop, AReplacedOpenerReceivesEveryTargetUntilRestored)
{
    std::vector<std::string> opened;
    DesktopOpener previous = replaceDesktopOpener([&](const std::string& target) { opened.push_back(target); });
    openWithDesktop("/a b/c.htm");
    openWithDesktop("https://snugbox.example.org/");
    DesktopOpener mine = replaceDesktopOpener(previous);
    EXPECT_EQ(opened, (std::vector<std::string>{"/a b/c.htm", "https://snugbox.example.org/"}));
    EXPECT_TRUE(static_cast<bool>(mine));
}

} // namespace
} // namespace snugbox
