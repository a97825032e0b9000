#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <QImage>
#include <QString>

#include "platform/surface.h"
#include "tests/support/scribble.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putLittleEndian(Bytes& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A BMP file: file header, info header (40 bytes and `moreHeader`), colour table (blue,
// green, red, 0 each), then `pixels` as given.
Bytes bmp(int width, int height, int bits, int compression, const std::vector<Rgb>& table, const Bytes& pixels,
          const Bytes& moreHeader = {})
{
    const auto headerSize = static_cast<std::uint32_t>(40 + moreHeader.size());
    const auto offset = static_cast<std::uint32_t>(14 + headerSize + 4 * table.size());
    Bytes bytes{'B', 'M'};
    putLittleEndian(bytes, offset + static_cast<std::uint32_t>(pixels.size()), 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, offset, 4);
    for (const auto& [value, size] : std::vector<std::pair<std::uint32_t, int>>{
             {headerSize, 4}, {static_cast<std::uint32_t>(width), 4}, {static_cast<std::uint32_t>(height), 4}, {1, 2},
             {static_cast<std::uint32_t>(bits), 2}, {static_cast<std::uint32_t>(compression), 4},
             {static_cast<std::uint32_t>(pixels.size()), 4}, {3780, 4}, {3780, 4},
             {static_cast<std::uint32_t>(table.size()), 4}, {0, 4}}) {
        putLittleEndian(bytes, value, size);
    }
    bytes.insert(bytes.end(), moreHeader.begin(), moreHeader.end());
    for (const Rgb& colour : table) bytes.insert(bytes.end(), {colour.blue, colour.green, colour.red, 0});
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

// The rest of a version 4 header: the red, green, blue and alpha masks of 32-bit pixels,
// then colour space, end points and gamma left at zero.
Bytes withAlphaMasks()
{
    Bytes bytes;
    for (const std::uint32_t mask : {0x00ff0000U, 0x0000ff00U, 0x000000ffU, 0xff000000U}) putLittleEndian(bytes, mask, 4);
    bytes.resize(108 - 40);
    return bytes;
}

constexpr Rgb kColourZero{1, 2, 3};
constexpr Rgb kBlack{0, 0, 0};
Rgb tableColour(int index) { return index == 0 ? kColourZero : Rgb{200, static_cast<std::uint8_t>(index), 50}; }

std::vector<Rgb> colourTable(int entries)
{
    std::vector<Rgb> table;
    for (int index = 0; index < entries; ++index) table.push_back(tableColour(index));
    return table;
}

// Run-length pictures may skip pixels or end before their last row, and a plain one may be
// cut short: what the file does not give shows colour 0 of the table (black without a
// table), on every load the same, whatever the memory held before.
TEST(PictureLoading, PixelsAFileDoesNotGiveShowColourZeroOnEveryLoad)
{
    struct Case {
        const char* what;
        Bytes file;
        std::function<Rgb(int x, int y)> expected;
    };
    const Case cases[] = {
        {"8-bit run-length data ending after one run", bmp(16, 16, 8, 1, colourTable(256), {4, 7}),
         [](int x, int y) { return y == 15 && x < 4 ? tableColour(7) : kColourZero; }},
        {"8-bit run-length data skipping ahead",
         bmp(16, 16, 8, 1, colourTable(256), {2, 7, 0, 2, 3, 1, 2, 8, 0, 1}),
         [](int x, int y) {
             return y == 15 && x < 2 ? tableColour(7) : y == 14 && (x == 5 || x == 6) ? tableColour(8) : kColourZero;
         }},
        {"4-bit run-length data ending after one run", bmp(16, 16, 4, 2, colourTable(16), {3, 0x12}),
         [](int x, int y) { return y == 15 && x < 3 ? tableColour(x == 1 ? 2 : 1) : kColourZero; }},
        {"24-bit pixels cut after the bottom row",
         bmp(8, 8, 24, 0, {}, Bytes(24, 0x40)),
         [](int, int y) { return y == 7 ? Rgb{0x40, 0x40, 0x40} : kBlack; }},
        {"24-bit pixels from the top down cut after the top row", bmp(8, -8, 24, 0, {}, Bytes(24, 0x40)),
         [](int, int y) { return y == 0 ? Rgb{0x40, 0x40, 0x40} : kBlack; }},
        {"32-bit pixels with alpha cut after the bottom row",
         bmp(8, 8, 32, 3, {}, Bytes(32, 0x80), withAlphaMasks()),
         [](int, int y) { return y == 7 ? Rgb{0x80, 0x80, 0x80} : kBlack; }},
    };
    testing::TempDir folder;
    for (const Case& picture : cases) {
        const std::string path = folder.file("picture.bmp");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(picture.file.data()),
                                                    static_cast<std::streamsize>(picture.file.size()));
        for (const std::uint8_t junk : {0xA5, 0x5A}) {
            testing::scribbleOverFreedMemory(256, junk, 64);
            Surface surface;
            ASSERT_TRUE(surface.loadBmp(path)) << picture.what;
            int wrong = 0;
            for (int y = 0; y < surface.height(); ++y) {
                for (int x = 0; x < surface.width(); ++x) {
                    wrong += surface.pixel(x, y) != picture.expected(x, y);
                }
            }
            EXPECT_EQ(wrong, 0) << picture.what << " after memory held " << int{junk};
        }
    }
}

// Pictures laid out as the game's own are read by a quicker way than other BMP files; it
// must give exactly the pixels the toolkit's reader gives, rows bottom-up or top-down,
// padded or not, with or without bytes after the last row.
TEST(PictureLoading, PlainPicturesReadExactlyAsTheToolkitReadsThem)
{
    std::mt19937 random(20261206);
    std::vector<std::pair<std::string, Bytes>> files;
    for (const int width : {1, 2, 3, 5, 8}) {
        for (const int height : {3, -3}) {
            Bytes pixels((static_cast<std::size_t>(width) * 3 + 3) / 4 * 4 * 3 + (width == 5 ? 7 : 0));
            for (std::uint8_t& byte : pixels) byte = static_cast<std::uint8_t>(random());
            files.emplace_back(std::to_string(width) + " x " + std::to_string(height), bmp(width, height, 24, 0, {}, pixels));
        }
    }
    testing::TempDir folder;
    std::vector<std::pair<std::string, std::string>> paths;
    for (const auto& [what, bytes] : files) {
        const std::string path = folder.file(std::to_string(paths.size()) + ".bmp");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        paths.emplace_back(what, path);
    }
    for (const char* shipped : {"ALLPICDATA.BMP", "BGIMG.BMP"}) {
        paths.emplace_back(shipped, std::string(SNUGBOX_DATA_DIR) + "/" + shipped);
    }
    for (const auto& [what, path] : paths) {
        Surface surface;
        ASSERT_TRUE(surface.loadBmp(path)) << what;
        const QImage expected(QString::fromStdString(path), "BMP");
        ASSERT_EQ(QSize(surface.width(), surface.height()), expected.size()) << what;
        int wrong = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb pixel = expected.pixel(x, y);
                wrong += surface.pixel(x, y) != Rgb{static_cast<std::uint8_t>(qRed(pixel)),
                                                    static_cast<std::uint8_t>(qGreen(pixel)),
                                                    static_cast<std::uint8_t>(qBlue(pixel))};
            }
        }
        EXPECT_EQ(wrong, 0) << what;
    }
}

} // namespace
} // namespace snugbox
