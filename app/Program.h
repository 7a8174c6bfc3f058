#pragma once

// Starts the program: splash window, game screen, event loop. Returns the exit code.
int runTrivora(int argc, char** argv);
