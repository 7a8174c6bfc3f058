#include "CabinetFixture.h"

#include "ControlsDialog.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class ControlsDialogTest : public CabinetFixture {
protected:
    void SetUp() override {
        createCabinet();
        skipWithRealControllers();
    }

    // File → Controls…, as the menu entry does it; the dialog takes the focus.
    ControlsDialog* openDialog() {
        screen->controlsAction->trigger();
        ControlsDialog* dialog = cabinet->controlsDialog();
        if (dialog) giveFocus(dialog);
        return dialog;
    }
    // Lets a closed dialog go, as the event loop would.
    bool dialogGone() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return cabinet->controlsDialog() == nullptr;
    }
    // The cabinet button the dialog asks for, by name, or "" when it asks for none.
    static QString awaited(const ControlsDialog& dialog) {
        const auto button = dialog.capture().waitingFor();
        return button ? cabinetButtonName(*button) : QString();
    }
};

// File → Controls… asks for A, B, C, D, START and STOP in turn on one encoder board; while it
// is open no press reaches the game (the board's default START included) and the game is
// paused; the buttons are stored in Trivora.conf and, once the dialog is closed, play.
TEST_F(ControlsDialogTest, ControllerButtonsSetInTheDialogAreStoredAndPlay) {
    VirtualJoystick board = VirtualJoystick::plain(8, 0, 0);
    VirtualJoystick pad = VirtualJoystick::gamepad();
    settle();
    ControlsDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isModal());
    EXPECT_TRUE(screen->pausedByWindow());
    EXPECT_EQ(awaited(*dialog), QStringLiteral("A"));

    // The gamepad's START waits as well: the dialog takes the press for A from it, so the
    // board is set up by pressing A on it; a press on another device is refused.
    const int chosen[] = {7, 6, 5, 4, 3, 2};
    tap(board, chosen[0]);
    EXPECT_EQ(awaited(*dialog), QStringLiteral("B"));
    tap(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(awaited(*dialog), QStringLiteral("B"));
    EXPECT_FALSE(dialog->messageLabel->text().isEmpty()) << "a press on another device passed";
    tap(board, chosen[0]);
    EXPECT_EQ(awaited(*dialog), QStringLiteral("B")) << "one input taken for two buttons";
    for (std::size_t i = 1; i < std::size(chosen); ++i)
        tap(board, chosen[i]);
    EXPECT_EQ(awaited(*dialog), QString());
    EXPECT_EQ(dialog->inputLabels[4]->text(), QStringLiteral("button:3"));
    EXPECT_FALSE(visible(screen->playerPanel)) << "a press reached the game while setting up";

    const QByteArray stored = readOptionsFile();
    for (const char* line : {"A=button:7", "B=button:6", "C=button:5", "D=button:4",
                             "START=button:3", "STOP=button:2"})
        EXPECT_TRUE(stored.contains(line)) << line << " missing from " << stored.constData();

    // With the dialog still open START closes it, and reaches nothing else.
    tap(board, 3);
    EXPECT_TRUE(dialogGone()) << "START did not close the dialog";
    EXPECT_FALSE(visible(screen->playerPanel));
    giveFocus(screen.get());
    EXPECT_FALSE(screen->pausedByWindow());

    tap(board, 3);
    ASSERT_TRUE(visible(screen->playerPanel));
    tap(board, 3);
    ASSERT_TRUE(waitForAnswers());
    tap(board, 4);
    EXPECT_EQ(screen->display.buttonLit[3], 1) << "the board's new D did not answer D";
}

// Closing the dialog before the last press, or with Use Defaults, leaves a usable set: the
// buttons in use and stored stay as they were, or become the defaults.
TEST_F(ControlsDialogTest, ControllerSetUpCancelledOrResetKeepsUsableButtons) {
    VirtualJoystick board = VirtualJoystick::plain(8, 0, 0);
    settle();
    ControlsDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    for (int button : {7, 6, 5})
        tap(board, button);
    QTest::mouseClick(dialog->closeButton, Qt::LeftButton);
    EXPECT_TRUE(dialogGone());
    EXPECT_EQ(cabinet->controllers().mapping(), JoystickMapping());
    EXPECT_FALSE(readOptionsFile().contains("[Controls]"));
    giveFocus(screen.get());
    tap(board, 5);
    EXPECT_TRUE(visible(screen->playerPanel)) << "the default START no longer plays";

    screen->abandonGame();
    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    for (int button : {7, 6, 5, 4, 3, 2})
        tap(board, button);
    ASSERT_NE(cabinet->controllers().mapping(), JoystickMapping());
    QTest::mouseClick(dialog->defaultsButton, Qt::LeftButton);
    EXPECT_EQ(cabinet->controllers().mapping(), JoystickMapping());
    EXPECT_TRUE(readOptionsFile().contains("START=button:5")) << readOptionsFile().constData();
    EXPECT_EQ(dialog->inputLabels[4]->text(), QStringLiteral("button:5"));
}
