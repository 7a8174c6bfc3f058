#include "TestSettings.h"

#include <QSettings>
#include <QStandardPaths>

TestSettingsFolder::TestSettingsFolder() {
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    m_oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (m_dir.path() + QStringLiteral("/data")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

TestSettingsFolder::~TestSettingsFolder() {
    const auto restore = [](const char* name, const QByteArray& old) {
        if (old.isNull())
            qunsetenv(name);
        else
            qputenv(name, old);
    };
    restore("XDG_CONFIG_HOME", m_oldConfig);
    restore("XDG_DATA_HOME", m_oldData);
}

QString TestSettingsFolder::optionsFile() const {
    return m_dir.path() + QStringLiteral("/Trivora.conf");
}
