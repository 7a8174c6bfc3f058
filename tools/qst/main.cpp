// trivora-qst: reads, checks, converts and builds question sets.
#include "QstTool.h"

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // Reports of skipped rows can run to millions of lines: buffer them, flush at the end.
    std::cerr.unsetf(std::ios::unitbuf);
    int status = 1;
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        status = runQstTool(args, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "\ntrivora-qst: out of memory\n";
        status = 1;
    } catch (const std::exception& e) {
        std::cerr << "\ntrivora-qst: " << e.what() << "\n";
        status = 1;
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "trivora-qst: cannot write to standard output\n";
        status = 1;
    }
    std::cerr.flush();
    return status;
}
