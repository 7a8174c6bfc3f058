#pragma once

#include "ControllerInput.h"
#include "ControlsDialog.h"
#include "ProgramOptions.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class Clock;
class Dialogs;
class KioskGuard;
class QAction;
class QuizScreen;

// The game screen as a cabinet: full screen (View → Full Screen, F11, Escape to leave it),
// the kiosk of --kiosk, and the game controllers that play it, set up with File →
// Controls…. Presses of any connected controller reach the game through the screen's own
// commands; over a message box START presses Enter, and nothing else gets through.
class Cabinet : public QObject {
    Q_OBJECT

public:
    Cabinet(QuizScreen& screen, Clock& clock, Dialogs& dialogs, const ProgramOptions& options,
            QObject* parent = nullptr);
    ~Cabinet() override;

    // Shows the game screen as the options ask: full screen, or at its design size.
    void showScreen();
    // Fills the screen with the game, or gives it back its window.
    void setFullScreen(bool on);

    ControllerInput& controllers() { return m_controllers; }
    // The kiosk's guard, or null when not a kiosk.
    KioskGuard* kiosk() const { return m_kiosk.get(); }
    // File → Controls…; the dialog while it is open, else null.
    void openControlsDialog();
    ControlsDialog* controlsDialog() const { return m_controlsDialog; }

    // Tells the player, once, when the controller buttons stored in Trivora.conf could not be
    // read and the defaults play instead.
    void reportStoredControls();
    // Where a controller's press goes.
    void press(CabinetButton button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QuizScreen& m_screen;
    Dialogs& m_dialogs;
    ProgramOptions m_options;
    ControllerInput m_controllers;
    std::unique_ptr<KioskGuard> m_kiosk;
    QAction* m_leaveFullScreenAction = nullptr;
    // Where the window's client area stood before it filled the screen; nothing when it
    // started full screen.
    std::optional<QPoint> m_windowedPosition;
    QPointer<ControlsDialog> m_controlsDialog;
    QString m_storedControlsProblem;
};
