#pragma once

#include "ParsedSource.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

enum class TSourceFormat { Auto, Csv, Json, Text };

struct TImportOptions {
    std::vector<std::string> Sources;
    // The question set to write; may be empty only for a dry run.
    std::string Output;
    // Auto picks each source's format by its extension (.csv, .json, .txt).
    TSourceFormat From = TSourceFormat::Auto;
    // Add to the end of an existing set instead of replacing it.
    bool Append = false;
    // Check and report only; write nothing.
    bool DryRun = false;
    // Any skipped row fails the run, and nothing is written.
    bool Strict = false;
    // The topic a new set's header names (in its answer field), UTF-8; empty for none.
    std::string Title{};
};

struct TImportSummary {
    std::size_t Imported = 0;
    std::size_t Skipped = 0;
    // Questions the set held before (with Append).
    std::size_t Existing = 0;
};

// The format a source is read in: the given one, or by extension; Auto when unknown.
TSourceFormat FormatOfSource(const std::string& path, TSourceFormat from);

// The largest source file read, in bytes.
inline constexpr std::size_t MaxSourceBytes = std::size_t{256} << 20;

// Reads one source file in the given format (Auto: by extension), handing its rows to sink
// as they are read; the result says whether the file was rejected as a whole.
SourceError ReadSource(const std::string& path, TSourceFormat from, SourceSink& sink);
// The same, collected at once.
TParsedSource ReadSource(const std::string& path, TSourceFormat from);

// Reports a source rejected as a whole: "file:line: error: reason" (no line when the fault
// concerns the whole file).
void ReportRejectedSource(const std::string& source, const SourceError& error, std::ostream& err);

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
int ImportQuestions(const TImportOptions& options, std::ostream& err,
                    TImportSummary* summary = nullptr);
