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
std::optional<int> MarkerOf(std::string_view line, std::string_view& text) {
    auto after = [&](std::size_t len) -> bool {
        if (line.size() > len && line[len] != ' ' && line[len] != '\t') return false;
        text = QstText::Trim(line.substr(std::min(len, line.size())));
        return true;
    };
    if (line.starts_with("#Q") && after(2)) return 0;
    if (line.starts_with("#D") && after(2)) return MarkSlot;
    if (line.starts_with("^")) {
        text = QstText::Trim(line.substr(1));
        return 1;
    }
    if (!line.empty() && line[0] >= 'A' && line[0] <= 'D' && after(1)) return 2 + (line[0] - 'A');
    return std::nullopt;
}

class TBlockReader {
public:
    explicit TBlockReader(SourceSink& sink) : FSink(sink) {}

    void Line(std::size_t number, std::string_view line) {
        if (QstText::Trim(line).empty()) {
            Finish();
            return;
        }
        if (line.starts_with("//")) return;
        if (!FOpen) {
            FOpen = true;
            FStart = number;
            FBroken.reset();
            for (auto& s : FSeen)
                s = false;
        }
        if (FBroken) return;
        std::string_view text;
        const auto slot = MarkerOf(line, text);
        if (!slot) {
            Break(number, "unexpected line (a block holds #Q, ^ and A to D lines)");
            return;
        }
        if (*slot == MarkSlot && !FSeen[0]) {
            Break(number, "#D line outside a question block (it belongs after the #Q line)");
            return;
        }
        if (*slot != 0 && !FSeen[0]) {
            Break(number, "block does not start with #Q");
            return;
        }
        if (FSeen[*slot]) {
            Break(number, std::string("second ") + SlotNames[*slot] + " line in one block");
            return;
        }
        if (*slot == MarkSlot) {
            const auto mark = difficultyFromName(text);
            if (!mark) {
                Break(number, text.empty() ? std::string("#D line without a difficulty") +
                                                 " (use easy, medium or hard)"
                                           : "unknown difficulty '" + std::string(text) +
                                                 "' (use easy, medium or hard)");
                return;
            }
            FMark = *mark;
        }
        FSeen[*slot] = true;
        FText[*slot] = text;
    }

    void Finish() {
        if (!FOpen) return;
        FOpen = false;
        if (FBroken) {
            FSink.skip(FBroken->Line, std::move(FBroken->Reason));
            return;
        }
        for (int s = 0; s < RequiredSlots; ++s)
            if (!FSeen[s]) {
                FSink.skip(FStart, std::string("block lacks its ") + SlotNames[s] + " line");
                return;
            }
        TSourceRow row;
        row.Line = FStart;
        row.Mark = FSeen[MarkSlot] ? FMark : Difficulty::None;
        row.Fields[0] = std::string(FText[0]);
        row.Fields[1] = std::string(FText[1]);
        // The first option equal to the answer is the correct one; any other option equal to
        // it stays a wrong answer, so the import reports the repetition.
        int correct = -1;
        for (int s = 2; s < RequiredSlots; ++s)
            if (FText[s] == FText[1]) {
                correct = s;
                break;
            }
        if (correct < 0) {
            FSink.skip(FStart, "the ^ answer is none of A to D");
            return;
        }
        std::size_t w = 2;
        for (int s = 2; s < RequiredSlots; ++s)
            if (s != correct) row.Fields[w++] = std::string(FText[s]);
        FSink.take(std::move(row));
    }

private:
    void Break(std::size_t number, std::string reason) {
        FBroken = TSourceProblem{number, std::move(reason)};
    }

    SourceSink& FSink;
    bool FOpen = false;
    std::size_t FStart = 0;
    std::optional<TSourceProblem> FBroken;
    bool FSeen[SlotCount] = {};
    // Views into the text being read, which outlives the reader.
    std::string_view FText[SlotCount];
    Difficulty FMark = Difficulty::None;
};

} // namespace

void ParseTextSource(std::string_view utf8, SourceSink& sink) {
    TBlockReader reader(sink);
    std::size_t number = 0;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        reader.Line(++number, line);
    }
    reader.Finish();
}

TParsedSource ParseTextSource(std::string_view utf8) {
    CollectingSink sink;
    ParseTextSource(utf8, sink);
    return sink.finish({});
}
