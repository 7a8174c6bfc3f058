#pragma once

#include "PlayerResult.h"
#include "QuestionSet.h"
#include "ScoreEntry.h"
#include "ScoreStore.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class QThread;
class Timer;
class VenueLink;

// The scores as the game sees them. The database (a ScoreStore on the cabinet's file, with
// its line to the venue when there is one) lives on a thread of its own: the game's thread
// hands it every write and never waits for one, nor for a read. What the game shows comes
// from what the store last told: the halls of the sets asked for, with the games handed over
// since then already in their places; whether the scores last; whether the venue is offline;
// the store's messages. The game's thread takes none of the store's locks: work goes over
// on a list that takes it without a lock, and what the store told is copied only when its
// lock is free at once, else the copy from the time before serves.
//
// The work is done in the order it was handed over. Closing the keeper waits for all of it,
// so a game stored just before the program closes is kept.
class ScoreKeeper {
public:
    // Opens the scores at location (as ScoreStore takes it) on the keeper's thread and
    // returns once they are open: made at start-up, before any game. now dates the games;
    // the wall clock when none is given.
    explicit ScoreKeeper(const QString& location = ScoreStore::defaultPath(),
                         std::function<QDateTime()> now = {});
    ~ScoreKeeper();
    ScoreKeeper(const ScoreKeeper&) = delete;
    ScoreKeeper& operator=(const ScoreKeeper&) = delete;

    // ---- At start-up, before any game: these return once the store has done them.
    void setCabinet(const QString& name);
    // Makes the halls and the figures the venue's at address (ScoreStore::useVenue()). The
    // outbox is sent after each game and, with a clock, every VenueLink::RoundIntervalMs on
    // it, which is also how often the venue's halls are read again.
    bool useVenue(const QString& address, Clock* clock = nullptr);

    // ---- What the store told last; none of these waits for it.
    const QString& path() const { return path_; }
    bool isAvailable() const;
    bool isLasting() const;
    bool isVenue() const;
    bool isOffline() const;
    // The store's messages for the player, oldest first; each is given once.
    QStringList takeMessages();
    // The set's ten best as last read, with the games handed over since then in their
    // places and a hall cleared since then empty. Nothing while the hall has not been read
    // yet: it is asked for.
    std::optional<QList<ScoreEntry>> bestTen(const QuestionSet& set);
    // The places the scores of one game would take in bestTen(), as ScoreStore::placesOf()
    // gives them. A hall not read yet counts as empty (when the game is stored, the store
    // keeps only what ranks); all 0 when the hall cannot be read.
    QList<int> placesOf(const QuestionSet& set, const QList<int>& scores);
    // Asks for the set's hall, so that it is at hand when it is shown.
    void watch(const QuestionSet& set);

    // ---- Work handed to the store's thread, as ScoreStore does it; none of these waits.
    void recordAnswer(const QuestionSet& set, const QString& question, bool right);
    void recordGame(const QuestionSet& set, const QList<PlayerResult>& results);
    void finishGame();
    void clearHallOfFame(const QuestionSet& set);

    // Returns when the work handed over so far is done, with the venue's rounds it asked
    // for: for tools and tests, never during a game.
    void sync();

    // A store that reads the scores' file on the calling thread, opened at the first call and
    // kept: for the question editor's figures, read while no game runs. None while the
    // scores are not kept in a file.
    ScoreStore* reader();

private:
    // A hall as the store's thread read it, after the work numbered asOf.
    struct Hall {
        QList<ScoreEntry> entries;
        quint64 asOf = 0;
        bool readable = true;
    };
    // A change to a hall handed over and not yet told done.
    struct Change {
        quint64 number = 0;
        QuestionSet set;
        bool clears = false;
        QList<ScoreEntry> entries;
    };
    // What the store's thread tells the game's.
    struct Told {
        QHash<QuestionSet, Hall> halls;
        quint64 done = 0;
        bool available = false;
        bool lasting = false;
        bool venue = false;
        bool offline = false;
        QStringList messages;
    };

    // A piece of work on the list for the store's thread, newest first.
    struct Job {
        std::function<void()> work;
        Job* next = nullptr;
    };

    // Puts work on the list for the store's thread; never waits.
    void post(std::function<void()> work) const;
    // The store's thread: runs the work on the list, oldest first, until told to stop.
    void serve();
    // Runs work on the store's thread and returns when it is done.
    void runAndWait(const std::function<void()>& work);
    // Runs work on the store's thread and returns when it is done and told.
    void atStartUp(const std::function<void()>& work);
    // What the store told, as far as it can be read without waiting.
    const Told& lastTold() const;
    // Hands work on set over to the store's thread; change, when given, is the change it
    // makes to the set's hall.
    void hand(const QuestionSet& set, std::function<void(ScoreStore&)> work,
              std::optional<Change> change = std::nullopt);
    // The set's hall with the changes not yet done in it.
    std::optional<Hall> view(const QuestionSet& set);
    // Enters a score into a hall of the ten best, best first, where the store would put it.
    static void enter(QList<ScoreEntry>& entries, const ScoreEntry& entry);
    // On the store's thread: reads the halls of these sets and tells them, with the state
    // of the store and its messages.
    void tell(const QList<QuestionSet>& sets);

    const QString path_;
    const std::function<QDateTime()> now;
    std::unique_ptr<QThread> thread;
    mutable std::atomic<Job*> jobs{nullptr};
    mutable QSemaphore jobsWaiting;
    bool serving = true;

    // The game's thread only.
    QString cabinet;
    VenueLink* link = nullptr;
    std::unique_ptr<Timer> venueRounds;
    std::unique_ptr<ScoreStore> readerStore;
    quint64 handed = 0;
    QList<Change> changes;
    QSet<QuestionSet> asked;
    mutable Told seen;
    mutable quint64 seenVersion = 0;

    // The store's thread only (and the game's while atStartUp() waits).
    std::unique_ptr<ScoreStore> store;
    QList<QuestionSet> watched;
    quint64 workDone = 0;

    mutable QMutex mutex;
    Told told;
    // Counts what the store told, so that the game's thread copies it only when it is new.
    std::atomic<quint64> toldVersion{0};
};
