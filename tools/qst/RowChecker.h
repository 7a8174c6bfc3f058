#pragma once

#include "ParsedSource.h"
#include "QuestionRecord.h"
#include "SeenQuestions.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Turns source rows into question records, refusing a row that a set must not hold: an
// empty field, a character Windows-1252 cannot hold, a text longer than 75 characters, the
// correct answer repeated as a wrong one, a wrong answer given twice, or a question already
// seen (compared trimmed and in any letter case).
class RowChecker {
public:
    // Makes a question of an existing set count as seen; messages name it "record N of set".
    void remember(std::string_view questionCp1252, const std::string& set, std::int64_t record);

    // Converts row to a record; returns an empty text when it is taken (and remembers it as
    // "source:line"), else the reason it is not.
    std::string check(const SourceRow& row, const std::string& source, QuestionRecord& record);

private:
    std::uint32_t originOf(const std::string& name, bool isSet);
    std::string describe(const SeenQuestions::Place& place) const;

    // Every question seen, with its place: origin is an entry of m_origins.
    SeenQuestions m_seen;
    // Names of sources and sets seen, each with whether it is a set.
    std::vector<std::pair<std::string, bool>> m_origins;
};
