#pragma once

#include <QString>

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when
// this object goes.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    QString path() const { return QString::fromStdString(FPath); }
    const std::string& Path() const { return FPath; }
    // path() + "/" + name.
    std::string File(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};
