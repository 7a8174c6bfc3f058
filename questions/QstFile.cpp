#include "QstFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TQstFile::~TQstFile() {
    Close();
}

TQstFile::TQstFile(TQstFile&& other) noexcept
    : FFd(other.FFd), FPath(std::move(other.FPath)), FError(std::move(other.FError)) {
    other.FFd = -1;
}

TQstFile& TQstFile::operator=(TQstFile&& other) noexcept {
    if (this != &other) {
        Close();
        FFd = other.FFd;
        FPath = std::move(other.FPath);
        FError = std::move(other.FError);
        other.FFd = -1;
    }
    return *this;
}

bool TQstFile::Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool TQstFile::Fail(const std::string& what) {
    FError = what + ": " + std::strerror(errno);
    return false;
}

bool TQstFile::Open(const std::string& path, TAccess access) {
    Close();
    FPath = path;
    const int flags = (access == TAccess::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    FFd = ::open(path.c_str(), flags);
    if (FFd < 0) return Fail("Cannot open " + path);
    struct stat st {};
    if (::fstat(FFd, &st) != 0 || !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        Fail("Cannot open " + path);
        Close();
        return false;
    }
    return true;
}

bool TQstFile::Create(const std::string& path) {
    Close();
    FPath = path;
    FFd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (FFd < 0) return Fail("Cannot create " + path);
    return true;
}

void TQstFile::Close() {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
}

std::int64_t TQstFile::RecordCount() {
    struct stat st {};
    if (FFd < 0) {
        errno = EBADF;
        Fail("File not open");
        return -1;
    }
    if (::fstat(FFd, &st) != 0) {
        Fail("Cannot measure " + FPath);
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size) / static_cast<std::int64_t>(TQuestionRecord::Size);
}

bool TQstFile::Read(std::int64_t n, TQuestionRecord& record) {
    if (FFd < 0) {
        errno = EBADF;
        return Fail("File not open");
    }
    if (n < 0) {
        errno = EINVAL;
        return Fail("Read beyond end of file");
    }
    std::uint8_t buf[TQuestionRecord::Size];
    std::size_t got = 0;
    const off_t at = static_cast<off_t>(n) * static_cast<off_t>(TQuestionRecord::Size);
    while (got < sizeof buf) {
        const ssize_t r = ::pread(FFd, buf + got, sizeof buf - got, at + static_cast<off_t>(got));
        if (r < 0) {
            if (errno == EINTR) continue;
            return Fail("Cannot read " + FPath);
        }
        if (r == 0) {
            FError = "Read beyond end of file: " + FPath;
            return false;
        }
        got += static_cast<std::size_t>(r);
    }
    record = TQuestionRecord::Decode(buf);
    return true;
}

bool TQstFile::Write(std::int64_t n, const TQuestionRecord& record) {
    if (FFd < 0) {
        errno = EBADF;
        return Fail("File not open");
    }
    const std::int64_t count = RecordCount();
    if (count < 0) return false;
    if (n < 0 || n > count) {
        errno = EINVAL;
        return Fail("Write beyond end of file");
    }
    const auto bytes = record.Encode();
    std::size_t put = 0;
    const off_t at = static_cast<off_t>(n) * static_cast<off_t>(TQuestionRecord::Size);
    while (put < bytes.size()) {
        const ssize_t w =
            ::pwrite(FFd, bytes.data() + put, bytes.size() - put, at + static_cast<off_t>(put));
        if (w < 0) {
            if (errno == EINTR) continue;
            return Fail("Cannot write " + FPath);
        }
        put += static_cast<std::size_t>(w);
    }
    return true;
}

bool TQstFile::Sync() {
    if (FFd < 0) {
        errno = EBADF;
        return Fail("File not open");
    }
    if (::fsync(FFd) != 0) return Fail("Cannot flush " + FPath);
    return true;
}

TQstCheckResult CheckQuestionFile(const std::string& path, const TReaderRules& rules) {
    TQstCheckResult result;
    if (!TQstFile::Exists(path)) {
        result.Status = TQstCheck::NotFound;
        return result;
    }
    TQstFile file;
    if (!file.Open(path, rules.Access)) {
        result.ErrorText = file.ErrorText();
        const bool denied = errno == EACCES || errno == EROFS || errno == EPERM;
        result.Status = TQstCheck::Damaged;
        // A reader that writes is told apart a set it may read but not change.
        if (!(rules.Access == TQstFile::TAccess::ReadWrite && denied &&
              file.Open(path, TQstFile::TAccess::Read)))
            return result;
        result.Status = TQstCheck::ReadOnly;
    }
    const std::int64_t count = file.RecordCount();
    if (count < 0) {
        result.Status = TQstCheck::Damaged;
        result.ErrorText = file.ErrorText();
        return result;
    }
    result.RecordCount = count;
    const TQstCheck ok =
        result.Status == TQstCheck::ReadOnly ? TQstCheck::ReadOnly : TQstCheck::Accepted;
    result.Status = TQstCheck::Damaged;
    if (count < rules.MinRecords) return result;
    if (count >= 1) {
        TQuestionRecord header;
        if (!file.Read(0, header)) {
            result.ErrorText = file.ErrorText();
            return result;
        }
        if (!header.IsHeader()) return result;
    }
    result.Status = ok;
    return result;
}
