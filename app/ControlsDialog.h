#pragma once

#include "ControlsCapture.h"

#include <QDialog>

#include <array>

class ControllerInput;
class QLabel;
class QPushButton;

// File → Controls…: sets up a joystick, an encoder board or a game controller. It asks for a
// press for A, B, C, D, START and STOP in turn, then plays by them and stores them in
// Trivora.conf. While it is open the game is paused and no press reaches it; closing it
// before the last press keeps the buttons as they were.
class ControlsDialog : public QDialog {
    Q_OBJECT

public:
    // notice: shown until the first press, e.g. why the stored buttons were not used.
    explicit ControlsDialog(ControllerInput& input, const QString& notice = QString(),
                            QWidget* parent = nullptr);
    ~ControlsDialog() override;

    const ControlsCapture& capture() const { return m_capture; }

    QLabel* promptLabel = nullptr;           // what to press now
    std::array<QLabel*, 6> inputLabels{};    // each cabinet button's input, A to STOP
    QLabel* devicesLabel = nullptr;          // the controllers connected
    QLabel* messageLabel = nullptr;          // a refused press, or how it ended
    QPushButton* startAgainButton = nullptr; // "Start Again"
    QPushButton* defaultsButton = nullptr;   // "Use Defaults"
    QPushButton* closeButton = nullptr;      // "Cancel" while asking, then "Close"

    void done(int result) override;

private:
    void startAsking();
    void buttonAwaited(CabinetButton button);
    void captureFinished(const QString& problem);
    void useDefaults();
    void showMapping();
    void showDevices();

    ControllerInput& m_input;
    ControlsCapture m_capture;
};
