// The whole import path, deciding what to write: a source (CSV, JSON or "#Q" text, by the
// first byte) read, decoded and checked, imported into a new set, over an existing set, or
// appended to it with its marks file. Whatever the bytes:
//  - a failed import leaves the set and its marks exactly as they were;
//  - a successful one writes a set whose records are the old ones (on append) and the new
//    ones, and a marks file with one line per question, or none;
//  - nothing else in the folder is made, renamed or removed.
#include "FuzzFolder.h"
#include "QstImporter.h"
#include "QuestionRecord.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static const fuzz::Folder folder;
    folder.clear();
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
    // The source, the set that is there before, and its marks file.
    const auto parts = fuzz::split(input, "\n@@\n", 3);
    static const char* const Extensions[] = {".csv", ".json", ".txt"};
    const std::string source = folder.write(std::string("source") + Extensions[data[0] % 3], parts[0]);
    const std::string set = folder.path("SET.QST");
    const int mode = data[1] % 3; // 0 new set, 1 over the set, 2 append to it
    if (mode > 0) {
        folder.write("SET.QST", parts[1]);
        if (data[1] & 4) folder.write("SET.QST.difficulty", parts[2]);
    }
    const auto before = folder.snapshot();

    ImportOptions options;
    options.sources = {source};
    options.m_output = set;
    options.append = mode == 2;
    std::ostringstream err;
    ImportSummary summary;
    const int status = importQuestions(options, err, &summary);
    const auto after = folder.snapshot();

    if (status != 0) {
        fuzz::require(after == before, "a failed import changed the folder");
        return 0;
    }
    for (const auto& [name, value] : before)
        if (name != "SET.QST" && name != "SET.QST.difficulty")
            fuzz::require(after.count(name) && after.at(name) == value, "an import touched another file");
    for (const auto& [name, value] : after)
        fuzz::require(before.count(name) || name == "SET.QST" || name == "SET.QST.difficulty",
                      "an import made another file");
    const std::string written = fuzz::Folder::read(set);
    fuzz::require(written.size() % QuestionRecord::Size == 0, "the set holds a part record");
    const std::size_t records = written.size() / QuestionRecord::Size;
    fuzz::require(records == 1 + summary.existing + summary.imported, "records counted wrong");
    fuzz::require(QuestionRecord::decode(reinterpret_cast<const std::uint8_t*>(written.data())).isHeader(),
                  "the set's header is damaged");
    if (options.append) {
        const std::string_view old = parts[1];
        const std::size_t whole = old.size() - old.size() % QuestionRecord::Size;
        fuzz::require(std::string_view(written).substr(0, whole) == old.substr(0, whole),
                      "an append changed the records that were there");
    }
    if (after.count("SET.QST.difficulty")) {
        const std::string marks = fuzz::Folder::read(set + ".difficulty");
        std::size_t lines = 0;
        for (char c : marks)
            lines += c == '\n';
        fuzz::require(lines == records - 1, "the marks file is out of step with the set");
    }
    return 0;
}
