#include "TestSettings.h"

#include <QSettings>
#include <QStandardPaths>

TestSettingsFolder::TestSettingsFolder() {
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

TestSettingsFolder::~TestSettingsFolder() {
    if (m_oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
}

QString TestSettingsFolder::optionsFile() const {
    return m_dir.path() + QStringLiteral("/Trivora.conf");
}
