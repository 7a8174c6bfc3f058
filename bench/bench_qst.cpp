// Importing and exporting 100,000 questions: CSV, JSON and plain text in, CSV and JSON out.
#include "QstExporter.h"
#include "QstImporter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

constexpr int QuestionCount = 100000;

// A scratch folder holding the generated sources and sets, made once per run.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "trivora-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
        root = pattern;
        std::string csv = "question,answer,wrong1,wrong2,wrong3\n";
        std::string txt;
        for (int i = 0; i < QuestionCount; ++i) {
            const std::string k = std::to_string(i);
            const std::string q = "Which caf\u00E9 question, number " + k + ", is \"this\" one?";
            csv += "\"Which caf\u00E9 question, number " + k + ", is \"\"this\"\" one?\",Answer " +
                   k + ",Wrong one " + k + ",Wrong two " + k + ",Wrong three " + k + "\n";
            txt += "#Q " + q + "\n^ Answer " + k + "\nA Wrong one " + k + "\nB Answer " + k +
                   "\nC Wrong two " + k + "\nD Wrong three " + k + "\n\n";
        }
        write("in.csv", csv);
        write("in.txt", txt);
        std::ostringstream err;
        if (importQuestions({{stdPath("in.csv")}, stdPath("SET.QST")}, err) != 0)
            throw std::runtime_error(err.str());
        std::ostringstream json;
        exportQuestions(stdPath("SET.QST"), ExportFormat::Json, json, err);
        write("in.json", json.str());
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    std::string stdPath(const std::string& name) const { return (root / name).string(); }

private:
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(stdPath(name), std::ios::binary) << text;
    }
    std::filesystem::path root;
};

const ScratchFolder& scratch() {
    static const ScratchFolder scratch;
    return scratch;
}

void importSources(benchmark::State& state, const char* source) {
    const ScratchFolder& s = scratch();
    const ImportOptions options{{s.stdPath(source)}, s.stdPath("OUT.QST")};
    for (auto _ : state) {
        std::ostringstream err;
        if (importQuestions(options, err) != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * QuestionCount);
}

void exportSet(benchmark::State& state, ExportFormat format) {
    const ScratchFolder& s = scratch();
    for (auto _ : state) {
        std::ostringstream out, err;
        if (exportQuestions(s.stdPath("SET.QST"), format, out, err) != 0)
            state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(out.view().size());
    }
    state.SetItemsProcessed(state.iterations() * QuestionCount);
}

void BM_Import100kCsv(benchmark::State& state) {
    importSources(state, "in.csv");
}
void BM_Import100kJson(benchmark::State& state) {
    importSources(state, "in.json");
}
void BM_Import100kText(benchmark::State& state) {
    importSources(state, "in.txt");
}
void BM_Export100kCsv(benchmark::State& state) {
    exportSet(state, ExportFormat::Csv);
}
void BM_Export100kJson(benchmark::State& state) {
    exportSet(state, ExportFormat::Json);
}

} // namespace

BENCHMARK(BM_Import100kCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import100kJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import100kText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export100kCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export100kJson)->Unit(benchmark::kMillisecond);
