#include "CsvField.h"

namespace Csv {

void appendField(std::string& out, std::string_view utf8) {
    const bool quote = utf8.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quote) {
        out += utf8;
        return;
    }
    out += '"';
    for (char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

} // namespace Csv
