#include "OutputPath.h"

#include "QstFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

std::string brokenLinkRefusal(const std::string& path) {
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0) return {};
    const int error = errno;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return {};
    return path + ": a link that leads to no file (" + std::strerror(error) +
           "); it is left as it is";
}

bool isSqliteFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char magic[16] = {};
    return file.read(magic, sizeof magic) && std::memcmp(magic, "SQLite format 3", 16) == 0;
}

std::string textOutputRefusal(const std::string& output, const std::vector<std::string>& inputs) {
    struct stat out {};
    if (::stat(output.c_str(), &out) != 0) return brokenLinkRefusal(output);
    if (!S_ISREG(out.st_mode)) return output + ": the output is not a regular file";
    for (const std::string& input : inputs) {
        struct stat in {};
        if (!input.empty() && ::stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev &&
            in.st_ino == out.st_ino)
            return output + ": the output is the same file as " + input;
    }
    constexpr ReaderRuleSet HeaderRules{1, "", "", QstFile::Access::Read};
    if (out.st_size > 0 && checkQuestionFile(output, HeaderRules).status == QstCheck::Accepted)
        return output + ": the output is a question set; it is not written over with text";
    // A database (the scores, another program's) is no earlier export either.
    if (isSqliteFile(output))
        return output + ": the output is a database; it is not written over with text";
    return {};
}
