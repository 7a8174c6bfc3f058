#include "GiveAwayPairs.h"

#include "Cp1252.h"
#include "QstImporter.h"
#include "QstText.h"
#include "QstTool.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <tuple>
#include <unordered_map>

namespace {

constexpr const char* Me = "trivora-qst: ";
constexpr std::size_t MaxRecordBytes = std::size_t{64} << 20;

// Answers that fit questions of every topic, so that finding them in another question tells
// nothing: words of quantity and choice, and the little words of English that stand in most
// questions (an answer such as the logic gate AND). As word sequences, folded.
// clang-format off
constexpr std::string_view CommonAnswers[] = {
    "none", "all", "both", "neither", "either", "nothing", "yes", "no", "true", "false",
    "many", "much", "more", "most", "less", "few", "some", "any",
    "a", "an", "the", "and", "or", "not", "nor", "but", "if", "of", "in", "on", "at", "to",
    "by", "for", "with", "from", "as", "is", "it",
    "all of these", "all of the above", "none of these", "none of the above", "both of these",
    "neither of these"};
constexpr std::string_view NumberWords[] = {
    "zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten",
    "eleven", "twelve"};
// clang-format on

// A Windows-1252 byte that belongs to a word: ASCII letters and digits and the code page's
// letters (ª µ º, À to ÿ but for × and ÷, and Š Œ Ž š œ ž Ÿ).
bool isWordByte(unsigned char b) {
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')) return true;
    if (b >= 0xC0) return b != 0xD7 && b != 0xF7;
    return b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E ||
           b == 0x9F || b == 0xAA || b == 0xB5 || b == 0xBA;
}

// The words of a UTF-8 text, folded to lower case. Text the code page cannot hold (the
// import refuses it anyway) keeps its ASCII words only.
std::vector<std::string> wordsOf(std::string_view utf8) {
    std::string text;
    if (!Cp1252::fromUtf8(utf8, text)) {
        text.assign(utf8);
        for (char& c : text)
            if (static_cast<unsigned char>(c) >= 0x80) c = ' ';
    }
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (isWordByte(static_cast<unsigned char>(c))) {
            word += static_cast<char>(QstText::foldByte(static_cast<unsigned char>(c)));
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

std::string whyNotSearched(const std::vector<std::string>& words) {
    if (words.empty()) return "it holds no letter or digit";
    const std::string& first = words[0];
    if (words.size() == 1 && first.size() <= 2 &&
        std::all_of(first.begin(), first.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        std::stoi(first) <= 12)
        return "a number from 0 to 12";
    if (words.size() == 1 &&
        std::find(std::begin(NumberWords), std::end(NumberWords), first) != std::end(NumberWords))
        return "a number from 0 to 12";
    if (words.size() == 1 && first.size() == 1) return "a single letter";
    std::string joined;
    for (const std::string& w : words)
        joined += (joined.empty() ? "" : " ") + w;
    for (std::string_view common : CommonAnswers)
        if (joined == common) return "too common an answer";
    return {};
}

// The plural endings a word may take: "s", and "es" after s, x, z, ch, sh and o.
bool takesEs(std::string_view word) {
    return word.ends_with('s') || word.ends_with('x') || word.ends_with('z') ||
           word.ends_with("ch") || word.ends_with("sh") || word.ends_with('o');
}

// The word as written or with a plural ending.
bool sameWordOrPlural(const std::string& found, const std::string& word) {
    if (!found.starts_with(word)) return false;
    const std::string_view rest = std::string_view(found).substr(word.size());
    return rest.empty() || rest == "s" || (rest == "es" && takesEs(word));
}

// A key that finds a record line by the pair it names.
std::string pairKey(std::string_view file, std::string_view answer, std::string_view question) {
    auto fold = [](std::string_view utf8) {
        std::string text;
        if (!Cp1252::fromUtf8(utf8, text)) text.assign(utf8);
        return QstText::compareKey(text);
    };
    std::string key(file);
    key += '\0';
    key += fold(answer);
    key += '\0';
    key += fold(question);
    return key;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string whyAnswerIsNotSearched(std::string_view answer) {
    return whyNotSearched(wordsOf(answer));
}

GiveAwaySearch findGiveAways(const std::vector<SourceRow>& rows) {
    GiveAwaySearch search;
    // Where each word stands in the questions: row and word position.
    std::vector<std::vector<std::string>> questionWords(rows.size());
    std::unordered_map<std::string, std::vector<std::pair<std::uint32_t, std::uint32_t>>> where;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        questionWords[r] = wordsOf(rows[r].fields[0]);
        for (std::size_t p = 0; p < questionWords[r].size(); ++p)
            where[questionWords[r][p]].emplace_back(static_cast<std::uint32_t>(r),
                                                    static_cast<std::uint32_t>(p));
    }
    for (std::size_t a = 0; a < rows.size(); ++a) {
        const std::vector<std::string> answer = wordsOf(rows[a].fields[1]);
        if (std::string why = whyNotSearched(answer); !why.empty()) {
            search.unsearched.push_back({a, std::move(why)});
            continue;
        }
        // The forms a word of the answer may take in a question: the last may be plural.
        const std::size_t last = answer.size() - 1;
        auto formsOf = [&](std::size_t i) {
            std::vector<std::string> forms = {answer[i]};
            if (i == last) {
                forms.push_back(answer[i] + "s");
                if (takesEs(answer[i])) forms.push_back(answer[i] + "es");
            }
            return forms;
        };
        // Candidates come from the answer's rarest word, so that a common word in it ("The
        // Beatles") does not make the search look at nearly every question.
        std::size_t anchor = 0;
        std::size_t fewest = static_cast<std::size_t>(-1);
        for (std::size_t i = 0; i <= last; ++i) {
            std::size_t count = 0;
            for (const std::string& form : formsOf(i))
                if (const auto it = where.find(form); it != where.end()) count += it->second.size();
            if (count < fewest) {
                anchor = i;
                fewest = count;
            }
        }
        std::vector<std::size_t> holders;
        for (const std::string& form : formsOf(anchor)) {
            const auto it = where.find(form);
            if (it == where.end()) continue;
            for (const auto& [q, p] : it->second) {
                const std::vector<std::string>& words = questionWords[q];
                if (q == a || p < anchor || p - anchor + answer.size() > words.size()) continue;
                const std::size_t start = p - anchor;
                bool held = true;
                for (std::size_t i = 0; i <= last && held; ++i)
                    held = i < last ? words[start + i] == answer[i]
                                    : sameWordOrPlural(words[start + i], answer[i]);
                if (held) holders.push_back(q);
            }
        }
        std::sort(holders.begin(), holders.end());
        holders.erase(std::unique(holders.begin(), holders.end()), holders.end());
        for (std::size_t q : holders)
            search.pairs.push_back({a, q});
    }
    std::sort(search.pairs.begin(), search.pairs.end(), [](const GiveAway& x, const GiveAway& y) {
        return std::tie(x.questionRow, x.answerRow) < std::tie(y.questionRow, y.answerRow);
    });
    return search;
}

bool parseReviewedPairs(std::string_view text, std::vector<ReviewedPair>& pairs,
                        std::string& error) {
    pairs.clear();
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = QstText::trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.empty() || line.starts_with('#')) continue;
        // The question may hold a bar itself: it is everything between the answer and the
        // last bar.
        const std::size_t first = line.find('|');
        const std::size_t second =
            first == std::string_view::npos ? first : line.find('|', first + 1);
        const std::size_t last = line.rfind('|');
        ReviewedPair pair;
        if (second != std::string_view::npos && last > second) {
            pair.file = QstText::trim(line.substr(0, first));
            pair.answer = QstText::trim(line.substr(first + 1, second - first - 1));
            pair.question = QstText::trim(line.substr(second + 1, last - second - 1));
            pair.reason = QstText::trim(line.substr(last + 1));
        }
        if (pair.file.empty() || pair.answer.empty() || pair.question.empty() ||
            pair.reason.empty()) {
            error = "line " + std::to_string(number) +
                    ": not of the form FILE | ANSWER | QUESTION | REASON";
            return false;
        }
        pair.line = number;
        pairs.push_back(std::move(pair));
    }
    return true;
}

int listGiveAways(const PairsOptions& options, std::ostream& out, std::ostream& err) {
    if (options.sources.empty()) return usageError(err, "pairs needs at least one SOURCE");
    for (const std::string& source : options.sources)
        if (formatOfSource(source, SourceFormat::Auto) == SourceFormat::Auto)
            return usageError(err, source + ": cannot tell the format from the name (use .csv, "
                                            ".json or .txt)");
    const bool all = options.all;

    // The record, by the pair each line names.
    const std::string recordPath = options.reviewed.value_or(std::string());
    std::vector<ReviewedPair> record;
    if (options.reviewed) {
        std::string bytes, why;
        if (QstText::readWholeFile(recordPath, bytes, why, MaxRecordBytes) != QstText::Read::Read ||
            !parseReviewedPairs(QstText::decodeInput(bytes), record, why)) {
            if (!why.starts_with(recordPath)) why = recordPath + ": " + why;
            err << Me << why << "\n";
            return 1;
        }
    }
    std::map<std::string, std::size_t> reviewed;
    std::vector<bool> used(record.size(), false);
    for (std::size_t i = 0; i < record.size(); ++i) {
        const auto [it, fresh] =
            reviewed.emplace(pairKey(record[i].file, record[i].answer, record[i].question), i);
        if (!fresh) {
            err << recordPath << ":" << record[i].line << ": note: the same pair as line "
                << record[it->second].line << "\n";
            used[i] = true;
        }
    }

    bool rejected = false;
    std::size_t pairCount = 0, reviewedCount = 0, unsearchedCount = 0;
    std::vector<std::string> files;
    for (const std::string& source : options.sources) {
        CollectingSink sink;
        if (const SourceError error = readSource(source, SourceFormat::Auto, sink)) {
            reportRejectedSource(source, error, err);
            rejected = true;
            continue;
        }
        const ParsedSource parsed = sink.finish({});
        const std::string file = baseName(source);
        files.push_back(file);
        const std::vector<SourceRow>& rows = parsed.rows;
        const GiveAwaySearch search = findGiveAways(rows);
        for (const GiveAway& pair : search.pairs) {
            const SourceRow& a = rows[pair.answerRow];
            const SourceRow& q = rows[pair.questionRow];
            const auto it = reviewed.find(pairKey(file, a.fields[1], q.fields[0]));
            ++pairCount;
            if (it != reviewed.end()) {
                ++reviewedCount;
                used[it->second] = true;
                if (!all) continue;
            }
            out << source << ":" << q.line << ": \"" << q.fields[0] << "\" holds \"" << a.fields[1]
                << "\", the answer of " << source << ":" << a.line;
            if (it != reviewed.end()) out << " [reviewed: " << record[it->second].reason << "]";
            out << "\n";
        }
        unsearchedCount += search.unsearched.size();
        if (all)
            for (const UnsearchedAnswer& u : search.unsearched)
                out << source << ":" << rows[u.row].line << ": answer \"" << rows[u.row].fields[1]
                    << "\" not looked for: " << u.reason << "\n";
    }

    // Record lines about the files searched that no longer name a pair.
    for (std::size_t i = 0; i < record.size(); ++i)
        if (!used[i] && std::find(files.begin(), files.end(), record[i].file) != files.end())
            err << recordPath << ":" << record[i].line << ": note: no such pair in "
                << record[i].file << " any more\n";

    const std::size_t open = pairCount - reviewedCount;
    err << Me << plural(pairCount, "pair", "pairs") << " found, " << reviewedCount << " reviewed, "
        << open << " not reviewed; " << plural(unsearchedCount, "answer", "answers")
        << " too short or too common to look for" << (all ? "" : " (--all lists them)") << "\n";
    return rejected || open > 0 ? 1 : 0;
}
