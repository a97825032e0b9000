#include "rules/catalogue.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace snugbox {
namespace {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }

    bool readInt32(std::int32_t& value)
    {
        if (remaining() < 4) {
            return false;
        }
        std::uint32_t raw = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            raw |= static_cast<std::uint32_t>(bytes_[position_++]) << shift;
        }
        value = static_cast<std::int32_t>(raw);
        return true;
    }

    bool skip(std::size_t count)
    {
        if (remaining() < count) {
            return false;
        }
        position_ += count;
        return true;
    }

    std::uint8_t readByte() { return bytes_[position_++]; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

std::string problem(const std::string& name, const std::string& what) { return name + ": " + what; }

std::string inClass(int size) { return " in size class " + std::to_string(size); }

std::string boxOf(const PieceShape& shape)
{
    return std::to_string(shape.width) + " x " + std::to_string(shape.height) + " box";
}

// Every square lies in the box, whatever the class.
std::optional<std::string> squareOutsideBox(const PieceShape& shape, int size)
{
    for (int k = 1; k <= size; ++k) {
        const Square& square = shape.squares[k];
        if (square.col >= shape.width || square.row >= shape.height) {
            return " has square " + std::to_string(k) + " outside its " + boxOf(shape);
        }
    }
    return std::nullopt;
}

// The carried-piece surfaces and the dispenser slots have room for 4 x 4 squares, the
// drop writes one cell per square, and turning and centring a piece go by its box: so
// a shape the game may draw lies in a box of at most 4 x 4, no two of its squares share
// a cell, and each row and column of the box holds a square. A shape that keeps to this
// also fits the empty 9 x 9 board.
std::optional<std::string> shapeProblem(const PieceShape& shape, int size)
{
    if (shape.width == 0 || shape.height == 0) {
        return " has a width or height of 0";
    }
    if (auto outside = squareOutsideBox(shape, size)) {
        return outside;
    }
    if (size > kRequiredSizeClasses) {
        return std::nullopt;   // never drawn: the format's own limits are all that matter
    }
    if (shape.width > kMaxShapeSide || shape.height > kMaxShapeSide) {
        return " has a " + boxOf(shape) + " (at most 4 x 4 is supported)";
    }
    std::array<std::array<int, kMaxShapeSide>, kMaxShapeSide> squareOn{};   // [row][col], 0 = none
    std::array<bool, kMaxShapeSide> rowUsed{};
    std::array<bool, kMaxShapeSide> colUsed{};
    for (int k = 1; k <= size; ++k) {
        const Square& square = shape.squares[k];
        int& onCell = squareOn[square.row][square.col];
        if (onCell != 0) {
            return " has squares " + std::to_string(onCell) + " and " + std::to_string(k) + " on one cell";
        }
        onCell = k;
        rowUsed[square.row] = colUsed[square.col] = true;
    }
    for (int col = 0; col < shape.width; ++col) {
        if (!colUsed[col]) {
            return " has no square in column " + std::to_string(col + 1) + " of its " + boxOf(shape);
        }
    }
    for (int row = 0; row < shape.height; ++row) {
        if (!rowUsed[row]) {
            return " has no square in row " + std::to_string(row + 1) + " of its " + boxOf(shape);
        }
    }
    return std::nullopt;
}

// Reads one shape record of a class of `size` squares; the caller made sure the bytes are there.
std::optional<std::string> readShape(ByteReader& reader, int size, int index, PieceShape& shape)
{
    shape.width = reader.readByte();
    shape.height = reader.readByte();
    shape.squares.resize(size);
    shape.colours.resize(size);
    for (int k = 1; k <= size; ++k) {
        const std::uint8_t packed = reader.readByte();
        shape.squares[k] = Square{static_cast<std::int16_t>(packed & 15),
                                  static_cast<std::int16_t>(packed >> 4)};
    }
    if (auto problem = shapeProblem(shape, size)) {
        return "shape " + std::to_string(index) + inClass(size) + *problem;
    }
    return std::nullopt;
}

std::optional<std::string> readClass(ByteReader& reader, int size, PieceSizeClass& sizeClass)
{
    std::int32_t shapeCount = 0;
    if (!reader.skip(4) || !reader.readInt32(shapeCount)) {
        return "the file ends before the header of size class " + std::to_string(size);
    }
    if (shapeCount <= 0) {
        return "size class " + std::to_string(size) + " has a shape count of " +
               std::to_string(shapeCount) + " (at least 1 is needed)";
    }
    if (shapeCount > kMaxCatalogueCount) {
        return "size class " + std::to_string(size) + " declares " + std::to_string(shapeCount) +
               " shapes (at most 32767 are supported)";
    }
    const std::size_t recordSize = 2 + static_cast<std::size_t>(size);
    if (reader.remaining() / recordSize < static_cast<std::size_t>(shapeCount)) {
        return "the file ends before the " + std::to_string(shapeCount) + " declared shapes" +
               inClass(size);
    }
    sizeClass.shapeCount = shapeCount;
    sizeClass.shapes.resize(shapeCount);
    for (int index = 1; index <= shapeCount; ++index) {
        if (auto error = readShape(reader, size, index, sizeClass.shapes[index])) {
            return error;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> parseAllPieces(GameState& state, std::span<const std::uint8_t> bytes,
                                          const std::string& name)
{
    ByteReader reader(bytes);
    std::int32_t classCount = 0;
    if (!reader.readInt32(classCount)) {
        return problem(name, "the file ends before the number of size classes");
    }
    if (classCount <= 0) {
        return problem(name, "the number of size classes is " + std::to_string(classCount));
    }
    if (classCount > kMaxCatalogueCount) {
        return problem(name, "the file declares " + std::to_string(classCount) +
                                 " size classes (at most 32767 are supported)");
    }
    if (classCount < kRequiredSizeClasses) {
        return problem(name, "the file has " + std::to_string(classCount) +
                                 " size classes; pieces of 1 to 6 squares need 6");
    }

    // Grown class by class: a damaged count costs no more memory than the file holds.
    OneBasedVector<PieceSizeClass> classes;
    for (int size = 1; size <= classCount; ++size) {
        PieceSizeClass sizeClass;
        if (auto error = readClass(reader, size, sizeClass)) {
            return problem(name, *error);
        }
        classes.push_back(std::move(sizeClass));
    }
    state.pieceSizeCount = classCount;
    state.allPieces = std::move(classes);
    return std::nullopt;
}

std::optional<std::string> loadAllPieces(GameState& state, const std::string& path)
{
    // Plain stdio: a directory or an unreadable file gives an error, never an exception.
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        return problem(path, "the piece catalogue is missing or is not a file");
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return problem(path, "the piece catalogue cannot be opened");
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return problem(path, "the piece catalogue cannot be read");
    }
    return parseAllPieces(state, bytes, path);
}

} // namespace snugbox
