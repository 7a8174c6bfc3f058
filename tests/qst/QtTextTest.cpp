#include "QtText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

QString units(std::initializer_list<char16_t> units) {
    QString text;
    for (char16_t u : units)
        text += QChar(u);
    return text;
}

// Typed text is stored as Windows-1252 exactly when the code page holds every character;
// anything else, half a surrogate pair included, is refused and named, never stored as "?".
TEST(QtTextTest, StoresWhatTheCodePageHoldsAndRefusesTheRest) {
    struct Case {
        const char* name;
        QString text;
        const char* bytes; // nullptr: refused
        QString bad;
    };
    const Case cases[] = {
        {"Latin-1 and the 0x80-0x9F letters",
         QString::fromUtf8("Caf\u00E9 \u20AC5 \u2019"),
         "Caf\xE9 \x80"
         "5 \x92",
         {}},
        {"unassigned bytes as C1 controls", units({0x81, 0x8D}), "\x81\x8D", {}},
        {"Greek letter", QString::fromUtf8("\u03BB"), nullptr, QString::fromUtf8("\u03BB")},
        {"character outside the BMP", QString::fromUtf8("x\U0001F600"), nullptr,
         QString::fromUtf8("\U0001F600")},
        {"lone high surrogate", units({'a', 0xD83D, 'b'}), nullptr, QString(QChar(0xFFFD))},
        {"lone low surrogate at the end", units({'a', 0xDE00}), nullptr, QString(QChar(0xFFFD))},
        {"pair in the wrong order", units({0xDE00, 0xD83D}), nullptr, QString(QChar(0xFFFD))},
        {"byte-order mark is named too", units({0xFEFF}), nullptr, QString(QChar(0xFEFF))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = "old";
        QString bad;
        const bool stored = QtText::toRecord(c.text, bytes, &bad);
        EXPECT_EQ(stored, c.bytes != nullptr);
        if (c.bytes) {
            EXPECT_EQ(bytes, c.bytes);
            EXPECT_EQ(QtText::fromRecord(bytes), c.text);
        } else {
            EXPECT_EQ(bad, c.bad);
            EXPECT_EQ(bytes.find('?'), std::string::npos);
        }
    }
}

} // namespace
