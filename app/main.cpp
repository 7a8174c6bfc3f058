#include "Mmain.h"

int main(int argc, char** argv) { return RunTrivora(argc, argv); }
