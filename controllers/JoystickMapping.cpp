#include "JoystickMapping.h"

JoystickMapping::JoystickMapping() {
    setInput(CabinetButton::A, JoystickInput::button(0));
    setInput(CabinetButton::B, JoystickInput::button(1));
    setInput(CabinetButton::C, JoystickInput::button(2));
    setInput(CabinetButton::D, JoystickInput::button(3));
    setInput(CabinetButton::Stop, JoystickInput::button(4));
    setInput(CabinetButton::Start, JoystickInput::button(5));
}

std::optional<CabinetButton> JoystickMapping::buttonFor(const JoystickInput& input) const {
    for (CabinetButton button : allCabinetButtons)
        if (inputs[index(button)] == input) return button;
    return std::nullopt;
}

std::optional<CabinetButton> JoystickMapping::firstSharedInput() const {
    for (std::size_t i = 1; i < inputs.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (inputs[i] == inputs[j]) return allCabinetButtons[i];
    return std::nullopt;
}

bool JoystickMapping::isDeviceKind(const QString& text) {
    if (text.size() != 32) return false;
    for (QChar c : text)
        if (!c.isDigit() && !(c >= QLatin1Char('a') && c <= QLatin1Char('f')) &&
            !(c >= QLatin1Char('A') && c <= QLatin1Char('F')))
            return false;
    return true;
}
