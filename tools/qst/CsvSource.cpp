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

    // The header row: the column of each of the five fields.
    std::size_t column[5] = {};
    std::size_t named[5] = {};
    bool blank = true;
    for (;;) {
        std::fill(named, named + 5, 0);
        blank = true;
        if (!splitter.next(line, width, fault, [&](std::size_t index, std::string&& text) {
                blank = blank && index == 0 && text.empty();
                const std::string name = QstText::foldCase(QstText::trim(text));
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
    SourceRow row;
    std::size_t fields = 0;
    while (splitter.next(line, fields, fault, [&](std::size_t index, std::string&& text) {
        blank = index == 0 && text.empty();
        if (index >= headerWidth) return;
        for (std::size_t f = 0; f < 5; ++f)
            if (column[f] == index) row.fields[f] = std::move(text);
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
        sink.take(std::move(row));
        row = {};
    }
    return {};
}

ParsedSource parseCsvSource(std::string_view utf8) {
    CollectingSink sink;
    SourceError error = parseCsvSource(utf8, sink);
    return sink.finish(std::move(error));
}
