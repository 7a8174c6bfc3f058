#include "QstFixtures.h"
#include "QstImporter.h"
#include "QuestionRecord.h"
#include "ToolFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using QstFixtures::readBytes;

const std::string CsvHeader = "question,answer,wrong1,wrong2,wrong3\n";

// The questions of a set, decoded, header excluded.
std::vector<QuestionRecord> readSet(const std::string& path) {
    const std::string bytes = readBytes(path);
    std::vector<QuestionRecord> out;
    for (std::size_t at = QuestionRecord::Size; at + QuestionRecord::Size <= bytes.size();
         at += QuestionRecord::Size)
        out.push_back(QuestionRecord::decode(reinterpret_cast<const std::uint8_t*>(&bytes[at])));
    return out;
}

struct RunResult {
    int status;
    std::string err;
    ImportSummary summary;
};

RunResult importSources(ImportOptions options) {
    std::ostringstream err;
    RunResult run{};
    run.status = importQuestions(options, err, &run.summary);
    run.err = err.str();
    return run;
}

TEST(importSources, WritesANewSetFromEveryFormat) {
    // A new set is the header followed by the questions of all sources in order, as
    // Windows-1252; the sources' formats come from their extensions.
    ToolFolder dir;
    const auto csv = dir.write("a.csv", CsvHeader + "Caf\xC3\xA9?,\xE2\x82\xAC,b,c,d\n");
    const auto json = dir.write(
        "b.JSON", R"({"response_code":0,"results":[{"type":"multiple","question":"J&amp;Q?",)"
                  R"("correct_answer":"y","incorrect_answers":["n1","n2","n3"]}]})");
    const auto txt = dir.write("c.txt", "#Q T?\n^ t\nA f1\nB t\nC f2\nD f3\n");
    const auto out = dir.stdPath("OUT.QST");
    const RunResult run = importSources({{csv, json, txt}, out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.summary.imported, 3u);
    const std::string bytes = readBytes(out);
    ASSERT_EQ(bytes.size(), 4 * QuestionRecord::Size);
    EXPECT_TRUE(
        QuestionRecord::decode(reinterpret_cast<const std::uint8_t*>(bytes.data())).isHeader());
    const auto set = readSet(out);
    EXPECT_EQ(set[0], QstFixtures::question("Caf\u00E9?", "\u20AC", "b", "c", "d"));
    EXPECT_EQ(set[0].question, "Caf\xE9?");
    EXPECT_EQ(set[1], QstFixtures::question("J&Q?", "y", "n1", "n2", "n3"));
    EXPECT_EQ(set[2], QstFixtures::question("T?", "t", "f1", "f2", "f3"));
    EXPECT_NE(run.err.find("wrote 3 questions"), std::string::npos) << run.err;
}

TEST(importSources, SkipsEachRejectedRowWithItsLineAndReason) {
    // Every row a set must not hold is reported as file:line with its reason and left out;
    // the rows around it are imported. A 75-character text is still taken.
    const std::string s75(75, 'x');
    struct Case {
        std::string row;
        std::string reason;
    };
    const Case cases[] = {
        {s75 + "y,a,b,c,d", "question longer than 75 characters (76)"},
        {"Q?,a,b,c," + s75 + "\xC3\xA9", "wrong3 longer than 75 characters (76)"},
        {"Q?,\xCE\xB1,b,c,d", "answer holds a character Windows-1252 cannot hold (U+03B1)"},
        {"Q?,a,b,\xF0\x9F\x98\x80,d",
         "wrong2 holds a character Windows-1252 cannot hold (U+1F600)"},
        {",a,b,c,d", "empty question"},
        {"Q?,a,\"  \",c,d", "empty wrong1"},
        {"Q?,Paris,Rome, paris ,Bern", "correct answer repeated as a wrong answer (wrong2)"},
        {"Q?,a,b,c,B", "wrong answer given twice (wrong1 and wrong3)"},
        {"  first question?  ,a,b,c,d", "duplicate of the question at "},
        {"\xC3\x89T\xC3\x89?,a,b,c,d", "duplicate of the question at "},
        {"Q?,a,b,c", "missing columns (4 of 5)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ToolFolder dir;
        const auto csv = dir.write("in.csv", CsvHeader +
                                                 "First Question?,a,b,c,d\n"
                                                 "\xC3\xA9t\xC3\xA9?,a,b,c,d\n" +
                                                 c.row + "\n" + s75 + ",a,b,c,d\n");
        const RunResult run = importSources({{csv}, dir.stdPath("OUT.QST")});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find(csv + ":4: skipped: " + c.reason), std::string::npos) << run.err;
        EXPECT_EQ(run.summary.skipped, 1u);
        EXPECT_EQ(run.summary.imported, 3u);
        EXPECT_EQ(readSet(dir.stdPath("OUT.QST")).size(), 3u);
    }
}

TEST(importSources, FindsDuplicatesAcrossSourcesAndInTheSetAppendedTo) {
    // A question already imported from another file, or already in the set appended to,
    // is a duplicate, and the report says where the first one is.
    ToolFolder dir;
    const auto out = dir.stdPath("SET.QST");
    QstFixtures::writeSet(out, {QstFixtures::numbered(1), QstFixtures::numbered(2)});
    const auto a = dir.write("a.txt", "#Q New one?\n^ a\nA a\nB b\nC c\nD d\n\n"
                                      "#Q question 2\n^ a\nA a\nB b\nC c\nD d\n");
    const auto b = dir.write("b.csv", CsvHeader + "NEW ONE?,x,y,z,w\n");
    ImportOptions options{{a, b}, out};
    options.append = true;
    const RunResult run = importSources(options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(a + ":8: skipped: duplicate of the question at record 2 of " + out),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(b + ":2: skipped: duplicate of the question at " + a + ":1"),
              std::string::npos)
        << run.err;
    const auto set = readSet(out);
    ASSERT_EQ(set.size(), 3u);
    EXPECT_EQ(set[2].question, "New one?");
}

TEST(importSources, AppendKeepsTheExistingRecordsByteForByte) {
    // Appending copies every existing record unchanged (even bytes past a field's length and
    // a record a reader would trip on) and adds the new questions at the end; bytes after
    // the last whole record are dropped, as the next record would overwrite them anyway.
    ToolFolder dir;
    std::string old;
    auto add = [&old](const QuestionRecord& r) {
        const auto b = r.encode();
        old.append(reinterpret_cast<const char*>(b.data()), b.size());
    };
    add(QuestionRecord::header());
    add(QstFixtures::numbered(1));
    old[QuestionRecord::Size + 70] = '\x7F';     // past the question's length
    old[2 * QuestionRecord::Size - 76] = '\xFF'; // wrong3 length byte 255
    const std::string whole = old;
    old += std::string(100, 'T');
    const auto out = dir.write("SET.QST", old);
    const auto src = dir.write("in.txt", "#Q Added?\n^ a\nA a\nB b\nC c\nD d\n");
    ImportOptions options{{src}, out};
    options.append = true;
    const RunResult run = importSources(options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("100 bytes after its last whole record"), std::string::npos);
    EXPECT_NE(run.err.find("now 2"), std::string::npos) << run.err;
    const std::string now = readBytes(out);
    ASSERT_EQ(now.size(), 3 * QuestionRecord::Size);
    EXPECT_EQ(now.substr(0, whole.size()), whole);
    EXPECT_EQ(readSet(out)[1].question, "Added?");
}

TEST(importSources, FailedRunsLeaveNoOutputBehind) {
    // Whenever a run fails, the output is exactly as before (absent or unchanged) and no
    // temporary file is left in its folder.
    ToolFolder dir;
    const auto good = dir.write("good.csv", CsvHeader + "Q1,a,b,c,d\n");
    const auto bad = dir.write("bad.csv", CsvHeader + "Q1,a,b,c,d\n,a,b,c,d\n");
    const auto notOtdb = dir.write("x.json", "[1,2,3]");
    const auto noHeader = dir.write("h.csv", "q,a,b,c,d\n");
    const auto allBad = dir.write("allbad.txt", "#Q Q?\n^ a\nA a\nB a\nC c\nD d\n");
    const auto damaged = dir.write("DAMAGED.QST", std::string(760, 'z'));
    const auto shortSet = dir.write("SHORT.QST", std::string(379, '\0'));
    struct Case {
        const char* name;
        ImportOptions options;
        int status;
        const char* words;
    };
    ImportOptions strict{{bad}, dir.stdPath("NEW.QST")};
    strict.strict = true;
    ImportOptions appendDamaged{{good}, damaged};
    appendDamaged.append = true;
    ImportOptions appendShort{{good}, shortSet};
    appendShort.append = true;
    ImportOptions dry{{good}, dir.stdPath("NEW.QST")};
    dry.dryRun = true;
    const Case cases[] = {
        {"strict with a skipped row", strict, 1, "1 row skipped; nothing written"},
        {"source missing",
         {{good, dir.stdPath("nope.csv")}, dir.stdPath("NEW.QST")},
         1,
         "nope.csv: error: No such file or directory"},
        {"source not in the download shape",
         {{notOtdb}, dir.stdPath("NEW.QST")},
         1,
         "not an Open Trivia Database document"},
        {"csv without the named columns", {{noHeader}, dir.stdPath("NEW.QST")}, 1, "lacks column"},
        {"appending to a damaged set", appendDamaged, 1, "its header is damaged"},
        {"appending to a truncated set", appendShort, 1, "shorter than one record"},
        {"output folder missing",
         {{good}, dir.stdPath("none/OUT.QST")},
         1,
         "No such file or directory"},
        {"output is a folder", {{good}, dir.stdPath("")}, 1, "not a regular file"},
        {"output name not UTF-8", {{good}, dir.stdPath("BAD\xC9.QST")}, 1, "name is not UTF-8"},
        {"output is a source", {{good, bad}, bad}, 1, "same file as the source"},
        {"source format unknown",
         {{dir.stdPath("good.dat")}, dir.stdPath("NEW.QST")},
         2,
         "cannot tell the format"},
        {"every row skipped",
         {{allBad}, dir.stdPath("NEW.QST")},
         1,
         "no question could be taken; nothing written"},
        {"dry run", dry, 0, "dry run: 1 question would be written"},
    };
    const auto before = dir.names();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string damagedBytes = readBytes(damaged);
        const RunResult run = importSources(c.options);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.words), std::string::npos) << run.err;
        EXPECT_EQ(dir.names(), before);
        EXPECT_EQ(readBytes(damaged), damagedBytes);
        EXPECT_EQ(readBytes(bad), CsvHeader + "Q1,a,b,c,d\n,a,b,c,d\n");
    }
}

TEST(importSources, OutputReachedByAnotherNameIsStillTheSource) {
    // A hard link to a source is recognised as the same file (by device and inode).
    ToolFolder dir;
    const auto src = dir.write("in.csv", CsvHeader + "Q1,a,b,c,d\n");
    ASSERT_EQ(::link(src.c_str(), dir.stdPath("LINK.QST").c_str()), 0);
    const RunResult run = importSources({{src}, dir.stdPath("LINK.QST")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(readBytes(src), CsvHeader + "Q1,a,b,c,d\n");
}

TEST(importSources, KeepsDifficultyMarksBesideTheSetInRecordOrder) {
    // Marks go to SET.difficulty, one line per question in record order, while the set itself
    // stays header plus records. Appending keeps each mark that still belongs to its record
    // (not one whose record was changed in the meantime); a set written without any mark
    // takes its old marks file away.
    ToolFolder dir;
    const auto out = dir.stdPath("SET.QST");
    const auto marks = dir.stdPath("SET.QST.difficulty");
    const auto first =
        dir.write("first.txt", "#Q Caf\xC3\xA9?\n#D easy\n^ a\nA a\nB b\nC c\nD d\n\n"
                               "#Q Plain?\n^ a\nA a\nB b\nC c\nD d\n\n"
                               "#Q Third?\n#D hard\n^ a\nA a\nB b\nC c\nD d\n");
    RunResult run = importSources({{first}, out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(out).size(), 4 * QuestionRecord::Size);
    EXPECT_EQ(readBytes(marks), "easy\tCaf\xC3\xA9?\n-\tPlain?\nhard\tThird?\n");
    EXPECT_NE(run.err.find("wrote the difficulty marks to " + marks), std::string::npos);

    // The first question is changed in place, as the editor does; then more are appended,
    // one of them with a line break in its text.
    QstFixtures::writeSet(out, {QstFixtures::question("Changed?", "a", "b", "c", "d"),
                                QstFixtures::question("Plain?", "a", "b", "c", "d"),
                                QstFixtures::question("Third?", "a", "b", "c", "d")});
    const auto more = dir.write("more.txt", "#Q Fourth?\n#D medium\n^ a\nA a\nB b\nC c\nD d\n");
    const auto csv = dir.write("more.csv", CsvHeader + "\"Two\nlines?\",a,b,c,d\n");
    ImportOptions append{{more, csv}, out};
    append.append = true;
    run = importSources(append);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(marks), "-\tChanged?\n-\tPlain?\nhard\tThird?\nmedium\tFourth?\n"
                                "-\tTwo lines?\n");

    // A set written anew without marks leaves no marks behind.
    run = importSources({{csv}, out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{"SET.QST", "first.txt", "more.csv", "more.txt"}));
}

TEST(importSources, RefusesToAppendBesideAMarksFileItCannotRead) {
    // A marks file that is not one is never overwritten by an append: the run fails, the
    // set and the file stay as they were and no temporary file is left.
    ToolFolder dir;
    const auto out = dir.stdPath("SET.QST");
    QstFixtures::writeNumberedSet(out, 2);
    const std::string setBytes = readBytes(out);
    const auto src = dir.write("in.txt", "#Q New?\n#D easy\n^ a\nA a\nB b\nC c\nD d\n");
    // The last: a faulty line past the lines of the set's records.
    for (const std::string& bad : {std::string("easy\tQuestion 1\nsoso\tQuestion 2\n"),
                                   std::string("easy\tQuestion 1\nhard"), std::string("easy\n"),
                                   std::string("easy\tQuestion 1\n-\tQuestion 2\nsoso\tGone\n")}) {
        SCOPED_TRACE(bad);
        const auto marks = dir.write("SET.QST.difficulty", bad);
        ImportOptions options{{src}, out};
        options.append = true;
        const RunResult run = importSources(options);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(marks + ": not a marks file"), std::string::npos) << run.err;
        EXPECT_EQ(readBytes(out), setBytes);
        EXPECT_EQ(readBytes(marks), bad);
        EXPECT_EQ(dir.names(),
                  (std::vector<std::string>{"SET.QST", "SET.QST.difficulty", "in.txt"}));
    }
}

TEST(importSources, ReplacingASetKeepsItsPermissions) {
    // Without --append the set is replaced whole and keeps the permissions it had.
    ToolFolder dir;
    const auto out = dir.stdPath("SET.QST");
    QstFixtures::writeNumberedSet(out, 5);
    ASSERT_EQ(::chmod(out.c_str(), 0640), 0);
    const auto src = dir.write("in.csv", CsvHeader + "Q1,a,b,c,d\n");
    ASSERT_EQ(importSources({{src}, out}).status, 0);
    EXPECT_EQ(readSet(out).size(), 1u);
    struct stat st {};
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

} // namespace
