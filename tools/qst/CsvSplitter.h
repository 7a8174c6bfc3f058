#pragma once

#include <string>
#include <string_view>

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
