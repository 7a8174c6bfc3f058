#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Everything the game says, built from the facts of the moment. Texts from question files and
// name boxes are spoken with their runs of white space and control characters made single
// spaces.
namespace SpokenTexts {

// One row of the final scores.
struct PlayerScore {
    int slot = 1;  // 1 to 4
    QString name;  // the name box; blank for an unnamed player
    int score = 0; // the best credit of the game
};

QString question(const QString& text);
// "A: …, B: …, C: …, D: …", the answers in the order they are shown.
QString answers(const QStringList& shown);
QString correct();
QString wrong(const QString& correctAnswer);
QString timeOut(const QString& correctAnswer);
// The prize under the ladder's light, in dollars; 0 is a LOSE lamp.
QString prize(int dollars);
// Whose turn it is; a blank name is the slot's caption ("Player Two").
QString turn(int slot, const QString& name);
// The player at the controls has no credit left.
QString playerOut(int slot, const QString& name);
// The player entry opens.
QString playerEntry();
// A player's score ranks in the hall of fame (place as said, e.g. "1st"): the name entry opens.
QString nameEntry(const QString& player, const QString& place);
// The prize ladder's light runs.
QString ladder();
QString gameOver();
// The final scores, one player after the other as listed.
QString finalScores(const QList<PlayerScore>& players);

} // namespace SpokenTexts
