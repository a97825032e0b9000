// The per-user store: the input as the store file, loaded as at start-up; a file that
// cannot be read is set aside byte for byte. Then a save, and the next start (which reads
// the file from disk, where a second read in this process would be answered from the
// settings library's memory of it) gets back every value the game saved.
#include <vector>

#include "rules/game_state.h"
#include "store/settings_store.h"
#include "tests/fuzz/harnesses.h"
#include "tests/support/stored_values.h"

namespace snugbox::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kStoreFile = "Quillon/Snugbox/1.0.ini";

std::vector<std::string> filesSetAside(const fs::path& configDirectory)
{
    std::vector<std::string> contents;
    for (const fs::path& path : fs::directory_iterator((configDirectory / kStoreFile).parent_path())) {
        if (path.filename().string().starts_with("1.0.ini.corrupt-")) {
            contents.push_back(fileBytes(path));
        }
    }
    return contents;
}

// A start of the game with the store of `configDirectory` copied to a directory no
// earlier run has used.
GameState loadedAtNextStart(const fs::path& configDirectory)
{
    const fs::path nextStart = configDirectory.string() + "-next-start";
    fs::create_directories((nextStart / kStoreFile).parent_path());
    fs::copy_file(configDirectory / kStoreFile, nextStart / kStoreFile);
    GameState state;
    loadSettings(state, nextStart.string());
    require(filesSetAside(nextStart).empty(), "the saved store cannot be read");
    fs::remove_all(nextStart);
    return state;
}

void requireSame(const GameState& saved, const GameState& loaded)
{
    require(testing::binaryStoredValues(saved) == testing::binaryStoredValues(loaded),
            "the saved game mode, level, carried value, sound options or reserved bytes came back changed");
    for (int mode = 1; mode <= kGameModes; ++mode) {
        for (int row = 1; row <= kBestScorePlaces; ++row) {
            const BestScoreTable& before = saved.bestScores[mode];
            const BestScoreTable& after = loaded.bestScores[mode];
            require(before.scores[row] == after.scores[row] && before.names[row] == after.names[row], [&] {
                return "best score " + std::to_string(row) + " of mode " + std::to_string(mode) + " (\"" +
                       before.names[row] + "\") came back as \"" + after.names[row] + "\"";
            });
        }
    }
}

} // namespace

int fuzzStore(const std::uint8_t* data, std::size_t size)
{
    makeApplicationAsTheGameDoes();
    static int runs = 0;
    // A new directory each time: the settings library remembers every file it has read.
    const fs::path config = scratchDirectory() / ("store-" + std::to_string(++runs));
    fs::create_directories((config / kStoreFile).parent_path());
    writeFile(config / kStoreFile, data, size);
    const std::string input(reinterpret_cast<const char*>(data), size);

    GameState state;
    loadSettings(state, config.string());
    const std::vector<std::string> aside = filesSetAside(config);
    if (aside.empty()) {
        require(fileBytes(config / kStoreFile) == input, "loading the store changed its file");
    } else {
        require(aside == std::vector{input}, "an unreadable store was not set aside byte for byte");
    }
    require(saveSettings(state, config.string()), "the game's save failed");
    requireSame(state, loadedAtNextStart(config));
    fs::remove_all(config);
    return 0;
}

} // namespace snugbox::fuzz
