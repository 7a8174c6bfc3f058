#pragma once

#include "QuestionSet.h"
#include "ScoreEntry.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QObject;
class ScoreStore;

// A cabinet's line to its venue's scores server, on a thread of its own: it sends the games
// waiting in the outbox of the cabinet's file, each once, and reads back the venue's hall of
// fame of every set that was asked for. The game's thread only reads what the last round
// left (hall(), isOffline()), under a lock that is never held while the network is used.
//
// A round runs soon after each game, and whenever sendSoon() asks for one: the game asks
// every RoundIntervalMs on its clock (ScoreKeeper), so that the link retries while it is
// down and reads the halls again while it is up. The first failure of the session leaves a
// message (wrong password, no server, a newer schema), later ones only the offline mark.
class VenueLink {
public:
    static constexpr int RoundIntervalMs = 5000;

    // The server at address; the outbox in the database file at outboxPath. roundEnded, when
    // given, is called on the link's thread after every round it ran.
    VenueLink(const QString& address, const QString& outboxPath,
              std::function<void()> roundEnded = {});
    ~VenueLink();
    VenueLink(const VenueLink&) = delete;
    VenueLink& operator=(const VenueLink&) = delete;

    // How long closing waits for a round under way.
    static constexpr int CloseWaitMs = 1000;
    // Closes the link, waiting at most waitMs for the round under way; a round held longer
    // by a server that does not answer is left running, with the link, until the program
    // ends, and never tells its end.
    static void close(std::unique_ptr<VenueLink> link, int waitMs = CloseWaitMs);
    // Waits at most waitMs for the rounds that close() left running; true when none is left.
    // A program whose round is still held by its server must not end through its libraries'
    // teardown (the round would wake into freed driver state): it ends at once instead.
    static bool waitForStrandedRounds(int waitMs = 0);

    const QString& address() const { return address_; }
    // True from the first round that could not reach the server until one could.
    bool isOffline() const { return offline.load(); }
    // The venue's ten best of the set as last read, or nothing when it was never read.
    std::optional<QList<ScoreEntry>> hall(const QuestionSet& set) const;
    // Asks for the set's hall in every round from now on; the first read comes soon.
    void watch(const QuestionSet& set);
    // Runs a round soon, without waiting for it.
    void sendSoon();
    // Runs a round and returns when it is done: for tools that have nothing else to do, and
    // for tests. Never called from the game's thread.
    void runRound();
    // Returns when every round asked for so far has ended. Never called from the game's
    // thread during a game.
    void waitForRounds();
    // How many rounds have ended, and how many games were taken by the server.
    int roundsDone() const { return rounds.load(); }
    int gamesSent() const { return sent.load(); }
    QStringList takeMessages();

private:
    // The links that close() left running, and their lock.
    static QList<VenueLink*>& stranded();
    static QMutex& strandedLock();
    static QString key(const QuestionSet& set);
    // One round, on the link's thread.
    void round();
    // Lets the round under way end and then stops the thread, without waiting.
    void stop();
    void goOffline(const QString& reason);

    const QString address_;
    const QString outboxPath;
    QThread thread;
    // Lives on the link's thread; everything below it is used there only.
    QObject* worker = nullptr;
    const std::function<void()> roundEnded;
    std::unique_ptr<ScoreStore> server;
    std::unique_ptr<ScoreStore> local;
    bool reported = false;

    mutable QMutex mutex;
    QHash<QString, QList<ScoreEntry>> halls;
    QList<QuestionSet> watched;
    QStringList messages;
    std::atomic<bool> offline{false};
    // A round is waiting on the thread: more asks for one add nothing.
    std::atomic<bool> roundWaiting{false};
    std::atomic<bool> stopping{false};
    std::atomic<int> rounds{0};
    std::atomic<int> sent{0};
};
