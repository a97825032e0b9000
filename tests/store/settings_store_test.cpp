#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "platform/keyed_store.h"
#include "tests/support/platform/message_box_recorder.h"
#include "rules/game_state.h"
#include "store/settings_store.h"
#include "tests/support/stored_values.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
constexpr std::array<std::int16_t, 7> kAllSoundsOn{1, 1, 1, 1, 1, 1, 1};

std::string fileText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

using testing::binaryStoredValues;
using testing::storedValues;

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
    for (int place = 1; place <= kGameModes * kBestScorePlaces; ++place) {
        const int mode = (place - 1) / kBestScorePlaces + 1;
        const int row = (place - 1) % kBestScorePlaces + 1;
        state.bestScores[mode].scores[row] = (9 - row) * 1000 * mode - 5;
        state.bestScores[mode].names[row] = "Player " + std::to_string(mode * 10 + row);
    }
    state.bestScores[2].scores[1] = 0x7FFFFFFF;
    return state;
}

// Runs `body` in a child process: its exit code, or minus the signal that ended it.
int inChildProcess(const auto& body)
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

class SettingsStore : public ::testing::Test {
protected:
    testing::TempDir temp;
    std::string config = temp.file("config");
    fs::path storeFile = config + "/Quillon/Snugbox/1.0.ini";
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

    std::multiset<std::string> filesSetAside(const std::string& configDirectory = {}) const
    {
        const fs::path folder = configDirectory.empty() ? storeFile.parent_path()
                                                        : fs::path(configDirectory) / "Quillon/Snugbox";
        std::multiset<std::string> contents;
        for (const fs::path& path : fs::directory_iterator(folder)) {
            if (path.filename().string().starts_with("1.0.ini.corrupt-")) contents.insert(fileText(path));
        }
        return contents;
    }

    // A configuration directory not used before in this process, whose store holds `content`.
    // The settings library answers a second read of a file from what this process last
    // wrote to it, so only a new path shows what the next start of the game would read.
    std::string directoryHolding(const std::string& content) const
    {
        const std::string directory = temp.file("start" + std::to_string(++starts_));
        fs::create_directories(directory + "/Quillon/Snugbox");
        std::ofstream(directory + "/Quillon/Snugbox/1.0.ini", std::ios::binary) << content;
        return directory;
    }

    GameState loadedAtNextStart(const std::string& configDirectory) const
    {
        GameState state;
        loadSettings(state, directoryHolding(fileText(configDirectory + "/Quillon/Snugbox/1.0.ini")));
        return state;
    }

private:
    mutable int starts_ = 0;
};

TEST_F(SettingsStore, FirstRunCreatesTheStoreAndTakesTheDefaultsAndScoresWithoutANameAreNoRows)
{
    GameState expected;
    expected.soundOptions = kAllSoundsOn;
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        expected.bestScores[1].names[row] = expected.bestScores[2].names[row] = "Anononymous";
    }
    EXPECT_EQ(storedValues(loaded()), storedValues(expected));
    EXPECT_TRUE(fs::is_regular_file(storeFile) && boxes.messages().empty());

    key()->writeBinary("1STATS", Bytes(32, 7));
    EXPECT_EQ(loaded().bestScores, expected.bestScores);
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
    EXPECT_EQ(stored("2STATS8").size(), 0u) << "names are text, not bytes";
    EXPECT_EQ(key()->readText("2STATS8", 25), "Player 28");

    // A second run that saves what it loaded writes the very same file, and values that
    // are not the game's stay.
    const std::string firstRun = fileText(storeFile);
    ASSERT_TRUE(saveSettings(loaded(), config));
    EXPECT_EQ(fileText(storeFile), firstRun);
    EXPECT_EQ(key()->readText("EXTRA", 100), "someone else's");
}

TEST_F(SettingsStore, NamesComeBackAsTypedCountedInCharactersAndATooLongOneEmptiesItsRow)
{
    GameState saved = sample();
    // Names that mean something to the file format.
    const char* awkward[] = {"-", "", "@ByteArray(AAAA)", " padded ", "a,b;c=d", "q\"b\\s", "[General]", "%41&x"};
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        saved.bestScores[1].names[row] = awkward[row - 1];
    }
    saved.bestScores[2].names[1] = "Ωμέγα東京Жук😀ñøçüקعŁĐ";   // 19 characters, 42 bytes
    // 24 characters, 96 bytes
    saved.bestScores[2].names[2] = "😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀";
    saved.bestScores[2].names[3] = std::string(25, 'x');
    ASSERT_TRUE(saveSettings(saved, config));
    const auto tables = loaded().bestScores;
    saved.bestScores[2].names[3] = "Anononymous";
    saved.bestScores[2].scores[3] = 0;
    EXPECT_EQ(tables, saved.bestScores);
    EXPECT_EQ(key()->readText("1STATS1", 2), "-") << "one character fits the buffer of one and its zero";
}

TEST_F(SettingsStore, AValueNotTheGamesThatASaveWouldSpoilIsDroppedAndTheGamesValuesComeBack)
{
    ASSERT_TRUE(saveSettings(sample(), config));
    // The line \\= reads as a value named by one backslash, which writes back as \=, a
    // line the reader refuses.
    const std::string directory = directoryHolding(fileText(storeFile) + "\\\\=\n");
    GameState state;
    loadSettings(state, directory);
    ASSERT_EQ(storedValues(state), storedValues(sample()));
    ASSERT_TRUE(saveSettings(state, directory));
    EXPECT_EQ(storedValues(loadedAtNextStart(directory)), storedValues(sample()));
    // The spoilt save is kept aside whole, as an unreadable store always is.
    EXPECT_EQ(fileText(directory + "/Quillon/Snugbox/1.0.ini").find("\n\\="), std::string::npos);
    const auto aside = filesSetAside(directory);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_NE(aside.begin()->find("\n\\=\n"), std::string::npos) << *aside.begin();
}

TEST_F(SettingsStore, ANameStartingWithTheInvisibleMarkLosesItAtLoadSoThatItComesBackAsSaved)
{
    // U+FEFF escaped, and raw in the middle of a name: the game never holds it.
    const std::string directory =
        directoryHolding("[General]\n1STATS1=\\xfeffZoe\n1STATS2=A\xEF\xBB\xBF\\xfeff\xEF\xBB\xBF" "B\n");
    GameState state;
    loadSettings(state, directory);
    const auto& names = state.bestScores[1].names;
    EXPECT_EQ(names[1] + "|" + names[2], "Zoe|AB");
    ASSERT_TRUE(saveSettings(state, directory));
    EXPECT_EQ(storedValues(loadedAtNextStart(directory)), storedValues(state));
}

TEST_F(SettingsStore, BinaryValuesFillTheStartOfTheirBuffersOrAreNotReadAtAll)
{
    key()->writeBinary("SOLVINGDATA", Bytes{9, 8, 1, 0});
    key()->writeBinary("NUMWFSF", Bytes{0x34, 0x12});
    key()->writeBinary("SOUNDOPTIONS", Bytes{0, 0});
    GameState expected = sample();
    expected.solvingDataHead = {9, 8};
    expected.gameMode = 1;
    expected.numwfsfValue = static_cast<std::int32_t>(0xFFFF1234U);
    expected.soundOptions[0] = 0;
    EXPECT_EQ(binaryStoredValues(loaded(sample())), binaryStoredValues(expected));

    // Longer than their buffers: nothing is taken, and the sound options are all on.
    key()->writeBinary("SOLVINGDATA", Bytes(15, 7));
    key()->writeBinary("SOUNDOPTIONS", Bytes(15, 0));
    expected.solvingDataHead = sample().solvingDataHead;
    expected.gameMode = 2;
    expected.soundOptions = kAllSoundsOn;
    EXPECT_EQ(binaryStoredValues(loaded(sample())), binaryStoredValues(expected));
}

TEST_F(SettingsStore, AnUnusableConfigurationDirectoryIsReportedAndNothingIsSaved)
{
    std::ofstream(temp.file("plain")) << "x";
    fs::create_directory(config);
    using enum fs::perms;
    fs::permissions(temp.path(), owner_all | others_read | others_exec);
    fs::permissions(config, owner_read | owner_exec | others_read | others_exec);
    const int failures = inChildProcess([this] {
        // Permissions do not hold back root, so a child running as root becomes "nobody".
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
            return 100;
        }
        int failures = 0;
        for (const std::string& directory : {temp.file("plain"), temp.file("plain") + "/config", config}) {
            GameState state = sample();
            loadSettings(state, directory);
            failures += saveSettings(state, directory) + 10 * (storedValues(state) != storedValues(sample()));
        }
        return failures + 20 * (boxes.messages() != std::vector(6, ShownMessage{"Snugbox", " Error Failerd"}));
    });
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(fileText(temp.file("plain")), "x");
    EXPECT_TRUE(fs::is_empty(config));
}

TEST_F(SettingsStore, AnUnreadableStoreIsKeptAsideWholeBeforeAnythingIsWritten)
{
    const std::string damaged = std::string("SOLVINGDATA=@ByteArray(\x01)\n") + std::string(40, '\0') + "\n[2STATS\n";
    fs::create_directories(storeFile.parent_path());
    std::ofstream(storeFile, std::ios::binary) << damaged;
    const GameState state = loaded();
    EXPECT_EQ(std::tuple(state.soundOptions, state.gameMode, state.bestScores[2].names[1]),
              std::tuple(kAllSoundsOn, 0, "Anononymous"));
    EXPECT_EQ(filesSetAside(), std::multiset<std::string>{damaged});

    // Damage found when saving goes aside too, next to the first and not over it.
    std::ofstream(storeFile, std::ios::binary) << damaged + "again";
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
    EXPECT_EQ(std::pair(ending, fileText(storeFile)), std::pair(-SIGXFSZ, before));
    EXPECT_EQ(storedValues(loaded()), storedValues(sample()));
    ASSERT_TRUE(saveSettings(changed, config));   // the dead writer's lock is no obstacle
    EXPECT_EQ(storedValues(loaded()), storedValues(changed));
}

// A writer killed between creating its lock and writing its process id into it.
TEST_F(SettingsStore, AnEmptyLockLeftByAKilledWriterHoldsUpNoLaterSave)
{
    ASSERT_TRUE(saveSettings(sample(), config));
    const fs::path lock = storeFile.string() + ".lock";
    std::ofstream{lock};
    fs::last_write_time(lock, fs::file_time_type::clock::now() - std::chrono::seconds(5));
    GameState changed = sample();
    changed.bestScores[2].names[1] = "Newcomer";
    // Waiting for the lock to grow old would take half a minute; the child gets ten seconds.
    EXPECT_EQ(inChildProcess([&changed, this] {
                  alarm(10);
                  return saveSettings(changed, config) ? 0 : 1;
              }),
              0);
    EXPECT_EQ(storedValues(loaded()), storedValues(changed));
}

} // namespace
} // namespace snugbox
