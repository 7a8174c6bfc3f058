// The "#Q" text reader on any bytes, decoded as an import decodes them: every block is taken
// or reported, in the order of the file, with a line inside it; a taken question has its
// texts trimmed and its correct answer among them once.
#include "QstText.h"
#include "SourceOrder.h"
#include "TextSource.h"

#include <cstdint>

namespace {
class TrimmedSink : public fuzz::OrderedSink {
public:
    using OrderedSink::OrderedSink;
    void take(SourceRow&& row) override {
        for (const std::string& field : row.fields)
            fuzz::require(QstText::trim(field).size() == field.size(), "texts come trimmed");
        OrderedSink::take(std::move(row));
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    QstText::decodeInPlace(text);
    TrimmedSink sink(text);
    parseTextSource(text, sink);
    return 0;
}
