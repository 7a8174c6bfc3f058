// trivora-shots: plays a scripted game on a manual clock and saves a picture of every phase
// of the game screen, the splash window, the question editor and the help, for the contact
// sheet (tools/contact-sheet). A developer tool; it is not installed.
//
//   trivora-shots [--set FILE.QST] [--help-file trivora-help.html] [--out DIR]
//
// Writes DIR/NN-name.png and DIR/shots.txt (one "file<TAB>caption" line per picture).
#include "DesktopShell.h"
#include "HelpViewer.h"
#include "ManualClock.h"
#include "QstFixtures.h"
#include "QuestionEditor.h"
#include "QuizScreen.h"
#include "RecordingMidiPlatform.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "Splash.h"
#include "TempDir.h"
#include "TestSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// A shell that asks the desktop for nothing: links and minimising would leave the session.
class TQuietShell final : public TShell {
public:
    void ShowHelp(int) override {}
    void MinimizeApp() override {}
    void OpenUrl(const QString&) override {}
};

class TShots {
public:
    TShots(QString outDir, QString questionSet, QString helpFile)
        : FOutDir(std::move(outDir)), FQuestionSet(std::move(questionSet)),
          FHelpFile(std::move(helpFile)), FList(FOutDir + QStringLiteral("/shots.txt")) {}

    int Run();

private:
    // Saves a picture of the window under the next number.
    void Shot(QWidget& window, const QString& caption);
    // Moves the clock on in small steps until pred holds; false after limitMs.
    bool Until(const std::function<bool()>& pred, int limitMs = 60000);
    void Fail(const char* what);
    void CreateScreen();
    void Attract();
    bool PlayGame();
    void Editor();
    void Splash();
    void Help();

    QuizScreen& S() { return *FScreen; }
    static bool Shown(const QWidget* w) { return !w->isHidden(); }
    int Slot(bool correct) const;

    QString FOutDir;
    QString FQuestionSet;
    QString FHelpFile;
    QFile FList;
    int FCount = 0;
    bool FFailed = false;

    TTestSettingsFolder FSettingsFolder;
    TTempDir FProgramDir;
    TManualClock FClock;
    TScriptedDialogs FDialogs;
    TQuietShell FShell;
    TSettings FSettings;
    TRecordingMidiPlatform FMidi;
    std::unique_ptr<QuizScreen> FScreen;
};

void TShots::Fail(const char* what) {
    std::fprintf(stderr, "trivora-shots: the game did not reach: %s\n", what);
    FFailed = true;
}

bool TShots::Until(const std::function<bool()>& pred, int limitMs) {
    for (int ms = 0; ms < limitMs; ms += 5) {
        if (pred()) return true;
        FClock.Advance(5);
    }
    return pred();
}

void TShots::Shot(QWidget& window, const QString& caption) {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    const QPixmap picture = window.grab();
    QString name = caption.toLower();
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    const QString file =
        QStringLiteral("%1-%2.png").arg(++FCount, 2, 10, QLatin1Char('0')).arg(name);
    if (!picture.save(FOutDir + QLatin1Char('/') + file)) {
        std::fprintf(stderr, "trivora-shots: cannot write %s\n", qPrintable(file));
        FFailed = true;
        return;
    }
    QTextStream(&FList) << file << '\t' << caption << '\n';
    std::printf("%s\n", qPrintable(file));
}

void TShots::CreateScreen() {
    const QString set = FProgramDir.path() + QStringLiteral("/REGD.QST");
    QFile::remove(set);
    if (FQuestionSet.isEmpty())
        QstFixtures::WriteNumberedSet(set.toStdString(), 40);
    else
        QFile::copy(FQuestionSet, set);
    QuizServices services{
        FClock, FDialogs,           FShell, FSettings,
        FMidi,  FProgramDir.path(), true,   [] { return std::uint32_t{20240611}; }};
    FScreen = std::make_unique<QuizScreen>(services);
    FScreen->startUp();
    FScreen->show();
    // Let the window system's activation arrive before the clock moves.
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The slot showing the correct answer (correct) or another one.
int TShots::Slot(bool correct) const {
    for (int i = 0; i < 4; ++i)
        if ((FScreen->answerTexts[static_cast<std::size_t>(i)]->Caption() ==
             FScreen->game.correctAnswer) == correct)
            return i;
    return 0;
}

void TShots::Attract() {
    const std::pair<TImage * QuizScreen::*, const char*> stages[] = {
        {&QuizScreen::companyLogo, "Attract logo"},
        {&QuizScreen::presentsCaption, "Attract presents"},
        {&QuizScreen::titlePicture, "Attract title"},
        {&QuizScreen::pressStartPrompt, "Attract press start"}};
    for (const auto& [stage, caption] : stages) {
        if (!Until([&] { return Shown(S().*stage); }, 20000)) {
            Fail(caption);
            continue;
        }
        FClock.Advance(300);
        Shot(S(), QString::fromLatin1(caption));
    }
}

// Two players: Ann wins a question and spins the ladder, Bob answers wrong, a question runs
// out of time, and then every answer is wrong until both are out.
bool TShots::PlayGame() {
    QuizScreen& s = S();
    s.pressControl(s.startButton);
    if (!Shown(s.playerPanel)) {
        Fail("Player entry");
        return false;
    }
    s.playerNameBoxes[0]->setText(QStringLiteral("Ann"));
    s.playerNameBoxes[1]->setText(QStringLiteral("Bob"));
    for (int k = 2; k < 4; ++k)
        s.playerNameBoxes[static_cast<std::size_t>(k)]->setText(QString());
    Shot(s, QStringLiteral("Player entry"));
    s.confirmPlayers();
    if (!Until([&] { return Shown(s.readyPanel); }, 1000)) Fail("Ready");
    FClock.Advance(100);
    Shot(s, QStringLiteral("Ready"));

    // The answers are up and none is chosen yet.
    const auto answersOpen = [&] {
        return s.game.answersOpen && Shown(s.answerLetters[0]) && !s.ladderShowing() &&
               s.display.buttonLit == std::array<int, 4>{0, 0, 0, 0};
    };
    if (!Until([&] { return s.questionLabel->Caption().size() > 12; })) {
        Fail("Question typing");
        return false;
    }
    Shot(s, QStringLiteral("Question typing"));
    if (!Until(answersOpen)) {
        Fail("Answers open");
        return false;
    }
    FClock.Advance(1500);
    Shot(s, QStringLiteral("Answers open"));
    s.pressControl(s.answerRows[static_cast<std::size_t>(Slot(true))]);
    FClock.Advance(300);
    Shot(s, QStringLiteral("Chosen answer"));
    if (!Until([&] { return Shown(s.correctBanner); }, 3000)) Fail("Correct");
    FClock.Advance(250);
    Shot(s, QStringLiteral("Correct"));
    if (!Until([&] { return s.ladderShowing(); }, 6000)) {
        Fail("Ladder");
        return false;
    }
    // Stop on a prize lamp, not on LOSE.
    FClock.Advance(400);
    Shot(s, QStringLiteral("Ladder"));
    Until([&] { return s.display.lampLit[2] != 0; }, 3000);
    s.stopLadder();
    FClock.Advance(300);
    Shot(s, QStringLiteral("Prize"));

    // Bob: a wrong answer.
    if (!Until(answersOpen)) {
        Fail("Wrong");
        return false;
    }
    s.pressControl(s.answerRows[static_cast<std::size_t>(Slot(false))]);
    if (!Until([&] { return Shown(s.wrongPanel); }, 3000)) Fail("Wrong");
    FClock.Advance(300);
    Shot(s, QStringLiteral("Wrong"));
    s.confirmWrongPanel();

    // Ann: too late.
    if (!Until(answersOpen)) {
        Fail("TimeOut");
        return false;
    }
    if (!Until([&] { return Shown(s.timeOutPanel); }, 20000)) Fail("TimeOut");
    FClock.Advance(300);
    Shot(s, QStringLiteral("TimeOut"));
    s.confirmTimeOutPanel();

    // Every answer wrong from here on, until the game ends.
    bool playerOutShot = false;
    for (int turn = 0; turn < 200 && !Shown(s.gameOverBanner) && !Shown(s.finalScorePanel);
         ++turn) {
        if (!Until([&] {
                return answersOpen() || Shown(s.gameOverBanner) ||
                       (Shown(s.readyPanel) && Shown(s.playerOutHeading));
            })) {
            Fail("Game over");
            return false;
        }
        if (Shown(s.readyPanel) && Shown(s.playerOutHeading)) {
            if (!playerOutShot) {
                FClock.Advance(100);
                Shot(s, QStringLiteral("Player out"));
                playerOutShot = true;
            }
            Until([&] { return !Shown(s.playerOutHeading) || !Shown(s.readyPanel); }, 6000);
            continue;
        }
        if (Shown(s.gameOverBanner)) break;
        s.pressControl(s.answerRows[static_cast<std::size_t>(Slot(false))]);
        if (!Until([&] { return Shown(s.wrongPanel); }, 3000)) break;
        s.confirmWrongPanel();
    }
    if (!playerOutShot) Fail("Player out");
    if (!Until([&] { return Shown(s.gameOverBanner); }, 1000)) {
        Fail("Game over");
        return false;
    }
    FClock.Advance(300);
    Shot(s, QStringLiteral("Game over"));
    if (!Until([&] { return Shown(s.finalScorePanel); }, 5000)) {
        Fail("Final scores");
        return false;
    }
    Shot(s, QStringLiteral("Final scores"));
    s.confirmFinalScores();
    return true;
}

void TShots::Editor() {
    S().openEditor();
    QuestionEditor* editor = S().editor();
    if (!editor) {
        Fail("Editor");
        return;
    }
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    FClock.Advance(300);
    Shot(*editor, QStringLiteral("Editor"));
    editor->close();
    QApplication::processEvents();
}

void TShots::Splash() {
    TMM splash(FDialogs, FSettings, 24);
    splash.show();
    Shot(splash, QStringLiteral("Splash"));
}

void TShots::Help() {
    if (FHelpFile.isEmpty()) return;
    THelpViewer viewer(FHelpFile);
    viewer.resize(640, 560);
    viewer.show();
    if (!viewer.ShowTopic(10)) Fail("Help");
    Shot(viewer, QStringLiteral("Help"));
}

int TShots::Run() {
    if (!QDir().mkpath(FOutDir) || !FList.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "trivora-shots: cannot write into %s\n", qPrintable(FOutDir));
        return 2;
    }
    Splash();
    CreateScreen();
    Attract();
    PlayGame();
    Editor();
    Help();
    FScreen.reset();
    return FFailed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trivora"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Saves a picture of every phase of the game for the contact sheet."));
    parser.addHelpOption();
    const QCommandLineOption set(
        QStringLiteral("set"),
        QStringLiteral("Question set to play (default: numbered questions)."),
        QStringLiteral("file"));
    const QCommandLineOption help(QStringLiteral("help-file"), QStringLiteral("Help to show."),
                                  QStringLiteral("file"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Folder for the pictures."),
                                 QStringLiteral("dir"), QStringLiteral("/tmp/trivora-shots"));
    parser.addOptions({set, help, out});
    parser.process(app);
    const QString setFile = parser.value(set);
    if (!setFile.isEmpty() && !QFileInfo::exists(setFile)) {
        std::fprintf(stderr, "trivora-shots: no question set %s\n", qPrintable(setFile));
        return 2;
    }
    TShots shots(parser.value(out), setFile, parser.value(help));
    return shots.Run();
}
