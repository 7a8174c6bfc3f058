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
std::vector<TQuestionRecord> Take(const TParsedSource& parsed) {
    TRowChecker checker;
    std::vector<TQuestionRecord> records;
    for (const TSourceRow& row : parsed.Rows) {
        TQuestionRecord record;
        if (checker.Check(row, "source", record).empty()) records.push_back(std::move(record));
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const fuzz::MemoryFile file;
    const std::string text =
        QstText::DecodeInput({reinterpret_cast<const char*>(data + 1), size - 1});
    TParsedSource parsed;
    switch (data[0] % 3) {
    case 0:
        parsed = ParseCsvSource(text);
        break;
    case 1:
        parsed = ParseOtdbSource(text);
        break;
    default:
        parsed = ParseTextSource(text);
        break;
    }
    const std::vector<TQuestionRecord> records = Take(parsed);

    std::string set;
    auto add = [&set](const TQuestionRecord& record) {
        const auto bytes = record.Encode();
        set.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    add(TQuestionRecord::Header());
    for (const TQuestionRecord& record : records)
        add(record);
    if (records.empty()) return 0;
    const std::string& path = file.fill(set);

    for (TExportFormat format : {TExportFormat::Csv, TExportFormat::Json}) {
        std::ostringstream out, err;
        fuzz::require(ExportQuestions(path, format, out, err) == 0, "the set exports");
        const std::string again = QstText::DecodeInput(out.str());
        const TParsedSource back =
            format == TExportFormat::Csv ? ParseCsvSource(again) : ParseOtdbSource(again);
        fuzz::require(back.Error.empty() && back.Skipped.empty(), "the export reads back whole");
        fuzz::require(Take(back) == records, "the export imports to the same records");
    }
    return 0;
}
