#include "QstFixtures.h"
#include "QstTool.h"
#include "ToolFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

TEST(CommandLine, MisuseExitsWithStatus2AndAHint) {
    // Wrong commands, options and missing arguments exit 2 with a message naming the fault on
    // stderr and nothing on stdout.
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"convert", "x.csv"}, "unknown command 'convert'"},
        {{"info"}, "info needs exactly one FILE"},
        {{"info", "a.QST", "b.QST"}, "info needs exactly one FILE"},
        {{"info", "a.QST", "--format", "csv"}, "unknown option --format for info"},
        {{"info", "-o", "x", "a.QST"}, "unknown option -o for info"},
        {{"export", "a.QST", "--format", "xml"}, "unknown format 'xml' (use csv or json)"},
        {{"export", "a.QST", "--format"}, "option --format needs a value"},
        {{"export", "a.QST", "-o", "a.QST"}, "the output must not be the question set itself"},
        {{"import", "x.csv"}, "import needs -o FILE (or --dry-run)"},
        {{"import", "-o", "OUT.QST"}, "import needs at least one SOURCE"},
        {{"import", "x.csv", "-o", "OUT.QST", "--from", "xls"}, "unknown source format 'xls'"},
        {{"import", "x.csv", "-o", "OUT.QST", "--strict=yes"}, "option --strict takes no value"},
        {{"import", "x.dat", "-o", "OUT.QST"}, "x.dat: cannot tell the format from the name"},
        {{"import", "x.csv", "-o", "OUT.QST", "--bogus"}, "unknown option --bogus for import"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(std::string("trivora-qst: ") + c.message), std::string::npos)
            << run.err;
    }
}

TEST(CommandLine, OnlyRegularFilesAreRead) {
    // A folder, a named pipe or a device given to any command is refused at once with a
    // one-line message and status 2, without being opened for reading (a pipe would block).
    ToolFolder dir;
    const std::string fifo = dir.stdPath("pipe.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.stdPath("");
    const std::string out = dir.stdPath("OUT.QST");
    const std::vector<std::vector<std::string>> cases = {
        {"info", fifo},
        {"info", folder},
        {"info", "/dev/zero"},
        {"export", fifo, "--format", "json"},
        {"export", "/dev/null", "-o", dir.stdPath("x.csv")},
        {"import", fifo, "-o", out},
        {"import", "/dev/zero", "--from", "csv", "-o", out},
        {"import", folder, "--from", "txt", "--dry-run"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.err.ends_with(": not a regular file\n") ||
                    run.err.ends_with(": is a folder\n"))
            << run.err;
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{"pipe.csv"});
}

TEST(CommandLine, OversizedSourceIsRefusedUnread) {
    // A source larger than the stated limit is rejected by its size alone: a sparse file of
    // 256 MiB and one byte costs nothing to refuse.
    ToolFolder dir;
    const std::string big = dir.stdPath("big.csv");
    QstFixtures::writeBytes(big, "");
    ASSERT_EQ(::truncate(big.c_str(), (std::int64_t{256} << 20) + 1), 0);
    const ToolRun run = runTool({"import", big, "-o", dir.stdPath("OUT.QST")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("big.csv: error: too large (268435457 bytes, at most 268435456)"),
              std::string::npos)
        << run.err;
    EXPECT_NE(std::string(qstToolUsage()).find("larger than 256 MiB are refused"),
              std::string::npos);
}

TEST(CommandLine, HelpPrintsUsageOnStdout) {
    // --help (alone or after a command) prints the usage and succeeds.
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"import", "--help"}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, qstToolUsage());
        EXPECT_EQ(run.err, "");
    }
    EXPECT_NE(std::string(qstToolUsage()).find("import SOURCE... -o FILE"), std::string::npos);
}

TEST(CommandLine, CommandsRunEndToEnd) {
    // import (with --from and --option=value spellings, from a file whose name is not UTF-8),
    // export to a file and to stdout, and info work together on real files.
    ToolFolder dir;
    const auto src = dir.write("questions\xE9.list", "#Q One?\n^ a\nA a\nB b\nC c\nD d\n");
    const auto set = dir.stdPath("SET.QST");
    ToolRun run = runTool({"import", "--from=txt", src, "--output=" + set});
    ASSERT_EQ(run.status, 0) << run.err;
    run = runTool({"info", set});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "records: 2 (1 question)\nheader: ok\n");
    run = runTool({"export", set, "--format", "json", "-o", dir.stdPath("out.json")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    run = runTool({"import", dir.stdPath("out.json"), "-o", set, "--append", "--dry-run"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no question could be taken"), std::string::npos);
    EXPECT_NE(run.err.find("duplicate of the question at record 1"), std::string::npos);
    run = runTool({"export", "--", set});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "question,answer,wrong1,wrong2,wrong3\nOne?,a,b,c,d\n");
    run = runTool({"export", dir.stdPath("missing.QST")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing.QST: No such file or directory"), std::string::npos);
}

} // namespace
