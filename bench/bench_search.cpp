// The editor's text search over a set of 100,000 questions, scanned to its end without a hit:
// the scan alone, and one press of Find Next through the editor window.
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
class BigQuestionSet {
public:
    BigQuestionSet() {
        stdPath = (dir.path() + QStringLiteral("/big.QST")).toStdString();
        std::FILE* f = std::fopen(stdPath.c_str(), "wb");
        const auto put = [f](const QuestionRecord& r) {
            const auto bytes = r.encode();
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        };
        put(QuestionRecord::header());
        for (int i = 1; i <= Questions; ++i) {
            const std::string k = std::to_string(i);
            QuestionRecord r;
            r.question = "Which river flows through the city in question number " + k + "?";
            r.answer = "The answer of question " + k;
            r.wrong1 = "A wrong answer, first of three";
            r.wrong2 = "Another wrong answer for " + k;
            r.wrong3 = "The last wrong answer";
            put(r);
        }
        std::fclose(f);
    }
    QTemporaryDir dir;
    std::string stdPath;
};

BigQuestionSet& bigSet() {
    static BigQuestionSet set;
    return set;
}

// The dialogs, shell and settings of a window that only searches.
class QuietDialogs final : public Dialogs {
public:
    MsgButton message(QWidget*, MsgKind, const QString& text, const QList<MsgButton>&,
                      int) override {
        last = text;
        return MsgButton::Ok;
    }
    QString openFile(QWidget*, const FileDialogSpec&) override { return {}; }
    QString saveFile(QWidget*, const FileDialogSpec&) override { return {}; }
    QString last;
};

class NoShell final : public Shell {
public:
    void showHelp(int) override {}
    void minimizeApp() override {}
    void openUrl(const QString&) override {}
};

QApplication& app() {
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
    BigQuestionSet& set = bigSet();
    for (auto _ : state) {
        const auto result =
            QuestionScan::find(set.stdPath, 1, Questions, std::string_view("paris"));
        if (!result.ok || result.hit) state.SkipWithError("unexpected scan result");
        benchmark::DoNotOptimize(result.position);
    }
    state.SetItemsProcessed(state.iterations() * Questions);
}
BENCHMARK(BM_ScanWithoutHit)->Unit(benchmark::kMillisecond);

// One press of Find Next in the editor: the scan, the return to the record shown and the
// "No match found" box.
static void BM_FindNextWithoutHit(benchmark::State& state) {
    app();
    BigQuestionSet& set = bigSet();
    QuietDialogs dialogs;
    NoShell shell;
    Settings settings;
    QuestionEditorState editorState;
    QString fileName = QString::fromStdString(set.stdPath);
    QuestionEditor editor(QuestionEditorServices{dialogs, shell, settings}, editorState,
                          fileName);
    editor.findDialog->setFindText(QStringLiteral("paris"));
    for (auto _ : state) {
        editor.findDialog->findNextButton->click();
        if (dialogs.last != QStringLiteral("No match found")) state.SkipWithError("found");
    }
    state.SetItemsProcessed(state.iterations() * Questions);
}
BENCHMARK(BM_FindNextWithoutHit)->Unit(benchmark::kMillisecond);
