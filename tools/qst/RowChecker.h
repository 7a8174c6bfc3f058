#pragma once

#include "ParsedSource.h"
#include "QuestionRecord.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Turns source rows into question records, refusing a row that a set must not hold: an
// empty field, a character Windows-1252 cannot hold, a text longer than 75 characters, the
// correct answer repeated as a wrong one, a wrong answer given twice, or a question already
// seen (compared trimmed and in any letter case).
class TRowChecker {
public:
    // Room for this many questions, to spare rehashing during a large import.
    void Reserve(std::size_t questions) { FSeen.reserve(questions); }

    // Makes a question of an existing set count as seen; messages name it "record N of set".
    void Remember(std::string_view questionCp1252, const std::string& set, std::int64_t record);

    // Converts row to a record; returns an empty text when it is taken (and remembers it as
    // "source:line"), else the reason it is not.
    std::string Check(const TSourceRow& row, const std::string& source, TQuestionRecord& record);

private:
    // Where a question was first seen: an entry of FOrigins and a line or record number.
    struct TPlace {
        std::size_t Origin;
        std::int64_t Number;
    };
    std::size_t OriginOf(const std::string& name, bool isSet);
    std::string Describe(const TPlace& place) const;

    std::unordered_map<std::string, TPlace> FSeen;
    // Names of sources and sets seen, each with whether it is a set.
    std::vector<std::pair<std::string, bool>> FOrigins;
};
