#pragma once

#include "ParsedSource.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

enum class SourceFormat { Auto, Csv, Json, Text };

struct ImportOptions {
    std::vector<std::string> sources;
    // The question set to write; may be empty only for a dry run.
    std::string m_output;
    // Auto picks each source's format by its extension (.csv, .json, .txt).
    SourceFormat from = SourceFormat::Auto;
    // Add to the end of an existing set instead of replacing it.
    bool append = false;
    // Check and report only; write nothing.
    bool dryRun = false;
    // Any skipped row fails the run, and nothing is written.
    bool strict = false;
    // The topic a new set's header names (in its answer field), UTF-8; empty for none.
    std::string title{};
};

struct ImportSummary {
    std::size_t imported = 0;
    std::size_t skipped = 0;
    // Questions the set held before (with Append).
    std::size_t existing = 0;
};

// The format a source is read in: the given one, or by extension; Auto when unknown.
SourceFormat formatOfSource(const std::string& path, SourceFormat from);

// The largest source file read, in bytes.
inline constexpr std::size_t MaxSourceBytes = std::size_t{256} << 20;

// Reads one source file in the given format (Auto: by extension), handing its rows to sink
// as they are read; the result says whether the file was rejected as a whole.
SourceError readSource(const std::string& path, SourceFormat from, SourceSink& sink);
// The same, collected at once.
ParsedSource readSource(const std::string& path, SourceFormat from);

// Reports a source rejected as a whole: "file:line: error: reason" (no line when the fault
// concerns the whole file).
void reportRejectedSource(const std::string& source, const SourceError& error, std::ostream& err);

// Imports questions from the sources into a question set. Every skipped row is reported on
// err as "file:line: skipped: reason", every rejected file as "file:line: error: ...", then
// one summary line. The set is written through a temporary file and renamed into place, so
// a failed run leaves the output as it was. Sources that are not regular files are refused
// before anything is read (status 2); the questions are written as they are read, so memory
// does not grow with the number of questions beyond a compact key for each; their marks go
// to a temporary marks file alongside, line by line.
// A run that takes no question at all writes nothing and fails.
// When any question of the set written carries a difficulty mark, the marks of all its
// questions are written to the set's marks file (marksPathOf) after the set; with Append the
// marks already there that still belong to their records are kept. A marks file left from
// before that no longer has any mark to hold is removed.
// Returns the exit status: 0 done, 1 input rejected (nothing written), 2 misuse.
int importQuestions(const ImportOptions& options, std::ostream& err,
                    ImportSummary* summary = nullptr);
