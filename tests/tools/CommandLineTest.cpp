#include "QstFixtures.h"
#include "QstTool.h"
#include "ToolFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

TRun Tool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    TRun run{};
    run.Status = RunQstTool(args, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

TEST(CommandLine, MisuseExitsWithStatus2AndAHint) {
    // Wrong commands, options and missing arguments exit 2 with a message on stderr and
    // nothing on stdout.
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"convert", "x.csv"},
        {"info"},
        {"info", "a.QST", "b.QST"},
        {"info", "a.QST", "--format", "csv"},
        {"export", "a.QST", "--format", "xml"},
        {"export", "a.QST", "--format"},
        {"export", "a.QST", "-o", "a.QST"},
        {"import", "x.csv"},
        {"import", "-o", "OUT.QST"},
        {"import", "x.csv", "-o", "OUT.QST", "--from", "xls"},
        {"import", "x.csv", "-o", "OUT.QST", "--strict=yes"},
        {"import", "x.dat", "-o", "OUT.QST"},
        {"import", "x.csv", "-o", "OUT.QST", "--bogus"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const TRun run = Tool(args);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find("trivora-qst: "), std::string::npos);
    }
}

TEST(CommandLine, HelpPrintsUsageOnStdout) {
    // --help (alone or after a command) prints the usage and succeeds.
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"import", "--help"}}) {
        const TRun run = Tool(args);
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Out, QstToolUsage());
        EXPECT_EQ(run.Err, "");
    }
    EXPECT_NE(std::string(QstToolUsage()).find("import SOURCE... -o FILE"), std::string::npos);
}

TEST(CommandLine, CommandsRunEndToEnd) {
    // import (with --from and --option=value spellings), export to a file and to stdout, and
    // info work together on real files.
    TToolFolder dir;
    const auto src = dir.Write("questions.list", "#Q One?\n^ a\nA a\nB b\nC c\nD d\n");
    const auto set = dir.Path("SET.QST");
    TRun run = Tool({"import", "--from=txt", src, "--output=" + set});
    ASSERT_EQ(run.Status, 0) << run.Err;
    run = Tool({"info", set});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "records: 2 (1 question)\nheader: ok\n");
    run = Tool({"export", set, "--format", "json", "-o", dir.Path("out.json")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    run = Tool({"import", dir.Path("out.json"), "-o", set, "--append", "--dry-run"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("no question could be taken"), std::string::npos);
    EXPECT_NE(run.Err.find("duplicate of the question at record 1"), std::string::npos);
    run = Tool({"export", "--", set});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "question,answer,wrong1,wrong2,wrong3\nOne?,a,b,c,d\n");
    run = Tool({"export", dir.Path("missing.QST")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("missing.QST: No such file or directory"), std::string::npos);
}

} // namespace
