#include "Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString OptionsKey = QStringLiteral("Options/PlaySound");
const QString SpeakKey = QStringLiteral("Options/Speak");
const QString PhonesKey = QStringLiteral("Options/Phones");
const QString PhonesPortKey = QStringLiteral("Options/PhonesPort");
const QString EditorKey = QStringLiteral("ScreenSize/QuestionDatabase");

QSettings userStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Trivora"));
}

// The text of an "Options" value, or fallback when it is absent or the store unreadable.
QString optionText(const QString& key, const QString& fallback) {
    QSettings store = userStore();
    const QVariant v = store.value(key);
    if (!v.isValid() || store.status() != QSettings::NoError) return fallback;
    return v.toString();
}

void setOptionText(const QString& key, const QString& value) {
    QSettings store = userStore();
    store.setValue(key, value);
    store.sync();
}
} // namespace

QString Settings::playSound() const {
    return optionText(OptionsKey, QStringLiteral("YES"));
}

void Settings::setPlaySound(const QString& value) {
    setOptionText(OptionsKey, value);
    if (soundWantedListener) soundWantedListener(value == QStringLiteral("YES"));
}

QString Settings::speak() const {
    return optionText(SpeakKey, QStringLiteral("NO"));
}

void Settings::setSpeak(const QString& value) {
    setOptionText(SpeakKey, value);
}

bool Settings::phonesWanted() const {
    return optionText(PhonesKey, QStringLiteral("NO")) == QStringLiteral("YES");
}

void Settings::setPhonesWanted(bool wanted) {
    setOptionText(PhonesKey, wanted ? QStringLiteral("YES") : QStringLiteral("NO"));
}

int Settings::phonesPort() const {
    bool ok = false;
    const int port = optionText(PhonesPortKey, QString()).toInt(&ok);
    return ok && port > 0 && port <= 65535 ? port : 0;
}

void Settings::setPhonesPort(int port) {
    setOptionText(PhonesPortKey, QString::number(port));
}

QString Settings::editorIniPath() {
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
           QStringLiteral("/Pocko.Ini");
}

QString Settings::editorMaximized() const {
    QSettings ini(editorIniPath(), QSettings::IniFormat);
    return ini.value(EditorKey, QStringLiteral("F")).toString();
}

bool Settings::setEditorMaximized(bool maximized) {
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::ConfigLocation));
    QSettings ini(editorIniPath(), QSettings::IniFormat);
    ini.setValue(EditorKey, maximized ? QStringLiteral("1") : QStringLiteral("0"));
    ini.sync();
    return ini.status() == QSettings::NoError;
}
