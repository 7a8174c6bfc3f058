#pragma once

#include "ParsedSource.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Give-aways in a set of questions (every topic together, as the full set plays them): one
// question that tells a player the correct answer of another.
//
// Texts are compared as words folded to lower case (Windows-1252 letters), each word to its
// stem (Snowball English: "guillotined" and "Guillotine", "foxes" and "Fox" stand for the same
// word), and an answer's leading article ("a", "an", "the") is left out. An answer is held by
// a text when all its stems stand there in order, next to each other. A question B gives away
// the answer of a question A when B's text holds it (the player reads it), when B's correct
// answer holds it (the Wrong panel shows it), or when one of B's wrong options does (the
// player sees it among the choices). Two more kinds are found on the way: a question that
// answers itself (a word of its correct answer stands in its text while no word of a wrong
// option does, so only one option fits the wording) and the same question asked twice (the
// same stems, articles aside).
//
// Answers too short or too common to give anything away are not looked for: a single
// letter, a number from 0 to 12 in figures or in words, and words that stand in many
// questions of any topic ("None", "All", "Both", "Yes", "True", "Many", "All of these", and
// little words such as "and", "or", "the"). Larger numbers (a year, the 88 keys of a piano)
// are looked for.

// Where a question gives an answer away, from the strongest to the weakest.
enum class GiveAwayKind {
    Duplicate,   // the question asks the answer's question again
    Text,        // its text holds the answer
    OwnWording,  // it is the answer's own question, and only its correct answer fits the wording
    ShownAnswer, // its correct answer holds the answer
    Option,      // one of its wrong options holds the answer
};

// "duplicate", "text", "own wording", "shown answer" or "option".
std::string_view giveAwayKindName(GiveAwayKind kind);

struct GiveAway {
    // The question whose answer is given away, and the one that gives it away (indexes of the
    // rows searched; the same row for OwnWording; the earlier row is the answer's for
    // Duplicate).
    std::size_t answerRow = 0;
    std::size_t questionRow = 0;
    GiveAwayKind kind = GiveAwayKind::Text;
    // The field of the question's row that holds the answer (0 its text, 1 its correct
    // answer, 2 to 4 its wrong options).
    std::size_t field = 0;
    // How likely the pair is to be a real give-away: the weight of where the answer stands
    // (3 in a question's text, 2 in a shown answer, 1 in a wrong option) times the sum of how
    // rare its words are, ln((rows + 1) / rows holding the word) each. Duplicates rank first.
    double score = 0;
    // For OwnWording: the words of the correct answer (folded to lower case, UTF-8) that
    // stand in the question, each once, blank separated.
    std::string words;
};

// An answer that was not looked for, and why.
struct UnsearchedAnswer {
    std::size_t row = 0;
    std::string reason;
};

struct GiveAwaySearch {
    // Best first: duplicates, then by falling score, then in the order of the question
    // giving the answer away and of the answer's question. One pair per two questions, of
    // the strongest kind found.
    std::vector<GiveAway> pairs;
    std::vector<UnsearchedAnswer> unsearched;
};

// Looks for give-aways among the rows (every source together). Memory grows with the words
// of the rows, not with the number of pairs of rows.
GiveAwaySearch findGiveAways(const std::vector<SourceRow>& rows);

// Why an answer (UTF-8) is too short or too common to be looked for; empty when it is.
std::string whyAnswerIsNotSearched(std::string_view answer);

// A pair that was read and found to give nothing away: one line of a reviewed-pairs record,
// "FILE | ANSWER | QUESTION | REASON", where FILE is the file name of the source holding the
// answer's question, ANSWER the correct answer given away and QUESTION the text of the
// question that holds it (that question may stand in any source; for a question that
// answers itself it is its own text, for a duplicate the later copy's). A line covers the
// answer of every question of the file that has it.
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
    // Pairs scoring below are left out, unless reviewed (with all) or of a kind always listed
    // (duplicates, questions that answer themselves).
    double minScore = DefaultMinScore;
    static constexpr double DefaultMinScore = 20;
};

// Lists the give-aways among all the sources together that the record does not hold and that
// score at least minScore, best first, as "FILE:LINE: KIND SCORE: ..." lines on out, and a
// summary on err. Returns 0 when no pair is listed but reviewed ones, 1 when one is or a
// source or the record cannot be read, 2 on misuse.
int listGiveAways(const PairsOptions& options, std::ostream& out, std::ostream& err);
