#pragma once

#include "Lamp.h"

// The prize ladder's rule: a spin's light goes from a prize lamp (or none) to LOSE, and from
// LOSE to the prize lamp after the one it reached last ($1, $5, $15, $50, round again); STOP
// takes the lamp lit as the prize. The lamp reached last is kept from spin to spin for the
// whole run of the program.
class PrizeLadder {
public:
    // A spin begins with no lamp lit.
    void start() { m_lit = Lamp::None; }
    // The light moves on; returns the lamp now lit.
    Lamp step();
    // STOP: the lamp lit is the prize (LOSE when the light has not reached a lamp yet).
    Lamp stop();
    // The spin's time ran out: the light goes to LOSE.
    void timeOut() { m_lit = Lamp::Lose; }

    // The lamp lit now (None between spins and before the first step).
    Lamp lit() const { return m_lit; }
    // The prize of the last stop.
    Lamp prize() const { return m_prize; }
    // The prize lamp the light reached last (None before the first spin reached one).
    Lamp lastPrizeLamp() const { return m_lastPrizeLamp; }

private:
    friend class GamePosition; // tests set up positions through it
    Lamp m_lit = Lamp::None;
    Lamp m_prize = Lamp::None;
    Lamp m_lastPrizeLamp = Lamp::None;
};
