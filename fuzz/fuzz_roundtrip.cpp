// The round trip: whatever an import takes from a source (CSV, JSON or "#Q" text, chosen by
// the first byte), exported to CSV and to JSON and imported again, gives the same records.
#include "CsvSource.h"
#include "FuzzCheck.h"
#include "OtdbSource.h"
#include "QstExporter.h"
#include "QstText.h"
#include "QuestionRecord.h"
#include "RowChecker.h"
#include "TextSource.h"

#include <cstdint>
#include <sstream>
#include <vector>

namespace {

// The records an import takes from rows, as it checks them.
std::vector<QuestionRecord> Take(const ParsedSource& parsed) {
    RowChecker checker;
    std::vector<QuestionRecord> records;
    for (const SourceRow& row : parsed.rows) {
        QuestionRecord record;
        if (checker.check(row, "source", record).empty()) records.push_back(std::move(record));
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const fuzz::MemoryFile file;
    const std::string text =
        QstText::decodeInput({reinterpret_cast<const char*>(data + 1), size - 1});
    ParsedSource parsed;
    switch (data[0] % 3) {
    case 0:
        parsed = parseCsvSource(text);
        break;
    case 1:
        parsed = parseOtdbSource(text);
        break;
    default:
        parsed = parseTextSource(text);
        break;
    }
    const std::vector<QuestionRecord> records = Take(parsed);

    std::string set;
    auto add = [&set](const QuestionRecord& record) {
        const auto bytes = record.encode();
        set.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    add(QuestionRecord::header());
    for (const QuestionRecord& record : records)
        add(record);
    if (records.empty()) return 0;
    const std::string& path = file.fill(set);

    for (ExportFormat format : {ExportFormat::Csv, ExportFormat::Json}) {
        std::ostringstream out, err;
        fuzz::require(exportQuestions(path, format, out, err) == 0, "the set exports");
        const std::string again = QstText::decodeInput(out.str());
        const ParsedSource back =
            format == ExportFormat::Csv ? parseCsvSource(again) : parseOtdbSource(again);
        fuzz::require(back.error.empty() && back.skipped.empty(), "the export reads back whole");
        fuzz::require(Take(back) == records, "the export imports to the same records");
    }
    return 0;
}
