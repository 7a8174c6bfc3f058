// The editor's text search over a set of 100,000 questions, scanned to its end without a hit:
// the scan alone, and one press of Find Next through the editor window.
#include "Clock.h"
#include "Dialogs.h"
#include "QstFile.h"
#include "QuestionEditor.h"
#include "QuestionFindDialog.h"
#include "QuestionRecord.h"
#include "QuestionScan.h"
#include "Settings.h"
#include "Shell.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int Questions = 100000;

// A set of 100,000 questions of ordinary length, none holding the searched text.
class TBigSet {
public:
    TBigSet() {
        Path = (Dir.path() + QStringLiteral("/big.QST")).toStdString();
        std::FILE* f = std::fopen(Path.c_str(), "wb");
        const auto put = [f](const TQuestionRecord& r) {
            const auto bytes = r.Encode();
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        };
        put(TQuestionRecord::Header());
        for (int i = 1; i <= Questions; ++i) {
            const std::string k = std::to_string(i);
            TQuestionRecord r;
            r.Question = "Which river flows through the city in question number " + k + "?";
            r.Answer = "The answer of question " + k;
            r.Wrong1 = "A wrong answer, first of three";
            r.Wrong2 = "Another wrong answer for " + k;
            r.Wrong3 = "The last wrong answer";
            put(r);
        }
        std::fclose(f);
    }
    QTemporaryDir Dir;
    std::string Path;
};

TBigSet& BigSet() {
    static TBigSet set;
    return set;
}

// The clock, dialogs, shell and settings of a window that only searches.
class TStillClock final : public TClock {
public:
    std::int64_t Now() const override { return 0; }

protected:
    void TimerAdded(TTimer&) override {}
    void TimerRemoved(TTimer&) override {}
    void TimerChanged(TTimer&) override {}
};

class TQuietDialogs final : public TDialogs {
public:
    TMsgButton Message(QWidget*, TMsgKind, const QString& text, const QList<TMsgButton>&,
                       int) override {
        Last = text;
        return TMsgButton::Ok;
    }
    QString OpenFile(QWidget*, const TFileDialogSpec&) override { return {}; }
    QString SaveFile(QWidget*, const TFileDialogSpec&) override { return {}; }
    QString Last;
};

class TNoShell final : public TShell {
public:
    void ShowHelp(int) override {}
    void MinimizeApp() override {}
    void OpenUrl(const QString&) override {}
};

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_search";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }();
    return *app;
}
} // namespace

// The scan: every record read and all five strings folded and tested.
static void BM_ScanWithoutHit(benchmark::State& state) {
    TBigSet& set = BigSet();
    for (auto _ : state) {
        const auto result = QuestionScan::find(set.Path, 1, Questions, std::string_view("paris"));
        if (!result.ok || result.hit) state.SkipWithError("unexpected scan result");
        benchmark::DoNotOptimize(result.position);
    }
    state.SetItemsProcessed(state.iterations() * Questions);
}
BENCHMARK(BM_ScanWithoutHit)->Unit(benchmark::kMillisecond);

// One press of Find Next in the editor: the scan, the return to the record shown and the
// "No match found" box.
static void BM_FindNextWithoutHit(benchmark::State& state) {
    App();
    TBigSet& set = BigSet();
    TStillClock clock;
    TQuietDialogs dialogs;
    TNoShell shell;
    TSettings settings;
    QuestionEditorState editorState;
    QString fileName = QString::fromStdString(set.Path);
    QuestionEditor editor(QuestionEditorServices{clock, dialogs, shell, settings}, editorState,
                          fileName);
    editor.findDialog->setFindText(QStringLiteral("paris"));
    for (auto _ : state) {
        editor.findDialog->findNextButton->click();
        if (dialogs.Last != QStringLiteral("No match found")) state.SkipWithError("found");
    }
    state.SetItemsProcessed(state.iterations() * Questions);
}
BENCHMARK(BM_FindNextWithoutHit)->Unit(benchmark::kMillisecond);
