#include "GameFixture.h"
#include "QuestionArea.h"
#include "FinalScoresPanel.h"
#include "VerdictPanel.h"

#include "HallOfFame.h"
#include "NameEntryPanel.h"

#include <QFontMetrics>
#include <QStyleHints>
#include <QTest>

namespace {
// The seconds a full gauge lasts at the gauge's step now, as its description says them.
QString fullGaugeText(int stepMs) {
    return QStringLiteral("%1 seconds left").arg(100 * stepMs / 1000.0, 0, 'f', 1);
}
} // namespace

using SafetyNetsTest = RealInputFixture;

// The time gauge's description at the start of each question says that question's whole
// time, at its own (faster) step, not the last question's.
TEST_F(SafetyNetsTest, GaugeDescriptionStartsAtTheQuestionsOwnTime) {
    create();
    startGame();
    for (const int stepMs : {150, 140, 130}) {
        ASSERT_TRUE(waitForAnswers());
        EXPECT_EQ(screen->game.gaugeStepMs(), stepMs);
        EXPECT_EQ(screen->questionArea->timeGauge->accessibleDescription(), fullGaugeText(stepMs));
        answerWrong();
        screen->wrongPanel->confirm();
    }
}

// A set whose every question is empty cannot be played: the game says so once and ends,
// instead of waiting for a question for ever.
TEST_F(SafetyNetsTest, ASetOfEmptyQuestionsEndsTheGameWithAMessage) {
    const QuestionRecord empty = QstFixtures::question("", "a", "b", "c", "d");
    QstFixtures::writeSet(startupFile(), {empty, empty, empty});
    createScreen();
    startGame();
    ASSERT_TRUE(advanceUntil([this] {
        return screen->game.phase() == QuizGame::Phase::FinalScores;
    }));
    EXPECT_TRUE(dialogs.texts().contains(QuestionDraw::noQuestionToAskMessage));
    EXPECT_EQ(dialogs.texts().count(QuestionDraw::noQuestionToAskMessage), 1);
}

// A double click on the final scores' OK opens the name entry without also pressing the
// name entry's OK, which stands at the same spot; a click after a double click's time
// accepts the name.
TEST_F(SafetyNetsTest, DoubleClickOnFinalOkLeavesTheNameEntryOpen) {
    openScores();
    createShown();
    startGame({QStringLiteral("Ann")});
    ASSERT_TRUE(waitForAnswers());
    dialogs.answer(MsgButton::Yes);
    screen->endGameAction->trigger();
    ASSERT_TRUE(visible(screen->finalScorePanel));
    const QPoint at = screen->finalScorePanel->okButton->mapTo(screen.get(), screen->finalScorePanel->okButton->rect().center());
    QTest::mouseDClick(screen->windowHandle(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::NameEntry);
    NameEntryPanel& entry = *screen->hallOfFame->nameEntry;
    EXPECT_TRUE(visible(&entry));
    advance(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    clickAt(entry.okButton);
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
}

// The widest texts a question can hold (75 wide capitals) are shown whole in the answer rows
// and on the Wrong panel: no label's text runs past its edge.
TEST_F(SafetyNetsTest, WidestTextsFitTheirLabels) {
    const std::string wide(75, 'W');
    const std::string words = "WWWWWWWWW MMMMMMMMM WWWWWWWWW MMMMMMMMM WWWWWWWWW MMMMMMMMM "
                              "WWWWWWWWW MMMMM";
    QstFixtures::writeSet(startupFile(), {QstFixtures::question(words, wide, std::string(74, 'W') + "M", words,
                                                                std::string(74, 'M') + "W")});
    createScreen();
    screen->show();
    giveFocus(screen.get());
    startGame();
    ASSERT_TRUE(waitForAnswers());
    const auto fits = [](const Label* label) {
        const int room = label->contentsRect().width() - std::max(label->indent(), 0);
        return QFontMetrics(label->font()).horizontalAdvance(label->caption()) <= room;
    };
    for (const Label* text : screen->questionArea->answerTexts) {
        EXPECT_TRUE(fits(text)) << text->caption().toStdString();
    }
    choose(screen->game.draw().answers()[0] == screen->game.draw().correctAnswer() ? 1 : 0);
    ASSERT_TRUE(advanceUntil([this] { return visible(screen->wrongPanel); }));
    for (const Label* value : {screen->wrongPanel->question, screen->wrongPanel->chosen, screen->wrongPanel->correct})
        EXPECT_TRUE(fits(value)) << value->caption().toStdString();
}
