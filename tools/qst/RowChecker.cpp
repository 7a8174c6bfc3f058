#include "RowChecker.h"

#include "Cp1252.h"
#include "QstText.h"

#include <array>

void TRowChecker::Remember(std::string_view questionCp1252, std::string where) {
    FSeen.emplace(QstText::CompareKey(questionCp1252), std::move(where));
}

std::string TRowChecker::Check(const TSourceRow& row, std::string where, TQuestionRecord& record) {
    using QstText::FieldNames;
    for (std::size_t f = 0; f < 5; ++f)
        if (QstText::Trim(row.Fields[f]).empty()) return "empty " + std::string(FieldNames[f]);
    for (std::size_t f = 0; f < 5; ++f) {
        char32_t bad = 0;
        std::string& bytes = record.Field(f);
        if (!Cp1252::FromUtf8(row.Fields[f], bytes, &bad))
            return std::string(FieldNames[f]) + " holds a character Windows-1252 cannot hold (" +
                   QstText::CodePointName(bad) + ")";
        if (bytes.size() > TQuestionRecord::Capacity)
            return std::string(FieldNames[f]) + " longer than 75 characters (" +
                   std::to_string(bytes.size()) + ")";
    }
    std::array<std::string, 5> keys;
    for (std::size_t f = 1; f < 5; ++f)
        keys[f] = QstText::CompareKey(record.Field(f));
    for (std::size_t f = 2; f < 5; ++f)
        if (keys[f] == keys[1])
            return "correct answer repeated as a wrong answer (" + std::string(FieldNames[f]) + ")";
    for (std::size_t f = 2; f < 5; ++f)
        for (std::size_t g = f + 1; g < 5; ++g)
            if (keys[f] == keys[g])
                return "wrong answer given twice (" + std::string(FieldNames[f]) + " and " +
                       std::string(FieldNames[g]) + ")";
    keys[0] = QstText::CompareKey(record.Question);
    const auto [it, fresh] = FSeen.emplace(std::move(keys[0]), std::move(where));
    if (!fresh) return "duplicate of the question at " + it->second;
    return {};
}
