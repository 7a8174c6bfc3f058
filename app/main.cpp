#include "Program.h"
#include "VenueLink.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int status = runTrivora(argc, argv);
    // A round still held by a venue's server that stopped answering would wake into the
    // libraries' teardown and crash there: with everything of the game closed and stored,
    // the program ends without that teardown.
    if (!VenueLink::waitForStrandedRounds()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
