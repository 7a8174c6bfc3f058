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

signals:
    // A phone took a player slot: its name goes into the slot's name box.
    void playerNamed(int slot, const QString& name);
    // The audience or its counts changed.
    void audienceChanged();

private:
    void phoneJoined(int phoneId);
    void phoneResumed(int phoneId);
    void command(int phoneId, const PhoneMessage& message);
    void answer(int phoneId, int letter);
    void press(int phoneId, PhoneMessage::Type button);
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
};
