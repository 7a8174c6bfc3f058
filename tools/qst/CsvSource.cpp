#include "CsvSource.h"

#include "QstText.h"

#include <string>
#include <vector>

namespace {

struct TCsvRecord {
    std::vector<std::string> Fields;
    std::size_t Line = 0;
    // Set when the record is malformed; Fields are then incomplete.
    std::string Fault;
};

// Splits CSV text into records, counting physical lines so that each record knows where it
// starts.
class TCsvSplitter {
public:
    explicit TCsvSplitter(std::string_view text) : FText(text) {}

    bool Next(TCsvRecord& rec) {
        if (FAt >= FText.size()) return false;
        rec.Fields.clear();
        rec.Fault.clear();
        rec.Line = FLine;
        std::string field;
        bool fieldQuoted = false;
        for (;;) {
            if (FAt >= FText.size()) {
                rec.Fields.push_back(std::move(field));
                return true;
            }
            const char c = FText[FAt];
            if (c == '"' && field.empty() && !fieldQuoted) {
                fieldQuoted = true;
                if (!ReadQuoted(field)) {
                    rec.Fault = "quote opened here is never closed";
                    return true;
                }
                continue;
            }
            if (c == ',') {
                ++FAt;
                rec.Fields.push_back(std::move(field));
                field.clear();
                fieldQuoted = false;
                continue;
            }
            if (c == '\r' || c == '\n') {
                EndLine();
                rec.Fields.push_back(std::move(field));
                return true;
            }
            if (fieldQuoted) {
                rec.Fault = "text after a closing quote";
                SkipRestOfLine();
                return true;
            }
            if (c == '"') {
                rec.Fault = "quote inside an unquoted field";
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

TParsedSource ParseCsvSource(std::string_view utf8) {
    TParsedSource out;
    TCsvSplitter splitter(utf8);
    TCsvRecord rec;
    // Column of each of the five fields.
    std::size_t column[5];
    bool haveHeader = false;
    std::size_t headerWidth = 0;
    while (splitter.Next(rec)) {
        const bool blank = rec.Fault.empty() && rec.Fields.size() == 1 && rec.Fields[0].empty();
        if (!haveHeader) {
            if (blank) continue;
            if (!rec.Fault.empty()) {
                out.Error = "header row: " + rec.Fault;
                out.ErrorLine = rec.Line;
                return out;
            }
            for (std::size_t f = 0; f < 5; ++f) {
                bool found = false;
                for (std::size_t c = 0; c < rec.Fields.size(); ++c) {
                    if (QstText::FoldCase(QstText::Trim(rec.Fields[c])) != QstText::FieldNames[f])
                        continue;
                    if (found) {
                        out.Error = "header row names column \"" +
                                    std::string(QstText::FieldNames[f]) + "\" twice";
                        out.ErrorLine = rec.Line;
                        return out;
                    }
                    found = true;
                    column[f] = c;
                }
                if (!found) {
                    out.Error = "header row lacks column \"" + std::string(QstText::FieldNames[f]) +
                                "\" (it must name question, answer, wrong1, wrong2, wrong3)";
                    out.ErrorLine = rec.Line;
                    return out;
                }
            }
            headerWidth = rec.Fields.size();
            haveHeader = true;
            continue;
        }
        if (blank) continue;
        if (!rec.Fault.empty()) {
            out.Skipped.push_back({rec.Line, rec.Fault});
            continue;
        }
        if (rec.Fields.size() < headerWidth) {
            out.Skipped.push_back({rec.Line, "missing columns (" +
                                                 std::to_string(rec.Fields.size()) + " of " +
                                                 std::to_string(headerWidth) + ")"});
            continue;
        }
        if (rec.Fields.size() > headerWidth) {
            out.Skipped.push_back({rec.Line, "more columns than the header row (" +
                                                 std::to_string(rec.Fields.size()) + " of " +
                                                 std::to_string(headerWidth) + ")"});
            continue;
        }
        TSourceRow row;
        row.Line = rec.Line;
        for (std::size_t f = 0; f < 5; ++f)
            row.Fields[f] = std::move(rec.Fields[column[f]]);
        out.Rows.push_back(std::move(row));
    }
    if (!haveHeader)
        out.Error = "no header row (it must name question, answer, wrong1, wrong2, wrong3)";
    return out;
}
