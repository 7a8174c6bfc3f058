#include "GameFixture.h"

#include <QCoreApplication>

#include <functional>
#include <string>

using RealInputTest = TRealInputFixture;

// A press anywhere on an answer row answers it: the letter, the bar's edges, the gap
// between letter and text, the divider and the text itself.
TEST_F(RealInputTest, EveryPartOfAnAnswerRowAnswers) {
    struct Spot {
        const char* Name;
        std::function<QPoint(const TQuizScreen&, std::size_t)> At; // in the row's frame
    };
    const Spot spots[] = {
        {"letter",
         [](const TQuizScreen& s, std::size_t i) {
             return s.Cap[i]->geometry().center() - s.Cover[i]->geometry().topLeft() + QPoint(2, 2);
         }},
        {"left edge", [](const TQuizScreen& s,
                         std::size_t i) { return QPoint(0, s.Cover[i]->height() / 2 + 2); }},
        {"right edge",
         [](const TQuizScreen& s, std::size_t i) {
             return QPoint(s.Cover[i]->width() + 3, s.Cover[i]->height() / 2 + 2);
         }},
        {"top edge",
         [](const TQuizScreen& s, std::size_t i) { return QPoint(s.Cover[i]->width() / 2, 1); }},
        {"gap after the letter",
         [](const TQuizScreen& s, std::size_t i) {
             return QPoint(s.Cap[i]->geometry().right() + 4 - s.Cover[i]->x() + 2,
                           s.Cover[i]->height() / 2 + 2);
         }},
        {"divider",
         [](const TQuizScreen& s, std::size_t i) {
             return QPoint(s.QF6->x() - s.Cover[i]->x() + 3, s.Cover[i]->height() / 2 + 2);
         }},
        {"gap before the text",
         [](const TQuizScreen& s, std::size_t i) {
             const int x = (s.QF6->geometry().right() + s.Answer[i]->x()) / 2;
             return QPoint(x - s.Cover[i]->x() + 2, s.Cover[i]->height() / 2 + 2);
         }},
        {"text",
         [](const TQuizScreen& s, std::size_t i) {
             return s.Answer[i]->geometry().center() - s.Cover[i]->geometry().topLeft() +
                    QPoint(2, 2);
         }},
    };
    for (const Spot& spot : spots) {
        for (std::size_t row = 0; row < 4; ++row) {
            SCOPED_TRACE(testing::Message() << spot.Name << ", row " << row);
            CreateShown();
            Key(Qt::Key_Return);
            Key(Qt::Key_Return);
            ASSERT_TRUE(WaitForAnswers());
            // The frame of a row starts two pixels above and left of its cover.
            const QWidget* frames[4] = {Screen->QF2, Screen->QF3, Screen->QF4, Screen->QF5};
            const QPoint inPlay = frames[row]->pos() + spot.At(*Screen, row);
            ClickAt(Screen->MainBackPanel, inPlay);
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_EQ(Screen->display.buttonLit[k], k == row ? 1 : 0) << "button " << k;
        }
    }
}

// Opening the question editor during a game, in any phase, and closing it again gives back
// exactly attract mode: nothing of the game on screen, no game timer running or waiting to
// resume, and START opens the player entry.
TEST_F(RealInputTest, EditorOpenedDuringAGameHandsBackAttractMode) {
    struct Case {
        const char* Phase;
        std::function<void()> Reach;
    };
    // START and OK, through the keys: a one-player game.
    auto start = [this] {
        Key(Qt::Key_Return);
        Key(Qt::Key_Return);
    };
    auto endGameNo = [this] {
        Dialogs.Answer(TMsgButton::No);
        ClickMenuBar(Screen->NewGame1);
    };
    const Case cases[] = {
        {"typing",
         [&] {
             start();
             Advance(200);
             endGameNo();
         }},
        {"answers open",
         [&] {
             start();
             ASSERT_TRUE(WaitForAnswers());
             endGameNo();
         }},
        {"judgement pending",
         [&] {
             start();
             ASSERT_TRUE(WaitForAnswers());
             Key(Qt::Key_A);
             endGameNo();
         }},
        {"wrong panel",
         [&] {
             start();
             AnswerWrong();
             endGameNo();
         }},
        {"time out panel",
         [&] {
             start();
             ASSERT_TRUE(WaitForAnswers());
             ASSERT_TRUE(AdvanceUntil([this] { return Visible(Screen->TimeOut); }));
             endGameNo();
         }},
        {"ladder",
         [&] {
             start();
             AnswerRight();
             ASSERT_TRUE(AdvanceUntil([this] { return Screen->LadderShowing(); }));
             endGameNo();
         }},
        {"first get ready of two players",
         [&] {
             Key(Qt::Key_Return);
             SetNames({QStringLiteral("Ann"), QStringLiteral("Bob")});
             Key(Qt::Key_Return);
             ASSERT_TRUE(Visible(Screen->ReadyPanel));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Phase);
        CreateShown();
        c.Reach();
        if (HasFatalFailure()) return;
        Key(Qt::Key_F2);
        ASSERT_NE(Screen->Editor(), nullptr);
        GiveFocus(Screen->Editor());
        // The game stands still while the editor is open.
        const int creditBefore = Screen->game.credit;
        const ScreenState before = Screen->display;
        Advance(30000);
        EXPECT_EQ(Screen->game.credit, creditBefore);
        EXPECT_EQ(Screen->display.lampLit, before.lampLit);
        CloseEditor();

        EXPECT_EQ(GameControlsShowing(), QStringList());
        EXPECT_EQ(GameTimersLeft(), QStringList());
        EXPECT_FALSE(Screen->game.gameRunning);
        // Nothing comes back by itsel
        Advance(30000);
        EXPECT_EQ(GameControlsShowing(), QStringList());
        Dialogs.Clear();
        Key(Qt::Key_Return);
        EXPECT_TRUE(Visible(Screen->PlayerPanel));
        EXPECT_EQ(Dialogs.Texts(), QStringList());
    }
}

// No game runs without a usable question set: once the players are confirmed the set cannot
// be changed, and a set that went bad while the names were typed keeps the entry open.
TEST_F(RealInputTest, NoGameRunsWithoutQuestions) {
    CreateShown();
    const QString broken = ProgramDir() + QStringLiteral("/BROKEN.QST");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a question set");
    }

    // F1 under the first Get Ready panel of two players does nothing.
    Key(Qt::Key_Return);
    SetNames({QStringLiteral("Ann"), QStringLiteral("Bob")});
    Key(Qt::Key_Return);
    ASSERT_TRUE(Visible(Screen->ReadyPanel));
    Key(Qt::Key_F1);
    EXPECT_TRUE(Dialogs.FileDialogs().empty()) << "no file dialog opens";
    EXPECT_TRUE(WaitForAnswers()) << "the turn shows its question";

    // F1 with a damaged set while the names are typed: OK refuses to start.
    CreateShown();
    Key(Qt::Key_Return);
    Dialogs.ChooseFile(broken);
    Key(Qt::Key_F1);
    ASSERT_EQ(Screen->game.questionFile, QStringLiteral("N/A"));
    Dialogs.Clear();
    ClickAt(Screen->OKDisp);
    EXPECT_EQ(Dialogs.Texts(), QStringList{QStringLiteral("Please select question file.")});
    EXPECT_TRUE(Visible(Screen->PlayerPanel));
    EXPECT_FALSE(Screen->game.gameRunning);
    Advance(10000);
    EXPECT_FALSE(Screen->game.gameRunning);

    // Another, good set chosen from the entry: the game starts on it.
    Dialogs.ChooseFile(ProgramDir() + QStringLiteral("/REGD.QST"));
    Key(Qt::Key_F1);
    EXPECT_EQ(Screen->game.questionFile, ProgramDir() + QStringLiteral("/REGD.QST"));
    ClickAt(Screen->OKDisp);
    EXPECT_TRUE(WaitForAnswers());
}
