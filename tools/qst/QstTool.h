#pragma once

#include <ostream>
#include <string>
#include <vector>

// The trivora-qst command line: args without the program name. Output goes to out, messages
// to err. Returns the exit status: 0 success, 1 input rejected, 2 misuse.
int runQstTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The text --help prints.
const char* qstToolUsage();

// Reports misuse on err ("trivora-qst: what", then a hint at --help) and returns its exit
// status, 2.
int usageError(std::ostream& err, const std::string& what);
