// A venue's scores on a PostgreSQL server started for the run: 20 cabinets storing 500
// games each at once; the venue's ten best out of 100,000 games (goal under 10 ms); and the
// longest time the game's thread is held by scores work (goal under 1 ms) while the server
// is gone (nothing listens), silent (something takes the connection and never answers) or
// stopped where it is (SIGSTOP).
#include "ManualClock.h"
#include "PostgresServer.h"
#include "QuestionRecord.h"
#include "ScoreKeeper.h"
#include "ScoreStore.h"
#include "VenueLink.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int Cabinets = 20;
constexpr int GamesEach = 500;
constexpr int VenueGames = 100000;
// How long a round left waiting on a server that answers again may take to end.
constexpr int StrandedWaitMs = 20000;

void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_venue";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

PostgresServer& server() {
    ensureApplication();
    static PostgresServer instance;
    return instance;
}

const QuestionSet regd(QStringLiteral("REGD.QST"), QuestionRecord::header());

GameRecord game(const QString& cabinet, int score) {
    GameRecord g{QUuid::createUuid().toString(QUuid::WithoutBraces),
                 regd,
                 cabinet,
                 QDateTime::currentDateTimeUtc(),
                 {{QStringLiteral("Player"), score, 12}},
                 {}};
    for (int q = 0; q < 5; ++q)
        g.answers.append({QStringLiteral("Question %1").arg((score + q) % 200), q % 2 == 0});
    return g;
}

// Twenty cabinets, each on its own connection, storing their games at the same time.
void BM_TwentyCabinetsAtOnce(benchmark::State& state) {
    if (!server().error().isEmpty()) return state.SkipWithError(qPrintable(server().error()));
    for (auto _ : state) {
        const QString address = server().address(server().createDatabase());
        ScoreStore(address).storeGame(game(QStringLiteral("setup"), 0));
        std::atomic<int> failed{0};
        const auto started = std::chrono::steady_clock::now();
        std::vector<std::thread> cabinets;
        for (int c = 0; c < Cabinets; ++c)
            cabinets.emplace_back([&, c] {
                ScoreStore store(address);
                for (int i = 0; i < GamesEach; ++i)
                    if (!store.storeGame(game(QStringLiteral("Bar-%1").arg(c), i))) ++failed;
            });
        for (std::thread& t : cabinets)
            t.join();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (failed > 0) state.SkipWithError("games were not stored");
        state.SetIterationTime(seconds);
        state.counters["games_per_s"] = Cabinets * GamesEach / seconds;
    }
}
BENCHMARK(BM_TwentyCabinetsAtOnce)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// The venue's ten best of one set out of 100,000 stored games.
void BM_VenueBestTenOf100000(benchmark::State& state) {
    if (!server().error().isEmpty()) return state.SkipWithError(qPrintable(server().error()));
    const QString database = server().createDatabase();
    const QString address = server().address(database);
    ScoreStore store(address);
    store.storeGame(game(QStringLiteral("setup"), 0));
    if (!server().run(database,
                      QStringLiteral(
                          "INSERT INTO games SELECT 'g' || n, 1, 'Bar-' || (n % 20), "
                          "'2026-12-10T20:00:00.000Z' FROM generate_series(1, %1) n;"
                          "INSERT INTO scores (game_id, set_id, name, score, questions, cabinet, "
                          "entered) SELECT 'g' || n, 1, 'P' || n, (n * 7919) % 100003, 12, "
                          "'Bar-' || (n % 20), '2026-12-10T20:00:00.000Z' FROM "
                          "generate_series(1, %1) n; ANALYZE")
                          .arg(VenueGames)))
        return state.SkipWithError(qPrintable(server().error()));
    for (auto _ : state) {
        QList<ScoreEntry> best;
        if (!store.readHall(regd, best) || best.size() != ScoreStore::HallSize)
            state.SkipWithError("short hall of fame");
        benchmark::DoNotOptimize(best);
    }
}
BENCHMARK(BM_VenueBestTenOf100000)->Unit(benchmark::kMillisecond);

// A port where something takes connections and never answers.
struct SilentServer {
    SilentServer() {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd, 16);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~SilentServer() { ::close(fd); }
    int fd = -1;
    int port = 0;
};

// What one call of the game's thread cost it: the time it was held (wall clock), the
// processor time the thread itself used meanwhile, and whether it gave the processor up
// (waited for a lock or a reply) or had it taken by another thread or process.
struct Hold {
    double ms = 0;
    double cpuMs = 0;
    bool waited = false;
    bool preempted = false;
    // It touched memory the kernel had to map first (a heap that grew).
    bool faulted = false;
};

double threadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The processor time is read inside the wall clock's span, so that it can never exceed it.
template <typename Work>
Hold measure(Work&& work) {
    rusage before{};
    ::getrusage(RUSAGE_THREAD, &before);
    const auto started = std::chrono::steady_clock::now();
    const double cpuBefore = threadCpuMs();
    work();
    const double cpuAfter = threadCpuMs();
    const auto ended = std::chrono::steady_clock::now();
    rusage after{};
    ::getrusage(RUSAGE_THREAD, &after);
    return {std::chrono::duration<double, std::milli>(ended - started).count(),
            cpuAfter - cpuBefore, after.ru_nvcsw != before.ru_nvcsw,
            after.ru_nivcsw != before.ru_nivcsw, after.ru_minflt != before.ru_minflt};
}

double percentile(std::vector<double> values, int p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() * static_cast<std::size_t>(p) / 100];
}

// The game's side of a cabinet of the venue, as the game's thread calls it: an answer per
// question, the places and the results of a game, the hall and the offline mark as the
// attract page asks for them, and the tick of the clock that asks for the venue's rounds.
// Reports the longest hold on the wall clock and the most processor time the game's thread
// spent in one call: on a machine shared with other programs the first includes the time
// the kernel gave the processor to them, the second is the scores work alone. Every hold
// over 1 ms is counted with its cause: the thread's own work (over 1 ms of its processor
// time; that clock also runs while the kernel handles an interrupt for another program on
// the thread's processor, and on a virtual machine while the host has taken the processor,
// so a lone outlier there, even in isOffline(), need not be work), a wait (it gave the
// processor up: a lock or a reply, which no call should wait for), preemption (another
// thread or process took the processor), or none of these (time the host took).
void heldWhile(benchmark::State& state, const QString& address) {
    ensureApplication();
    QTemporaryDir dir;
    ManualClock clock;
    ScoreKeeper keeper(dir.filePath(QStringLiteral("scores.sqlite")));
    keeper.useVenue(address, &clock);
    constexpr std::size_t Kinds = 6;
    std::array<double, Kinds> longestCpu{};
    std::vector<double> wall;
    std::vector<double> cpu;
    double longest = 0;
    double longestCpuMs = 0;
    int waited = 0;
    int faulted = 0;
    int over = 0;
    int overWork = 0;
    int overWaited = 0;
    int overPreempted = 0;
    int overOther = 0;
    int score = 0;
    // What the game has at hand when it calls: the question's text, the players' results.
    QStringList questions;
    for (int q = 0; q < 50; ++q)
        questions << QStringLiteral("Q%1").arg(q);
    for (auto _ : state) {
        ++score;
        const QString& question = questions[score % 50];
        const QList<PlayerResult> results{{QStringLiteral("Ann"), score, 5}};
        const auto timed = [&](std::size_t kind, auto&& work) {
            const Hold h = measure(work);
            wall.push_back(h.ms);
            cpu.push_back(h.cpuMs);
            longest = std::max(longest, h.ms);
            longestCpuMs = std::max(longestCpuMs, h.cpuMs);
            longestCpu[kind] = std::max(longestCpu[kind], h.cpuMs);
            if (h.waited) ++waited;
            if (h.faulted) ++faulted;
            if (h.ms <= 1.0) return;
            ++over;
            if (h.cpuMs > 1.0)
                ++overWork;
            else if (h.waited)
                ++overWaited;
            else if (h.preempted)
                ++overPreempted;
            else
                ++overOther;
        };
        timed(0, [&] { keeper.recordAnswer(regd, question, true); });
        timed(1, [&] { benchmark::DoNotOptimize(keeper.placesOf(regd, {score})); });
        timed(2, [&] { keeper.recordGame(regd, results); });
        timed(3, [&] { benchmark::DoNotOptimize(keeper.bestTen(regd)); });
        timed(4, [&] { benchmark::DoNotOptimize(keeper.isOffline()); });
        timed(5, [&] { clock.advance(VenueLink::RoundIntervalMs); });
    }
    state.counters["longest_ms"] = longest;
    state.counters["longest_cpu_ms"] = longestCpuMs;
    state.counters["p99_ms"] = percentile(wall, 99);
    state.counters["p99_cpu_ms"] = percentile(cpu, 99);
    state.counters["calls_waited"] = waited;
    state.counters["calls_faulted"] = faulted;
    state.counters["over_1ms"] = over;
    state.counters["over_1ms_work"] = overWork;
    state.counters["over_1ms_waited"] = overWaited;
    state.counters["over_1ms_preempted"] = overPreempted;
    state.counters["over_1ms_other"] = overOther;
    state.counters["answer_cpu_ms"] = longestCpu[0];
    state.counters["places_cpu_ms"] = longestCpu[1];
    state.counters["game_cpu_ms"] = longestCpu[2];
    state.counters["hall_cpu_ms"] = longestCpu[3];
    state.counters["offline_cpu_ms"] = longestCpu[4];
    state.counters["round_cpu_ms"] = longestCpu[5];
}

QString addressAt(int port) {
    return QStringLiteral("postgresql://trivora@127.0.0.1:%1/venue").arg(port);
}

void BM_GameThreadHeldServerGone(benchmark::State& state) {
    heldWhile(state, addressAt(PostgresServer::freePort()));
}
BENCHMARK(BM_GameThreadHeldServerGone)->Iterations(300)->Unit(benchmark::kMillisecond);

void BM_GameThreadHeldServerSilent(benchmark::State& state) {
    {
        SilentServer silent;
        heldWhile(state, addressAt(silent.port));
    }
    // The round the keeper left waiting there ends now that nothing listens.
    VenueLink::waitForStrandedRounds(StrandedWaitMs);
}
BENCHMARK(BM_GameThreadHeldServerSilent)->Iterations(300)->Unit(benchmark::kMillisecond);

// The venue's server stopped where it is (SIGSTOP) while the cabinet plays.
void BM_GameThreadHeldServerStopped(benchmark::State& state) {
    if (!server().error().isEmpty()) return state.SkipWithError(qPrintable(server().error()));
    const QString address = server().address(server().createDatabase());
    if (!server().freeze(true)) return state.SkipWithError("the server cannot be stopped");
    heldWhile(state, address);
    server().freeze(false);
    VenueLink::waitForStrandedRounds(StrandedWaitMs);
}
BENCHMARK(BM_GameThreadHeldServerStopped)->Iterations(300)->Unit(benchmark::kMillisecond);

} // namespace
