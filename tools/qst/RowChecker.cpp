#include "RowChecker.h"

#include "Cp1252.h"
#include "QstText.h"

namespace {

// UTF-8 to Windows-1252, with plain ASCII copied straight through.
bool toCp1252(const std::string& utf8, std::string& out, char32_t* bad) {
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) return Cp1252::fromUtf8(utf8, out, bad);
    out = utf8;
    return true;
}

// Texts equal once trimmed and case-folded.
bool sameText(std::string_view a, std::string_view b) {
    a = QstText::trim(a);
    b = QstText::trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (QstText::foldByte(static_cast<unsigned char>(a[i])) !=
            QstText::foldByte(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::uint32_t RowChecker::originOf(const std::string& name, bool isSet) {
    if (m_origins.empty() || m_origins.back().first != name || m_origins.back().second != isSet)
        m_origins.emplace_back(name, isSet);
    return static_cast<std::uint32_t>(m_origins.size() - 1);
}

std::string RowChecker::describe(const SeenQuestions::Place& place) const {
    const auto& [name, isSet] = m_origins[place.origin];
    if (isSet) return "record " + std::to_string(place.number) + " of " + name;
    return name + ":" + std::to_string(place.number);
}

void RowChecker::remember(std::string_view questionCp1252, const std::string& set,
                          std::int64_t record) {
    m_seen.insert(QstText::compareKey(questionCp1252), {originOf(set, true), record});
}

std::string RowChecker::check(const SourceRow& row, const std::string& source,
                              QuestionRecord& record) {
    using QstText::FieldNames;
    for (std::size_t f = 0; f < 5; ++f)
        if (QstText::trim(row.fields[f]).empty()) return "empty " + std::string(FieldNames[f]);
    for (std::size_t f = 0; f < 5; ++f) {
        char32_t bad = 0;
        std::string& bytes = record.field(f);
        if (!toCp1252(row.fields[f], bytes, &bad))
            return std::string(FieldNames[f]) + " holds a character Windows-1252 cannot hold (" +
                   QstText::codePointName(bad) + ")";
        if (bytes.size() > QuestionRecord::Capacity)
            return std::string(FieldNames[f]) + " longer than 75 characters (" +
                   std::to_string(bytes.size()) + ")";
    }
    for (std::size_t f = 2; f < 5; ++f)
        if (sameText(record.field(f), record.answer))
            return "correct answer repeated as a wrong answer (" + std::string(FieldNames[f]) + ")";
    for (std::size_t f = 2; f < 5; ++f)
        for (std::size_t g = f + 1; g < 5; ++g)
            if (sameText(record.field(f), record.field(g)))
                return "wrong answer given twice (" + std::string(FieldNames[f]) + " and " +
                       std::string(FieldNames[g]) + ")";
    const std::optional<SeenQuestions::Place> first =
        m_seen.insert(QstText::compareKey(record.question),
                      {originOf(source, false), static_cast<std::int64_t>(row.line)});
    if (first) return "duplicate of the question at " + describe(*first);
    return {};
}
