#include "TopicSets.h"
#include "QstFile.h"
#include "QstFixtures.h"
#include "QuestionRecord.h"
#include "ToolFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

QuestionRecord recordAt(const std::string& path, std::size_t index) {
    const std::string bytes = QstFixtures::readBytes(path);
    return QuestionRecord::decode(
        reinterpret_cast<const std::uint8_t*>(bytes.data() + index * QuestionRecord::Size));
}

const std::string Block = "#Q Which?\n#D easy\n^ a\nA a\nB b\nC c\nD d\n";

TEST(TopicSets, NameEachSetAndItsTopicAfterTheSourceFile) {
    // The set is the file's name in capitals with .QST; the topic is the name with its first
    // letter in capitals and - or _ as blanks. Names that would make REGD.QST or a file name
    // the game may not show are refused.
    struct Case {
        const char* source;
        const char* fileName; // empty: refused
        const char* topic;
    };
    const Case cases[] = {
        {"arts.txt", "ARTS.QST", "Arts"},
        {"data/questions/science.txt", "SCIENCE.QST", "Science"},
        {"pop-culture.csv", "POP-CULTURE.QST", "Pop culture"},
        {"SCI_FI.json", "SCI_FI.QST", "Sci fi"},
        {"1990s.txt", "1990S.QST", "1990s"},
        {"regd.txt", "", ""},
        {"some/Regd.csv", "", ""},
        {"caf\xC3\xA9.txt", "", ""},
        {"two words.txt", "", ""},
        {".txt", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        std::string why;
        const auto set = topicSetOf(c.source, why);
        if (!*c.fileName) {
            EXPECT_FALSE(set);
            EXPECT_FALSE(why.empty());
            continue;
        }
        ASSERT_TRUE(set) << why;
        EXPECT_EQ(set->fileName, c.fileName);
        EXPECT_EQ(set->topic, c.topic);
    }
}

TEST(TopicSets, BuildOneSetPerSourceWithItsTopicInTheHeader) {
    // Each source becomes its own set that the game accepts, headed by its topic, with its
    // difficulty marks beside it; info shows the topic.
    ToolFolder dir;
    const auto arts = dir.write("arts.txt", Block);
    const auto nature =
        dir.write("nature.txt", "#Q Where?\n#D hard\n^ x\nA y\nB x\nC z\nD w\n\n" + Block);
    const ToolRun run = runTool({"sets", arts, nature, "-d", dir.stdPath(""), "--strict"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const auto& [name, topic, questions] :
         {std::tuple{"ARTS.QST", "Arts", 1}, std::tuple{"NATURE.QST", "Nature", 2}}) {
        SCOPED_TRACE(name);
        const std::string path = dir.stdPath(name);
        EXPECT_EQ(checkQuestionFile(path, ReaderRules::GameChange).status, QstCheck::Accepted);
        EXPECT_EQ(QstFixtures::readBytes(path).size(), (questions + 1) * QuestionRecord::Size);
        const QuestionRecord header = recordAt(path, 0);
        EXPECT_TRUE(header.isHeader());
        EXPECT_EQ(header.answer, topic);
        EXPECT_EQ(recordAt(path, questions).question, "Which?");
        EXPECT_NE(runTool({"info", path}).out.find(std::string("topic: ") + topic),
                  std::string::npos);
    }
    EXPECT_EQ(QstFixtures::readBytes(dir.stdPath("NATURE.QST.difficulty")),
              "hard\tWhere?\neasy\tWhich?\n");
}

TEST(TopicSets, AFaultySourceMakesNoSetAndFailsTheRun) {
    // With --strict a source with a skipped block writes no set of its own and the run fails;
    // the sound sources still get theirs.
    ToolFolder dir;
    const auto good = dir.write("good.txt", Block);
    const auto bad = dir.write("bad.txt", Block + "\n#Q Broken?\n^ a\nA a\nB b\nC c\n");
    const ToolRun run = runTool({"sets", bad, good, "--dir", dir.stdPath(""), "--strict"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(bad + ":9: skipped: block lacks its D line"), std::string::npos)
        << run.err;
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{"GOOD.QST", "GOOD.QST.difficulty", "bad.txt", "good.txt"}));
}

TEST(TopicSets, MisuseMakesNoSetAtAll) {
    // Usage faults, a refused name and two sources of one set name exit 2 before anything
    // is written.
    ToolFolder dir;
    const auto arts = dir.write("arts.txt", Block);
    const auto regd = dir.write("regd.txt", Block);
    const auto dat = dir.write("arts.dat", Block);
    const std::string d = dir.stdPath("");
    const std::vector<std::vector<std::string>> cases = {
        {"sets"},
        {"sets", arts},
        {"sets", arts, "-d"},
        {"sets", arts, "-d", d, "--append"},
        {"sets", arts, "-d", d, "--strict=yes"},
        {"sets", arts, regd, "-d", d},
        {"sets", arts, dat, "-d", d},
        {"sets", arts, dir.stdPath("ARTS.csv"), "-d", d},
    };
    const auto before = dir.names();
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("trivora-qst: "), std::string::npos);
        EXPECT_EQ(dir.names(), before);
    }
}

} // namespace
