#include "ToolFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LengthsCommand, CountsTheCorrectAnswerAsLongestOnlyWhenLongerThanEveryWrongOne) {
    // Per source and in all: questions, correct answers longer than each wrong option (a tie
    // is not longest), and mean lengths in characters (an accented letter is one).
    ToolFolder dir;
    const auto a = dir.write("a.txt", "#Q Q1?\n^ Longest\nA Longest\nB ab\nC abc\nD abcd\n\n"
                                      "#Q Q2?\n^ abcd\nA abcd\nB wxyz\nC ab\nD a\n");
    const auto b = dir.write("b.txt", "#Q Q3?\n^ Caf\xC3\xA9\nA Caf\xC3\xA9\nB ab\nC ab\nD ab\n");
    const ToolRun run = runTool({"lengths", a, b});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "questions longest  share mean right mean wrong  source\n"
                       "        2       1  50.0 %        5.5        2.7  " +
                           a +
                           "\n"
                           "        1       1 100.0 %        4.0        2.0  " +
                           b +
                           "\n"
                           "        3       2  66.7 %        5.0        2.4  (all)\n");
}

TEST(LengthsCommand, FaultyInputOrUsageFails) {
    // No source or an unknown kind of source is misuse; an unreadable source fails the run.
    ToolFolder dir;
    const auto good = dir.write("a.txt", "#Q Q?\n^ a1\nA a1\nB b\nC c\nD d\n");
    EXPECT_EQ(runTool({"lengths"}).status, 2);
    EXPECT_EQ(runTool({"lengths", dir.stdPath("a.dat")}).status, 2);
    const ToolRun run = runTool({"lengths", good, dir.stdPath("none.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("none.txt"), std::string::npos) << run.err;
}

} // namespace
