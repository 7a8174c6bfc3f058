#pragma once

#include "ParsedSource.h"
#include "QuestionRecord.h"

#include <string>
#include <string_view>
#include <unordered_map>

// Turns source rows into question records, refusing a row that a set must not hold: an
// empty field, a character Windows-1252 cannot hold, a text longer than 75 characters, the
// correct answer repeated as a wrong one, a wrong answer given twice, or a question already
// seen (compared trimmed and in any letter case).
class TRowChecker {
public:
    // Makes a question of an existing set count as seen; where names it in messages.
    void Remember(std::string_view questionCp1252, std::string where);

    // Converts row to a record; returns an empty text when it is taken (and remembers it,
    // under where), else the reason it is not.
    std::string Check(const TSourceRow& row, std::string where, TQuestionRecord& record);

private:
    std::unordered_map<std::string, std::string> FSeen;
};
