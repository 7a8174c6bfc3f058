#pragma once

#include "QstTool.h"

#include <sstream>
#include <string>
#include <vector>

// What one run of the trivora-qst command line gave: its exit status and its two outputs.
struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun runTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    ToolRun run{};
    run.status = runQstTool(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}
