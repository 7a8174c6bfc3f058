#include "QstText.h"

#include "Cp1252.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QstText {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
} // namespace

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsValidUtf8(std::string_view s) { return Cp1252::IsValidUtf8(s); }

std::string DecodeInput(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Cp1252::ToUtf8(bytes);
}

unsigned char FoldByte(unsigned char b) {
    if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 32);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 32); // À..Þ
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<unsigned char>(b + 16); // Š Œ Ž
    if (b == 0x9F) return 0xFF;                                                         // Ÿ
    return b;
}

std::string FoldCase(std::string_view cp1252) {
    std::string out(cp1252);
    for (char& c : out)
        c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    return out;
}

std::string CompareKey(std::string_view cp1252) {
    return FoldCase(Trim(cp1252));
}

std::string CodePointName(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t maxBytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = path + ": is a folder";
        ::close(fd);
        return false;
    }
    if (S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) > maxBytes) {
        error = path + ": too large (" + std::to_string(st.st_size) + " bytes, at most " +
                std::to_string(maxBytes) + ")";
        ::close(fd);
        return false;
    }
    char buf[65536];
    for (;;) {
        const ssize_t r = ::read(fd, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            error = path + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (r == 0) break;
        bytes.append(buf, static_cast<std::size_t>(r));
        if (bytes.size() > maxBytes) {
            error = path + ": too large (more than " + std::to_string(maxBytes) + " bytes)";
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

} // namespace QstText
