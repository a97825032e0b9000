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

void putInt32(Bytes& bytes, std::int32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
    }
}

// A catalogue with `classes` classes, each holding one straight bar of s squares.
Bytes barCatalogue(int classes = 6, std::uint32_t reserved = 0)
{
    Bytes bytes;
    putInt32(bytes, classes);
    for (int size = 1; size <= classes; ++size) {
        putInt32(bytes, static_cast<std::int32_t>(reserved));
        putInt32(bytes, 1);
        bytes.push_back(static_cast<std::uint8_t>(size)); // width
        bytes.push_back(1);                               // height
        for (int k = 0; k < size; ++k) {
            bytes.push_back(static_cast<std::uint8_t>(k));
        }
    }
    return bytes;
}

Bytes shippedCatalogue()
{
    std::ifstream file(std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT", std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::optional<std::string> parse(GameState& state, const Bytes& bytes)
{
    return parseAllPieces(state, bytes, "ALLPIECES.PDAT");
}

TEST(Catalogue, LoadsOneShapePerClassWhateverTheReservedBytesHold)
{
    GameState state;
    ASSERT_EQ(parse(state, barCatalogue(6, 0xdeadbeef)), std::nullopt);
    ASSERT_EQ(state.pieceSizeCount, 6);
    for (int size = 1; size <= 6; ++size) {
        ASSERT_EQ(state.allPieces[size].shapeCount, 1);
        const PieceShape& shape = state.allPieces[size].shapes[1];
        EXPECT_EQ(shape.width, size);
        EXPECT_EQ(shape.height, 1);
        EXPECT_EQ(shape.squares.count(), size);
        EXPECT_EQ(shape.colours.count(), size);
        EXPECT_EQ(shape.colours[1], 0);
        EXPECT_EQ(shape.squares[size].col, size - 1);
    }
}

TEST(Catalogue, SplitsASquareByteIntoColumnAndRow)
{
    Bytes bytes = barCatalogue();
    // Class 3's shape becomes an L in a 2 x 3 box whose last square is byte 0x21.
    const std::size_t class3 = 4 + (8 + 3) + (8 + 4);
    bytes[class3 + 8] = 2;
    bytes[class3 + 9] = 3;
    bytes[class3 + 10] = 0x00;
    bytes[class3 + 11] = 0x10;
    bytes[class3 + 12] = 0x21;
    GameState state;
    ASSERT_EQ(parse(state, bytes), std::nullopt);
    const Square square = state.allPieces[3].shapes[1].squares[3];
    EXPECT_EQ(square.col, 1);
    EXPECT_EQ(square.row, 2);
}

TEST(Catalogue, AClassBlockTakesEightBytesPlusTwoPlusSizePerShape)
{
    // Class 1 holds three shapes: 8 + 3 x (2 + 1) = 17 bytes, so class 2 starts at 4 + 17.
    Bytes bytes;
    putInt32(bytes, 6);
    putInt32(bytes, 0);
    putInt32(bytes, 3);
    for (int shape = 0; shape < 3; ++shape) {
        bytes.insert(bytes.end(), {1, 1, 0});
    }
    EXPECT_EQ(bytes.size(), 4u + 17u);
    const Bytes rest = barCatalogue();
    bytes.insert(bytes.end(), rest.begin() + 4 + 11, rest.end());
    GameState state;
    ASSERT_EQ(parse(state, bytes), std::nullopt);
    EXPECT_EQ(state.allPieces[1].shapeCount, 3);
    EXPECT_EQ(state.allPieces[2].shapeCount, 1);
}

TEST(Catalogue, IgnoresBytesAfterTheLastShape)
{
    Bytes bytes = barCatalogue();
    bytes.insert(bytes.end(), {0xff, 0xff, 0x7f, 0x00, 0x13});
    GameState state;
    EXPECT_EQ(parse(state, bytes), std::nullopt);
}

struct BadFile {
    const char* what;
    Bytes bytes;
    const char* mentions;
};

std::vector<BadFile> badFiles()
{
    std::vector<BadFile> files;
    auto withInt32 = [](Bytes bytes, std::size_t at, std::int32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes[at + static_cast<std::size_t>(shift / 8)] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift);
        }
        return bytes;
    };
    const Bytes good = barCatalogue();
    const std::size_t class2Count = 4 + 11 + 4;
    files.push_back({"empty file", {}, "ends"});
    files.push_back({"cut inside the class count", Bytes(good.begin(), good.begin() + 3), "ends"});
    files.push_back({"cut inside class 4", Bytes(good.begin(), good.end() - 20), "ends"});
    files.push_back({"cut by one byte", Bytes(good.begin(), good.end() - 1), "ends"});
    files.push_back({"zero classes", withInt32(good, 0, 0), "size classes"});
    files.push_back({"negative classes", withInt32(good, 0, -6), "size classes"});
    files.push_back({"too many classes", withInt32(good, 0, 40000), "32767"});
    files.push_back({"five classes", barCatalogue(5), "need 6"});
    files.push_back({"zero shapes", withInt32(good, class2Count, 0), "shape count"});
    files.push_back({"negative shapes", withInt32(good, class2Count, -1), "shape count"});
    files.push_back({"too many shapes", withInt32(good, class2Count, 70000), "32767"});
    files.push_back({"shapes beyond the file", withInt32(good, class2Count, 1000), "ends"});
    Bytes zeroWidth = good;
    zeroWidth[class2Count + 4] = 0;
    files.push_back({"zero width", zeroWidth, "width or height of 0"});
    Bytes zeroHeight = good;
    zeroHeight[class2Count + 5] = 0;
    files.push_back({"zero height", zeroHeight, "width or height of 0"});
    Bytes outside = good;
    outside[class2Count + 7] = 0x12; // row 1 in a box one row high
    files.push_back({"square outside its box", outside, "outside"});
    return files;
}

TEST(Catalogue, RefusesEveryKindOfDamageWithALineNamingFileAndProblem)
{
    for (const BadFile& file : badFiles()) {
        GameState state;
        state.pieceSizeCount = 77;
        const auto error = parse(state, file.bytes);
        ASSERT_TRUE(error.has_value()) << file.what;
        EXPECT_EQ(error->rfind("ALLPIECES.PDAT: ", 0), 0u) << *error;
        EXPECT_NE(error->find(file.mentions), std::string::npos) << file.what << ": " << *error;
        EXPECT_EQ(error->find('\n'), std::string::npos) << *error;
        EXPECT_EQ(state.pieceSizeCount, 77) << file.what << " must leave the state untouched";
    }
}

TEST(Catalogue, AMissingOrUnreadableFileIsRefusedByPath)
{
    testing::TempDir dir;
    GameState state;
    const auto missing = loadAllPieces(state, dir.file("ALLPIECES.PDAT"));
    ASSERT_TRUE(missing.has_value());
    EXPECT_NE(missing->find(dir.file("ALLPIECES.PDAT")), std::string::npos);
    EXPECT_TRUE(loadAllPieces(state, dir.path().string()).has_value()) << "a directory is no catalogue";
}

TEST(Catalogue, TheShippedFileLoads)
{
    GameState state;
    ASSERT_EQ(loadAllPieces(state, std::string(SNUGBOX_DATA_DIR) + "/ALLPIECES.PDAT"), std::nullopt);
    EXPECT_EQ(state.pieceSizeCount, 6);
    const int counts[] = {1, 1, 2, 7, 17, 50};
    for (int size = 1; size <= 6; ++size) {
        EXPECT_EQ(state.allPieces[size].shapeCount, counts[size - 1]) << size;
    }
}

// Whatever the damage, the loader either refuses the file or hands over a catalogue that
// keeps its promises: classes 1..6 hold shapes, and every square lies inside its box.
TEST(Catalogue, DamagedCopiesOfTheShippedFileNeverCrashOrSlipThrough)
{
    const Bytes shipped = shippedCatalogue();
    ASSERT_GT(shipped.size(), 100u);
    std::mt19937 random(20261206);
    for (int trial = 0; trial < 4000; ++trial) {
        Bytes bytes = shipped;
        if (trial % 2 == 0) {
            bytes.resize(random() % bytes.size());
        } else {
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int flip = 0; flip < flips; ++flip) {
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
