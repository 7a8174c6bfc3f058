#include "QstInspector.h"

#include "Cp1252.h"
#include "QstScanner.h"
#include "QstText.h"
#include "QuestionRecord.h"

#include <algorithm>

std::vector<std::string> recordProblems(std::int64_t number, const std::uint8_t* bytes) {
    std::vector<std::string> out;
    for (std::size_t f = 0; f < QuestionRecord::FieldCount; ++f) {
        const unsigned length = bytes[f * (QuestionRecord::Capacity + 1)];
        const std::string name(QstText::FieldNames[f]);
        if (length == 0)
            out.push_back("record " + std::to_string(number) + ": " + name + " empty");
        else if (length > QuestionRecord::Capacity)
            out.push_back("record " + std::to_string(number) + ": " + name + " length byte " +
                          std::to_string(length) + " (read as 75)");
    }
    return out;
}

int inspectQuestions(const std::string& path, std::ostream& out, std::ostream& err) {
    QstScanner scan;
    if (!scan.open(path)) {
        err << "trivora-qst: " << scan.errorText() << "\n";
        return scan.notRegular() ? 2 : 1;
    }
    const std::int64_t count = scan.recordCount();
    const std::int64_t questions = count > 0 ? count - 1 : 0;
    out << "records: " << count << " (" << questions
        << (questions == 1 ? " question)\n" : " questions)\n");
    bool usable = count >= 2;
    const std::uint8_t* bytes = scan.next();
    if (!bytes) {
        out << "header: missing\n";
        usable = false;
    } else if (const QuestionRecord header = QuestionRecord::decode(bytes); header.isHeader()) {
        out << "header: ok\n";
        // Sets by topic name it in the header's answer field; other writers may leave bytes
        // there that are no text.
        const std::string& topic = header.answer;
        if (!topic.empty() && std::none_of(topic.begin(), topic.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
            }))
            out << "topic: " << Cp1252::toUtf8(topic) << "\n";
    } else {
        out << "header: damaged (record 0 does not hold \"" << QuestionRecord::HeaderText
            << "\")\n";
        usable = false;
    }
    std::int64_t problems = 0;
    while ((bytes = scan.next()))
        for (const auto& line : recordProblems(scan.index(), bytes)) {
            out << line << "\n";
            ++problems;
        }
    if (!scan.errorText().empty()) {
        err << "trivora-qst: " << scan.errorText() << "\n";
        return 1;
    }
    if (scan.trailingBytes() > 0)
        out << "trailing " << scan.trailingBytes() << " bytes after the last whole record\n";
    if (count < 2)
        out << "unusable: the game needs a header and at least one question\n";
    else if (!usable)
        out << "unusable: the game refuses a set without its header\n";
    return usable ? 0 : 1;
}
