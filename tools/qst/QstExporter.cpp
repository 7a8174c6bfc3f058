#include "QstExporter.h"

#include "Cp1252.h"
#include "CsvField.h"
#include "Difficulty.h"
#include "HtmlEntities.h"
#include "QstInspector.h"
#include "QstScanner.h"
#include "QstText.h"
#include "QuestionRecord.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr std::size_t MaxMarksBytes = std::size_t{256} << 20;

constexpr std::size_t FlushSize = 64 << 10;

// The difficulty marks beside a set, so that an export carries them; none when the set has
// no marks file. A marks file that cannot be read is said, and the export goes on without it.
std::vector<QuestionMark> marksBeside(const std::string& setPath, std::ostream& err) {
    std::vector<QuestionMark> marks;
    const std::string path = marksPathOf(setPath);
    if (struct stat st {}; ::stat(path.c_str(), &st) != 0 && errno == ENOENT) return marks;
    std::string text;
    std::string error;
    if (QstText::readWholeFile(path, text, error, MaxMarksBytes) != QstText::Read::Read) {
        err << "trivora-qst: note: the difficulty marks are not exported (" << error << ")\n";
        return marks;
    }
    if (!parseMarks(text, marks, error)) {
        err << "trivora-qst: note: the difficulty marks are not exported (" << path << ": "
            << error << ")\n";
        marks.clear();
    }
    return marks;
}

bool anyMark(const std::vector<QuestionMark>& marks) {
    for (const QuestionMark& m : marks)
        if (m.mark != Difficulty::None) return true;
    return false;
}

void appendJsonString(std::string& out, const std::string& utf8) {
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (b < 0x20) {
                out += "\\u00";
                out += Hex[b >> 4];
                out += Hex[b & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace

int exportQuestions(const std::string& path, ExportFormat format, std::ostream& out,
                    std::ostream& err) {
    return exportQuestions(
        path, format,
        [&out](std::string_view text) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            return bool(out);
        },
        err);
}

int exportQuestions(const std::string& path, ExportFormat format, const TextSink& out,
                    std::ostream& err) {
    QstScanner scan;
    if (!scan.open(path)) {
        err << "trivora-qst: " << scan.errorText() << "\n";
        return scan.notRegular() ? 2 : 1;
    }
    const std::uint8_t* bytes = scan.next();
    if (!bytes || !QuestionRecord::decode(bytes).isHeader()) {
        err << "trivora-qst: " << path << ": not a question set ("
            << (bytes ? "its header is damaged" : "shorter than one record") << ")\n";
        return 1;
    }
    // What the set holds beside its questions goes with them, so that an import gives the
    // same set back: the topic its header names and the marks beside it.
    const std::string rawTopic = QuestionRecord::decode(bytes).answer;
    const bool printable = std::none_of(rawTopic.begin(), rawTopic.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    const std::string topic = printable ? Cp1252::toUtf8(rawTopic) : std::string();
    const std::vector<QuestionMark> marks = marksBeside(path, err);
    const bool withMarks = anyMark(marks);
    std::string text;
    text.reserve(FlushSize + 4096);
    if (format == ExportFormat::Csv) {
        text += "question,answer,wrong1,wrong2,wrong3";
        if (withMarks) text += ",difficulty";
        if (!topic.empty()) text += ",topic";
        text += '\n';
    } else {
        text += "{\"response_code\":0,\"results\":[";
    }
    bool first = true;
    std::size_t marksLost = 0;
    while ((bytes = scan.next())) {
        for (const auto& problem : recordProblems(scan.index(), bytes))
            err << path << ": " << problem << "\n";
        const QuestionRecord record = QuestionRecord::decode(bytes);
        // A mark belongs to its record while the record still holds the question it was
        // written for.
        const auto at = static_cast<std::size_t>(scan.index() - 1);
        Difficulty mark = Difficulty::None;
        if (at < marks.size() && marks[at].question == markedQuestionText(record.question))
            mark = marks[at].mark;
        else if (withMarks && at < marks.size() && marks[at].mark != Difficulty::None)
            ++marksLost;
        if (format == ExportFormat::Csv) {
            for (std::size_t f = 0; f < QuestionRecord::FieldCount; ++f) {
                if (f) text += ',';
                Csv::appendField(text, Cp1252::toUtf8(record.field(f)));
            }
            if (withMarks) {
                text += ',';
                text += difficultyName(mark);
            }
            if (!topic.empty()) {
                text += ',';
                Csv::appendField(text, topic);
            }
            text += '\n';
        } else {
            auto field = [&](std::size_t f) {
                appendJsonString(text, HtmlEntities::encode(Cp1252::toUtf8(record.field(f))));
            };
            text += first ? "\n" : ",\n";
            text += "{\"type\":\"multiple\",\"question\":";
            field(0);
            text += ",\"correct_answer\":";
            field(1);
            text += ",\"incorrect_answers\":[";
            field(2);
            text += ',';
            field(3);
            text += ',';
            field(4);
            text += ']';
            if (mark != Difficulty::None) {
                text += ",\"difficulty\":";
                appendJsonString(text, std::string(difficultyName(mark)));
            }
            if (!topic.empty()) {
                text += ",\"category\":";
                appendJsonString(text, HtmlEntities::encode(topic));
            }
            text += '}';
        }
        first = false;
        if (text.size() >= FlushSize) {
            if (!out(text)) return 1;
            text.clear();
        }
    }
    if (!scan.errorText().empty()) {
        err << "trivora-qst: " << scan.errorText() << "\n";
        return 1;
    }
    if (marksLost > 0)
        err << "trivora-qst: note: " << marksLost
            << " difficulty marks are not exported: their questions were changed since the "
               "marks were written\n";
    if (scan.trailingBytes() > 0)
        err << path << ": trailing " << scan.trailingBytes()
            << " bytes after the last whole record (not exported)\n";
    if (format == ExportFormat::Json) text += first ? "]}\n" : "\n]}\n";
    return out(text) ? 0 : 1;
}
