#pragma once
// Opening a file or a web address with the program the desktop associates with it.

#include <functional>
#include <string>

namespace snugbox {

// Hands the target to the desktop and returns at once; the outcome is not reported.
// A target with a scheme ("https://...", "mailto:...") is an address, anything else a
// local file path, passed whole, spaces included.
void openWithDesktop(const std::string& target);

// The address the desktop is asked to open for a target.
std::string desktopUrlFor(const std::string& target);

// Replaces what openWithDesktop does (tests record the targets instead of starting a
// browser); an empty handler restores the desktop. Returns the previous handler.
using DesktopOpener = std::function<void(const std::string& target)>;
DesktopOpener replaceDesktopOpener(DesktopOpener opener);

} // namespace snugbox
