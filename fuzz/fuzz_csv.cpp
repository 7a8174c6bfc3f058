// The CSV reader on any bytes, decoded as an import decodes them: it reports every row in
// the order of the file with a line inside it, and a file rejected as a whole yields no row.
#include "CsvSource.h"
#include "QstText.h"
#include "SourceOrder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    QstText::decodeInPlace(text);
    fuzz::OrderedSink sink(text);
    const SourceError error = parseCsvSource(text, sink);
    if (error) fuzz::require(sink.rows == 0 && sink.skips == 0, "a rejected file yields no row");
    return 0;
}
