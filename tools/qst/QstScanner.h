#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole records of a question file front to back, as raw 380-byte blocks, through
// a large buffer. Bytes after the last whole record are counted but never read.
class QstScanner {
public:
    QstScanner() = default;
    ~QstScanner();
    QstScanner(const QstScanner&) = delete;
    QstScanner& operator=(const QstScanner&) = delete;

    // Opens a regular file for reading, without waiting on a pipe or device; false with
    // errorText() when it cannot, and NotRegular() when it is not a regular file.
    bool open(const std::string& path);
    bool notRegular() const { return m_notRegular; }

    // Whole records in the file and the bytes after the last of them.
    std::int64_t recordCount() const { return m_count; }
    std::int64_t trailingBytes() const { return m_trailing; }

    // The next record's 380 bytes, valid until the next call; nullptr after the last record
    // or on a read failure (then errorText() is set, e.g. when the file shrank meanwhile).
    const std::uint8_t* next();
    // Number of the record next() returned last.
    std::int64_t index() const { return m_index; }

    const std::string& errorText() const { return m_error; }

private:
    int m_fd = -1;
    std::string m_stdPath;
    std::string m_error;
    bool m_notRegular = false;
    std::int64_t m_count = 0;
    std::int64_t m_trailing = 0;
    std::int64_t m_index = -1;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_have = 0;
    std::size_t m_at = 0;
};
