#include "QstFixtures.h"
#include "ToolFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using QstFixtures::readBytes;

const std::string Topic = "#Q What is one plus one?\n#D easy\n^ Two\nA One\nB Two\nC Three\nD Four\n\n"
                          "#Q Which colour is a clear daytime sky?\n#D hard\n^ Blue\nA Blue\n"
                          "B Red\nC Green\nD Pink\n";

// A folder holding ARTS.QST, a set by topic with its marks, built by the tool itself.
struct TopicSet {
    ToolFolder dir;
    std::string set;
    TopicSet() {
        const std::string source = dir.write("arts.txt", Topic);
        const ToolRun run = runTool({"sets", source, "-d", dir.stdPath("")});
        EXPECT_EQ(run.status, 0) << run.err;
        set = dir.stdPath("ARTS.QST");
    }
};

TEST(DataSafety, AnOutputNeverReplacesWhatTheCommandReads) {
    // export and figures refuse an output that is their own input under any name (the same
    // path spelled otherwise, a link, an absolute path) or another question set; import
    // refuses to write a set over a file that is not one. Nothing is changed by a refusal.
    TopicSet s;
    const std::string other = s.dir.write("other.csv", "question,answer,wrong1,wrong2,wrong3\n");
    const std::string database =
        s.dir.write("other.sqlite", std::string("SQLite format 3\0", 16) + "pages");
    std::filesystem::create_symlink(s.set, s.dir.stdPath("LINK.QST"));
    const std::string copy = s.dir.stdPath("COPY.QST");
    std::filesystem::copy_file(s.set, copy);
    const std::string relative = std::filesystem::relative(s.set).string();
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {"export to the set by another spelling",
         {"export", s.set, "-o", s.dir.stdPath("./ARTS.QST")}, 2, "same file"},
        {"export through a link", {"export", s.set, "-o", s.dir.stdPath("LINK.QST")}, 2,
         "same file"},
        {"export by a relative path", {"export", s.set, "-o", relative}, 2, "same file"},
        {"export over another set", {"export", s.set, "-o", copy}, 2, "is a question set"},
        {"export over a database", {"export", s.set, "-o", database}, 2, "is a database"},
        {"figures over the set through a link",
         {"figures", s.set, "-o", s.dir.stdPath("LINK.QST"), "--database",
          s.dir.stdPath("none.sqlite")},
         2, "same file"},
        {"import over a CSV", {"import", s.dir.stdPath("arts.txt"), "-o", other}, 1,
         "not a question set"},
        {"import over the marks file",
         {"import", s.dir.stdPath("arts.txt"), "-o", s.set + ".difficulty"}, 1,
         "not a question set"},
    };
    const std::string setBytes = readBytes(s.set);
    const std::string marksBytes = readBytes(s.set + ".difficulty");
    const auto names = s.dir.names();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.words), std::string::npos) << run.err;
        EXPECT_EQ(readBytes(s.set), setBytes);
        EXPECT_EQ(readBytes(copy), setBytes);
        EXPECT_EQ(readBytes(s.set + ".difficulty"), marksBytes);
        EXPECT_EQ(readBytes(other), "question,answer,wrong1,wrong2,wrong3\n");
        EXPECT_EQ(readBytes(database).size(), 21u);
        EXPECT_EQ(s.dir.names(), names);
    }
}

TEST(DataSafety, AnImportThroughALinkWritesTheSetAndItsMarksWhereItPoints) {
    // The link stays a link; the set it points to and that set's marks are written.
    TopicSet s;
    const std::string link = s.dir.stdPath("LINK.QST");
    std::filesystem::create_symlink(s.set, link);
    const std::string more = s.dir.write("more.txt", "#Q New?\n#D hard\n^ a\nA a\nB b\nC c\nD d\n");
    const ToolRun run = runTool({"import", more, "-o", link});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(s.set + ".difficulty"), "hard\tNew?\n");
    EXPECT_FALSE(std::filesystem::exists(link + ".difficulty"));
}

TEST(DataSafety, AnOutputThroughALinkThatLeadsNowhereIsRefused) {
    // A link that loops or points at no file is neither replaced by a file of its own nor
    // followed to make one: every command that writes refuses it and leaves it as it was; a
    // database given through such a link is an error, not "no figures yet".
    TopicSet s;
    const std::string source =
        s.dir.write("more.csv", "question,answer,wrong1,wrong2,wrong3\nWhat is two plus two?,"
                                "Four,One,Two,Three\n");
    const std::string loop = s.dir.stdPath("loop1");
    std::filesystem::create_symlink("loop2", loop);
    std::filesystem::create_symlink("loop1", s.dir.stdPath("loop2"));
    const std::string dangling = s.dir.stdPath("dangling");
    std::filesystem::create_symlink("gone/NEW.QST", dangling);
    const auto names = s.dir.names();
    for (const std::string& link : {loop, dangling}) {
        const std::vector<std::string> commands[] = {
            {"export", s.set, "-o", link},
            {"figures", s.set, "-o", link},
            {"import", source, "-o", link},
            {"import", source, "-o", link, "--append"},
            {"figures", s.set, "--database", loop},
        };
        for (const auto& args : commands) {
            SCOPED_TRACE(args[0] + " " + args[2] + " " + args[3]);
            const ToolRun run = runTool(args);
            EXPECT_NE(run.status, 0);
            EXPECT_NE(run.err.find(std::filesystem::path(args[3]).filename().string()),
                      std::string::npos)
                << run.err;
            EXPECT_TRUE(std::filesystem::is_symlink(args[3]));
            EXPECT_EQ(s.dir.names(), names);
        }
    }
}

TEST(DataSafety, EitherExportImportsBackToTheSameSetAndMarks) {
    // An export carries the set's topic and difficulty marks; importing it gives the same
    // set, byte for byte, and the same marks file.
    TopicSet s;
    for (const std::string format : {"csv", "json"}) {
        SCOPED_TRACE(format);
        const std::string exported = s.dir.stdPath("out." + format);
        const std::string back = s.dir.stdPath("BACK-" + format + ".QST");
        ASSERT_EQ(runTool({"export", s.set, "--format", format, "-o", exported}).status, 0);
        const ToolRun run = runTool({"import", exported, "-o", back});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readBytes(back), readBytes(s.set));
        EXPECT_EQ(readBytes(back + ".difficulty"), readBytes(s.set + ".difficulty"));
    }
}

TEST(DataSafety, AnImportOverASetTakesEveryRowOrNothing) {
    // Rows the set may hold but an import refuses (the same question in another letter case
    // or with a trailing blank, the correct answer repeated as a wrong one, a blank field)
    // would be lost with the old set: the import fails and leaves it as it was. Into a new
    // file the rows are skipped as before, each reported.
    const std::string header = "question,answer,wrong1,wrong2,wrong3\n";
    const std::pair<const char*, std::string> rows[] = {
        {"case", "Capital of Peru?,Lima,Quito,Bogota,Caracas\ncapital of peru? ,Lima,Quito,Cusco,Sucre\n"},
        {"answer repeated", "Capital of Peru?,Lima,Lima,Bogota,Caracas\n"},
        {"blank field", "Capital of Peru?,Lima, ,Bogota,Caracas\n"},
    };
    for (const auto& [name, body] : rows) {
        SCOPED_TRACE(name);
        TopicSet s;
        const std::string csv = s.dir.write("rows.csv", header + "Kept?,a,b,c,d\n" + body);
        const std::string before = readBytes(s.set);
        const ToolRun over = runTool({"import", csv, "-o", s.set});
        EXPECT_EQ(over.status, 1) << over.err;
        EXPECT_NE(over.err.find("left as it was"), std::string::npos) << over.err;
        EXPECT_EQ(readBytes(s.set), before);
        const ToolRun fresh = runTool({"import", csv, "-o", s.dir.stdPath("NEW.QST")});
        EXPECT_EQ(fresh.status, 0) << fresh.err;
        EXPECT_NE(fresh.err.find("skipped"), std::string::npos) << fresh.err;
    }
}

TEST(DataSafety, TextThatIsUtf8ButForAStrayByteIsRefused) {
    // One byte that is not UTF-8 in a UTF-8 file refuses the file with its line, instead of
    // reading every accented letter as two Windows-1252 characters; a file with no UTF-8 in
    // it is still read as Windows-1252.
    ToolFolder dir;
    const std::string header = "question,answer,wrong1,wrong2,wrong3\n";
    const std::string mixed =
        dir.write("mixed.csv", header + "Caf\xC3\xA9?,a,b,c,d\nNa\xEFve?,a,b,c,d\n");
    const ToolRun refused = runTool({"import", mixed, "-o", dir.stdPath("M.QST")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("mixed.csv:3: error: byte 0xEF is not UTF-8"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir.stdPath("M.QST")));
    const std::string legacy = dir.write("legacy.csv", header + "Caf\xE9?,a,b,c,d\n");
    const std::string set = dir.stdPath("L.QST");
    ASSERT_EQ(runTool({"import", legacy, "-o", set}).status, 0);
    EXPECT_NE(readBytes(set).find("Caf\xE9?"), std::string::npos);
}

TEST(DataSafety, AppendKeepsMarksWrittenWithWindowsLineEnds) {
    // A marks file whose lines end in CR LF keeps every mark when questions are appended.
    TopicSet s;
    std::string marks = readBytes(s.set + ".difficulty");
    std::string crlf;
    for (char c : marks)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    s.dir.write("ARTS.QST.difficulty", crlf);
    const std::string more = s.dir.write("more.txt", "#Q New?\n#D medium\n^ a\nA a\nB b\nC c\nD d\n");
    const ToolRun run = runTool({"import", more, "-o", s.set, "--append"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(s.set + ".difficulty"), marks + "medium\tNew?\n");
}

TEST(DataSafety, AReportNeverChangesTheDatabaseItIsGiven) {
    // figures --database refuses what is not a scores database (the set itself, a folder, a
    // named pipe, a device, a text file) without moving, making or changing anything.
    TopicSet s;
    const std::string fifo = s.dir.stdPath("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(s.dir.stdPath("folder"));
    const std::string text = s.dir.write("notes.txt", "my notes\n");
    const std::pair<std::string, int> databases[] = {
        {s.set, 1}, {s.dir.stdPath("folder"), 2}, {fifo, 2}, {"/dev/null", 2}, {text, 1}};
    const auto names = s.dir.names();
    const std::string setBytes = readBytes(s.set);
    for (const auto& [database, status] : databases) {
        SCOPED_TRACE(database);
        const ToolRun run = runTool({"figures", s.set, "--database", database});
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_EQ(s.dir.names(), names);
        EXPECT_EQ(readBytes(s.set), setBytes);
        EXPECT_EQ(readBytes(text), "my notes\n");
    }
    // An empty set is named in the message, never an empty one.
    const std::string empty = s.dir.write("EMPTY.QST", "");
    const ToolRun run = runTool({"figures", empty, "--database", s.dir.stdPath("none.sqlite")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("EMPTY.QST is not a question set"), std::string::npos) << run.err;
}

} // namespace

namespace {

TEST(DataSafety, SmallerFaultsOfTheReaders) {
    // A number ending a line is reported on its own line, not the next; pairs refuses a pipe
    // or a folder as a usage error, as every command does.
    ToolFolder dir;
    const std::string json = dir.write(
        "n.json", "{\"response_code\":0,\"results\":[\n5\n,\n{\"type\":\"multiple\",\"question\":\"x\","
                  "\"correct_answer\":\"a\",\"incorrect_answers\":[\"b\",\"c\",\"d\"]}]}");
    const ToolRun run = runTool({"import", json, "-o", dir.stdPath("N.QST"), "--dry-run"});
    EXPECT_NE(run.err.find("n.json:2: skipped: entry is not an object"), std::string::npos)
        << run.err;
    const std::string fifo = dir.stdPath("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(dir.stdPath("folder.txt"));
    for (const std::string& path : {fifo, dir.stdPath("folder.txt")})
        EXPECT_EQ(runTool({"pairs", path}).status, 2) << path;
}

} // namespace
