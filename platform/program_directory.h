#pragma once
#include <string>

namespace snugbox {

// The directory of the running program, ending in '/': where its data files lie.
std::string programDirectory();

// Appends the separator when a directory does not end with one already.
std::string withTrailingSeparator(std::string directory);

} // namespace snugbox
