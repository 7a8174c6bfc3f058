#include "FinalScoresPanel.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"
#include "CabinetFixture.h"
#include "GamePosition.h"

#include <QMessageBox>
#include <QPushButton>

class CabinetControllerTest : public CabinetFixture {
protected:
    void SetUp() override {
        createCabinet();
        skipWithRealControllers();
    }

    void playerEntryShown() { ASSERT_TRUE(visible(screen->playerPanel)); }
};

// A gamepad plugged in while the program runs plays a whole turn through the game's own
// commands: START opens the player entry and confirms it, each face button answers its
// letter, START confirms the Wrong panel, a shoulder button stops the ladder.
TEST_F(CabinetControllerTest, GamepadPlaysTheGameByItsButtons) {
    VirtualJoystick pad = VirtualJoystick::gamepad();
    settle();

    for (int letter = 0; letter < 4; ++letter) {
        SCOPED_TRACE(testing::Message() << "answer " << char('A' + letter));
        screen->abandonGame();
        tap(pad, SDL_CONTROLLER_BUTTON_START);
        playerEntryShown();
        tap(pad, SDL_CONTROLLER_BUTTON_START);
        ASSERT_TRUE(screen->game.gameRunning());
        ASSERT_TRUE(waitForAnswers());
        tap(pad, padButtonFor[letter]);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(screen->display.buttonLit[static_cast<std::size_t>(k)], k == letter ? 1 : 0);
    }

    // A wrong answer, its panel confirmed with START; then a right one and the ladder's STOP.
    screen->abandonGame();
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(waitForAnswers());
    tap(pad, padButtonFor[wrongSlot()]);
    advance(2500);
    ASSERT_TRUE(visible(screen->wrongPanel));
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(visible(screen->wrongPanel));

    ASSERT_TRUE(waitForAnswers());
    tap(pad, padButtonFor[correctSlot()]);
    ASSERT_TRUE(advanceUntil([this] { return screen->ladder->isShowing(); }));
    advance(450);
    EXPECT_EQ(screen->display.stopLit, 0);
    tap(pad, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    EXPECT_EQ(screen->display.stopLit, 1) << "the shoulder button did not stop the ladder";
}

// Presses reach the game only while its screen plays: not while it is hidden (behind the
// splash, or while the question editor has it) or minimised, not while another window of the
// program pauses it.
TEST_F(CabinetControllerTest, ControllerPressesWaitForTheScreen) {
    VirtualJoystick pad = VirtualJoystick::gamepad();
    settle();

    screen->hide();
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(visible(screen->playerPanel)) << "a hidden screen took START";

    screen->showMinimized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(screen->isMinimized());
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(visible(screen->playerPanel)) << "a minimised screen took START";

    screen->showNormal();
    giveFocus(screen.get());
    QWidget other;
    other.setProperty("trivoraPausesGame", true);
    other.show();
    giveFocus(&other);
    ASSERT_TRUE(screen->pausedByWindow());
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(visible(screen->playerPanel)) << "a paused screen took START";

    giveFocus(screen.get());
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(visible(screen->playerPanel));
}

// Over a message box START presses Enter, which answers the box, and no press of any
// button reaches the game behind it.
TEST_F(CabinetControllerTest, ControllerStartAnswersAMessageBoxAndNothingElseGetsThrough) {
    VirtualJoystick pad = VirtualJoystick::gamepad();
    settle();
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(waitForAnswers());

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Trivora"), QStringLiteral("Note"),
                    QMessageBox::Ok, screen.get());
    box.setWindowModality(Qt::ApplicationModal);
    box.open();
    QCoreApplication::processEvents();
    for (int button : padButtonFor)
        tap(pad, button);
    tap(pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    EXPECT_TRUE(answersWaiting()) << "an answer got past the message box";
    EXPECT_TRUE(box.isVisible());

    tap(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QMessageBox::Ok);
    EXPECT_TRUE(answersWaiting());
}

// The buttons stored in Trivora.conf play an encoder board from the start; damaged ones give
// the defaults, and the player is told once, naming the fault.
TEST_F(CabinetControllerTest, StoredControllerButtonsPlayAndADamagedSetWarnsOnce) {
    cabinet.reset();
    writeOptionsFile("[Controls]\nA=button:7\nB=button:6\nC=button:5\nD=button:4\n"
                     "START=button:3\nSTOP=button:2\n");
    cabinet = std::make_unique<Cabinet>(*screen, clock, dialogs, ProgramOptions{});
    cabinet->reportStoredControls();
    EXPECT_TRUE(dialogs.texts().isEmpty());

    {
        VirtualJoystick board = VirtualJoystick::plain(8, 0, 0);
        settle();
        tap(board, 5); // START by default, C here
        EXPECT_FALSE(visible(screen->playerPanel));
        tap(board, 3);
        playerEntryShown();
        tap(board, 3);
        ASSERT_TRUE(waitForAnswers());
        tap(board, 7);
        EXPECT_EQ(screen->display.buttonLit[0], 1);
    }

    // Damaged: the defaults play (button 5 is START) and one warning says why.
    cabinet.reset();
    screen->abandonGame();
    writeOptionsFile("[Controls]\nA=button:7\nB=button:6\nC=button:5\nD=button:4\n"
                     "START=joystick\nSTOP=button:2\n");
    cabinet = std::make_unique<Cabinet>(*screen, clock, dialogs, ProgramOptions{});
    cabinet->reportStoredControls();
    cabinet->reportStoredControls();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Warning);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("START=joystick")))
        << dialogs.shown()[0].text.toStdString();
    VirtualJoystick board = VirtualJoystick::plain(8, 0, 0);
    settle();
    tap(board, 5);
    playerEntryShown();
    EXPECT_TRUE(readOptionsFile().contains("START=joystick")) << "the stored text was changed";
}

// Two answer buttons pressed at once, and a storm of presses after them, answer once: the
// first answer stands, as it does for keys, and the judgement falls as usual.
TEST_F(CabinetControllerTest, ControllerPressesTogetherAnswerOnce) {
    VirtualJoystick pad = VirtualJoystick::gamepad();
    settle();
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(waitForAnswers());

    pad.press(padButtonFor[1]);
    pad.press(padButtonFor[2]);
    advance(ControllerInput::pollInterval);
    const auto lit = [this] {
        return std::count_if(screen->display.buttonLit.begin(), screen->display.buttonLit.end(),
                             [](int on) { return on != 0; });
    };
    ASSERT_EQ(lit(), 1);
    const auto chosen = screen->display.buttonLit;
    pad.release(padButtonFor[1]);
    pad.release(padButtonFor[2]);
    for (int i = 0; i < 40; ++i)
        tap(pad, i % 5 == 4 ? SDL_CONTROLLER_BUTTON_LEFTSHOULDER : padButtonFor[i % 4]);
    EXPECT_EQ(screen->display.buttonLit, chosen);
    EXPECT_TRUE(advanceUntil(
        [this] { return visible(screen->banners->correctBanner) || visible(screen->wrongPanel); }, 2500));
}

// After a game whose score ranks, a gamepad enters the name on the hall of fame's entry: the
// face buttons step (A, B) and take (C) letters, START stores the name and attract mode follows.
TEST_F(CabinetControllerTest, GamepadEntersAHallOfFameName) {
    cabinet.reset();
    screen.reset();
    openScores();
    createCabinet();
    VirtualJoystick pad = VirtualJoystick::gamepad();
    settle();
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(waitForAnswers());
    GamePosition::setPlayerScores(screen->game, {9, 0, 0, 0});
    GamePosition::setQuestionsPlayed(screen->game, {1, 0, 0, 0});
    dialogs.answer(MsgButton::Yes);
    screen->endGameAction->trigger();
    ASSERT_TRUE(visible(screen->finalScorePanel));
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::NameEntry);
    // B steps to "B", C takes it; A steps back to "A", C takes it; START stores "BA".
    for (int letter : {1, 2, 0, 2})
        tap(pad, padButtonFor[letter]);
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
    const QList<ScoreEntry> best =
        storedScores()->bestTen(QuestionSet::fromFile(programDir() + QStringLiteral("/REGD.QST")));
    ASSERT_EQ(best.size(), 1);
    EXPECT_EQ(best[0].name, QStringLiteral("BA"));
    EXPECT_EQ(best[0].score, 9);
}
