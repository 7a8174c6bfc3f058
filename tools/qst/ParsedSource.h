#pragma once

#include "Difficulty.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// One question as read from a source file: five UTF-8 texts in record order (question,
// answer, wrong1, wrong2, wrong3), the line it starts on, and its difficulty mark and the
// topic of its set, if the source gives them.
struct SourceRow {
    std::array<std::string, 5> fields;
    std::size_t line = 0;
    Difficulty mark = Difficulty::None;
    std::string topic;
};

// A row of a source file that was not taken, with the line it starts on and why.
struct SourceProblem {
    std::size_t line = 0;
    std::string reason;
};

// A source file rejected as a whole (unreadable, wrong shape), with the line the fault is
// on, or 0 when it concerns the whole file. Empty text: the file was read.
struct SourceError {
    std::string text;
    std::size_t line = 0;
    explicit operator bool() const { return !text.empty(); }
};

// Receives what a reader finds, row by row in the order of the file, so that a reader holds
// no more than one row at a time. A reader that rejects the file as a whole does so before
// it hands on any row.
class SourceSink {
public:
    virtual ~SourceSink() = default;
    virtual void take(SourceRow&& row) = 0;
    virtual void skip(std::size_t line, std::string&& reason) = 0;
};

// What a reader made of one source file, all at once. A non-empty Error means the file as a
// whole was rejected (unreadable, wrong shape); Rows and Skipped are then empty.
struct ParsedSource {
    std::vector<SourceRow> rows;
    std::vector<SourceProblem> skipped;
    std::string error;
    // The line Error refers to, or 0 when it concerns the whole file.
    std::size_t errorLine = 0;
};

// Collects everything a reader hands on into a ParsedSource.
class CollectingSink : public SourceSink {
public:
    void take(SourceRow&& row) override { parsed.rows.push_back(std::move(row)); }
    void skip(std::size_t line, std::string&& reason) override {
        parsed.skipped.push_back({line, std::move(reason)});
    }
    // The collected result, with error set when the reader rejected the file.
    ParsedSource finish(SourceError error) {
        if (error) {
            parsed = {};
            parsed.error = std::move(error.text);
            parsed.errorLine = error.line;
        }
        return std::move(parsed);
    }

private:
    ParsedSource parsed;
};
