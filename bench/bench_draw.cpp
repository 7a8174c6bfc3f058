// The question draw on a set of 1,000,000 questions: one open, one record read, whatever the
// size of the set.
#include "QuestionDraw.h"
#include "QuestionRecord.h"
#include "TempDir.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int Questions = 1000000;

// Writes the header and `count` distinct questions, a thousand records per write.
bool writeSet(const std::string& path, int count) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const auto header = QuestionRecord::header().encode();
    bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
    std::string block;
    for (int n = 1; ok && n <= count; ++n) {
        QuestionRecord r;
        const std::string k = std::to_string(n);
        r.question = "Which number is this question, out of a million questions? " + k;
        r.answer = "It is " + k;
        r.wrong1 = "Not " + k;
        r.wrong2 = "Less than " + k;
        r.wrong3 = "More than " + k;
        const auto bytes = r.encode();
        block.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (n % 1000 == 0 || n == count) {
            ok = std::fwrite(block.data(), 1, block.size(), f) == block.size();
            block.clear();
        }
    }
    return std::fclose(f) == 0 && ok;
}

void BM_DrawFromMillionQuestionSet(benchmark::State& state) {
    TempDir dir;
    const std::string path = dir.file("MILLION.QST");
    if (!writeSet(path, Questions)) {
        state.SkipWithError("cannot write the question set");
        return;
    }
    QuestionDraw draw;
    draw.seed(20240501u);
    if (!draw.select(QString::fromStdString(path), ReaderRules::GameChange).isEmpty()) {
        state.SkipWithError("the question set is not accepted");
        return;
    }

    std::int64_t failures = 0;
    for (auto _ : state) {
        draw.clear();
        if (!draw.draw()) ++failures;
        benchmark::DoNotOptimize(draw.drawnRecord());
    }
    if (failures > 0) state.SkipWithError("a draw failed");
    state.counters["history"] = static_cast<double>(draw.history().size());
    state.counters["questions"] = Questions;
}
BENCHMARK(BM_DrawFromMillionQuestionSet)->Unit(benchmark::kMicrosecond);

} // namespace
