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

TQuestionRecord recordAt(const std::string& path, std::size_t index) {
    const std::string bytes = QstFixtures::ReadBytes(path);
    return TQuestionRecord::Decode(
        reinterpret_cast<const std::uint8_t*>(bytes.data() + index * TQuestionRecord::Size));
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
    TToolFolder dir;
    const auto arts = dir.Write("arts.txt", Block);
    const auto nature =
        dir.Write("nature.txt", "#Q Where?\n#D hard\n^ x\nA y\nB x\nC z\nD w\n\n" + Block);
    const ToolRun run = runTool({"sets", arts, nature, "-d", dir.Path(""), "--strict"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const auto& [name, topic, questions] :
         {std::tuple{"ARTS.QST", "Arts", 1}, std::tuple{"NATURE.QST", "Nature", 2}}) {
        SCOPED_TRACE(name);
        const std::string path = dir.Path(name);
        EXPECT_EQ(CheckQuestionFile(path, ReaderRules::GameChange).Status, TQstCheck::Accepted);
        EXPECT_EQ(QstFixtures::ReadBytes(path).size(), (questions + 1) * TQuestionRecord::Size);
        const TQuestionRecord header = recordAt(path, 0);
        EXPECT_TRUE(header.IsHeader());
        EXPECT_EQ(header.Answer, topic);
        EXPECT_EQ(recordAt(path, questions).Question, "Which?");
        EXPECT_NE(runTool({"info", path}).out.find(std::string("topic: ") + topic),
                  std::string::npos);
    }
    EXPECT_EQ(QstFixtures::ReadBytes(dir.Path("NATURE.QST.difficulty")),
              "hard\tWhere?\neasy\tWhich?\n");
}

TEST(TopicSets, AFaultySourceMakesNoSetAndFailsTheRun) {
    // With --strict a source with a skipped block writes no set of its own and the run fails;
    // the sound sources still get theirs.
    TToolFolder dir;
    const auto good = dir.Write("good.txt", Block);
    const auto bad = dir.Write("bad.txt", Block + "\n#Q Broken?\n^ a\nA a\nB b\nC c\n");
    const ToolRun run = runTool({"sets", bad, good, "--dir", dir.Path(""), "--strict"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(bad + ":9: skipped: block lacks its D line"), std::string::npos)
        << run.err;
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"GOOD.QST", "GOOD.QST.difficulty", "bad.txt", "good.txt"}));
}

TEST(TopicSets, MisuseMakesNoSetAtAll) {
    // Usage faults, a refused name and two sources of one set name exit 2 before anything
    // is written.
    TToolFolder dir;
    const auto arts = dir.Write("arts.txt", Block);
    const auto regd = dir.Write("regd.txt", Block);
    const auto dat = dir.Write("arts.dat", Block);
    const std::string d = dir.Path("");
    const std::vector<std::vector<std::string>> cases = {
        {"sets"},
        {"sets", arts},
        {"sets", arts, "-d"},
        {"sets", arts, "-d", d, "--append"},
        {"sets", arts, "-d", d, "--strict=yes"},
        {"sets", arts, regd, "-d", d},
        {"sets", arts, dat, "-d", d},
        {"sets", arts, dir.Path("ARTS.csv"), "-d", d},
    };
    const auto before = dir.Names();
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("trivora-qst: "), std::string::npos);
        EXPECT_EQ(dir.Names(), before);
    }
}

} // namespace
