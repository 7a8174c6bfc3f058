#pragma once

#include "TempDir.h"

#include <QByteArray>

#include <memory>

// Points both settings stores of the program and the user's data folder (where the hall of
// fame is kept) at a fresh temporary folder for the life of this object, so tests never read
// or write the user's real settings or scores.
class TestSettingsFolder {
public:
    TestSettingsFolder();
    ~TestSettingsFolder();
    QString stdPath() const { return m_dir.path(); }
    // Full path of the per-user options file ("Trivora" / "Options").
    QString optionsFile() const;

private:
    TempDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldData;
};
