#pragma once

#include <string>
#include <string_view>

// Windows-1252, the code page question files are written in. The five byte values the code
// page leaves unassigned map to the C1 control characters of the same number, so every
// byte string survives a round trip through Unicode.
namespace Cp1252 {

// Windows-1252 bytes to UTF-8.
std::string toUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes. Returns false when the text holds a character the code page
// cannot hold, or is not valid UTF-8; *bad then receives the offending code point
// (U+FFFD for malformed UTF-8).
bool fromUtf8(std::string_view utf8, std::string& out, char32_t* bad = nullptr);

// The text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view utf8);

// Appends one code point to UTF-8 text.
void appendUtf8(std::string& out, char32_t cp);

// The byte for one code point, or -1 when the code page has none.
int byteOf(char32_t cp);
// The code point of one byte.
char32_t codePointOf(unsigned char byte);

} // namespace Cp1252
