#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A parsed JSON value that remembers the line it starts on. Strings are UTF-8; numbers keep
// their source text.
struct TJsonValue {
    enum class TKind { Null, Bool, Number, String, Array, Object };

    TKind Kind = TKind::Null;
    bool Bool = false;
    // The text of a string, or the source text of a number.
    std::string Text;
    std::vector<TJsonValue> Items;
    std::vector<std::pair<std::string, TJsonValue>> Members;
    std::size_t Line = 0;

    // The member of an object with this key (the first one), or nullptr.
    const TJsonValue* Find(std::string_view key) const;

    // Parses a whole document. On failure returns false with error and errorLine set.
    // Nesting deeper than 256 levels is refused, so hostile input cannot exhaust the stack.
    static bool Parse(std::string_view text, TJsonValue& out, std::string& error,
                      std::size_t& errorLine);
};
