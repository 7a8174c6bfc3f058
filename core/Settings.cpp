#include "Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString OptionsKey = QStringLiteral("Options/PlaySound");
const QString EditorKey = QStringLiteral("ScreenSize/QuestionDatabase");

QSettings UserStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Trivora"));
}
} // namespace

QString TSettings::PlaySound() const {
    QSettings store = UserStore();
    const QVariant v = store.value(OptionsKey);
    if (!v.isValid() || store.status() != QSettings::NoError) return QStringLiteral("YES");
    return v.toString();
}

void TSettings::SetPlaySound(const QString& value) {
    QSettings store = UserStore();
    store.setValue(OptionsKey, value);
    store.sync();
    if (soundWantedListener) soundWantedListener(value == QStringLiteral("YES"));
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
