#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "trivora-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    FPath = pattern;
}

TTempDir::~TTempDir() {
    std::error_code ec;
    // Test files may have been made read-only; the folder goes all the same.
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(FPath, ec);
}
