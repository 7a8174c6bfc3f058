// The editor's conversion of typed text: any UTF-16 text, lone surrogates included, is either
// stored as exactly the characters typed or refused; nothing is ever stored in place of a
// character.
#include "Cp1252.h"
#include "FuzzCheck.h"
#include "QtText.h"

#include <QList>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QString text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    std::string bytes;
    QString bad;
    const bool stored = QtText::toRecord(text, bytes, &bad);
    // Whether the code page can hold the text, worked out apart from the conversion.
    bool holdable = text.isValidUtf16();
    if (holdable)
        for (char32_t cp : text.toUcs4())
            holdable = holdable && Cp1252::byteOf(cp) >= 0;
    fuzz::require(stored == holdable, "text is stored exactly when the code page holds it");
    if (stored) {
        fuzz::require(static_cast<qsizetype>(bytes.size()) <= text.size(),
                      "one byte per character at most");
        fuzz::require(QtText::fromRecord(bytes) == text, "stored text reads back as typed");
    } else {
        fuzz::require(!bad.isEmpty(), "a refusal names the character");
    }
    return 0;
}
