#pragma once

#include "QuestionRecord.h"

#include <cstdint>
#include <string>

// A question file opened by name, read and written one 380-byte record at a time. Every
// input/output failure is returned as false with ErrorText() naming it; nothing throws and
// nothing past a record is ever read.
class TQstFile {
public:
    enum class TAccess { Read, ReadWrite };

    TQstFile() = default;
    ~TQstFile();
    TQstFile(TQstFile&& other) noexcept;
    TQstFile& operator=(TQstFile&& other) noexcept;
    TQstFile(const TQstFile&) = delete;
    TQstFile& operator=(const TQstFile&) = delete;

    // A regular file exists at path (a folder of that name does not count).
    static bool Exists(const std::string& path);

    // Opens an existing regular file; never creates one. The open never waits: a FIFO, a
    // device or a folder under that name fails at once.
    bool Open(const std::string& path, TAccess access);
    // Opens an existing regular file and takes the writers' lock on the set: an advisory,
    // exclusive lock that every writer of question sets takes while it writes, released by
    // Close(). When the file at the path was replaced while the lock was awaited (a writer
    // that renames a new file over the set), the new file is opened and locked instead, so
    // the lock held is always the one on the file at the path. Waits at most waitMs for
    // another writer to finish (a negative wait: as long as it takes); when it runs out,
    // fails with LockBusy() true.
    bool OpenLocked(const std::string& path, TAccess access, int waitMs);
    bool LockBusy() const { return FLockBusy; }
    // Makes a new empty file; fails when anything already exists under that name.
    bool Create(const std::string& path);
    void Close();
    bool IsOpen() const { return FFd >= 0; }

    // Whole records in the file (size div 380), or -1 on failure.
    std::int64_t RecordCount();
    // Reads record n; fails when the file ends inside it.
    bool Read(std::int64_t n, TQuestionRecord& record);
    // Reads up to count whole records from record n on into out (count * 380 bytes); returns
    // how many whole records it read (fewer where the file ends), or -1 on failure.
    std::int64_t ReadRecords(std::int64_t n, std::int64_t count, std::uint8_t* out);
    // Writes record n; n equal to the record count appends (over any partial tail).
    bool Write(std::int64_t n, const TQuestionRecord& record);
    // Flushes written records to the disk.
    bool Sync();

    const std::string& ErrorText() const { return FError; }

private:
    bool Fail(const std::string& what);
    int FFd = -1;
    bool FLockBusy = false;
    std::string FPath;
    std::string FError;
};

// The outcome of checking a set before use.
enum class TQstCheck { Accepted, NotFound, Damaged, ReadOnly };

struct TQstCheckResult {
    TQstCheck Status = TQstCheck::NotFound;
    // Records in the file when it could be opened, else 0.
    std::int64_t RecordCount = 0;
    std::string ErrorText;
};

// What one reader of question files requires, and what it says when a file fails.
struct TReaderRules {
    std::int64_t MinRecords;
    const char* NotFoundMessage;
    const char* DamagedMessage;
    TQstFile::TAccess Access;
};

namespace ReaderRules {
inline constexpr TReaderRules GameStartup{2, "Unable to find Default Question File",
                                          "Default Question File Damaged - Please Re-Install",
                                          TQstFile::TAccess::Read};
inline constexpr TReaderRules GameChange{2, "Unable to find Specified Question File",
                                         "Specified Question File Damaged - Please Re-Install",
                                         TQstFile::TAccess::Read};
inline constexpr TReaderRules EditorStartup{2, "Unable to find Default Question File",
                                            "Default Question File Damaged - Please Re-Install",
                                            TQstFile::TAccess::ReadWrite};
inline constexpr TReaderRules EditorLoad{1, "Unable to find Specified Question File",
                                         "Specified Question File Damaged - Please Re-Install",
                                         TQstFile::TAccess::ReadWrite};
} // namespace ReaderRules

// Checks a set: it exists, opens with the reader's access, holds at least the reader's
// minimum of records and starts with the header. A file that exists and opens for reading
// but not for writing, under a reader that writes, is ReadOnly (with its record count).
TQstCheckResult CheckQuestionFile(const std::string& path, const TReaderRules& rules);
