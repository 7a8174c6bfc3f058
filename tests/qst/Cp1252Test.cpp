#include "Cp1252.h"

#include <gtest/gtest.h>

// Every byte survives a trip to UTF-8 and back; the characters of 0x80-0x9F map as the code
// page has them.
TEST(Cp1252Test, RoundTripAndTable) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(Cp1252::fromUtf8(Cp1252::toUtf8(all), back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(Cp1252::toUtf8("\x80"), "\xE2\x82\xAC"); // euro sign
    EXPECT_EQ(Cp1252::toUtf8("\x92"), "\xE2\x80\x99"); // right single quote
    EXPECT_EQ(Cp1252::toUtf8("\xE9"), "\xC3\xA9");     // e acute
}

// Characters the code page has no place for, and malformed UTF-8, are refused and named.
TEST(Cp1252Test, Refusals) {
    struct Case {
        const char* utf8;
        char32_t bad;
    };
    const Case cases[] = {
        {"caf\xC3\xA9 \xCE\xBB", U'\u03BB'},   // Greek lambda
        {"\xE2\x86\x92", U'\u2192'},          // arrow
        {"\xF0\x9F\x98\x80", U'\U0001F600'},  // emoji
        {"ab\xC3", U'\uFFFD'},                // cut short
        {"\xC0\xAF", U'\uFFFD'},              // overlong
    };
    for (const Case& c : cases) {
        std::string out;
        char32_t bad = 0;
        EXPECT_FALSE(Cp1252::fromUtf8(c.utf8, out, &bad)) << c.utf8;
        EXPECT_EQ(bad, c.bad) << c.utf8;
    }
}
