#pragma once

#include <QString>

#include <array>

// A player's result, kept when a game ends for the final scores and the hall of fame.
struct Standing {
    int slot = 0;      // 1..4
    QString name;      // the name shown: typed, or "Player One" and so on
    QString typedName; // the name typed at the player entry; empty when none
    int score = 0;     // best credit reached, never below 0
    int questionsPlayed = 0;
    bool played = false; // the slot was named (or is the one player of a nameless game)
};

// The players of a game and their credit: the four name slots, each player's own credit and
// best score, whose turn it is, and the credit shown on the meter (the credit of the player at
// the controls). Slots are 1..4; a game of one player has nobody "at the controls" by number
// and plays in the first named slot.
class Players {
public:
    // Credit of each named player at the start of a game.
    static constexpr int startingCredit = 5;
    // The credit shown when the player at the controls charged a question they could not pay.
    static constexpr int exhausted = -1;

    // A name box changed; the count of named players follows.
    void setName(int slot, const QString& name);
    // The name typed for a slot (empty: none).
    QString name(int slot) const;
    // Number of named slots.
    int count() const { return m_count; }
    // A game of several players.
    bool multiplayer() const { return m_count >= 2; }

    // The named players get five credits each; a game of one player without names plays in
    // slot 1. Nobody is at the controls yet.
    void giveStartingCredits();
    // The players leave: no credit and no score for anyone.
    void forget();
    // A new attract mode: nobody at the controls, the meter shows 1.
    void resetForAttractMode();

    // The credit shown: the credit of the player at the controls; exhausted (-1) when a
    // question was charged that could not be paid.
    int credit() const { return m_credit; }
    // Each player's own credit in a game of several players.
    const std::array<int, 4>& credits() const { return m_credits; }
    // Highest credit each player reached in the game.
    const std::array<int, 4>& scores() const { return m_scores; }
    // Questions each player was charged for in this game.
    const std::array<int, 4>& questionsPlayed() const { return m_questionsPlayed; }
    // 0 in a game of one player, else the player whose turn it is (1 to 4).
    int current() const { return m_current; }
    // The slot of the player at the controls, also in a game of one player.
    int slotAtControls() const;

    // Some player of a game of several players still has credit.
    bool anyoneHasCredit() const;
    // The game goes on after a wrong answer or a time out while anyone has credit to play.
    bool goesOn() const;
    // The question is charged to the player at the controls (at its first letter).
    void chargeQuestion();
    // One dollar of a prize for the player at the controls.
    void addDollar();
    // The turn passes to the next player with credit, and their credit is shown.
    void passTurn();
    // The player at the controls reached `won` credits: their best score follows.
    void recordScore(int won);

    // The name shown for a slot: the typed name, or "Player One" and so on.
    QString finalName(int slot) const;
    // The score shown for a slot: never below 0.
    int finalScore(int slot) const;
    // Every slot's result.
    std::array<Standing, 4> standings() const;

private:
    friend class GamePosition; // tests set up positions through it
    // The credit of the player at the controls becomes the credit shown.
    void showCreditOfPlayerAtControls();

    std::array<QString, 4> m_names;
    std::array<int, 4> m_credits{0, 0, 0, 0};
    std::array<int, 4> m_scores{0, 0, 0, 0};
    std::array<int, 4> m_questionsPlayed{0, 0, 0, 0};
    int m_current = 0;
    int m_count = 0;
    int m_credit = 1;
};
