#include "CsvSource.h"
#include "Difficulty.h"
#include "GiveAwayPairs.h"
#include "OtdbSource.h"
#include "QstExporter.h"
#include "QstInspector.h"
#include "QstText.h"
#include "QuestionRecord.h"
#include "TextSource.h"
#include "ToolFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

namespace {

// Random text made mostly of the characters each format gives meaning to.
std::string garble(std::mt19937& rng, std::string_view alphabet, std::size_t length) {
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::string s;
    for (std::size_t i = 0; i < length; ++i)
        s += (i % 7 == 3) ? static_cast<char>(anyByte(rng)) : alphabet[pick(rng)];
    return s;
}

TEST(HostileInput, ReadersSurviveGarbage) {
    // Random and half-formed sources, marks files and reviewed-pairs records never crash a
    // reader or the give-away search, and each row a reader yields has a line within the text.
    std::mt19937 rng(20240601);
    for (int round = 0; round < 300; ++round) {
        const std::size_t length = static_cast<std::size_t>(round) * 7;
        const std::string csv = QstText::decodeInput("question,answer,wrong1,wrong2,wrong3\n" +
                                                     garble(rng, "ab,\"\r\n ", length));
        const std::string txt = QstText::decodeInput(garble(rng, "#Q^ABCD x\n\r/", length));
        const std::string json = garble(rng, "{}[]\",:\\u0 aresult\n", length);
        // Line ends a reader may count: LF, and CR on its own.
        auto lastLine = [](const std::string& t) {
            return static_cast<std::size_t>(std::count(t.begin(), t.end(), '\n') +
                                            std::count(t.begin(), t.end(), '\r') + 1);
        };
        const std::pair<ParsedSource, std::size_t> results[] = {
            {parseCsvSource(csv), lastLine(csv)},
            {parseTextSource(txt), lastLine(txt)},
            {parseOtdbSource(json), lastLine(json)}};
        for (const auto& [parsed, last] : results) {
            for (const auto& row : parsed.rows)
                EXPECT_LE(row.line, last);
            for (const auto& skip : parsed.skipped)
                EXPECT_LE(skip.line, last);
            for (const GiveAway& pair : findGiveAways(parsed.rows).pairs)
                EXPECT_LT(std::max(pair.answerRow, pair.questionRow), parsed.rows.size());
        }
        std::vector<QuestionMark> marks;
        std::vector<ReviewedPair> reviewed;
        std::string error;
        parseMarks(garble(rng, "easymdiuhr-\t\n", length), marks, error);
        parseReviewedPairs(garble(rng, "a.txt|#\n ", length), reviewed, error);
    }
}

TEST(HostileInput, InfoAndExportStayInsideTheRecords) {
    // Sets of random bytes after a sound header (any length byte, any size) are described
    // and exported without reading past a record; every field comes out at most 75 bytes.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> anyByte(0, 255);
    ToolFolder dir;
    const auto h = QuestionRecord::header().encode();
    for (int round = 0; round < 50; ++round) {
        std::string bytes(reinterpret_cast<const char*>(h.data()), h.size());
        const std::size_t extra = static_cast<std::size_t>(round) * 97;
        for (std::size_t i = 0; i < extra; ++i)
            bytes += static_cast<char>(anyByte(rng));
        const auto path = dir.write("SET.QST", bytes);
        std::ostringstream out, err;
        EXPECT_EQ(inspectQuestions(path, out, err), extra >= QuestionRecord::Size ? 0 : 1);
        std::ostringstream json, why;
        EXPECT_EQ(exportQuestions(path, ExportFormat::Json, json, why), 0);
        std::ostringstream csv;
        EXPECT_EQ(exportQuestions(path, ExportFormat::Csv, csv, why), 0);
        const ParsedSource back = parseCsvSource(QstText::decodeInput(csv.str()));
        EXPECT_EQ(back.rows.size(), extra / QuestionRecord::Size);
        for (const auto& row : back.rows)
            for (const auto& field : row.fields)
                EXPECT_LE(field.size(), 75u * 3);
    }
}

} // namespace
