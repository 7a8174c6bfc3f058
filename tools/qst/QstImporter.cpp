#include "QstImporter.h"

#include "CsvSource.h"
#include "OtdbSource.h"
#include "QstFile.h"
#include "QstScanner.h"
#include "QstText.h"
#include "QuestionRecord.h"
#include "RowChecker.h"
#include "SaveFile.h"
#include "TextSource.h"

#include <sys/stat.h>

namespace {

constexpr const char* Me = "trivora-qst: ";

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return ext;
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

TSourceFormat FormatOfSource(const std::string& path, TSourceFormat from) {
    if (from != TSourceFormat::Auto) return from;
    const std::string ext = LowerExtension(path);
    if (ext == "csv") return TSourceFormat::Csv;
    if (ext == "json") return TSourceFormat::Json;
    if (ext == "txt") return TSourceFormat::Text;
    return TSourceFormat::Auto;
}

SourceError ReadSource(const std::string& path, TSourceFormat from, SourceSink& sink) {
    const TSourceFormat format = FormatOfSource(path, from);
    if (format == TSourceFormat::Auto)
        return {"cannot tell the format from the name (use .csv, .json or .txt, or --from)", 0};
    std::string text;
    std::string error;
    if (QstText::ReadWholeFile(path, text, error, MaxSourceBytes) != QstText::TRead::Read) {
        // ReadWholeFile names the file itself; keep only the reason.
        if (error.starts_with(path + ": ")) error.erase(0, path.size() + 2);
        return {error, 0};
    }
    QstText::DecodeInPlace(text);
    switch (format) {
    case TSourceFormat::Csv:
        return ParseCsvSource(text, sink);
    case TSourceFormat::Json:
        return ParseOtdbSource(text, sink);
    case TSourceFormat::Text:
        ParseTextSource(text, sink);
        return {};
    case TSourceFormat::Auto:
        break;
    }
    return {};
}

TParsedSource ReadSource(const std::string& path, TSourceFormat from) {
    CollectingSink sink;
    SourceError error = ReadSource(path, from, sink);
    return sink.finish(std::move(error));
}

namespace {

// Takes the rows of one source as they are read: reports each skipped row, checks the
// others and hands every record taken to the set being written.
class ImportSink : public SourceSink {
public:
    ImportSink(const std::string& source, TRowChecker& checker, SaveFile* out, std::ostream& err,
               TImportSummary& sum)
        : source(source), checker(checker), out(out), err(err), sum(sum) {}

    void take(TSourceRow&& row) override {
        TQuestionRecord record;
        const std::string why = checker.Check(row, source, record);
        if (!why.empty()) {
            report(row.Line, why);
            return;
        }
        ++sum.Imported;
        if (out) {
            const auto bytes = record.Encode();
            out->write({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        }
    }
    void skip(std::size_t line, std::string&& reason) override { report(line, reason); }

private:
    void report(std::size_t line, const std::string& why) {
        err << source << ":" << line << ": skipped: " << why << "\n";
        ++sum.Skipped;
    }

    const std::string& source;
    TRowChecker& checker;
    SaveFile* out;
    std::ostream& err;
    TImportSummary& sum;
};

} // namespace

int ImportQuestions(const TImportOptions& options, std::ostream& err, TImportSummary* summary) {
    TImportSummary local;
    TImportSummary& sum = summary ? *summary : local;
    sum = {};
    if (options.Sources.empty()) {
        err << Me << "import: no source files given\n";
        return 2;
    }
    if (options.Output.empty() && !options.DryRun) {
        err << Me << "import: no output set given (-o FILE)\n";
        return 2;
    }
    for (const auto& source : options.Sources) {
        if (FormatOfSource(source, options.From) == TSourceFormat::Auto) {
            err << Me << source
                << ": cannot tell the format from the name (use .csv, .json or .txt, or --from)\n";
            return 2;
        }
        // Only regular files are read: a pipe or a device is refused before it is opened.
        struct stat st {};
        if (::stat(source.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            err << Me << source
                << (S_ISDIR(st.st_mode) ? ": is a folder\n" : ": not a regular file\n");
            return 2;
        }
    }

    const std::string& output = options.Output;
    struct stat outStat {};
    const bool outputExists = !output.empty() && ::stat(output.c_str(), &outStat) == 0;
    if (outputExists && !S_ISREG(outStat.st_mode)) {
        err << Me << output << ": output is not a regular file\n";
        return 1;
    }
    if (outputExists)
        for (const auto& source : options.Sources) {
            struct stat st {};
            if (::stat(source.c_str(), &st) == 0 && st.st_dev == outStat.st_dev &&
                st.st_ino == outStat.st_ino) {
                err << Me << output << ": output is the same file as the source " << source << "\n";
                return 1;
            }
        }

    TRowChecker checker;
    TQstScanner existing;
    const bool appending = options.Append && outputExists;
    // The new set is written as the rows are read, to a temporary file that only a run
    // without fault puts in place.
    SaveFile file;
    SaveFile* out = options.DryRun ? nullptr : &file;
    if (out && !out->open(output)) {
        err << Me << out->errorText() << "\n";
        return 1;
    }
    if (appending) {
        constexpr TReaderRules AppendRules{1, "", "", TQstFile::TAccess::Read};
        const TQstCheckResult check = CheckQuestionFile(output, AppendRules);
        if (check.Status != TQstCheck::Accepted) {
            err << Me << output << ": not a question set to append to ("
                << (check.RecordCount < 1 ? "shorter than one record" : "its header is damaged")
                << (check.ErrorText.empty() ? "" : "; " + check.ErrorText) << ")\n";
            return 1;
        }
        // Copy the set as it is, and learn its questions for the duplicate check.
        if (!existing.Open(output)) {
            err << Me << existing.ErrorText() << "\n";
            return 1;
        }
        while (const std::uint8_t* bytes = existing.Next()) {
            if (existing.Index() > 0)
                checker.Remember(TQuestionRecord::Decode(bytes).Question, output, existing.Index());
            if (out) out->write({reinterpret_cast<const char*>(bytes), TQuestionRecord::Size});
        }
        if (!existing.ErrorText().empty()) {
            err << Me << existing.ErrorText() << "; nothing written\n";
            return 1;
        }
        sum.Existing = static_cast<std::size_t>(existing.RecordCount() - 1);
        if (out && existing.TrailingBytes() > 0)
            err << Me << "note: " << output << " ended in " << existing.TrailingBytes()
                << " bytes after its last whole record; they are dropped\n";
    } else if (out) {
        const auto header = TQuestionRecord::Header().Encode();
        out->write({reinterpret_cast<const char*>(header.data()), header.size()});
    }

    bool rejected = false;
    for (const auto& source : options.Sources) {
        ImportSink sink(source, checker, out, err, sum);
        const SourceError error = ReadSource(source, options.From, sink);
        if (error) {
            err << source << ":";
            if (error.line) err << error.line << ":";
            err << " error: " << error.text << "\n";
            rejected = true;
        }
    }

    if (rejected) {
        err << Me << "input rejected; nothing written\n";
        return 1;
    }
    if (options.Strict && sum.Skipped > 0) {
        err << Me << Plural(sum.Skipped, "row", "rows")
            << " skipped; nothing written (every row must be taken with --strict)\n";
        return 1;
    }
    if (sum.Imported == 0) {
        err << Me << "no question could be taken; nothing written\n";
        return 1;
    }
    if (options.DryRun) {
        err << Me << "dry run: " << Plural(sum.Imported, "question", "questions") << " would be "
            << (appending ? "appended" : "written") << ", " << Plural(sum.Skipped, "row", "rows")
            << " skipped; nothing written\n";
        return 0;
    }
    if (!out->commit()) {
        err << Me << out->errorText() << "; nothing written\n";
        return 1;
    }
    err << Me << (appending ? "appended " : "wrote ")
        << Plural(sum.Imported, "question", "questions") << " to " << output;
    if (appending) err << " (now " << sum.Existing + sum.Imported << ")";
    err << ", " << Plural(sum.Skipped, "row", "rows") << " skipped\n";
    return 0;
}
