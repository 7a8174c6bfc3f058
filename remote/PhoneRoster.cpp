#include "PhoneRoster.h"

#include <algorithm>

namespace {
bool slotTaken(const std::map<int, PhoneRoster::Entry>& entries, int slot) {
    for (const auto& [id, e] : entries)
        if (e.role == PhoneRoster::Role::Player && e.slot == slot) return true;
    return false;
}

// The lowest slot that is neither named at the keyboard nor held by a phone; 0: none.
int freeSlot(const std::map<int, PhoneRoster::Entry>& entries,
             const std::function<bool(int)>& slotFree) {
    for (int slot = 1; slot <= 4; ++slot)
        if (!slotTaken(entries, slot) && (!slotFree || slotFree(slot))) return slot;
    return 0;
}
} // namespace

const PhoneRoster::Entry& PhoneRoster::add(int phoneId, const QString& name, Seating seating,
                                           const std::function<bool(int)>& slotFree) {
    Entry e;
    e.name = name;
    e.joinOrder = ++m_joins;
    if (seating == Seating::PlayerEntry) {
        e.slot = freeSlot(m_entries, slotFree);
        e.role = e.slot ? Role::Player : Role::Audience;
    } else if (seating == Seating::Game) {
        e.role = Role::Audience;
    }
    return m_entries[phoneId] = e;
}

std::vector<int> PhoneRoster::openPlayerEntry(const std::function<QString(int)>& nameAt) {
    std::vector<std::pair<int, int>> byJoin; // (join order, phone)
    for (auto& [id, e] : m_entries) {
        e.role = Role::Waiting;
        e.slot = 0;
        byJoin.emplace_back(e.joinOrder, id);
    }
    std::sort(byJoin.begin(), byJoin.end());
    // A phone whose name is still in a slot's box (it played the last game there) keeps it ...
    for (const auto& [order, id] : byJoin) {
        Entry& e = m_entries[id];
        for (int slot = 1; slot <= 4 && !e.slot; ++slot)
            if (nameAt(slot) == e.name && !slotTaken(m_entries, slot)) e.slot = slot;
        if (e.slot) e.role = Role::Player;
    }
    // ... and the others take the empty slots.
    const auto slotFree = [&nameAt](int slot) { return nameAt(slot).isEmpty(); };
    std::vector<std::pair<int, int>> seated; // (slot, phone)
    for (const auto& [order, id] : byJoin) {
        Entry& e = m_entries[id];
        if (!e.slot) e.slot = freeSlot(m_entries, slotFree);
        e.role = e.slot ? Role::Player : Role::Audience;
        if (e.slot) seated.emplace_back(e.slot, id);
    }
    std::sort(seated.begin(), seated.end());
    std::vector<int> phones;
    for (const auto& [slot, id] : seated)
        phones.push_back(id);
    return phones;
}

void PhoneRoster::startGame(const std::function<QString(int)>& nameAt) {
    for (auto& [id, e] : m_entries) {
        if (e.role == Role::Player && nameAt && nameAt(e.slot) != e.name) e.slot = 0;
        if (e.role == Role::Waiting || e.slot == 0) e.role = Role::Audience;
        e.rightAnswers = 0;
        e.answer = -1;
    }
}

void PhoneRoster::endGame() {
    for (auto& [id, e] : m_entries) {
        e.role = Role::Waiting;
        e.slot = 0;
        e.answer = -1;
    }
}

const PhoneRoster::Entry* PhoneRoster::find(int phoneId) const {
    const auto it = m_entries.find(phoneId);
    return it == m_entries.end() ? nullptr : &it->second;
}

std::optional<int> PhoneRoster::phoneAt(int slot) const {
    for (const auto& [id, e] : m_entries)
        if (e.role == Role::Player && e.slot == slot) return id;
    return std::nullopt;
}

int PhoneRoster::audienceSize() const {
    int n = 0;
    for (const auto& [id, e] : m_entries)
        n += e.role == Role::Audience;
    return n;
}

bool PhoneRoster::answer(int phoneId, int letter) {
    const auto it = m_entries.find(phoneId);
    if (it == m_entries.end() || it->second.role != Role::Audience || it->second.answer >= 0 ||
        letter < 0 || letter > 3)
        return false;
    it->second.answer = letter;
    return true;
}

void PhoneRoster::newQuestion() {
    for (auto& [id, e] : m_entries)
        e.answer = -1;
}

void PhoneRoster::judge(int correct) {
    for (auto& [id, e] : m_entries)
        if (e.role == Role::Audience && e.answer >= 0 && e.answer == correct) ++e.rightAnswers;
}

std::optional<int> PhoneRoster::bestOfAudience() const {
    std::optional<int> best;
    for (const auto& [id, e] : m_entries) {
        if (e.role != Role::Audience || e.rightAnswers == 0) continue;
        if (!best) {
            best = id;
            continue;
        }
        const Entry& b = m_entries.at(*best);
        if (e.rightAnswers > b.rightAnswers ||
            (e.rightAnswers == b.rightAnswers && e.joinOrder < b.joinOrder))
            best = id;
    }
    return best;
}
