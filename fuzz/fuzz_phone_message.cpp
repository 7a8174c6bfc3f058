// The phones' messages: any bytes are either a message whose every value is in range, or
// refused with a reason; a refused message is never half read.
#include "FuzzCheck.h"
#include "PhoneMessage.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<PhoneMessage> m = PhoneMessage::parse(bytes, &error);
    if (!m) {
        fuzz::require(!error.isEmpty(), "a refusal has a reason");
        return 0;
    }
    fuzz::require(bytes.size() <= PhoneMessage::maxBytes, "no accepted message is too long");
    if (m->type == PhoneMessage::Type::Join) {
        fuzz::require(!m->name.isEmpty() && m->name.size() <= PhoneMessage::maxNameLength,
                      "a joining name has 1 to 10 characters");
        fuzz::require(m->name == m->name.trimmed(), "a joining name is trimmed");
        fuzz::require(m->name == PhoneMessage::cleanName(m->name), "a joining name is clean");
        fuzz::require(m->code.size() == 4, "a join code has four digits");
        for (const QChar c : m->code) fuzz::require(c.isDigit(), "a join code has four digits");
        return 0;
    }
    fuzz::require(m->secret.size() == PhoneMessage::secretLength, "every other message has a secret");
    fuzz::require((m->type == PhoneMessage::Type::Answer) == (m->letter >= 0),
                  "only an answer carries a letter");
    fuzz::require(m->letter <= 3, "a letter is A to D");
    return 0;
}
