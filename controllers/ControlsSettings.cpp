#include "ControlsSettings.h"

#include <QSettings>

namespace {
const QString controlsGroup = QStringLiteral("Controls");
const QString deviceKey = QStringLiteral("Device");

QSettings userStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Trivora"));
}

QString damagedMessage(const QString& detail) {
    return QStringLiteral("The controller buttons stored in Trivora.conf are damaged (%1). "
                          "The default buttons are used until you set them again with "
                          "File \u2192 Controls\u2026.")
        .arg(detail);
}
} // namespace

ControlsSettings::Loaded ControlsSettings::load() {
    QSettings store = userStore();
    if (store.status() != QSettings::NoError)
        return {JoystickMapping(), damagedMessage(QStringLiteral("the file cannot be read"))};
    store.beginGroup(controlsGroup);
    if (store.childKeys().isEmpty()) return {};

    JoystickMapping mapping;
    for (CabinetButton button : allCabinetButtons) {
        const QString key = cabinetButtonName(button);
        const QVariant stored = store.value(key);
        if (!stored.isValid())
            return {JoystickMapping(), damagedMessage(QStringLiteral("%1 is missing").arg(key))};
        const std::optional<JoystickInput> input = JoystickInput::fromText(stored.toString());
        if (!input)
            return {JoystickMapping(),
                    damagedMessage(QStringLiteral("%1=%2").arg(key, stored.toString()))};
        mapping.setInput(button, *input);
    }
    const QString device = store.value(deviceKey).toString();
    if (!device.isEmpty() && !JoystickMapping::isDeviceKind(device))
        return {JoystickMapping(), damagedMessage(QStringLiteral("%1=%2").arg(deviceKey, device))};
    mapping.setDevice(device);
    if (const std::optional<CabinetButton> shared = mapping.firstSharedInput())
        return {JoystickMapping(), damagedMessage(QStringLiteral("%1 shares %2 with another button")
                                                      .arg(cabinetButtonName(*shared),
                                                           mapping.input(*shared).toText()))};
    return {mapping, QString()};
}

bool ControlsSettings::save(const JoystickMapping& mapping) {
    QSettings store = userStore();
    store.beginGroup(controlsGroup);
    for (CabinetButton button : allCabinetButtons)
        store.setValue(cabinetButtonName(button), mapping.input(button).toText());
    if (mapping.device().isEmpty())
        store.remove(deviceKey);
    else
        store.setValue(deviceKey, mapping.device());
    store.endGroup();
    store.sync();
    return store.status() == QSettings::NoError;
}
