#include "Difficulty.h"

#include "Cp1252.h"

namespace {

constexpr std::string_view Names[] = {"-", "easy", "medium", "hard"};

} // namespace

std::string_view difficultyName(Difficulty mark) {
    return Names[static_cast<int>(mark)];
}

std::optional<Difficulty> difficultyFromName(std::string_view name) {
    for (int i = 1; i < 4; ++i)
        if (name == Names[i]) return static_cast<Difficulty>(i);
    return std::nullopt;
}

std::string marksPathOf(const std::string& setPath) {
    return setPath + ".difficulty";
}

std::string markedQuestionText(std::string_view cp1252) {
    std::string out(cp1252);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

std::string markLine(Difficulty mark, std::string_view question) {
    std::string line(difficultyName(mark));
    line += '\t';
    line += Cp1252::toUtf8(markedQuestionText(question));
    line += '\n';
    return line;
}

bool parseMarkLine(std::string_view line, std::size_t number, QuestionMark& mark,
                   std::string& error) {
    // A marks file edited on another system may end its lines in CR LF.
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::size_t tab = line.find('\t');
    const std::string_view name = line.substr(0, tab);
    mark = {};
    if (name != "-") {
        const auto known = difficultyFromName(name);
        if (!known) {
            error = "line " + std::to_string(number) + ": no mark (easy, medium, hard or -)";
            return false;
        }
        mark.mark = *known;
    }
    if (tab == std::string_view::npos || !Cp1252::fromUtf8(line.substr(tab + 1), mark.question)) {
        error = "line " + std::to_string(number) +
                ": no question after the mark, or one Windows-1252 cannot hold";
        return false;
    }
    return true;
}

bool parseMarks(std::string_view text, std::vector<QuestionMark>& marks, std::string& error) {
    marks.clear();
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        ++number;
        if (end == std::string_view::npos) {
            error = "line " + std::to_string(number) + ": no line end";
            return false;
        }
        QuestionMark m;
        if (!parseMarkLine(text.substr(0, end), number, m, error)) return false;
        text.remove_prefix(end + 1);
        marks.push_back(std::move(m));
    }
    return true;
}
