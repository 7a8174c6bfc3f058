#include "QstImporter.h"

#include "Cp1252.h"
#include "CsvSource.h"
#include "Difficulty.h"
#include "OtdbSource.h"
#include "OutputPath.h"
#include "QstFile.h"
#include "QstScanner.h"
#include "QstText.h"
#include "QuestionRecord.h"
#include "RowChecker.h"
#include "SaveFile.h"
#include "TextSource.h"

#include <cerrno>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* Me = "trivora-qst: ";

std::string lowerExtension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return ext;
}

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The marks file of a set being appended to, read a line at a time as the set's records go
// by, so that memory does not grow with the set.
class OldMarks {
public:
    OldMarks() = default;
    OldMarks(const OldMarks&) = delete;
    OldMarks& operator=(const OldMarks&) = delete;
    ~OldMarks() {
        if (fd >= 0) ::close(fd);
    }

    // Opens the file; a set without one has no marks to read. False with the reason in
    // error when it cannot be read.
    bool open(const std::string& marksPath, std::string& error) {
        path = marksPath;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return true;
        std::int64_t size = 0;
        bool notRegular = false;
        if (!QstText::openRegularFile(path, fd, size, error, notRegular)) return false;
        if (static_cast<std::uint64_t>(size) > MaxSourceBytes) {
            error = path + ": too large (" + std::to_string(size) + " bytes, at most " +
                    std::to_string(MaxSourceBytes) + ")";
            return false;
        }
        return true;
    }

    // The mark on the next line. False at the end of the file, with error empty, or with
    // the reason in error when the file cannot be read or is not a marks file.
    bool next(QuestionMark& mark, std::string& error) {
        for (;;) {
            const std::size_t end = buffer.find('\n', searched);
            if (end != std::string::npos) {
                ++number;
                const std::string_view line(buffer.data() + at, end - at);
                at = searched = end + 1;
                if (parseMarkLine(line, number, mark, error)) return true;
                error = path + ": not a marks file (" + error + ")";
                return false;
            }
            searched = buffer.size();
            if (fd < 0) {
                if (at < buffer.size())
                    error = path + ": not a marks file (line " + std::to_string(number + 1) +
                            ": no line end)";
                return false;
            }
            if (!readMore(error)) return false;
        }
    }

private:
    // Reads the next bytes after the line begun, or finds the end of the file.
    bool readMore(std::string& error) {
        buffer.erase(0, at);
        searched -= at;
        at = 0;
        char chunk[65536];
        ssize_t got = 0;
        do
            got = ::read(fd, chunk, sizeof chunk);
        while (got < 0 && errno == EINTR);
        if (got < 0) {
            error = path + ": " + std::strerror(errno);
            return false;
        }
        bytesRead += static_cast<std::size_t>(got);
        if (bytesRead > MaxSourceBytes) {
            error = path + ": too large (more than " + std::to_string(MaxSourceBytes) + " bytes)";
            return false;
        }
        if (got == 0) {
            ::close(fd);
            fd = -1;
        }
        buffer.append(chunk, static_cast<std::size_t>(got));
        return true;
    }

    std::string path;
    int fd = -1;
    std::size_t bytesRead = 0;
    // Bytes read and not yet taken: lines from at on, searched for a line end up to searched.
    std::string buffer;
    std::size_t at = 0;
    std::size_t searched = 0;
    std::size_t number = 0;
};

} // namespace

SourceFormat formatOfSource(const std::string& path, SourceFormat from) {
    if (from != SourceFormat::Auto) return from;
    const std::string ext = lowerExtension(path);
    if (ext == "csv") return SourceFormat::Csv;
    if (ext == "json") return SourceFormat::Json;
    if (ext == "txt") return SourceFormat::Text;
    return SourceFormat::Auto;
}

SourceError readSource(const std::string& path, SourceFormat from, SourceSink& sink) {
    const SourceFormat format = formatOfSource(path, from);
    if (format == SourceFormat::Auto)
        return {"cannot tell the format from the name (use .csv, .json or .txt, or --from)", 0};
    std::string text;
    std::string error;
    if (QstText::readWholeFile(path, text, error, MaxSourceBytes) != QstText::Read::Read) {
        // readWholeFile names the file itself; keep only the reason.
        if (error.starts_with(path + ": ")) error.erase(0, path.size() + 2);
        return {error, 0};
    }
    if (QstText::EncodingFault fault = QstText::mixedEncoding(text); fault.line)
        return {std::move(fault.reason), fault.line};
    QstText::decodeInPlace(text);
    switch (format) {
    case SourceFormat::Csv:
        return parseCsvSource(text, sink);
    case SourceFormat::Json:
        return parseOtdbSource(text, sink);
    case SourceFormat::Text:
        parseTextSource(text, sink);
        return {};
    case SourceFormat::Auto:
        break;
    }
    return {};
}

ParsedSource readSource(const std::string& path, SourceFormat from) {
    CollectingSink sink;
    SourceError error = readSource(path, from, sink);
    return sink.finish(std::move(error));
}

void reportRejectedSource(const std::string& source, const SourceError& error, std::ostream& err) {
    err << source << ":";
    if (error.line) err << error.line << ":";
    err << " error: " << error.text << "\n";
}

namespace {

// What an import writes, each through a temporary file that only a run without fault puts
// in place: the set, and beside it the marks file, one line per record after the header in
// step with the set. Nothing is written on a dry run.
class ImportOutput {
public:
    explicit ImportOutput(bool writing) : writing(writing) {}

    // Opens both temporary files; false with the message in error.
    bool open(const std::string& setPath, std::string& error) {
        if (!writing) return true;
        if (!set.open(setPath)) {
            error = set.errorText();
            return false;
        }
        if (!marks.open(marksPathOf(setPath))) {
            error = marks.errorText() + "; nothing written";
            return false;
        }
        return true;
    }

    void header(std::string_view recordBytes) {
        if (writing) set.write(recordBytes);
    }

    // One question's record and its mark.
    void question(std::string_view recordBytes, Difficulty mark, std::string_view question) {
        anyMark = anyMark || mark != Difficulty::None;
        if (!writing) return;
        set.write(recordBytes);
        marks.write(markLine(mark, question));
    }

    // Whether any question written carries a mark, so that the marks file is worth keeping.
    bool hasMarks() const { return anyMark; }

    SaveFile set;
    SaveFile marks;

private:
    bool writing;
    bool anyMark = false;
};

// The topic the rows taken name (an exported set names its own on every row): one when they
// all name the same, none when any names another or none.
class RowTopics {
public:
    void take(const std::string& topic) {
        if (rows++ == 0)
            common = topic;
        else if (topic != common)
            differ = true;
    }
    std::string topic() const { return differ ? std::string() : common; }
    bool mixed() const { return differ; }

private:
    std::size_t rows = 0;
    std::string common;
    bool differ = false;
};

std::string_view bytesOf(const std::uint8_t* bytes, std::size_t size) {
    return {reinterpret_cast<const char*>(bytes), size};
}

// Takes the rows of one source as they are read: reports each skipped row, checks the
// others and hands every record taken, with its mark, to the set being written.
class ImportSink : public SourceSink {
public:
    ImportSink(const std::string& source, RowChecker& checker, ImportOutput& out, std::ostream& err,
               ImportSummary& sum, RowTopics& topics)
        : source(source), checker(checker), out(out), err(err), sum(sum), topics(topics) {}

    void take(SourceRow&& row) override {
        QuestionRecord record;
        const std::string why = checker.check(row, source, record);
        if (!why.empty()) {
            report(row.line, why);
            return;
        }
        topics.take(row.topic);
        ++sum.imported;
        const auto bytes = record.encode();
        out.question(bytesOf(bytes.data(), bytes.size()), row.mark, record.question);
    }
    void skip(std::size_t line, std::string&& reason) override { report(line, reason); }

private:
    void report(std::size_t line, const std::string& why) {
        err << source << ":" << line << ": skipped: " << why << "\n";
        ++sum.skipped;
    }

    const std::string& source;
    RowChecker& checker;
    ImportOutput& out;
    std::ostream& err;
    ImportSummary& sum;
    RowTopics& topics;
};

} // namespace

int importQuestions(const ImportOptions& options, std::ostream& err, ImportSummary* summary) {
    ImportSummary local;
    ImportSummary& sum = summary ? *summary : local;
    sum = {};
    if (options.sources.empty()) {
        err << Me << "import: no source files given\n";
        return 2;
    }
    if (options.m_output.empty() && !options.dryRun) {
        err << Me << "import: no output set given (-o FILE)\n";
        return 2;
    }
    for (const auto& source : options.sources) {
        if (formatOfSource(source, options.from) == SourceFormat::Auto) {
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

    std::string title;
    if (char32_t bad = 0; !Cp1252::fromUtf8(options.title, title, &bad)) {
        err << Me << "the topic holds a character Windows-1252 cannot hold ("
            << QstText::codePointName(bad) << ")\n";
        return 2;
    }
    if (title.size() > QuestionRecord::Capacity) {
        err << Me << "the topic is longer than 75 characters\n";
        return 2;
    }

    // A set reached through a link is written where the link points, and so are its marks.
    std::string output = options.m_output;
    if (char* resolved = output.empty() ? nullptr : ::realpath(output.c_str(), nullptr)) {
        struct stat link {};
        if (::lstat(output.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) output = resolved;
        std::free(resolved);
    }
    if (const std::string why = brokenLinkRefusal(output); !why.empty()) {
        err << Me << why << "\n";
        return 1;
    }
    struct stat outStat {};
    const bool outputExists = !output.empty() && ::stat(output.c_str(), &outStat) == 0;
    if (outputExists && !S_ISREG(outStat.st_mode)) {
        err << Me << output << ": output is not a regular file\n";
        return 1;
    }
    if (outputExists)
        for (const auto& source : options.sources) {
            struct stat st {};
            if (::stat(source.c_str(), &st) == 0 && st.st_dev == outStat.st_dev &&
                st.st_ino == outStat.st_ino) {
                err << Me << output << ": output is the same file as the source " << source << "\n";
                return 1;
            }
        }

    // A file of another kind under the set's name (a CSV, a marks file, a document) is not
    // written over: only a question set is replaced.
    if (outputExists && !options.append && outStat.st_size > 0) {
        constexpr ReaderRuleSet HeaderRules{1, "", "", QstFile::Access::Read};
        if (checkQuestionFile(output, HeaderRules).status != QstCheck::Accepted) {
            err << Me << output
                << ": exists and is not a question set; it is left as it is (remove it first "
                   "or choose another name)\n";
            return 1;
        }
    }
    // Writers of an existing set take turns: the set's other writers (the editor, another
    // import) wait until this one has read the set and renamed the new file over it.
    QstFile writersLock;
    if (outputExists && !options.dryRun &&
        !writersLock.openLocked(output, QstFile::Access::Read, -1)) {
        err << Me << writersLock.errorText() << "\n";
        return 1;
    }

    RowChecker checker;
    QstScanner existing;
    const bool appending = options.append && outputExists;
    // The new set is written as the rows are read.
    ImportOutput out(!options.dryRun);
    if (std::string why; !out.open(output, why)) {
        err << Me << why << "\n";
        return 1;
    }
    if (appending) {
        constexpr ReaderRuleSet AppendRules{1, "", "", QstFile::Access::Read};
        const QstCheckResult check = checkQuestionFile(output, AppendRules);
        if (check.status != QstCheck::Accepted) {
            err << Me << output << ": not a question set to append to ("
                << (check.recordCount < 1 ? "shorter than one record" : "its header is damaged")
                << (check.errorText.empty() ? "" : "; " + check.errorText) << ")\n";
            return 1;
        }
        // Copy the set as it is with the marks kept for its questions (each while it still
        // belongs to its record), and learn its questions for the duplicate check.
        OldMarks oldMarks;
        std::string why;
        if (!oldMarks.open(marksPathOf(output), why)) {
            err << Me << why << "; nothing written\n";
            return 1;
        }
        if (!existing.open(output)) {
            err << Me << existing.errorText() << "\n";
            return 1;
        }
        bool marksLeft = true;
        QuestionMark old;
        while (const std::uint8_t* bytes = existing.next()) {
            const std::string_view recordBytes = bytesOf(bytes, QuestionRecord::Size);
            if (existing.index() == 0) {
                out.header(recordBytes);
                continue;
            }
            const std::string question = QuestionRecord::decode(bytes).question;
            checker.remember(question, output, existing.index());
            marksLeft = marksLeft && oldMarks.next(old, why);
            const bool kept = marksLeft && old.question == markedQuestionText(question);
            out.question(recordBytes, kept ? old.mark : Difficulty::None, question);
        }
        if (!existing.errorText().empty()) {
            err << Me << existing.errorText() << "; nothing written\n";
            return 1;
        }
        // Lines for records the set no longer holds are dropped, but a marks file of another
        // shape is never written over.
        while (marksLeft && oldMarks.next(old, why)) {
        }
        if (!why.empty()) {
            err << Me << why << "; nothing written\n";
            return 1;
        }
        sum.existing = static_cast<std::size_t>(existing.recordCount() - 1);
        if (!options.dryRun && existing.trailingBytes() > 0)
            err << Me << "note: " << output << " ended in " << existing.trailingBytes()
                << " bytes after its last whole record; they are dropped\n";
    } else {
        QuestionRecord header = QuestionRecord::header();
        header.answer = title;
        const auto bytes = header.encode();
        out.header(bytesOf(bytes.data(), bytes.size()));
    }

    bool rejected = false;
    RowTopics topics;
    for (const auto& source : options.sources) {
        ImportSink sink(source, checker, out, err, sum, topics);
        const SourceError error = readSource(source, options.from, sink);
        if (error) {
            reportRejectedSource(source, error, err);
            rejected = true;
        }
    }

    if (rejected) {
        err << Me << "input rejected; nothing written\n";
        return 1;
    }
    if (options.strict && sum.skipped > 0) {
        err << Me << plural(sum.skipped, "row", "rows")
            << " skipped; nothing written (every row must be taken with --strict)\n";
        return 1;
    }
    if (sum.imported == 0) {
        err << Me << "no question could be taken; nothing written\n";
        return 1;
    }
    // A set replaced by an import loses nothing it held: questions the import cannot take
    // would be gone with the old set.
    if (outputExists && !appending && sum.skipped > 0 && !options.dryRun) {
        err << Me << plural(sum.skipped, "row", "rows") << " skipped; " << output
            << " is left as it was (an import over an existing set takes every row or "
               "nothing: mend the rows, or import into a new file)\n";
        return 1;
    }
    // A new set names the topic its rows name, as an export of a set by topic gives them.
    if (!appending && options.title.empty()) {
        std::string topic;
        char32_t bad = 0;
        if (const std::string named = topics.topic(); !named.empty()) {
            if (!Cp1252::fromUtf8(named, topic, &bad) || topic.size() > QuestionRecord::Capacity) {
                err << Me << "note: the topic \"" << named
                    << "\" does not fit a set's header (at most 75 Windows-1252 characters); "
                       "the set names no topic\n";
                topic.clear();
            }
        } else if (topics.mixed()) {
            err << Me << "note: the rows name different topics; the set names no topic\n";
        }
        if (!topic.empty()) {
            QuestionRecord header = QuestionRecord::header();
            header.answer = topic;
            const auto bytes = header.encode();
            if (!options.dryRun) out.set.overwriteStart(bytesOf(bytes.data(), bytes.size()));
        }
    }
    if (options.dryRun) {
        err << Me << "dry run: " << plural(sum.imported, "question", "questions") << " would be "
            << (appending ? "appended" : "written") << ", " << plural(sum.skipped, "row", "rows")
            << " skipped; nothing written\n";
        return 0;
    }

    // The set first, then its marks: marks never stand beside a set they do not describe.
    if (!out.set.commit()) {
        err << Me << out.set.errorText() << "; nothing written\n";
        return 1;
    }
    err << Me << (appending ? "appended " : "wrote ")
        << plural(sum.imported, "question", "questions") << " to " << output;
    if (appending) err << " (now " << sum.existing + sum.imported << ")";
    err << ", " << plural(sum.skipped, "row", "rows") << " skipped\n";

    const std::string marksPath = marksPathOf(output);
    if (out.hasMarks()) {
        if (!out.marks.commit()) {
            err << Me << out.marks.errorText() << "; the set was written without its marks\n";
            return 1;
        }
        err << Me << "wrote the difficulty marks to " << marksPath << "\n";
    } else if (::unlink(marksPath.c_str()) == 0) {
        // A marks file from before would describe questions the set no longer holds.
        err << Me << "removed " << marksPath
            << ": the questions written carry no difficulty marks\n";
    } else if (errno != ENOENT) {
        err << Me << marksPath
            << ": cannot remove the marks of the set written before: " << std::strerror(errno)
            << "\n";
        return 1;
    }
    return 0;
}
