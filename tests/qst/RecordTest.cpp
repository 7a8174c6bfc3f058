#include "QuestionRecord.h"

#include <gtest/gtest.h>

namespace {
std::string bytes(const QuestionRecord& r) {
    const auto b = r.encode();
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}
} // namespace

// A record is five fields of a length byte and 75 character bytes at offsets 0, 76, 152,
// 228 and 304; the bytes after each text are zero.
TEST(RecordTest, LayoutByteForByte) {
    QuestionRecord r;
    r.question = "Q?";
    r.answer = "Yes";
    r.wrong1 = "No";
    r.wrong2 = std::string(75, 'x');
    r.wrong3 = "";
    const std::string b = bytes(r);
    ASSERT_EQ(b.size(), 380u);
    const std::size_t offsets[] = {0, 76, 152, 228, 304};
    const std::string texts[] = {"Q?", "Yes", "No", std::string(75, 'x'), ""};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(static_cast<unsigned char>(b[offsets[i]]), texts[i].size());
        EXPECT_EQ(b.substr(offsets[i] + 1, texts[i].size()), texts[i]);
        EXPECT_EQ(b.substr(offsets[i] + 1 + texts[i].size(), 75 - texts[i].size()),
                  std::string(75 - texts[i].size(), '\0'));
    }
    EXPECT_EQ(QuestionRecord::decode(reinterpret_cast<const std::uint8_t*>(b.data())), r);
}

// The header is "Genuine Data File!" (length 18) and four empty fields; only an exact match
// of the first field counts as a header.
TEST(RecordTest, header) {
    const std::string b = bytes(QuestionRecord::header());
    EXPECT_EQ(b[0], 18);
    EXPECT_EQ(b.substr(1, 18), "Genuine Data File!");
    for (std::size_t at : {76u, 152u, 228u, 304u}) EXPECT_EQ(b[at], 0);
    for (const char* text : {"genuine data file!", "Genuine Data File! ", "Genuine Data File", ""}) {
        QuestionRecord h;
        h.question = text;
        EXPECT_FALSE(h.isHeader()) << text;
    }
    QuestionRecord h = QuestionRecord::header();
    h.answer = "extra fields do not matter";
    EXPECT_TRUE(h.isHeader());
}

// Writers cut texts to 75 characters; readers take a length byte above 75 as 75 and never
// look outside the field.
TEST(RecordTest, LengthLimits) {
    QuestionRecord r;
    r.question = std::string(80, 'q');
    EXPECT_EQ(bytes(r)[0], 75);
    std::string raw(380, 'z');
    for (std::size_t at : {0u, 76u, 152u, 228u, 304u}) raw[at] = char(255);
    const QuestionRecord d =
        QuestionRecord::decode(reinterpret_cast<const std::uint8_t*>(raw.data()));
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(d.field(i), std::string(75, 'z'));
}
