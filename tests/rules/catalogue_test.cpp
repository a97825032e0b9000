#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "rules/catalogue.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes withInt32(Bytes bytes, std::size_t at, std::int32_t value)
{
    bytes.resize(std::max(bytes.size(), at + 4));
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
    return bytes;
}

// A catalogue with `classes` classes, each holding one lying bar of s squares, and
// `reserved` in every class's four unused bytes.
Bytes barCatalogue(int classes = 6, std::int32_t reserved = 0)
{
    Bytes bytes = withInt32({}, 0, classes);
    for (int size = 1; size <= classes; ++size) {
        bytes = withInt32(withInt32(bytes, bytes.size(), reserved), bytes.size() + 4, 1);
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(size), 1});
        for (int k = 0; k < size; ++k) {
            bytes.push_back(static_cast<std::uint8_t>(k));
        }
    }
    return bytes;
}

std::optional<std::string> parse(GameState& state, const Bytes& bytes)
{
    return parseAllPieces(state, bytes, "ALLPIECES.PDAT");
}

TEST(Catalogue, ReadsClassesOfShapesWithSquaresAsRowAndColumnNibbles)
{
    // Class 1 holds three single squares, so class 2 starts 4 + 8 + 3 x 3 bytes in.
    Bytes bytes = withInt32(withInt32(withInt32({}, 0, 6), 4, -1), 8, 3);
    bytes.insert(bytes.end(), {1, 1, 0, 1, 1, 0, 1, 1, 0});
    const Bytes rest = barCatalogue(6, -1);
    bytes.insert(bytes.end(), rest.begin() + 4 + 11, rest.end());
    // Class 3 becomes an L in a 2 x 3 box whose squares are (0, 0), (0, 1), (1, 2).
    const std::size_t class3 = 4 + 17 + 12 + 8;
    bytes[class3] = 2;
    bytes[class3 + 1] = 3;
    bytes[class3 + 3] = 0x10;
    bytes[class3 + 4] = 0x21;
    bytes.insert(bytes.end(), {0xff, 0x7f, 0x13});   // bytes after the last shape are not read

    GameState state;
    ASSERT_EQ(parse(state, bytes), std::nullopt);
    ASSERT_EQ(state.pieceSizeCount, 6);
    EXPECT_EQ(state.allPieces[1].shapeCount, 3);
    EXPECT_EQ(state.allPieces[2].shapeCount, 1);
    const PieceShape& l = state.allPieces[3].shapes[1];
    EXPECT_EQ(std::pair(l.width, l.height), (std::pair<std::uint8_t, std::uint8_t>(2, 3)));
    EXPECT_EQ(l.squares[2], (Square{0, 1}));
    EXPECT_EQ(l.squares[3], (Square{1, 2}));
    EXPECT_EQ(l.colours.count(), 3);
    EXPECT_EQ(state.allPieces[6].shapes[1].squares[6], (Square{5, 0}));
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
        {"cut inside the class count", Bytes(good.begin(), good.begin() + 3), "ends"},
        {"cut inside class 4", Bytes(good.begin(), good.end() - 20), "ends"},
        {"cut by one byte", Bytes(good.begin(), good.end() - 1), "ends"},
        {"zero classes", withInt32(good, 0, 0), "size classes"},
        {"negative classes", withInt32(good, 0, -6), "size classes"},
        {"too many classes", withInt32(good, 0, 40000), "32767"},
        {"five classes", barCatalogue(5), "need 6"},
        {"zero shapes", withInt32(good, class2Count, 0), "shape count"},
        {"negative shapes", withInt32(good, class2Count, -1), "shape count"},
        {"too many shapes", withInt32(good, class2Count, 70000), "32767"},
        {"shapes beyond the file", withInt32(good, class2Count, 1000), "ends"},
        {"zero width", changed(class2Count + 4, 0), "width or height of 0"},
        {"zero height", changed(class2Count + 5, 0), "width or height of 0"},
        {"square outside its box", changed(class2Count + 7, 0x12), "outside"},
        {"square right of its box", changed(class2Count + 7, 0x02), "outside"},
    };
    for (const auto& [what, bytes, mentions] : files) {
        GameState state;
        state.pieceSizeCount = 77;
        const auto error = parse(state, bytes);
        ASSERT_TRUE(error.has_value()) << what;
        EXPECT_EQ(error->rfind("ALLPIECES.PDAT: ", 0), 0u) << *error;
        EXPECT_NE(error->find(mentions), std::string::npos) << what << ": " << *error;
        EXPECT_EQ(error->find('\n'), std::string::npos) << *error;
        EXPECT_EQ(state.pieceSizeCount, 77) << what << " must leave the state untouched";
    }

    // A missing file or a directory is refused by its path.
    testing::TempDir dir;
    GameState state;
    const auto missing = loadAllPieces(state, dir.file("ALLPIECES.PDAT"));
    ASSERT_TRUE(missing.has_value());
    EXPECT_NE(missing->find(dir.file("ALLPIECES.PDAT")), std::string::npos);
    EXPECT_TRUE(loadAllPieces(state, dir.path().string()).has_value()) << "a directory is no catalogue";
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
    // that keeps its promises: classes 1..6 hold shapes, every square inside its box.
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
        if (parse(state, bytes)) {
            continue;
        }
        ASSERT_GE(state.pieceSizeCount, 6) << trial;
        for (int size = 1; size <= state.pieceSizeCount; ++size) {
            const PieceSizeClass& sizeClass = state.allPieces[size];
            ASSERT_GE(sizeClass.shapeCount, 1);
            for (int index = 1; index <= sizeClass.shapeCount; ++index) {
                const PieceShape& shape = sizeClass.shapes[index];
                for (int k = 1; k <= size; ++k) {
                    ASSERT_LT(shape.squares[k].col, shape.width) << trial;
                    ASSERT_LT(shape.squares[k].row, shape.height) << trial;
                }
            }
        }
    }
}

} // namespace
} // namespace snugbox
