#include "Cp1252.h"

namespace {
// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr char32_t High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

namespace Cp1252 {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace Cp1252

namespace {

// Decodes one UTF-8 sequence at i; returns U+FFFD and advances one byte when malformed.
char32_t nextCodePoint(std::string_view s, std::size_t& i, bool& ok) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ok = false;
        ++i;
        return 0xFFFD;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) {
        ok = false;
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) {
            ok = false;
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t Min[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < Min[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ok = false;
        ++i;
        return 0xFFFD;
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}
} // namespace

namespace Cp1252 {

char32_t codePointOf(unsigned char byte) {
    return (byte >= 0x80 && byte < 0xA0) ? High[byte - 0x80] : byte;
}

int byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int k = 0; k < 32; ++k)
        if (High[k] == cp) return 0x80 + k;
    return -1;
}

std::string toUtf8(std::string_view bytes) {
    // The exact length first: a large text is never grown, and so never held twice over.
    std::size_t length = 0;
    for (char c : bytes) {
        const char32_t cp = codePointOf(static_cast<unsigned char>(c));
        length += cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    }
    std::string out;
    out.reserve(length);
    for (char c : bytes)
        appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

bool isValidUtf8(std::string_view utf8) {
    std::size_t i = 0;
    bool ok = true;
    while (ok && i < utf8.size())
        nextCodePoint(utf8, i, ok);
    return ok;
}

bool fromUtf8(std::string_view utf8, std::string& out, char32_t* bad) {
    out.clear();
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        bool ok = true;
        const char32_t cp = nextCodePoint(utf8, i, ok);
        const int b = ok ? byteOf(cp) : -1;
        if (b < 0) {
            if (bad) *bad = cp;
            return false;
        }
        out += static_cast<char>(b);
    }
    return true;
}

} // namespace Cp1252
