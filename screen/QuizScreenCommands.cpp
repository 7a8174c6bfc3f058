// The menu, the keyboard, pausing while another window of the program is in front, and
// closing.
#include "QuizScreen.h"

#include "AttractShow.h"
#include "ButtonBand.h"
#include "Dialogs.h"
#include "ImageView.h"
#include "Label.h"
#include "Shape.h"
#include "PlayerEntryPanel.h"
#include "QuestionArea.h"
#include "Settings.h"
#include "Shell.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

namespace {
// Pages for players and question authors, opened from "&Web Links".
const QString WebLink1Url = QStringLiteral("https://opentdb.com/");
const QString WebLink2Url = QStringLiteral("https://en.wikipedia.org/wiki/Trivia");
// The help topic of the game screen.
constexpr int GameHelpContext = 10;
// A top-level window of the program that pauses the game while it is active.
const char* const PausesGameProperty = "trivoraPausesGame";

// The character a key press types: Enter is character 13; keys with Ctrl, Alt or Meta held
// and keys without text type nothing.
QChar keyChar(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return QChar(13);
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return QChar();
    const QString text = event.text();
    return text.size() == 1 ? text.at(0) : QChar();
}
} // namespace

void QuizScreen::initCommands() {
    triviaDatabaseAction->setText(QStringLiteral("Open Trivia Database"));
    triviaArticleAction->setText(QStringLiteral("Trivia on Wikipedia"));
    // Key preview: the screen sees each key before the control that has the focus. Only
    // the name boxes can take the focus; the window itself gets the keys otherwise.
    installEventFilter(this);
    for (QLineEdit* box : playerPanel->nameBoxes)
        box->installEventFilter(this);
    // Activation between the program's own windows pauses and resumes the game.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        QWidget* active = nullptr;
        if (window) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->windowHandle() == window) active = w;
        }
        activeWindowChanged(active);
    });
}

void QuizScreen::pressControl(QObject* sender) {
    if (sender == buttons->startButton) {
        game.pressStart();
        return;
    }
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (sender == buttons->answerButton(i) || sender == questionArea->answerTexts[k] ||
            sender == questionArea->answerLetters[k] || sender == questionArea->answerRows[k]) {
            game.chooseAnswer(i);
            return;
        }
    }
}

void QuizScreen::pressStop() {
    game.pressStop();
}

bool QuizScreen::nameBoxKeyTyped(QChar key) {
    if (key != QChar(13)) return false;
    game.pressEnter();
    return true;
}

void QuizScreen::keyTyped(QChar key) {
    switch (key.unicode()) {
    case 'A':
    case 'a':
        pressControl(buttons->answerButtonA);
        return;
    case 'B':
    case 'b':
        pressControl(buttons->answerButtonB);
        return;
    case 'C':
    case 'c':
        pressControl(buttons->answerButtonC);
        return;
    case 'D':
    case 'd':
        pressControl(buttons->answerButtonD);
        return;
    case 13:
        // Enter stops the ladder, else confirms the open panel or the players, else presses
        // START.
        game.pressEnter();
        return;
    default:
        return;
    }
}

void QuizScreen::endGame() {
    pauseGame();
    if (!services.dialogs.confirm(this,
                                  QStringLiteral("Are you sure you want to quit this game?"))) {
        resumeGame();
        return;
    }
    // Nothing of the ended game is left to be resumed later: the final scores show until OK.
    attract->forget();
    game.endGame();
}

void QuizScreen::toggleSound() {
    const bool on = !soundSwitch.wanted();
    soundSwitch.setWanted(on);
    services.settings.setPlaySound(on ? QStringLiteral("YES") : QStringLiteral("NO"));
}

void QuizScreen::pauseGame() {
    attract->pause();
    game.pause();
}

void QuizScreen::resumeGame() {
    attract->resume();
    game.resume();
    setFocus();
}

void QuizScreen::abandonGame() {
    attract->forget();
    pausedByOtherWindow = false;
    game.abandonGame();
}

void QuizScreen::activeWindowChanged(QWidget* active) {
    if (!active) return; // another program: the game runs on
    if (active == this) {
        if (!activatedOnce || pausedByOtherWindow) {
            activatedOnce = true;
            pausedByOtherWindow = false;
            resumeGame();
        }
        return;
    }
    if (activatedOnce && !pausedByOtherWindow && active->property(PausesGameProperty).toBool()) {
        pausedByOtherWindow = true;
        pauseGame();
    }
}

void QuizScreen::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Being shown is being handed the game: at the splash's hand-over, and when the question
    // editor gives the screen back. Whether the window manager then also gives it the focus
    // does not matter.
    if (!event->spontaneous() && (!activatedOnce || pausedByOtherWindow)) activeWindowChanged(this);
}

void QuizScreen::closeScreen() {
    close();
}

void QuizScreen::showInstructions() {
    services.shell.showHelp(GameHelpContext);
}

void QuizScreen::openTriviaDatabase() {
    services.shell.minimizeApp();
    services.shell.openUrl(WebLink1Url);
}

void QuizScreen::openTriviaArticle() {
    services.shell.minimizeApp();
    services.shell.openUrl(WebLink2Url);
}

bool QuizScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == playArea) {
        layOutPlayArea();
        attract->fitTitlePictures(playArea->size());
    } else if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // The key's own receiver: the focused control, or the window when none has the
        // focus. A key that a control passes on to its parents is not seen twice.
        QWidget* receiver = focusWidget() ? focusWidget() : this;
        if (widget == receiver && widget->window() == this) {
            const QChar key = keyChar(*static_cast<QKeyEvent*>(event));
            if (!key.isNull()) {
                // In a name box, Enter confirms the players and goes no further.
                for (QLineEdit* box : playerPanel->nameBoxes)
                    if (widget == box && nameBoxKeyTyped(key)) return true;
                keyTyped(key);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void QuizScreen::closeEvent(QCloseEvent* event) {
    // Closing the game screen ends the program, whatever the game is doing; nothing is
    // saved. The owner releases the screen, which closes the MIDI device with it.
    event->accept();
    QMainWindow::closeEvent(event);
    emit closed();
}

void QuizScreen::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Leaving the maximised state, the window manager gives back the design size; should it
    // not, the next size change of the frame restores it (resizeEvent).
    if (event->type() == QEvent::WindowStateChange && !isMaximised() &&
        centralWidget()->size() != centralWidget()->minimumSize())
        QTimer::singleShot(0, this, [this] { restoreDesignSize(); });
}
