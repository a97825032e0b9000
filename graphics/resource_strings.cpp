#include "graphics/resource_strings.h"

#include <array>

#include "platform/desktop.h"

namespace snugbox {
namespace {

struct NumberedText {
    std::int16_t id;
    const char* text;
};

// The maker's address is ours and fictional: the example.org domain is reserved for that.
constexpr std::array<NumberedText, 8> kTexts{{
    {kStringMakerAddress, "https://snugbox.example.org/"},
    {kStringGameOver, "Game Over"},
    {kStringWelcome, "Welcome ! Click new game to play"},
    {kStringAllLevelsDone, "Congrats ! You finished all levels"},
    {kStringModeNameBase + 1, "Time Trial"},
    {kStringModeNameBase + 2, "Normal"},
    {kStringButtonBase + 1, "OK"},
    {kStringButtonBase + 2, "Clear Scores"},
}};

} // namespace

std::string loadResString(std::int16_t id)
{
    for (const NumberedText& entry : kTexts) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return {};
}

void openDocument(const std::string& target) { openWithDesktop(target); }

} // namespace snugbox
