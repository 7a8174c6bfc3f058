#include "LengthReport.h"

#include "QstImporter.h"
#include "QstTool.h"

#include <cstdio>

namespace {

// Characters of a UTF-8 text: every byte but continuation bytes.
std::size_t characters(const std::string& utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

struct Lengths {
    std::size_t questions = 0;
    std::size_t longest = 0;
    std::size_t rightCharacters = 0;
    std::size_t wrongCharacters = 0;

    void add(const SourceRow& row) {
        ++questions;
        const std::size_t right = characters(row.fields[1]);
        bool isLongest = true;
        rightCharacters += right;
        for (std::size_t f = 2; f < 5; ++f) {
            const std::size_t wrong = characters(row.fields[f]);
            wrongCharacters += wrong;
            isLongest = isLongest && right > wrong;
        }
        longest += isLongest;
    }
    void add(const Lengths& other) {
        questions += other.questions;
        longest += other.longest;
        rightCharacters += other.rightCharacters;
        wrongCharacters += other.wrongCharacters;
    }
};

void printLine(std::ostream& out, const std::string& name, const Lengths& l) {
    const double n = static_cast<double>(l.questions);
    char line[256];
    std::snprintf(line, sizeof line, "%9zu %7zu %5.1f %% %10.1f %10.1f", l.questions, l.longest,
                  l.questions ? 100.0 * static_cast<double>(l.longest) / n : 0.0,
                  l.questions ? static_cast<double>(l.rightCharacters) / n : 0.0,
                  l.questions ? static_cast<double>(l.wrongCharacters) / (3 * n) : 0.0);
    out << line << "  " << name << "\n";
}

} // namespace

int reportLengths(const std::vector<std::string>& sources, std::ostream& out, std::ostream& err) {
    if (sources.empty()) return usageError(err, "lengths needs at least one SOURCE");
    for (const std::string& source : sources)
        if (formatOfSource(source, SourceFormat::Auto) == SourceFormat::Auto)
            return usageError(err, source + ": cannot tell the format from the name (use .csv, "
                                            ".json or .txt)");
    bool rejected = false;
    Lengths all;
    out << "questions longest  share mean right mean wrong  source\n";
    for (const std::string& source : sources) {
        CollectingSink sink;
        if (const SourceError error = readSource(source, SourceFormat::Auto, sink)) {
            reportRejectedSource(source, error, err);
            rejected = true;
            continue;
        }
        Lengths lengths;
        for (const SourceRow& row : sink.finish({}).rows)
            lengths.add(row);
        printLine(out, source, lengths);
        all.add(lengths);
    }
    printLine(out, "(all)", all);
    return rejected ? 1 : 0;
}
