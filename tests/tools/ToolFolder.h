#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A fresh temporary folder for one test, removed with everything in it afterwards.
class ToolFolder {
public:
    ToolFolder();
    ~ToolFolder();
    ToolFolder(const ToolFolder&) = delete;
    ToolFolder& operator=(const ToolFolder&) = delete;

    // Full path of name inside the folder.
    std::string stdPath(const std::string& name) const;
    // Writes text (bytes as given) to name and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;
    // Names of the files in the folder, sorted.
    std::vector<std::string> names() const;

private:
    std::filesystem::path m_root;
};
