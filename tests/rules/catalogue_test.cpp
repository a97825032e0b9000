#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

// `classes` classes, class s holding one lying bar of s squares.
Bytes barCatalogue(int classes = 6)
{
    Bytes bytes = withInt32({}, 0, classes);
    for (std::uint8_t size = 1; size <= classes; ++size) {
        bytes.insert(bytes.end(), {0, 0, 0, 0, 1, 0, 0, 0, size, 1});   // reserved, one shape of size x 1
        for (std::uint8_t k = 0; k < size; ++k) {
            bytes.push_back(k);
        }
    }
    return bytes;
}

TEST(Catalogue, RefusesEveryKindOfDamageWithALineNamingFileAndProblem)
{
    const Bytes good = barCatalogue();
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
        {"five classes", barCatalogue(5), "need 6"},
        {"zero shapes", withInt32(good, class2Count, 0), "shape count"},
        {"too many shapes", withInt32(good, class2Count, 70000), "32767"},
        {"shapes beyond the file", withInt32(good, class2Count, 1000), "ends"},
        {"zero width", changed(class2Count + 4, 0), "width or height of 0"},
        {"zero height", changed(class2Count + 5, 0), "width or height of 0"},
        {"square below its box", changed(class2Count + 7, 0x10), "outside"},
        {"square right of its box", changed(class2Count + 7, 0x02), "outside"},
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
