// trivora-qst's readers of question sets on any bytes: info and export stay inside the
// records, and both exports of a set with a sound header read back as one row per question.
#include "CsvSource.h"
#include "FuzzCheck.h"
#include "OtdbSource.h"
#include "QstExporter.h"
#include "QstInspector.h"
#include "QstText.h"
#include "QuestionRecord.h"

#include <cstdint>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::MemoryFile file;
    const std::string& path = file.fill({reinterpret_cast<const char*>(data), size});
    const std::size_t count = size / QuestionRecord::Size;
    const bool header = count >= 1 && QuestionRecord::decode(data).isHeader();

    std::ostringstream info, err;
    const int status = inspectQuestions(path, info, err);
    fuzz::require(status == (count >= 2 && header ? 0 : 1), "info fails exactly for unusable sets");

    for (ExportFormat format : {ExportFormat::Csv, ExportFormat::Json}) {
        std::ostringstream out;
        const int exported = exportQuestions(path, format, out, err);
        fuzz::require(exported == (header ? 0 : 1), "export takes every set with a header");
        if (!header) {
            fuzz::require(out.str().empty(), "nothing is exported from a damaged set");
            continue;
        }
        const ParsedSource back = format == ExportFormat::Csv
                                      ? parseCsvSource(QstText::decodeInput(out.str()))
                                      : parseOtdbSource(out.str());
        fuzz::require(back.error.empty() && back.skipped.empty(), "an export reads back whole");
        fuzz::require(back.rows.size() == count - 1, "one row per question");
    }
    return 0;
}
