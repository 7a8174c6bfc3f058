// Looking for give-aways among up to 100,000 questions: questions of ten words from a
// vocabulary of 20,000, answers and wrong options of one to three words, a third of the
// answers starting with "The", as in a large downloaded collection. The peak memory of the
// process is reported beside the time: it grows with the words, not with pairs of rows.
#include "GiveAwayPairs.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

std::vector<SourceRow> makeRows(int count) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> word(0, 19999);
    auto text = [&](int words) {
        std::string s;
        for (int i = 0; i < words; ++i)
            s += (i ? " w" : "W") + std::to_string(word(random));
        return s;
    };
    std::vector<SourceRow> rows(count);
    for (int i = 0; i < count; ++i) {
        rows[i].fields[0] = "Which of the " + text(10) + "?";
        rows[i].fields[1] = (i % 3 == 0 ? "The " : "") + text(1 + i % 3);
        for (int f = 2; f < 5; ++f)
            rows[i].fields[f] = text(1 + (i + f) % 3);
        rows[i].line = static_cast<std::size_t>(i) * 7 + 1;
    }
    return rows;
}

void BM_FindGiveAways(benchmark::State& state) {
    const std::vector<SourceRow> rows = makeRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const GiveAwaySearch search = findGiveAways(rows);
        benchmark::DoNotOptimize(search.pairs.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_FindGiveAways)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
