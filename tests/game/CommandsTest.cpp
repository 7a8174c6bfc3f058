#include "GameFixture.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <string>

namespace {
const QString QuitQuestion = QStringLiteral("Are you sure you want to quit this game?");

// Which game timers run, by name.
std::map<std::string, bool> Running(TQuizScreen& s) {
    std::map<std::string, bool> out;
    for (TTimer* t : s.GameTimers())
        out[t->Name()] = t->Enabled();
    return out;
}

bool AnyRunning(TQuizScreen& s, std::initializer_list<const char*> names) {
    for (TTimer* t : s.GameTimers())
        for (const char* n : names)
            if (t->Name() == n && t->Enabled()) return true;
    return false;
}
} // namespace

class CommandsTest : public TGameFixture {
protected:
    // The phases in which a game can be ended or paused.
    enum class TPhase { AnswersOpen, JudgementPending, LadderSpinning, WrongPanelOpen };
    void ReachPhase(TPhase phase) {
        StartGame();
        switch (phase) {
        case TPhase::AnswersOpen:
            ASSERT_TRUE(WaitForAnswers());
            break;
        case TPhase::JudgementPending:
            ASSERT_TRUE(WaitForAnswers());
            Choose(CorrectSlot());
            break;
        case TPhase::LadderSpinning:
            AnswerRight();
            ASSERT_TRUE(AdvanceUntil([this] { return Screen->LadderShowing(); }));
            Advance(250);
            break;
        case TPhase::WrongPanelOpen:
            AnswerWrong();
            break;
        }
    }
    // A key typed on the game screen, as the window system delivers it.
    void Key(Qt::Key key) { QTest::keyClick(Screen.get(), key); }
    // Another window of the program that pauses the game (as the question editor does).
    std::unique_ptr<QWidget> MakePausingWindow() {
        auto w = std::make_unique<QWidget>();
        w->setProperty("trivoraPausesGame", true);
        return w;
    }
};

// The keys A-D answer like their buttons, in either case, and only once the answers show.
TEST_F(CommandsTest, LetterKeysChooseAnswers) {
    const struct {
        Qt::Key Key;
        bool Shift;
        int Answer;
    } cases[] = {
        {Qt::Key_A, false, 0}, {Qt::Key_B, true, 1}, {Qt::Key_C, false, 2}, {Qt::Key_D, true, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Answer);
        Create();
        StartGame();
        ASSERT_TRUE(AdvanceUntil([this] { return !Screen->QuestionBlock->Caption().isEmpty(); }));
        QTest::keyClick(Screen.get(), c.Key, c.Shift ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0})) << "while typed";
        ASSERT_TRUE(WaitForAnswers());
        QTest::keyClick(Screen.get(), c.Key, c.Shift ? Qt::ShiftModifier : Qt::NoModifier);
        std::array<int, 4> lit{0, 0, 0, 0};
        lit[static_cast<std::size_t>(c.Answer)] = 1;
        EXPECT_EQ(Screen->display.buttonLit, lit);
        EXPECT_TRUE(Screen->Timer5->Enabled());
        // Other keys and a second letter change nothing.
        Key(Qt::Key_E);
        Key(c.Answer == 0 ? Qt::Key_B : Qt::Key_A);
        EXPECT_EQ(Screen->display.buttonLit, lit);
    }
}

// Enter acts on the first of: a spinning ladder, the TimeOut panel, the Wrong panel, the
// final scores, else the START button.
TEST_F(CommandsTest, EnterOrder) {
    // Attract mode without a question set: START's message.
    Create(0);
    Dialogs.Clear();
    Key(Qt::Key_Return);
    EXPECT_EQ(Dialogs.Texts(), QStringList{QStringLiteral("Please select question file.")});
    EXPECT_FALSE(Visible(Screen->PlayerPanel));

    // Attract mode with a set: the player entry.
    Create();
    Key(Qt::Key_Enter);
    EXPECT_TRUE(Visible(Screen->PlayerPanel));

    // Spinning ladder: stopped; a second Enter during the prize display does nothing.
    Create();
    ReachPhase(TPhase::LadderSpinning);
    Key(Qt::Key_Return);
    EXPECT_EQ(Screen->display.stopLit, 1);
    EXPECT_TRUE(Screen->Timer9->Enabled());
    const int credit = Screen->game.credit;
    const int prize = Screen->game.prizeIndex;
    Advance(1000);
    Key(Qt::Key_Return);
    EXPECT_EQ(Screen->game.credit, credit);
    EXPECT_EQ(Screen->game.prizeIndex, prize);
    EXPECT_TRUE(Screen->LadderShowing());
    Advance(1000);
    EXPECT_FALSE(Screen->LadderShowing());

    // Wrong panel: its OK, down to the game over when no credit is left.
    Create();
    StartGame();
    for (int q = 0; q < 5; ++q) {
        AnswerWrong();
        Key(Qt::Key_Return);
        EXPECT_FALSE(Visible(Screen->Wrong));
    }
    EXPECT_TRUE(Visible(Screen->GameOver));
    EXPECT_FALSE(Screen->NewGame1->isVisible());
    Advance(4000);
    ASSERT_TRUE(Visible(Screen->FinalScorePanel));
    // Final scores: back to attract mode.
    Key(Qt::Key_Return);
    EXPECT_FALSE(Visible(Screen->FinalScorePanel));
    EXPECT_FALSE(Screen->game.gameRunning);
    EXPECT_FALSE(Visible(Screen->PlayerPanel));

    // TimeOut panel: its OK.
    Create();
    StartGame();
    ASSERT_TRUE(WaitForAnswers());
    ASSERT_TRUE(AdvanceUntil([this] { return Visible(Screen->TimeOut); }));
    Key(Qt::Key_Return);
    EXPECT_FALSE(Visible(Screen->TimeOut));
    EXPECT_TRUE(Screen->game.gameRunning);
    EXPECT_TRUE(WaitForAnswers());
}

// In a name box letters only fill the box; Enter starts the game and is used up there.
TEST_F(CommandsTest, KeysInANameBox) {
    Create();
    Key(Qt::Key_Return);
    ASSERT_TRUE(Visible(Screen->PlayerPanel));
    QLineEdit* box = Screen->PlayerName[0];
    box->setFocus();
    QSignalSpy returns(box, &QLineEdit::returnPressed);
    QTest::keyClicks(box, QStringLiteral("Abcd"));
    EXPECT_EQ(box->text(), QStringLiteral("Abcd"));
    EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(Visible(Screen->PlayerPanel));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(Visible(Screen->PlayerPanel));
    EXPECT_TRUE(Screen->game.gameRunning);
    EXPECT_EQ(returns.count(), 0);
    EXPECT_EQ(Screen->game.playerScores[0], 5);
}

// End Game, No: the game goes on where it stood, every timer that ran running again with a
// fresh interval; nothing else changes.
TEST_F(CommandsTest, EndGameNoResumes) {
    for (TPhase phase : {TPhase::AnswersOpen, TPhase::JudgementPending, TPhase::LadderSpinning,
                         TPhase::WrongPanelOpen}) {
        SCOPED_TRACE(static_cast<int>(phase));
        Create();
        ReachPhase(phase);
        const auto before = Running(*Screen);
        const int progress = Screen->T2->Progress();
        const int credit = Screen->game.credit;
        Dialogs.Clear();
        Dialogs.Answer(TMsgButton::No);
        Screen->NewGame1Click();
        ASSERT_EQ(Dialogs.Texts(), QStringList{QuitQuestion});
        EXPECT_EQ(Dialogs.Shown().front().Kind, TMsgKind::Confirmation);
        EXPECT_EQ(Running(*Screen), before);
        EXPECT_EQ(Screen->T2->Progress(), progress);
        EXPECT_EQ(Screen->game.credit, credit);
        EXPECT_TRUE(Screen->NewGame1->isVisible());
        EXPECT_TRUE(Screen->game.gameRunning);
    }
    // The gauge continues from where it stood, a full step after the answer.
    Create();
    ReachPhase(TPhase::AnswersOpen);
    Advance(150 * 10 + 100);
    const int progress = Screen->T2->Progress();
    Dialogs.Answer(TMsgButton::No);
    Screen->NewGame1Click();
    Advance(149);
    EXPECT_EQ(Screen->T2->Progress(), progress);
    Advance(1);
    EXPECT_EQ(Screen->T2->Progress(), progress - 1);
}

// End Game, Yes: the final scores at once with the best credits so far, nothing of the game
// left on screen or running, no judgement and no prize; OK returns to attract mode.
TEST_F(CommandsTest, EndGameYesShowsTheFinalScores) {
    for (TPhase phase : {TPhase::AnswersOpen, TPhase::JudgementPending, TPhase::LadderSpinning,
                         TPhase::WrongPanelOpen}) {
        SCOPED_TRACE(static_cast<int>(phase));
        Create();
        ReachPhase(phase);
        TQuizScreen& s = *Screen;
        const int credit = s.game.credit;
        Dialogs.Answer(TMsgButton::Yes);
        s.NewGame1Click();
        EXPECT_TRUE(Visible(s.FinalScorePanel));
        EXPECT_EQ(s.SCORE[0]->Caption(), QStringLiteral("5"));
        EXPECT_EQ(s.NAME[0]->Caption(), QStringLiteral("Player One"));
        EXPECT_EQ(s.game.playerScores, (std::array<int, 4>{0, 0, 0, 0}));
        EXPECT_EQ(s.game.playerCredits, (std::array<int, 4>{0, 0, 0, 0}));
        EXPECT_FALSE(s.NewGame1->isVisible());
        EXPECT_FALSE(s.game.answersOpen);
        for (QWidget* w : std::initializer_list<QWidget*>{s.Wrong,        s.TimeOut,
                                                          s.ReadyPanel,   s.OneDollar,
                                                          s.FiveDollars,  s.FifteenDollars,
                                                          s.FiftyDollars, s.Lose,
                                                          s.HitStop,      s.T1,
                                                          s.T2,           s.TimeLine,
                                                          s.C1,           s.QuestionBlock,
                                                          s.QF2,          s.QF3,
                                                          s.QF4,          s.QF5,
                                                          s.QF6,          s.Cover[0],
                                                          s.Cap[1],       s.Answer[3]})
            EXPECT_FALSE(Visible(w)) << w->objectName().toStdString();
        for (const auto& [name, on] : Running(s))
            EXPECT_FALSE(on) << name;

        // Nothing moves any more: no judgement, no prize, no answer.
        const std::array<int, 4> lit = s.display.buttonLit;
        Advance(20000);
        Key(Qt::Key_A);
        s.RedTMouseDown(s.RedT);
        s.RoundTMouseDown();
        EXPECT_EQ(s.game.credit, credit);
        EXPECT_EQ(s.display.buttonLit, lit);
        EXPECT_FALSE(Visible(s.MARK4) && s.Timer12->Enabled());
        EXPECT_TRUE(Visible(s.FinalScorePanel));

        // OK: attract mode; a later pause and resume brings back nothing of the old game.
        Key(Qt::Key_Return);
        EXPECT_FALSE(s.game.gameRunning);
        EXPECT_FALSE(Visible(s.FinalScorePanel));
        auto editor = MakePausingWindow();
        s.ActiveWindowChanged(editor.get());
        s.ActiveWindowChanged(&s);
        EXPECT_FALSE(AnyRunning(s, {"Timer5", "Timer6", "Timer7", "Timer8", "Timer9", "Timer11",
                                    "Timer12", "NewGame", "PLAYERGAMEOVER", "TOStopWin"}));
        EXPECT_TRUE(s.Timer1->Enabled());
        EXPECT_TRUE(s.Timer4->Enabled());
        Advance(30000);
        EXPECT_FALSE(Visible(s.Wrong));
        EXPECT_FALSE(s.LadderShowing());
        EXPECT_FALSE(Visible(s.MARK4));
    }
}

// Only another window of the program pauses the fifteen game timers, each keeping its state;
// message boxes, the help viewer and other programs change nothing. The game screen coming
// back resumes exactly the timers that ran, each with a fresh interval.
TEST_F(CommandsTest, PauseAndResumeOnActivation) {
    Create();
    TQuizScreen& s = *Screen;
    s.ActiveWindowChanged(&s); // the hand-over from the splash
    ReachPhase(TPhase::LadderSpinning);
    const auto before = Running(s);
    ASSERT_TRUE(before.at("Timer8"));
    ASSERT_TRUE(before.at("TOStopWin"));

    QWidget messageBox; // not a pausing window
    s.ActiveWindowChanged(&messageBox);
    s.ActiveWindowChanged(nullptr);
    EXPECT_EQ(Running(s), before);
    s.ActiveWindowChanged(&s);
    EXPECT_EQ(Running(s), before);

    auto editor = MakePausingWindow();
    s.ActiveWindowChanged(editor.get());
    EXPECT_TRUE(s.PausedByWindow());
    for (TTimer* t : s.GameTimers()) {
        EXPECT_FALSE(t->Enabled()) << t->Name();
        EXPECT_EQ(t->Tag, before.at(t->Name()) ? 1 : 0) << t->Name();
    }
    EXPECT_TRUE(s.LogoFlash->Enabled());
    const std::array<int, 5> lamps = s.display.lampLit;
    Advance(60000); // the ladder would have stopped itself after 10 s
    EXPECT_EQ(s.display.lampLit, lamps);
    EXPECT_EQ(s.display.stopLit, 0);
    // Other programs and dialogs in between do not resume it.
    s.ActiveWindowChanged(nullptr);
    s.ActiveWindowChanged(&messageBox);
    EXPECT_FALSE(s.Timer8->Enabled());

    s.EditCreateQuestions1->setEnabled(false);
    s.ActiveWindowChanged(&s);
    EXPECT_FALSE(s.PausedByWindow());
    EXPECT_EQ(Running(s), before);
    EXPECT_TRUE(s.EditCreateQuestions1->isEnabled());
    // The ladder's 10 s limit counts afresh from the resume.
    Advance(9999);
    EXPECT_TRUE(s.Timer8->Enabled());
    Advance(1);
    EXPECT_FALSE(s.Timer8->Enabled());
    EXPECT_EQ(s.display.stopLit, 1);
    EXPECT_EQ(s.game.prizeIndex, 5);
}

// The first activation (the splash showing the screen) runs Timer1-4 and Timer10 and stops
// the others; a real window of the program taking the focus pauses, as does the editor.
TEST_F(CommandsTest, FirstActivationAndRealWindows) {
    Create();
    TQuizScreen& s = *Screen;
    s.Timer5->Start(); // a timer whose WasEnabled is still that of the load
    s.show();
    QApplication::processEvents();
    for (TTimer* t : s.GameTimers()) {
        const bool runs = t->Name() == "Timer1" || t->Name() == "Timer2" || t->Name() == "Timer3" ||
                          t->Name() == "Timer4" || t->Name() == "Timer10";
        EXPECT_EQ(t->Enabled(), runs) << t->Name();
    }

    auto editor = MakePausingWindow();
    editor->show();
    editor->activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() == editor.get()) {
        EXPECT_TRUE(s.PausedByWindow());
        EXPECT_FALSE(s.Timer1->Enabled());
        editor->hide();
        s.activateWindow();
        QApplication::processEvents();
    } else {
        // The platform gives no focus: the editor's hand-back shows the screen again.
        s.ActiveWindowChanged(editor.get());
        EXPECT_TRUE(s.PausedByWindow());
        s.hide();
        s.show();
    }
    EXPECT_FALSE(s.PausedByWindow());
    EXPECT_TRUE(s.Timer1->Enabled());
    s.hide();
}

// The resume gives "&On" its check mark back when sound is wanted (the editor unchecks it).
TEST_F(CommandsTest, ResumeRestoresTheSoundSwitch) {
    for (bool wanted : {true, false}) {
        SCOPED_TRACE(wanted);
        Create();
        Screen->game.soundWanted = wanted;
        Screen->On2->setChecked(false);
        Screen->Off2->setChecked(false);
        Screen->FormActivate();
        EXPECT_EQ(Screen->On2->isChecked(), wanted);
        EXPECT_NE(Screen->Off2->isChecked(), Screen->On2->isChecked());
    }
}

// Either Sound entry flips both check marks and stores "YES" or "NO"; choosing the checked
// entry switches over too.
TEST_F(CommandsTest, SoundSwitch) {
    Create();
    TQuizScreen& s = *Screen;
    s.On2->setChecked(true);
    s.Off2->setChecked(false);
    const struct {
        QAction* Entry;
        bool On;
        const char* Stored;
    } steps[] = {{s.On2, false, "NO"},
                 {s.On2, true, "YES"},
                 {s.Off2, false, "NO"},
                 {s.Off2, true, "YES"},
                 {s.Off2, false, "NO"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Stored);
        step.Entry->trigger(); // as chosen from the menu
        EXPECT_EQ(s.On2->isChecked(), step.On);
        EXPECT_EQ(s.Off2->isChecked(), !step.On);
        EXPECT_EQ(Settings.PlaySound(), QString::fromLatin1(step.Stored));
        EXPECT_EQ(s.game.soundWanted, step.On);
        EXPECT_EQ(s.SoundOn(), step.On);
    }
    // A new program run reads the stored choice.
    EXPECT_FALSE(TSettings().SoundWanted());
}

// The menu: entries, short-cuts, and the help and web entries going to the desktop.
TEST_F(CommandsTest, MenuEntries) {
    Create();
    TQuizScreen& s = *Screen;
    EXPECT_EQ(s.LoadQuestions1->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(s.EditCreateQuestions1->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(s.Exit1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_FALSE(s.NewGame1->isVisible());
    EXPECT_FALSE(s.On2->isChecked() && s.Off2->isChecked());
    EXPECT_FALSE(s.WebLink1->text().isEmpty());
    EXPECT_FALSE(s.WebLink2->text().isEmpty());

    s.Instructions1->trigger();
    s.WebLink1->trigger();
    s.WebLink2->trigger();
    EXPECT_EQ(Shell.Calls,
              (QStringList{QStringLiteral("help:10"), QStringLiteral("minimize"),
                           QStringLiteral("url:https://opentdb.com/"), QStringLiteral("minimize"),
                           QStringLiteral("url:https://en.wikipedia.org/wiki/Trivia")}));
}

// Closing the screen, from the menu or its close box, in a game or not, ends the program at
// once and asks nothing.
TEST_F(CommandsTest, CloseEndsTheProgram) {
    for (bool inGame : {false, true}) {
        SCOPED_TRACE(inGame);
        Create();
        if (inGame) ReachPhase(TPhase::AnswersOpen);
        QSignalSpy closed(Screen.get(), &TQuizScreen::Closed);
        Dialogs.Clear();
        if (inGame)
            Screen->Exit1->trigger();
        else
            Screen->close();
        EXPECT_EQ(closed.count(), 1);
        EXPECT_TRUE(Dialogs.Texts().isEmpty());
    }
}

// A game left for the question editor ends with the editor's reset: the judgement or the
// ladder that was paused does not come back to life in attract mode when the screen resumes.
TEST_F(CommandsTest, GameLeftForTheEditorStaysEnded) {
    for (TPhase phase : {TPhase::JudgementPending, TPhase::LadderSpinning}) {
        SCOPED_TRACE(static_cast<int>(phase));
        Create();
        TQuizScreen& s = *Screen;
        s.ActiveWindowChanged(&s);
        ReachPhase(phase);
        // End Game, No: the resume makes the editor's entry usable in the middle of the game.
        Dialogs.Answer(TMsgButton::No);
        s.NewGame1Click();
        ASSERT_TRUE(s.EditCreateQuestions1->isEnabled());
        auto editor = MakePausingWindow();
        s.ActiveWindowChanged(editor.get());
        // The editor closes: the screen shows again (the resume) and is reset.
        s.show();
        s.FormCreate();
        QApplication::processEvents();
        EXPECT_FALSE(s.PausedByWindow());
        EXPECT_FALSE(AnyRunning(s, {"Timer5", "Timer6", "Timer7", "Timer8", "Timer9", "Timer11",
                                    "Timer12", "TOStopWin"}));
        Advance(30000);
        EXPECT_FALSE(Visible(s.Wrong));
        EXPECT_FALSE(Visible(s.MARK4));
        EXPECT_EQ(s.game.credit, 1); // the reset's credit, no prize added
        EXPECT_TRUE(s.Timer1->Enabled());
        s.hide();
    }
}
