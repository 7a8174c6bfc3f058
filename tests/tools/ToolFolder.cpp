#include "ToolFolder.h"

#include "QstFixtures.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

ToolFolder::ToolFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "trivora-qst-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    m_root = pattern;
}

ToolFolder::~ToolFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}

std::string ToolFolder::stdPath(const std::string& name) const {
    return (m_root / name).string();
}

std::string ToolFolder::write(const std::string& name, const std::string& bytes) const {
    const std::string path = stdPath(name);
    QstFixtures::writeBytes(path, bytes);
    return path;
}

std::vector<std::string> ToolFolder::names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_root))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
