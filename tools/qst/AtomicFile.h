#pragma once

#include <string>
#include <string_view>

// Writes a file so that readers see either the old file or the whole new one: the data goes
// to a temporary file in the target's folder, which Commit() flushes to the disk and renames
// over the target. A file that is never committed is removed, so no partial output is ever
// left behind.
class TAtomicFile {
public:
    TAtomicFile() = default;
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Creates the temporary file beside target.
    bool Begin(const std::string& target);
    bool Write(std::string_view bytes);
    // Flushes, syncs, gives the file the target's permissions (or the usual ones for a new
    // file) and renames it over the target.
    bool Commit();
    // Removes the temporary file.
    void Abandon();

    const std::string& ErrorText() const { return FError; }

private:
    bool Flush();
    bool Fail(const std::string& what);

    int FFd = -1;
    std::string FTarget;
    std::string FTempPath;
    std::string FBuffer;
    std::string FError;
};
