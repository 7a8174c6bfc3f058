#pragma once

#include "GameRecord.h"
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
#include <memory>
#include <utility>

struct QuestionRecord;
class VenueLink;

// The hall of fame of every question set, and how each question fared, in one database:
// the SQLite file of this cabinet, or a venue's PostgreSQL server that several cabinets
// share. Both hold the same tables, reached by the same prepared statements; the schema
// carries its version, an older one is upgraded when the store opens and a newer one is
// left alone. Every write is one transaction; the SQLite file keeps a write-ahead log, so a
// program killed at any moment leaves it readable with every game it committed.
//
// Nothing here throws or waits long: a database file that is damaged or unreadable is moved
// aside under a name with the time, and a fresh one takes its place; one that cannot be used
// at all gives way to a database in memory for the rest of the session. A server that
// cannot be reached leaves the store unavailable. Either way a message for the player says
// what happened (takeMessages()), and the game goes on.
//
// A cabinet of a venue keeps its own file and sends its games to the server from a thread
// of its own (useVenue()): the file holds each game in an outbox until the server has it.
class ScoreStore {
public:
    static constexpr int HallSize = 10;
    static constexpr int NameLength = 10;
    // The version of the tables this program reads and writes.
    static constexpr int SchemaVersion = 2;

    // What may be done to a database file that cannot be read.
    // ReadOnly leaves it alone too and writes nothing at all: a report's open.
    enum class Recovery { MoveAside, LeaveAlone, ReadOnly };

    // The database in the user's data folder.
    static QString defaultPath();
    // Whether location names a server ("postgresql://user@host:port/dbname?sslmode=...")
    // rather than a file.
    static bool isServerAddress(const QString& location);

    // Opens (or creates) the database at location, a file path or a server address, under
    // its own Qt SQL connection; an empty connection name (or one already in use) gets a
    // fresh one, so several stores can be open at once. The clock dates entries and names
    // moved files; the wall clock when none is given. With Recovery::LeaveAlone nothing is
    // changed but the games and figures written through the store: a file that cannot be
    // read, or tables that are missing or older, are left as they are and the store stays
    // unavailable.
    explicit ScoreStore(const QString& location = defaultPath(),
                        const QString& connectionName = QString(),
                        std::function<QDateTime()> now = {},
                        Recovery recovery = Recovery::MoveAside);
    ~ScoreStore();
    ScoreStore(const ScoreStore&) = delete;
    ScoreStore& operator=(const ScoreStore&) = delete;

    // Where the scores are kept, and whether they last: false while a database in memory
    // stands in for one that could not be used.
    const QString& path() const { return path_; }
    bool isLasting() const { return lasting; }
    const QString& connectionName() const { return connection; }
    // Whether the store can be read and written at all.
    bool isAvailable() const { return available; }
    bool isServer() const { return server; }

    // The cabinet that the games stored from here are made on; the host name unless set.
    const QString& cabinet() const { return cabinet_; }
    void setCabinet(const QString& name);

    // Makes the hall of fame and the figures the venue's at address: each game goes into
    // the outbox of this store's file in the same transaction that keeps it here, and a
    // thread of its own sends the outbox to the server and reads the venue's halls back,
    // after each game and whenever venue()->sendSoon() asks; roundEnded is called there
    // after each of its rounds. bestTen() and placesOf() then answer from the last hall
    // read, with the games still in the outbox. Nothing here waits on the network. False,
    // with a message, when this store cannot keep an outbox (it is not a lasting file).
    bool useVenue(const QString& address, std::function<void()> roundEnded = {});
    VenueLink* venue() const { return venue_.get(); }
    // Whether the venue's server could not be reached the last time it was tried.
    bool isOffline() const;
    // Closes the game whose answers are being gathered for the venue, so that it is sent
    // even when none of its players entered the hall of fame.
    void finishGame();

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
    // transaction, dated entered (now when not given). Names are cut to ten characters.
    // False when the write failed.
    bool recordGame(const QuestionSet& set, const QList<PlayerResult>& results,
                    const QDateTime& entered = QDateTime());
    // The set's hall of fame, best first; at most ten entries.
    QList<ScoreEntry> bestTen(const QuestionSet& set);
    // The set's hall of fame in this store alone, whether or not the venue is used. False
    // when it cannot be read.
    bool readHall(const QuestionSet& set, QList<ScoreEntry>& entries);
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

    // Stores a whole game unless a game with its id is already stored: its results (all of
    // them) and its answers, in one transaction. True when the game is stored, now or
    // before.
    bool storeGame(const GameRecord& game);

    // The games waiting to be sent, oldest first (only those that are finished unless all).
    QList<GameRecord> outbox(bool all = false);
    // Takes the sent games out of the outbox.
    bool removeFromOutbox(const QStringList& ids);
    // Writes what the file's log holds into the file, as far as no reader is in the way.
    bool checkpoint();

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
    void startServer();
    // Opens the connection on a database file (or in memory) and readies it for use.
    Failure open(const QString& databaseName, QString& reason);
    // Brings the tables to this program's version in one transaction.
    Failure prepareSchema(Session& s, QString& reason);
    bool upgradeFromFirstVersion(Session& s);
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
    // The game that gathers answers for the venue, opened on set when needed.
    bool openGameFor(Session& s, const QuestionSet& set);

    QString path_;
    QString connection;
    bool available = false;
    bool lasting = false;
    bool server = false;
    Recovery recovery;
    QString cabinet_;
    std::unique_ptr<VenueLink> venue_;
    // The outbox game gathering answers, and its set.
    QString openGameId;
    QuestionSet openGameSet;
    QStringList messages;
    std::function<QDateTime()> now;
};
