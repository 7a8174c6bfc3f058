#include "QstFile.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

QstFile::~QstFile() {
    close();
}

QstFile::QstFile(QstFile&& other) noexcept
    : m_fd(other.m_fd), m_lockBusy(other.m_lockBusy), m_stdPath(std::move(other.m_stdPath)),
      m_error(std::move(other.m_error)) {
    other.m_fd = -1;
}

QstFile& QstFile::operator=(QstFile&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_lockBusy = other.m_lockBusy;
        m_stdPath = std::move(other.m_stdPath);
        m_error = std::move(other.m_error);
        other.m_fd = -1;
    }
    return *this;
}

bool QstFile::exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool QstFile::fail(const std::string& what) {
    m_error = what + ": " + std::strerror(errno);
    return false;
}

bool QstFile::open(const std::string& path, Access access) {
    close();
    m_stdPath = path;
    m_lockBusy = false;
    // O_NONBLOCK keeps open() from waiting for the other end of a FIFO; anything but a
    // regular file is then turned away before a byte is read.
    const int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NONBLOCK;
    m_fd = ::open(path.c_str(), flags);
    if (m_fd < 0) return fail("Cannot open " + path);
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        fail("Cannot open " + path);
        close();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        m_error = "Cannot open " + path + ": not a regular file";
        close();
        return false;
    }
    // Reads and writes of a regular file block as usual.
    const int fl = ::fcntl(m_fd, F_GETFL);
    if (fl < 0 || ::fcntl(m_fd, F_SETFL, fl & ~O_NONBLOCK) != 0) {
        fail("Cannot open " + path);
        close();
        return false;
    }
    return true;
}

bool QstFile::openLocked(const std::string& path, Access access, int waitMs) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(waitMs < 0 ? 0 : waitMs);
    for (;;) {
        if (!open(path, access)) return false;
        const int how = waitMs < 0 ? LOCK_EX : LOCK_EX | LOCK_NB;
        while (::flock(m_fd, how) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK) {
                fail("Cannot lock " + path);
                close();
                return false;
            }
            if (clock::now() >= deadline) {
                m_error = "Another program is writing " + path;
                m_lockBusy = true;
                close();
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // The lock counts only if it is on the file that is at the path now.
        struct stat held {
        }, named{};
        if (::fstat(m_fd, &held) != 0) {
            fail("Cannot measure " + path);
            close();
            return false;
        }
        if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino)
            return true;
        close();
    }
}

bool QstFile::create(const std::string& path) {
    close();
    m_stdPath = path;
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (m_fd < 0) return fail("Cannot create " + path);
    return true;
}

void QstFile::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

std::int64_t QstFile::recordCount() {
    struct stat st {};
    if (m_fd < 0) {
        errno = EBADF;
        fail("File not open");
        return -1;
    }
    if (::fstat(m_fd, &st) != 0) {
        fail("Cannot measure " + m_stdPath);
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size) / static_cast<std::int64_t>(QuestionRecord::Size);
}

bool QstFile::read(std::int64_t n, QuestionRecord& record) {
    std::uint8_t buf[QuestionRecord::Size];
    const std::int64_t got = readRecords(n, 1, buf);
    if (got < 0) return false;
    if (got == 0) {
        m_error = "Read beyond end of file: " + m_stdPath;
        return false;
    }
    record = QuestionRecord::decode(buf);
    return true;
}

std::int64_t QstFile::readRecords(std::int64_t n, std::int64_t count, std::uint8_t* out) {
    if (m_fd < 0) {
        errno = EBADF;
        fail("File not open");
        return -1;
    }
    if (n < 0 || count < 0) {
        errno = EINVAL;
        fail("Read beyond end of file");
        return -1;
    }
    const std::size_t bytes = static_cast<std::size_t>(count) * QuestionRecord::Size;
    const off_t at = static_cast<off_t>(n) * static_cast<off_t>(QuestionRecord::Size);
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t r = ::pread(m_fd, out + got, bytes - got, at + static_cast<off_t>(got));
        if (r < 0) {
            if (errno == EINTR) continue;
            fail("Cannot read " + m_stdPath);
            return -1;
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    return static_cast<std::int64_t>(got / QuestionRecord::Size);
}

bool QstFile::write(std::int64_t n, const QuestionRecord& record) {
    if (m_fd < 0) {
        errno = EBADF;
        return fail("File not open");
    }
    const std::int64_t count = recordCount();
    if (count < 0) return false;
    if (n < 0 || n > count) {
        errno = EINVAL;
        return fail("Write beyond end of file");
    }
    const auto bytes = record.encode();
    std::size_t put = 0;
    const off_t at = static_cast<off_t>(n) * static_cast<off_t>(QuestionRecord::Size);
    while (put < bytes.size()) {
        const ssize_t w =
            ::pwrite(m_fd, bytes.data() + put, bytes.size() - put, at + static_cast<off_t>(put));
        if (w < 0) {
            if (errno == EINTR) continue;
            return fail("Cannot write " + m_stdPath);
        }
        put += static_cast<std::size_t>(w);
    }
    return true;
}

bool QstFile::sync() {
    if (m_fd < 0) {
        errno = EBADF;
        return fail("File not open");
    }
    if (::fsync(m_fd) != 0) return fail("Cannot flush " + m_stdPath);
    return true;
}

QstCheckResult checkQuestionFile(const std::string& path, const ReaderRuleSet& rules) {
    QstCheckResult result;
    if (!QstFile::exists(path)) {
        result.status = QstCheck::NotFound;
        return result;
    }
    QstFile file;
    if (!file.open(path, rules.access)) {
        result.errorText = file.errorText();
        const bool denied = errno == EACCES || errno == EROFS || errno == EPERM;
        result.status = QstCheck::Damaged;
        // A reader that writes is told apart a set it may read but not change.
        if (!(rules.access == QstFile::Access::ReadWrite && denied &&
              file.open(path, QstFile::Access::Read)))
            return result;
        result.status = QstCheck::ReadOnly;
    }
    const std::int64_t count = file.recordCount();
    if (count < 0) {
        result.status = QstCheck::Damaged;
        result.errorText = file.errorText();
        return result;
    }
    result.recordCount = count;
    const QstCheck ok =
        result.status == QstCheck::ReadOnly ? QstCheck::ReadOnly : QstCheck::Accepted;
    result.status = QstCheck::Damaged;
    if (count < rules.minRecords) return result;
    if (count >= 1) {
        QuestionRecord header;
        if (!file.read(0, header)) {
            result.errorText = file.errorText();
            return result;
        }
        if (!header.isHeader()) return result;
    }
    result.status = ok;
    return result;
}
