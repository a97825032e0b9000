#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <vector>

#include "rules/catalogue.h"

namespace snugbox {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes withInt32(Bytes bytes, std::size_t at, std::int32_t value)
{
    bytes.resize(std::max(bytes.size(), at + 4));
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
    return bytes;
}

// `classes` classes, class s holding one shape of s squares laid in rows of four from the
// top-left corner, unless `replaced` gives the record of class s's shape.
Bytes blockCatalogue(int classes = 6, const std::map<int, Bytes>& replaced = {})
{
    Bytes bytes = withInt32({}, 0, classes);
    for (int size = 1; size <= classes; ++size) {
        bytes.insert(bytes.end(), {0, 0, 0, 0, 1, 0, 0, 0});   // reserved, one shape
        if (const auto shape = replaced.find(size); shape != replaced.end()) {
            bytes.insert(bytes.end(), shape->second.begin(), shape->second.end());
            continue;
        }
        bytes.push_back(static_cast<std::uint8_t>(std::min(size, 4)));
        bytes.push_back(static_cast<std::uint8_t>((size + 3) / 4));
        for (int k = 0; k < size; ++k) {
            bytes.push_back(static_cast<std::uint8_t>((k / 4) << 4 | (k % 4)));
        }
    }
    return bytes;
}

TEST(Catalogue, RefusesEveryKindOfDamageWithALineNamingFileAndProblem)
{
    const Bytes good = blockCatalogue();
    const std::size_t class2Count = 4 + 11 + 4;
    auto changed = [&good](std::size_t at, std::uint8_t value) {
        Bytes bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const std::vector<std::tuple<const char*, Bytes, const char*>> files = {
        {"empty file", {}, "ends"},
        {"cut by one byte", Bytes(good.begin(), good.end() - 1), "ends"},
        {"zero classes", withInt32(good, 0, 0), "size classes"},
        {"too many classes", withInt32(good, 0, 40000), "32767"},
        {"five classes", blockCatalogue(5), "need 6"},
        {"zero shapes", withInt32(good, class2Count, 0), "shape count"},
        {"too many shapes", withInt32(good, class2Count, 70000), "32767"},
        {"shapes beyond the file", withInt32(good, class2Count, 1000), "ends"},
        {"zero width", changed(class2Count + 4, 0), "width or height of 0"},
        {"zero height", changed(class2Count + 5, 0), "width or height of 0"},
        {"square below its box", changed(class2Count + 7, 0x10), "outside"},
        {"square right of its box", changed(class2Count + 7, 0x02), "outside"},
        // What the game draws, turns and drops must be what the record says it is.
        {"two squares on one cell", changed(class2Count + 7, 0x00), "squares 1 and 2 on one cell"},
        {"five wide", blockCatalogue(6, {{5, {5, 1, 0, 1, 2, 3, 4}}}), "at most 4 x 4"},
        {"five high", blockCatalogue(6, {{5, {1, 5, 0x00, 0x10, 0x20, 0x30, 0x40}}}), "at most 4 x 4"},
        {"wider than its squares", changed(class2Count + 4, 3), "column 3"},
        {"higher than its squares", changed(class2Count + 5, 2), "row 2"},
        {"squares off its left edge", blockCatalogue(6, {{1, {2, 1, 0x01}}}), "column 1"},
        {"squares off its top edge", blockCatalogue(6, {{1, {1, 2, 0x10}}}), "row 1"},
        {"a class beyond 6 with a square outside its box", blockCatalogue(7, {{7, {2, 1, 0, 1, 2, 3, 4, 5, 6}}}),
         "square 3 outside"},
    };
    for (const auto& [what, bytes, mentions] : files) {
        GameState state;
        state.pieceSizeCount = 77;
        const auto error = parseAllPieces(state, bytes, "ALLPIECES.PDAT");
        ASSERT_TRUE(error.has_value()) << what;
        EXPECT_EQ(error->rfind("ALLPIECES.PDAT: ", 0), 0u) << *error;
        EXPECT_NE(error->find(mentions), std::string::npos) << what << ": " << *error;
        EXPECT_EQ(error->find('\n'), std::string::npos) << *error;
        EXPECT_EQ(state.pieceSizeCount, 77) << what << " must leave the state untouched";
    }
}

// The game never draws more than six squares: a file may go on with larger classes, in
// boxes no piece of the game could have, and still serve.
TEST(Catalogue, ClassesBeyondTheSixDrawnNeedOnlyKeepTheirSquaresInTheirBoxes)
{
    GameState state;
    EXPECT_EQ(parseAllPieces(state, blockCatalogue(17, {{7, {7, 1, 0, 1, 2, 3, 4, 5, 6}}}), "ALLPIECES.PDAT"),
              std::nullopt);
    EXPECT_EQ(state.pieceSizeCount, 17);
}

TEST(Catalogue, TheShippedFileLoadsAndDamagedCopiesNeverCrashOrSlipThrough)
{
    const std::string path = std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT";
    GameState shippedState;
    ASSERT_EQ(loadAllPieces(shippedState, path), std::nullopt);
    const int counts[] = {1, 1, 2, 7, 17, 50};
    for (int size = 1; size <= 6; ++size) {
        EXPECT_EQ(shippedState.allPieces[size].shapeCount, counts[size - 1]) << size;
    }

    // Whatever the damage, the loader either refuses the file or hands over a catalogue
    // that keeps its promises: classes 1..6 at least, each holding the shapes it declares.
    std::ifstream file(path, std::ios::binary);
    const Bytes shipped{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::mt19937 random(20261206);
    for (int trial = 0; trial < 4000; ++trial) {
        Bytes bytes = shipped;
        if (trial % 2 == 0) {
            bytes.resize(random() % bytes.size());
        } else {
            for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
                bytes[random() % bytes.size()] ^= static_cast<std::uint8_t>(1U << (random() % 8));
            }
        }
        GameState state;
        if (parseAllPieces(state, bytes, "ALLPIECES.PDAT")) {
            continue;
        }
        ASSERT_GE(state.pieceSizeCount, 6) << trial;
        for (int size = 1; size <= state.pieceSizeCount; ++size) {
            ASSERT_GE(state.allPieces[size].shapes.count(), 1) << trial;
            ASSERT_EQ(state.allPieces[size].shapes.count(), state.allPieces[size].shapeCount) << trial;
        }
    }
}

} // namespace
} // namespace snugbox
