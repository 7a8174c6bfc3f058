#include "GamePosition.h"
#include "QstFixtures.h"
#include "QuestionDraw.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {
std::vector<int> History(const QuestionDraw& draw) {
    std::vector<int> numbers;
    for (const QString& entry : draw.history())
        numbers.push_back(entry.toInt());
    return numbers;
}
} // namespace

// The draw over a folder whose REGD.QST holds numbered questions ("Question n", "Right n",
// "Wrong n.1" ...), seeded as every reset seeds it.
class DrawTest : public ::testing::Test {
protected:
    void create(int count) {
        QstFixtures::writeNumberedSet(dir.file("REGD.QST"), count);
        questions = QuestionDraw(QString::fromStdString(dir.file("REGD.QST")));
        questions.seed(12345u);
        ASSERT_EQ(questions.select(questions.startupFile(), ReaderRules::GameStartup), QString());
    }
    TempDir dir;
    QuestionDraw questions;
};

// The draw's history rule: small sets rotate as far as they can, the history never holds more
// than min(Q div 2 + 1, 50) entries, and above 2 questions no draw repeats one in the history.
TEST_F(DrawTest, DrawHistoryRuleBySetSize) {
    struct Case {
        int Questions;
        int MaxHistory;
    };
    const Case cases[] = {{1, 1}, {2, 2}, {3, 2}, {4, 3}, {9, 5}, {1000, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Questions);
        create(c.Questions);
        QSet<int> seen;
        bool repeated = false;
        for (int draw = 0; draw < 400; ++draw) {
            const std::vector<int> before = History(questions);
            ASSERT_TRUE(questions.draw());
            const int n = questions.drawnRecord();
            ASSERT_GE(n, 1);
            ASSERT_LE(n, c.Questions);
            seen.insert(n);
            if (!before.empty() && before.back() == n) repeated = true;
            if (c.Questions >= 3) {
                EXPECT_EQ(std::count(before.begin(), before.end(), n), 0) << "draw " << draw;
            }
            EXPECT_EQ(questions.question(), QStringLiteral("Question %1").arg(n));
            EXPECT_EQ(questions.correctAnswer(), QStringLiteral("Right %1").arg(n));
            EXPECT_LE(questions.history().size(), c.MaxHistory);
            EXPECT_EQ(questions.history().back(), QString::number(n));
        }
        EXPECT_EQ(questions.history().size(), c.MaxHistory);
        if (c.Questions < 10) {
            EXPECT_EQ(seen.size(), c.Questions);
        }
        // With two questions the history is not consulted, so a question can come twice.
        if (c.Questions == 2) {
            EXPECT_TRUE(repeated);
        }
        if (c.Questions == 3) {
            // The rotation: each draw is the one question not among the last two.
            EXPECT_FALSE(repeated);
        }
    }
}

// After a switch to a smaller set whose every question is in the history, the draw forgets
// the oldest entries until one is free, and does not search for ever.
TEST_F(DrawTest, DrawForgetsOldHistoryWhenEveryQuestionIsTaken) {
    create(4);
    struct Case {
        QStringList History;
        int Drawn;
        QStringList After;
    };
    const Case cases[] = {
        {{"1", "2", "3", "4"}, 1, {"3", "4", "1"}},
        {{"4", "3", "2", "1"}, 4, {"2", "1", "4"}},
        // Left over from a big set: numbers this set does not have count for nothing.
        {{"900", "2", "1", "3", "4", "77"}, 2, {"3", "4", "77", "2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.History.join(',').toStdString());
        GamePosition::setHistory(questions, c.History);
        ASSERT_TRUE(questions.draw());
        EXPECT_EQ(questions.drawnRecord(), c.Drawn);
        EXPECT_EQ(questions.history(), c.After);
    }
}

// The ten-pass shuffle keeps the four answers and puts the correct one in every slot over
// many draws; the correct answer is taken before the shuffle.
TEST_F(DrawTest, ShuffleKeepsTheAnswersAndMovesTheCorrectOne) {
    create(1);
    std::array<int, 4> correctIn{};
    for (int draw = 0; draw < 400; ++draw) {
        ASSERT_TRUE(questions.draw());
        const auto& shuffled = questions.answers();
        QStringList sorted(shuffled.begin(), shuffled.end());
        sorted.sort();
        EXPECT_EQ(sorted, (QStringList{"Right 1", "Wrong 1.1", "Wrong 1.2", "Wrong 1.3"}));
        EXPECT_EQ(questions.correctAnswer(), QStringLiteral("Right 1"));
        for (std::size_t i = 0; i < 4; ++i)
            if (shuffled[i] == QStringLiteral("Right 1")) ++correctIn[i];
    }
    for (int count : correctIn)
        EXPECT_GT(count, 40);
}

// The next question needs a set: without one, or with one that went bad since it was
// checked, the game gets the warning for its kind of set and drops the set.
TEST_F(DrawTest, DrawWithoutAUsableSetWarnsAndDropsTheSet) {
    create(5);
    EXPECT_EQ(questions.drawNext(), QString());
    EXPECT_EQ(questions.question(), QStringLiteral("Question %1").arg(questions.drawnRecord()));

    std::filesystem::remove(dir.file("REGD.QST"));
    EXPECT_EQ(questions.drawNext(),
              QStringLiteral("Default Question File Damaged - Please Re-Install"));
    EXPECT_FALSE(questions.hasFile());
    EXPECT_EQ(questions.drawNext(), QStringLiteral("Please select question file."));

    const std::string other = dir.file("OTHER.QST");
    QstFixtures::writeNumberedSet(other, 3);
    EXPECT_EQ(questions.select(QString::fromStdString(other), ReaderRules::GameChange),
              QString());
    std::filesystem::remove(other);
    EXPECT_EQ(questions.drawNext(),
              QStringLiteral("Specified Question File Damaged - Please Re-Install"));
    EXPECT_EQ(questions.file(), QStringLiteral("N/A"));
}

// A set is taken when it passes the reader's rules; a missing or damaged one leaves the game
// with no set and the reader's own warning.
TEST_F(DrawTest, SelectingASetChecksIt) {
    create(3);
    QstFixtures::writeNumberedSet(dir.file("GOOD.QST"), 2);
    QstFixtures::writeBytes(dir.file("BAD.QST"), "not a question set");
    struct Case {
        const char* file;
        const char* warning;
    };
    const Case cases[] = {
        {"GOOD.QST", ""},
        {"NONE.QST", "Unable to find Specified Question File"},
        {"BAD.QST", "Specified Question File Damaged - Please Re-Install"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = QString::fromStdString(dir.file(c.file));
        EXPECT_EQ(questions.select(path, ReaderRules::GameChange),
                  QString::fromLatin1(c.warning));
        EXPECT_EQ(questions.file(), *c.warning ? QStringLiteral("N/A") : path);
    }
}
