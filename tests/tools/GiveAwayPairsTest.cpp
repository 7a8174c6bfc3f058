#include "GiveAwayPairs.h"
#include "ToolFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

SourceRow row(const std::string& question, const std::string& answer) {
    SourceRow r;
    r.fields = {question, answer, "w1", "w2", "w3"};
    return r;
}

// Lines of text holding the given part.
std::size_t countLines(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        n += line.find(part) != std::string::npos;
    return n;
}

TEST(GiveAways, AnAnswerIsHeldWhenItsWordsStandWholeInAnotherQuestion) {
    // Whole words in order, any letter case (accented letters too), a plural ending allowed;
    // part of a longer word, a different spelling or words apart do not count.
    struct Case {
        const char* answer;
        const char* otherQuestion;
        bool held;
    };
    const Case cases[] = {
        {"Constantinople", "Which Ottoman sultan captured Constantinople?", true},
        {"CONSTANTINOPLE", "Who took constantinople in 1453?", true},
        {"1453", "Which city did the Ottoman Turks capture in 1453?", true},
        {"Rome", "In the legend of Rome's founding, who was the first king?", true},
        {"Anagram", "Which of these are anagrams of \"listen\"?", true},
        {"Fox", "What do foxes eat?", true},
        {"James Bond", "Who wrote the novels in which James Bond first appeared?", true},
        {"Dr. No", "Who played the villain in \"Dr. No\" (1962)?", true},
        {"The Magic Flute", "Who composed the opera \"The Magic Flute\"?", true},
        {"Grand Slam", "How many Grand Slams did she win?", true},
        {"Reykjav\xC3\xADk", "Which country has REYKJAV\xC3\x8DK as capital?", true},
        {"Rome", "Which romance is set in Verona?", false},
        {"Iron", "What is ironed?", false},
        {"Rice", "Which grain is ricees made of?", false},
        {"Reykjav\xC3\xADk", "Is Reykjavik a capital?", false},
        {"James Bond", "Which James is a Bond villain?", false},
        {"Red Sea", "Which sea is red?", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.answer) + " / " + c.otherQuestion);
        const GiveAwaySearch s =
            findGiveAways({row("First?", c.answer), row(c.otherQuestion, "zz")});
        if (c.held) {
            ASSERT_EQ(s.pairs.size(), 1u);
            EXPECT_EQ(s.pairs[0].answerRow, 0u);
            EXPECT_EQ(s.pairs[0].questionRow, 1u);
        } else {
            EXPECT_TRUE(s.pairs.empty());
        }
    }
}

TEST(GiveAways, EachHoldingIsOnePairInQuestionOrder) {
    // A question is not its own give-away; an answer found twice in one question, or once as
    // a word and once as a plural, makes one pair; pairs come in the order of the questions
    // holding the answers.
    const GiveAwaySearch s = findGiveAways({
        row("Africa: which continent has the most countries?", "Africa"),
        row("Is a lion a lion or lions?", "Lion"),
        row("Where in Africa do lions and a lion live?", "Africa"),
    });
    ASSERT_EQ(s.pairs.size(), 3u);
    const std::pair<std::size_t, std::size_t> expected[] = {{0, 2}, {2, 0}, {2, 1}};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ((std::pair{s.pairs[i].questionRow, s.pairs[i].answerRow}), expected[i]) << i;
}

TEST(GiveAways, AnswersTooShortOrTooCommonAreNotLookedFor) {
    // Single letters, numbers up to twelve (in figures or words), answers of quantity or
    // choice and little words are left out with a reason; larger numbers, two-letter symbols
    // and names that merely start like a common word are looked for.
    for (const char* answer : {"None", "none of the above", "All of these", "7", "12", "Twelve",
                               "K", "AND", "the", "Many", "...", "True"}) {
        SCOPED_TRACE(answer);
        EXPECT_FALSE(whyAnswerIsNotSearched(answer).empty());
    }
    for (const char* answer : {"13", "88", "1453", "Au", "Andes", "None More Black", "Ten Pin"}) {
        SCOPED_TRACE(answer);
        EXPECT_EQ(whyAnswerIsNotSearched(answer), "");
    }
    const GiveAwaySearch s = findGiveAways(
        {row("How many wise men came?", "3"), row("Who were the 3 wise men?", "Magi")});
    EXPECT_TRUE(s.pairs.empty());
    ASSERT_EQ(s.unsearched.size(), 1u);
    EXPECT_EQ(s.unsearched[0].row, 0u);
    EXPECT_EQ(s.unsearched[0].reason, "a number from 0 to 12");
}

TEST(ReviewedPairs, ReadsFourPartLinesAndNamesTheLineOfAFault) {
    // Comments, blank lines, CRLF and blanks around parts are skipped; the question is all
    // between the answer and the last bar; a line of any other shape is refused by number.
    std::vector<ReviewedPair> pairs;
    std::string error;
    ASSERT_TRUE(parseReviewedPairs("# reviewed\r\n\r\n"
                                   " history.txt | Rome |Who founded Rome? | names the city\r\n"
                                   "tech.txt|OR|Is A|B true?|the bar is an operator\n",
                                   pairs, error))
        << error;
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].file, "history.txt");
    EXPECT_EQ(pairs[0].answer, "Rome");
    EXPECT_EQ(pairs[0].question, "Who founded Rome?");
    EXPECT_EQ(pairs[0].reason, "names the city");
    EXPECT_EQ(pairs[0].line, 3u);
    EXPECT_EQ(pairs[1].question, "Is A|B true?");
    for (const char* bad : {"a.txt | Rome | Who founded Rome?", "a.txt | Rome | Q? |",
                            "a.txt |  | Q? | reason", "| Rome | Q? | reason", "just words"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseReviewedPairs(std::string("# c\n") + bad + "\n", pairs, error));
        EXPECT_NE(error.find("line 2:"), std::string::npos) << error;
    }
}

TEST(PairsCommand, ListsEachUnreviewedPairWithBothPlacesAndFailsUntilAllAreReviewed) {
    // Pairs are listed as FILE:LINE of the question holding the answer and of the answer's
    // question; only pairs within one file count; a pair in the record (in any letter case)
    // is left out, a record line that names no pair any more is noted, and the run succeeds
    // once every pair is reviewed. --all shows the reviewed pairs and the answers left out.
    ToolFolder dir;
    const auto history = dir.write(
        "history.txt", "#Q Which city did the Ottoman Turks capture in 1453?\n"
                       "^ Constantinople\nA Constantinople\nB Rome\nC Vienna\nD Athens\n\n"
                       "#Q Which Ottoman sultan captured Constantinople?\n"
                       "^ Mehmed II\nA Suleiman\nB Mehmed II\nC Osman I\nD Murad I\n\n"
                       "#Q Who founded the city of Rome, by legend?\n"
                       "^ Romulus\nA Romulus\nB Remus\nC Numa\nD Aeneas\n\n"
                       "#Q How many hills was Rome built on?\n"
                       "^ 7\nA 5\nB 6\nC 7\nD 8\n");
    // The answer Romulus stands in this file's question, but it is another topic.
    const auto myth = dir.write("myth.txt", "#Q Who was Romulus's twin brother?\n"
                                            "^ Remus\nA Remus\nB Janus\nC Pan\nD Faunus\n");
    const auto record = dir.write(
        "reviewed.list", "# pairs read\n"
                         "history.txt | constantinople | WHICH OTTOMAN SULTAN CAPTURED "
                         "CONSTANTINOPLE? | not reviewed for real\n"
                         "history.txt | Athens | Which city? | gone\n"
                         "other.txt | Athens | Which city? | another file, not searched\n");
    ToolRun run = runTool({"pairs", history, myth, "--reviewed", record});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(record + ":3: note: no such pair in history.txt any more"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(countLines(run.err, "note:"), 1u) << run.err;
    EXPECT_NE(run.err.find("1 pair found, 1 reviewed, 0 not reviewed"), std::string::npos)
        << run.err;

    run = runTool({"pairs", history, myth});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, history +
                           ":8: \"Which Ottoman sultan captured Constantinople?\" holds "
                           "\"Constantinople\", the answer of " +
                           history + ":1\n");

    run = runTool({"pairs", "--all", history, "--reviewed=" + record});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("the answer of " + history + ":1 [reviewed: not reviewed for real]"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(history + ":22: answer \"7\" not looked for: a number from 0 to 12"),
              std::string::npos)
        << run.out;
}

TEST(PairsCommand, FaultyInputOrUsageFails) {
    // A source or record that cannot be read fails with 1, misuse with 2; neither lists
    // pairs as if all were well.
    ToolFolder dir;
    const auto good = dir.write("a.txt", "#Q Q?\n^ a1\nA a1\nB b\nC c\nD d\n");
    const auto badRecord = dir.write("bad.list", "a.txt | a1 | Q?\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {{"pairs"}, 2, "needs at least one SOURCE"},
        {{"pairs", good, "--bogus"}, 2, "unknown option --bogus"},
        {{"pairs", good, "--reviewed"}, 2, "needs a value"},
        {{"pairs", good, "--all=yes"}, 2, "takes no value"},
        {{"pairs", dir.stdPath("a.dat")}, 2, "cannot tell the format"},
        {{"pairs", good, dir.stdPath("none.txt")}, 1, "none.txt: error:"},
        {{"pairs", good, "--reviewed", dir.stdPath("none.list")}, 1, "none.list"},
        {{"pairs", good, "--reviewed", badRecord}, 1, "bad.list: line 1: not of the form"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.words), std::string::npos) << run.err;
    }
}

} // namespace
