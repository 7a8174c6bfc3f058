#include "HtmlEntities.h"

#include "Cp1252.h"

#include <algorithm>
#include <cstdint>

namespace {

// Names of U+00A0 to U+00FF, in order.
constexpr std::string_view Latin1[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct Named {
    std::string_view name;
    char32_t cp;
};

constexpr Named Others[] = {
    {"quot", 0x22},     {"amp", 0x26},      {"apos", 0x27},     {"lt", 0x3C},
    {"gt", 0x3E},       {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},
    {"scaron", 0x161},  {"Yuml", 0x178},    {"Zcaron", 0x17D},  {"zcaron", 0x17E},
    {"fnof", 0x192},    {"circ", 0x2C6},    {"tilde", 0x2DC},   {"ensp", 0x2002},
    {"emsp", 0x2003},   {"thinsp", 0x2009}, {"zwnj", 0x200C},   {"zwj", 0x200D},
    {"lrm", 0x200E},    {"rlm", 0x200F},    {"ndash", 0x2013},  {"mdash", 0x2014},
    {"lsquo", 0x2018},  {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"ldquo", 0x201C},
    {"rdquo", 0x201D},  {"bdquo", 0x201E},  {"dagger", 0x2020}, {"Dagger", 0x2021},
    {"bull", 0x2022},   {"hellip", 0x2026}, {"permil", 0x2030}, {"prime", 0x2032},
    {"Prime", 0x2033},  {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"oline", 0x203E},
    {"euro", 0x20AC},   {"trade", 0x2122},  {"larr", 0x2190},   {"rarr", 0x2192},
    {"minus", 0x2212},  {"radic", 0x221A},  {"infin", 0x221E},  {"ne", 0x2260},
    {"le", 0x2264},     {"ge", 0x2265},     {"alpha", 0x3B1},   {"beta", 0x3B2},
    {"gamma", 0x3B3},   {"delta", 0x3B4},   {"Delta", 0x394},   {"epsilon", 0x3B5},
    {"theta", 0x3B8},   {"lambda", 0x3BB},  {"mu", 0x3BC},      {"pi", 0x3C0},
    {"Pi", 0x3A0},      {"rho", 0x3C1},     {"sigma", 0x3C3},   {"Sigma", 0x3A3},
    {"tau", 0x3C4},     {"phi", 0x3C6},     {"omega", 0x3C9},   {"Omega", 0x3A9},
    {"hearts", 0x2665}, {"spades", 0x2660}, {"clubs", 0x2663},  {"diams", 0x2666}};

// The character of the reference body between '&' and ';', or -1.
std::int64_t lookup(std::string_view body) {
    if (body.size() >= 2 && body[0] == '#') {
        const bool hex = body[1] == 'x' || body[1] == 'X';
        std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8) return -1;
        std::int64_t cp = 0;
        for (char d : digits) {
            int v = -1;
            if (d >= '0' && d <= '9')
                v = d - '0';
            else if (hex && d >= 'a' && d <= 'f')
                v = d - 'a' + 10;
            else if (hex && d >= 'A' && d <= 'F')
                v = d - 'A' + 10;
            if (v < 0) return -1;
            cp = cp * (hex ? 16 : 10) + v;
        }
        // No character has these numbers: the reference is kept as it is written rather than
        // turned into a character the file does not hold.
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
        return cp;
    }
    for (std::size_t i = 0; i < 96; ++i)
        if (Latin1[i] == body) return static_cast<std::int64_t>(0xA0 + i);
    for (const auto& n : Others)
        if (n.name == body) return n.cp;
    return -1;
}

} // namespace

namespace HtmlEntities {

std::string decode(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t amp = s.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(s.substr(i));
            break;
        }
        out.append(s.substr(i, amp - i));
        // Reference names are short; a ';' further off belongs to other text.
        const std::size_t semi = s.substr(amp, 12).find(';');
        const std::int64_t cp =
            semi == std::string_view::npos ? -1 : lookup(s.substr(amp + 1, semi - 1));
        if (cp < 0) {
            out += '&';
            i = amp + 1;
            continue;
        }
        Cp1252::appendUtf8(out, static_cast<char32_t>(cp));
        i = amp + semi + 1;
    }
    return out;
}

std::string encode(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#039;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace HtmlEntities
