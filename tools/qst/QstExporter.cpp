#include "QstExporter.h"

#include "Cp1252.h"
#include "CsvField.h"
#include "HtmlEntities.h"
#include "QstInspector.h"
#include "QstScanner.h"
#include "QuestionRecord.h"

namespace {

constexpr std::size_t FlushSize = 1 << 20;

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
    std::string text;
    text.reserve(FlushSize + 4096);
    if (format == ExportFormat::Csv)
        text += "question,answer,wrong1,wrong2,wrong3\n";
    else
        text += "{\"response_code\":0,\"results\":[";
    bool first = true;
    while ((bytes = scan.next())) {
        for (const auto& problem : recordProblems(scan.index(), bytes))
            err << path << ": " << problem << "\n";
        const QuestionRecord record = QuestionRecord::decode(bytes);
        if (format == ExportFormat::Csv) {
            for (std::size_t f = 0; f < QuestionRecord::FieldCount; ++f) {
                if (f) text += ',';
                Csv::appendField(text, Cp1252::toUtf8(record.field(f)));
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
            text += "]}";
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
    if (scan.trailingBytes() > 0)
        err << path << ": trailing " << scan.trailingBytes()
            << " bytes after the last whole record (not exported)\n";
    if (format == ExportFormat::Json) text += first ? "]}\n" : "\n]}\n";
    return out(text) ? 0 : 1;
}
