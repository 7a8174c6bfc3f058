#include "ScoresFixture.h"

#include "FiguresCsv.h"
#include "QstFixtures.h"

#include <QBuffer>

using FiguresTest = ScoresFixture;

// The line a question author reads: times asked and the share right, rounded.
TEST(FiguresTextTest, Text) {
    const struct {
        QuestionFigures figures;
        const char* text;
    } cases[] = {
        {{0, 0}, "not asked yet"},
        {{1, 1}, "asked once, 100 % right"},
        {{1, 0}, "asked once, 0 % right"},
        {{12, 3}, "asked 12 times, 25 % right"},
        {{3, 1}, "asked 3 times, 33 % right"},
        {{3, 2}, "asked 3 times, 67 % right"},
        {{200, 1}, "asked 200 times, 1 % right"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.figures.text(), QLatin1String(c.text));
}

// Each answer counts for its question of its set only, and the counts last.
TEST_F(FiguresTest, AnswersCountPerQuestionAndSet) {
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    const QuestionSet arts = set(QStringLiteral("ARTS.QST"));
    const QString capital = QStringLiteral("Capital of Peru?");
    {
        auto store = openStore();
        for (bool right : {true, false, false, true, false, false, false, false})
            ASSERT_TRUE(store->recordAnswer(regd, capital, right));
        ASSERT_TRUE(store->recordAnswer(regd, QStringLiteral("Other"), true));
        ASSERT_TRUE(store->recordAnswer(arts, capital, true));
    }
    auto store = openStore();
    EXPECT_EQ(store->figures(regd, capital).text(), QStringLiteral("asked 8 times, 25 % right"));
    EXPECT_EQ(store->figures(arts, capital), (QuestionFigures{1, 1}));
    EXPECT_EQ(store->figures(regd, QStringLiteral("Never")), QuestionFigures{});
    EXPECT_EQ(store->allFigures(regd).size(), 2);
    EXPECT_TRUE(store->allFigures(set(QStringLiteral("NEW.QST"))).isEmpty());
}

// The figures as CSV: every question of the set in its order, texts quoted where needed,
// the share right empty for a question never asked.
TEST_F(FiguresTest, CsvExport) {
    const std::string path = dir.file("QUIZ.QST");
    QstFixtures::writeSet(
        path, {QstFixtures::numbered(1),
               QstFixtures::question("Who said \"Eureka\", and where?", "A", "B", "C", "D"),
               QstFixtures::question("Café or crème?", "A", "B", "C", "D")});
    auto store = openStore();
    const QuestionSet quiz = QuestionSet::fromFile(QString::fromStdString(path));
    for (bool right : {true, false, false})
        ASSERT_TRUE(store->recordAnswer(quiz, QStringLiteral("Question 1"), right));
    ASSERT_TRUE(store->recordAnswer(quiz, QStringLiteral("Café or crème?"), true));

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_TRUE(writeFiguresCsv(*store, QString::fromStdString(path), out, &error))
        << error.toStdString();
    EXPECT_EQ(out.data().toStdString(), "number,question,asked,right,percent right\n"
                                        "1,Question 1,3,1,33\n"
                                        "2,\"Who said \"\"Eureka\"\", and where?\",0,0,\n"
                                        "3,Café or crème?,1,1,100\n");
}

// A missing file, a file that is not a set, or output that cannot be written is an error
// with a reason, never an empty success.
TEST_F(FiguresTest, CsvExportErrors) {
    auto store = openStore();
    QstFixtures::writeBytes(dir.file("BAD.QST"), std::string(380, 'x'));
    QstFixtures::writeNumberedSet(dir.file("GOOD.QST"), 1);
    const struct {
        const char* file;
        bool writable;
    } cases[] = {{"MISSING.QST", true}, {"BAD.QST", true}, {"GOOD.QST", false}};
    for (const auto& c : cases) {
        QBuffer out;
        out.open(c.writable ? QIODevice::WriteOnly : QIODevice::ReadOnly);
        QString error;
        EXPECT_FALSE(writeFiguresCsv(*store, QString::fromStdString(dir.file(c.file)), out, &error))
            << c.file;
        EXPECT_FALSE(error.isEmpty()) << c.file;
    }
}
