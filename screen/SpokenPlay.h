#pragma once

#include "QuizGame.h"

#include <QList>
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
// Each announcement cuts off the one before, with two exceptions where the game moves on by
// itself: the answers follow the question, and the next question (or "Game over") follows the
// prize, rather than cut them off. While speech is on, the time limit of a question stands
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
    // The hall of fame's name entry opened for a player whose score ranks at this place.
    void announceNameEntry(const QString& player, int place);

private:
    // The game entered a phase.
    void announce(QuizGame::Phase phase);
    // The speaker finished its line (or gave up on it).
    void lineFinished();
    struct Line {
        enum class Kind {
            Plain,    // cut off by whatever is said next
            Question, // what the game says next waits for its end
            Prize,    // the same
            Answers,  // the answers: the time limit waits for their end
        };
        QString text;
        Kind kind = Kind::Plain;
    };
    // Says a line at once, cutting off the one being said and dropping any waiting.
    void say(const QString& text);
    // Says a line once the question or prize being said has ended (at once otherwise).
    void sayAfterWholeLine(const Line& line);
    void start(const Line& line);
    void setSpeechOn(bool on);
    void releaseTimeLimit();

    QuizGame& game;
    QPointer<Speaker> speaker;
    Settings& settings;
    QAction* action = nullptr;
    // Lines waiting for the question or prize being said to end, in order.
    QList<Line> waiting;
    Line::Kind currentKind = Line::Kind::Plain;
    // The line being spoken is the answers line that the time limit waits for.
    bool answersBeingSpoken = false;
    // The time limit stands still for our answers line.
    bool holdingTimeLimit = false;
};
