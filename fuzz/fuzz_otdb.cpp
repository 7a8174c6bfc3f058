// The Open Trivia Database reader on any bytes: it never fails without a reason, reports
// entries in the order of the file with a line inside it, and a document rejected as a
// whole (bad JSON, wrong shape, failed download) yields no row at all.
#include "OtdbSource.h"
#include "SourceOrder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    fuzz::OrderedSink sink(text);
    const SourceError error = parseOtdbSource(text, sink);
    if (error) {
        fuzz::require(sink.rows == 0 && sink.skips == 0, "a rejected document yields no row");
        fuzz::require(error.line >= 1, "a rejected document names a line");
    }
    return 0;
}
