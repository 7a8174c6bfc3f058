#include "CsvSource.h"
#include "HtmlEntities.h"
#include "OtdbSource.h"
#include "QstText.h"
#include "TextSource.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using Fields = std::array<std::string, 5>;

std::string describe(const ParsedSource& p) {
    std::string s = "error: " + p.error + "\n";
    for (const auto& k : p.skipped)
        s += std::to_string(k.line) + ": " + k.reason + "\n";
    return s;
}

// ---- plain-text blocks ----

TEST(TextSource, ReadsBlocksWithCommentsBlanksAndCrlf) {
    // Blocks read with markers stripped of blanks; the matching option is the answer and the
    // other three become wrong1..wrong3 in A-to-D order; comments and CR line ends are ignored.
    const std::string text = "// Science\r\n"
                             "#Q   What is H2O?  \r\n"
                             "^ Water\r\n"
                             "A Salt\r\n"
                             "  B\tWater \r\n"
                             "// a remark inside a block\r\n"
                             "C Sand\r\n"
                             "D Steam\r\n"
                             "\r\n\r\n"
                             "#Q Second?\n^ D4\nA A1\nB B2\nC C3\nD D4";
    const ParsedSource p = parseTextSource(text);
    ASSERT_TRUE(p.error.empty());
    EXPECT_TRUE(p.skipped.empty()) << describe(p);
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].fields, (Fields{"What is H2O?", "Water", "Salt", "Sand", "Steam"}));
    EXPECT_EQ(p.rows[0].line, 2u);
    EXPECT_EQ(p.rows[1].fields, (Fields{"Second?", "D4", "A1", "B2", "C3"}));
    EXPECT_EQ(p.rows[1].line, 11u);
}

TEST(TextSource, ReportsMalformedBlocksWithTheirLineAndReadsOn) {
    // A block of the wrong shape is skipped with the line at fault; the blocks around it are
    // still read.
    struct Case {
        const char* block;
        std::size_t line; // within the whole text below (the block starts on line 8)
        const char* reason;
    };
    const Case cases[] = {
        {"#Q Q?\n^ x\nA x\nB y\nC z", 8, "lacks its D line"},
        {"#Q Q?\n^ x\nA x\nB y\nC z\nD w\nE v", 14, "unexpected line"},
        {"#Q Q?\n^ x\n^ y\nA x\nB y\nC z\nD w", 10, "second ^ line"},
        {"^ x\n#Q Q?\nA x\nB y\nC z\nD w", 8, "does not start with #Q"},
        {"#Q Q?\n^ none\nA x\nB y\nC z\nD w", 8, "none of A to D"},
        {"#Q Q?\n^ x\nAx\nB y\nC z\nD w", 10, "unexpected line"},
        {"#Q Q?\n#Q R?\n^ x\nA x\nB y\nC z\nD w", 9, "second #Q line"},
        {"#Q Q?\n#D tricky\n^ x\nA x\nB y\nC z\nD w", 9, "unknown difficulty 'tricky'"},
        {"#Q Q?\n#D Easy\n^ x\nA x\nB y\nC z\nD w", 9, "unknown difficulty 'Easy'"},
        {"#Q Q?\n#D\n^ x\nA x\nB y\nC z\nD w", 9, "#D line without a difficulty"},
        {"#Q Q?\n#D easy\n^ x\nA x\nB y\nC z\nD w\n#D hard", 15, "second #D line"},
        {"#D easy\n#Q Q?\n^ x\nA x\nB y\nC z\nD w", 8, "#D line outside a question block"},
        {"#D medium", 8, "#D line outside a question block"},
        {"#Q Q?\n#Deasy\n^ x\nA x\nB y\nC z\nD w", 9, "unexpected line"},
    };
    const std::string good = "#Q Good?\n^ a\nA a\nB b\nC c\nD d\n\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        const ParsedSource p = parseTextSource(good + c.block + "\n\n" + good);
        ASSERT_EQ(p.skipped.size(), 1u) << describe(p);
        EXPECT_EQ(p.skipped[0].line, c.line);
        EXPECT_NE(p.skipped[0].reason.find(c.reason), std::string::npos) << p.skipped[0].reason;
        EXPECT_EQ(p.rows.size(), 2u);
    }
}

TEST(TextSource, ReadsTheDifficultyMarkOfEachBlock) {
    // A #D line anywhere after #Q marks its block easy, medium or hard; a block without one
    // carries no mark, and the mark is no part of the question's texts.
    const ParsedSource p = parseTextSource("#Q One?\n#D easy\n^ a\nA a\nB b\nC c\nD d\n\n"
                                           "#Q Two?\n^ a\nA a\nB b\nC c\nD d\n\n"
                                           "#Q Three?\n^ a\nA a\nB b\nC c\nD d\n#D   hard \n\n"
                                           "#Q Four?\n#D medium\n^ a\nA a\nB b\nC c\nD d\n");
    EXPECT_TRUE(p.skipped.empty()) << describe(p);
    ASSERT_EQ(p.rows.size(), 4u);
    EXPECT_EQ(p.rows[0].mark, Difficulty::Easy);
    EXPECT_EQ(p.rows[1].mark, Difficulty::None);
    EXPECT_EQ(p.rows[2].mark, Difficulty::Hard);
    EXPECT_EQ(p.rows[3].mark, Difficulty::Medium);
    EXPECT_EQ(p.rows[0].fields, (Fields{"One?", "a", "b", "c", "d"}));
}

// ---- CSV ----

TEST(CsvSource, ReadsQuotedFieldsByHeaderNamesWithBomAndCrlf) {
    // Columns are found by name in any order and case, extra columns ignored; quoted fields
    // keep commas, doubled quotes, line breaks and blanks exactly; a BOM and CRLF are handled.
    const std::string csv = QstText::decodeInput(
        "\xEF\xBB\xBFNote, Wrong3 ,wrong2,WRONG1,Answer,question\r\n"
        "x,w3,w2,w1,ans,plain\r\n"
        "\r\n"
        "y,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\" padded \",\"Q, quoted?\"\r\n"
        "z,c,b,a,d,last without line end");
    const ParsedSource p = parseCsvSource(csv);
    ASSERT_TRUE(p.error.empty()) << p.error;
    EXPECT_TRUE(p.skipped.empty()) << describe(p);
    ASSERT_EQ(p.rows.size(), 3u);
    EXPECT_EQ(p.rows[0].fields, (Fields{"plain", "ans", "w1", "w2", "w3"}));
    EXPECT_EQ(p.rows[1].fields,
              (Fields{"Q, quoted?", " padded ", "two\r\nlines", "say \"hi\"", "a,b"}));
    EXPECT_EQ(p.rows[1].line, 4u);
    EXPECT_EQ(p.rows[2].line, 6u);
}

TEST(CsvSource, ReadsWindows1252Input) {
    // A file that is not UTF-8 is read as Windows-1252.
    const ParsedSource p =
        parseCsvSource(QstText::decodeInput("question,answer,wrong1,wrong2,wrong3\n\x93"
                                            "Caf\xE9\x94?,\x80,b,c,d\n"));
    ASSERT_EQ(p.rows.size(), 1u) << describe(p);
    EXPECT_EQ(p.rows[0].fields[0], "\u201CCaf\u00E9\u201D?");
    EXPECT_EQ(p.rows[0].fields[1], "\u20AC");
}

TEST(CsvSource, SkipsMalformedRowsWithTheirLine) {
    // Rows with too few or too many fields or broken quoting are reported with the line they
    // start on; rows around them are still read.
    struct Case {
        const char* row;
        const char* reason;
    };
    const Case cases[] = {
        {"q,a,w1,w2", "missing columns (4 of 5)"},
        {"q,a,w1,w2,w3,extra", "more columns than the header row (6 of 5)"},
        {"\"q\"x,a,w1,w2,w3", "text after a closing quote"},
        {"q\"x,a,w1,w2,w3", "quote inside an unquoted field"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const ParsedSource p = parseCsvSource(std::string("question,answer,wrong1,wrong2,wrong3\n"
                                                          "Q1,a,b,c,d\n") +
                                              c.row + "\nQ2,a,b,c,d\n");
        ASSERT_TRUE(p.error.empty()) << p.error;
        ASSERT_EQ(p.skipped.size(), 1u) << describe(p);
        EXPECT_EQ(p.skipped[0].line, 3u);
        EXPECT_EQ(p.skipped[0].reason, c.reason);
        EXPECT_EQ(p.rows.size(), 2u);
    }
}

TEST(CsvSource, UnclosedQuoteSkipsTheRestAndNamesItsLine) {
    // A quote never closed swallows the rest of the file; the report names where it opened.
    const ParsedSource p = parseCsvSource("question,answer,wrong1,wrong2,wrong3\nQ1,a,b,c,d\n"
                                          "\"Q2,a,b,c,d\nQ3,a,b,c,d\n");
    ASSERT_EQ(p.skipped.size(), 1u) << describe(p);
    EXPECT_EQ(p.skipped[0].line, 3u);
    EXPECT_NE(p.skipped[0].reason.find("never closed"), std::string::npos);
    EXPECT_EQ(p.rows.size(), 1u);
}

TEST(CsvSource, RejectsAFileWithoutAUsableHeaderRow) {
    // Without all five named columns the file cannot be read at all.
    const char* cases[] = {"",
                           "\n\n",
                           "question,answer,wrong1,wrong2\nq,a,b,c\n",
                           "q,a,w1,w2,w3\n",
                           "question,answer,wrong1,wrong2,wrong3,Answer\n",
                           "\"question,answer,wrong1,wrong2,wrong3\n"};
    for (const char* csv : cases) {
        SCOPED_TRACE(csv);
        EXPECT_FALSE(parseCsvSource(csv).error.empty());
    }
}

// ---- Open Trivia Database JSON ----

TEST(OtdbSource, ReadsMultipleChoiceEntriesAndDecodesReferences) {
    // Multiple-choice entries are taken with HTML references decoded; true/false entries and
    // entries of the wrong shape are reported on their own line.
    const std::string json = R"({"response_code":0,"results":[
{"category":"Art","type":"multiple","difficulty":"easy",
 "question":"Who painted &quot;The Scream&quot; &amp; other works?",
 "correct_answer":"Edvard Munch","incorrect_answers":["Ren&eacute;e","Caf&#233;","x&#x2019;s"]},
{"type":"boolean","question":"Is it?","correct_answer":"True","incorrect_answers":["False"]},
{"type":"multiple","question":"Two?","correct_answer":"a","incorrect_answers":["b","c"]},
{"type":"multiple","correct_answer":"a","incorrect_answers":["b","c","d"]},
{"type":"multiple","question":"Q\u00e9?","correct_answer":"a","incorrect_answers":["b","c",4]},
{"question":"No type?","correct_answer":"a","incorrect_answers":["b","c","d"]}
]})";
    const ParsedSource p = parseOtdbSource(json);
    ASSERT_TRUE(p.error.empty()) << p.error;
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].fields, (Fields{"Who painted \"The Scream\" & other works?", "Edvard Munch",
                                        "Ren\u00E9e", "Caf\u00E9", "x\u2019s"}));
    EXPECT_EQ(p.rows[0].line, 2u);
    EXPECT_EQ(p.rows[1].fields[0], "No type?");
    ASSERT_EQ(p.skipped.size(), 4u);
    EXPECT_EQ(p.skipped[0].line, 5u);
    EXPECT_EQ(p.skipped[0].reason, "true/false question");
    EXPECT_NE(p.skipped[1].reason.find("holds 2 answers"), std::string::npos);
    EXPECT_NE(p.skipped[2].reason.find("no \"question\""), std::string::npos);
    EXPECT_NE(p.skipped[3].reason.find("not text"), std::string::npos);
}

TEST(OtdbSource, RejectsDocumentsOfAnotherShape) {
    // Invalid JSON, other shapes and failed downloads are refused as a whole, with a line.
    struct Case {
        std::string json;
        const char* words;
        std::size_t line;
    };
    const Case cases[] = {
        {"[1,2]", "not an Open Trivia Database document", 1},
        {"{\"response_code\":0}", "not an Open Trivia Database document", 1},
        {"{\"results\":{}}", "not an Open Trivia Database document", 1},
        {"{\"response_code\":1,\"results\":[]}", "response_code is 1", 1},
        {"{\"results\":[\n{\"question\":\"x\",}\n]}", "not valid JSON", 2},
        {"{\"results\":[\"unclosed]}", "not valid JSON", 1},
        {"{\"results\":[]} trailing", "not valid JSON", 1},
        {std::string(100000, '['), "nested too deeply", 1},
        {"", "not valid JSON", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json.substr(0, 60));
        const ParsedSource p = parseOtdbSource(c.json);
        EXPECT_NE(p.error.find(c.words), std::string::npos) << p.error;
        EXPECT_EQ(p.errorLine, c.line);
    }
}

TEST(OtdbSource, ReadsOnlyTheTopLevelListAndRejectsLateFaultsWhole) {
    // Only the top-level "results" list holds entries (lists nested elsewhere and repeated
    // keys are passed over, the first key counts); a fault found after the entries (bad
    // syntax at the end, a failed response_code after the list) rejects the document with
    // its line and hands on no row at all.
    const std::string entry = R"({"type":"multiple","question":"Q?","correct_answer":"a",)"
                              R"("incorrect_answers":["b","c","d"]})";
    struct Case {
        const char* name;
        std::string json;
        std::size_t rows;
        std::size_t line; // of the rejection, or 0 when read
    };
    const Case cases[] = {
        {"nested lists are not entries",
         R"({"meta":{"results":[)" + entry + R"(]},"x":[[)" + entry + "]],\n\"results\":[\n" +
             entry + "]}",
         1, 0},
        {"first results key counts", "{\"results\":[" + entry + "],\n\"results\":[]}", 1, 0},
        {"an entry key given twice skips the entry",
         R"({"results":[{"question":"Q?","question":5,"correct_answer":"a",)"
         R"("incorrect_answers":["b","c","d"],"incorrect_answers":[]}]})",
         0, 0},
        {"syntax error after the entries", "{\"results\":[\n" + entry + ",\n" + entry + "\n]\n!", 0,
         5},
        {"failure code after the list", "{\"results\":[\n" + entry + "\n],\n\"response_code\":2}",
         0, 4},
        {"lone surrogate escape", "{\"results\":[\n\"\\ud800\"]}", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedSource p = parseOtdbSource(c.json);
        EXPECT_EQ(p.rows.size(), c.rows) << p.error;
        EXPECT_EQ(p.error.empty(), c.line == 0) << p.error;
        EXPECT_EQ(p.errorLine, c.line) << p.error;
        if (c.line) {
            EXPECT_TRUE(p.skipped.empty());
        }
    }
}

TEST(HtmlEntities, DecodesReferencesAndLeavesOtherAmpersandsAlone) {
    // Numeric and common named references become characters; unknown or unfinished ones,
    // numbers that name no character and bare ampersands stay as written; Encode is undone by
    // Decode.
    const std::pair<const char*, const char*> cases[] = {
        {"&#39;&#x27;&apos;&quot;&lt;&gt;&amp;", "'''\"<>&"},
        {"&hellip;&ldquo;&rdquo;&lsquo;&rsquo;&ndash;&mdash;",
         "\u2026\u201C\u201D\u2018\u2019\u2013\u2014"},
        {"&eacute;&Uuml;&szlig;&nbsp;&yuml;&euro;&pi;",
         "\u00E9\u00DC\u00DF\u00A0\u00FF\u20AC\u03C0"},
        {"R&D &amp Co; &unknown; &#xZZ; &#; &", "R&D &amp Co; &unknown; &#xZZ; &#; &"},
        {"&amp;amp;", "&amp;"},
        {"&#0;&#x110000;&#xD800;", "&#0;&#x110000;&#xD800;"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(HtmlEntities::decode(in), out) << in;
    const std::string tricky = "Tom & \"Jerry\" <b>'s &amp; &#39;";
    EXPECT_EQ(HtmlEntities::decode(HtmlEntities::encode(tricky)), tricky);
}

} // namespace
