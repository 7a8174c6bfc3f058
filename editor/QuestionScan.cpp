#include "QuestionScan.h"

#include "QstFile.h"

#include <algorithm>
#include <vector>

namespace {
constexpr std::size_t recordsPerChunk = 256;

inline char foldChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
} // namespace

std::string QuestionScan::foldAZ(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = foldChar(c);
    return out;
}

bool QuestionScan::matches(const std::uint8_t* record, std::string_view foldedPattern) {
    char field[QuestionRecord::Capacity];
    for (std::size_t i = 0; i < QuestionRecord::FieldCount; ++i) {
        const std::uint8_t* at = record + i * (QuestionRecord::Capacity + 1);
        const std::size_t len = std::min<std::size_t>(at[0], QuestionRecord::Capacity);
        if (len < foldedPattern.size()) continue;
        for (std::size_t k = 0; k < len; ++k)
            field[k] = foldChar(static_cast<char>(at[1 + k]));
        if (std::string_view(field, len).find(foldedPattern) != std::string_view::npos) return true;
    }
    return false;
}

QuestionScan::Result QuestionScan::find(const std::string& path, std::int64_t first,
                                        std::int64_t last,
                                        std::optional<std::string_view> pattern) {
    Result result;
    result.position = first;
    if (first > last) return result;
    QstFile file;
    if (!file.open(path, QstFile::Access::Read)) {
        result.ok = false;
        result.errorText = file.errorText();
        return result;
    }
    const std::string folded = pattern ? foldAZ(*pattern) : std::string();

    std::vector<std::uint8_t> chunk(recordsPerChunk * QuestionRecord::Size);
    std::int64_t next = first; // next record to read
    while (next <= last) {
        const std::int64_t want =
            std::min<std::int64_t>(static_cast<std::int64_t>(recordsPerChunk), last - next + 1);
        const std::int64_t whole = file.readRecords(next, want, chunk.data());
        if (whole < 0) {
            result.position = next;
            result.ok = false;
            result.errorText = file.errorText();
            return result;
        }
        for (std::int64_t k = 0; k < whole; ++k) {
            const std::uint8_t* record = chunk.data() + k * QuestionRecord::Size;
            result.position = next + k;
            if (pattern && matches(record, folded)) {
                result.hit = true;
                result.record = QuestionRecord::decode(record);
                result.recordRead = true;
                return result;
            }
        }
        if (whole > 0) {
            result.record =
                QuestionRecord::decode(chunk.data() + (whole - 1) * QuestionRecord::Size);
            result.recordRead = true;
        }
        if (whole < want) {
            // The set ends inside the records the scan was told to read.
            result.position = next + whole;
            result.ok = false;
            result.errorText = "Read beyond end of file: " + path;
            return result;
        }
        next += want;
    }
    return result;
}
