#include "CsvSource.h"

#include "QstText.h"

#include <algorithm>
#include <string>

namespace {

// Splits CSV text into records, counting physical lines so that each record knows where it
// starts. Fields are handed to a callback one by one, so that a record of any width costs
// no more memory than its longest field.
class CsvSplitter {
public:
    explicit CsvSplitter(std::string_view text) : m_text(text) {}

    // Reads the next record: onField(index, text) for each of its fields. False at the end of
    // the text. line receives the line it starts on, fields the number of fields, fault why
    // it is malformed (its fields are then incomplete).
    template <typename TOnField>
    bool next(std::size_t& line, std::size_t& fields, std::string& fault, TOnField&& onField) {
        if (m_at >= m_text.size()) return false;
        fields = 0;
        fault.clear();
        line = m_line;
        std::string field;
        bool fieldQuoted = false;
        auto endField = [&] {
            onField(fields++, std::move(field));
            field.clear();
            fieldQuoted = false;
        };
        for (;;) {
            if (m_at >= m_text.size()) {
                endField();
                return true;
            }
            const char c = m_text[m_at];
            if (c == '"' && field.empty() && !fieldQuoted) {
                fieldQuoted = true;
                if (!readQuoted(field)) {
                    fault = "quote opened here is never closed";
                    return true;
                }
                continue;
            }
            if (c == ',') {
                ++m_at;
                endField();
                continue;
            }
            if (c == '\r' || c == '\n') {
                endLine();
                endField();
                return true;
            }
            if (fieldQuoted) {
                fault = "text after a closing quote";
                skipRestOfLine();
                return true;
            }
            if (c == '"') {
                fault = "quote inside an unquoted field";
                skipRestOfLine();
                return true;
            }
            const std::size_t stop = m_text.find_first_of(",\r\n\"", m_at + 1);
            const std::size_t end = stop == std::string_view::npos ? m_text.size() : stop;
            field.append(m_text.substr(m_at, end - m_at));
            m_at = end;
        }
    }

private:
    // Reads a quoted field from its opening quote; false when the text ends first.
    bool readQuoted(std::string& field) {
        ++m_at;
        for (;;) {
            const std::size_t q = m_text.find('"', m_at);
            const std::size_t stop = q == std::string_view::npos ? m_text.size() : q;
            for (std::size_t i = m_at; i < stop; ++i)
                if (m_text[i] == '\n' ||
                    (m_text[i] == '\r' && (i + 1 >= m_text.size() || m_text[i + 1] != '\n')))
                    ++m_line;
            field.append(m_text.substr(m_at, stop - m_at));
            if (q == std::string_view::npos) {
                m_at = m_text.size();
                return false;
            }
            if (q + 1 < m_text.size() && m_text[q + 1] == '"') {
                field += '"';
                m_at = q + 2;
                continue;
            }
            m_at = q + 1;
            return true;
        }
    }

    void endLine() {
        if (m_text[m_at] == '\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '\n') ++m_at;
        ++m_at;
        ++m_line;
    }

    void skipRestOfLine() {
        while (m_at < m_text.size() && m_text[m_at] != '\r' && m_text[m_at] != '\n')
            ++m_at;
        if (m_at < m_text.size()) endLine();
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::size_t m_line = 1;
};

} // namespace

SourceError parseCsvSource(std::string_view utf8, SourceSink& sink) {
    CsvSplitter splitter(utf8);
    std::size_t line = 0;
    std::size_t width = 0;
    std::string fault;

    // The header row: the column of each of the five fields, and of the optional difficulty
    // mark and topic that an export writes for a set that has them.
    constexpr std::size_t Columns = 7;
    static constexpr std::string_view ColumnNames[Columns] = {
        QstText::FieldNames[0], QstText::FieldNames[1], QstText::FieldNames[2],
        QstText::FieldNames[3], QstText::FieldNames[4], "difficulty", "topic"};
    constexpr std::size_t MarkColumn = 5, TopicColumn = 6;
    std::size_t column[Columns] = {};
    std::size_t named[Columns] = {};
    bool blank = true;
    for (;;) {
        std::fill(named, named + Columns, 0);
        blank = true;
        if (!splitter.next(line, width, fault, [&](std::size_t index, std::string&& text) {
                blank = blank && index == 0 && text.empty();
                const std::string name = QstText::foldCase(QstText::trim(text));
                for (std::size_t f = 0; f < Columns; ++f)
                    if (name == ColumnNames[f]) {
                        ++named[f];
                        column[f] = index;
                    }
            }))
            return {"no header row (it must name question, answer, wrong1, wrong2, wrong3)", 0};
        if (fault.empty() && blank) continue;
        if (!fault.empty()) return {"header row: " + fault, line};
        for (std::size_t f = 0; f < Columns; ++f) {
            const std::string name(ColumnNames[f]);
            if (named[f] > 1) return {"header row names column \"" + name + "\" twice", line};
            if (f >= MarkColumn) continue;
            if (named[f] == 0)
                return {"header row lacks column \"" + name +
                            "\" (it must name question, answer, wrong1, wrong2, wrong3)",
                        line};
        }
        break;
    }
    const std::size_t headerWidth = width;

    // The rows: only the named columns are kept, whatever the width of a row.
    SourceRow row;
    std::string mark;
    std::size_t fields = 0;
    while (splitter.next(line, fields, fault, [&](std::size_t index, std::string&& text) {
        blank = index == 0 && text.empty();
        if (index >= headerWidth) return;
        for (std::size_t f = 0; f < 5; ++f)
            if (column[f] == index) row.fields[f] = std::move(text);
        if (named[MarkColumn] && column[MarkColumn] == index) mark = QstText::trim(text);
        if (named[TopicColumn] && column[TopicColumn] == index) row.topic = QstText::trim(text);
    })) {
        if (!fault.empty()) {
            sink.skip(line, std::move(fault));
            continue;
        }
        if (fields == 1 && blank) continue;
        if (fields != headerWidth) {
            sink.skip(line, (fields < headerWidth ? "missing columns ("
                                                  : "more columns than the header row (") +
                                std::to_string(fields) + " of " + std::to_string(headerWidth) +
                                ")");
            continue;
        }
        row.line = line;
        if (!mark.empty() && mark != "-") {
            const auto known = difficultyFromName(QstText::foldCase(mark));
            if (!known) {
                sink.skip(line, "unknown difficulty \"" + mark + "\" (easy, medium, hard or -)");
                row = {};
                mark.clear();
                continue;
            }
            row.mark = *known;
        }
        sink.take(std::move(row));
        row = {};
        mark.clear();
    }
    return {};
}

ParsedSource parseCsvSource(std::string_view utf8) {
    CollectingSink sink;
    SourceError error = parseCsvSource(utf8, sink);
    return sink.finish(std::move(error));
}
