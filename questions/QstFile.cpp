#include "QstFile.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

TQstFile::~TQstFile() {
    Close();
}

TQstFile::TQstFile(TQstFile&& other) noexcept
    : FFd(other.FFd), FLockBusy(other.FLockBusy), FPath(std::move(other.FPath)),
      FError(std::move(other.FError)) {
    other.FFd = -1;
}

TQstFile& TQstFile::operator=(TQstFile&& other) noexcept {
    if (this != &other) {
        Close();
        FFd = other.FFd;
        FLockBusy = other.FLockBusy;
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
    FLockBusy = false;
    // O_NONBLOCK keeps open() from waiting for the other end of a FIFO; anything but a
    // regular file is then turned away before a byte is read.
    const int flags = (access == TAccess::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NONBLOCK;
    FFd = ::open(path.c_str(), flags);
    if (FFd < 0) return Fail("Cannot open " + path);
    struct stat st {};
    if (::fstat(FFd, &st) != 0) {
        Fail("Cannot open " + path);
        Close();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        FError = "Cannot open " + path + ": not a regular file";
        Close();
        return false;
    }
    // Reads and writes of a regular file block as usual.
    const int fl = ::fcntl(FFd, F_GETFL);
    if (fl < 0 || ::fcntl(FFd, F_SETFL, fl & ~O_NONBLOCK) != 0) {
        Fail("Cannot open " + path);
        Close();
        return false;
    }
    return true;
}

bool TQstFile::OpenLocked(const std::string& path, TAccess access, int waitMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs < 0 ? 0 : waitMs);
    for (;;) {
        if (!Open(path, access)) return false;
        const int how = waitMs < 0 ? LOCK_EX : LOCK_EX | LOCK_NB;
        while (::flock(FFd, how) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK) {
                Fail("Cannot lock " + path);
                Close();
                return false;
            }
            if (Clock::now() >= deadline) {
                FError = "Another program is writing " + path;
                FLockBusy = true;
                Close();
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // The lock counts only if it is on the file that is at the path now.
        struct stat held {
        }, named{};
        if (::fstat(FFd, &held) != 0) {
            Fail("Cannot measure " + path);
            Close();
            return false;
        }
        if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino)
            return true;
        Close();
    }
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
    std::uint8_t buf[TQuestionRecord::Size];
    const std::int64_t got = ReadRecords(n, 1, buf);
    if (got < 0) return false;
    if (got == 0) {
        FError = "Read beyond end of file: " + FPath;
        return false;
    }
    record = TQuestionRecord::Decode(buf);
    return true;
}

std::int64_t TQstFile::ReadRecords(std::int64_t n, std::int64_t count, std::uint8_t* out) {
    if (FFd < 0) {
        errno = EBADF;
        Fail("File not open");
        return -1;
    }
    if (n < 0 || count < 0) {
        errno = EINVAL;
        Fail("Read beyond end of file");
        return -1;
    }
    const std::size_t bytes = static_cast<std::size_t>(count) * TQuestionRecord::Size;
    const off_t at = static_cast<off_t>(n) * static_cast<off_t>(TQuestionRecord::Size);
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t r = ::pread(FFd, out + got, bytes - got, at + static_cast<off_t>(got));
        if (r < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot read " + FPath);
            return -1;
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    return static_cast<std::int64_t>(got / TQuestionRecord::Size);
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
