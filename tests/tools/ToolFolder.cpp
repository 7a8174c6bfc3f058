#include "ToolFolder.h"

#include "QstFixtures.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

TToolFolder::TToolFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "trivora-qst-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    FRoot = pattern;
}

TToolFolder::~TToolFolder() {
    std::error_code ec;
    std::filesystem::remove_all(FRoot, ec);
}

std::string TToolFolder::Path(const std::string& name) const {
    return (FRoot / name).string();
}

std::string TToolFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    QstFixtures::WriteBytes(path, bytes);
    return path;
}

std::vector<std::string> TToolFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FRoot))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
