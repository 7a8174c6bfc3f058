// The game's and the editor's reading of a question file: the check of every reader rule set
// and the reading of every record never look past the file, never fail without saying why,
// and agree with the layout: a header, then records of five texts of at most 75 characters.
#include "FuzzCheck.h"
#include "QstFile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::MemoryFile file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& path = file.fill(bytes);
    const std::int64_t count = static_cast<std::int64_t>(size / QuestionRecord::Size);
    const bool header =
        count >= 1 && QuestionRecord::decode(data).question == QuestionRecord::HeaderText;

    for (const ReaderRuleSet& rules : {ReaderRules::GameStartup, ReaderRules::GameChange,
                                       ReaderRules::EditorStartup, ReaderRules::EditorLoad}) {
        const QstCheckResult check = checkQuestionFile(path, rules);
        const bool usable = count >= rules.minRecords && (count == 0 || header);
        fuzz::require((check.status == QstCheck::Accepted) == usable,
                      "a set is accepted exactly when it is long enough and has its header");
        if (check.status != QstCheck::NotFound)
            fuzz::require(check.recordCount == count || check.status == QstCheck::Damaged,
                          "the record count is the size in whole records");
    }

    QstFile reader;
    fuzz::require(reader.open(path, QstFile::Access::Read), "a regular file opens");
    fuzz::require(reader.recordCount() == count, "record count");
    QuestionRecord record;
    for (std::int64_t n = 0; n < count; ++n) {
        fuzz::require(reader.read(n, record), "every whole record reads");
        for (std::size_t f = 0; f < QuestionRecord::FieldCount; ++f)
            fuzz::require(record.field(f).size() <= QuestionRecord::Capacity,
                          "no field is longer than 75 characters");
        const auto again = record.encode();
        fuzz::require(QuestionRecord::decode(again.data()) == record,
                      "a record read is written back with the same texts");
    }
    fuzz::require(!reader.read(count, record) && !reader.errorText().empty(),
                  "reading past the last whole record fails and says why");
    return 0;
}
