#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace snugbox::testing {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "snugbox-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

} // namespace snugbox::testing
