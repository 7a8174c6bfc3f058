#pragma once

#include "FuzzCheck.h"
#include "ParsedSource.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace fuzz {

// A sink that holds a reader to its promises: rows and skips come in the order of the file,
// each on a line of the text, and a question has five fields.
class OrderedSink : public SourceSink {
public:
    explicit OrderedSink(std::string_view text)
        : lastLine(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n') +
                                            std::count(text.begin(), text.end(), '\r') + 1)) {}

    void take(SourceRow&& row) override {
        see(row.line);
        ++rows;
    }
    void skip(std::size_t line, std::string&& reason) override {
        see(line);
        require(!reason.empty(), "a skip says why");
        ++skips;
    }

    std::size_t rows = 0;
    std::size_t skips = 0;

private:
    void see(std::size_t line) {
        require(line >= 1 && line <= lastLine, "a reported line lies within the text");
        require(line >= previous, "reports come in the order of the file");
        previous = line;
    }
    std::size_t lastLine;
    std::size_t previous = 0;
};

} // namespace fuzz
