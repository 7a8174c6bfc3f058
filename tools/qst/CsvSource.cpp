#include "CsvSource.h"

#include "CsvSplitter.h"
#include "QstText.h"

#include <algorithm>
#include <string>

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
