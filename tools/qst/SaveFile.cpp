#include "SaveFile.h"

#include "Cp1252.h"

#include <cerrno>
#include <cstring>

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
    if (file->error() != QFileDevice::NoError || !failure.empty()) return;
    errno = 0;
    if (file->write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size()))
        failure = errno ? std::strerror(errno) : file->errorString().toStdString();
}

void SaveFile::overwriteStart(std::string_view bytes) {
    if (file->error() != QFileDevice::NoError) return;
    const qint64 end = file->pos();
    if (file->seek(0)) file->write(bytes.data(), static_cast<qint64>(bytes.size()));
    file->seek(end);
}

bool SaveFile::commit() {
    if (!failure.empty()) {
        file->cancelWriting();
        file->commit();
        return false;
    }
    errno = 0;
    if (file->commit()) return true;
    if (file->errorString() == QLatin1String("Unknown error") && errno)
        failure = std::strerror(errno);
    return false;
}

std::string SaveFile::errorText() const {
    if (!failure.empty()) return target + ": " + failure;
    return target + ": " +
           (file ? file->errorString().toStdString()
                 : std::string("cannot write a file whose name is not UTF-8"));
}
