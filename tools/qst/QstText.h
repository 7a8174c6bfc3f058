#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Small text helpers shared by the readers and writers of the question-set tool.
namespace QstText {

// The five fields of a question, in record order, as named in messages and CSV headers.
inline constexpr std::string_view FieldNames[5] = {"question", "answer", "wrong1", "wrong2",
                                                   "wrong3"};

// Blanks (space, tab, CR, LF, vertical tab, form feed) removed from both ends.
std::string_view trim(std::string_view s);

// Whole text is well-formed UTF-8.
bool isValidUtf8(std::string_view s);

// Input bytes as UTF-8: a leading UTF-8 byte-order mark is dropped; text that is not valid
// UTF-8 is taken as Windows-1252.
std::string decodeInput(std::string_view bytes);
// The same, in the buffer that holds the bytes, so that valid UTF-8 is never copied.
void decodeInPlace(std::string& bytes);

// Text that is UTF-8 but for some stray bytes would be read as Windows-1252 as a whole and
// turn every accented letter into two: the first such byte, with its line, so that the file
// can be refused instead. line is 0 when the text is either valid UTF-8 or holds no UTF-8
// sequence at all.
struct EncodingFault {
    std::size_t line = 0;
    std::string reason;
};
EncodingFault mixedEncoding(std::string_view bytes);

// One Windows-1252 byte with a capital letter folded to lower case.
unsigned char foldByte(unsigned char b);

// Windows-1252 text with letters folded to lower case (ASCII, Latin-1 and the five extra
// letter pairs of the code page), for comparisons that ignore letter case.
std::string foldCase(std::string_view cp1252);

// A comparison key for question texts: trimmed, then case-folded.
std::string compareKey(std::string_view cp1252);

// "U+00E9" style name of a code point.
std::string codePointName(char32_t cp);

// Opens a file for reading only when it is a regular file, without waiting on a named pipe
// or a device. Fails with error naming the file, and notRegular set when the fault is that
// the file is a folder, pipe, device or socket.
bool openRegularFile(const std::string& path, int& fd, std::int64_t& size, std::string& error,
                     bool& notRegular);

enum class Read { Read, NotRegular, Failed };

// Reads a whole regular file into bytes. Fails (with a message naming the file) when it
// cannot be read, is not a regular file (at once, without reading from it), or is larger
// than maxBytes (without reading it).
Read readWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t maxBytes);

} // namespace QstText
