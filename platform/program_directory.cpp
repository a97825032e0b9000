#include "platform/program_directory.h"

#include <filesystem>
#include <system_error>

namespace snugbox {

std::string withTrailingSeparator(std::string directory)
{
    if (directory.empty() || directory.back() != '/') {
        directory.push_back('/');
    }
    return directory;
}

std::string programDirectory()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return withTrailingSeparator(std::filesystem::current_path(error).string());
    }
    return withTrailingSeparator(program.parent_path().string());
}

} // namespace snugbox
