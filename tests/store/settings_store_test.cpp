#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <set>
#include <tuple>

#include "platform/application.h"
#include "platform/keyed_store.h"
#include "platform/message_box.h"
#include "rules/game_state.h"
#include "store/settings_store.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Sound = std::array<std::int16_t, 7>;
constexpr Sound kAllSoundsOn{1, 1, 1, 1, 1, 1, 1};

std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string repeated(const std::string& text, int times)
{
    std::string result;
    while (times-- > 0) result += text;
    return result;
}

// Every value the store keeps, for comparing two states at once.
auto storedValues(const GameState& s)
{
    return std::tuple(s.solvingDataHead, s.gameMode, s.currentLevel, s.solvingDataTail,
                      s.numwfsfValue, s.soundOptions, s.bestScores);
}

// A state in which every stored byte differs from the start-up zeros.
GameState sample()
{
    GameState state;
    state.solvingDataHead = {0xAB, 0xCD};
    state.gameMode = 2;
    state.currentLevel = 4;
    state.solvingDataTail = {1, 2, 3, 4, 5, 6, 7, 0xFF};
    state.numwfsfValue = -2;
    state.soundOptions = {1, 0, 1, 0, 1, 0, -300};
    for (int mode = 1; mode <= kGameModes; ++mode) {
        for (int row = 1; row <= kBestScorePlaces; ++row) {
            state.bestScores[mode].scores[row] = (9 - row) * 1000 * mode - 5;
            state.bestScores[mode].names[row] = "Player " + std::to_string(mode * 10 + row);
        }
    }
    state.bestScores[2].scores[1] = 0x7FFFFFFF;
    return state;
}

// Runs `body` in a child process: its exit code, or minus the signal that ended it.
int inChildProcess(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noCoreFiles{0, 0};
        setrlimit(RLIMIT_CORE, &noCoreFiles);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

// Permissions do not hold back root, so a child running as root becomes "nobody".
bool dropRootPrivileges()
{
    return geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0);
}

class SettingsStore : public ::testing::Test {
protected:
    testing::TempDir temp;
    std::string config = temp.file("config");
    std::string storeFile = config + "/Quillon/Snugbox/1.0.ini";
    MessageBoxRecorder boxes;

    GameState loaded(GameState state = {}) const
    {
        loadSettings(state, config);
        return state;
    }

    std::unique_ptr<KeyedStoreKey> key() const
    {
        return KeyedStore::openRoot(config)->openOrCreateKey({"Quillon", "Snugbox", "1.0"});
    }

    Bytes stored(std::string_view name) const
    {
        Bytes buffer(64);
        buffer.resize(key()->readBinary(name, buffer).value_or(0));
        return buffer;
    }

    std::multiset<std::string> filesSetAside() const
    {
        std::multiset<std::string> contents;
        const std::regex asideName(R"(1\.0\.ini\.corrupt-\d{8}T\d{6}Z(-\d+)?)");
        for (const auto& entry : fs::directory_iterator(fs::path(storeFile).parent_path())) {
            if (std::regex_match(entry.path().filename().string(), asideName)) {
                contents.insert(fileText(entry.path()));
            }
        }
        return contents;
    }
};

TEST_F(SettingsStore, FirstRunCreatesTheStoreAndTakesTheDefaults)
{
    const GameState state = loaded();
    EXPECT_TRUE(fs::is_regular_file(storeFile));
    GameState expected;
    expected.soundOptions = kAllSoundsOn;
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        expected.bestScores[1].names[row] = expected.bestScores[2].names[row] = "Anononymous";
    }
    EXPECT_EQ(storedValues(state), storedValues(expected));
    EXPECT_TRUE(boxes.messages().empty());
}

TEST_F(SettingsStore, SavedValuesLoadBackByteForByteUnderTheirNamesAndTypes)
{
    key()->writeText("EXTRA", "someone else's");
    ASSERT_TRUE(saveSettings(sample(), config));
    EXPECT_EQ(storedValues(loaded()), storedValues(sample()));
    EXPECT_EQ(stored("SOLVINGDATA"), (Bytes{0xAB, 0xCD, 2, 0, 4, 0, 1, 2, 3, 4, 5, 6, 7, 0xFF}));
    EXPECT_EQ(stored("NUMWFSF"), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(stored("SOUNDOPTIONS"), (Bytes{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0xD4, 0xFE}));
    const Bytes scores = stored("2STATS");
    ASSERT_EQ(scores.size(), 32u);
    EXPECT_EQ(Bytes(scores.begin(), scores.begin() + 8), (Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0xAB, 0x36, 0, 0}));
    EXPECT_EQ(stored("2STATS8").size(), 0u);   // names are text, not bytes
    EXPECT_EQ(key()->readText("2STATS8", 25), "Player 28");

    // A second run that saves what it loaded writes the very same file, and values that
    // are not the game's stay.
    const std::string firstRun = fileText(storeFile);
    ASSERT_TRUE(saveSettings(loaded(), config));
    EXPECT_EQ(fileText(storeFile), firstRun);
    EXPECT_EQ(key()->readText("EXTRA", 100), "someone else's");
}

TEST_F(SettingsStore, NamesAreCountedInCharactersAndTooLongOnesLoadAsRowsNeverStored)
{
    GameState saved = sample();
    saved.bestScores[1].names[3] = std::string(25, 'x');
    saved.bestScores[1].names[4] = std::string(24, 'y');
    saved.bestScores[2].names[1] = "Ωμέγα東京Жук😀ñøçüקعŁĐ";   // 19 characters, 42 bytes
    saved.bestScores[2].names[5] = repeated("é", 24);
    saved.bestScores[2].names[6] = repeated("😀", 24);
    saved.bestScores[2].names[7] = repeated("ж", 25);
    ASSERT_TRUE(saveSettings(saved, config));

    GameState expected = saved;
    for (auto [mode, row] : {std::pair{1, 3}, std::pair{2, 7}}) {
        expected.bestScores[mode].names[row] = "Anononymous";
        expected.bestScores[mode].scores[row] = 0;
    }
    EXPECT_EQ(loaded().bestScores, expected.bestScores);
}

TEST_F(SettingsStore, AMissingNameEmptiesItsRowAndMissingScoresStayAsTheyWere)
{
    {
        const auto store = key();
        store->writeBinary("1STATS", Bytes{10, 0, 0, 0, 20, 0, 0, 0, 30, 0, 0, 0, 40, 0, 0, 0,
                                           50, 0, 0, 0, 60, 0, 0, 0, 70, 0, 0, 0, 80, 0, 0, 0});
        for (int row = 1; row <= kBestScorePlaces; ++row) {
            if (row != 3) store->writeText("1STATS" + std::to_string(row), "One");
            store->writeText("2STATS" + std::to_string(row), "Two");
        }
    }
    GameState before;
    before.bestScores[2].scores[4] = 7;
    const GameState state = loaded(before);
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        EXPECT_EQ(state.bestScores[1].names[row], row == 3 ? "Anononymous" : "One");
        EXPECT_EQ(state.bestScores[1].scores[row], row == 3 ? 0 : 10 * row);
        EXPECT_EQ(state.bestScores[2].scores[row], row == 4 ? 7 : 0);
    }
}

TEST_F(SettingsStore, NamesThatMeanSomethingToTheFileFormatComeBackAsTyped)
{
    const std::vector<std::string> names = {"-", "", "@ByteArray(AAAA)", " padded ", "a,b;c=d",
                                            "q\"b\\s", "[General]", "%41&x", "#1 ;x", "@@"};
    GameState saved = sample();
    for (std::size_t i = 0; i < names.size(); ++i) {
        saved.bestScores[1 + static_cast<int>(i) / 8].names[1 + static_cast<int>(i) % 8] = names[i];
    }
    ASSERT_TRUE(saveSettings(saved, config));
    EXPECT_EQ(loaded().bestScores, saved.bestScores);
    // "-" takes one character: it fits the buffer of a one-character name and its zero.
    EXPECT_EQ(key()->readText("1STATS1", 2), "-");
}

TEST_F(SettingsStore, BinaryValuesFillTheStartOfTheirBuffersOrAreNotReadAtAll)
{
    {
        const auto store = key();
        store->writeBinary("SOLVINGDATA", Bytes{9, 8, 1, 0});
        store->writeBinary("NUMWFSF", Bytes{0x34, 0x12});
        store->writeBinary("SOUNDOPTIONS", Bytes{0, 0});
        store->writeBinary("1STATS", Bytes{100, 0, 0, 0, 1});
        for (int row = 1; row <= kBestScorePlaces; ++row) {
            store->writeText("1STATS" + std::to_string(row), "Kept");
            store->writeBinary("2STATS" + std::to_string(row), Bytes{'B', 'o', 'b'});
        }
    }
    GameState expected = sample();
    expected.solvingDataHead = {9, 8};
    expected.gameMode = 1;
    expected.numwfsfValue = static_cast<std::int32_t>(0xFFFF1234U);
    expected.soundOptions[0] = 0;
    expected.bestScores[1].scores[1] = 100;
    expected.bestScores[1].scores[2] = (expected.bestScores[1].scores[2] & ~0xFF) | 1;
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        expected.bestScores[1].names[row] = "Kept";
        expected.bestScores[2].names[row] = "Anononymous";   // a name must be text
        expected.bestScores[2].scores[row] = 0;
    }
    EXPECT_EQ(storedValues(loaded(sample())), storedValues(expected));

    // Longer than their buffers: nothing is taken, and the sound options are all on.
    key()->writeBinary("SOLVINGDATA", Bytes(15, 7));
    key()->writeBinary("SOUNDOPTIONS", Bytes(15, 0));
    const GameState state = loaded(sample());
    EXPECT_EQ(std::tuple(state.solvingDataHead, state.gameMode, state.soundOptions),
              std::tuple(sample().solvingDataHead, 2, kAllSoundsOn));
}

TEST_F(SettingsStore, AnUnusableConfigurationDirectoryIsReportedAndNothingIsSaved)
{
    writeFile(temp.file("plain"), "x");
    fs::create_directory(config);
    const auto readable = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                          fs::perms::others_exec;
    fs::permissions(temp.path(), readable | fs::perms::owner_write);
    fs::permissions(config, readable);
    for (const std::string& directory : {temp.file("plain"), temp.file("plain") + "/config", config}) {
        const int failures = inChildProcess([&directory] {
            if (!dropRootPrivileges()) return 100;
            MessageBoxRecorder recorder;
            GameState state = sample();
            loadSettings(state, directory);
            const bool saved = saveSettings(state, directory);
            const ShownMessage expected{"Snugbox", " Error Failerd"};
            return (recorder.messages() != std::vector<ShownMessage>(2, expected)) + 2 * saved +
                   4 * (storedValues(state) != storedValues(sample()));
        });
        EXPECT_EQ(failures, 0) << directory;
    }
    EXPECT_EQ(fileText(temp.file("plain")), "x");
    EXPECT_TRUE(fs::is_empty(config));
}

TEST_F(SettingsStore, AKeyThatCannotBeCreatedIsSilentAndReadsNothing)
{
    fs::create_directories(config);
    writeFile(config + "/Quillon", "not a directory");
    EXPECT_EQ(loaded().soundOptions, Sound{});
    EXPECT_FALSE(saveSettings(sample(), config));
    EXPECT_TRUE(boxes.messages().empty());
}

TEST_F(SettingsStore, AnUnreadableStoreIsKeptAsideWholeBeforeAnythingIsWritten)
{
    const std::string damaged =
        std::string("SOLVINGDATA=@ByteArray(\x01)\n") + std::string(40, '\0') + "\n[2STATS\n";
    fs::create_directories(fs::path(storeFile).parent_path());
    writeFile(storeFile, damaged);
    const GameState state = loaded();
    EXPECT_EQ(std::tuple(state.soundOptions, state.gameMode, state.bestScores[2].names[1]),
              std::tuple(kAllSoundsOn, 0, "Anononymous"));
    EXPECT_EQ(filesSetAside(), std::multiset<std::string>{damaged});

    // Damage found when saving goes aside too, next to the first and not over it.
    writeFile(storeFile, damaged + "again");
    ASSERT_TRUE(saveSettings(sample(), config));
    EXPECT_EQ(filesSetAside(), (std::multiset<std::string>{damaged, damaged + "again"}));
    EXPECT_EQ(storedValues(loaded()), storedValues(sample()));
}

TEST_F(SettingsStore, ASaveCutShortLeavesThePreviousStoreWhole)
{
    ASSERT_TRUE(saveSettings(sample(), config));
    const std::string before = fileText(storeFile);
    GameState changed = sample();
    changed.bestScores[2].names[1] = "Newcomer";
    // The child may write no file beyond 200 bytes, so the kernel ends it partway through
    // writing the new store, before that can replace the old one.
    const int ending = inChildProcess([&changed, this] {
        const rlimit fileSize{200, 200};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        return saveSettings(changed, config) ? 0 : 1;
    });
    EXPECT_EQ(ending, -SIGXFSZ);
    EXPECT_EQ(fileText(storeFile), before);
    EXPECT_EQ(storedValues(loaded()), storedValues(sample()));
    ASSERT_TRUE(saveSettings(changed, config));   // the dead writer's lock is no obstacle
    EXPECT_EQ(storedValues(loaded()), storedValues(changed));
}

// Last, because the application object then stays for the rest of the program.
TEST_F(SettingsStore, WorksWhileTheGamesApplicationObjectExists)
{
    Application::instance();
    ASSERT_TRUE(saveSettings(sample(), config));
    EXPECT_EQ(storedValues(loaded()), storedValues(sample()));
}

} // namespace
} // namespace snugbox
