#pragma once

#include "CabinetButton.h"
#include "JoystickInput.h"

#include <array>
#include <optional>

// Which input of a plain joystick or encoder board presses each cabinet button. Game
// controllers with a known layout do not use it (see ControllerInput).
class JoystickMapping {
public:
    // The defaults: buttons 0 to 3 answer A to D, button 4 is STOP and button 5 is START, so
    // a board with six buttons wired in a row plays without setting anything.
    JoystickMapping();

    JoystickInput input(CabinetButton button) const { return inputs[index(button)]; }
    void setInput(CabinetButton button, const JoystickInput& input) {
        inputs[index(button)] = input;
    }

    // The cabinet button this input presses, or nothing.
    std::optional<CabinetButton> buttonFor(const JoystickInput& input) const;
    // The first cabinet button that shares its input with an earlier one, or nothing when
    // every button has an input of its own.
    std::optional<CabinetButton> firstSharedInput() const;

    bool operator==(const JoystickMapping&) const = default;

private:
    static std::size_t index(CabinetButton button) { return static_cast<std::size_t>(button); }

    std::array<JoystickInput, allCabinetButtons.size()> inputs;
};
