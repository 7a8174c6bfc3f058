#include "ScoreKeeper.h"

#include "Timer.h"
#include "VenueLink.h"

#include <QMutexLocker>
#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace {
// How much the store's thread gives way to the others of the program (nice, 0 to 19).
constexpr int WorkerNice = 10;
} // namespace

ScoreKeeper::ScoreKeeper(const QString& location, std::function<QDateTime()> clock)
    : path_(location),
      // The time in UTC, which the games are dated in, asks nothing of the time zone.
      now(clock ? clock : [] { return QDateTime::currentDateTimeUtc(); }) {
    thread.reset(QThread::create([this] { serve(); }));
    thread->setObjectName(QStringLiteral("scores"));
    thread->start();
    atStartUp([&] { store = std::make_unique<ScoreStore>(location, QString(), clock); });
}

ScoreKeeper::~ScoreKeeper() {
    venueRounds.reset();
    readerStore.reset();
    // After every piece of work handed over before: the store closes on its own thread.
    post([this] {
        store.reset();
        serving = false;
    });
    thread->wait();
    // What the venue's last round asked for after that has nothing left to tell.
    for (Job* job = jobs.exchange(nullptr); job;)
        delete std::exchange(job, job->next);
}

void ScoreKeeper::post(std::function<void()> work) const {
    Job* job = new Job{std::move(work), jobs.load(std::memory_order_relaxed)};
    while (!jobs.compare_exchange_weak(job->next, job, std::memory_order_release,
                                       std::memory_order_relaxed)) {
    }
    jobsWaiting.release();
}

void ScoreKeeper::serve() {
    // The store's thread gives way to the game's: woken by a piece of work, it waits for
    // the game's thread to give up the processor instead of taking it from it.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), WorkerNice);
    while (serving) {
        jobsWaiting.acquire();
        // The list holds the newest first: turned round, the oldest runs first.
        Job* newest = jobs.exchange(nullptr, std::memory_order_acquire);
        Job* oldest = nullptr;
        while (newest) {
            Job* next = newest->next;
            newest->next = oldest;
            oldest = newest;
            newest = next;
        }
        while (oldest) {
            const std::unique_ptr<Job> job(oldest);
            oldest = oldest->next;
            job->work();
        }
    }
}

void ScoreKeeper::runAndWait(const std::function<void()>& work) {
    QSemaphore done;
    post([&] {
        work();
        done.release();
    });
    done.acquire();
}

void ScoreKeeper::atStartUp(const std::function<void()>& work) {
    runAndWait([&] {
        work();
        cabinet = store->cabinet();
        tell({});
    });
}

const ScoreKeeper::Told& ScoreKeeper::lastTold() const {
    const quint64 version = toldVersion.load(std::memory_order_acquire);
    if (version == seenVersion || !mutex.tryLock()) return seen;
    // The messages stay for takeMessages().
    Told fresh = told;
    mutex.unlock();
    fresh.messages.clear();
    seenVersion = version;
    std::swap(seen, fresh);
    // The store's thread made the old halls, and lets them go: freeing memory of another
    // thread's making can wait for that thread.
    post([old = std::move(fresh)] {});
    return seen;
}

void ScoreKeeper::setCabinet(const QString& name) {
    atStartUp([&] { store->setCabinet(name); });
}

bool ScoreKeeper::useVenue(const QString& address, Clock* clock) {
    bool used = false;
    atStartUp([&] {
        // After each round the halls are read again, with the venue's as it left them.
        used = store->useVenue(address,
                               [this] { post([this] { tell(QList<QuestionSet>(watched)); }); });
        link = store->venue();
    });
    // The store's thread asks the link, so that the game's thread takes none of its locks.
    if (used && clock)
        venueRounds =
            std::make_unique<Timer>(*clock, "venueRounds", VenueLink::RoundIntervalMs, true, 0,
                                    [this] { post([this] { link->sendSoon(); }); });
    return used;
}

bool ScoreKeeper::isAvailable() const {
    return lastTold().available;
}

bool ScoreKeeper::isLasting() const {
    return lastTold().lasting;
}

bool ScoreKeeper::isVenue() const {
    return lastTold().venue;
}

bool ScoreKeeper::isOffline() const {
    return lastTold().offline;
}

QStringList ScoreKeeper::takeMessages() {
    // Messages that come while the lock is held are taken the next time.
    if (!mutex.tryLock()) return {};
    QStringList messages = std::exchange(told.messages, {});
    mutex.unlock();
    return messages;
}

void ScoreKeeper::enter(QList<ScoreEntry>& entries, const ScoreEntry& entry) {
    // Below the entries of equal score that are there already, as the store enters them. A
    // score that does not rank leaves the list as it is, shared with the hall it came from.
    const auto below = std::upper_bound(
        entries.cbegin(), entries.cend(), entry.score,
        [](int score, const ScoreEntry& there) { return score > there.score; });
    const qsizetype place = below - entries.cbegin();
    if (place >= ScoreStore::HallSize) return;
    if (entries.size() == ScoreStore::HallSize) entries.removeLast();
    entries.insert(place, entry);
}

std::optional<ScoreKeeper::Hall> ScoreKeeper::view(const QuestionSet& set) {
    const Told& known = lastTold();
    std::optional<Hall> hall;
    const auto found = known.halls.constFind(set);
    if (found != known.halls.constEnd()) hall = *found;
    const quint64 done = known.done;
    changes.removeIf([done](const Change& c) { return c.number <= done; });
    if (!hall) {
        watch(set);
        return std::nullopt;
    }
    for (const Change& c : changes) {
        if (c.set != set || c.number <= hall->asOf) continue;
        if (c.clears) {
            hall->entries.clear();
            continue;
        }
        for (const ScoreEntry& e : c.entries)
            enter(hall->entries, e);
    }
    return hall;
}

std::optional<QList<ScoreEntry>> ScoreKeeper::bestTen(const QuestionSet& set) {
    if (!set.isValid()) return std::nullopt;
    const std::optional<Hall> hall = view(set);
    if (!hall) return std::nullopt;
    return hall->entries;
}

QList<int> ScoreKeeper::placesOf(const QuestionSet& set, const QList<int>& scores) {
    const std::optional<Hall> hall = view(set);
    // Without a hall of fame to read, no score is promised a place it cannot be given.
    if (!isAvailable() || (hall && !hall->readable)) return QList<int>(scores.size(), 0);
    QList<int> best;
    if (hall) {
        for (const ScoreEntry& e : hall->entries)
            best.append(e.score);
    } else {
        // Not read yet: the games handed over since are all there is to go by.
        QList<ScoreEntry> handedOver;
        for (const Change& c : changes)
            if (c.set == set) {
                if (c.clears) handedOver.clear();
                handedOver.append(c.entries);
            }
        for (const ScoreEntry& e : handedOver)
            best.append(e.score);
        std::stable_sort(best.begin(), best.end(), std::greater<>());
    }
    return ScoreStore::placesAmong(best, scores);
}

void ScoreKeeper::watch(const QuestionSet& set) {
    if (!set.isValid() || asked.contains(set)) return;
    asked.insert(set);
    post([this, set] { tell({set}); });
}

void ScoreKeeper::recordAnswer(const QuestionSet& set, const QString& question, bool right) {
    hand(set, [set, question, right](ScoreStore& s) { s.recordAnswer(set, question, right); });
}

void ScoreKeeper::recordGame(const QuestionSet& set, const QList<PlayerResult>& results) {
    const QDateTime entered = now();
    Change change;
    change.set = set;
    for (const PlayerResult& r : results) {
        ScoreEntry e;
        e.name = ScoreStore::cleanName(r.name);
        e.score = r.score;
        e.questionsPlayed = r.questionsPlayed;
        e.date = entered.toUTC();
        e.cabinet = cabinet;
        change.entries.append(e);
    }
    hand(
        set, [set, results, entered](ScoreStore& s) { s.recordGame(set, results, entered); },
        change);
}

void ScoreKeeper::finishGame() {
    hand(QuestionSet(), [](ScoreStore& s) { s.finishGame(); });
}

void ScoreKeeper::clearHallOfFame(const QuestionSet& set) {
    std::optional<Change> change;
    // A venue's hall is the server's: clearing this cabinet's own leaves it as it is.
    if (!isVenue()) change = Change{0, set, true, {}};
    hand(set, [set](ScoreStore& s) { s.clearHallOfFame(set); }, change);
}

void ScoreKeeper::hand(const QuestionSet& set, std::function<void(ScoreStore&)> work,
                       std::optional<Change> change) {
    const quint64 number = ++handed;
    const bool changesHall = change.has_value() && set.isValid();
    if (changesHall) {
        change->number = number;
        changes.append(std::move(*change));
    }
    if (set.isValid()) asked.insert(set);
    post([this, number, set, changesHall, work = std::move(work)] {
        if (!store) return;
        work(*store);
        workDone = number;
        QList<QuestionSet> reread;
        if (set.isValid() && (changesHall || !watched.contains(set))) reread.append(set);
        tell(reread);
    });
}

void ScoreKeeper::tell(const QList<QuestionSet>& sets) {
    if (!store) return;
    QList<std::pair<QuestionSet, Hall>> read;
    for (const QuestionSet& set : sets) {
        Hall hall;
        hall.asOf = workDone;
        // A venue's hall is the last one read from the server with the games still in the
        // outbox; it is never unreadable.
        if (store->venue())
            hall.entries = store->bestTen(set);
        else
            hall.readable = store->readHall(set, hall.entries);
        read.append({set, hall});
    }
    for (const QuestionSet& set : sets)
        if (!watched.contains(set)) watched.append(set);
    const QStringList messages = store->takeMessages();
    QMutexLocker lock(&mutex);
    for (const auto& [set, hall] : read)
        told.halls.insert(set, hall);
    told.done = workDone;
    told.available = store->isAvailable();
    told.lasting = store->isLasting();
    told.venue = store->venue() != nullptr;
    told.offline = store->isOffline();
    told.messages << messages;
    toldVersion.fetch_add(1, std::memory_order_release);
}

void ScoreKeeper::sync() {
    runAndWait([] {});
    if (!link) return;
    // The rounds the work asked for, and the halls read after them.
    link->waitForRounds();
    runAndWait([] {});
}

ScoreStore* ScoreKeeper::reader() {
    if (!isLasting()) return nullptr;
    if (!readerStore)
        readerStore = std::make_unique<ScoreStore>(path_, QString(), now,
                                                   ScoreStore::Recovery::ReadOnly);
    return readerStore.get();
}
