// Phones as buzzers with a full room: four players and a hundred audience phones connected to
// the real server over loopback WebSockets. The phones live in a thread of their own, so that
// the game's thread does only the game's and the server's work, as in the program. Measured:
//  - a tap: from the phone sending its answer to the game's command (p50/p99/max), with the
//    game's thread asleep in its event loop: an upper bound of the time from the message's
//    arrival, as it includes the loopback hop, the server's socket thread reading it and the
//    game's thread waking;
//  - one typed letter: the game thread's own wall time for telling all 104 phones (the letter
//    typed, its message built and handed to the server's socket thread, and the event loop's
//    pass after it), and its CPU time; the socket thread's writes are not the game thread's;
//  - memory per connected phone: the heaps of the game's and the server's threads (the
//    server's side alone) and the process's resident memory (both sides of every connection:
//    an upper bound);
//  - bytes sent to the phones for one whole question, with the audience answering it.
// Every wait has a wall-clock cap: a tap that never reaches the game fails the run, it never
// hangs it.
#include "ManualClock.h"
#include "PhoneGameBridge.h"
#include "PhoneServer.h"
#include "QstFixtures.h"
#include "QuizGame.h"
#include "TempDir.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QTimer>
#include <QWebSocket>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {
using Phase = QuizGame::Phase;

constexpr int players = 4;
constexpr int audience = 100;
constexpr int phoneCount = players + audience;
// Every question has this many letters, as long as the set's questions run.
constexpr int questionLength = 72;
// Wall-clock caps: a failure of the run, never a measure.
constexpr int joinCapMs = 30000;
constexpr int commandCapMs = 2000;
constexpr int settleCapMs = 3000;
// Far less than the time a question takes to type at the game's pace (72 letters of 17 ms).
constexpr int restBeforeTapMs = 300;

// Nanoseconds on the steady clock, comparable between threads.
qint64 steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// CPU time of the calling thread in nanoseconds.
qint64 threadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_phones";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Runs the event loop of this thread for ms milliseconds, asleep while nothing happens.
void runEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Resident memory of this process in bytes.
long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

// Bytes in use in each of the allocator's heaps (arenas: the main thread's, and one for each
// thread that allocates), from the allocator's own report.
std::vector<long> heapsInUse() {
    char* text = nullptr;
    std::size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    malloc_info(0, out);
    std::fclose(out);
    const std::string xml(text, size);
    std::free(text);
    const auto number = [](const std::string& heap, const std::string& pattern) {
        std::smatch m;
        return std::regex_search(heap, m, std::regex(pattern)) ? std::stol(m[1]) : 0L;
    };
    std::vector<long> heaps;
    for (std::size_t at = xml.find("<heap nr="); at != std::string::npos;) {
        const std::size_t end = xml.find("</heap>", at);
        const std::string heap = xml.substr(at, end - at);
        heaps.push_back(number(heap, R"re(<system type="current" size="(\d+)")re") -
                        number(heap, R"re(<total type="fast" count="\d+" size="(\d+)")re") -
                        number(heap, R"re(<total type="rest" count="\d+" size="(\d+)")re"));
        at = xml.find("<heap nr=", end);
    }
    return heaps;
}

// Questions as long as real ones, each with its right answer first in the record.
void writeRoomSet(const std::string& path) {
    std::vector<QuestionRecord> questions;
    for (int n = 1; n <= 200; ++n) {
        const std::string k = std::to_string(n);
        std::string q = "Room question " + k + ": which of the four answers below is the one";
        q.resize(questionLength - 1, '.');
        q += '?';
        questions.push_back(QstFixtures::question(q, "Right answer " + k, "Wrong answer " + k + "a",
                                                  "Wrong answer " + k + "b",
                                                  "Wrong answer " + k + "c"));
    }
    QstFixtures::writeSet(path, questions);
}

// The phones: WebSocket clients living in a thread of their own. Everything but the atomics
// is touched in that thread only.
class Phones : public QObject {
public:
    std::atomic<int> welcomed{0};
    std::atomic<qint64> messagesReceived{0};
    // When the last tap was sent (steadyNs); -1 when no phone held the slot.
    std::atomic<qint64> tapSentAt{0};

    void open(quint16 port, const QString& code, int count) {
        for (int i = 0; i < count; ++i) {
            const std::size_t index = m_phones.size();
            auto* socket = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
            m_phones.push_back({socket, {}, 0});
            connect(socket, &QWebSocket::connected, socket, [socket, code, index] {
                socket->sendTextMessage(
                    QStringLiteral(R"({"type":"join","name":"P%1","code":"%2"})")
                        .arg(index)
                        .arg(code));
            });
            connect(socket, &QWebSocket::textMessageReceived, this,
                    [this, index](const QString& text) { received(index, text); });
            socket->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/ws").arg(port)));
        }
    }
    // The phone of the player in that slot answers.
    void tap(int slot, int letter) {
        for (Phone& p : m_phones)
            if (p.slot == slot) {
                tapSentAt = steadyNs();
                return answer(p, letter);
            }
        tapSentAt = -1;
    }
    // Every audience phone answers.
    void audienceAnswers(int letter) {
        for (Phone& p : m_phones)
            if (p.slot == 0 && !p.secret.isEmpty()) answer(p, letter);
    }
    void closeAll() {
        for (Phone& p : m_phones)
            delete p.socket;
        m_phones.clear();
    }

private:
    struct Phone {
        QWebSocket* socket;
        QString secret;
        int slot; // 1..4 for a player's phone, 0 in the audience
    };

    void received(std::size_t index, const QString& text) {
        ++messagesReceived;
        // Only the messages about the phone itself are read; the game's are only counted.
        if (!text.contains(QLatin1String(R"("type":"welcome")")) &&
            !text.contains(QLatin1String(R"("type":"you")")))
            return;
        const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
        Phone& p = m_phones[index];
        if (m.value(QStringLiteral("type")).toString() == QLatin1String("welcome")) {
            p.secret = m.value(QStringLiteral("secret")).toString();
            ++welcomed;
        } else {
            const bool player =
                m.value(QStringLiteral("role")).toString() == QLatin1String("player");
            p.slot = player ? m.value(QStringLiteral("slot")).toInt() : 0;
        }
    }
    void answer(Phone& p, int letter) {
        p.socket->sendTextMessage(QStringLiteral(R"({"type":"answer","letter":%1,"secret":"%2"})")
                                      .arg(letter)
                                      .arg(p.secret));
    }

    std::vector<Phone> m_phones;
};

// The game, the server and the bridge, with the room joined: four players at the player entry,
// then a hundred in the audience once the game runs.
class Room {
public:
    static Room& get() {
        static Room room;
        return room;
    }

    // Plays on as the cabinet's players would until the game is in `target`: the right answer
    // chosen, STOP pressed at once, panels confirmed, a new game started when one ends. False
    // when a day of game time did not get it there.
    bool playTo(Phase target) {
        for (int step = 0; step < 20000000 && game->phase() != target; ++step) {
            switch (game->phase()) {
            case Phase::Attract:
                game->pressStart();
                break;
            case Phase::PlayerEntry:
                game->confirmPlayers();
                break;
            case Phase::AnswersOpen:
                game->chooseAnswer(rightLetter());
                break;
            case Phase::Ladder:
                game->pressStop();
                break;
            case Phase::Wrong:
            case Phase::TimeOut:
            case Phase::FinalScores:
                game->confirmPanel();
                break;
            case Phase::NameEntry:
                game->finishNameEntry();
                break;
            default:
                clock.advance(5);
            }
            // The sockets are written as they would be between the game's ticks.
            if (step % 64 == 0) QCoreApplication::processEvents();
        }
        return game->phase() == target;
    }
    // Lets every message in flight arrive: for a while the server's writer thread has written
    // nothing more and the phones have received nothing new.
    void settle() {
        const QDeadlineTimer cap(settleCapMs);
        std::pair<qint64, qint64> seen{-1, -1};
        for (int quiet = 0; quiet < 3 && !cap.hasExpired();) {
            runEventLoop(5);
            const std::pair<qint64, qint64> now{server.bytesSent(), phones.messagesReceived};
            quiet = now == seen ? quiet + 1 : 0;
            seen = now;
        }
    }
    // The letter of the right answer among the open answers.
    int rightLetter() const {
        const QJsonArray answers = bridge->state().value(QStringLiteral("answers")).toArray();
        for (int i = 0; i < answers.size(); ++i)
            if (answers[i].toString().startsWith(QLatin1String("Right"))) return i;
        return 0;
    }
    // The slot of the player at the controls.
    int turn() const { return bridge->state().value(QStringLiteral("turn")).toInt(); }
    // Letters of the question typed so far.
    qsizetype typed() const {
        return bridge->state().value(QStringLiteral("question")).toString().size();
    }

    // Runs the event loop until the game takes a command, at most capMs; false when none came.
    bool waitForCommand(int capMs) {
        if (commandAt != 0) return true;
        QEventLoop loop;
        waiting = &loop;
        QTimer::singleShot(capMs, &loop, &QEventLoop::quit);
        loop.exec();
        waiting = nullptr;
        return commandAt != 0;
    }

    TempDir dir;
    ManualClock clock;
    std::unique_ptr<QuizGame> game;
    // All the phones come from one address here, where a room's come from a hundred.
    PhoneServer server{clock, [] {
                           PhoneServer::Limits l;
                           l.maxUnjoinedPerAddress = phoneCount;
                           return l;
                       }()};
    std::unique_ptr<PhoneGameBridge> bridge;
    QThread thread;
    Phones phones;
    // When the game took its last answer command (steadyNs).
    qint64 commandAt = 0;
    long heapPerPhone = 0;
    long residentPerPhone = 0;

private:
    Room() {
        ensureApplication();
        writeRoomSet(dir.file("REGD.QST"));
        game = std::make_unique<QuizGame>(clock, dir.path(), [] { return 7u; });
        game->enterAttractMode();
        // The command is seen before any view of the game (the bridge among them) hears of it.
        QObject::connect(game.get(), &QuizGame::phaseChanged, [this](Phase p) {
            if (p != Phase::Judging) return;
            commandAt = steadyNs();
            if (waiting) waiting->quit();
        });
        if (!server.listen(0)) qFatal("the phone server cannot listen");
        bridge = std::make_unique<PhoneGameBridge>(*game, server);
        thread.start();
        phones.moveToThread(&thread);

        settle();
        // The server's heap is every heap but the phones' own: the game's thread and the
        // server's writer thread each have theirs.
        phonesHeap = heapOfPhonesThread();
        const long heapBefore = serverHeapInUse();
        const long residentBefore = residentBytes();
        game->pressStart();
        join(players);
        game->confirmPlayers();
        join(audience);
        settle();
        heapPerPhone = (serverHeapInUse() - heapBefore) / phoneCount;
        residentPerPhone = (residentBytes() - residentBefore) / phoneCount;
    }
    ~Room() {
        QMetaObject::invokeMethod(
            &phones, [this] { phones.closeAll(); }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
        bridge.reset();
        server.close();
    }

    // Which of the heaps the phones' thread allocates from: the one that grows by a block
    // allocated there.
    std::size_t heapOfPhonesThread() {
        constexpr std::size_t probe = 64 * 1024; // below the size the allocator maps apart
        const std::vector<long> before = heapsInUse();
        void* block = nullptr;
        QMetaObject::invokeMethod(
            &phones, [&block] { block = std::malloc(probe); }, Qt::BlockingQueuedConnection);
        const std::vector<long> after = heapsInUse();
        QMetaObject::invokeMethod(
            &phones, [block] { std::free(block); }, Qt::BlockingQueuedConnection);
        std::size_t grown = 0;
        for (std::size_t i = 0; i < after.size(); ++i)
            if (after[i] - (i < before.size() ? before[i] : 0) >= long(probe)) grown = i;
        if (grown == 0) qFatal("the phones' thread has no heap of its own");
        return grown;
    }
    long serverHeapInUse() const {
        const std::vector<long> heaps = heapsInUse();
        long sum = 0;
        for (std::size_t i = 0; i < heaps.size(); ++i)
            if (i != phonesHeap) sum += heaps[i];
        return sum;
    }

    void join(int count) {
        const int want = phones.welcomed + count;
        const quint16 port = server.port();
        const QString code = server.joinCode();
        QMetaObject::invokeMethod(&phones,
                                  [this, port, code, count] { phones.open(port, code, count); });
        const QDeadlineTimer cap(joinCapMs);
        while (phones.welcomed < want && !cap.hasExpired())
            runEventLoop(5);
        if (phones.welcomed < want)
            qFatal("only %d of %d phones joined", int(phones.welcomed), want);
        settle();
    }

    QEventLoop* waiting = nullptr;
    std::size_t phonesHeap = 0;
};

double percentile(std::vector<double> v, int p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * static_cast<std::size_t>(p) / 100)];
}

// The 50th and 99th percentiles and the worst of times in seconds, as milliseconds.
void reportPercentiles(benchmark::State& state, const std::string& prefix,
                       const std::vector<double>& seconds) {
    state.counters[prefix + "p50_ms"] = percentile(seconds, 50) * 1e3;
    state.counters[prefix + "p99_ms"] = percentile(seconds, 99) * 1e3;
    state.counters[prefix + "max_ms"] = percentile(seconds, 100) * 1e3;
    state.counters["phones"] = phoneCount;
}

// A player's tap: the game's thread asleep in its event loop, the phone sends its answer; the
// time runs from the send to the game's command (the loopback hop and the thread's waking
// included: an upper bound of the time from the message's arrival).
void BM_TapToCommand(benchmark::State& state) {
    Room& room = Room::get();
    std::vector<double> latencies;
    for (auto _ : state) {
        if (!room.playTo(Phase::AnswersOpen)) {
            state.SkipWithError("the game did not reach open answers");
            break;
        }
        room.settle();
        // The room at rest, as it is when a question has been typed at the game's pace: the
        // game above hurries through a minute of play at once, and the threads that wrote and
        // read it must not carry that burst into the tap's time.
        runEventLoop(restBeforeTapMs);
        const int slot = room.turn();
        const int letter = room.rightLetter();
        room.commandAt = 0;
        room.phones.tapSentAt = 0;
        QMetaObject::invokeMethod(&room.phones,
                                  [&room, slot, letter] { room.phones.tap(slot, letter); });
        if (!room.waitForCommand(commandCapMs)) {
            state.SkipWithError(room.phones.tapSentAt < 0
                                    ? "no phone holds the slot at the controls"
                                    : "the tap did not reach the game within the cap");
            break;
        }
        const double seconds = double(room.commandAt - room.phones.tapSentAt) / 1e9;
        latencies.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    reportPercentiles(state, "", latencies);
}
BENCHMARK(BM_TapToCommand)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

// One typed letter to every phone: the game thread's wall time from the letter's tick to the
// end of the event loop's pass after it (the manual time; on a busy machine it includes
// waiting for a core), and its CPU time as counters. The letters come at the game's pace, the
// event loop idle between them; the first and the last letter of a question (which also
// charge it and open the answers) are left out.
void BM_LetterToAllPhones(benchmark::State& state) {
    Room& room = Room::get();
    const int letterMs = room.clock.find("revealTimer")->interval();
    std::vector<double> cpus, wall;
    for (auto _ : state) {
        state.PauseTiming();
        // The next letter is neither the question's first nor its last.
        const auto midQuestion = [&room] {
            return room.game->phase() == Phase::Typing && room.typed() >= 1 &&
                   room.typed() < questionLength - 1;
        };
        if (!midQuestion()) {
            room.settle();
            for (int guard = 0; guard < 1000 && !midQuestion(); ++guard)
                if (room.game->phase() == Phase::Typing)
                    room.clock.advance(letterMs);
                else
                    room.playTo(Phase::Typing);
            if (!midQuestion()) {
                state.SkipWithError("the game did not reach a question being typed");
                break;
            }
            room.settle();
        }
        // The time between two letters, in which the phones read the last one.
        runEventLoop(letterMs);
        state.ResumeTiming();
        const qint64 cpuStart = threadCpuNs();
        const qint64 wallStart = steadyNs();
        room.clock.advance(letterMs);
        QCoreApplication::processEvents(); // the sockets written
        const double cpu = double(threadCpuNs() - cpuStart) / 1e9;
        wall.push_back(double(steadyNs() - wallStart) / 1e9);
        cpus.push_back(cpu);
        state.SetIterationTime(wall.back());
    }
    room.settle();
    reportPercentiles(state, "cpu_", cpus);
    reportPercentiles(state, "wall_", wall);
}
BENCHMARK(BM_LetterToAllPhones)->UseManualTime()->Iterations(500)->Unit(benchmark::kMicrosecond);

// Memory per connected phone, and the bytes the phones are sent for one whole question played
// as a room plays it: typed out, three seconds of the gauge, every audience phone answering,
// the player's right answer, the verdict, two seconds of the ladder, the prize, on to the next.
void BM_QuestionToRoom(benchmark::State& state) {
    Room& room = Room::get();
    qint64 bytes = 0;
    int questions = 0;
    for (auto _ : state) {
        if (!room.playTo(Phase::Typing)) {
            state.SkipWithError("the game did not reach a question");
            break;
        }
        room.settle();
        const qint64 before = room.server.bytesSent();
        if (!room.playTo(Phase::AnswersOpen)) break;
        room.clock.advance(3000);
        const int letter = room.rightLetter();
        QMetaObject::invokeMethod(&room.phones,
                                  [&room, letter] { room.phones.audienceAnswers(letter); });
        room.settle();
        room.game->chooseAnswer(letter);
        for (int ms = 0; ms < 60000 && room.game->phase() != Phase::Ladder; ms += 5)
            room.clock.advance(5);
        room.clock.advance(2000);
        room.playTo(Phase::Typing);
        room.settle(); // the socket thread has written all of it
        bytes += room.server.bytesSent() - before;
        ++questions;
    }
    const double perQuestion = questions ? double(bytes) / questions : 0;
    state.counters["bytes_per_question"] = perQuestion;
    state.counters["bytes_per_question_per_phone"] = perQuestion / phoneCount;
    state.counters["heap_per_phone_KB"] = double(room.heapPerPhone) / 1024.0;
    state.counters["rss_per_phone_KB"] = double(room.residentPerPhone) / 1024.0;
}
BENCHMARK(BM_QuestionToRoom)->Iterations(5)->Unit(benchmark::kMillisecond);
} // namespace
