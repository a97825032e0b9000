#pragma once
// The game's numbered texts and the help page.

#include <cstdint>
#include <string>

namespace snugbox {

inline constexpr std::int16_t kStringMakerAddress = 1;
inline constexpr std::int16_t kStringGameOver = 21;
inline constexpr std::int16_t kStringWelcome = 22;
inline constexpr std::int16_t kStringAllLevelsDone = 24;
inline constexpr std::int16_t kStringModeNameBase = 30;   // + game mode 1 or 2
inline constexpr std::int16_t kStringButtonBase = 90;     // + best-score button 1 or 2

inline constexpr const char* kHelpPageName = "Snugbox.htm";

// The text numbered id; an id the game does not know gives an empty text.
std::string loadResString(std::int16_t id);

// Opens a file or a web address with the desktop's program for it and returns at once.
// Whether that worked is not looked at: a missing help page or browser fails quietly.
void openDocument(const std::string& target);

} // namespace snugbox
