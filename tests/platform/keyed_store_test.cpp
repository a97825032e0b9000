#include <gtest/gtest.h>

#include <QSettings>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "platform/keyed_store.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

// What other tools see in the file: byte arrays holding every byte, and strings.
TEST(KeyedStore, WritesBinaryValuesAsByteArraysAndTextAsStrings)
{
    testing::TempDir temp;
    QByteArray everyByte(256, 0);
    std::iota(everyByte.begin(), everyByte.end(), 0);
    {
        const auto key = KeyedStore::openRoot(temp.file("c"))->openOrCreateKey({"A", "B"});
        key->writeBinary("BIN", std::span(reinterpret_cast<const std::uint8_t*>(everyByte.data()), 256));
        key->writeText("TXT", "@ByteArray(ab)");
        key->writeText("a/b", "grouped");   // not a plain name: nothing is written
    }
    QSettings ini(QString::fromStdString(temp.file("c/A/B.ini")), QSettings::IniFormat);
    EXPECT_EQ(ini.allKeys(), (QStringList{"BIN", "TXT"}));
    EXPECT_EQ(ini.value("BIN"), QVariant(everyByte));
    EXPECT_EQ(ini.value("TXT"), QVariant(QStringLiteral("@ByteArray(ab)")));
}

TEST(KeyedStore, RefusesRootsItCannotUseAndKeyPathsLeavingTheRoot)
{
    testing::TempDir temp;
    std::ofstream(temp.file("plain")) << "x";
    EXPECT_FALSE(KeyedStore::openRoot(""));
    EXPECT_FALSE(KeyedStore::openRoot(temp.file("plain")));
    const std::optional<KeyedStore> store = KeyedStore::openRoot(temp.file("root"));
    ASSERT_TRUE(store);
    for (const auto& path : std::vector<std::vector<std::string>>{{}, {"..", "x"}, {"a", ""}, {"a/b"}}) {
        EXPECT_EQ(store->openOrCreateKey(path), nullptr);
    }
    EXPECT_TRUE(std::filesystem::is_empty(temp.file("root")));

    // A close that cannot reach the disk says so.
    const auto key = store->openOrCreateKey({"K"});
    key->writeText("NAME", "value");
    std::filesystem::remove(temp.file("root/K.ini"));
    std::filesystem::create_directory(temp.file("root/K.ini"));
    EXPECT_FALSE(key->close());
}

TEST(UserConfigDirectory, IsAnAbsoluteXdgConfigHomeOrElseInTheHomeDirectory)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
    setenv("HOME", "/home/player", 1);
    setenv("XDG_CONFIG_HOME", "/elsewhere/config", 1);
    EXPECT_EQ(userConfigDirectory(), "/elsewhere/config");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(userConfigDirectory(), "/home/player/.config");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(userConfigDirectory(), "/home/player/.config");
    setenv("HOME", home.c_str(), 1);
}

} // namespace
} // namespace snugbox
