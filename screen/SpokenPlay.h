#pragma once

#include "QuizGame.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QMenu;
class Settings;
class Speaker;

// Spoken play: says what happens in the game as it enters each phase, so that a player who
// cannot see the screen can play with the keyboard and the ears alone. It owns the entry
// "&Speak" of the Sound menu (stored as "Speak" in "Options").
//
// Each announcement cuts off the one before, with one exception: the answers follow the
// question rather than cut it off. While speech is on, the time limit of a question stands
// still until its answers have been spoken (or the speaker gave up on them); nothing ever
// waits for speech otherwise.
class SpokenPlay : public QObject {
    Q_OBJECT
public:
    // speaker may be null: the entry is then disabled, as without any speech engine.
    SpokenPlay(QuizGame& game, Speaker* speaker, Settings& settings, QMenu* soundMenu,
               QObject* parent = nullptr);
    ~SpokenPlay() override;

    // "&Speak": checkable, disabled with a tip saying why when nothing can speak.
    QAction* speakAction() const { return action; }
    // Speech is switched on and something can speak.
    bool speaking() const;

private:
    // The game entered a phase.
    void announce(QuizGame::Phase phase);
    // The speaker finished its line (or gave up on it).
    void lineFinished();
    void say(const QString& text);
    void setSpeechOn(bool on);
    void releaseTimeLimit();

    QuizGame& game;
    QPointer<Speaker> speaker;
    Settings& settings;
    QAction* action = nullptr;
    // The answers line waiting for the question to be spoken to its end.
    QString answersAfterQuestion;
    // The line being spoken is the answers line that the time limit waits for.
    bool answersBeingSpoken = false;
    // The last phase entered was Typing: the answers opening next are the question's.
    bool questionTyped = false;
};
