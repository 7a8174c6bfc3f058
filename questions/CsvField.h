#pragma once

#include <string>
#include <string_view>

namespace Csv {

// Appends one CSV field of UTF-8 text, quoted (with its double quotes doubled) when it holds
// a comma, a double quote or a line break, or starts or ends with a blank, so that a reader
// gets it back unchanged.
void appendField(std::string& out, std::string_view utf8);

} // namespace Csv
