#include "Program.h"

int main(int argc, char** argv) {
    return runTrivora(argc, argv);
}
