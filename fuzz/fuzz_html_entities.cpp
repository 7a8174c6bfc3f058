// HTML character references: decoding never fails and never grows text beyond what its
// references can stand for, and decoding undoes encoding for any text.
#include "FuzzCheck.h"
#include "HtmlEntities.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string decoded = HtmlEntities::decode(text);
    // The longest character (4 bytes) comes from the shortest reference ("&lt;" and its
    // kind give one byte for four; "&#1;" gives at most 4 for 4).
    fuzz::require(decoded.size() <= text.size(), "decoding never lengthens text");
    fuzz::require(HtmlEntities::decode(HtmlEntities::encode(text)) == text, "decode undoes encode");
    return 0;
}
