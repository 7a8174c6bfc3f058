#include "QtText.h"

#include "Cp1252.h"

namespace QtText {

QString fromRecord(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes)
        text += QChar(static_cast<char16_t>(Cp1252::codePointOf(static_cast<unsigned char>(c))));
    return text;
}

bool toRecord(const QString& text, std::string& bytes, QString* bad) {
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        char32_t cp = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(unit, text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            // Half of a pair, e.g. from a paste cut in the middle of a character: it names no
            // character at all, so it can be stored no more than one the code page lacks.
            cp = QChar::ReplacementCharacter;
        }
        const int byte = Cp1252::byteOf(cp);
        if (byte < 0) {
            // Built by hand: a conversion from UTF-32 would take U+FEFF for a byte-order
            // mark and drop it, leaving the message nothing to show.
            if (bad) {
                const QChar units[2] = {QChar(QChar::highSurrogate(cp)),
                                        QChar(QChar::lowSurrogate(cp))};
                *bad = QChar::requiresSurrogates(cp) ? QString(units, 2)
                                                     : QString(QChar(static_cast<char16_t>(cp)));
            }
            return false;
        }
        bytes += static_cast<char>(byte);
    }
    return true;
}

} // namespace QtText
