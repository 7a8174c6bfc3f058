// Windows-1252 both ways: every byte string decodes to UTF-8 and encodes back to the same
// bytes; any text that encodes decodes back to itself; validity and encoding agree.
#include "Cp1252.h"
#include "FuzzCheck.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = Cp1252::toUtf8(bytes);
    fuzz::require(Cp1252::isValidUtf8(utf8), "decoded text is valid UTF-8");
    std::string back;
    fuzz::require(Cp1252::fromUtf8(utf8, back), "decoded text encodes again");
    fuzz::require(back == bytes, "bytes survive the round trip");

    // The same input taken as UTF-8.
    std::string encoded;
    char32_t bad = 0;
    const bool encodes = Cp1252::fromUtf8(bytes, encoded, &bad);
    if (encodes) {
        fuzz::require(Cp1252::isValidUtf8(bytes), "encodable text is valid UTF-8");
        fuzz::require(Cp1252::toUtf8(encoded) == bytes, "encoded text decodes to itself");
    } else {
        fuzz::require(Cp1252::byteOf(bad) < 0, "the refused character has no byte");
    }
    return 0;
}
