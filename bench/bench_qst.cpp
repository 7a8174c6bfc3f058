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
class TScratch {
public:
    TScratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "trivora-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
        Root = pattern;
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
        Write("in.csv", csv);
        Write("in.txt", txt);
        std::ostringstream err;
        if (ImportQuestions({{Path("in.csv")}, Path("SET.QST")}, err) != 0)
            throw std::runtime_error(err.str());
        std::ostringstream json;
        ExportQuestions(Path("SET.QST"), TExportFormat::Json, json, err);
        Write("in.json", json.str());
    }
    ~TScratch() {
        std::error_code ec;
        std::filesystem::remove_all(Root, ec);
    }
    std::string Path(const std::string& name) const { return (Root / name).string(); }

private:
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::filesystem::path Root;
};

const TScratch& Scratch() {
    static const TScratch scratch;
    return scratch;
}

void Import(benchmark::State& state, const char* source) {
    const TScratch& s = Scratch();
    const TImportOptions options{{s.Path(source)}, s.Path("OUT.QST")};
    for (auto _ : state) {
        std::ostringstream err;
        if (ImportQuestions(options, err) != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * QuestionCount);
}

void Export(benchmark::State& state, TExportFormat format) {
    const TScratch& s = Scratch();
    for (auto _ : state) {
        std::ostringstream out, err;
        if (ExportQuestions(s.Path("SET.QST"), format, out, err) != 0)
            state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(out.view().size());
    }
    state.SetItemsProcessed(state.iterations() * QuestionCount);
}

void BM_Import100kCsv(benchmark::State& state) {
    Import(state, "in.csv");
}
void BM_Import100kJson(benchmark::State& state) {
    Import(state, "in.json");
}
void BM_Import100kText(benchmark::State& state) {
    Import(state, "in.txt");
}
void BM_Export100kCsv(benchmark::State& state) {
    Export(state, TExportFormat::Csv);
}
void BM_Export100kJson(benchmark::State& state) {
    Export(state, TExportFormat::Json);
}

} // namespace

BENCHMARK(BM_Import100kCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import100kJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import100kText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export100kCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export100kJson)->Unit(benchmark::kMillisecond);
