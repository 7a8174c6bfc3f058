#include "GameFixture.h"
#include "QuestionArea.h"
#include "PrizeLadderView.h"
#include "PlayerEntryPanel.h"
#include "FinalScoresPanel.h"
#include "VerdictPanel.h"
#include "GamePosition.h"

#include <QAccessible>
#include <QAccessibleActionInterface>

namespace {

// The game window as assistive technology sees it, driven through its press actions.
class AccessibleScreenTest : public RealInputFixture {
protected:
    static QAccessibleInterface* of(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
    static void pressAction(QWidget* w) {
        QAccessibleActionInterface* actions = of(w)->actionInterface();
        ASSERT_NE(actions, nullptr) << w->objectName().toStdString();
        actions->doAction(QAccessibleActionInterface::pressAction());
    }
};

// The cabinet's buttons are named push buttons with a press action.
TEST_F(AccessibleScreenTest, CabinetButtonsArePushButtons) {
    createShown();
    const struct {
        ImageView* button;
        const char* name;
    } buttons[] = {
        {screen->buttons->answerButtonA, "Answer A"}, {screen->buttons->answerButtonB, "Answer B"},
        {screen->buttons->answerButtonC, "Answer C"}, {screen->buttons->answerButtonD, "Answer D"},
        {screen->buttons->startButton, "Start"},      {screen->buttons->stopButton, "Stop"},
        {screen->wrongPanel->okButton, "OK"},        {screen->timeOutPanel->okButton, "OK"},
        {screen->playerPanel->okButton, "OK"},       {screen->finalScorePanel->okButton, "OK"},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.button->objectName().toStdString());
        EXPECT_EQ(of(b.button)->role(), QAccessible::Button);
        EXPECT_EQ(of(b.button)->text(QAccessible::Name), QString::fromLatin1(b.name));
        ASSERT_NE(of(b.button)->actionInterface(), nullptr);
        EXPECT_TRUE(of(b.button)->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }
}

// A game played through press actions alone: START, the players' OK, an answer button, the
// Wrong panel's OK; the gauge reports the time left as a progress bar; each panel is named by
// its heading.
TEST_F(AccessibleScreenTest, PressActionsPlayAsClicksDo) {
    createShown();
    pressAction(screen->buttons->startButton);
    ASSERT_TRUE(visible(screen->playerPanel));
    EXPECT_EQ(of(screen->playerPanel)->role(), QAccessible::Pane);
    EXPECT_EQ(of(screen->playerPanel)->text(QAccessible::Name), QStringLiteral("Select players"));
    setNames({QStringLiteral("Ann"), QStringLiteral("Bob")});
    pressAction(screen->playerPanel->okButton);
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::GetReady);
    EXPECT_EQ(of(screen->readyPanel)->text(QAccessible::Name), QStringLiteral("Get ready"));
    GamePosition::setPlayerCredits(screen->game, {1, 5, 0, 0}); // Ann's last question
    advance(2500);

    ASSERT_TRUE(waitForAnswers());
    QAccessibleInterface* gauge = of(screen->questionArea->timeGauge);
    EXPECT_EQ(gauge->role(), QAccessible::ProgressBar);
    ASSERT_NE(gauge->valueInterface(), nullptr);
    advance(5 * screen->game.gaugeStepMs());
    EXPECT_EQ(gauge->valueInterface()->currentValue().toInt(), screen->game.timeLeft());
    EXPECT_LT(screen->game.timeLeft(), QuizGame::fullTime);

    pressAction(button(wrongSlot()));
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Judging);
    advance(2500);
    ASSERT_TRUE(visible(screen->wrongPanel));
    EXPECT_EQ(of(screen->wrongPanel)->text(QAccessible::Name), QStringLiteral("Wrong"));
    pressAction(screen->wrongPanel->okButton);
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::PlayerOut);
    EXPECT_EQ(of(screen->readyPanel)->text(QAccessible::Name), QStringLiteral("Game over"));
    advance(2500);
    EXPECT_EQ(of(screen->readyPanel)->text(QAccessible::Name), QStringLiteral("Get ready"));

    // End Game: the final scores are named too, and their OK ends the game.
    dialogs.answer(MsgButton::Yes);
    screen->endGame();
    ASSERT_TRUE(visible(screen->finalScorePanel));
    EXPECT_EQ(of(screen->finalScorePanel)->text(QAccessible::Name), QStringLiteral("Final scores"));
    pressAction(screen->finalScorePanel->okButton);
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
}

// The prize lamps say which one is lit, and STOP's press action stops the ladder.
TEST_F(AccessibleScreenTest, PrizeLampsSayWhichIsLit) {
    createShown();
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    answerRight();
    ASSERT_TRUE(advanceUntil([this] { return screen->ladder->isShowing(); }));
    ASSERT_TRUE(advanceUntil([this] { return screen->display.lampLit[2] != 0; })); // $15
    pressAction(screen->buttons->stopButton);
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::Prize);
    QStringList names;
    for (ImageView* lamp : {screen->ladder->lamps[0], screen->ladder->lamps[1],
                            screen->ladder->lamps[2], screen->ladder->lamps[3], screen->ladder->lamps[4]})
        names << of(lamp)->text(QAccessible::Name);
    EXPECT_EQ(names, (QStringList{"$1", "$5", "$15, lit", "$50", "Lose"}));
}

} // namespace
