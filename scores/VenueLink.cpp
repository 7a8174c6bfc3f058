#include "VenueLink.h"

#include "ScoreStore.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMutexLocker>
#include <QObject>

VenueLink::VenueLink(const QString& address, const QString& outboxPath,
                     std::function<void()> roundEnded)
    : address_(address), outboxPath(outboxPath), roundEnded(std::move(roundEnded)) {
    thread.setObjectName(QStringLiteral("venue scores"));
    worker = new QObject;
    worker->moveToThread(&thread);
    thread.start();
    sendSoon();
}

VenueLink::~VenueLink() {
    if (thread.isRunning()) {
        stop();
        thread.wait();
    }
    delete worker;
}

void VenueLink::stop() {
    {
        // A round that is telling its end finishes that first; none is told after this.
        QMutexLocker lock(&mutex);
        stopping = true;
    }
    // After the round under way: the connections close on the thread that opened them.
    QMetaObject::invokeMethod(
        worker,
        [this] {
            server.reset();
            local.reset();
            thread.quit();
        },
        Qt::QueuedConnection);
}

void VenueLink::close(std::unique_ptr<VenueLink> link, int waitMs) {
    if (!link) return;
    link->stop();
    // A server that stopped answering in the middle of a statement holds the round for as
    // long as it stays so (the client library sets no limit of its own). Its thread is then
    // left running, with the link, until the round ends (waitForStrandedRounds()) or the
    // program does: what the round had not finished is still in the outbox, and a game the
    // server took twice counts once.
    if (link->thread.wait(waitMs)) return;
    QMutexLocker lock(&strandedLock());
    stranded().append(link.release());
}

QList<VenueLink*>& VenueLink::stranded() {
    static QList<VenueLink*> links;
    return links;
}

QMutex& VenueLink::strandedLock() {
    static QMutex lock;
    return lock;
}

bool VenueLink::waitForStrandedRounds(int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    QMutexLocker lock(&strandedLock());
    QList<VenueLink*>& links = stranded();
    while (!links.isEmpty()) {
        if (!links.first()->thread.wait(deadline)) return false;
        delete links.takeFirst();
    }
    return true;
}

QString VenueLink::key(const QuestionSet& set) {
    return set.fileName() + QLatin1Char('/') + QString::fromLatin1(set.header().toHex());
}

std::optional<QList<ScoreEntry>> VenueLink::hall(const QuestionSet& set) const {
    QMutexLocker lock(&mutex);
    const auto found = halls.constFind(key(set));
    if (found == halls.constEnd()) return std::nullopt;
    return *found;
}

void VenueLink::watch(const QuestionSet& set) {
    {
        QMutexLocker lock(&mutex);
        if (!set.isValid() || watched.contains(set)) return;
        watched.append(set);
    }
    sendSoon();
}

void VenueLink::sendSoon() {
    if (roundWaiting.exchange(true)) return;
    QMetaObject::invokeMethod(
        worker,
        [this] {
            roundWaiting = false;
            round();
        },
        Qt::QueuedConnection);
}

void VenueLink::runRound() {
    QMetaObject::invokeMethod(worker, [this] { round(); }, Qt::BlockingQueuedConnection);
}

void VenueLink::waitForRounds() {
    QMetaObject::invokeMethod(worker, [] {}, Qt::BlockingQueuedConnection);
}

QStringList VenueLink::takeMessages() {
    QMutexLocker lock(&mutex);
    return std::exchange(messages, {});
}

void VenueLink::goOffline(const QString& reason) {
    // The connection is opened afresh in the next round.
    server.reset();
    offline = true;
    if (!reported) {
        reported = true;
        QMutexLocker lock(&mutex);
        messages << reason;
    }
}

void VenueLink::round() {
    if (stopping) return;
    // Counted, and told, however the round ends.
    struct Count {
        VenueLink& link;
        ~Count() {
            ++link.rounds;
            QMutexLocker lock(&link.mutex);
            if (link.roundEnded && !link.stopping) link.roundEnded();
        }
    } count{*this};
    if (!local) {
        local = std::make_unique<ScoreStore>(outboxPath, QString(), nullptr,
                                             ScoreStore::Recovery::LeaveAlone);
        if (!local->isAvailable()) {
            const QStringList why = local->takeMessages();
            local.reset();
            return goOffline(why.join(QLatin1Char(' ')));
        }
    }
    // The game's thread leaves the writing of its log into the file to this one.
    local->checkpoint();
    if (!server) {
        server = std::make_unique<ScoreStore>(address_);
        if (!server->isAvailable()) return goOffline(server->takeMessages().join(QLatin1Char(' ')));
    }
    const auto lost = [this](const QString& what) {
        // A server that went away mid-round leaves no error text of its own.
        const QStringList why = server->takeMessages();
        const QString reason = why.isEmpty() ? QStringLiteral("the server did not answer")
                                             : why.join(QLatin1Char(' '));
        goOffline(QStringLiteral("The venue's scores at %1 could not be %2 (%3). Scores are "
                                 "kept on this cabinet and sent when the server is back.")
                      .arg(address_, what, reason));
    };
    QStringList done;
    for (const GameRecord& game : local->outbox()) {
        if (!server->storeGame(game)) {
            // What was taken before the failure leaves the outbox all the same.
            local->removeFromOutbox(done);
            sent += static_cast<int>(done.size());
            return lost(QStringLiteral("written"));
        }
        done << game.id;
    }
    QList<QuestionSet> sets;
    {
        QMutexLocker lock(&mutex);
        sets = watched;
    }
    QHash<QString, QList<ScoreEntry>> read;
    for (const QuestionSet& set : sets) {
        QList<ScoreEntry> entries;
        if (!server->readHall(set, entries)) {
            local->removeFromOutbox(done);
            sent += static_cast<int>(done.size());
            return lost(QStringLiteral("read"));
        }
        read.insert(key(set), entries);
    }
    {
        // The halls now hold the games just sent: they leave the outbox after this.
        QMutexLocker lock(&mutex);
        for (auto it = read.cbegin(); it != read.cend(); ++it)
            halls.insert(it.key(), it.value());
    }
    offline = false;
    local->removeFromOutbox(done);
    sent += static_cast<int>(done.size());
}
