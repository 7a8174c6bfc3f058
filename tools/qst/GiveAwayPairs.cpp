#include "GiveAwayPairs.h"

#include "Cp1252.h"
#include "QstImporter.h"
#include "QstText.h"
#include "QstTool.h"

#include "WordStemmer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <span>
#include <tuple>
#include <unordered_map>

#include <sys/stat.h>

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
    "who", "what", "which", "where", "when", "why", "how",
    "all of these", "all of the above", "none of these", "none of the above", "both of these",
    "neither of these"};
// Words of grammar that the stemmer would take for word forms of others ("does" for "doe",
// "was" for "wa"): each stands for itself only, and none is a word of a question's topic.
constexpr std::string_view GrammarWords[] = {
    "do", "does", "did", "done", "doing", "is", "was", "were", "are", "be", "been", "being",
    "has", "have", "had", "having", "can", "could", "would", "should", "may", "might", "must",
    "will", "shall", "this", "that", "these", "those", "its", "his", "her", "hers", "their",
    "there", "into", "than", "then", "also", "s", "i", "you", "he", "she", "we", "they"};
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

bool isArticle(std::string_view word) {
    return word == "a" || word == "an" || word == "the";
}

bool isGrammarWord(std::string_view word) {
    return std::find(std::begin(GrammarWords), std::end(GrammarWords), word) !=
           std::end(GrammarWords);
}

// A word that says nothing of a question's topic: one of the common single-word answers, or
// a word of grammar.
bool isLittleWord(std::string_view word) {
    return isGrammarWord(word) || std::find(std::begin(CommonAnswers), std::end(CommonAnswers),
                                            word) != std::end(CommonAnswers);
}

// Duplicates and questions that answer themselves are few and always worth reading.
bool isAlwaysListed(GiveAwayKind kind) {
    return kind == GiveAwayKind::Duplicate || kind == GiveAwayKind::OwnWording;
}

// Where a question gives an answer away weighs on how surely a player meets it.
double weightOf(GiveAwayKind kind) {
    switch (kind) {
    case GiveAwayKind::Text:
    case GiveAwayKind::OwnWording:
        return 3;
    case GiveAwayKind::ShownAnswer:
        return 2;
    default:
        return 1;
    }
}

// Every word of every field of the rows as the number of its stem, and where each stem
// stands: an index from stems to rows, so that its size follows the words, not the pairs of
// rows.
class WordIndex {
public:
    struct Posting {
        std::uint32_t row;
        std::uint32_t field;
        std::uint32_t position;
    };

    explicit WordIndex(std::size_t rows) : m_rows(rows), m_stems(rows * 5) {}

    void add(std::size_t row, std::size_t field, const std::vector<std::string>& words,
             WordStemmer& stemmer) {
        std::vector<std::uint32_t>& ids = m_stems[row * 5 + field];
        ids.reserve(words.size());
        for (const std::string& word : words) {
            const std::uint32_t id = idOf(word, stemmer);
            m_postings[id].push_back({static_cast<std::uint32_t>(row),
                                      static_cast<std::uint32_t>(field),
                                      static_cast<std::uint32_t>(ids.size())});
            if (m_lastRow[id] != row + 1) {
                m_lastRow[id] = static_cast<std::uint32_t>(row + 1);
                ++m_rowsHolding[id];
            }
            ids.push_back(id);
        }
    }

    std::span<const std::uint32_t> stems(std::size_t row, std::size_t field) const {
        return m_stems[row * 5 + field];
    }
    const std::vector<Posting>& postings(std::uint32_t id) const { return m_postings[id]; }
    // ln((rows + 1) / rows holding the stem): near 0 for a stem in most rows.
    double rarity(std::uint32_t id) const {
        return std::log((static_cast<double>(m_rows) + 1) / m_rowsHolding[id]);
    }
    bool isArticle(std::uint32_t id) const { return m_article[id]; }
    bool isLittleWord(std::uint32_t id) const { return m_little[id]; }

private:
    std::uint32_t idOf(const std::string& word, WordStemmer& stemmer) {
        if (const auto it = m_idOfWord.find(word); it != m_idOfWord.end()) return it->second;
        // A word of grammar is kept apart from every stem by a mark no word holds.
        std::string stem = isGrammarWord(word) ? "=" + word : stemmer.stem(Cp1252::toUtf8(word));
        const auto [it, fresh] =
            m_idOfStem.emplace(std::move(stem), static_cast<std::uint32_t>(m_idOfStem.size()));
        const std::uint32_t id = it->second;
        if (fresh) {
            m_postings.emplace_back();
            m_rowsHolding.push_back(0);
            m_lastRow.push_back(0);
            m_article.push_back(false);
            m_little.push_back(false);
        }
        if (::isArticle(word)) m_article[id] = true;
        if (::isLittleWord(word)) m_little[id] = true;
        m_idOfWord.emplace(word, id);
        return id;
    }

    std::size_t m_rows;
    std::unordered_map<std::string, std::uint32_t> m_idOfWord;
    std::unordered_map<std::string, std::uint32_t> m_idOfStem;
    std::vector<std::vector<std::uint32_t>> m_stems;
    std::vector<std::vector<Posting>> m_postings;
    std::vector<std::uint32_t> m_rowsHolding;
    std::vector<std::uint32_t> m_lastRow;
    std::vector<bool> m_article;
    std::vector<bool> m_little;
};

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

std::string_view giveAwayKindName(GiveAwayKind kind) {
    switch (kind) {
    case GiveAwayKind::Duplicate:
        return "duplicate";
    case GiveAwayKind::Text:
        return "text";
    case GiveAwayKind::OwnWording:
        return "own wording";
    case GiveAwayKind::ShownAnswer:
        return "shown answer";
    case GiveAwayKind::Option:
        return "option";
    }
    return {};
}

std::string whyAnswerIsNotSearched(std::string_view answer) {
    return whyNotSearched(wordsOf(answer));
}

GiveAwaySearch findGiveAways(const std::vector<SourceRow>& rows) {
    GiveAwaySearch search;
    WordStemmer stemmer;
    WordIndex index(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t f = 0; f < 5; ++f)
            index.add(r, f, wordsOf(rows[r].fields[f]), stemmer);

    // The same question twice: the same stems, articles aside. Pairs between two copies are
    // told as one duplicate and nothing else.
    std::vector<std::size_t> firstCopy(rows.size());
    {
        std::unordered_map<std::string, std::size_t> seen;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            std::string key;
            for (std::uint32_t id : index.stems(r, 0))
                if (!index.isArticle(id)) key.append(reinterpret_cast<const char*>(&id), sizeof id);
            firstCopy[r] = seen.emplace(std::move(key), r).first->second;
            if (firstCopy[r] != r)
                search.pairs.push_back({firstCopy[r], r, GiveAwayKind::Duplicate, 0, 0.0, {}});
        }
    }

    std::unordered_map<std::size_t, std::size_t> found; // question row -> field, for one answer
    for (std::size_t a = 0; a < rows.size(); ++a) {
        const std::vector<std::string> words = wordsOf(rows[a].fields[1]);
        if (std::string why = whyNotSearched(words); !why.empty()) {
            search.unsearched.push_back({a, std::move(why)});
            continue;
        }
        // A leading article is left out, unless what is left is too common to look for
        // ("The Who").
        std::span<const std::uint32_t> needle = index.stems(a, 1);
        if (needle.size() > 1 && index.isArticle(needle[0]) &&
            whyNotSearched({words.begin() + 1, words.end()}).empty())
            needle = needle.subspan(1);
        double rarity = 0;
        for (std::uint32_t id : needle)
            rarity += index.rarity(id);

        // Candidates come from the needle's rarest stem, so that a common word in it ("Battle
        // of Hastings") does not make the search look at nearly every question.
        std::size_t anchor = 0;
        for (std::size_t i = 1; i < needle.size(); ++i)
            if (index.postings(needle[i]).size() < index.postings(needle[anchor]).size())
                anchor = i;
        found.clear();
        for (const WordIndex::Posting& at : index.postings(needle[anchor])) {
            const std::size_t q = at.row;
            if (q == a || firstCopy[q] == firstCopy[a] || at.position < anchor) continue;
            const std::span<const std::uint32_t> text = index.stems(q, at.field);
            const std::size_t start = at.position - anchor;
            if (start + needle.size() > text.size() ||
                !std::equal(needle.begin(), needle.end(), text.begin() + start))
                continue;
            // The strongest place: the text, then the correct answer, then an option.
            const auto [it, fresh] = found.emplace(q, at.field);
            if (!fresh) it->second = std::min<std::size_t>(it->second, at.field);
        }
        for (const auto& [q, field] : found) {
            const GiveAwayKind kind = field == 0   ? GiveAwayKind::Text
                                      : field == 1 ? GiveAwayKind::ShownAnswer
                                                   : GiveAwayKind::Option;
            // The words of the answer's question that the other question shares (besides the
            // answer's): the two are about the same thing, and the one is likelier to answer
            // the other.
            double shared = 0;
            std::vector<std::uint32_t> counted(needle.begin(), needle.end());
            for (std::uint32_t id : index.stems(a, 0)) {
                if (index.isLittleWord(id) ||
                    std::find(counted.begin(), counted.end(), id) != counted.end())
                    continue;
                counted.push_back(id);
                for (std::size_t f = 0; f < 5; ++f) {
                    const std::span<const std::uint32_t> other = index.stems(q, f);
                    if (std::find(other.begin(), other.end(), id) != other.end()) {
                        shared += index.rarity(id);
                        break;
                    }
                }
            }
            search.pairs.push_back({a, q, kind, field, weightOf(kind) * (rarity + shared), {}});
        }

        // A question that answers itself: a word of its correct answer stands in its text
        // while no word of a wrong option does.
        const std::span<const std::uint32_t> text = index.stems(a, 0);
        auto sharesWordWithText = [&](std::size_t field) {
            return std::any_of(index.stems(a, field).begin(), index.stems(a, field).end(),
                               [&](std::uint32_t id) {
                                   return !index.isLittleWord(id) &&
                                          std::find(text.begin(), text.end(), id) != text.end();
                               });
        };
        if (sharesWordWithText(1) && !sharesWordWithText(2) && !sharesWordWithText(3) &&
            !sharesWordWithText(4)) {
            GiveAway self{a, a, GiveAwayKind::OwnWording, 0, 0.0, {}};
            const std::span<const std::uint32_t> answer = index.stems(a, 1);
            for (std::size_t i = 0; i < answer.size(); ++i) {
                const std::uint32_t id = answer[i];
                if (index.isLittleWord(id) ||
                    std::find(text.begin(), text.end(), id) == text.end() ||
                    std::find(answer.begin(), answer.begin() + i, id) != answer.begin() + i)
                    continue;
                self.score += weightOf(GiveAwayKind::OwnWording) * index.rarity(id);
                self.words += (self.words.empty() ? "" : " ") + Cp1252::toUtf8(words[i]);
            }
            search.pairs.push_back(std::move(self));
        }
    }
    std::sort(search.pairs.begin(), search.pairs.end(), [](const GiveAway& x, const GiveAway& y) {
        const bool xd = x.kind == GiveAwayKind::Duplicate, yd = y.kind == GiveAwayKind::Duplicate;
        return std::tuple(!xd, -x.score, x.questionRow, x.answerRow) <
               std::tuple(!yd, -y.score, y.questionRow, y.answerRow);
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

    // Only regular files are read: a folder, pipe or device is a usage error, said at once.
    for (const std::string& source : options.sources) {
        struct stat st {};
        if (::stat(source.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            return usageError(err, source + (S_ISDIR(st.st_mode) ? ": is a folder"
                                                                  : ": not a regular file"));
    }
    // Every source together, as the full set plays them.
    bool rejected = false;
    std::vector<SourceRow> rows;
    std::vector<std::size_t> sourceOf;
    std::vector<std::string> files;
    for (std::size_t s = 0; s < options.sources.size(); ++s) {
        const std::string& source = options.sources[s];
        // The rows are kept for the pairing; rows a reader skips are of no use here.
        struct RowSink : SourceSink {
            std::vector<SourceRow>& rows;
            std::vector<std::size_t>& sourceOf;
            std::size_t source;
            RowSink(std::vector<SourceRow>& rows, std::vector<std::size_t>& sourceOf, std::size_t source)
                : rows(rows), sourceOf(sourceOf), source(source) {}
            void take(SourceRow&& row) override {
                rows.push_back(std::move(row));
                sourceOf.push_back(source);
            }
            void skip(std::size_t, std::string&&) override {}
        };
        const std::size_t before = rows.size();
        RowSink sink(rows, sourceOf, s);
        if (const SourceError error = readSource(source, SourceFormat::Auto, sink)) {
            rows.resize(before);
            sourceOf.resize(before);
            reportRejectedSource(source, error, err);
            rejected = true;
            continue;
        }
        files.push_back(baseName(source));
    }
    const GiveAwaySearch search = findGiveAways(rows);

    auto place = [&](std::size_t row) {
        return options.sources[sourceOf[row]] + ":" + std::to_string(rows[row].line);
    };
    std::size_t reviewedCount = 0, belowCount = 0;
    for (const GiveAway& pair : search.pairs) {
        const SourceRow& a = rows[pair.answerRow];
        const SourceRow& q = rows[pair.questionRow];
        const auto it = reviewed.find(
            pairKey(baseName(options.sources[sourceOf[pair.answerRow]]), a.fields[1], q.fields[0]));
        if (it != reviewed.end()) {
            ++reviewedCount;
            used[it->second] = true;
            if (!all) continue;
        } else if (!isAlwaysListed(pair.kind) && pair.score < options.minScore) {
            ++belowCount;
            continue;
        }
        char score[32];
        std::snprintf(score, sizeof score, " %.1f", pair.score);
        out << place(pair.questionRow) << ": " << giveAwayKindName(pair.kind)
            << (pair.kind == GiveAwayKind::Duplicate ? "" : score) << ": \"" << q.fields[0]
            << "\" ";
        switch (pair.kind) {
        case GiveAwayKind::Duplicate:
            out << "asks again the question of " << place(pair.answerRow);
            break;
        case GiveAwayKind::OwnWording:
            out << "shares \"" << pair.words << "\" with its correct answer \"" << a.fields[1]
                << "\" and no word with its wrong options";
            break;
        default:
            if (pair.kind == GiveAwayKind::ShownAnswer)
                out << "has the correct answer \"" << q.fields[1] << "\", which holds ";
            else if (pair.kind == GiveAwayKind::Option)
                out << "offers \"" << q.fields[pair.field] << "\", which holds ";
            else
                out << "holds ";
            out << "\"" << a.fields[1] << "\", the answer of " << place(pair.answerRow) << " (\""
                << a.fields[0] << "\")";
        }
        if (it != reviewed.end()) out << " [reviewed: " << record[it->second].reason << "]";
        out << "\n";
    }
    if (all)
        for (const UnsearchedAnswer& u : search.unsearched)
            out << place(u.row) << ": answer \"" << rows[u.row].fields[1]
                << "\" not looked for: " << u.reason << "\n";

    // Record lines about the files searched that no longer name a pair.
    for (std::size_t i = 0; i < record.size(); ++i)
        if (!used[i] && std::find(files.begin(), files.end(), record[i].file) != files.end())
            err << recordPath << ":" << record[i].line << ": note: no such pair in "
                << record[i].file << " any more\n";

    const std::size_t pairCount = search.pairs.size();
    const std::size_t open = pairCount - reviewedCount - belowCount;
    char minScore[32];
    std::snprintf(minScore, sizeof minScore, "%g", options.minScore);
    err << Me << plural(pairCount, "pair", "pairs") << " found, " << reviewedCount << " reviewed, "
        << open << " not reviewed, " << belowCount << " not reviewed scoring below " << minScore
        << " left out; " << plural(search.unsearched.size(), "answer", "answers")
        << " too short or too common to look for" << (all ? "" : " (--all lists them)") << "\n";
    return rejected || open > 0 ? 1 : 0;
}
