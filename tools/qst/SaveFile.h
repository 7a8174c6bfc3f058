#pragma once

#include <QSaveFile>

#include <memory>
#include <string>
#include <string_view>

// Writes a file so that readers see either the old file or the whole new one: the data goes
// to a temporary file in the target's folder, which commit() flushes to the disk and renames
// over the target. A file that is never committed is removed, so no partial output is ever
// left behind. A file replaced keeps its permissions.
class SaveFile {
public:
    // Creates the temporary file beside target; false with errorText() when it cannot, or
    // when the target's name is not UTF-8.
    bool open(const std::string& target);
    // Appends bytes; a failure is kept and reported by commit().
    void write(std::string_view bytes);
    // Writes bytes over the start of what was written, and goes on at the end.
    void overwriteStart(std::string_view bytes);
    bool commit();
    // The reason of the last failure, naming the file.
    std::string errorText() const;

private:
    std::string target;
    std::unique_ptr<QSaveFile> file;
    // The first failure's reason, kept because the file may report none by the commit.
    std::string failure;
};
