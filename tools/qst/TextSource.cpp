#include "TextSource.h"

#include "QstText.h"

#include <optional>
#include <string>

namespace {

// Slots of a block: 0 question, 1 correct answer, 2 to 5 options A to D, all required; 6 the
// difficulty mark, which may be left out.
constexpr int RequiredSlots = 6;
constexpr int MarkSlot = 6;
constexpr int SlotCount = 7;
constexpr const char* SlotNames[SlotCount] = {"#Q", "^", "A", "B", "C", "D", "#D"};

// The slot a line belongs to, and its text; nothing when the line starts with no marker.
std::optional<int> markerOf(std::string_view line, std::string_view& text) {
    auto after = [&](std::size_t len) -> bool {
        if (line.size() > len && line[len] != ' ' && line[len] != '\t') return false;
        text = QstText::trim(line.substr(std::min(len, line.size())));
        return true;
    };
    if (line.starts_with("#Q") && after(2)) return 0;
    if (line.starts_with("#D") && after(2)) return MarkSlot;
    if (line.starts_with("^")) {
        text = QstText::trim(line.substr(1));
        return 1;
    }
    if (!line.empty() && line[0] >= 'A' && line[0] <= 'D' && after(1)) return 2 + (line[0] - 'A');
    return std::nullopt;
}

class BlockReader {
public:
    explicit BlockReader(SourceSink& sink) : m_sink(sink) {}

    void line(std::size_t number, std::string_view line) {
        if (QstText::trim(line).empty()) {
            finish();
            return;
        }
        if (line.starts_with("//")) return;
        if (!m_open) {
            m_open = true;
            m_start = number;
            m_broken.reset();
            for (auto& s : m_seen)
                s = false;
        }
        if (m_broken) return;
        std::string_view text;
        const auto slot = markerOf(line, text);
        if (!slot) {
            breakSet(number, "unexpected line (a block holds #Q, ^ and A to D lines)");
            return;
        }
        if (*slot == MarkSlot && !m_seen[0]) {
            breakSet(number, "#D line outside a question block (it belongs after the #Q line)");
            return;
        }
        if (*slot != 0 && !m_seen[0]) {
            breakSet(number, "block does not start with #Q");
            return;
        }
        if (m_seen[*slot]) {
            breakSet(number, std::string("second ") + SlotNames[*slot] + " line in one block");
            return;
        }
        if (*slot == MarkSlot) {
            const auto mark = difficultyFromName(text);
            if (!mark) {
                breakSet(number, text.empty() ? std::string("#D line without a difficulty") +
                                                    " (use easy, medium or hard)"
                                              : "unknown difficulty '" + std::string(text) +
                                                    "' (use easy, medium or hard)");
                return;
            }
            m_mark = *mark;
        }
        m_seen[*slot] = true;
        m_text[*slot] = text;
    }

    void finish() {
        if (!m_open) return;
        m_open = false;
        if (m_broken) {
            m_sink.skip(m_broken->line, std::move(m_broken->reason));
            return;
        }
        for (int s = 0; s < RequiredSlots; ++s)
            if (!m_seen[s]) {
                m_sink.skip(m_start, std::string("block lacks its ") + SlotNames[s] + " line");
                return;
            }
        SourceRow row;
        row.line = m_start;
        row.mark = m_seen[MarkSlot] ? m_mark : Difficulty::None;
        row.fields[0] = std::string(m_text[0]);
        row.fields[1] = std::string(m_text[1]);
        // The first option equal to the answer is the correct one; any other option equal to
        // it stays a wrong answer, so the import reports the repetition.
        int correct = -1;
        for (int s = 2; s < RequiredSlots; ++s)
            if (m_text[s] == m_text[1]) {
                correct = s;
                break;
            }
        if (correct < 0) {
            m_sink.skip(m_start, "the ^ answer is none of A to D");
            return;
        }
        std::size_t w = 2;
        for (int s = 2; s < RequiredSlots; ++s)
            if (s != correct) row.fields[w++] = std::string(m_text[s]);
        m_sink.take(std::move(row));
    }

private:
    void breakSet(std::size_t number, std::string reason) {
        m_broken = SourceProblem{number, std::move(reason)};
    }

    SourceSink& m_sink;
    bool m_open = false;
    std::size_t m_start = 0;
    std::optional<SourceProblem> m_broken;
    bool m_seen[SlotCount] = {};
    // Views into the text being read, which outlives the reader.
    std::string_view m_text[SlotCount];
    Difficulty m_mark = Difficulty::None;
};

} // namespace

void parseTextSource(std::string_view utf8, SourceSink& sink) {
    BlockReader reader(sink);
    std::size_t number = 0;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        reader.line(++number, line);
    }
    reader.finish();
}

ParsedSource parseTextSource(std::string_view utf8) {
    CollectingSink sink;
    parseTextSource(utf8, sink);
    return sink.finish({});
}
