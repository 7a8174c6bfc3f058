#include "SaveFile.h"

bool SaveFile::open(const std::string& path) {
    target = path;
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
    return target + ": " + (file ? file->errorString().toStdString() : std::string("not open"));
}
