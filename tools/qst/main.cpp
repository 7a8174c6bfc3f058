// trivora-qst: reads, checks, converts and builds question sets.
#include "QstTool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQstTool(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "trivora-qst: cannot write to standard output\n";
        return 1;
    }
    return status;
}
