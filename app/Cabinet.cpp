#include "Cabinet.h"

#include "ControlsSettings.h"
#include "Dialogs.h"
#include "KioskGuard.h"
#include "QuizScreen.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

Cabinet::Cabinet(QuizScreen& screen, Clock& clock, Dialogs& dialogs, const ProgramOptions& options,
                 QObject* parent)
    : QObject(parent), m_screen(screen), m_dialogs(dialogs), m_options(options),
      m_controllers(clock) {
    const ControlsSettings::Loaded stored = ControlsSettings::load();
    m_controllers.setMapping(stored.mapping);
    m_storedControlsProblem = stored.message;
    connect(&m_controllers, &ControllerInput::pressed, this,
            [this](CabinetButton button) { press(button); });
    connect(m_screen.controlsAction, &QAction::triggered, this, [this] { openControlsDialog(); });

    // The menu entry flips its own check mark; the window's state then sets it for good.
    connect(m_screen.fullScreenAction, &QAction::triggered, this,
            [this](bool checked) { setFullScreen(checked); });
    m_leaveFullScreenAction = new QAction(QStringLiteral("Leave Full Screen"), &m_screen);
    m_leaveFullScreenAction->setObjectName(QStringLiteral("leaveFullScreenAction"));
    m_leaveFullScreenAction->setShortcut(QKeySequence(Qt::Key_Escape));
    m_leaveFullScreenAction->setEnabled(false);
    m_screen.addAction(m_leaveFullScreenAction);
    connect(m_leaveFullScreenAction, &QAction::triggered, this, [this] { setFullScreen(false); });
    m_screen.installEventFilter(this);

    if (m_options.kiosk) m_kiosk = std::make_unique<KioskGuard>(m_screen, clock);
}

Cabinet::~Cabinet() {
    m_screen.removeEventFilter(this);
    delete m_controlsDialog;
}

void Cabinet::showScreen() {
    if (m_options.fullScreen || m_options.kiosk)
        setFullScreen(true);
    else
        m_screen.show();
}

void Cabinet::setFullScreen(bool on) {
    if (on) {
        if (m_screen.isVisible() && !m_screen.isFullScreen())
            m_windowedPosition = m_screen.geometry().topLeft();
        m_screen.showFullScreen();
    } else if (m_screen.isFullScreen() && !m_kiosk) {
        m_screen.showNormal();
        // Window managers put a window that leaves full screen in the corner, its title bar
        // off the screen: it goes back where it stood, or to the middle of the screen, once
        // it has its design size again.
        QTimer::singleShot(0, this, [this] {
            if (m_screen.isFullScreen()) return;
            QRect placed = m_screen.geometry();
            if (m_windowedPosition)
                placed.moveTopLeft(*m_windowedPosition);
            else if (const QScreen* display = m_screen.screen())
                placed.moveCenter(display->availableGeometry().center());
            m_screen.setGeometry(placed);
        });
    }
    m_screen.fullScreenAction->setChecked(m_screen.isFullScreen());
}

void Cabinet::openControlsDialog() {
    if (m_controlsDialog) {
        m_controlsDialog->raise();
        m_controlsDialog->activateWindow();
        return;
    }
    m_controlsDialog = new ControlsDialog(m_controllers, m_storedControlsProblem, &m_screen);
    m_controlsDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_controlsDialog->setWindowModality(Qt::ApplicationModal);
    m_controlsDialog->show();
    m_controlsDialog->activateWindow();
}

void Cabinet::reportStoredControls() {
    if (m_storedControlsProblem.isEmpty()) return;
    const QString problem = std::exchange(m_storedControlsProblem, QString());
    m_dialogs.warning(&m_screen, problem);
}

void Cabinet::press(CabinetButton button) {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        // A message box or dialog has the program: START answers it as Enter would, and no
        // press reaches the game behind it.
        if (button != CabinetButton::Start) return;
        QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(target, &enter);
        return;
    }
    m_screen.pressCabinetButton(button);
}

bool Cabinet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_screen && event->type() == QEvent::WindowStateChange) {
        const bool full = m_screen.isFullScreen();
        m_screen.fullScreenAction->setChecked(full);
        m_leaveFullScreenAction->setEnabled(full && !m_kiosk);
    }
    return QObject::eventFilter(watched, event);
}
