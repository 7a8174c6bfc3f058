#pragma once

#include "FuzzCheck.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace fuzz {

// A folder of files for the deciders' targets: made once per run, emptied for every input.
// Prefers /dev/shm, so that a campaign does not wear the disk.
class Folder {
public:
    Folder() {
        const std::filesystem::path shm("/dev/shm");
        std::error_code ec;
        const auto base = std::filesystem::is_directory(shm, ec) ? shm
                                                                 : std::filesystem::temp_directory_path();
        std::string pattern = (base / "trivora-fuzz-XXXXXX").string();
        require(::mkdtemp(pattern.data()) != nullptr, "mkdtemp");
        root = pattern;
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    void clear() const {
        for (const auto& entry : std::filesystem::directory_iterator(root))
            std::filesystem::remove_all(entry.path());
    }
    std::string path(const std::string& name) const { return (root / name).string(); }
    std::string write(const std::string& name, std::string_view bytes) const {
        const std::string p = path(name);
        std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Every entry below the folder with its kind and bytes, to tell what a run changed.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(root)) {
            const std::string name = entry.path().filename().string();
            struct stat st {};
            ::lstat(entry.path().c_str(), &st);
            std::string value = std::to_string(st.st_mode & S_IFMT) + ":";
            if (S_ISREG(st.st_mode)) value += read(entry.path().string());
            if (S_ISLNK(st.st_mode)) value += std::filesystem::read_symlink(entry.path()).string();
            all[name] = value;
        }
        return all;
    }

private:
    std::filesystem::path root;
};

// Splits an input at the first occurrences of a separator: up to n parts, the last takes the
// rest.
inline std::vector<std::string_view> split(std::string_view input, std::string_view sep, std::size_t n) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < n) {
        const std::size_t at = input.find(sep);
        if (at == std::string_view::npos) break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + sep.size());
    }
    parts.push_back(input);
    parts.resize(n);
    return parts;
}

} // namespace fuzz
