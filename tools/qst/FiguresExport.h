#pragma once

#include <ostream>
#include <string>

// What the figures command is asked for.
struct FiguresOptions {
    std::string set;      // the question set whose figures are written
    std::string output;   // the CSV file to write; empty: standard output
    std::string database; // the scores database; empty: the game's own, in the data folder
};

// Writes how each question of the set has fared in games (asked, answered right) as CSV, read
// from the database the game keeps its hall of fame in. A database that does not exist yet
// gives figures of questions never asked, and is not created. Returns the exit status: 0
// success, 1 a file could not be read or written, 2 misuse.
int exportFigures(const FiguresOptions& options, std::ostream& out, std::ostream& err);
