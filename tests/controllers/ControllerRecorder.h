#pragma once

#include "ControllerInput.h"
#include "ManualClock.h"
#include "Timer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Readable values in test failures.
inline void PrintTo(CabinetButton button, std::ostream* os) {
    *os << cabinetButtonName(button).toStdString();
}
inline void PrintTo(const JoystickInput& input, std::ostream* os) {
    *os << input.toText().toStdString();
}
inline void PrintTo(const JoystickMapping& mapping, std::ostream* os) {
    for (CabinetButton button : allCabinetButtons)
        *os << cabinetButtonName(button).toStdString() << '='
            << mapping.input(button).toText().toStdString() << ' ';
}

// A ControllerInput on a manual clock, with every cabinet press and joystick input it sends
// written down.
struct ControllerRecorder {
    ManualClock clock;
    ControllerInput input{clock};
    std::vector<CabinetButton> presses;
    std::vector<JoystickInput> inputs;

    ControllerRecorder() {
        QObject::connect(&input, &ControllerInput::pressed,
                         [this](CabinetButton button) { presses.push_back(button); });
        QObject::connect(
            &input, &ControllerInput::inputPressed,
            [this](const JoystickInput& pressed, const QString&) { inputs.push_back(pressed); });
    }

    // Long enough for the idle poll to notice a device plugged in or out.
    void settle() { clock.advance(ControllerInput::hotplugInterval); }
    // One poll while a device is connected.
    void poll() { clock.advance(ControllerInput::pollInterval); }
    int pollTimerInterval() const { return clock.find("controllerPoll")->interval(); }

    // The presses since the last call.
    std::vector<CabinetButton> takePresses() { return std::exchange(presses, {}); }
    std::vector<JoystickInput> takeInputs() { return std::exchange(inputs, {}); }
};

// Tests that plug in virtual devices: they run only where no real controller is connected,
// which would count as well.
class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rec.input.available()) << rec.input.errorText().toStdString();
        rec.settle();
        if (!rec.input.connectedNames().isEmpty())
            GTEST_SKIP() << "a controller is connected: "
                         << rec.input.connectedNames().join(QStringLiteral(", ")).toStdString();
    }

    ControllerRecorder rec;
};
