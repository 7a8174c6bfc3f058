#pragma once

#include "PhoneMessage.h"
#include "PhoneRoster.h"
#include "QuizGame.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

class PhoneServer;

// The one place where the phones meet the game: it watches the game's signals and tells the
// phones what the cabinet shows, and turns a phone's tap into the game's command, only when
// that phone may give it. The game never waits for a phone.
class PhoneGameBridge : public QObject {
    Q_OBJECT
public:
    PhoneGameBridge(QuizGame& game, PhoneServer& server, QObject* parent = nullptr);

    const PhoneRoster& roster() const { return m_roster; }
    // The best of the audience for the final scores, as "Name (right answers)"; empty when
    // nobody in the audience answered right.
    QString bestOfAudience() const;
    // Everything a phone needs to show the game now (the "state" message).
    QJsonObject state() const;

    // The hall of fame's name entry is open for the player in that slot, with their place,
    // score and the name offered: that player's phone may send the name, every other phone
    // is told who is entering one. It closes with closeNameEntry(), with the first name a
    // phone sends, or when the game leaves the name entry.
    void offerNameEntry(int slot, int place, int score, const QString& offered);
    void closeNameEntry();

signals:
    // A phone took a player slot: its name goes into the slot's name box.
    void playerNamed(int slot, const QString& name);
    // The audience or its counts changed.
    void audienceChanged();
    // The phone of the player whose name entry is open sent this name (1 to 10 characters of
    // text, blanks trimmed).
    void nameEntered(int slot, const QString& name);

private:
    void phoneJoined(int phoneId);
    void phoneResumed(int phoneId);
    void command(int phoneId, const PhoneMessage& message);
    void answer(int phoneId, int letter);
    void press(int phoneId, PhoneMessage::Type button);
    void enterName(int phoneId, const QString& name);
    void followPhase(QuizGame::Phase phase);
    void sendLetters();
    void sendTime();
    void sendLamp();
    void sendCredits();

    void seat(int phoneId, int slot);
    void sendState();
    void sendYou(int phoneId);
    void sendError(int phoneId, const QString& reason);
    int slotAtControls() const;
    int litLamp() const;
    int correctLetter() const;
    PhoneRoster::Seating seating() const;

    QuizGame& m_game;
    PhoneServer& m_server;
    PhoneRoster m_roster;
    int m_lettersSent = 0;
    int m_timeSent = -1;
    bool m_gameOn = false;
    bool m_judged = false;
    struct NameEntry {
        int slot = 0; // 0: no entry open
        int place = 0;
        int score = 0;
        QString offered;
    } m_entry;
};
