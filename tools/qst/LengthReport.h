#pragma once

#include <ostream>
#include <string>
#include <vector>

// How long the correct answers are beside the wrong ones, per source and in all: a player
// learns to pick the longest option when it is right too often. For each source (and all
// together) one line: the number of questions, how often the correct answer is longer than
// every wrong option (count and share), and the mean length in characters of the correct
// answers and of the wrong options. Sources are read as import reads them (.txt, .csv,
// .json); rows the reader cannot take (a missing field) are left out. Returns 0, 1 when a source
// cannot be read, 2 on misuse.
int reportLengths(const std::vector<std::string>& sources, std::ostream& out, std::ostream& err);
