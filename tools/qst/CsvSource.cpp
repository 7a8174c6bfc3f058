#include "CsvSource.h"

#include "QstText.h"

#include <algorithm>
#include <string>

namespace {

// Splits CSV text into records, counting physical lines so that each record knows where it
// starts. Fields are handed to a callback one by one, so that a record of any width costs
// no more memory than its longest field.
class TCsvSplitter {
public:
    explicit TCsvSplitter(std::string_view text) : FText(text) {}

    // Reads the next record: onField(index, text) for each of its fields. False at the end of
    // the text. line receives the line it starts on, fields the number of fields, fault why
    // it is malformed (its fields are then incomplete).
    template <typename TOnField>
    bool Next(std::size_t& line, std::size_t& fields, std::string& fault, TOnField&& onField) {
        if (FAt >= FText.size()) return false;
        fields = 0;
        fault.clear();
        line = FLine;
        std::string field;
        bool fieldQuoted = false;
        auto endField = [&] {
            onField(fields++, std::move(field));
            field.clear();
            fieldQuoted = false;
        };
        for (;;) {
            if (FAt >= FText.size()) {
                endField();
                return true;
            }
            const char c = FText[FAt];
            if (c == '"' && field.empty() && !fieldQuoted) {
                fieldQuoted = true;
                if (!ReadQuoted(field)) {
                    fault = "quote opened here is never closed";
                    return true;
                }
                continue;
            }
            if (c == ',') {
                ++FAt;
                endField();
                continue;
            }
            if (c == '\r' || c == '\n') {
                EndLine();
                endField();
                return true;
            }
            if (fieldQuoted) {
                fault = "text after a closing quote";
                SkipRestOfLine();
                return true;
            }
            if (c == '"') {
                fault = "quote inside an unquoted field";
                SkipRestOfLine();
                return true;
            }
            const std::size_t stop = FText.find_first_of(",\r\n\"", FAt + 1);
            const std::size_t end = stop == std::string_view::npos ? FText.size() : stop;
            field.append(FText.substr(FAt, end - FAt));
            FAt = end;
        }
    }

private:
    // Reads a quoted field from its opening quote; false when the text ends first.
    bool ReadQuoted(std::string& field) {
        ++FAt;
        for (;;) {
            const std::size_t q = FText.find('"', FAt);
            const std::size_t stop = q == std::string_view::npos ? FText.size() : q;
            for (std::size_t i = FAt; i < stop; ++i)
                if (FText[i] == '\n' ||
                    (FText[i] == '\r' && (i + 1 >= FText.size() || FText[i + 1] != '\n')))
                    ++FLine;
            field.append(FText.substr(FAt, stop - FAt));
            if (q == std::string_view::npos) {
                FAt = FText.size();
                return false;
            }
            if (q + 1 < FText.size() && FText[q + 1] == '"') {
                field += '"';
                FAt = q + 2;
                continue;
            }
            FAt = q + 1;
            return true;
        }
    }

    void EndLine() {
        if (FText[FAt] == '\r' && FAt + 1 < FText.size() && FText[FAt + 1] == '\n') ++FAt;
        ++FAt;
        ++FLine;
    }

    void SkipRestOfLine() {
        while (FAt < FText.size() && FText[FAt] != '\r' && FText[FAt] != '\n')
            ++FAt;
        if (FAt < FText.size()) EndLine();
    }

    std::string_view FText;
    std::size_t FAt = 0;
    std::size_t FLine = 1;
};

} // namespace

SourceError ParseCsvSource(std::string_view utf8, SourceSink& sink) {
    TCsvSplitter splitter(utf8);
    std::size_t line = 0;
    std::size_t width = 0;
    std::string fault;

    // The header row: the column of each of the five fields.
    std::size_t column[5] = {};
    std::size_t named[5] = {};
    bool blank = true;
    for (;;) {
        std::fill(named, named + 5, 0);
        blank = true;
        if (!splitter.Next(line, width, fault, [&](std::size_t index, std::string&& text) {
                blank = blank && index == 0 && text.empty();
                const std::string name = QstText::FoldCase(QstText::Trim(text));
                for (std::size_t f = 0; f < 5; ++f)
                    if (name == QstText::FieldNames[f]) {
                        ++named[f];
                        column[f] = index;
                    }
            }))
            return {"no header row (it must name question, answer, wrong1, wrong2, wrong3)", 0};
        if (fault.empty() && blank) continue;
        if (!fault.empty()) return {"header row: " + fault, line};
        for (std::size_t f = 0; f < 5; ++f) {
            const std::string name(QstText::FieldNames[f]);
            if (named[f] > 1) return {"header row names column \"" + name + "\" twice", line};
            if (named[f] == 0)
                return {"header row lacks column \"" + name +
                            "\" (it must name question, answer, wrong1, wrong2, wrong3)",
                        line};
        }
        break;
    }
    const std::size_t headerWidth = width;

    // The rows: only the five named columns are kept, whatever the width of a row.
    TSourceRow row;
    std::size_t fields = 0;
    while (splitter.Next(line, fields, fault, [&](std::size_t index, std::string&& text) {
        blank = index == 0 && text.empty();
        if (index >= headerWidth) return;
        for (std::size_t f = 0; f < 5; ++f)
            if (column[f] == index) row.Fields[f] = std::move(text);
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
        row.Line = line;
        sink.take(std::move(row));
        row = {};
    }
    return {};
}

TParsedSource ParseCsvSource(std::string_view utf8) {
    CollectingSink sink;
    SourceError error = ParseCsvSource(utf8, sink);
    return sink.finish(std::move(error));
}
