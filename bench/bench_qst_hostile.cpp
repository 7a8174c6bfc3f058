// Importing hostile sources of 20 MB each, one shape per benchmark: how long it takes and the
// peak memory the import needs, as a multiple of the source's size (peak_per_input_byte).
// Every import runs in a child process of its own, so that its peak is its own.
#include "QstImporter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::size_t InputSize = 20'000'000;

class Scratch {
public:
    Scratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "trivora-hostile-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
        root = pattern;
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    std::string path(const std::string& name) const { return (root / name).string(); }

private:
    std::filesystem::path root;
};

const Scratch& scratch() {
    static const Scratch s;
    return s;
}

// Writes a source of about InputSize bytes: a head, then piece after piece, then a tail.
std::string makeSource(const std::string& name, const std::string& head,
                       const std::function<std::string(std::size_t)>& piece,
                       const std::string& tail = {}) {
    const std::string path = scratch().path(name);
    if (std::filesystem::exists(path)) return path;
    std::string text = head;
    for (std::size_t i = 0; text.size() < InputSize; ++i)
        text += piece(i);
    text += tail;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Imports source in a child process; the peak resident memory of the child, in bytes.
double importInChild(const std::string& source) {
    const pid_t child = ::fork();
    if (child == 0) {
        // The reports are thrown away: a stream without a buffer writes nothing.
        std::ostream err(nullptr);
        importQuestions({{source}, scratch().path("OUT.QST")}, err);
        ::_exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        throw std::runtime_error("cannot run the import in a child process");
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

void importHostile(benchmark::State& state, const std::string& source) {
    double peak = 0;
    for (auto _ : state)
        peak = std::max(peak, importInChild(source));
    const auto size = static_cast<double>(std::filesystem::file_size(source));
    state.counters["peak_per_input_byte"] = peak / size;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}

const std::string CsvHeader = "question,answer,wrong1,wrong2,wrong3\n";

void BM_HostileCsvOfCommas(benchmark::State& state) {
    importHostile(state, makeSource("commas.csv", CsvHeader,
                                    [](std::size_t) { return std::string(1000, ','); }));
}
void BM_HostileCsvOfEmptyRows(benchmark::State& state) {
    importHostile(state, makeSource("rows.csv", CsvHeader, [](std::size_t) { return ",\n"; }));
}
void BM_HostileCsvOfShortQuestions(benchmark::State& state) {
    importHostile(state, makeSource("short.csv", CsvHeader, [](std::size_t i) {
                      std::ostringstream row;
                      row << std::hex << i << ",a,b,c,d\n";
                      return row.str();
                  }));
}
void BM_HostileJsonOfZeros(benchmark::State& state) {
    importHostile(state,
                  makeSource(
                      "zeros.json", "{\"results\":[0", [](std::size_t) { return ",0"; }, "]}"));
}
void BM_HostileJsonOfNestedLists(benchmark::State& state) {
    importHostile(
        state, makeSource(
                   "nested.json", "{\"results\":[[0]", [](std::size_t) { return ",[0]"; }, "]}"));
}
void BM_HostileJsonOfEmptyObjects(benchmark::State& state) {
    importHostile(state,
                  makeSource(
                      "objects.json", "{\"results\":[{}", [](std::size_t) { return ",{}"; }, "]}"));
}
void BM_HostileTextOfEmptyBlocks(benchmark::State& state) {
    importHostile(state, makeSource("blocks.txt", "", [](std::size_t) { return "#Q\n\n"; }));
}
void BM_HostileTextOfHighBytes(benchmark::State& state) {
    // Windows-1252 bytes that each take three bytes of UTF-8.
    importHostile(
        state, makeSource(
                   "high.txt", "#Q ", [](std::size_t) { return std::string(1000, '\x80'); }, "\n"));
}

} // namespace

BENCHMARK(BM_HostileCsvOfCommas)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_HostileCsvOfEmptyRows)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_HostileCsvOfShortQuestions)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(BM_HostileJsonOfZeros)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_HostileJsonOfNestedLists)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_HostileJsonOfEmptyObjects)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(BM_HostileTextOfEmptyBlocks)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_HostileTextOfHighBytes)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
