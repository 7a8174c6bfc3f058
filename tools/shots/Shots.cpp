// trivora-shots: plays a scripted game on a manual clock and saves a picture of every phase
// of the game screen, the splash window, the question editor and the help, for the contact
// sheet (tools/contact-sheet). A developer tool; it is not installed.
//
//   trivora-shots [--set FILE.QST] [--help-file trivora-help.html] [--out DIR]
//
// Writes DIR/NN-name.png and DIR/shots.txt (one "file<TAB>caption" line per picture).
#include "AttractShow.h"
#include "Banners.h"
#include "ButtonBand.h"
#include "DesktopShell.h"
#include "ImageView.h"
#include "Label.h"
#include "PrizeLadderView.h"
#include "Shape.h"
#include "QuestionArea.h"
#include "PlayerEntryPanel.h"
#include "FinalScoresPanel.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"
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
class QuietShell final : public Shell {
public:
    void showHelp(int) override {}
    void minimizeApp() override {}
    void openUrl(const QString&) override {}
};

class Shots {
public:
    Shots(QString outDir, QString questionSet, QString helpFile)
        : m_outDir(std::move(outDir)), m_questionSet(std::move(questionSet)),
          m_helpFile(std::move(helpFile)), m_list(m_outDir + QStringLiteral("/shots.txt")) {}

    int run();

private:
    // Saves a picture of the window under the next number.
    void shot(QWidget& window, const QString& caption);
    // Moves the clock on in small steps until pred holds; false after limitMs.
    bool until(const std::function<bool()>& pred, int limitMs = 60000);
    void fail(const char* what);
    void createScreen();
    void attract();
    bool playGame();
    void editor();
    void splash();
    void help();

    QuizScreen& S() { return *m_screen; }
    static bool shown(const QWidget* w) { return !w->isHidden(); }
    int slot(bool correct) const;

    QString m_outDir;
    QString m_questionSet;
    QString m_helpFile;
    QFile m_list;
    int m_count = 0;
    bool m_failed = false;

    TestSettingsFolder m_settingsFolder;
    TempDir m_programDir;
    ManualClock m_clock;
    ScriptedDialogs m_dialogs;
    QuietShell m_shell;
    Settings m_settings;
    RecordingMidiPlatform m_midi;
    std::unique_ptr<QuizScreen> m_screen;
};

void Shots::fail(const char* what) {
    std::fprintf(stderr, "trivora-shots: the game did not reach: %s\n", what);
    m_failed = true;
}

bool Shots::until(const std::function<bool()>& pred, int limitMs) {
    for (int ms = 0; ms < limitMs; ms += 5) {
        if (pred()) return true;
        m_clock.advance(5);
    }
    return pred();
}

void Shots::shot(QWidget& window, const QString& caption) {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    const QPixmap picture = window.grab();
    QString name = caption.toLower();
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    const QString file =
        QStringLiteral("%1-%2.png").arg(++m_count, 2, 10, QLatin1Char('0')).arg(name);
    if (!picture.save(m_outDir + QLatin1Char('/') + file)) {
        std::fprintf(stderr, "trivora-shots: cannot write %s\n", qPrintable(file));
        m_failed = true;
        return;
    }
    QTextStream(&m_list) << file << '\t' << caption << '\n';
    std::printf("%s\n", qPrintable(file));
}

void Shots::createScreen() {
    const QString set = m_programDir.path() + QStringLiteral("/REGD.QST");
    QFile::remove(set);
    if (m_questionSet.isEmpty())
        QstFixtures::writeNumberedSet(set.toStdString(), 40);
    else
        QFile::copy(m_questionSet, set);
    QuizServices services{
        m_clock, m_dialogs,           m_shell, m_settings,
        m_midi,  m_programDir.path(), true,    [] { return std::uint32_t{20240611}; }};
    m_screen = std::make_unique<QuizScreen>(services);
    m_screen->startUp();
    m_screen->show();
    // Let the window system's activation arrive before the clock moves.
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The slot showing the correct answer (correct) or another one.
int Shots::slot(bool correct) const {
    for (int i = 0; i < 4; ++i)
        if ((m_screen->questionArea->answerTexts[static_cast<std::size_t>(i)]->caption() ==
             m_screen->game.draw().correctAnswer()) == correct)
            return i;
    return 0;
}

void Shots::attract() {
    const AttractShow& show = *S().attract;
    const std::pair<const ImageView*, const char*> stages[] = {
        {show.companyLogo, "Attract logo"},
        {show.presentsCaption, "Attract presents"},
        {show.titlePicture, "Attract title"},
        {show.pressStartPrompt, "Attract press start"}};
    for (const auto& [stage, caption] : stages) {
        if (!until([&] { return shown(stage); }, 20000)) {
            fail(caption);
            continue;
        }
        m_clock.advance(300);
        shot(S(), QString::fromLatin1(caption));
    }
}

// Two players: Ann wins a question and spins the ladder, Bob answers wrong, a question runs
// out of time, and then every answer is wrong until both are out.
bool Shots::playGame() {
    QuizScreen& s = S();
    s.pressControl(s.buttons->startButton);
    if (!shown(s.playerPanel)) {
        fail("Player entry");
        return false;
    }
    s.playerPanel->nameBoxes[0]->setText(QStringLiteral("Ann"));
    s.playerPanel->nameBoxes[1]->setText(QStringLiteral("Bob"));
    for (int k = 2; k < 4; ++k)
        s.playerPanel->nameBoxes[static_cast<std::size_t>(k)]->setText(QString());
    shot(s, QStringLiteral("Player entry"));
    s.playerPanel->confirm();
    if (!until([&] { return shown(s.readyPanel); }, 1000)) fail("Ready");
    m_clock.advance(100);
    shot(s, QStringLiteral("Ready"));

    // The answers are up and none is chosen yet.
    const auto answersOpen = [&] {
        return s.game.answersOpen() && shown(s.questionArea->answerLetters[0]) && !s.ladder->isShowing() &&
               s.display.buttonLit == std::array<int, 4>{0, 0, 0, 0};
    };
    if (!until([&] { return s.questionArea->questionLabel->caption().size() > 12; })) {
        fail("Question typing");
        return false;
    }
    shot(s, QStringLiteral("Question typing"));
    if (!until(answersOpen)) {
        fail("Answers open");
        return false;
    }
    m_clock.advance(1500);
    shot(s, QStringLiteral("Answers open"));
    s.pressControl(s.questionArea->answerRows[static_cast<std::size_t>(slot(true))]);
    m_clock.advance(300);
    shot(s, QStringLiteral("Chosen answer"));
    if (!until([&] { return shown(s.banners->correctBanner); }, 3000)) fail("Correct");
    m_clock.advance(250);
    shot(s, QStringLiteral("Correct"));
    if (!until([&] { return s.ladder->isShowing(); }, 6000)) {
        fail("Ladder");
        return false;
    }
    // Stop on a prize lamp, not on LOSE.
    m_clock.advance(400);
    shot(s, QStringLiteral("Ladder"));
    until([&] { return s.display.lampLit[2] != 0; }, 3000);
    s.pressStop();
    m_clock.advance(300);
    shot(s, QStringLiteral("Prize"));

    // Bob: a wrong answer.
    if (!until(answersOpen)) {
        fail("Wrong");
        return false;
    }
    s.pressControl(s.questionArea->answerRows[static_cast<std::size_t>(slot(false))]);
    if (!until([&] { return shown(s.wrongPanel); }, 3000)) fail("Wrong");
    m_clock.advance(300);
    shot(s, QStringLiteral("Wrong"));
    s.wrongPanel->confirm();

    // Ann: too late.
    if (!until(answersOpen)) {
        fail("TimeOut");
        return false;
    }
    if (!until([&] { return shown(s.timeOutPanel); }, 20000)) fail("TimeOut");
    m_clock.advance(300);
    shot(s, QStringLiteral("TimeOut"));
    s.timeOutPanel->confirm();

    // Every answer wrong from here on, until the game ends.
    bool playerOutShot = false;
    for (int turn = 0; turn < 200 && !shown(s.banners->gameOverBanner) && !shown(s.finalScorePanel);
         ++turn) {
        if (!until([&] {
                return answersOpen() || shown(s.banners->gameOverBanner) ||
                       (shown(s.readyPanel) && shown(s.readyPanel->playerOutHeading));
            })) {
            fail("Game over");
            return false;
        }
        if (shown(s.readyPanel) && shown(s.readyPanel->playerOutHeading)) {
            if (!playerOutShot) {
                m_clock.advance(100);
                shot(s, QStringLiteral("Player out"));
                playerOutShot = true;
            }
            until([&] { return !shown(s.readyPanel->playerOutHeading) || !shown(s.readyPanel); }, 6000);
            continue;
        }
        if (shown(s.banners->gameOverBanner)) break;
        s.pressControl(s.questionArea->answerRows[static_cast<std::size_t>(slot(false))]);
        if (!until([&] { return shown(s.wrongPanel); }, 3000)) break;
        s.wrongPanel->confirm();
    }
    if (!playerOutShot) fail("Player out");
    if (!until([&] { return shown(s.banners->gameOverBanner); }, 1000)) {
        fail("Game over");
        return false;
    }
    m_clock.advance(300);
    shot(s, QStringLiteral("Game over"));
    if (!until([&] { return shown(s.finalScorePanel); }, 5000)) {
        fail("Final scores");
        return false;
    }
    shot(s, QStringLiteral("Final scores"));
    s.finalScorePanel->confirm();
    return true;
}

void Shots::editor() {
    S().openEditor();
    QuestionEditor* editor = S().editor();
    if (!editor) {
        fail("Editor");
        return;
    }
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    m_clock.advance(300);
    shot(*editor, QStringLiteral("Editor"));
    editor->close();
    QApplication::processEvents();
}

void Shots::splash() {
    SplashWindow splash(m_dialogs, m_settings, 24);
    splash.show();
    shot(splash, QStringLiteral("Splash"));
}

void Shots::help() {
    if (m_helpFile.isEmpty()) return;
    HelpViewer viewer(m_helpFile);
    viewer.resize(640, 560);
    viewer.show();
    if (!viewer.showTopic(10)) fail("Help");
    shot(viewer, QStringLiteral("Help"));
}

int Shots::run() {
    if (!QDir().mkpath(m_outDir) || !m_list.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "trivora-shots: cannot write into %s\n", qPrintable(m_outDir));
        return 2;
    }
    splash();
    createScreen();
    attract();
    playGame();
    editor();
    help();
    m_screen.reset();
    return m_failed ? 1 : 0;
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
    Shots shots(parser.value(out), setFile, parser.value(help));
    return shots.run();
}
