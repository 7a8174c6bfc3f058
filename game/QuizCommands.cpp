// The menu, the keyboard, pausing while another window of the program is in front, and
// closing.
#include "Quiz.h"

#include "Dialogs.h"
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
QChar KeyChar(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return QChar(13);
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return QChar();
    const QString text = event.text();
    return text.size() == 1 ? text.at(0) : QChar();
}
} // namespace

void TQuizScreen::InitCommands() {
    WebLink1->setText(QStringLiteral("Open Trivia Database"));
    WebLink2->setText(QStringLiteral("Trivia on Wikipedia"));
    // Key preview: the screen sees each key before the control that has the focus. Only
    // the name boxes can take the focus; the window itself gets the keys otherwise.
    installEventFilter(this);
    for (QLineEdit* box : PlayerName)
        box->installEventFilter(this);
    // Activation between the program's own windows pauses and resumes the game.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        QWidget* active = nullptr;
        if (window) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->windowHandle() == window) active = w;
        }
        ActiveWindowChanged(active);
    });
}

void TQuizScreen::FormKeyPress(QChar key) {
    switch (key.unicode()) {
    case 'A':
    case 'a':
        RedTMouseDown(RedT);
        return;
    case 'B':
    case 'b':
        RedTMouseDown(GreenT);
        return;
    case 'C':
    case 'c':
        RedTMouseDown(BlueT);
        return;
    case 'D':
    case 'd':
        RedTMouseDown(YellowT);
        return;
    case 13:
        break;
    default:
        return;
    }
    // Enter: the first of these that applies.
    if (LadderShowing() && display.stopLit == 0)
        RTM();
    else if (!TimeOut->isHidden())
        Image49MouseDown();
    else if (!Wrong->isHidden())
        Image34MouseDown();
    else if (!FinalScorePanel->isHidden())
        Image36MouseDown();
    else
        RedTMouseDown(StartT);
}

void TQuizScreen::NewGame1Click() {
    FormDeactivate();
    if (!FServices.Dialogs.Confirm(this,
                                   QStringLiteral("Are you sure you want to quit this game?"))) {
        FormActivate();
        return;
    }
    // Nothing of the game stays behind the final scores: panels, question area, ladder and
    // the correct-answer or game-over pictures.
    HideGameControls();
    NewGame1->setVisible(false);
    game.answersOpen = false;
    Timer7Timer();
    game.forgetPlayers();
    // The game timers stay stopped until the final scores' OK resets the screen. Nothing of
    // the ended game is left to be resumed later: a pending judgement, a spinning ladder or
    // a waiting turn would otherwise come back to life in attract mode.
    ForgetGameTimers();
}

void TQuizScreen::On2Click() {
    On2->setChecked(!On2->isChecked());
    Off2->setChecked(!Off2->isChecked());
    const bool on = On2->isChecked();
    FServices.Settings.SetPlaySound(on ? QStringLiteral("YES") : QStringLiteral("NO"));
    game.soundWanted = on;
}

void TQuizScreen::FormDeactivate() {
    for (TTimer* t : GameTimers()) {
        t->Tag = t->Enabled() ? 1 : 0;
        t->Stop();
    }
}

void TQuizScreen::FormActivate() {
    if (game.soundWanted) On2->setChecked(true);
    Off2->setChecked(!On2->isChecked());
    EditCreateQuestions1->setEnabled(true);
    for (TTimer* t : GameTimers()) {
        if (t->Tag == 1)
            t->Start();
        else
            t->Stop();
    }
    setFocus();
}

void TQuizScreen::EndGameTimers() {
    for (TTimer* t :
         {Timer5.get(), Timer6.get(), Timer7.get(), Timer8.get(), Timer9.get(), Timer11.get(),
          Timer12.get(), TOStopWin.get(), NewGame.get(), PLAYERGAMEOVER.get()}) {
        t->Stop();
        if (t->Tag == 1) t->Tag = 0;
    }
}

void TQuizScreen::ForgetGameTimers() {
    for (TTimer* t : GameTimers()) {
        t->Stop();
        t->Tag = 0;
    }
}

void TQuizScreen::AbandonGame() {
    ForgetGameTimers();
    FPausedByWindow = false;
    HideGameControls();
    NewGame1->setVisible(false);
    game.answersOpen = false;
    game.currentPlayer = 0;
    game.forgetPlayers();
    for (int prize = 1; prize <= 5; ++prize)
        SetLamp(prize, false);
    display.stopLit = 0;
    QuestionBlock->SetCaption(QString());
    FormCreate();
}

void TQuizScreen::ActiveWindowChanged(QWidget* active) {
    if (!active) return; // another program: the game runs on
    if (active == this) {
        if (!FActivatedOnce || FPausedByWindow) {
            FActivatedOnce = true;
            FPausedByWindow = false;
            FormActivate();
        }
        return;
    }
    if (FActivatedOnce && !FPausedByWindow && active->property(PausesGameProperty).toBool()) {
        FPausedByWindow = true;
        FormDeactivate();
    }
}

void TQuizScreen::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Being shown is being handed the game: at the splash's hand-over, and when the question
    // editor gives the screen back. Whether the window manager then also gives it the focus
    // does not matter.
    if (!event->spontaneous() && (!FActivatedOnce || FPausedByWindow)) ActiveWindowChanged(this);
}

void TQuizScreen::Exit1Click() {
    close();
}

void TQuizScreen::Instructions1Click() {
    FServices.Shell.ShowHelp(GameHelpContext);
}

void TQuizScreen::WebLink1Click() {
    FServices.Shell.MinimizeApp();
    FServices.Shell.OpenUrl(WebLink1Url);
}

void TQuizScreen::WebLink2Click() {
    FServices.Shell.MinimizeApp();
    FServices.Shell.OpenUrl(WebLink2Url);
}

bool TQuizScreen::SoundOn() const {
    return On2 && On2->isChecked();
}

bool TQuizScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == MainBackPanel) {
        FormResize();
        FitTitlePictures();
    } else if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // The key's own receiver: the focused control, or the window when none has the
        // focus. A key that a control passes on to its parents is not seen twice.
        QWidget* receiver = focusWidget() ? focusWidget() : this;
        if (widget == receiver && widget->window() == this) {
            const QChar key = KeyChar(*static_cast<QKeyEvent*>(event));
            if (!key.isNull()) {
                FormKeyPress(key);
                // In a name box, Enter then confirms the players and goes no further.
                for (QLineEdit* box : PlayerName)
                    if (widget == box && Player1KeyPress(key)) return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TQuizScreen::closeEvent(QCloseEvent* event) {
    // Closing the game screen ends the program, whatever the game is doing; nothing is
    // saved. The owner releases the screen, which closes the MIDI device with it.
    event->accept();
    QMainWindow::closeEvent(event);
    emit Closed();
}

void TQuizScreen::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Leaving the maximised state, the window manager gives back the design size; should it
    // not, the next size change of the frame restores it (resizeEvent).
    if (event->type() == QEvent::WindowStateChange && !IsMaximised() &&
        centralWidget()->size() != centralWidget()->minimumSize())
        QTimer::singleShot(0, this, [this] { RestoreDesignSize(); });
}
