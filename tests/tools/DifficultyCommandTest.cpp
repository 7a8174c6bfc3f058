#include "MarksFromPlay.h"
#include "QstFixtures.h"
#include "ScoreStore.h"
#include "ToolFolder.h"
#include "ToolRun.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(MarksFromPlay, AMarkChangesOnlyWhenItsQuestionWasAskedEnoughAndTheFiguresClearlyDisagree) {
    // At least 20 asked; bands easy from 75 %, hard up to 40 %; an unmarked question takes its
    // band, a marked one moves only when the 95 % Wilson interval misses its mark's band.
    using D = Difficulty;
    struct Case {
        D current;
        int asked, right;
        std::optional<D> proposed;
    };
    const Case cases[] = {
        {D::None, 19, 19, std::nullopt},   {D::None, 0, 0, std::nullopt},
        {D::None, 20, 15, D::Easy},        {D::None, 20, 8, D::Hard},
        {D::None, 20, 12, D::Medium},      {D::Hard, 20, 8, std::nullopt},
        {D::Medium, 20, 16, std::nullopt}, // 80 %, but the interval reaches down to 58 %
        {D::Medium, 100, 90, D::Easy},     {D::Hard, 30, 27, D::Easy},
        {D::Easy, 20, 2, D::Hard},         {D::Easy, 40, 26, std::nullopt},
        {D::Easy, 200, 130, D::Medium},    {D::Hard, 200, 100, D::Medium},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(difficultyName(c.current)) + " " + std::to_string(c.right) + "/" +
                     std::to_string(c.asked));
        EXPECT_EQ(proposedMark(c.current, c.asked, c.right, 20), c.proposed);
    }
    const ShareInterval interval = wilsonInterval(15, 20);
    EXPECT_NEAR(interval.low, 0.5313, 1e-4);
    EXPECT_NEAR(interval.high, 0.8882, 1e-4);
    EXPECT_EQ(wilsonInterval(20, 20).high, 1.0);
    EXPECT_EQ(wilsonInterval(0, 20).low, 0.0);
}

class DifficultyCommand : public testing::Test {
protected:
    void SetUp() override {
        set = dir.stdPath("SET.QST");
        db = dir.stdPath("scores.sqlite");
        QstFixtures::writeNumberedSet(set, 4);
        // Question 1 nearly always right, 2 seldom, 3 asked too few times, 4 in between.
        const int figures[4][2] = {{25, 24}, {25, 5}, {5, 0}, {30, 18}};
        ScoreStore store(QString::fromStdString(db));
        const QuestionSet questions = QuestionSet::fromFile(QString::fromStdString(set));
        for (int q = 0; q < 4; ++q)
            for (int i = 0; i < figures[q][0]; ++i)
                ASSERT_TRUE(store.recordAnswer(
                    questions, ScoreStore::questionText(QstFixtures::numbered(q + 1)),
                    i < figures[q][1]));
    }

    int argc = 1;
    char name[5] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    ToolFolder dir;
    std::string set, db;
};

TEST_F(DifficultyCommand, ProposesMarksFromTheFiguresAndWritesThemOnlyWhenAsked) {
    // Only changed marks are printed; a marks line naming another question counts as no
    // mark; --write stores every question's line at once; the database is only read.
    const std::string marks = set + ".difficulty";
    const std::string before = "hard\tQuestion 1\nhard\tQuestion 2\neasy\tQuestion 3\n"
                               "easy\tAnother question\n";
    dir.write("SET.QST.difficulty", before);
    const std::string database = readText(db);

    ToolRun run = runTool({"difficulty", "--database", db, set});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1: hard -> easy: asked 25, right 24 (96 %, 95 % interval 80-99 %): "
                       "Question 1\n"
                       "4: - -> medium: asked 30, right 18 (60 %, 95 % interval 42-75 %): "
                       "Question 4\n");
    EXPECT_NE(run.err.find("1 lines name another question"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("4 questions, 3 asked at least 20 times, 2 new marks proposed"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(readText(marks), before);

    run = runTool({"difficulty", "--database", db, set, "--write"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readText(marks),
              "easy\tQuestion 1\nhard\tQuestion 2\neasy\tQuestion 3\nmedium\tQuestion 4\n");
    EXPECT_EQ(readText(db), database);

    // Nothing left to change: the same run proposes nothing.
    run = runTool({"difficulty", "--database", db, set});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(DifficultyCommand, FaultyInputOrUsageFailsAndLeavesTheMarksAlone) {
    // Misuse exits 2, an unreadable set or marks file 1; no marks file is written either way.
    const std::string badMarks = dir.write("BAD.QST.difficulty", "easy\tQuestion 1\nvery hard\n");
    QstFixtures::writeNumberedSet(dir.stdPath("BAD.QST"), 2);
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {{"difficulty"}, 2, "needs exactly one SET"},
        {{"difficulty", set, set}, 2, "needs exactly one SET"},
        {{"difficulty", set, "--min-asked", "0"}, 2, "--min-asked needs a whole number"},
        {{"difficulty", set, "--min-asked", "many"}, 2, "--min-asked needs a whole number"},
        {{"difficulty", set, "--format", "csv"}, 2, "unknown option --format"},
        {{"difficulty", dir.stdPath("none.QST"), "--database", db}, 1, "none.QST"},
        {{"difficulty", dir.stdPath("BAD.QST"), "--database", db, "--write"}, 1, "line 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.words), std::string::npos) << run.err;
    }
    EXPECT_EQ(readText(badMarks), "easy\tQuestion 1\nvery hard\n");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"BAD.QST", "BAD.QST.difficulty", "SET.QST",
                                                     "scores.sqlite"}));
}

} // namespace
