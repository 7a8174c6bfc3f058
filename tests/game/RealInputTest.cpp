#include "GameFixture.h"
#include "QuestionArea.h"
#include "PlayerEntryPanel.h"

#include <QCoreApplication>

#include <functional>
#include <string>

using RealInputTest = RealInputFixture;

// A press anywhere on an answer row answers it: the letter, the bar's edges, the gap
// between letter and text, the divider and the text itself.
TEST_F(RealInputTest, EveryPartOfAnAnswerRowAnswers) {
    struct Spot {
        const char* name;
        std::function<QPoint(const QuizScreen&, std::size_t)> At; // in the row's frame
    };
    const Spot spots[] = {
        {"letter",
         [](const QuizScreen& s, std::size_t i) {
             return s.questionArea->answerLetters[i]->geometry().center() -
                    s.questionArea->answerRows[i]->geometry().topLeft() + QPoint(2, 2);
         }},
        {"left edge", [](const QuizScreen& s,
                         std::size_t i) { return QPoint(0, s.questionArea->answerRows[i]->height() / 2 + 2); }},
        {"right edge",
         [](const QuizScreen& s, std::size_t i) {
             return QPoint(s.questionArea->answerRows[i]->width() + 3, s.questionArea->answerRows[i]->height() / 2 + 2);
         }},
        {"top edge", [](const QuizScreen& s,
                        std::size_t i) { return QPoint(s.questionArea->answerRows[i]->width() / 2, 1); }},
        {"gap after the letter",
         [](const QuizScreen& s, std::size_t i) {
             return QPoint(s.questionArea->answerLetters[i]->geometry().right() + 4 - s.questionArea->answerRows[i]->x() + 2,
                           s.questionArea->answerRows[i]->height() / 2 + 2);
         }},
        {"divider",
         [](const QuizScreen& s, std::size_t i) {
             return QPoint(s.questionArea->answerDivider->x() - s.questionArea->answerRows[i]->x() + 3,
                           s.questionArea->answerRows[i]->height() / 2 + 2);
         }},
        {"gap before the text",
         [](const QuizScreen& s, std::size_t i) {
             const int x = (s.questionArea->answerDivider->geometry().right() + s.questionArea->answerTexts[i]->x()) / 2;
             return QPoint(x - s.questionArea->answerRows[i]->x() + 2, s.questionArea->answerRows[i]->height() / 2 + 2);
         }},
        {"text",
         [](const QuizScreen& s, std::size_t i) {
             return s.questionArea->answerTexts[i]->geometry().center() - s.questionArea->answerRows[i]->geometry().topLeft() +
                    QPoint(2, 2);
         }},
    };
    for (const Spot& spot : spots) {
        for (std::size_t row = 0; row < 4; ++row) {
            SCOPED_TRACE(testing::Message() << spot.name << ", row " << row);
            createShown();
            key(Qt::Key_Return);
            key(Qt::Key_Return);
            ASSERT_TRUE(waitForAnswers());
            // The frame of a row starts two pixels above and left of its cover.
            const QWidget* frames[4] = {screen->questionArea->answerFrames[0], screen->questionArea->answerFrames[1],
                                        screen->questionArea->answerFrames[2], screen->questionArea->answerFrames[3]};
            const QPoint inPlay = frames[row]->pos() + spot.At(*screen, row);
            clickAt(screen->playArea, inPlay);
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_EQ(screen->display.buttonLit[k], k == row ? 1 : 0) << "button " << k;
        }
    }
}

// Opening the question editor during a game, in any phase, and closing it again gives back
// exactly attract mode: nothing of the game on screen, no game timer running or waiting to
// resume, and START opens the player entry.
TEST_F(RealInputTest, EditorOpenedDuringAGameHandsBackAttractMode) {
    struct Case {
        const char* phase;
        std::function<void()> Reach;
    };
    // START and OK, through the keys: a one-player game.
    auto start = [this] {
        key(Qt::Key_Return);
        key(Qt::Key_Return);
    };
    auto endGameNo = [this] {
        dialogs.answer(MsgButton::No);
        clickMenuBar(screen->endGameAction);
    };
    const Case cases[] = {
        {"typing",
         [&] {
             start();
             advance(200);
             endGameNo();
         }},
        {"answers open",
         [&] {
             start();
             ASSERT_TRUE(waitForAnswers());
             endGameNo();
         }},
        {"judgement pending",
         [&] {
             start();
             ASSERT_TRUE(waitForAnswers());
             key(Qt::Key_A);
             endGameNo();
         }},
        {"wrong panel",
         [&] {
             start();
             answerWrong();
             endGameNo();
         }},
        {"time out panel",
         [&] {
             start();
             ASSERT_TRUE(waitForAnswers());
             ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
             endGameNo();
         }},
        {"ladder",
         [&] {
             start();
             answerRight();
             ASSERT_TRUE(advanceUntil([this] { return screen->ladder->isShowing(); }));
             endGameNo();
         }},
        {"first get ready of two players",
         [&] {
             key(Qt::Key_Return);
             setNames({QStringLiteral("Ann"), QStringLiteral("Bob")});
             key(Qt::Key_Return);
             ASSERT_TRUE(visible(screen->readyPanel));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phase);
        createShown();
        c.Reach();
        if (HasFatalFailure()) return;
        key(Qt::Key_F2);
        ASSERT_NE(screen->editor(), nullptr);
        giveFocus(screen->editor());
        // The game stands still while the editor is open.
        const int creditBefore = screen->game.players().credit();
        const ScreenState before = screen->display;
        advance(30000);
        EXPECT_EQ(screen->game.players().credit(), creditBefore);
        EXPECT_EQ(screen->display.lampLit, before.lampLit);
        closeEditor();

        EXPECT_EQ(gameControlsShowing(), QStringList());
        EXPECT_EQ(gameTimersLeft(), QStringList());
        EXPECT_FALSE(screen->game.gameRunning());
        // Nothing comes back by itsel
        advance(30000);
        EXPECT_EQ(gameControlsShowing(), QStringList());
        dialogs.clear();
        key(Qt::Key_Return);
        EXPECT_TRUE(visible(screen->playerPanel));
        EXPECT_EQ(dialogs.texts(), QStringList());
    }
}

// No game runs without a usable question set: once the players are confirmed the set cannot
// be changed, and a set that went bad while the names were typed keeps the entry open.
TEST_F(RealInputTest, NoGameRunsWithoutQuestions) {
    createShown();
    const QString broken = programDir() + QStringLiteral("/BROKEN.QST");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a question set");
    }

    // F1 under the first Get Ready panel of two players does nothing.
    key(Qt::Key_Return);
    setNames({QStringLiteral("Ann"), QStringLiteral("Bob")});
    key(Qt::Key_Return);
    ASSERT_TRUE(visible(screen->readyPanel));
    key(Qt::Key_F1);
    EXPECT_TRUE(dialogs.fileDialogs().empty()) << "no file dialog opens";
    EXPECT_TRUE(waitForAnswers()) << "the turn shows its question";

    // F1 with a damaged set while the names are typed: OK refuses to start.
    createShown();
    key(Qt::Key_Return);
    dialogs.chooseFile(broken);
    key(Qt::Key_F1);
    ASSERT_EQ(screen->game.draw().file(), QStringLiteral("N/A"));
    dialogs.clear();
    clickAt(screen->playerPanel->okButton);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Please select question file.")});
    EXPECT_TRUE(visible(screen->playerPanel));
    EXPECT_FALSE(screen->game.gameRunning());
    advance(10000);
    EXPECT_FALSE(screen->game.gameRunning());

    // Another, good set chosen from the entry: the game starts on it.
    dialogs.chooseFile(programDir() + QStringLiteral("/REGD.QST"));
    key(Qt::Key_F1);
    EXPECT_EQ(screen->game.draw().file(), programDir() + QStringLiteral("/REGD.QST"));
    clickAt(screen->playerPanel->okButton);
    EXPECT_TRUE(waitForAnswers());
}
