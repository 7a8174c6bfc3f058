#pragma once

#include "QuestionRecord.h"

#include <cstdint>
#include <string>

// A question file opened by name, read and written one 380-byte record at a time. Every
// input/output failure is returned as false with errorText() naming it; nothing throws and
// nothing past a record is ever read.
class QstFile {
public:
    enum class Access { Read, ReadWrite };

    QstFile() = default;
    ~QstFile();
    QstFile(QstFile&& other) noexcept;
    QstFile& operator=(QstFile&& other) noexcept;
    QstFile(const QstFile&) = delete;
    QstFile& operator=(const QstFile&) = delete;

    // A regular file exists at path (a folder of that name does not count).
    static bool exists(const std::string& path);

    // Opens an existing regular file; never creates one. The open never waits: a FIFO, a
    // device or a folder under that name fails at once.
    bool open(const std::string& path, Access access);
    // Opens an existing regular file and takes the writers' lock on the set: an advisory,
    // exclusive lock that every writer of question sets takes while it writes, released by
    // close(). When the file at the path was replaced while the lock was awaited (a writer
    // that renames a new file over the set), the new file is opened and locked instead, so
    // the lock held is always the one on the file at the path. Waits at most waitMs for
    // another writer to finish (a negative wait: as long as it takes); when it runs out,
    // fails with lockBusy() true.
    bool openLocked(const std::string& path, Access access, int waitMs);
    bool lockBusy() const { return m_lockBusy; }
    // Makes a new empty file; fails when anything already exists under that name.
    bool create(const std::string& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    // Whole records in the file (size div 380), or -1 on failure.
    std::int64_t recordCount();
    // Reads record n; fails when the file ends inside it.
    bool read(std::int64_t n, QuestionRecord& record);
    // Reads up to count whole records from record n on into out (count * 380 bytes); returns
    // how many whole records it read (fewer where the file ends), or -1 on failure.
    std::int64_t readRecords(std::int64_t n, std::int64_t count, std::uint8_t* out);
    // Writes record n; n equal to the record count appends (over any partial tail).
    bool write(std::int64_t n, const QuestionRecord& record);
    // Flushes written records to the disk.
    bool sync();

    const std::string& errorText() const { return m_error; }

private:
    bool fail(const std::string& what);
    int m_fd = -1;
    bool m_lockBusy = false;
    std::string m_stdPath;
    std::string m_error;
};

// The outcome of checking a set before use.
enum class QstCheck { Accepted, NotFound, Damaged, ReadOnly };

struct QstCheckResult {
    QstCheck status = QstCheck::NotFound;
    // Records in the file when it could be opened, else 0.
    std::int64_t recordCount = 0;
    std::string errorText;
};

// What one reader of question files requires, and what it says when a file fails.
struct ReaderRuleSet {
    std::int64_t minRecords;
    const char* notFoundMessage;
    const char* damagedMessage;
    QstFile::Access access;
};

namespace ReaderRules {
inline constexpr ReaderRuleSet GameStartup{2, "Unable to find Default Question File",
                                           "Default Question File Damaged - Please Re-Install",
                                           QstFile::Access::Read};
inline constexpr ReaderRuleSet GameChange{2, "Unable to find Specified Question File",
                                          "Specified Question File Damaged - Please Re-Install",
                                          QstFile::Access::Read};
inline constexpr ReaderRuleSet EditorStartup{2, "Unable to find Default Question File",
                                             "Default Question File Damaged - Please Re-Install",
                                             QstFile::Access::ReadWrite};
inline constexpr ReaderRuleSet EditorLoad{1, "Unable to find Specified Question File",
                                          "Specified Question File Damaged - Please Re-Install",
                                          QstFile::Access::ReadWrite};
} // namespace ReaderRules

// Checks a set: it exists, opens with the reader's access, holds at least the reader's
// minimum of records and starts with the header. A file that exists and opens for reading
// but not for writing, under a reader that writes, is ReadOnly (with its record count).
QstCheckResult checkQuestionFile(const std::string& path, const ReaderRuleSet& rules);
