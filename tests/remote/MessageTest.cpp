#include "PhoneMessage.h"

#include <gtest/gtest.h>

namespace {
const std::string secret(32, 'a');

struct Case {
    const char* what;
    std::string json;
    const char* error; // nullptr: accepted
};

// Every message is checked: size, JSON, known type, and each value the type needs in range.
TEST(PhoneMessageTest, AcceptsWellFormedMessagesAndRefusesEverythingElseWithAReason) {
    const Case cases[] = {
        {"join", R"({"type":"join","name":" Anna ","code":"0042"})", nullptr},
        {"ten characters", R"({"type":"join","name":"Ännäbëllä1","code":"1234"})", nullptr},
        {"resume", R"({"type":"resume","secret":")" + secret + R"("})", nullptr},
        {"answer D", R"({"type":"answer","letter":3,"secret":")" + secret + R"("})", nullptr},
        {"stop", R"({"type":"stop","secret":")" + secret + R"("})", nullptr},
        {"hall name", R"({"type":"name","name":"Ben","secret":")" + secret + R"("})", nullptr},
        {"hall name as markup",
         R"({"type":"name","name":"<i>Ben</i>","secret":")" + secret + R"("})", nullptr},
        {"too long", R"({"type":"join","name":")" + std::string(600, 'x') + R"(","code":"1234"})",
         "message too long"},
        {"not JSON", "hello", "not a JSON object"},
        {"array", "[1,2]", "not a JSON object"},
        {"unknown type", R"({"type":"shutdown","secret":")" + secret + R"("})", "unknown type"},
        {"no type", R"({"name":"Anna"})", "unknown type"},
        {"name of 11", R"({"type":"join","name":"Annabellas1","code":"1234"})",
         "the name must have 1 to 10 characters"},
        {"blank name", R"({"type":"join","name":"   ","code":"1234"})",
         "the name must have 1 to 10 characters"},
        {"control character", R"({"type":"join","name":"An\u0007na","code":"1234"})",
         "the name must have 1 to 10 characters"},
        {"name a number", R"({"type":"join","name":12,"code":"1234"})",
         "the name must have 1 to 10 characters"},
        {"code of 3", R"({"type":"join","name":"Anna","code":"123"})",
         "the code must have four digits"},
        {"code as number", R"({"type":"join","name":"Anna","code":1234})",
         "the code must have four digits"},
        {"hall name of 11", R"({"type":"name","name":"Benjamin-11","secret":")" + secret + R"("})",
         "the name must have 1 to 10 characters"},
        {"hall name a list", R"({"type":"name","name":["Ben"],"secret":")" + secret + R"("})",
         "the name must have 1 to 10 characters"},
        {"hall name without secret", R"({"type":"name","name":"Ben"})", "no secret"},
        {"no secret", R"({"type":"answer","letter":1})", "no secret"},
        {"short secret", R"({"type":"start","secret":"abc"})", "no secret"},
        {"upper-case secret", R"({"type":"start","secret":")" + std::string(32, 'A') + R"("})",
         "no secret"},
        {"letter 4", R"({"type":"answer","letter":4,"secret":")" + secret + R"("})",
         "the letter must be 0 to 3"},
        {"letter -1", R"({"type":"answer","letter":-1,"secret":")" + secret + R"("})",
         "the letter must be 0 to 3"},
        {"letter 1.5", R"({"type":"answer","letter":1.5,"secret":")" + secret + R"("})",
         "the letter must be 0 to 3"},
        {"letter huge", R"({"type":"answer","letter":1e300,"secret":")" + secret + R"("})",
         "the letter must be 0 to 3"},
        {"letter text", R"({"type":"answer","letter":"1","secret":")" + secret + R"("})",
         "the letter must be 0 to 3"},
    };
    for (const Case& c : cases) {
        QString error;
        const auto m = PhoneMessage::parse(QByteArray::fromStdString(c.json), &error);
        if (c.error) {
            EXPECT_FALSE(m) << c.what;
            EXPECT_EQ(error.toStdString(), c.error) << c.what;
        } else {
            EXPECT_TRUE(m) << c.what << ": " << error.toStdString();
        }
    }
}

// The values of an accepted message are the ones sent, the name trimmed.
TEST(PhoneMessageTest, CarriesTheValuesSent) {
    const auto join =
        PhoneMessage::parse(R"({"type":"join","name":" Anna ","code":"0042"})", nullptr);
    ASSERT_TRUE(join);
    EXPECT_EQ(join->name, QStringLiteral("Anna"));
    EXPECT_EQ(join->code, QStringLiteral("0042"));
    const auto answer = PhoneMessage::parse(
        QByteArray::fromStdString(R"({"type":"answer","letter":2,"secret":")" + secret + R"("})"),
        nullptr);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->type, PhoneMessage::Type::Answer);
    EXPECT_EQ(answer->letter, 2);
    EXPECT_EQ(answer->secret, QByteArray::fromStdString(secret));
    // Markup in a name is kept as the characters typed, never read.
    const auto name = PhoneMessage::parse(
        QByteArray::fromStdString(R"({"type":"name","name":" <b>Bo</b> ","secret":")" + secret +
                                  R"("})"),
        nullptr);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->type, PhoneMessage::Type::Name);
    EXPECT_EQ(name->name, QStringLiteral("<b>Bo</b>"));
}
} // namespace
