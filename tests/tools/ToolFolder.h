#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A fresh temporary folder for one test, removed with everything in it afterwards.
class TToolFolder {
public:
    TToolFolder();
    ~TToolFolder();
    TToolFolder(const TToolFolder&) = delete;
    TToolFolder& operator=(const TToolFolder&) = delete;

    // Full path of name inside the folder.
    std::string Path(const std::string& name) const;
    // Writes text (bytes as given) to name and returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // Names of the files in the folder, sorted.
    std::vector<std::string> Names() const;

private:
    std::filesystem::path FRoot;
};
