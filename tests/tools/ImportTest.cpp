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

using QstFixtures::ReadBytes;

const std::string CsvHeader = "question,answer,wrong1,wrong2,wrong3\n";

// The questions of a set, decoded, header excluded.
std::vector<TQuestionRecord> ReadSet(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<TQuestionRecord> out;
    for (std::size_t at = TQuestionRecord::Size; at + TQuestionRecord::Size <= bytes.size();
         at += TQuestionRecord::Size)
        out.push_back(TQuestionRecord::Decode(reinterpret_cast<const std::uint8_t*>(&bytes[at])));
    return out;
}

struct TRun {
    int Status;
    std::string Err;
    TImportSummary Summary;
};

TRun Import(TImportOptions options) {
    std::ostringstream err;
    TRun run{};
    run.Status = ImportQuestions(options, err, &run.Summary);
    run.Err = err.str();
    return run;
}

TEST(Import, WritesANewSetFromEveryFormat) {
    // A new set is the header followed by the questions of all sources in order, as
    // Windows-1252; the sources' formats come from their extensions.
    TToolFolder dir;
    const auto csv = dir.Write("a.csv", CsvHeader + "Caf\xC3\xA9?,\xE2\x82\xAC,b,c,d\n");
    const auto json = dir.Write(
        "b.JSON", R"({"response_code":0,"results":[{"type":"multiple","question":"J&amp;Q?",)"
                  R"("correct_answer":"y","incorrect_answers":["n1","n2","n3"]}]})");
    const auto txt = dir.Write("c.txt", "#Q T?\n^ t\nA f1\nB t\nC f2\nD f3\n");
    const auto out = dir.Path("OUT.QST");
    const TRun run = Import({{csv, json, txt}, out});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Summary.Imported, 3u);
    const std::string bytes = ReadBytes(out);
    ASSERT_EQ(bytes.size(), 4 * TQuestionRecord::Size);
    EXPECT_TRUE(
        TQuestionRecord::Decode(reinterpret_cast<const std::uint8_t*>(bytes.data())).IsHeader());
    const auto set = ReadSet(out);
    EXPECT_EQ(set[0], QstFixtures::Question("Caf\u00E9?", "\u20AC", "b", "c", "d"));
    EXPECT_EQ(set[0].Question, "Caf\xE9?");
    EXPECT_EQ(set[1], QstFixtures::Question("J&Q?", "y", "n1", "n2", "n3"));
    EXPECT_EQ(set[2], QstFixtures::Question("T?", "t", "f1", "f2", "f3"));
    EXPECT_NE(run.Err.find("wrote 3 questions"), std::string::npos) << run.Err;
}

TEST(Import, SkipsEachRejectedRowWithItsLineAndReason) {
    // Every row a set must not hold is reported as file:line with its reason and left out;
    // the rows around it are imported. A 75-character text is still taken.
    const std::string s75(75, 'x');
    struct TCase {
        std::string Row;
        std::string Reason;
    };
    const TCase cases[] = {
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
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Row);
        TToolFolder dir;
        const auto csv = dir.Write("in.csv", CsvHeader +
                                                 "First Question?,a,b,c,d\n"
                                                 "\xC3\xA9t\xC3\xA9?,a,b,c,d\n" +
                                                 c.Row + "\n" + s75 + ",a,b,c,d\n");
        const TRun run = Import({{csv}, dir.Path("OUT.QST")});
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_NE(run.Err.find(csv + ":4: skipped: " + c.Reason), std::string::npos) << run.Err;
        EXPECT_EQ(run.Summary.Skipped, 1u);
        EXPECT_EQ(run.Summary.Imported, 3u);
        EXPECT_EQ(ReadSet(dir.Path("OUT.QST")).size(), 3u);
    }
}

TEST(Import, FindsDuplicatesAcrossSourcesAndInTheSetAppendedTo) {
    // A question already imported from another file, or already in the set appended to,
    // is a duplicate, and the report says where the first one is.
    TToolFolder dir;
    const auto out = dir.Path("SET.QST");
    QstFixtures::WriteSet(out, {QstFixtures::Numbered(1), QstFixtures::Numbered(2)});
    const auto a = dir.Write("a.txt", "#Q New one?\n^ a\nA a\nB b\nC c\nD d\n\n"
                                      "#Q question 2\n^ a\nA a\nB b\nC c\nD d\n");
    const auto b = dir.Write("b.csv", CsvHeader + "NEW ONE?,x,y,z,w\n");
    TImportOptions options{{a, b}, out};
    options.Append = true;
    const TRun run = Import(options);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find(a + ":8: skipped: duplicate of the question at record 2 of " + out),
              std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find(b + ":2: skipped: duplicate of the question at " + a + ":1"),
              std::string::npos)
        << run.Err;
    const auto set = ReadSet(out);
    ASSERT_EQ(set.size(), 3u);
    EXPECT_EQ(set[2].Question, "New one?");
}

TEST(Import, AppendKeepsTheExistingRecordsByteForByte) {
    // Appending copies every existing record unchanged (even bytes past a field's length and
    // a record a reader would trip on) and adds the new questions at the end; bytes after
    // the last whole record are dropped, as the next record would overwrite them anyway.
    TToolFolder dir;
    std::string old;
    auto add = [&old](const TQuestionRecord& r) {
        const auto b = r.Encode();
        old.append(reinterpret_cast<const char*>(b.data()), b.size());
    };
    add(TQuestionRecord::Header());
    add(QstFixtures::Numbered(1));
    old[TQuestionRecord::Size + 70] = '\x7F';     // past the question's length
    old[2 * TQuestionRecord::Size - 76] = '\xFF'; // wrong3 length byte 255
    const std::string whole = old;
    old += std::string(100, 'T');
    const auto out = dir.Write("SET.QST", old);
    const auto src = dir.Write("in.txt", "#Q Added?\n^ a\nA a\nB b\nC c\nD d\n");
    TImportOptions options{{src}, out};
    options.Append = true;
    const TRun run = Import(options);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find("100 bytes after its last whole record"), std::string::npos);
    EXPECT_NE(run.Err.find("now 2"), std::string::npos) << run.Err;
    const std::string now = ReadBytes(out);
    ASSERT_EQ(now.size(), 3 * TQuestionRecord::Size);
    EXPECT_EQ(now.substr(0, whole.size()), whole);
    EXPECT_EQ(ReadSet(out)[1].Question, "Added?");
}

TEST(Import, FailedRunsLeaveNoOutputBehind) {
    // Whenever a run fails, the output is exactly as before (absent or unchanged) and no
    // temporary file is left in its folder.
    TToolFolder dir;
    const auto good = dir.Write("good.csv", CsvHeader + "Q1,a,b,c,d\n");
    const auto bad = dir.Write("bad.csv", CsvHeader + "Q1,a,b,c,d\n,a,b,c,d\n");
    const auto notOtdb = dir.Write("x.json", "[1,2,3]");
    const auto noHeader = dir.Write("h.csv", "q,a,b,c,d\n");
    const auto allBad = dir.Write("allbad.txt", "#Q Q?\n^ a\nA a\nB a\nC c\nD d\n");
    const auto damaged = dir.Write("DAMAGED.QST", std::string(760, 'z'));
    const auto shortSet = dir.Write("SHORT.QST", std::string(379, '\0'));
    struct TCase {
        const char* Name;
        TImportOptions Options;
        int Status;
        const char* Words;
    };
    TImportOptions strict{{bad}, dir.Path("NEW.QST")};
    strict.Strict = true;
    TImportOptions appendDamaged{{good}, damaged};
    appendDamaged.Append = true;
    TImportOptions appendShort{{good}, shortSet};
    appendShort.Append = true;
    TImportOptions dry{{good}, dir.Path("NEW.QST")};
    dry.DryRun = true;
    const TCase cases[] = {
        {"strict with a skipped row", strict, 1, "1 row skipped; nothing written"},
        {"source missing",
         {{good, dir.Path("nope.csv")}, dir.Path("NEW.QST")},
         1,
         "nope.csv: error: No such file or directory"},
        {"source not in the download shape",
         {{notOtdb}, dir.Path("NEW.QST")},
         1,
         "not an Open Trivia Database document"},
        {"csv without the named columns", {{noHeader}, dir.Path("NEW.QST")}, 1, "lacks column"},
        {"appending to a damaged set", appendDamaged, 1, "its header is damaged"},
        {"appending to a truncated set", appendShort, 1, "shorter than one record"},
        {"output folder missing",
         {{good}, dir.Path("none/OUT.QST")},
         1,
         "No such file or directory"},
        {"output is a folder", {{good}, dir.Path("")}, 1, "not a regular file"},
        {"output name not UTF-8", {{good}, dir.Path("BAD\xC9.QST")}, 1, "name is not UTF-8"},
        {"output is a source", {{good, bad}, bad}, 1, "same file as the source"},
        {"source format unknown",
         {{dir.Path("good.dat")}, dir.Path("NEW.QST")},
         2,
         "cannot tell the format"},
        {"every row skipped",
         {{allBad}, dir.Path("NEW.QST")},
         1,
         "no question could be taken; nothing written"},
        {"dry run", dry, 0, "dry run: 1 question would be written"},
    };
    const auto before = dir.Names();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string damagedBytes = ReadBytes(damaged);
        const TRun run = Import(c.Options);
        EXPECT_EQ(run.Status, c.Status) << run.Err;
        EXPECT_NE(run.Err.find(c.Words), std::string::npos) << run.Err;
        EXPECT_EQ(dir.Names(), before);
        EXPECT_EQ(ReadBytes(damaged), damagedBytes);
        EXPECT_EQ(ReadBytes(bad), CsvHeader + "Q1,a,b,c,d\n,a,b,c,d\n");
    }
}

TEST(Import, OutputReachedByAnotherNameIsStillTheSource) {
    // A hard link to a source is recognised as the same file (by device and inode).
    TToolFolder dir;
    const auto src = dir.Write("in.csv", CsvHeader + "Q1,a,b,c,d\n");
    ASSERT_EQ(::link(src.c_str(), dir.Path("LINK.QST").c_str()), 0);
    const TRun run = Import({{src}, dir.Path("LINK.QST")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(ReadBytes(src), CsvHeader + "Q1,a,b,c,d\n");
}

TEST(Import, KeepsDifficultyMarksBesideTheSetInRecordOrder) {
    // Marks go to SET.difficulty, one line per question in record order, while the set itself
    // stays header plus records. Appending keeps each mark that still belongs to its record
    // (not one whose record was changed in the meantime); a set written without any mark
    // takes its old marks file away.
    TToolFolder dir;
    const auto out = dir.Path("SET.QST");
    const auto marks = dir.Path("SET.QST.difficulty");
    const auto first =
        dir.Write("first.txt", "#Q Caf\xC3\xA9?\n#D easy\n^ a\nA a\nB b\nC c\nD d\n\n"
                               "#Q Plain?\n^ a\nA a\nB b\nC c\nD d\n\n"
                               "#Q Third?\n#D hard\n^ a\nA a\nB b\nC c\nD d\n");
    TRun run = Import({{first}, out});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadBytes(out).size(), 4 * TQuestionRecord::Size);
    EXPECT_EQ(ReadBytes(marks), "easy\tCaf\xC3\xA9?\n-\tPlain?\nhard\tThird?\n");
    EXPECT_NE(run.Err.find("wrote the difficulty marks to " + marks), std::string::npos);

    // The first question is changed in place, as the editor does; then more are appended,
    // one of them with a line break in its text.
    QstFixtures::WriteSet(out, {QstFixtures::Question("Changed?", "a", "b", "c", "d"),
                                QstFixtures::Question("Plain?", "a", "b", "c", "d"),
                                QstFixtures::Question("Third?", "a", "b", "c", "d")});
    const auto more = dir.Write("more.txt", "#Q Fourth?\n#D medium\n^ a\nA a\nB b\nC c\nD d\n");
    const auto csv = dir.Write("more.csv", CsvHeader + "\"Two\nlines?\",a,b,c,d\n");
    TImportOptions append{{more, csv}, out};
    append.Append = true;
    run = Import(append);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadBytes(marks), "-\tChanged?\n-\tPlain?\nhard\tThird?\nmedium\tFourth?\n"
                                "-\tTwo lines?\n");

    // A set written anew without marks leaves no marks behind.
    run = Import({{csv}, out});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"SET.QST", "first.txt", "more.csv", "more.txt"}));
}

TEST(Import, RefusesToAppendBesideAMarksFileItCannotRead) {
    // A marks file that is not one is never overwritten by an append: the run fails, the
    // set and the file stay as they were and no temporary file is left.
    TToolFolder dir;
    const auto out = dir.Path("SET.QST");
    QstFixtures::WriteNumberedSet(out, 2);
    const std::string setBytes = ReadBytes(out);
    const auto src = dir.Write("in.txt", "#Q New?\n#D easy\n^ a\nA a\nB b\nC c\nD d\n");
    // The last: a faulty line past the lines of the set's records.
    for (const std::string& bad : {std::string("easy\tQuestion 1\nsoso\tQuestion 2\n"),
                                   std::string("easy\tQuestion 1\nhard"), std::string("easy\n"),
                                   std::string("easy\tQuestion 1\n-\tQuestion 2\nsoso\tGone\n")}) {
        SCOPED_TRACE(bad);
        const auto marks = dir.Write("SET.QST.difficulty", bad);
        TImportOptions options{{src}, out};
        options.Append = true;
        const TRun run = Import(options);
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE(run.Err.find(marks + ": not a marks file"), std::string::npos) << run.Err;
        EXPECT_EQ(ReadBytes(out), setBytes);
        EXPECT_EQ(ReadBytes(marks), bad);
        EXPECT_EQ(dir.Names(),
                  (std::vector<std::string>{"SET.QST", "SET.QST.difficulty", "in.txt"}));
    }
}

TEST(Import, ReplacingASetKeepsItsPermissions) {
    // Without --append the set is replaced whole and keeps the permissions it had.
    TToolFolder dir;
    const auto out = dir.Path("SET.QST");
    QstFixtures::WriteNumberedSet(out, 5);
    ASSERT_EQ(::chmod(out.c_str(), 0640), 0);
    const auto src = dir.Write("in.csv", CsvHeader + "Q1,a,b,c,d\n");
    ASSERT_EQ(Import({{src}, out}).Status, 0);
    EXPECT_EQ(ReadSet(out).size(), 1u);
    struct stat st {};
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

} // namespace
