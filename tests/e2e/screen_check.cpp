// Looks at screenshots and at the store for the end-to-end script, which has no better
// way of reading pixels. Each command answers with its exit status (0 yes, 1 no, 2 bad
// use) and prints what it found.
//
//   screen_check same SHOT X Y SHEET SX SY W H    the shot's area equals the sheet's area
//   screen_check piece-square SHOT X Y SHEET      the 45 x 45 area shows a piece square
//   screen_check darker BEFORE AFTER X Y W H MIN  at least MIN pixels of the area got darker
//   screen_check other-than SHOT X Y W H R G B MIN at least MIN pixels are not that colour
//   screen_check colour SHOT X Y W H R G B MIN    at least MIN pixels are that colour
//   screen_check store CONFIG_DIR                 mode 2 and seven sound options of 1 stored
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/keyed_store.h"
#include "platform/surface.h"

namespace {

using snugbox::Rgb;
using snugbox::Surface;

constexpr int kYes = 0;
constexpr int kNo = 1;
constexpr int kBadUse = 2;
constexpr int kSquare = 45;

struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

Surface load(const std::string& path)
{
    Surface surface;
    if (!surface.loadBmp(path)) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        std::exit(kBadUse);
    }
    return surface;
}

int number(const char* text) { return std::atoi(text); }

int countIn(const Area& area, const std::function<bool(int x, int y)>& matches)
{
    int count = 0;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            count += matches(x, y) ? 1 : 0;
        }
    }
    return count;
}

bool sameArea(const Surface& shot, int x, int y, const Surface& sheet, int sx, int sy, int width, int height)
{
    const Area area{0, 0, width, height};
    return countIn(area, [&](int dx, int dy) { return shot.pixel(x + dx, y + dy) != sheet.pixel(sx + dx, sy + dy); }) == 0;
}

int brightness(Rgb colour) { return colour.red + colour.green + colour.blue; }

int answer(bool yes, int found)
{
    std::printf("%d\n", found);
    return yes ? kYes : kNo;
}

int same(char** arg)
{
    const Surface shot = load(arg[0]);
    const Surface sheet = load(arg[3]);
    const bool equal = sameArea(shot, number(arg[1]), number(arg[2]), sheet, number(arg[4]), number(arg[5]),
                                number(arg[6]), number(arg[7]));
    return answer(equal, equal ? 1 : 0);
}

// Piece squares of colours 1 to 5 lie side by side in the sheet's second row.
int pieceSquare(char** arg)
{
    const Surface shot = load(arg[0]);
    const Surface sheet = load(arg[3]);
    for (int colour = 1; colour <= 5; ++colour) {
        if (sameArea(shot, number(arg[1]), number(arg[2]), sheet, (colour - 1) * kSquare, kSquare, kSquare, kSquare)) {
            return answer(true, colour);
        }
    }
    return answer(false, 0);
}

int darker(char** arg)
{
    const Surface before = load(arg[0]);
    const Surface after = load(arg[1]);
    const Area area{number(arg[2]), number(arg[3]), number(arg[4]), number(arg[5])};
    const int found = countIn(area, [&](int x, int y) { return brightness(after.pixel(x, y)) < brightness(before.pixel(x, y)); });
    return answer(found >= number(arg[6]), found);
}

int colourCount(char** arg, bool wanted)
{
    const Surface shot = load(arg[0]);
    const Area area{number(arg[1]), number(arg[2]), number(arg[3]), number(arg[4])};
    const Rgb colour{static_cast<std::uint8_t>(number(arg[5])), static_cast<std::uint8_t>(number(arg[6])),
                     static_cast<std::uint8_t>(number(arg[7]))};
    const int found = countIn(area, [&](int x, int y) { return (shot.pixel(x, y) == colour) == wanted; });
    return answer(found >= number(arg[8]), found);
}

// The stored block: bytes 2-3 the game mode; seven 16-bit sound options.
int store(char** arg)
{
    const auto root = snugbox::KeyedStore::openRoot(arg[0]);
    const auto key = root ? root->openOrCreateKey({"Quillon", "Snugbox", "1.0"}) : nullptr;
    if (!key) {
        return answer(false, 0);
    }
    std::array<std::uint8_t, 14> solving{};
    std::array<std::uint8_t, 14> sound{};
    const bool read = key->readBinary("SOLVINGDATA", solving) == 14U && key->readBinary("SOUNDOPTIONS", sound) == 14U;
    const int mode = solving[2] | solving[3] << 8;
    int onesStored = 0;
    for (int option = 0; option < 7; ++option) {
        onesStored += (sound[2 * option] == 1 && sound[2 * option + 1] == 0) ? 1 : 0;
    }
    std::printf("mode %d, sound options of 1: %d\n", mode, onesStored);
    return read && mode == 2 && onesStored == 7 ? kYes : kNo;
}

struct Command {
    const char* name;
    int arguments;
    std::function<int(char**)> run;
};

} // namespace

int main(int argc, char** argv)
{
    const std::vector<Command> commands = {
        {"same", 8, same},
        {"piece-square", 4, pieceSquare},
        {"darker", 7, darker},
        {"other-than", 9, [](char** arg) { return colourCount(arg, false); }},
        {"colour", 9, [](char** arg) { return colourCount(arg, true); }},
        {"store", 1, store},
    };
    for (const Command& command : commands) {
        if (argc == command.arguments + 2 && std::string(argv[1]) == command.name) {
            return command.run(argv + 2);
        }
    }
    std::fprintf(stderr, "screen_check: unknown command or wrong number of arguments\n");
    return kBadUse;
}
