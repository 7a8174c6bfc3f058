#pragma once

#include "QuestionRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text search's scan over a question set, free of Qt. The set is opened once and read
// sequentially, record by record, from the first record to search up to the last; each of
// the five strings is tested with the letters a to z folded to A to Z (no other character
// changes), so "paris" finds "PARIS" and "Comparison" but "école" does not find "ÉCOLE".
class QuestionScan {
public:
    struct Result {
        // False after an input/output failure; errorText names it.
        bool ok = true;
        bool hit = false;
        // The record the scan reached: the hit, else the last record read (the failing
        // record after a failure).
        std::int64_t position = 0;
        // The last record read whole (the hit when there is one).
        QuestionRecord record;
        bool recordRead = false;
        std::string errorText;
    };

    // Scans records first..last of the set at path for pattern (Windows-1252 bytes, not yet
    // folded). No pattern: a text no set can hold, which matches nothing. first > last reads
    // nothing.
    static Result find(const std::string& path, std::int64_t first, std::int64_t last,
                       std::optional<std::string_view> pattern);

    // The text with a to z turned into A to Z.
    static std::string foldAZ(std::string_view text);
    // One of the record's five strings, folded, contains the folded pattern.
    static bool matches(const std::uint8_t* record, std::string_view foldedPattern);
};
