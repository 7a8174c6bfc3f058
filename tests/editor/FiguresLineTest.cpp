#include "EditorFixture.h"

#include "Label.h"

#include <QPushButton>
#include <QTest>

using FiguresLineTest = EditorWindowFixture;

// Under the question number the editor shows how the question shown has fared in games:
// "asked 4 times, 25 % right", "asked once, 100 % right", "not asked yet"; nothing for a new
// question, and nothing without figures to read.
TEST_F(FiguresLineTest, ShowsHowTheQuestionFared) {
    QstFixtures::writeNumberedSet(path("a.QST"), 3);
    fileName = qPath("a.QST");
    ScoreStore store(qPath("scores.sqlite"));
    const QuestionSet set = QuestionSet::fromFile(fileName);
    const auto answer = [&](int n, bool right) {
        ASSERT_TRUE(
            store.recordAnswer(set, ScoreStore::questionText(QstFixtures::numbered(n)), right));
    };
    for (bool right : {true, false, false, false})
        answer(3, right);
    answer(2, true);
    scores = &store;
    open();
    EXPECT_EQ(editor->positionLabel->caption(), QStringLiteral("3/3"));
    EXPECT_EQ(editor->figuresLabel->caption(), QStringLiteral("asked 4 times, 25 % right"));
    EXPECT_EQ(editor->figuresLabel->accessibleName(), editor->figuresLabel->caption());
    QTest::mouseClick(editor->previousButton, Qt::LeftButton);
    EXPECT_EQ(editor->figuresLabel->caption(), QStringLiteral("asked once, 100 % right"));
    QTest::mouseClick(editor->previousButton, Qt::LeftButton);
    EXPECT_EQ(editor->figuresLabel->caption(), QStringLiteral("not asked yet"));
    QTest::mouseClick(editor->addButton, Qt::LeftButton);
    EXPECT_EQ(editor->positionLabel->caption(), QStringLiteral("Question : 4"));
    EXPECT_EQ(editor->figuresLabel->caption(), QString());
    closeEditor();

    scores = nullptr;
    open();
    EXPECT_EQ(editor->figuresLabel->caption(), QString());
}
