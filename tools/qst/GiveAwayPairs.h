#pragma once

#include "ParsedSource.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Give-aways: a question whose text holds the correct answer of another question of the same
// topic, so that a player who meets both is told one answer by the other question.
//
// An answer counts as held when its words stand in the other question's text as whole words,
// in the same order, in any letter case (Windows-1252 letters), the last one perhaps with a
// plural "s" (or "es" after s, x, z, ch, sh and o). Answers too short or too common to give
// anything away are not looked for: a single letter, a number from 0 to 12 in figures or in
// words, and words that stand in many questions of any topic ("None", "All", "Both", "Yes",
// "True", "Many", "All of these", and little words such as "and", "or", "the"). Larger numbers
// (a year, the 88 keys of a piano) are looked for.

struct GiveAway {
    // The question whose answer is given away, and the one whose text holds it (indexes of
    // the rows searched).
    std::size_t answerRow = 0;
    std::size_t questionRow = 0;
};

// An answer that was not looked for, and why.
struct UnsearchedAnswer {
    std::size_t row = 0;
    std::string reason;
};

struct GiveAwaySearch {
    // In the order of the question holding the answer, then of the answer's question.
    std::vector<GiveAway> pairs;
    std::vector<UnsearchedAnswer> unsearched;
};

// Looks for give-aways among the rows of one source (one topic).
GiveAwaySearch findGiveAways(const std::vector<SourceRow>& rows);

// Why an answer (UTF-8) is too short or too common to be looked for; empty when it is.
std::string whyAnswerIsNotSearched(std::string_view answer);

// A pair that was read and found to give nothing away: one line of a reviewed-pairs record,
// "FILE | ANSWER | QUESTION | REASON", where FILE is the source's file name, ANSWER the
// correct answer given away and QUESTION the text that holds it. A line covers the answer of
// every question of the file that has it.
struct ReviewedPair {
    std::string file;
    std::string answer;
    std::string question;
    std::string reason;
    std::size_t line = 0;
};

// Reads a reviewed-pairs record (UTF-8). Blank lines and lines starting with "#" are skipped;
// blanks around each part are dropped. False with the line and reason in error on a line of
// another shape.
bool parseReviewedPairs(std::string_view text, std::vector<ReviewedPair>& pairs,
                        std::string& error);

// What "trivora-qst pairs SOURCE... [--reviewed FILE] [--all]" is given.
struct PairsOptions {
    std::vector<std::string> sources;
    // The record of reviewed pairs, when one is given.
    std::optional<std::string> reviewed;
    // List the reviewed pairs too, and every answer not looked for.
    bool all = false;
};

// Lists the give-aways of each source that the record does not hold, as "FILE:LINE: ..."
// lines on out, and a summary on err. Returns 0 when every pair is reviewed, 1 when one is
// not or a source or the record cannot be read, 2 on misuse.
int listGiveAways(const PairsOptions& options, std::ostream& out, std::ostream& err);
