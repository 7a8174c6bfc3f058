#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole records of a question file front to back, as raw 380-byte blocks, through
// a large buffer. Bytes after the last whole record are counted but never read.
class TQstScanner {
public:
    TQstScanner() = default;
    ~TQstScanner();
    TQstScanner(const TQstScanner&) = delete;
    TQstScanner& operator=(const TQstScanner&) = delete;

    // Opens a regular file for reading, without waiting on a pipe or device; false with
    // ErrorText() when it cannot, and NotRegular() when it is not a regular file.
    bool Open(const std::string& path);
    bool NotRegular() const { return FNotRegular; }

    // Whole records in the file and the bytes after the last of them.
    std::int64_t RecordCount() const { return FCount; }
    std::int64_t TrailingBytes() const { return FTrailing; }

    // The next record's 380 bytes, valid until the next call; nullptr after the last record
    // or on a read failure (then ErrorText() is set, e.g. when the file shrank meanwhile).
    const std::uint8_t* Next();
    // Number of the record Next() returned last.
    std::int64_t Index() const { return FIndex; }

    const std::string& ErrorText() const { return FError; }

private:
    int FFd = -1;
    std::string FPath;
    std::string FError;
    bool FNotRegular = false;
    std::int64_t FCount = 0;
    std::int64_t FTrailing = 0;
    std::int64_t FIndex = -1;
    std::vector<std::uint8_t> FBuffer;
    std::size_t FHave = 0;
    std::size_t FAt = 0;
};
