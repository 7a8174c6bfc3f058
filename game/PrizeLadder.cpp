#include "PrizeLadder.h"

Lamp PrizeLadder::step() {
    if (m_lit != Lamp::Lose) {
        m_lit = Lamp::Lose;
    } else {
        m_lastPrizeLamp = static_cast<Lamp>(placeOf(m_lastPrizeLamp) % 4 + 1);
        m_lit = m_lastPrizeLamp;
    }
    return m_lit;
}

Lamp PrizeLadder::stop() {
    if (m_lit == Lamp::None) m_lit = Lamp::Lose;
    m_prize = m_lit;
    return m_prize;
}
