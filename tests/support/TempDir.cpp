#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "trivora-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    m_stdPath = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Test files may have been made read-only; the folder goes all the same.
    std::filesystem::permissions(m_stdPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_stdPath, ec);
}
