#include "QstText.h"

#include "Cp1252.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QstText {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
} // namespace

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isValidUtf8(std::string_view s) {
    return Cp1252::isValidUtf8(s);
}

std::string decodeInput(std::string_view bytes) {
    std::string text(bytes);
    decodeInPlace(text);
    return text;
}

void decodeInPlace(std::string& bytes) {
    if (std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF") bytes.erase(0, 3);
    if (isValidUtf8(bytes)) return;
    std::string text = Cp1252::toUtf8(bytes);
    // Let go of the bytes before the text grows any further.
    std::string().swap(bytes);
    bytes = std::move(text);
}

namespace {

// Length of the well-formed UTF-8 sequence of two to four bytes at at, or 0.
std::size_t utf8SequenceAt(std::string_view s, std::size_t at) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = b(at);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > s.size()) return 0;
    if (b(at + 1) < low || b(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (b(at + i) < 0x80 || b(at + i) > 0xBF) return 0;
    return length;
}

} // namespace

EncodingFault mixedEncoding(std::string_view s) {
    std::size_t sequences = 0;
    std::size_t badAt = std::string_view::npos;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        if (const std::size_t length = utf8SequenceAt(s, i)) {
            ++sequences;
            i += length;
        } else {
            if (badAt == std::string_view::npos) badAt = i;
            ++i;
        }
        if (sequences > 0 && badAt != std::string_view::npos) break;
    }
    if (sequences == 0 || badAt == std::string_view::npos) return {};
    EncodingFault fault;
    fault.line = 1 + static_cast<std::size_t>(std::count(s.begin(), s.begin() + badAt, '\n'));
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(s[badAt])));
    fault.reason = std::string("byte ") + hex +
                   " is not UTF-8, but the file holds UTF-8 text elsewhere; read as Windows-1252 "
                   "its accented letters would change, so it is refused (save it as UTF-8)";
    return fault;
}

unsigned char foldByte(unsigned char b) {
    if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 32);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 32); // À..Þ
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<unsigned char>(b + 16); // Š Œ Ž
    if (b == 0x9F) return 0xFF;                                                         // Ÿ
    return b;
}

std::string foldCase(std::string_view cp1252) {
    std::string out(cp1252);
    for (char& c : out)
        c = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
    return out;
}

std::string compareKey(std::string_view cp1252) {
    return foldCase(trim(cp1252));
}

std::string codePointName(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

bool openRegularFile(const std::string& path, int& fd, std::int64_t& size, std::string& error,
                     bool& notRegular) {
    notRegular = false;
    // Without O_NONBLOCK, opening a named pipe would wait for a writer for ever.
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = path + ": " + std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        error = path + (S_ISDIR(st.st_mode) ? ": is a folder" : ": not a regular file");
        notRegular = true;
    } else {
        size = static_cast<std::int64_t>(st.st_size);
        return true;
    }
    ::close(fd);
    fd = -1;
    return false;
}

Read readWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t maxBytes) {
    bytes.clear();
    int fd = -1;
    std::int64_t size = 0;
    bool notRegular = false;
    if (!openRegularFile(path, fd, size, error, notRegular))
        return notRegular ? Read::NotRegular : Read::Failed;
    auto tooLarge = [&] {
        error = path + ": too large (" + std::to_string(size) + " bytes, at most " +
                std::to_string(maxBytes) + ")";
        bytes.clear();
        bytes.shrink_to_fit();
        ::close(fd);
        return Read::Failed;
    };
    if (static_cast<std::uint64_t>(size) > maxBytes) return tooLarge();
    // The file may grow while it is read; one byte more than the limit tells that it did.
    bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (bytes.size() > maxBytes) {
                size = static_cast<std::int64_t>(have);
                return tooLarge();
            }
            bytes.resize(std::min(maxBytes + 1, bytes.size() + bytes.size() / 2 + 65536));
        }
        const ssize_t r = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (r < 0) {
            if (errno == EINTR) continue;
            error = path + ": " + std::strerror(errno);
            ::close(fd);
            bytes.clear();
            return Read::Failed;
        }
        if (r == 0) break;
        have += static_cast<std::size_t>(r);
    }
    ::close(fd);
    bytes.resize(have);
    return Read::Read;
}

} // namespace QstText
