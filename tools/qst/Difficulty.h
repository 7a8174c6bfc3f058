#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How hard a question is meant to be. Question files mark it with a "#D easy", "#D medium" or
// "#D hard" line; a compiled set keeps the marks in a file of its own beside it (see
// marksPathOf), because the set's records have no room for them.
enum class Difficulty { None, Easy, Medium, Hard };

// "easy", "medium" or "hard"; "-" for None.
std::string_view difficultyName(Difficulty mark);

// The mark a word names: exactly "easy", "medium" or "hard".
std::optional<Difficulty> difficultyFromName(std::string_view name);

// The marks file of a set: the set's path with ".difficulty" added ("REGD.QST" gives
// "REGD.QST.difficulty").
std::string marksPathOf(const std::string& setPath);

// One line of a marks file: a question's mark and the question as the set stores it
// (Windows-1252), with control characters as spaces so that it fits on one line.
struct QuestionMark {
    Difficulty mark = Difficulty::None;
    std::string question;
};

// A set's question (Windows-1252) in the form a marks file holds it.
std::string markedQuestionText(std::string_view cp1252);

// One line of a marks file, its line end included: the mark ("easy", "medium", "hard", or "-"
// for a question without one), a tab, and the question (Windows-1252) in UTF-8. A marks file
// holds one such line per question of the set, record 1 first; the question lets a reader
// tell whether the set was changed after the marks were written, and which marks still
// belong to their records.
std::string markLine(Difficulty mark, std::string_view question);

// Reads line number (counted from 1) of a marks file, without its line end; false with the
// line and reason in error when it is not of the shape markLine writes.
bool parseMarkLine(std::string_view line, std::size_t number, QuestionMark& mark,
                   std::string& error);

// Reads the whole text of a marks file; false with the line and reason in error when a line
// is not of the shape markLine writes or the last has no line end.
bool parseMarks(std::string_view text, std::vector<QuestionMark>& marks, std::string& error);
