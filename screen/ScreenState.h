#pragma once

#include <array>
#include <cstdint>

// What the game screen's pictures show now: the lit buttons and lamps, the logo's flash and the
// attract sequence. Array indices are 0-based: buttonLit[0] is
// answer A, lampLit[0] the $1 lamp.
struct ScreenState {
    // The answer buttons A to D show their lit picture.
    std::array<int, 4> buttonLit{0, 0, 0, 0};
    // START shows its lit picture.
    int startLit = 0;
    // The lamps $1, $5, $15, $50, LOSE show their On picture.
    std::array<int, 5> lampLit{0, 0, 0, 0, 0};
    // STOP shows its lit picture; during a spin: the spin has been stopped.
    int stopLit = 0;
    // Attract mode: which answer button the next cycle tick lights (0 A ... 3 D).
    int buttonCycle = 0;
    // Stage of the attract picture sequence and ticks since the stage began.
    int attractStage = 0;
    int attractTicks = 0;
    // Which title logo the top panel shows: 1 the lit one, 0 the other.
    int logoPhase = 0;
};
