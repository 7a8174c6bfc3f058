#include "RowChecker.h"

#include "Cp1252.h"
#include "QstText.h"

namespace {

// UTF-8 to Windows-1252, with plain ASCII copied straight through.
bool ToCp1252(const std::string& utf8, std::string& out, char32_t* bad) {
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) return Cp1252::FromUtf8(utf8, out, bad);
    out = utf8;
    return true;
}

// Texts equal once trimmed and case-folded.
bool SameText(std::string_view a, std::string_view b) {
    a = QstText::Trim(a);
    b = QstText::Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (QstText::FoldByte(static_cast<unsigned char>(a[i])) !=
            QstText::FoldByte(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::uint32_t TRowChecker::OriginOf(const std::string& name, bool isSet) {
    if (FOrigins.empty() || FOrigins.back().first != name || FOrigins.back().second != isSet)
        FOrigins.emplace_back(name, isSet);
    return static_cast<std::uint32_t>(FOrigins.size() - 1);
}

std::string TRowChecker::Describe(const SeenQuestions::Place& place) const {
    const auto& [name, isSet] = FOrigins[place.origin];
    if (isSet) return "record " + std::to_string(place.number) + " of " + name;
    return name + ":" + std::to_string(place.number);
}

void TRowChecker::Remember(std::string_view questionCp1252, const std::string& set,
                           std::int64_t record) {
    FSeen.insert(QstText::CompareKey(questionCp1252), {OriginOf(set, true), record});
}

std::string TRowChecker::Check(const TSourceRow& row, const std::string& source,
                               TQuestionRecord& record) {
    using QstText::FieldNames;
    for (std::size_t f = 0; f < 5; ++f)
        if (QstText::Trim(row.Fields[f]).empty()) return "empty " + std::string(FieldNames[f]);
    for (std::size_t f = 0; f < 5; ++f) {
        char32_t bad = 0;
        std::string& bytes = record.Field(f);
        if (!ToCp1252(row.Fields[f], bytes, &bad))
            return std::string(FieldNames[f]) + " holds a character Windows-1252 cannot hold (" +
                   QstText::CodePointName(bad) + ")";
        if (bytes.size() > TQuestionRecord::Capacity)
            return std::string(FieldNames[f]) + " longer than 75 characters (" +
                   std::to_string(bytes.size()) + ")";
    }
    for (std::size_t f = 2; f < 5; ++f)
        if (SameText(record.Field(f), record.Answer))
            return "correct answer repeated as a wrong answer (" + std::string(FieldNames[f]) + ")";
    for (std::size_t f = 2; f < 5; ++f)
        for (std::size_t g = f + 1; g < 5; ++g)
            if (SameText(record.Field(f), record.Field(g)))
                return "wrong answer given twice (" + std::string(FieldNames[f]) + " and " +
                       std::string(FieldNames[g]) + ")";
    const std::optional<SeenQuestions::Place> first =
        FSeen.insert(QstText::CompareKey(record.Question),
                     {OriginOf(source, false), static_cast<std::int64_t>(row.Line)});
    if (first) return "duplicate of the question at " + Describe(*first);
    return {};
}
