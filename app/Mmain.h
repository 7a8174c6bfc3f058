#pragma once

// Starts the program: splash window, game screen, event loop. Returns the exit code.
int RunTrivora(int argc, char** argv);
