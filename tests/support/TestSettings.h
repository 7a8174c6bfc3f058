#pragma once

#include "TempDir.h"

#include <QByteArray>

#include <memory>

// Points both settings stores of the program at a fresh temporary folder for the life of
// this object, so tests never read or write the user's real settings.
class TTestSettingsFolder {
public:
    TTestSettingsFolder();
    ~TTestSettingsFolder();
    QString Path() const { return FDir.path(); }
    // Full path of the per-user options file ("Trivora" / "Options").
    QString OptionsFile() const;

private:
    TTempDir FDir;
    QByteArray FOldConfig;
};
