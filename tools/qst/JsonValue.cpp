#include "JsonValue.h"

#include "Cp1252.h"

namespace {

constexpr int MaxDepth = 256;

class TJsonParser {
public:
    explicit TJsonParser(std::string_view text) : FText(text) {}

    bool Document(TJsonValue& out) {
        SkipBlanks();
        if (!Value(out, 0)) return false;
        SkipBlanks();
        if (FAt != FText.size()) return Fail("unexpected text after the end of the document");
        return true;
    }

    std::string Error;
    std::size_t ErrorLine = 0;

private:
    bool Fail(std::string what) {
        Error = std::move(what);
        ErrorLine = FLine;
        return false;
    }

    void SkipBlanks() {
        while (FAt < FText.size()) {
            const char c = FText[FAt];
            if (c == '\n')
                ++FLine;
            else if (c != ' ' && c != '\t' && c != '\r')
                break;
            ++FAt;
        }
    }

    bool Literal(std::string_view word) {
        if (FText.substr(FAt, word.size()) != word) return Fail("unknown word in the document");
        FAt += word.size();
        return true;
    }

    bool Value(TJsonValue& out, int depth) {
        if (depth > MaxDepth) return Fail("nested too deeply");
        out.Line = FLine;
        if (FAt >= FText.size()) return Fail("document ends where a value should be");
        const char c = FText[FAt];
        switch (c) {
        case '{':
            return Object(out, depth);
        case '[':
            return Array(out, depth);
        case '"':
            out.Kind = TJsonValue::TKind::String;
            return String(out.Text);
        case 't':
            out.Kind = TJsonValue::TKind::Bool;
            out.Bool = true;
            return Literal("true");
        case 'f':
            out.Kind = TJsonValue::TKind::Bool;
            return Literal("false");
        case 'n':
            out.Kind = TJsonValue::TKind::Null;
            return Literal("null");
        default:
            if (c == '-' || (c >= '0' && c <= '9')) return Number(out);
            return Fail(std::string("unexpected character '") + c + "'");
        }
    }

    bool Number(TJsonValue& out) {
        const std::size_t start = FAt;
        if (FText[FAt] == '-') ++FAt;
        auto digits = [&] {
            const std::size_t from = FAt;
            while (FAt < FText.size() && FText[FAt] >= '0' && FText[FAt] <= '9')
                ++FAt;
            return FAt > from;
        };
        if (!digits()) return Fail("malformed number");
        if (FAt < FText.size() && FText[FAt] == '.') {
            ++FAt;
            if (!digits()) return Fail("malformed number");
        }
        if (FAt < FText.size() && (FText[FAt] == 'e' || FText[FAt] == 'E')) {
            ++FAt;
            if (FAt < FText.size() && (FText[FAt] == '+' || FText[FAt] == '-')) ++FAt;
            if (!digits()) return Fail("malformed number");
        }
        out.Kind = TJsonValue::TKind::Number;
        out.Text = std::string(FText.substr(start, FAt - start));
        return true;
    }

    bool Hex4(char32_t& cp) {
        if (FText.size() - FAt < 4) return Fail("malformed \\u escape");
        cp = 0;
        for (int k = 0; k < 4; ++k) {
            const char h = FText[FAt++];
            cp <<= 4;
            if (h >= '0' && h <= '9')
                cp |= static_cast<char32_t>(h - '0');
            else if (h >= 'a' && h <= 'f')
                cp |= static_cast<char32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                cp |= static_cast<char32_t>(h - 'A' + 10);
            else
                return Fail("malformed \\u escape");
        }
        return true;
    }

    bool String(std::string& out) {
        ++FAt; // opening quote
        out.clear();
        for (;;) {
            if (FAt >= FText.size()) return Fail("string is never closed");
            const char c = FText[FAt];
            if (c == '"') {
                ++FAt;
                return true;
            }
            if (c == '\n') return Fail("line break inside a string");
            if (c != '\\') {
                const std::size_t stop = FText.find_first_of("\"\\\n", FAt);
                const std::size_t end = stop == std::string_view::npos ? FText.size() : stop;
                out.append(FText.substr(FAt, end - FAt));
                FAt = end;
                continue;
            }
            if (++FAt >= FText.size()) return Fail("string is never closed");
            const char e = FText[FAt++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                char32_t cp = 0;
                if (!Hex4(cp)) return false;
                if (cp >= 0xD800 && cp <= 0xDBFF && FText.substr(FAt, 2) == "\\u") {
                    const std::size_t back = FAt;
                    FAt += 2;
                    char32_t low = 0;
                    if (!Hex4(low)) return false;
                    if (low >= 0xDC00 && low <= 0xDFFF)
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    else
                        FAt = back;
                }
                // A lone surrogate has no character; it reads as the replacement character.
                if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
                Cp1252::AppendUtf8(out, cp);
                break;
            }
            default:
                return Fail(std::string("unknown escape \\") + e);
            }
        }
    }

    bool Array(TJsonValue& out, int depth) {
        out.Kind = TJsonValue::TKind::Array;
        ++FAt;
        SkipBlanks();
        if (FAt < FText.size() && FText[FAt] == ']') {
            ++FAt;
            return true;
        }
        for (;;) {
            SkipBlanks();
            out.Items.emplace_back();
            if (!Value(out.Items.back(), depth + 1)) return false;
            SkipBlanks();
            if (FAt >= FText.size()) return Fail("array is never closed");
            if (FText[FAt] == ',') {
                ++FAt;
                continue;
            }
            if (FText[FAt] == ']') {
                ++FAt;
                return true;
            }
            return Fail("expected ',' or ']' in an array");
        }
    }

    bool Object(TJsonValue& out, int depth) {
        out.Kind = TJsonValue::TKind::Object;
        ++FAt;
        SkipBlanks();
        if (FAt < FText.size() && FText[FAt] == '}') {
            ++FAt;
            return true;
        }
        for (;;) {
            SkipBlanks();
            if (FAt >= FText.size() || FText[FAt] != '"')
                return Fail("expected a key in an object");
            std::string key;
            if (!String(key)) return false;
            SkipBlanks();
            if (FAt >= FText.size() || FText[FAt] != ':') return Fail("expected ':' after a key");
            ++FAt;
            SkipBlanks();
            out.Members.emplace_back(std::move(key), TJsonValue{});
            if (!Value(out.Members.back().second, depth + 1)) return false;
            SkipBlanks();
            if (FAt >= FText.size()) return Fail("object is never closed");
            if (FText[FAt] == ',') {
                ++FAt;
                continue;
            }
            if (FText[FAt] == '}') {
                ++FAt;
                return true;
            }
            return Fail("expected ',' or '}' in an object");
        }
    }

    std::string_view FText;
    std::size_t FAt = 0;
    std::size_t FLine = 1;
};

} // namespace

const TJsonValue* TJsonValue::Find(std::string_view key) const {
    for (const auto& [k, v] : Members)
        if (k == key) return &v;
    return nullptr;
}

bool TJsonValue::Parse(std::string_view text, TJsonValue& out, std::string& error,
                       std::size_t& errorLine) {
    TJsonParser parser(text);
    out = TJsonValue{};
    if (parser.Document(out)) return true;
    error = parser.Error;
    errorLine = parser.ErrorLine;
    return false;
}
