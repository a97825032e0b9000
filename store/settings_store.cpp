#include "store/settings_store.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "platform/keyed_store.h"
#include "platform/message_box.h"
#include "rules/best_scores.h"
#include "rules/game_state.h"

namespace snugbox {
namespace {

constexpr char kApplicationTitle[] = "Snugbox";
constexpr char kMaker[] = "Quillon";
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;

constexpr char kRootUnusableMessage[] = " Error Failerd";
constexpr char kNeverStoredName[] = "Anononymous";
constexpr std::size_t kNameBufferCharacters = 25;   // 24 characters and the terminating zero

constexpr std::string_view kSolvingDataName = "SOLVINGDATA";
constexpr std::string_view kCarriedValueName = "NUMWFSF";
constexpr std::string_view kSoundOptionsName = "SOUNDOPTIONS";

// The stored blocks, byte for byte.
using SolvingBlock = std::array<std::uint8_t, 14>;   // head, mode, level, tail
using CarriedBlock = std::array<std::uint8_t, 4>;
using SoundBlock = std::array<std::uint8_t, 14>;     // seven 16-bit options
using ScoresBlock = std::array<std::uint8_t, 32>;    // eight 32-bit scores, best first

// Numbers are stored little-endian in two's complement, whatever the machine.
template <class Int>
void putLittleEndian(std::span<std::uint8_t> bytes, Int value)
{
    using Bits = std::make_unsigned_t<Int>;
    auto bits = static_cast<Bits>(value);
    for (std::size_t i = 0; i < sizeof(Int); ++i) {
        bytes[i] = static_cast<std::uint8_t>(bits & 0xffU);
        bits = static_cast<Bits>(bits >> 8);
    }
}

template <class Int>
Int getLittleEndian(std::span<const std::uint8_t> bytes)
{
    using Bits = std::make_unsigned_t<Int>;
    Bits bits = 0;
    for (std::size_t i = sizeof(Int); i-- > 0;) {
        bits = static_cast<Bits>((bits << 8) | bytes[i]);
    }
    return static_cast<Int>(bits);
}

std::vector<std::string> keyPath()
{
    return {kMaker, kApplicationTitle,
            std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor)};
}

std::string scoresValueName(int mode) { return std::to_string(mode) + "STATS"; }

std::string nameValueName(int mode, int row) { return scoresValueName(mode) + std::to_string(row); }

SolvingBlock solvingBlockOf(const GameState& state)
{
    SolvingBlock block{};
    std::ranges::copy(state.solvingDataHead, block.begin());
    putLittleEndian(std::span(block).subspan(2, 2), state.gameMode);
    putLittleEndian(std::span(block).subspan(4, 2), state.currentLevel);
    std::ranges::copy(state.solvingDataTail, block.begin() + 6);
    return block;
}

void takeSolvingBlock(GameState& state, const SolvingBlock& block)
{
    std::copy_n(block.begin(), state.solvingDataHead.size(), state.solvingDataHead.begin());
    state.gameMode = getLittleEndian<std::int16_t>(std::span(block).subspan(2, 2));
    state.currentLevel = getLittleEndian<std::int16_t>(std::span(block).subspan(4, 2));
    std::copy_n(block.begin() + 6, state.solvingDataTail.size(), state.solvingDataTail.begin());
}

CarriedBlock carriedBlockOf(const GameState& state)
{
    CarriedBlock block{};
    putLittleEndian(block, state.numwfsfValue);
    return block;
}

SoundBlock soundBlockOf(const GameState& state)
{
    SoundBlock block{};
    for (std::size_t i = 0; i < state.soundOptions.size(); ++i) {
        putLittleEndian(std::span(block).subspan(2 * i, 2), state.soundOptions[i]);
    }
    return block;
}

void takeSoundBlock(GameState& state, const SoundBlock& block)
{
    for (std::size_t i = 0; i < state.soundOptions.size(); ++i) {
        state.soundOptions[i] = getLittleEndian<std::int16_t>(std::span(block).subspan(2 * i, 2));
    }
}

ScoresBlock scoresBlockOf(const BestScoreTable& table)
{
    ScoresBlock block{};
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        putLittleEndian(std::span(block).subspan(4 * (row - 1), 4), table.scores[row]);
    }
    return block;
}

void takeScoresBlock(BestScoreTable& table, const ScoresBlock& block)
{
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        table.scores[row] = getLittleEndian<std::int32_t>(std::span(block).subspan(4 * (row - 1), 4));
    }
}

// Each binary value is read over the encoding of what the state holds now: a failed read
// leaves the buffer as it was, and a short value replaces only its first bytes.
void readSolvingData(const KeyedStoreKey& key, GameState& state)
{
    SolvingBlock block = solvingBlockOf(state);
    key.readBinary(kSolvingDataName, block);
    takeSolvingBlock(state, block);
}

void readCarriedValue(const KeyedStoreKey& key, GameState& state)
{
    CarriedBlock block = carriedBlockOf(state);
    key.readBinary(kCarriedValueName, block);
    state.numwfsfValue = getLittleEndian<std::int32_t>(block);
}

void readSoundOptions(const KeyedStoreKey& key, GameState& state)
{
    SoundBlock block = soundBlockOf(state);
    if (key.readBinary(kSoundOptionsName, block)) {
        takeSoundBlock(state, block);
    } else {
        state.soundOptions.fill(1);
    }
}

// A row whose name cannot be read is a row never stored: its score goes with it.
void readBestScores(const KeyedStoreKey& key, int mode, BestScoreTable& table)
{
    ScoresBlock block = scoresBlockOf(table);
    key.readBinary(scoresValueName(mode), block);
    takeScoresBlock(table, block);
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        if (auto name = key.readText(nameValueName(mode, row), kNameBufferCharacters)) {
            table.names[row] = withoutInvisibleMarks(*name);
        } else {
            table.names[row] = kNeverStoredName;
            table.scores[row] = 0;
        }
    }
}

void writeBestScores(KeyedStoreKey& key, int mode, const BestScoreTable& table)
{
    key.writeBinary(scoresValueName(mode), scoresBlockOf(table));
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        key.writeText(nameValueName(mode, row), table.names[row]);
    }
}

void readEveryValue(const KeyedStoreKey& key, GameState& state)
{
    readSolvingData(key, state);
    readCarriedValue(key, state);
    readSoundOptions(key, state);
    for (int mode = 1; mode <= kGameModes; ++mode) {
        readBestScores(key, mode, state.bestScores[mode]);
    }
}

enum class OtherValues { Keep, Drop };

bool writeEveryValue(const KeyedStore& root, const GameState& state, OtherValues others)
{
    const std::unique_ptr<KeyedStoreKey> key = root.openOrCreateKey(keyPath());
    if (!key) {
        return false;
    }
    if (others == OtherValues::Drop) {
        key->removeAll();
    }
    key->writeBinary(kSolvingDataName, solvingBlockOf(state));
    key->writeBinary(kCarriedValueName, carriedBlockOf(state));
    key->writeBinary(kSoundOptionsName, soundBlockOf(state));
    for (int mode = 1; mode <= kGameModes; ++mode) {
        writeBestScores(*key, mode, state.bestScores[mode]);
    }
    return key->close();
}

auto storedValuesOf(const GameState& state)
{
    return std::tie(state.solvingDataHead, state.gameMode, state.currentLevel, state.solvingDataTail,
                    state.numwfsfValue, state.soundOptions, state.bestScores);
}

// The values as a load gives them back: a name too long for the reader's buffer is a row
// never stored, and names lose the mark they never hold.
GameState asLoadGivesThemBack(const GameState& saved)
{
    GameState expected = saved;
    for (int mode = 1; mode <= kGameModes; ++mode) {
        BestScoreTable& table = expected.bestScores[mode];
        for (int row = 1; row <= kBestScorePlaces; ++row) {
            table.names[row] = withoutInvisibleMarks(table.names[row]);
            if (characterCount(table.names[row]) >= kNameBufferCharacters) {
                table.names[row] = kNeverStoredName;
                table.scores[row] = 0;
            }
        }
    }
    return expected;
}

// Whether the next start of the game, reading the file from disk, gets the saved values.
bool readsBackAsSaved(const KeyedStore& root, const GameState& saved)
{
    const std::unique_ptr<KeyedStoreKey> key = root.openKeyAsStored(keyPath());
    if (!key) {
        return false;
    }
    GameState readBack;   // as at start-up
    readEveryValue(*key, readBack);
    const GameState expected = asLoadGivesThemBack(saved);
    return storedValuesOf(readBack) == storedValuesOf(expected);
}

std::optional<KeyedStore> openRootOrTell(const std::string& configDirectory)
{
    std::optional<KeyedStore> root = KeyedStore::openRoot(configDirectory);
    if (!root) {
        showMessageBox(kApplicationTitle, kRootUnusableMessage);
    }
    return root;
}

} // namespace

void loadSettings(GameState& state) { loadSettings(state, userConfigDirectory()); }

bool saveSettings(const GameState& state) { return saveSettings(state, userConfigDirectory()); }

void loadSettings(GameState& state, const std::string& configDirectory)
{
    const std::optional<KeyedStore> root = openRootOrTell(configDirectory);
    if (!root) {
        return;
    }
    if (const std::unique_ptr<KeyedStoreKey> key = root->openOrCreateKey(keyPath())) {
        readEveryValue(*key, state);
    }
}

bool saveSettings(const GameState& state, const std::string& configDirectory)
{
    const std::optional<KeyedStore> root = openRootOrTell(configDirectory);
    if (!root) {
        return false;
    }
    if (!writeEveryValue(*root, state, OtherValues::Keep)) {
        return false;
    }
    if (readsBackAsSaved(*root, state)) {
        return true;
    }
    // Something in the file that is not the game's (a value under a name the settings
    // library writes back differently, say) spoilt it. The spoilt file goes aside whole,
    // as an unreadable store does at load, and the game's values are written alone.
    root->setKeyAside(keyPath());
    return writeEveryValue(*root, state, OtherValues::Drop) && readsBackAsSaved(*root, state);
}

} // namespace snugbox
