#pragma once

#include "CabinetButton.h"
#include "JoystickInput.h"
#include "JoystickMapping.h"

#include <QMetaObject>
#include <QObject>
#include <QString>

#include <optional>

class ControllerInput;

// Setting up a joystick, encoder board or game controller: asks for a press for A, B, C, D,
// START and STOP in turn on one device, then uses the new mapping and stores it in
// Trivora.conf. The device that presses A is the one set up: from then on its kind plays by the
// mapping, and so do all plain joysticks. While it waits, no device presses a cabinet button.
class ControlsCapture : public QObject {
    Q_OBJECT

public:
    explicit ControlsCapture(ControllerInput& input, QObject* parent = nullptr);
    ~ControlsCapture() override;

    // Starts asking, from A. Starting again while asking begins anew.
    void start();
    // Stops asking; the mapping in use and the stored one stay as they were.
    void cancel();

    // The cabinet button the next press is taken for, or nothing when not asking.
    std::optional<CabinetButton> waitingFor() const;
    // The mapping so far: the inputs taken in this round, the earlier ones for the rest.
    const JoystickMapping& mapping() const { return chosen; }

    // Takes a press on a device of that kind for the button waited for. A press on another
    // kind of device than the one A was pressed on, or of an input already taken for an
    // earlier button in this round, is refused with rejected(). Returns whether it was taken.
    bool offer(const JoystickInput& input, const QString& deviceKind);

signals:
    // The next button to press for.
    void waitingForChanged(CabinetButton button);
    // A press was refused; the text says why and what to do.
    void rejected(const QString& message);
    // Every button has its input and the game uses them now. message is empty when they were
    // stored, or says that they could not be and will be lost at the end of the program.
    void finished(const QString& message);

private:
    void stopAsking();

    ControllerInput& input;
    QMetaObject::Connection inputConnection;
    JoystickMapping chosen;
    std::size_t step = 0;
    bool asking = false;
};
