#include "AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::size_t FlushSize = 1 << 20;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}
} // namespace

TAtomicFile::~TAtomicFile() {
    Abandon();
}

bool TAtomicFile::Fail(const std::string& what) {
    FError = what + ": " + std::strerror(errno);
    return false;
}

bool TAtomicFile::Begin(const std::string& target) {
    Abandon();
    FTarget = target;
    FError.clear();
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") {
        errno = EISDIR;
        return Fail(target);
    }
    const std::string folder = FolderOf(target);
    std::string pattern =
        (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + "." + name +
        ".XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    FFd = ::mkostemp(buf.data(), O_CLOEXEC);
    if (FFd < 0) return Fail("cannot create a file in " + folder);
    FTempPath = buf.data();
    return true;
}

bool TAtomicFile::Flush() {
    std::size_t put = 0;
    while (put < FBuffer.size()) {
        const ssize_t w = ::write(FFd, FBuffer.data() + put, FBuffer.size() - put);
        if (w < 0) {
            if (errno == EINTR) continue;
            return Fail("cannot write " + FTempPath);
        }
        put += static_cast<std::size_t>(w);
    }
    FBuffer.clear();
    return true;
}

bool TAtomicFile::Write(std::string_view bytes) {
    if (FFd < 0) {
        errno = EBADF;
        return Fail("cannot write " + FTarget);
    }
    FBuffer.append(bytes);
    return FBuffer.size() < FlushSize || Flush();
}

bool TAtomicFile::Commit() {
    if (FFd < 0) {
        errno = EBADF;
        return Fail("cannot write " + FTarget);
    }
    if (!Flush()) return false;
    struct stat st {};
    mode_t mode = 0;
    if (::stat(FTarget.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(FFd, mode) != 0) return Fail("cannot set the permissions of " + FTempPath);
    if (::fsync(FFd) != 0) return Fail("cannot flush " + FTempPath);
    if (::close(FFd) != 0) {
        FFd = -1;
        return Fail("cannot close " + FTempPath);
    }
    FFd = -1;
    if (::rename(FTempPath.c_str(), FTarget.c_str()) != 0) return Fail("cannot replace " + FTarget);
    FTempPath.clear();
    // Make the rename itself durable.
    const int dir = ::open(FolderOf(FTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void TAtomicFile::Abandon() {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
    if (!FTempPath.empty()) ::unlink(FTempPath.c_str());
    FTempPath.clear();
    FBuffer.clear();
}
