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
    const std::int64_t count = static_cast<std::int64_t>(size / TQuestionRecord::Size);
    const bool header =
        count >= 1 && TQuestionRecord::Decode(data).Question == TQuestionRecord::HeaderText;

    for (const TReaderRules& rules : {ReaderRules::GameStartup, ReaderRules::GameChange,
                                      ReaderRules::EditorStartup, ReaderRules::EditorLoad}) {
        const TQstCheckResult check = CheckQuestionFile(path, rules);
        const bool usable = count >= rules.MinRecords && (count == 0 || header);
        fuzz::require((check.Status == TQstCheck::Accepted) == usable,
                      "a set is accepted exactly when it is long enough and has its header");
        if (check.Status != TQstCheck::NotFound)
            fuzz::require(check.RecordCount == count || check.Status == TQstCheck::Damaged,
                          "the record count is the size in whole records");
    }

    TQstFile reader;
    fuzz::require(reader.Open(path, TQstFile::TAccess::Read), "a regular file opens");
    fuzz::require(reader.RecordCount() == count, "record count");
    TQuestionRecord record;
    for (std::int64_t n = 0; n < count; ++n) {
        fuzz::require(reader.Read(n, record), "every whole record reads");
        for (std::size_t f = 0; f < TQuestionRecord::FieldCount; ++f)
            fuzz::require(record.Field(f).size() <= TQuestionRecord::Capacity,
                          "no field is longer than 75 characters");
        const auto again = record.Encode();
        fuzz::require(TQuestionRecord::Decode(again.data()) == record,
                      "a record read is written back with the same texts");
    }
    fuzz::require(!reader.Read(count, record) && !reader.ErrorText().empty(),
                  "reading past the last whole record fails and says why");
    return 0;
}
