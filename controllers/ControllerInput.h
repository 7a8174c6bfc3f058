#pragma once

#include "CabinetButton.h"
#include "JoystickInput.h"
#include "JoystickMapping.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class Clock;

// Game controllers, joysticks and encoder boards as the cabinet's six buttons, read through
// SDL's joystick and game-controller support (no window and no video needed).
//
// A game controller that SDL knows the layout of plays by the colours of its face buttons,
// which sit where ours do: the right button (red on the common layout) answers A, the bottom
// one (green) B, the left one (blue) C and the top one (yellow) D. Buttons are taken by
// position, also on controllers whose printed letters are swapped, so the colours of the
// common layout always line up with the screen. Start presses START; either shoulder button
// presses STOP. Any other joystick or encoder board plays through the player's mapping, and so
// do devices of the kind the mapping was set up on, even where SDL knows a layout for them
// (many encoder boards pass for game controllers).
//
// Every connected device counts: the game gives a press to whoever's turn it is. Devices
// plugged in or out while the program runs are taken up or let go at the next poll. SDL is
// polled on a timer of the given clock: every pollInterval ms while a device is connected,
// every hotplugInterval ms while none is. One object of this class reads SDL's events for the
// whole program; a second would take events from the first.
class ControllerInput : public QObject {
    Q_OBJECT

public:
    // How often devices are read while one is connected, in milliseconds.
    static constexpr int pollInterval = 10;
    // How often SDL is asked for new devices while none is connected, in milliseconds.
    static constexpr int hotplugInterval = 500;

    explicit ControllerInput(Clock& clock, QObject* parent = nullptr);
    ~ControllerInput() override;

    // False when SDL's controller support could not be started; errorText() says why. The
    // object then reads nothing and never polls.
    bool available() const;
    QString errorText() const;

    // The names of the connected devices, in the order they were plugged in.
    QStringList connectedNames() const;

    // A new mapping plays at once; connected devices of its kind switch over to it.
    const JoystickMapping& mapping() const;
    void setMapping(const JoystickMapping& mapping);

    // While capturing, no device presses a cabinet button: presses only reach inputPressed(),
    // for setting up the mapping.
    bool capturing() const;
    void setCapturing(bool capturing);

    // Reads every event SDL has for us now and sends the signals. The poll timer calls it.
    void poll();

signals:
    // A cabinet button was pressed on any connected device.
    void pressed(CabinetButton button);
    // An input of any device was pressed, whether it presses a cabinet button or not: a
    // button went down, a hat or an axis moved into a direction. deviceKind is SDL's GUID of
    // the device, as JoystickMapping::device() keeps it.
    void inputPressed(const JoystickInput& input, const QString& deviceKind);
    void deviceConnected(const QString& name);
    void deviceDisconnected(const QString& name);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
