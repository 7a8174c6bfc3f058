#pragma once

#include "PlayerResult.h"
#include "QuestionFigures.h"
#include "QuestionSet.h"
#include "ScoreEntry.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlError>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

struct QuestionRecord;

// The hall of fame of every question set, and how each question fared, in one SQLite
// database. Each set has a table of scores and a table of question figures. Every write is
// one transaction; the database keeps a write-ahead log, so a program killed at any moment
// leaves it readable with every game it committed.
//
// Nothing here throws or waits long: a database that is damaged or unreadable is moved aside
// under a name with the time, and a fresh one takes its place; one that cannot be used at
// all gives way to a database in memory for the rest of the session. Either way a message
// for the player says what happened (takeMessages()), and the game goes on.
class ScoreStore {
public:
    static constexpr int HallSize = 10;
    static constexpr int NameLength = 10;

    // The database in the user's data folder.
    static QString defaultPath();

    // Opens (or creates) the database at path under its own Qt SQL connection; an empty
    // connection name (or one already in use) gets a fresh one, so several stores can be
    // open at once. The clock dates entries and names moved files; the wall clock when none
    // is given.
    explicit ScoreStore(const QString& path = defaultPath(),
                        const QString& connectionName = QString(),
                        std::function<QDateTime()> now = {});
    ~ScoreStore();
    ScoreStore(const ScoreStore&) = delete;
    ScoreStore& operator=(const ScoreStore&) = delete;

    // Where the scores are kept, and whether they last: false while a database in memory
    // stands in for one that could not be used.
    const QString& path() const { return path_; }
    bool isLasting() const { return lasting; }
    const QString& connectionName() const { return connection; }

    // Messages for the player about the database (a damaged file moved aside, scores that
    // cannot be kept), oldest first; each is given once.
    QStringList takeMessages();

    // The place, 1 to 10, that a score would take in the set's hall of fame, or 0 when it
    // does not rank. A score equal to one already there goes below it.
    int placeOf(const QuestionSet& set, int score);
    bool ranks(const QuestionSet& set, int score) { return placeOf(set, score) > 0; }
    // The places the scores of one game would take, in the order given, when all of them
    // are entered: among equal scores of the game the earlier one goes first. All 0 when
    // the hall of fame cannot be read.
    QList<int> placesOf(const QuestionSet& set, const QList<int>& scores);

    // Enters the results of one game that rank (as placesOf() sees them), in one
    // transaction. Names are cut to ten characters. False when the write failed.
    bool recordGame(const QuestionSet& set, const QList<PlayerResult>& results);
    // The set's hall of fame, best first; at most ten entries.
    QList<ScoreEntry> bestTen(const QuestionSet& set);
    // Empties the hall of fame of every set; the question figures stay.
    bool clearHallOfFame();
    // Empties the set's hall of fame; its question figures and the other sets stay.
    bool clearHallOfFame(const QuestionSet& set);

    // Counts one question asked, answered right or not. Questions are known by their text
    // (questionText()), so figures follow a question that moves within its set.
    bool recordAnswer(const QuestionSet& set, const QString& question, bool right);
    QuestionFigures figures(const QuestionSet& set, const QString& question);
    // The figures of every question of the set that was ever asked.
    QHash<QString, QuestionFigures> allFigures(const QuestionSet& set);

    // The text a question of a set is known by in the figures: its question in Unicode.
    static QString questionText(const QuestionRecord& record);

    // A name as the hall of fame keeps it: blanks at either end and control characters
    // removed, at most ten characters (a letter with its accents counts as one).
    static QString cleanName(const QString& name);
    // The places among the ten best, as placesOf() gives them, for scores entered below the
    // existing ones (best first).
    static QList<int> placesAmong(const QList<int>& existing, const QList<int>& scores);

private:
    class Session;
    enum class Failure { None, Damaged, Unusable };

    void start();
    // Opens the connection on a database file (or in memory) and readies it for use.
    Failure open(const QString& databaseName, QString& reason);
    void close();
    // Moves the damaged database aside and starts a fresh one in its place.
    void replaceDamaged(const QString& reason);
    bool moveAside(QString& movedTo);
    void useMemory(const QString& reason);
    // Runs op on a session; when it fails on a damaged database, the database is replaced
    // and op runs once more. A failure that remains adds "failure: reason" to the messages,
    // when failure is given.
    bool run(const std::function<bool(Session&)>& op, const char* failure = nullptr);
    static Failure classify(const QSqlError& error);
    QHash<QString, QuestionFigures> allFigures(const QuestionSet& set, const QString* only);

    QString path_;
    QString connection;
    bool available = false;
    bool lasting = false;
    QStringList messages;
    std::function<QDateTime()> now;
};
