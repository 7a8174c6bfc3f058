#include "MarksFromPlay.h"

#include "Cp1252.h"
#include "CsvSplitter.h"
#include "FiguresExport.h"
#include "QstText.h"
#include "SaveFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <vector>

namespace {

constexpr const char* Me = "trivora-qst: ";
constexpr double EasyFrom = 0.75;
constexpr double HardUpTo = 0.40;
// The normal quantile of a two-sided 95 % interval.
constexpr double Z = 1.959964;
constexpr std::size_t MaxMarksBytes = std::size_t{64} << 20;

// Whether the interval meets the band of a mark.
bool meetsBand(const ShareInterval& interval, Difficulty mark) {
    switch (mark) {
    case Difficulty::Easy:
        return interval.high >= EasyFrom;
    case Difficulty::Hard:
        return interval.low <= HardUpTo;
    case Difficulty::Medium:
        return interval.high > HardUpTo && interval.low < EasyFrom;
    case Difficulty::None:
        break;
    }
    return false;
}

// One question's figures, as the figures command writes them.
struct Figures {
    std::string question; // UTF-8
    int asked = 0;
    int right = 0;
};

bool toInt(const std::string& text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

// Reads the figures CSV: its header row, then number,question,asked,right,percent right.
bool parseFigures(std::string_view csv, std::vector<Figures>& rows, std::string& error) {
    CsvSplitter splitter(csv);
    std::size_t line = 0, fields = 0;
    std::string fault;
    std::vector<std::string> record;
    bool header = true;
    while (splitter.next(line, fields, fault, [&](std::size_t, std::string&& field) {
        record.push_back(std::move(field));
    })) {
        Figures f;
        if (!fault.empty() || record.size() != 5 ||
            (!header &&
             (!toInt(record[2], f.asked) || !toInt(record[3], f.right) || f.right > f.asked))) {
            error = "the figures read have an unexpected line " + std::to_string(line);
            return false;
        }
        if (!header) {
            f.question = std::move(record[1]);
            rows.push_back(std::move(f));
        }
        header = false;
        record.clear();
    }
    return true;
}

std::string percent(double share) {
    char text[16];
    std::snprintf(text, sizeof text, "%.0f", 100 * share);
    return text;
}

} // namespace

ShareInterval wilsonInterval(int right, int asked) {
    const double n = asked;
    const double p = right / n;
    const double z2 = Z * Z;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = Z / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

Difficulty bandOfShare(double share) {
    if (share >= EasyFrom) return Difficulty::Easy;
    if (share <= HardUpTo) return Difficulty::Hard;
    return Difficulty::Medium;
}

std::optional<Difficulty> proposedMark(Difficulty current, int asked, int right, int minAsked) {
    if (asked <= 0 || asked < minAsked) return std::nullopt;
    const Difficulty band = bandOfShare(static_cast<double>(right) / asked);
    if (band == current) return std::nullopt;
    if (current != Difficulty::None && meetsBand(wilsonInterval(right, asked), current))
        return std::nullopt;
    return band;
}

int proposeDifficulty(const DifficultyOptions& options, std::ostream& out, std::ostream& err) {
    std::ostringstream csv;
    if (const int status = exportFigures({options.set, {}, options.database}, csv, err))
        return status;
    std::vector<Figures> figures;
    std::string why;
    if (!parseFigures(csv.str(), figures, why)) {
        err << Me << options.set << ": " << why << "\n";
        return 1;
    }

    // The marks the set has now: a line of the marks file counts for its record while it
    // names the record's question.
    const std::string marksPath = marksPathOf(options.set);
    std::vector<QuestionMark> marks;
    std::error_code exists;
    if (std::filesystem::exists(marksPath, exists) || exists) {
        std::string bytes;
        if (QstText::readWholeFile(marksPath, bytes, why, MaxMarksBytes) != QstText::Read::Read) {
            err << Me << why << "\n";
            return 1;
        }
        if (!parseMarks(bytes, marks, why)) {
            err << Me << marksPath << ": " << why << "\n";
            return 1;
        }
    }
    std::vector<std::string> questions(figures.size());
    std::vector<Difficulty> current(figures.size(), Difficulty::None);
    std::size_t stale = 0;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        std::string cp1252;
        if (!Cp1252::fromUtf8(figures[i].question, cp1252)) cp1252 = figures[i].question;
        questions[i] = markedQuestionText(cp1252);
        if (i < marks.size() && marks[i].question == questions[i])
            current[i] = marks[i].mark;
        else if (i < marks.size())
            ++stale;
    }
    if (stale > 0)
        err << Me << marksPath << ": " << stale
            << " lines name another question than their record; those questions count as "
               "unmarked\n";

    std::vector<Difficulty> proposed = current;
    std::size_t askedEnough = 0, changes = 0;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const Figures& f = figures[i];
        askedEnough += f.asked > 0 && f.asked >= options.minAsked;
        const std::optional<Difficulty> mark =
            proposedMark(current[i], f.asked, f.right, options.minAsked);
        if (!mark) continue;
        proposed[i] = *mark;
        ++changes;
        const ShareInterval interval = wilsonInterval(f.right, f.asked);
        out << i + 1 << ": " << difficultyName(current[i]) << " -> " << difficultyName(*mark)
            << ": asked " << f.asked << ", right " << f.right << " ("
            << percent(static_cast<double>(f.right) / f.asked) << " %, 95 % interval "
            << percent(interval.low) << "-" << percent(interval.high) << " %): " << f.question
            << "\n";
    }
    err << Me << figures.size() << " questions, " << askedEnough << " asked at least "
        << options.minAsked << " times, " << changes << " new marks proposed";
    if (!options.write) {
        err << (changes ? " (--write stores them in " + marksPath + ")" : std::string()) << "\n";
        return 0;
    }
    err << "\n";
    if (changes == 0) return 0;
    SaveFile file;
    if (!file.open(marksPath)) {
        err << Me << file.errorText() << "\n";
        return 1;
    }
    for (std::size_t i = 0; i < figures.size(); ++i)
        file.write(markLine(proposed[i], questions[i]));
    if (!file.commit()) {
        err << Me << file.errorText() << "\n";
        return 1;
    }
    err << Me << "wrote " << marksPath << "\n";
    return 0;
}
