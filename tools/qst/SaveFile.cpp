#include "SaveFile.h"

#include "Cp1252.h"

bool SaveFile::open(const std::string& path) {
    target = path;
    file.reset();
    // Qt takes file names as Unicode: a name of other bytes would be written under another
    // name, so it is refused.
    if (!Cp1252::isValidUtf8(path)) return false;
    file = std::make_unique<QSaveFile>(QString::fromStdString(path));
    return file->open(QIODevice::WriteOnly);
}

void SaveFile::write(std::string_view bytes) {
    if (file->error() != QFileDevice::NoError) return;
    file->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

bool SaveFile::commit() {
    return file->commit();
}

std::string SaveFile::errorText() const {
    return target + ": " +
           (file ? file->errorString().toStdString()
                 : std::string("cannot write a file whose name is not UTF-8"));
}
