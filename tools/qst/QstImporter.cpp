#include "QstImporter.h"

#include "AtomicFile.h"
#include "Cp1252.h"
#include "CsvSource.h"
#include "Difficulty.h"
#include "OtdbSource.h"
#include "QstFile.h"
#include "QstScanner.h"
#include "QstText.h"
#include "QuestionRecord.h"
#include "RowChecker.h"
#include "TextSource.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t MaxSourceBytes = std::size_t{512} << 20;
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

// Reads the marks file of a set being appended to; nothing when there is none.
bool ReadOldMarks(const std::string& path, std::vector<QuestionMark>& marks, std::string& error) {
    marks.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return true;
    std::string bytes;
    if (!QstText::ReadWholeFile(path, bytes, error, MaxSourceBytes)) return false;
    if (!parseMarks(bytes, marks, error)) {
        error = path + ": not a marks file (" + error + ")";
        return false;
    }
    return true;
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

TParsedSource ReadSource(const std::string& path, TSourceFormat from) {
    TParsedSource out;
    const TSourceFormat format = FormatOfSource(path, from);
    if (format == TSourceFormat::Auto) {
        out.Error = "cannot tell the format from the name (use .csv, .json or .txt, or --from)";
        return out;
    }
    std::string bytes;
    if (!QstText::ReadWholeFile(path, bytes, out.Error, MaxSourceBytes)) {
        // ReadWholeFile names the file itself; keep only the reason.
        if (out.Error.starts_with(path + ": ")) out.Error.erase(0, path.size() + 2);
        return out;
    }
    const std::string text = QstText::DecodeInput(bytes);
    switch (format) {
    case TSourceFormat::Csv:
        return ParseCsvSource(text);
    case TSourceFormat::Json:
        return ParseOtdbSource(text);
    case TSourceFormat::Text:
        return ParseTextSource(text);
    case TSourceFormat::Auto:
        break;
    }
    return out;
}

void ReportRejectedSource(const std::string& source, const TParsedSource& parsed,
                          std::ostream& err) {
    err << source << ":";
    if (parsed.ErrorLine) err << parsed.ErrorLine << ":";
    err << " error: " << parsed.Error << "\n";
}

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
    for (const auto& source : options.Sources)
        if (FormatOfSource(source, options.From) == TSourceFormat::Auto) {
            err << Me << source
                << ": cannot tell the format from the name (use .csv, .json or .txt, or --from)\n";
            return 2;
        }

    std::string title;
    if (char32_t bad = 0; !Cp1252::FromUtf8(options.Title, title, &bad)) {
        err << Me << "the topic holds a character Windows-1252 cannot hold ("
            << QstText::CodePointName(bad) << ")\n";
        return 2;
    }
    if (title.size() > TQuestionRecord::Capacity) {
        err << Me << "the topic is longer than 75 characters\n";
        return 2;
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

    // Writers of an existing set take turns: the set's other writers (the editor, another
    // import) wait until this one has read the set and renamed the new file over it.
    TQstFile writersLock;
    if (outputExists && !options.DryRun &&
        !writersLock.OpenLocked(output, TQstFile::TAccess::Read, -1)) {
        err << Me << writersLock.ErrorText() << "\n";
        return 1;
    }

    TRowChecker checker;
    TQstScanner existing;
    const bool appending = options.Append && outputExists;
    // The questions already in the set, and the marks kept for them so far.
    std::vector<std::string> existingQuestions;
    std::vector<QuestionMark> oldMarks;
    if (appending) {
        constexpr TReaderRules AppendRules{1, "", "", TQstFile::TAccess::Read};
        const TQstCheckResult check = CheckQuestionFile(output, AppendRules);
        if (check.Status != TQstCheck::Accepted) {
            err << Me << output << ": not a question set to append to ("
                << (check.RecordCount < 1 ? "shorter than one record" : "its header is damaged")
                << (check.ErrorText.empty() ? "" : "; " + check.ErrorText) << ")\n";
            return 1;
        }
        // Learn the questions already in the set, for the duplicate check.
        TQstScanner scan;
        if (!scan.Open(output)) {
            err << Me << scan.ErrorText() << "\n";
            return 1;
        }
        while (const std::uint8_t* bytes = scan.Next())
            if (scan.Index() > 0) {
                existingQuestions.push_back(TQuestionRecord::Decode(bytes).Question);
                checker.Remember(existingQuestions.back(), output, scan.Index());
            }
        if (!scan.ErrorText().empty()) {
            err << Me << scan.ErrorText() << "\n";
            return 1;
        }
        sum.Existing = static_cast<std::size_t>(scan.RecordCount() - 1);
        std::string why;
        if (!ReadOldMarks(marksPathOf(output), oldMarks, why)) {
            err << Me << why << "; nothing written\n";
            return 1;
        }
    }

    std::vector<TQuestionRecord> records;
    std::vector<Difficulty> recordMarks;
    bool rejected = false;
    for (const auto& source : options.Sources) {
        const TParsedSource parsed = ReadSource(source, options.From);
        if (!parsed.Error.empty()) {
            ReportRejectedSource(source, parsed, err);
            rejected = true;
            continue;
        }
        checker.Reserve(sum.Existing + records.size() + parsed.Rows.size());
        records.reserve(records.size() + parsed.Rows.size());
        recordMarks.reserve(records.capacity());
        // Rows and problems in line order, so that the report reads down the file.
        std::size_t s = 0;
        auto reportSkipsBefore = [&](std::size_t line) {
            for (; s < parsed.Skipped.size() && parsed.Skipped[s].Line <= line; ++s) {
                err << source << ":" << parsed.Skipped[s].Line
                    << ": skipped: " << parsed.Skipped[s].Reason << "\n";
                ++sum.Skipped;
            }
        };
        for (const TSourceRow& row : parsed.Rows) {
            reportSkipsBefore(row.Line);
            TQuestionRecord record;
            const std::string why = checker.Check(row, source, record);
            if (!why.empty()) {
                err << source << ":" << row.Line << ": skipped: " << why << "\n";
                ++sum.Skipped;
                continue;
            }
            records.push_back(std::move(record));
            recordMarks.push_back(row.Mark);
        }
        reportSkipsBefore(static_cast<std::size_t>(-1));
    }
    sum.Imported = records.size();

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

    TAtomicFile out;
    if (!out.Begin(output)) {
        err << Me << out.ErrorText() << "\n";
        return 1;
    }
    if (appending) {
        if (!existing.Open(output)) {
            err << Me << existing.ErrorText() << "\n";
            return 1;
        }
        while (const std::uint8_t* bytes = existing.Next())
            if (!out.Write({reinterpret_cast<const char*>(bytes), TQuestionRecord::Size})) break;
        if (!existing.ErrorText().empty()) {
            err << Me << existing.ErrorText() << "; nothing written\n";
            return 1;
        }
        if (existing.TrailingBytes() > 0)
            err << Me << "note: " << output << " ended in " << existing.TrailingBytes()
                << " bytes after its last whole record; they are dropped\n";
    } else {
        TQuestionRecord header = TQuestionRecord::Header();
        header.Answer = title;
        const auto bytes = header.Encode();
        out.Write({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }
    for (const TQuestionRecord& record : records) {
        const auto bytes = record.Encode();
        if (!out.Write({reinterpret_cast<const char*>(bytes.data()), bytes.size()})) break;
    }
    if (!out.ErrorText().empty()) {
        err << Me << out.ErrorText() << "; nothing written\n";
        return 1;
    }

    // The marks of the whole set: those kept for the questions already there (while each
    // still belongs to its record), then those of the new questions.
    std::vector<QuestionMark> marks;
    marks.reserve(existingQuestions.size() + records.size());
    bool anyMark = false;
    for (std::size_t i = 0; i < existingQuestions.size(); ++i) {
        QuestionMark m{Difficulty::None, existingQuestions[i]};
        if (i < oldMarks.size() && oldMarks[i].question == markedQuestionText(m.question))
            m.mark = oldMarks[i].mark;
        anyMark = anyMark || m.mark != Difficulty::None;
        marks.push_back(std::move(m));
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        marks.push_back({recordMarks[i], records[i].Question});
        anyMark = anyMark || recordMarks[i] != Difficulty::None;
    }
    const std::string marksPath = marksPathOf(output);
    TAtomicFile marksOut;
    if (anyMark && (!marksOut.Begin(marksPath) || !marksOut.Write(formatMarks(marks)))) {
        err << Me << marksOut.ErrorText() << "; nothing written\n";
        return 1;
    }

    if (!out.Commit()) {
        err << Me << out.ErrorText() << "; nothing written\n";
        return 1;
    }
    err << Me << (appending ? "appended " : "wrote ")
        << Plural(sum.Imported, "question", "questions") << " to " << output;
    if (appending) err << " (now " << sum.Existing + sum.Imported << ")";
    err << ", " << Plural(sum.Skipped, "row", "rows") << " skipped\n";

    if (anyMark) {
        if (!marksOut.Commit()) {
            err << Me << marksOut.ErrorText() << "; the set was written without its marks\n";
            return 1;
        }
        err << Me << "wrote the difficulty marks to " << marksPath << "\n";
    } else if (::unlink(marksPath.c_str()) != 0 && errno != ENOENT) {
        // A marks file from before would describe questions the set no longer holds.
        err << Me << marksPath
            << ": cannot remove the marks of the set written before: " << std::strerror(errno)
            << "\n";
        return 1;
    }
    return 0;
}
