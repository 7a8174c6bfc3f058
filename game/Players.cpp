#include "Players.h"

#include <algorithm>

namespace {
const char* const defaultNames[4] = {"Player One", "Player Two", "Player Three", "Player Four"};

bool validSlot(int slot) {
    return slot >= 1 && slot <= 4;
}
std::size_t slotIndex(int slot) {
    return static_cast<std::size_t>(slot - 1);
}
} // namespace

void Players::setName(int slot, const QString& name) {
    if (!validSlot(slot)) return;
    m_names[slotIndex(slot)] = name;
    m_count = static_cast<int>(std::count_if(m_names.begin(), m_names.end(),
                                             [](const QString& n) { return !n.isEmpty(); }));
}

QString Players::name(int slot) const {
    return validSlot(slot) ? m_names[slotIndex(slot)] : QString();
}

void Players::giveStartingCredits() {
    bool anyNamed = false;
    for (std::size_t k = 0; k < 4; ++k) {
        const bool named = !m_names[k].isEmpty();
        anyNamed = anyNamed || named;
        m_credits[k] = named ? startingCredit : 0;
        m_scores[k] = named ? startingCredit : 0;
    }
    if (!anyNamed) m_scores[0] = startingCredit;
    m_current = 0;
    m_credit = startingCredit;
    m_questionsPlayed.fill(0);
}

void Players::forget() {
    m_credits.fill(0);
    m_scores.fill(0);
}

void Players::resetForAttractMode() {
    m_current = 0;
    m_credit = 1;
}

int Players::slotAtControls() const {
    if (validSlot(m_current)) return m_current;
    // A game of one player plays in the first named slot (slot 1 when nobody is named).
    for (int k = 1; k <= 4; ++k)
        if (!m_names[slotIndex(k)].isEmpty()) return k;
    return 1;
}

bool Players::anyoneHasCredit() const {
    return std::any_of(m_credits.begin(), m_credits.end(), [](int c) { return c >= 1; });
}

bool Players::goesOn() const {
    if (m_credit != 0) return true;
    return multiplayer() && anyoneHasCredit();
}

void Players::showCreditOfPlayerAtControls() {
    if (validSlot(m_current)) m_credit = m_credits[slotIndex(m_current)];
}

void Players::chargeQuestion() {
    ++m_questionsPlayed[slotIndex(slotAtControls())];
    if (m_count > 1) {
        if (validSlot(m_current)) --m_credits[slotIndex(m_current)];
    } else {
        --m_credit;
    }
    showCreditOfPlayerAtControls();
}

void Players::addDollar() {
    if (validSlot(m_current))
        ++m_credits[slotIndex(m_current)];
    else
        ++m_credit;
    showCreditOfPlayerAtControls();
}

void Players::passTurn() {
    for (int step = 0; step < 4; ++step) {
        m_current = m_current % 4 + 1;
        if (m_credits[slotIndex(m_current)] >= 1) break;
    }
    showCreditOfPlayerAtControls();
}

void Players::recordScore(int won) {
    int& best = m_scores[slotIndex(slotAtControls())];
    if (won > best) best = won;
}

QString Players::finalName(int slot) const {
    if (!validSlot(slot)) return {};
    const QString& name = m_names[slotIndex(slot)];
    return name.isEmpty() ? QString::fromLatin1(defaultNames[slot - 1]) : name;
}

int Players::finalScore(int slot) const {
    if (!validSlot(slot)) return 0;
    return std::max(0, m_scores[slotIndex(slot)]);
}

std::array<Standing, 4> Players::standings() const {
    const bool anyNamed =
        std::any_of(m_names.begin(), m_names.end(), [](const QString& n) { return !n.isEmpty(); });
    std::array<Standing, 4> result{};
    for (std::size_t k = 0; k < 4; ++k) {
        const int slot = static_cast<int>(k) + 1;
        Standing& standing = result[k];
        standing.slot = slot;
        standing.name = finalName(slot);
        standing.typedName = m_names[k];
        standing.score = finalScore(slot);
        standing.questionsPlayed = m_questionsPlayed[k];
        standing.played = anyNamed ? !m_names[k].isEmpty() : k == 0;
    }
    return result;
}
