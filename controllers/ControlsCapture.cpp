#include "ControlsCapture.h"

#include "ControllerInput.h"
#include "ControlsSettings.h"

ControlsCapture::ControlsCapture(ControllerInput& input, QObject* parent)
    : QObject(parent), input(input), chosen(input.mapping()) {}

ControlsCapture::~ControlsCapture() {
    stopAsking();
}

void ControlsCapture::start() {
    stopAsking();
    chosen = input.mapping();
    step = 0;
    asking = true;
    input.setCapturing(true);
    inputConnection = connect(&input, &ControllerInput::inputPressed, this,
                              [this](const JoystickInput& pressed, const QString& deviceKind) {
                                  offer(pressed, deviceKind);
                              });
    emit waitingForChanged(allCabinetButtons[step]);
}

void ControlsCapture::cancel() {
    stopAsking();
    chosen = input.mapping();
}

std::optional<CabinetButton> ControlsCapture::waitingFor() const {
    if (!asking) return std::nullopt;
    return allCabinetButtons[step];
}

bool ControlsCapture::offer(const JoystickInput& pressed, const QString& deviceKind) {
    if (!asking) return false;
    if (step == 0) {
        chosen.setDevice(deviceKind);
    } else if (deviceKind != chosen.device()) {
        emit rejected(QStringLiteral("Press the buttons on the controller you pressed A on. "
                                     "Press the button for %1.")
                          .arg(cabinetButtonName(allCabinetButtons[step])));
        return false;
    }
    for (std::size_t earlier = 0; earlier < step; ++earlier) {
        const CabinetButton taken = allCabinetButtons[earlier];
        if (chosen.input(taken) == pressed) {
            emit rejected(
                QStringLiteral("That is already the button for %1. Press another "
                               "button for %2.")
                    .arg(cabinetButtonName(taken), cabinetButtonName(allCabinetButtons[step])));
            return false;
        }
    }
    chosen.setInput(allCabinetButtons[step], pressed);
    if (++step < allCabinetButtons.size()) {
        emit waitingForChanged(allCabinetButtons[step]);
        return true;
    }
    stopAsking();
    input.setMapping(chosen);
    emit finished(ControlsSettings::save(chosen)
                      ? QString()
                      : QStringLiteral("The controller buttons could not be stored in "
                                       "Trivora.conf. They work until the game ends."));
    return true;
}

void ControlsCapture::stopAsking() {
    if (!asking) return;
    asking = false;
    disconnect(inputConnection);
    input.setCapturing(false);
}
