#include "GameFixture.h"
#include "QuestionArea.h"
#include "PrizeLadderView.h"
#include "PlayerEntryPanel.h"
#include "FinalScoresPanel.h"
#include "SoundCues.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <set>
#include <string>

namespace {
const QString QuitQuestion = QStringLiteral("Are you sure you want to quit this game?");

// Which game timers run, by name.
std::map<std::string, bool> running(QuizScreen& s) {
    std::map<std::string, bool> out;
    for (const Timer* t : pausingTimers(s))
        out[t->name()] = t->enabled();
    return out;
}

bool anyRunning(QuizScreen& s, std::initializer_list<const char*> names) {
    for (const Timer* t : pausingTimers(s))
        for (const char* n : names)
            if (t->name() == n && t->enabled()) return true;
    return false;
}
} // namespace

class CommandsTest : public GameFixture {
protected:
    // The phases in which a game can be ended or paused.
    enum class Phase { AnswersOpen, JudgementPending, LadderSpinning, WrongPanelOpen };
    void reachPhase(Phase phase) {
        startGame();
        switch (phase) {
        case Phase::AnswersOpen:
            ASSERT_TRUE(waitForAnswers());
            break;
        case Phase::JudgementPending:
            ASSERT_TRUE(waitForAnswers());
            choose(correctSlot());
            break;
        case Phase::LadderSpinning:
            answerRight();
            ASSERT_TRUE(advanceUntil([this] { return screen->ladder->isShowing(); }));
            advance(250);
            break;
        case Phase::WrongPanelOpen:
            answerWrong();
            break;
        }
    }
    // A key typed on the game screen, as the window system delivers it.
    void key(Qt::Key key) { QTest::keyClick(screen.get(), key); }
    // Another window of the program that pauses the game (as the question editor does).
    std::unique_ptr<QWidget> makePausingWindow() {
        auto w = std::make_unique<QWidget>();
        w->setProperty("trivoraPausesGame", true);
        return w;
    }
};

// The keys A-D answer like their buttons, in either case, and only once the answers show.
TEST_F(CommandsTest, LetterKeysChooseAnswers) {
    const struct {
        Qt::Key key;
        bool shift;
        int answer;
    } cases[] = {
        {Qt::Key_A, false, 0}, {Qt::Key_B, true, 1}, {Qt::Key_C, false, 2}, {Qt::Key_D, true, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        create();
        startGame();
        ASSERT_TRUE(advanceUntil([this] { return !screen->questionArea->questionLabel->caption().isEmpty(); }));
        QTest::keyClick(screen.get(), c.key, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0})) << "while typed";
        ASSERT_TRUE(waitForAnswers());
        QTest::keyClick(screen.get(), c.key, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
        std::array<int, 4> lit{0, 0, 0, 0};
        lit[static_cast<std::size_t>(c.answer)] = 1;
        EXPECT_EQ(screen->display.buttonLit, lit);
        EXPECT_TRUE(screen->game.timer(QuizGame::GameTimer::Judgement).enabled());
        // Other keys and a second letter change nothing.
        key(Qt::Key_E);
        key(c.answer == 0 ? Qt::Key_B : Qt::Key_A);
        EXPECT_EQ(screen->display.buttonLit, lit);
    }
}

// Enter acts on the first of: a spinning ladder, the TimeOut panel, the Wrong panel, the
// final scores, else the START button.
TEST_F(CommandsTest, EnterOrder) {
    // Attract mode without a question set: START's message.
    create(0);
    dialogs.clear();
    key(Qt::Key_Return);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Please select question file.")});
    EXPECT_FALSE(visible(screen->playerPanel));

    // Attract mode with a set: the player entry.
    create();
    key(Qt::Key_Enter);
    EXPECT_TRUE(visible(screen->playerPanel));

    // Spinning ladder: stopped; a second Enter during the prize display does nothing.
    create();
    reachPhase(Phase::LadderSpinning);
    key(Qt::Key_Return);
    EXPECT_EQ(screen->display.stopLit, 1);
    EXPECT_TRUE(screen->game.timer(QuizGame::GameTimer::PrizeDisplay).enabled());
    const int credit = screen->game.players().credit();
    const Lamp prize = screen->game.ladder().prize();
    advance(1000);
    key(Qt::Key_Return);
    EXPECT_EQ(screen->game.players().credit(), credit);
    EXPECT_EQ(screen->game.ladder().prize(), prize);
    EXPECT_TRUE(screen->ladder->isShowing());
    advance(1000);
    EXPECT_FALSE(screen->ladder->isShowing());

    // Wrong panel: its OK, down to the game over when no credit is left.
    create();
    startGame();
    for (int q = 0; q < 5; ++q) {
        answerWrong();
        key(Qt::Key_Return);
        EXPECT_FALSE(visible(screen->wrongPanel));
    }
    EXPECT_TRUE(visible(screen->banners->gameOverBanner));
    EXPECT_FALSE(screen->endGameAction->isVisible());
    advance(4000);
    ASSERT_TRUE(visible(screen->finalScorePanel));
    // Final scores: back to attract mode.
    key(Qt::Key_Return);
    EXPECT_FALSE(visible(screen->finalScorePanel));
    EXPECT_FALSE(screen->game.gameRunning());
    EXPECT_FALSE(visible(screen->playerPanel));

    // TimeOut panel: its OK.
    create();
    startGame();
    ASSERT_TRUE(waitForAnswers());
    ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
    key(Qt::Key_Return);
    EXPECT_FALSE(visible(screen->timeOutPanel));
    EXPECT_TRUE(screen->game.gameRunning());
    EXPECT_TRUE(waitForAnswers());
}

// In a name box letters only fill the box; Enter starts the game and is used up there.
TEST_F(CommandsTest, KeysInANameBox) {
    create();
    key(Qt::Key_Return);
    ASSERT_TRUE(visible(screen->playerPanel));
    QLineEdit* box = screen->playerPanel->nameBoxes[0];
    box->setFocus();
    QSignalSpy returns(box, &QLineEdit::returnPressed);
    QTest::keyClicks(box, QStringLiteral("Abcd"));
    EXPECT_EQ(box->text(), QStringLiteral("Abcd"));
    EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(visible(screen->playerPanel));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(visible(screen->playerPanel));
    EXPECT_TRUE(screen->game.gameRunning());
    EXPECT_EQ(returns.count(), 0);
    EXPECT_EQ(screen->game.players().scores()[0], 5);
}

// End Game, No: the game goes on where it stood, every timer that ran running again with a
// fresh interval; nothing else changes.
TEST_F(CommandsTest, EndGameNoResumes) {
    for (Phase phase : {Phase::AnswersOpen, Phase::JudgementPending, Phase::LadderSpinning,
                        Phase::WrongPanelOpen}) {
        SCOPED_TRACE(static_cast<int>(phase));
        create();
        reachPhase(phase);
        const auto before = running(*screen);
        const int progress = screen->questionArea->timeGauge->progress();
        const int credit = screen->game.players().credit();
        dialogs.clear();
        dialogs.answer(MsgButton::No);
        screen->endGame();
        ASSERT_EQ(dialogs.texts(), QStringList{QuitQuestion});
        EXPECT_EQ(dialogs.shown().front().kind, MsgKind::Confirmation);
        EXPECT_EQ(running(*screen), before);
        EXPECT_EQ(screen->questionArea->timeGauge->progress(), progress);
        EXPECT_EQ(screen->game.players().credit(), credit);
        EXPECT_TRUE(screen->endGameAction->isVisible());
        EXPECT_TRUE(screen->game.gameRunning());
    }
    // The gauge continues from where it stood, a full step after the answer.
    create();
    reachPhase(Phase::AnswersOpen);
    advance(150 * 10 + 100);
    const int progress = screen->questionArea->timeGauge->progress();
    dialogs.answer(MsgButton::No);
    screen->endGame();
    advance(149);
    EXPECT_EQ(screen->questionArea->timeGauge->progress(), progress);
    advance(1);
    EXPECT_EQ(screen->questionArea->timeGauge->progress(), progress - 1);
}

// End Game, Yes: the final scores at once with the best credits so far, nothing of the game
// left on screen or running, no judgement and no prize; OK returns to attract mode.
TEST_F(CommandsTest, EndGameYesShowsTheFinalScores) {
    for (Phase phase : {Phase::AnswersOpen, Phase::JudgementPending, Phase::LadderSpinning,
                        Phase::WrongPanelOpen}) {
        SCOPED_TRACE(static_cast<int>(phase));
        create();
        reachPhase(phase);
        QuizScreen& s = *screen;
        const int credit = s.game.players().credit();
        dialogs.answer(MsgButton::Yes);
        s.endGame();
        EXPECT_TRUE(visible(s.finalScorePanel));
        EXPECT_EQ(s.finalScorePanel->scores[0]->caption(), QStringLiteral("5"));
        EXPECT_EQ(s.finalScorePanel->names[0]->caption(), QStringLiteral("Player One"));
        EXPECT_EQ(s.game.players().scores(), (std::array<int, 4>{0, 0, 0, 0}));
        EXPECT_EQ(s.game.players().credits(), (std::array<int, 4>{0, 0, 0, 0}));
        EXPECT_FALSE(s.endGameAction->isVisible());
        EXPECT_FALSE(s.game.answersOpen());
        for (QWidget* w : std::initializer_list<QWidget*>{
                 s.wrongPanel,       s.timeOutPanel,      s.readyPanel,      s.ladder->lamps[0],
                 s.ladder->lamps[1],   s.ladder->lamps[2], s.ladder->lamps[3], s.ladder->lamps[4],
                 s.ladder->pressStopPrompt,  s.questionArea->timeCaption,       s.questionArea->timeGauge,       s.questionArea->timeStrip,
                 s.questionArea->creditCaption,    s.questionArea->questionLabel,     s.questionArea->answerFrames[0],    s.questionArea->answerFrames[1],
                 s.questionArea->answerFrames[2],     s.questionArea->answerFrames[3],      s.questionArea->answerDivider,   s.questionArea->answerRows[0],
                 s.questionArea->answerLetters[1], s.questionArea->answerTexts[3]})
            EXPECT_FALSE(visible(w)) << w->objectName().toStdString();
        for (const auto& [name, on] : running(s))
            EXPECT_FALSE(on) << name;

        // Nothing moves any more: no judgement, no prize, no answer.
        const std::array<int, 4> lit = s.display.buttonLit;
        advance(20000);
        key(Qt::Key_A);
        s.pressControl(s.buttons->answerButtonA);
        s.pressStop();
        EXPECT_EQ(s.game.players().credit(), credit);
        EXPECT_EQ(s.display.buttonLit, lit);
        EXPECT_FALSE(visible(s.banners->correctBanner) && s.game.timer(QuizGame::GameTimer::CorrectFlash).enabled());
        EXPECT_TRUE(visible(s.finalScorePanel));

        // OK: attract mode; a later pause and resume brings back nothing of the old game.
        key(Qt::Key_Return);
        EXPECT_FALSE(s.game.gameRunning());
        EXPECT_FALSE(visible(s.finalScorePanel));
        auto editor = makePausingWindow();
        s.activeWindowChanged(editor.get());
        s.activeWindowChanged(&s);
        EXPECT_FALSE(anyRunning(s, {"judgementTimer", "questionEndTimer", "gameOverTimer",
                                    "ladderLightTimer", "prizeDisplayTimer", "prizeFlashTimer",
                                    "correctFlashTimer", "readyTimer", "playerOutTimer",
                                    "ladderTimeLimit"}));
        EXPECT_TRUE(s.attract->buttonTimer->enabled());
        EXPECT_FALSE(s.game.timer(QuizGame::GameTimer::TimeGauge).enabled());
        advance(30000);
        EXPECT_FALSE(visible(s.wrongPanel));
        EXPECT_FALSE(s.ladder->isShowing());
        EXPECT_FALSE(visible(s.banners->correctBanner));
    }
}

// Only another window of the program pauses the fifteen game timers, each keeping its state;
// message boxes, the help viewer and other programs change nothing. The game screen coming
// back resumes exactly the timers that ran, each with a fresh interval.
TEST_F(CommandsTest, PauseAndResumeOnActivation) {
    create();
    QuizScreen& s = *screen;
    s.activeWindowChanged(&s); // the hand-over from the splash
    reachPhase(Phase::LadderSpinning);
    const auto before = running(s);
    ASSERT_TRUE(before.at("ladderLightTimer"));
    ASSERT_TRUE(before.at("ladderTimeLimit"));

    QWidget messageBox; // not a pausing window
    s.activeWindowChanged(&messageBox);
    s.activeWindowChanged(nullptr);
    EXPECT_EQ(running(s), before);
    s.activeWindowChanged(&s);
    EXPECT_EQ(running(s), before);

    auto editor = makePausingWindow();
    s.activeWindowChanged(editor.get());
    EXPECT_TRUE(s.pausedByWindow());
    for (const Timer* t : pausingTimers(s)) {
        EXPECT_FALSE(t->enabled()) << t->name();
        EXPECT_EQ(t->tag, before.at(t->name()) ? 1 : 0) << t->name();
    }
    EXPECT_TRUE(s.titleBand->logoTimer->enabled());
    const std::array<int, 5> lamps = s.display.lampLit;
    advance(60000); // the ladder would have stopped itself after 10 s
    EXPECT_EQ(s.display.lampLit, lamps);
    EXPECT_EQ(s.display.stopLit, 0);
    // Other programs and dialogs in between do not resume it.
    s.activeWindowChanged(nullptr);
    s.activeWindowChanged(&messageBox);
    EXPECT_FALSE(s.game.timer(QuizGame::GameTimer::LadderLight).enabled());

    s.editQuestionsAction->setEnabled(false);
    s.activeWindowChanged(&s);
    EXPECT_FALSE(s.pausedByWindow());
    EXPECT_EQ(running(s), before);
    EXPECT_TRUE(s.editQuestionsAction->isEnabled());
    // The ladder's 10 s limit counts afresh from the resume.
    advance(9999);
    EXPECT_TRUE(s.game.timer(QuizGame::GameTimer::LadderLight).enabled());
    advance(1);
    EXPECT_FALSE(s.game.timer(QuizGame::GameTimer::LadderLight).enabled());
    EXPECT_EQ(s.display.stopLit, 1);
    EXPECT_EQ(s.game.ladder().prize(), Lamp::Lose);
}

// The first activation (the splash showing the screen) runs the attract timers and no game
// timer; a real window of the program taking the focus pauses, as does the editor.
TEST_F(CommandsTest, FirstActivationAndRealWindows) {
    create();
    QuizScreen& s = *screen;
    s.show();
    QApplication::processEvents();
    for (const Timer* t : pausingTimers(s)) {
        const bool runs = t->name() == "attractButtonTimer" || t->name() == "attractSequenceTimer";
        EXPECT_EQ(t->enabled(), runs) << t->name();
    }

    auto editor = makePausingWindow();
    editor->show();
    editor->activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() == editor.get()) {
        EXPECT_TRUE(s.pausedByWindow());
        EXPECT_FALSE(s.attract->buttonTimer->enabled());
        editor->hide();
        s.activateWindow();
        QApplication::processEvents();
    } else {
        // The platform gives no focus: the editor's hand-back shows the screen again.
        s.activeWindowChanged(editor.get());
        EXPECT_TRUE(s.pausedByWindow());
        s.hide();
        s.show();
    }
    EXPECT_FALSE(s.pausedByWindow());
    EXPECT_TRUE(s.attract->buttonTimer->enabled());
    s.hide();
}

// The Sound menu shows the player's wish, also while the editor mutes the game, and the cues
// play only when the sound is wanted and not muted.
TEST_F(CommandsTest, SoundMenuShowsTheWishAndTheCuesFollowTheMute) {
    for (bool wanted : {true, false}) {
        SCOPED_TRACE(wanted);
        create();
        screen->sound().setWanted(wanted);
        screen->sound().setMuted(true);
        EXPECT_EQ(screen->soundOnAction->isChecked(), wanted);
        EXPECT_NE(screen->soundOffAction->isChecked(), screen->soundOnAction->isChecked());
        EXPECT_FALSE(screen->cues().soundOn());
        screen->sound().setMuted(false);
        EXPECT_EQ(screen->cues().soundOn(), wanted);
    }
}

// Either Sound entry flips both check marks and stores "YES" or "NO"; choosing the checked
// entry switches over too.
TEST_F(CommandsTest, SoundSwitch) {
    create();
    QuizScreen& s = *screen;
    s.sound().setWanted(true);
    const struct {
        QAction* entry;
        bool on;
        const char* stored;
    } steps[] = {{s.soundOnAction, false, "NO"},
                 {s.soundOnAction, true, "YES"},
                 {s.soundOffAction, false, "NO"},
                 {s.soundOffAction, true, "YES"},
                 {s.soundOffAction, false, "NO"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.stored);
        step.entry->trigger(); // as chosen from the menu
        EXPECT_EQ(s.soundOnAction->isChecked(), step.on);
        EXPECT_EQ(s.soundOffAction->isChecked(), !step.on);
        EXPECT_EQ(settings.playSound(), QString::fromLatin1(step.stored));
        EXPECT_EQ(s.sound().wanted(), step.on);
        EXPECT_EQ(s.sound().on(), step.on);
    }
    // A new program run reads the stored choice.
    EXPECT_FALSE(Settings().soundWanted());
}

// The menu: entries, short-cuts, and the help and web entries going to the desktop.
TEST_F(CommandsTest, MenuEntries) {
    create();
    QuizScreen& s = *screen;
    EXPECT_EQ(s.changeQuestionFileAction->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(s.editQuestionsAction->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(s.closeAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_FALSE(s.endGameAction->isVisible());
    EXPECT_FALSE(s.soundOnAction->isChecked() && s.soundOffAction->isChecked());
    EXPECT_FALSE(s.triviaDatabaseAction->text().isEmpty());
    EXPECT_FALSE(s.triviaArticleAction->text().isEmpty());

    s.instructionsAction->trigger();
    s.triviaDatabaseAction->trigger();
    s.triviaArticleAction->trigger();
    EXPECT_EQ(shell.calls,
              (QStringList{QStringLiteral("help:10"), QStringLiteral("minimize"),
                           QStringLiteral("url:https://opentdb.com/"), QStringLiteral("minimize"),
                           QStringLiteral("url:https://en.wikipedia.org/wiki/Trivia")}));
}

// Closing the screen, from the menu or its close box, in a game or not, ends the program at
// once and asks nothing.
TEST_F(CommandsTest, CloseEndsTheProgram) {
    for (bool inGame : {false, true}) {
        SCOPED_TRACE(inGame);
        create();
        if (inGame) reachPhase(Phase::AnswersOpen);
        QSignalSpy closed(screen.get(), &QuizScreen::closed);
        dialogs.clear();
        if (inGame)
            screen->closeAction->trigger();
        else
            screen->close();
        EXPECT_EQ(closed.count(), 1);
        EXPECT_TRUE(dialogs.texts().isEmpty());
    }
}

// A game left for the question editor ends with the editor's reset: the judgement or the
// ladder that was paused does not come back to life in attract mode when the screen resumes.
TEST_F(CommandsTest, GameLeftForTheEditorStaysEnded) {
    for (Phase phase : {Phase::JudgementPending, Phase::LadderSpinning}) {
        SCOPED_TRACE(static_cast<int>(phase));
        create();
        QuizScreen& s = *screen;
        s.activeWindowChanged(&s);
        reachPhase(phase);
        // End Game, No: the resume makes the editor's entry usable in the middle of the game.
        dialogs.answer(MsgButton::No);
        s.endGame();
        ASSERT_TRUE(s.editQuestionsAction->isEnabled());
        auto editor = makePausingWindow();
        s.activeWindowChanged(editor.get());
        // The editor closes: the screen shows again (the resume) and is reset.
        s.show();
        s.game.enterAttractMode();
        QApplication::processEvents();
        EXPECT_FALSE(s.pausedByWindow());
        EXPECT_FALSE(anyRunning(s, {"judgementTimer", "questionEndTimer", "gameOverTimer",
                                    "ladderLightTimer", "prizeDisplayTimer", "prizeFlashTimer",
                                    "correctFlashTimer", "ladderTimeLimit"}));
        advance(30000);
        EXPECT_FALSE(visible(s.wrongPanel));
        EXPECT_FALSE(visible(s.banners->correctBanner));
        EXPECT_EQ(s.game.players().credit(), 1); // the reset's credit, no prize added
        EXPECT_TRUE(s.attract->buttonTimer->enabled());
        s.hide();
    }
}

// Over a scripted game of two players, the menu offers End Game, Edit Questions and Change
// Question File exactly when the game allows them: End Game from the first turn's start until
// game over, Edit Questions outside a game and again after another window handed the game
// back, Change Question File only outside a game.
TEST_F(CommandsTest, MenuFollowsWhatTheGameOffers) {
    create();
    QuizScreen& s = *screen;
    std::set<QuizGame::Phase> seen;
    int mismatches = 0;
    const auto check = [&] {
        const QuizGame& g = s.game;
        seen.insert(g.phase());
        const bool ok = s.endGameAction->isVisible() == g.canEndGame() &&
                        s.editQuestionsAction->isEnabled() == g.canEditQuestions() &&
                        s.changeQuestionFileAction->isEnabled() == g.canChangeQuestionFile();
        if (!ok) ++mismatches;
        EXPECT_TRUE(ok) << "phase " << int(g.phase());
    };
    QObject::connect(&s.game, &QuizGame::offersChanged, &s, check);

    check(); // attract mode
    EXPECT_TRUE(s.editQuestionsAction->isEnabled());
    EXPECT_FALSE(s.endGameAction->isVisible());
    startGame({QStringLiteral("Ann"), QStringLiteral("Bob")});
    ASSERT_EQ(s.game.phase(), QuizGame::Phase::GetReady);
    EXPECT_FALSE(s.endGameAction->isVisible()) << "no turn has started yet";
    EXPECT_FALSE(s.changeQuestionFileAction->isEnabled());
    ASSERT_TRUE(waitForAnswers());
    EXPECT_TRUE(s.endGameAction->isVisible());
    EXPECT_FALSE(s.editQuestionsAction->isEnabled());

    // Another window of the program has the player and hands the game back: Edit Questions is
    // offered again, in the middle of the game.
    auto other = makePausingWindow();
    s.show();
    s.activeWindowChanged(&s);
    s.activeWindowChanged(other.get());
    s.activeWindowChanged(&s);
    EXPECT_TRUE(s.editQuestionsAction->isEnabled());
    check();

    // Wrong answers until nobody has credit: game over, the final scores, attract mode.
    for (int turn = 0; turn < 40 && s.game.inGame(); ++turn) {
        if (!advanceUntil([&] {
                return s.game.answersOpen() || !s.game.inGame() ||
                       s.game.phase() == QuizGame::Phase::FinalScores;
            }))
            break;
        if (s.game.phase() == QuizGame::Phase::FinalScores) {
            EXPECT_FALSE(s.endGameAction->isVisible());
            s.finalScorePanel->confirm();
            break;
        }
        if (s.game.answersOpen()) loseQuestion();
    }
    EXPECT_EQ(s.game.phase(), QuizGame::Phase::Attract);
    EXPECT_TRUE(seen.count(QuizGame::Phase::GameOver));
    EXPECT_TRUE(seen.count(QuizGame::Phase::PlayerOut));
    EXPECT_TRUE(s.editQuestionsAction->isEnabled());
    EXPECT_TRUE(s.changeQuestionFileAction->isEnabled());
    EXPECT_EQ(mismatches, 0);
}
