#pragma once

#include "Difficulty.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// One question as read from a source file: five UTF-8 texts in record order (question,
// answer, wrong1, wrong2, wrong3), the line it starts on and its difficulty mark, if the
// source gives one.
struct TSourceRow {
    std::array<std::string, 5> Fields;
    std::size_t Line = 0;
    Difficulty Mark = Difficulty::None;
};

// A row of a source file that was not taken, with the line it starts on and why.
struct TSourceProblem {
    std::size_t Line = 0;
    std::string Reason;
};

// What a reader made of one source file. A non-empty Error means the file as a whole was
// rejected (unreadable, wrong shape); Rows and Skipped then carry no meaning.
struct TParsedSource {
    std::vector<TSourceRow> Rows;
    std::vector<TSourceProblem> Skipped;
    std::string Error;
    // The line Error refers to, or 0 when it concerns the whole file.
    std::size_t ErrorLine = 0;
};
