#pragma once

#include <QString>

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when
// this object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    QString path() const { return QString::fromStdString(m_stdPath); }
    const std::string& stdPath() const { return m_stdPath; }
    // path() + "/" + name.
    std::string file(const std::string& name) const { return m_stdPath + "/" + name; }

private:
    std::string m_stdPath;
};
