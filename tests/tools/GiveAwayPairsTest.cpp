#include "GiveAwayPairs.h"
#include "ToolFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <iterator>
#include <ranges>
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

SourceRow row(const std::string& question, const std::string& answer,
              const std::array<std::string, 3>& wrong) {
    SourceRow r;
    r.fields = {question, answer, wrong[0], wrong[1], wrong[2]};
    return r;
}

TEST(GiveAways, AnAnswerIsHeldWhenItsWordsStandTogetherInAnotherQuestionInAnyForm) {
    // Whole words in order, in any letter case (accented letters too) and any word form, the
    // answer's leading article left out; part of a longer word, another spelling, words
    // apart, a word of grammar that looks like a form of the answer, or an article kept
    // because the rest is too common do not count.
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
        {"Guillotine", "Which French queen was guillotined in 1793?", true},
        {"Iron", "What is ironed?", true},
        {"James Bond", "Who wrote the novels in which James Bond first appeared?", true},
        {"The Magic Flute", "Who composed the opera \"Magic Flute\"?", true},
        {"A wooden horse", "Who hid inside the wooden horses of Troy?", true},
        {"Grand Slam", "How many Grand Slams did she win?", true},
        {"Reykjav\xC3\xADk", "Which country has REYKJAV\xC3\x8DK as capital?", true},
        {"The Who", "Who sang with The Who?", true},
        {"Rome", "Which romance is set in Verona?", false},
        {"Reykjav\xC3\xADk", "Is Reykjavik a capital?", false},
        {"James Bond", "Which James is a Bond villain?", false},
        {"Red Sea", "Which sea is red?", false},
        {"Doe", "What does a stag eat?", false},
        {"The Who", "Who sang \"My Generation\"?", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.answer) + " / " + c.otherQuestion);
        const GiveAwaySearch s =
            findGiveAways({row("First?", c.answer), row(c.otherQuestion, "zz")});
        if (c.held) {
            ASSERT_EQ(s.pairs.size(), 1u);
            EXPECT_EQ(s.pairs[0].answerRow, 0u);
            EXPECT_EQ(s.pairs[0].questionRow, 1u);
            EXPECT_EQ(s.pairs[0].kind, GiveAwayKind::Text);
        } else {
            EXPECT_TRUE(s.pairs.empty());
        }
    }
}

TEST(GiveAways, TheAnswerIsLookedForInTheTextTheCorrectAnswerAndTheWrongOptions) {
    // A question's text, correct answer and wrong options all count, the strongest place
    // naming the pair's kind; each two questions make one pair however often the answer
    // stands in the one; a question is not its own give-away.
    struct Case {
        SourceRow other;
        GiveAwayKind kind;
        std::size_t field;
    };
    const Case cases[] = {
        {row("Which river flows through Vienna?", "Danube", {"Rhine", "Elbe", "Oder"}),
         GiveAwayKind::Text, 0},
        {row("Which city hosts the UN?", "New Vienna", {"Rhine", "Elbe", "Oder"}),
         GiveAwayKind::ShownAnswer, 1},
        {row("Which city hosts the UN?", "Geneva", {"Paris", "Vienna", "Oslo"}),
         GiveAwayKind::Option, 3},
        {row("Which Vienna river?", "Danube", {"Vienna", "Elbe", "Oder"}), GiveAwayKind::Text, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.other.fields[0] + " " + c.other.fields[1]);
        const GiveAwaySearch s = findGiveAways(
            {row("Where was Mozart's home?", "Vienna", {"Salzburg", "Prague", "Linz"}), c.other});
        ASSERT_EQ(s.pairs.size(), 1u);
        EXPECT_EQ(s.pairs[0].answerRow, 0u);
        EXPECT_EQ(s.pairs[0].questionRow, 1u);
        EXPECT_EQ(s.pairs[0].kind, c.kind);
        EXPECT_EQ(s.pairs[0].field, c.field);
    }
}

TEST(GiveAways, PairsComeBestFirstByWhereTheAnswerStandsHowRareItIsAndWhatTheQuestionsShare) {
    // The score is the weight of the place (3 text, 2 shown answer, 1 option) times the sum of
    // ln((rows + 1) / rows holding the word) over the answer's words and the other words of
    // the answer's question that the other question shares.
    const GiveAwaySearch s = findGiveAways({
        row("Which city has the Hermitage museum?", "Saint Petersburg", {"Moscow", "Kiev", "Omsk"}),
        row("Which tsar founded Saint Petersburg?", "Ivan", {"Paul", "Boris", "Fyodor"}),
        row("Which Hermitage museum of Saint Petersburg is a palace?", "Alpha",
            {"Beta", "Gamma", "Delta"}),
        row("Which port city is near Tallinn?", "Riga", {"Saint Petersburg", "Oslo", "Kiel"}),
    });
    // "saint" and "petersburg" stand in all four rows; "hermitage", "museum" and "city" in
    // two each.
    const double answer = 2 * std::log(5.0 / 4);
    const double shared = std::log(5.0 / 2);
    struct Expected {
        std::size_t questionRow;
        GiveAwayKind kind;
        double score;
    };
    const Expected expected[] = {
        {2, GiveAwayKind::Text, 3 * (answer + 2 * shared)},
        {3, GiveAwayKind::Option, 1 * (answer + shared)},
        {1, GiveAwayKind::Text, 3 * answer},
    };
    ASSERT_EQ(s.pairs.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s.pairs[i].answerRow, 0u);
        EXPECT_EQ(s.pairs[i].questionRow, expected[i].questionRow);
        EXPECT_EQ(s.pairs[i].kind, expected[i].kind);
        EXPECT_NEAR(s.pairs[i].score, expected[i].score, 1e-9);
    }
}

TEST(GiveAways, AQuestionAnswersItselfWhenOnlyItsCorrectAnswerSharesAWordWithIt) {
    // A word of the correct answer (in any form, not a little word) in the question, and no
    // word of any wrong option there, lists the question against itself with those words.
    struct Case {
        SourceRow question;
        bool listed;
        const char* words = "";
    };
    const Case cases[] = {
        {row("Which British declaration backed a Jewish home?", "The Balfour Declaration",
             {"The Munich Pact", "Magna Carta", "The Bill of Rights"}),
         true, "declaration"},
        {row("Which prizes honour research that makes people laugh, with a prize?",
             "Ig Nobel Prize for Laughs", {"Darwin Awards", "Golden Raspberry", "Razzies"}),
         true, "prize laughs"},
        {row("Which British declaration backed a Jewish home?", "The Balfour Declaration",
             {"The Declaration of Arbroath", "Magna Carta", "The Bill of Rights"}),
         false},
        {row("Which queen of Egypt met Caesar?", "Cleopatra", {"Nefertiti", "Hatshepsut", "Isis"}),
         false},
        {row("Who is the father of the gods?", "Son of Kronos", {"Ares", "Hermes", "Apollo"}),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question.fields[0] + " " + c.question.fields[1]);
        const GiveAwaySearch s = findGiveAways({c.question});
        ASSERT_EQ(s.pairs.size(), c.listed ? 1u : 0u);
        if (c.listed) {
            EXPECT_EQ(s.pairs[0].kind, GiveAwayKind::OwnWording);
            EXPECT_EQ(s.pairs[0].words, c.words);
            EXPECT_EQ(s.pairs[0].answerRow, 0u);
            EXPECT_EQ(s.pairs[0].questionRow, 0u);
        }
    }
}

TEST(GiveAways, TheSameQuestionTwiceIsOneDuplicateListedFirst) {
    // Questions with the same words in any form and case, articles aside, are a duplicate of
    // the first copy, ahead of every other pair; their answers are not paired again.
    const GiveAwaySearch s = findGiveAways({
        row("Which river flows through Vienna?", "Danube", {"Rhine", "Elbe", "Oder"}),
        row("Which city lies on the Danube?", "Vienna", {"Rome", "Paris", "Oslo"}),
        row("Which rivers flow through the Vienna?", "The Danube", {"Rhine", "Elbe", "Po"}),
    });
    ASSERT_FALSE(s.pairs.empty());
    EXPECT_EQ(s.pairs[0].kind, GiveAwayKind::Duplicate);
    EXPECT_EQ(s.pairs[0].answerRow, 0u);
    EXPECT_EQ(s.pairs[0].questionRow, 2u);
    for (const GiveAway& pair : s.pairs | std::views::drop(1))
        EXPECT_FALSE((pair.answerRow == 0 && pair.questionRow == 2) ||
                     (pair.answerRow == 2 && pair.questionRow == 0))
            << giveAwayKindName(pair.kind);
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

TEST(PairsCommand, ListsEachUnreviewedPairAcrossSourcesAndFailsUntilAllAreReviewed) {
    // Pairs are looked for across every source given and listed as FILE:LINE of the question
    // giving the answer away, its kind and score, and FILE:LINE of the answer's question; a
    // pair in the record (in any letter case) is left out, and so is one scoring below the
    // least score; a record line that names no pair any more is noted; the run succeeds once
    // no pair is listed. --all shows the reviewed pairs and the answers left out.
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
    EXPECT_NE(run.err.find("3 pairs found, 1 reviewed, 0 not reviewed, 2 not reviewed scoring "
                           "below 20 left out"),
              std::string::npos)
        << run.err;

    run = runTool({"pairs", history, myth, "--min-score", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(countLines(run.out, ": "), 3u) << run.out;
    for (const std::string& line :
         {history + ":8: text ",
          "\"Which Ottoman sultan captured Constantinople?\" holds "
          "\"Constantinople\", the answer of " +
              history + ":1 (\"Which city did the Ottoman Turks capture in 1453?\")\n",
          myth + ":1: text ",
          "\"Who was Romulus's twin brother?\" holds \"Romulus\", the answer of " + history +
              ":15 (\"Who founded the city of Rome, by legend?\")\n",
          history + ":15: option ",
          "\"Who founded the city of Rome, by legend?\" offers \"Remus\", which holds \"Remus\", "
          "the answer of " +
              myth + ":1 (\"Who was Romulus's twin brother?\")\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;

    run = runTool({"pairs", "--all", history, "--reviewed=" + record, "--min-score=0"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("the answer of " + history +
                           ":1 (\"Which city did the Ottoman Turks capture in 1453?\") "
                           "[reviewed: not reviewed for real]"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(history + ":22: answer \"7\" not looked for: a number from 0 to 12"),
              std::string::npos)
        << run.out;
}

TEST(PairsCommand, DuplicatesAndQuestionsAnsweringThemselvesAreListedWhateverTheirScore) {
    // The two kinds that are few and always worth reading ignore the least score, and the
    // record takes them like any pair: for a duplicate, the earlier copy's answer and the
    // later copy's text; for a question answering itself, its own answer and text.
    ToolFolder dir;
    const auto a = dir.write("a.txt", "#Q Which prize honours fiction?\n"
                                      "^ Pulitzer Prize\nA Pulitzer Prize\nB Oscar\nC Emmy\n"
                                      "D Tony\n");
    const auto b = dir.write("b.txt", "#Q Which PRIZES honour fiction?\n"
                                      "^ Booker\nA Booker\nB Oscar\nC Emmy\nD Tony\n");
    ToolRun run = runTool({"pairs", a, b});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              b + ":1: duplicate: \"Which PRIZES honour fiction?\" asks again the question of " +
                  a + ":1\n" + a +
                  ":1: own wording 1.2: \"Which prize honours fiction?\" shares \"prize\" with "
                  "its correct answer \"Pulitzer Prize\" and no word with its wrong "
                  "options\n");
    const auto record = dir.write("r.list", "a.txt | Pulitzer Prize | Which PRIZES honour "
                                            "fiction? | two wordings kept on purpose\n"
                                            "a.txt | Pulitzer Prize | Which prize honours "
                                            "fiction? | a hard one all the same\n");
    run = runTool({"pairs", a, b, "--reviewed", record});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
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
        {{"pairs", good, "--min-score", "many"}, 2, "--min-score needs a number"},
        {{"pairs", good, "--min-score", "-1"}, 2, "--min-score needs a number"},
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
