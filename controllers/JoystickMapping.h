#pragma once

#include "CabinetButton.h"
#include "JoystickInput.h"

#include <QString>

#include <array>
#include <optional>

// Which input of a plain joystick or encoder board presses each cabinet button, and the kind of
// device it was set up on. Game controllers with a known layout play by that layout unless
// they are of that kind (see ControllerInput).
class JoystickMapping {
public:
    // The defaults: buttons 0 to 3 answer A to D, button 4 is STOP and button 5 is START, so
    // a board with six buttons wired in a row plays without setting anything.
    JoystickMapping();

    JoystickInput input(CabinetButton button) const { return inputs[index(button)]; }
    void setInput(CabinetButton button, const JoystickInput& input) {
        inputs[index(button)] = input;
    }

    // SDL's GUID of the kind of device the mapping was set up on (32 hex digits), or empty.
    const QString& device() const { return deviceKind; }
    void setDevice(const QString& kind) { deviceKind = kind; }
    // Whether the text is a device kind as device() keeps it.
    static bool isDeviceKind(const QString& text);

    // The cabinet button this input presses, or nothing.
    std::optional<CabinetButton> buttonFor(const JoystickInput& input) const;
    // The first cabinet button that shares its input with an earlier one, or nothing when
    // every button has an input of its own.
    std::optional<CabinetButton> firstSharedInput() const;

    bool operator==(const JoystickMapping&) const = default;

private:
    static std::size_t index(CabinetButton button) { return static_cast<std::size_t>(button); }

    std::array<JoystickInput, allCabinetButtons.size()> inputs;
    QString deviceKind;
};
