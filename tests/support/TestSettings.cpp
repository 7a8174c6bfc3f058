#include "TestSettings.h"

#include <QSettings>
#include <QStandardPaths>

TTestSettingsFolder::TTestSettingsFolder() {
    FOldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", FDir.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, FDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, FDir.path());
}

TTestSettingsFolder::~TTestSettingsFolder() {
    if (FOldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", FOldConfig);
}

QString TTestSettingsFolder::OptionsFile() const {
    return FDir.path() + QStringLiteral("/Trivora.conf");
}
