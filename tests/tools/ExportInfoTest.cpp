#include "QstExporter.h"
#include "QstFixtures.h"
#include "QstImporter.h"
#include "QstInspector.h"
#include "QuestionRecord.h"
#include "ToolFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using QstFixtures::readBytes;

std::string recordBytes(const QuestionRecord& r) {
    const auto b = r.encode();
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

// Questions whose texts are hard to carry through CSV and JSON: separators, quotes, blanks
// at the ends, line breaks, HTML-like text, every kind of Windows-1252 character, 75
// characters, and bytes with no printable character.
std::vector<QuestionRecord> trickySet() {
    QuestionRecord raw;
    raw.question = std::string("Bytes \x81\x8D\x8F\x90\x9D\x01\x7F end", 18);
    raw.answer = std::string("nul\0inside", 10);
    raw.wrong1 = "\ttab";
    raw.wrong2 = "\xA0";
    raw.wrong3 = "\xFF\xE9\x80";
    return {
        QstFixtures::question("Plain?", "a", "b", "c", "d"),
        QstFixtures::question("Commas, \"quotes\" and 'single'?", "a,b", "\"", "\"\"", ","),
        QstFixtures::question("  blanks around  ", " lead", "trail ", "two\r\nlines", "cr\ronly"),
        QstFixtures::question("R&amp;D &lt;b&gt; &#39; &quot;", "&", "<tag>", "&amp;", "&#x41;"),
        QstFixtures::question("\u201CQuoted\u201D \u2013 \u20AC5 \u2026 caf\u00E9 \u0152uvre",
                              "\u00FF\u00DF\u00D7", "\u2122", "\u0160", "\u017E"),
        QstFixtures::question(std::string(75, 'Q'), std::string(75, 'A'), std::string(75, '1'),
                              std::string(75, '2'), std::string(75, '3')),
        raw,
    };
}

TEST(exportSet, CsvAndJsonImportBackToTheSameTexts) {
    // Exporting a set and importing the export gives back a set with byte-identical texts,
    // through CSV as through JSON.
    ToolFolder dir;
    const auto set = dir.stdPath("SET.QST");
    QstFixtures::writeSet(set, trickySet());
    for (ExportFormat format : {ExportFormat::Csv, ExportFormat::Json}) {
        const bool csv = format == ExportFormat::Csv;
        SCOPED_TRACE(csv ? "csv" : "json");
        std::ostringstream text, err;
        ASSERT_EQ(exportQuestions(set, format, text, err), 0) << err.str();
        EXPECT_EQ(err.str(), "");
        const auto exported = dir.write(csv ? "x.csv" : "x.json", text.str());
        const auto back = dir.stdPath("BACK.QST");
        std::ostringstream importErr;
        ASSERT_EQ(importQuestions({{exported}, back}, importErr), 0) << importErr.str();
        EXPECT_EQ(readBytes(back), readBytes(set)) << importErr.str();
    }
}

TEST(exportSet, WritesTheDocumentedShapes) {
    // CSV starts with the header row and quotes only where it must; JSON has the shape of
    // an Open Trivia Database download; both use LF line ends and UTF-8.
    ToolFolder dir;
    const auto set = dir.stdPath("SET.QST");
    QstFixtures::writeSet(set, {QstFixtures::question("Caf\u00E9, or tea?", "Tea", "Caf\u00E9",
                                                      "Say \"x\"", "Milk")});
    std::ostringstream csv, json, err;
    ASSERT_EQ(exportQuestions(set, ExportFormat::Csv, csv, err), 0);
    EXPECT_EQ(csv.str(), "question,answer,wrong1,wrong2,wrong3\n"
                         "\"Caf\u00E9, or tea?\",Tea,Caf\u00E9,\"Say \"\"x\"\"\",Milk\n");
    ASSERT_EQ(exportQuestions(set, ExportFormat::Json, json, err), 0);
    EXPECT_EQ(json.str(), "{\"response_code\":0,\"results\":[\n"
                          "{\"type\":\"multiple\",\"question\":\"Caf\u00E9, or tea?\","
                          "\"correct_answer\":\"Tea\",\"incorrect_answers\":[\"Caf\u00E9\","
                          "\"Say &quot;x&quot;\",\"Milk\"]}\n]}\n");
    // A set without questions still gives a well-formed document.
    QstFixtures::writeSet(set, {});
    std::ostringstream empty;
    ASSERT_EQ(exportQuestions(set, ExportFormat::Json, empty, err), 0);
    EXPECT_EQ(empty.str(), "{\"response_code\":0,\"results\":[]}\n");
}

TEST(exportSet, ExportsFlawedRecordsAsReadAndReportsThem) {
    // A length byte above 75 is read as 75 and an empty field as empty; both are exported
    // and named on the error stream, as are bytes after the last whole record. A file that
    // is not a question set exports nothing.
    ToolFolder dir;
    std::string bytes = recordBytes(QuestionRecord::header()) +
                        recordBytes(QstFixtures::question("Q", "A", "B", "C", "D"));
    bytes[QuestionRecord::Size + 76] = '\xFF'; // answer length 255: 75 bytes, mostly zeros
    bytes[QuestionRecord::Size + 152] = 0;     // wrong1 empty
    bytes += "tail";
    const auto set = dir.write("SET.QST", bytes);
    std::ostringstream out, err;
    ASSERT_EQ(exportQuestions(set, ExportFormat::Csv, out, err), 0);
    EXPECT_EQ(out.str(),
              "question,answer,wrong1,wrong2,wrong3\nQ,A" + std::string(74, '\0') + ",,C,D\n");
    EXPECT_EQ(err.str(), set + ": record 1: answer length byte 255 (read as 75)\n" + set +
                             ": record 1: wrong1 empty\n" + set +
                             ": trailing 4 bytes after the last whole record (not exported)\n");

    for (const std::string& notASet : {std::string(760, 'x'), std::string(379, '\0')}) {
        const auto path = dir.write("BAD.QST", notASet);
        std::ostringstream none, why;
        EXPECT_EQ(exportQuestions(path, ExportFormat::Csv, none, why), 1);
        EXPECT_EQ(none.str(), "");
        EXPECT_NE(why.str().find("not a question set"), std::string::npos);
    }
}

TEST(Info, DescribesSetsAndTellsWhetherTheGameCanUseThem) {
    // info reports the count, the header, each problem record and a partial tail, and fails
    // exactly for the sets the game refuses.
    const std::string header = recordBytes(QuestionRecord::header());
    const std::string question = recordBytes(QstFixtures::numbered(1));
    std::string lowerHeader = header;
    lowerHeader[1] = 'g';
    std::string longHeader = header;
    longHeader[0] = 19;
    std::string headerExtras = header;
    headerExtras[76] = 3;
    std::string flawed = question;
    flawed[0] = 0;
    flawed[76] = '\xFF';
    flawed[304] = 76;
    struct Case {
        const char* name;
        std::string bytes;
        int status;
        std::string report;
    };
    const Case cases[] = {
        {"empty file", "", 1,
         "records: 0 (0 questions)\nheader: missing\n"
         "unusable: the game needs a header and at least one question\n"},
        {"header only", header, 1,
         "records: 1 (0 questions)\nheader: ok\n"
         "unusable: the game needs a header and at least one question\n"},
        {"one question", header + question, 0, "records: 2 (1 question)\nheader: ok\n"},
        {"header in lower case", lowerHeader + question, 1,
         "records: 2 (1 question)\n"
         "header: damaged (record 0 does not hold \"Genuine Data File!\")\n"
         "unusable: the game refuses a set without its header\n"},
        {"header followed by a blank", longHeader + question, 1, ""},
        {"header with other fields filled", headerExtras + question, 0,
         "records: 2 (1 question)\nheader: ok\n"},
        {"flawed record and tail", header + question + flawed + std::string(240, 'x'), 0,
         "records: 3 (2 questions)\nheader: ok\nrecord 2: question empty\n"
         "record 2: answer length byte 255 (read as 75)\n"
         "record 2: wrong3 length byte 76 (read as 75)\n"
         "trailing 240 bytes after the last whole record\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolFolder dir;
        const auto path = dir.write("SET.QST", c.bytes);
        std::ostringstream out, err;
        EXPECT_EQ(inspectQuestions(path, out, err), c.status) << out.str();
        if (!c.report.empty()) {
            EXPECT_EQ(out.str(), c.report);
        }
        EXPECT_EQ(err.str(), "");
    }
    ToolFolder dir;
    std::ostringstream out, err;
    EXPECT_EQ(inspectQuestions(dir.stdPath("MISSING.QST"), out, err), 1);
    EXPECT_NE(err.str().find("MISSING.QST: No such file or directory"), std::string::npos);
    EXPECT_EQ(inspectQuestions(dir.stdPath(""), out, err), 2);
    EXPECT_NE(err.str().find("is a folder"), std::string::npos);
}

} // namespace
