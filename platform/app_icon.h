#pragma once
// The application's icon, the same for every window.

#include <string>

namespace snugbox {

// Gives the application the icon drawn in snugbox-<size>.png files of the program's
// directory (appPath ends in a separator); every window shows it from then on. Returns
// how many sizes were found; with none the desktop's default icon stays.
int installApplicationIcon(const std::string& appPath);

} // namespace snugbox
