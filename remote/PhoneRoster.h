#pragma once

#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <vector>

// Who each joined phone is: one of the four players (slots 1..4, taken in join order while the
// player entry is open), the audience (a phone beyond the four, or one that joined during a
// game), or waiting for the next player entry. It keeps each audience phone's private answer
// to the question asked now and its count of right answers.
class PhoneRoster {
public:
    enum class Role { Waiting, Player, Audience };

    struct Entry {
        QString name;
        Role role = Role::Waiting;
        int slot = 0;         // 1..4 for a player
        int joinOrder = 0;    // order of joining, kept for the next player entry
        int answer = -1;      // an audience phone's answer to the question now (0..3)
        int rightAnswers = 0; // an audience phone's right answers in this game
    };

    // What the game is doing, as far as seating goes.
    enum class Seating { Closed, PlayerEntry, Game };

    // A phone joined: while the player entry is open it takes the lowest free slot (else the
    // audience); during a game it is in the audience; otherwise it waits.
    const Entry& add(int phoneId, const QString& name, Seating seating,
                     const std::function<bool(int slot)>& slotFree);
    // The player entry opened (nameAt: the name in a slot's box). A phone whose name is still
    // in a box takes that slot again; the others take the empty slots in join order; the rest
    // are the audience. Returns the phones that took a slot, in slot order.
    std::vector<int> openPlayerEntry(const std::function<QString(int slot)>& nameAt);
    // The game began: waiting phones watch as the audience, and so do players whose name is no
    // longer in their slot's box (nameAt; cleared or typed over at the keyboard); the audience
    // counts start.
    void startGame(const std::function<QString(int slot)>& nameAt = {});
    // The game ended: everyone waits for the next player entry.
    void endGame();

    const Entry* find(int phoneId) const;
    // The phone in a slot, or nothing.
    std::optional<int> phoneAt(int slot) const;
    const std::map<int, Entry>& entries() const { return m_entries; }
    int audienceSize() const;

    // An audience phone answers the question asked now: only the first answer counts.
    bool answer(int phoneId, int letter);
    // A new question: no audience phone has answered it yet.
    void newQuestion();
    // The question is judged: each audience phone that chose `correct` scores one.
    void judge(int correct);
    // The audience phone with the most right answers (the earliest joined of equals), if any
    // answered right at all.
    std::optional<int> bestOfAudience() const;

private:
    std::map<int, Entry> m_entries;
    int m_joins = 0;
};
