#include "Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString OptionsKey = QStringLiteral("Options/PlaySound");
const QString SpeakKey = QStringLiteral("Options/Speak");
const QString EditorKey = QStringLiteral("ScreenSize/QuestionDatabase");

QSettings UserStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Trivora"));
}

// The text of an "Options" value, or fallback when it is absent or the store unreadable.
QString OptionText(const QString& key, const QString& fallback) {
    QSettings store = UserStore();
    const QVariant v = store.value(key);
    if (!v.isValid() || store.status() != QSettings::NoError) return fallback;
    return v.toString();
}

void SetOptionText(const QString& key, const QString& value) {
    QSettings store = UserStore();
    store.setValue(key, value);
    store.sync();
}
} // namespace

QString TSettings::PlaySound() const {
    return OptionText(OptionsKey, QStringLiteral("YES"));
}

void TSettings::SetPlaySound(const QString& value) {
    SetOptionText(OptionsKey, value);
    if (soundWantedListener) soundWantedListener(value == QStringLiteral("YES"));
}

QString TSettings::Speak() const {
    return OptionText(SpeakKey, QStringLiteral("NO"));
}

void TSettings::SetSpeak(const QString& value) {
    SetOptionText(SpeakKey, value);
}

QString TSettings::EditorIniPath() {
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
           QStringLiteral("/Pocko.Ini");
}

QString TSettings::EditorMaximized() const {
    QSettings ini(EditorIniPath(), QSettings::IniFormat);
    return ini.value(EditorKey, QStringLiteral("F")).toString();
}

bool TSettings::SetEditorMaximized(bool maximized) {
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::ConfigLocation));
    QSettings ini(EditorIniPath(), QSettings::IniFormat);
    ini.setValue(EditorKey, maximized ? QStringLiteral("1") : QStringLiteral("0"));
    ini.sync();
    return ini.status() == QSettings::NoError;
}
