#include "OtdbSource.h"

#include "HtmlEntities.h"

#include <nlohmann/json.hpp>

#include <iterator>
#include <string>

namespace {

using Json = nlohmann::json;

constexpr std::size_t MaxDepth = 256;

// How far the JSON parser has read: the line breaks passed, and whether the last character
// passed was one (a number ends only at the character after it, which may be a line break).
struct ReadProgress {
    std::size_t breaks = 0;
    bool lastWasBreak = false;
};

// Walks the text for the JSON parser and counts the line breaks it has passed, so that
// events can be given the line they are on.
class LineCountingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    LineCountingIterator(const char* at, ReadProgress* progress) : at(at), progress(progress) {}
    reference operator*() const { return *at; }
    LineCountingIterator& operator++() {
        progress->lastWasBreak = *at == '\n';
        if (progress->lastWasBreak) ++progress->breaks;
        ++at;
        return *this;
    }
    LineCountingIterator operator++(int) {
        LineCountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const LineCountingIterator& other) const { return at == other.at; }
    bool operator!=(const LineCountingIterator& other) const { return at != other.at; }

private:
    const char* at;
    ReadProgress* progress;
};

// What a document may hold where a value is expected, as far as the reader cares.
enum class Kind { Number, String, Other };

// One entry of "results" as far as it has been read.
struct Entry {
    std::size_t line = 0;
    bool isObject = false;
    // Members seen, by bit: type, question, correct_answer, incorrect_answers, category,
    // difficulty.
    unsigned seen = 0;
    std::string type;
    std::string category;
    std::string difficulty;
    // A member given twice: which one is meant cannot be told.
    std::string twice;
    std::string question;
    std::string correct;
    bool hasType = false, typeIsText = false, hasQuestion = false, hasCorrect = false;
    bool hasWrongList = false, wrongAllText = true;
    std::size_t wrongCount = 0;
    std::string wrong[3];
};

// Reads the document event by event, keeping no more than the entry being read. It makes
// two passes over a document: the first only checks its syntax and shape, so that a
// document rejected as a whole hands on no row; the second hands the entries to the sink.
class OtdbReader {
public:
    OtdbReader(SourceSink* sink, const ReadProgress* progress) : sink(sink), progress(progress) {}

    // The document's fault as a whole, once the parse is over.
    SourceError verdict(bool parsed) const {
        if (!parsed) return syntax;
        const char* shape = "not an Open Trivia Database document (expected an object with a "
                            "\"results\" list)";
        if (!topIsObject) return {shape, topLine};
        if (codeSeen && !codeFine)
            return {"response_code is " + codeText + ", not 0: the download holds no questions",
                    codeLine};
        if (!resultsSeen) return {shape, topLine};
        if (!resultsIsList) return {shape, resultsLine};
        return {};
    }

    // The SAX interface of the JSON parser.
    bool null() { return scalar(Kind::Other, {}); }
    bool boolean(bool) { return scalar(Kind::Other, {}); }
    bool number_integer(Json::number_integer_t v) { return number(std::to_string(v)); }
    bool number_unsigned(Json::number_unsigned_t v) { return number(std::to_string(v)); }
    bool number_float(Json::number_float_t, const std::string& text) {
        return number(std::string(text));
    }
    bool string(std::string& text) { return scalar(Kind::String, std::move(text)); }
    bool binary(Json::binary_t&) { return scalar(Kind::Other, {}); }

    bool start_object(std::size_t) { return open(true); }
    bool start_array(std::size_t) { return open(false); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool key(std::string& name) {
        keyLine = line();
        if (depth == 1) {
            topKey = TopKey::Other;
            if (name == "response_code" && !codeSeen) topKey = TopKey::Code;
            if (name == "results" && !resultsSeen) topKey = TopKey::Results;
        } else if (depth == 3 && inResults) {
            static constexpr const char* Names[] = {"type",     "question",         "correct_answer",
                                                    "incorrect_answers", "category", "difficulty"};
            member = -1;
            for (int m = 0; m < 6; ++m) {
                if (name != Names[m]) continue;
                if (entry.seen & (1u << m)) {
                    if (entry.twice.empty()) entry.twice = name;
                } else {
                    member = m;
                    entry.seen |= 1u << m;
                }
            }
        }
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
        std::string what = e.what();
        // The library's message starts with its own prefix and position; keep the reason.
        if (const std::size_t at = what.find("column "); at != std::string::npos)
            if (const std::size_t colon = what.find(": ", at); colon != std::string::npos)
                what.erase(0, colon + 2);
        // What the parser read last may run back over the whole document; its end will do.
        constexpr std::string_view LastRead = "last read: '";
        if (const std::size_t from = what.find(LastRead); from != std::string::npos) {
            const std::size_t start = from + LastRead.size();
            const std::size_t end = what.find("'; ", start);
            const std::size_t stop = end == std::string::npos ? what.size() : end;
            constexpr std::size_t Keep = 30;
            if (stop - start > Keep) what.replace(start, stop - start - Keep, "...");
        }
        syntax = {"not valid JSON: " + what, line()};
        return false;
    }

private:
    enum class TopKey { Code, Results, Other };

    // The line of the event being read; a number's character after it is not yet its line.
    std::size_t line() const {
        return progress->breaks + 1 - (inNumber && progress->lastWasBreak ? 1 : 0);
    }
    bool number(std::string&& text) {
        inNumber = true;
        const bool goOn = scalar(Kind::Number, std::move(text));
        inNumber = false;
        return goOn;
    }

    // A value that is not a container, at the current depth.
    bool scalar(Kind kind, std::string&& text) {
        if (depth == 0) {
            topLine = line();
        } else if (depth == 1 && topKey == TopKey::Code) {
            codeSeen = true;
            codeLine = keyLine;
            codeFine = kind == Kind::Number && text == "0";
            codeText = kind == Kind::Number ? text : "not a number";
        } else if (depth == 1 && topKey == TopKey::Results) {
            resultsSeen = true;
            resultsLine = keyLine;
        } else if (depth == 2 && inResults) {
            entry = {};
            entry.line = line();
            finishEntry();
        } else if (depth == 3 && inResults && entry.isObject) {
            switch (member) {
            case 0:
                entry.hasType = true;
                entry.typeIsText = kind == Kind::String;
                entry.type = std::move(text);
                break;
            case 1:
                entry.hasQuestion = kind == Kind::String;
                entry.question = std::move(text);
                break;
            case 2:
                entry.hasCorrect = kind == Kind::String;
                entry.correct = std::move(text);
                break;
            case 4:
                if (kind == Kind::String) entry.category = std::move(text);
                break;
            case 5:
                if (kind == Kind::String) entry.difficulty = std::move(text);
                break;
            default:
                break;
            }
        } else if (depth == 4 && inWrongList) {
            if (kind != Kind::String) entry.wrongAllText = false;
            if (entry.wrongCount < 3) entry.wrong[entry.wrongCount] = std::move(text);
            ++entry.wrongCount;
        }
        return true;
    }

    bool open(bool isObject) {
        if (depth >= MaxDepth) {
            syntax = {"not valid JSON: nested too deeply", line()};
            return false;
        }
        if (depth == 0) {
            topLine = line();
            topIsObject = isObject;
        } else if (depth == 1 && topKey == TopKey::Code) {
            codeSeen = true;
            codeLine = keyLine;
            codeText = "not a number";
        } else if (depth == 1 && topKey == TopKey::Results) {
            resultsSeen = true;
            resultsLine = line();
            resultsIsList = !isObject;
            inResults = resultsIsList;
        } else if (depth == 2 && inResults) {
            entry = {};
            entry.line = line();
            entry.isObject = isObject;
        } else if (depth == 3 && inResults && entry.isObject) {
            if (member == 3 && !isObject) {
                entry.hasWrongList = true;
                inWrongList = true;
            }
            if (member == 0) entry.hasType = true;
        } else if (depth == 4 && inWrongList) {
            entry.wrongAllText = false;
            ++entry.wrongCount;
        }
        ++depth;
        return true;
    }

    bool close() {
        --depth;
        if (depth == 1 && inResults) inResults = false;
        if (depth == 2 && inResults) finishEntry();
        if (depth == 3 && inWrongList) inWrongList = false;
        return true;
    }

    void finishEntry() {
        if (!sink) return;
        SourceRow row;
        row.line = entry.line;
        std::string why = readEntry(row);
        if (why.empty())
            sink->take(std::move(row));
        else
            sink->skip(entry.line, std::move(why));
    }

    // The row of the entry just read, or why it cannot be a question.
    std::string readEntry(SourceRow& row) {
        if (!entry.isObject) return "entry is not an object";
        if (!entry.twice.empty()) return "\"" + entry.twice + "\" given twice";
        if (entry.hasType) {
            if (!entry.typeIsText) return "\"type\" is not a string";
            if (entry.type == "boolean") return "true/false question";
            if (entry.type != "multiple") return "unknown question type \"" + entry.type + "\"";
        }
        if (!entry.hasQuestion) return "no \"question\" text";
        if (!entry.hasCorrect) return "no \"correct_answer\" text";
        if (!entry.hasWrongList) return "no \"incorrect_answers\" list";
        if (entry.wrongCount != 3)
            return "\"incorrect_answers\" holds " + std::to_string(entry.wrongCount) +
                   " answers (3 needed)";
        if (!entry.wrongAllText) return "\"incorrect_answers\" holds a value that is not text";
        row.fields[0] = HtmlEntities::decode(entry.question);
        row.fields[1] = HtmlEntities::decode(entry.correct);
        for (std::size_t k = 0; k < 3; ++k)
            row.fields[2 + k] = HtmlEntities::decode(entry.wrong[k]);
        row.topic = HtmlEntities::decode(entry.category);
        // Marks other than the three are no marks: downloads may carry their own words.
        row.mark = difficultyFromName(entry.difficulty).value_or(Difficulty::None);
        return {};
    }

    SourceSink* sink;
    const ReadProgress* progress;
    bool inNumber = false;
    std::size_t depth = 0;
    std::size_t keyLine = 1;
    SourceError syntax;

    std::size_t topLine = 1;
    bool topIsObject = false;
    TopKey topKey = TopKey::Other;
    bool codeSeen = false, codeFine = false;
    std::string codeText;
    std::size_t codeLine = 0;
    bool resultsSeen = false, resultsIsList = false;
    std::size_t resultsLine = 0;

    bool inResults = false;
    bool inWrongList = false;
    int member = -1;
    Entry entry;
};

SourceError readDocument(std::string_view utf8, SourceSink* sink) {
    ReadProgress progress;
    OtdbReader reader(sink, &progress);
    const bool parsed =
        Json::sax_parse(LineCountingIterator(utf8.data(), &progress),
                        LineCountingIterator(utf8.data() + utf8.size(), &progress), &reader);
    return reader.verdict(parsed);
}

} // namespace

SourceError parseOtdbSource(std::string_view utf8, SourceSink& sink) {
    if (SourceError error = readDocument(utf8, nullptr)) return error;
    return readDocument(utf8, &sink);
}

ParsedSource parseOtdbSource(std::string_view utf8) {
    CollectingSink sink;
    SourceError error = parseOtdbSource(utf8, sink);
    return sink.finish(std::move(error));
}
