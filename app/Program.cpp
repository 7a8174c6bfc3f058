// The program's entry: the splash window, then the game screen.
#include "Program.h"

#include "Cabinet.h"
#include "DesktopShell.h"
#include "QtClock.h"
#include "QtDialogs.h"
#include "QuizScreen.h"
#include "ScoreKeeper.h"
#include "Settings.h"
#include "Speaker.h"
#include "Splash.h"
#include "SystemMidiPlatform.h"
#include "SystemSpeaker.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>

#include <cstdio>

namespace {
// The venue's server and this cabinet's name from Trivora.conf (group Scores), the command
// line's server first. No password is ever read from here: the server's client library
// finds it in ~/.pgpass, PGPASSFILE or the service file. The clock paces the venue's rounds.
void useVenueScores(ScoreKeeper& scores, const ProgramOptions& options, Clock& clock) {
    QSettings conf(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Trivora"));
    conf.beginGroup(QStringLiteral("Scores"));
    scores.setCabinet(conf.value(QStringLiteral("Cabinet")).toString());
    const QString database =
        options.scoresDatabase.value_or(conf.value(QStringLiteral("Database")).toString())
            .trimmed();
    if (!database.isEmpty()) scores.useVenue(database, &clock);
}
} // namespace

int runTrivora(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (ProgramOptions::asksForHelp(arguments)) {
        const QCoreApplication core(argc, argv);
        const ProgramOptions::Parsed parsed = ProgramOptions::parse(arguments);
        std::fputs(qPrintable(parsed.text), parsed.exitStatus == 0 ? stdout : stderr);
        return parsed.exitStatus;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trivora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Trivora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/trivora.svg")));
    // The splash window is the main window and stays hidden after the hand-over; the
    // program ends when the game screen closes.
    QApplication::setQuitOnLastWindowClosed(false);
    const ProgramOptions::Parsed parsed = ProgramOptions::parse(QApplication::arguments());
    if (parsed.exitNow) {
        std::fputs(qPrintable(parsed.text), parsed.exitStatus == 0 ? stdout : stderr);
        return parsed.exitStatus;
    }

    QtClock clock;
    DesktopShell shell(DesktopShell::findHelpFile());
    QtDialogs dialogs(&shell);
    Settings settings;
    std::unique_ptr<MidiPlatform> midi = makeSystemMidiPlatform();
    // The hall of fame in the user's data folder, kept on a thread of its own; its messages
    // reach the player through the game screen. It closes after the screen, keeping every
    // game handed to it.
    ScoreKeeper scores;
    useVenueScores(scores, parsed.options, clock);
    // Spoken play's voice; the Sound menu's "&Speak" tells why when nothing can speak.
    std::unique_ptr<Speaker> speaker = makeSystemSpeaker();

    SplashWindow splash(dialogs, settings);
    // The synthesizer readies its audio output while sound is on, from the start and whenever
    // the player switches it on, so that even the first note plays at once.
    midi->setSoundOn(splash.values().soundWanted);
    settings.setSoundWantedListener([&midi](bool on) { midi->setSoundOn(on); });
    QuizScreen screen({clock,
                       dialogs,
                       shell,
                       settings,
                       *midi,
                       splash.values().programDir,
                       splash.values().soundWanted,
                       {},
                       &scores,
                       speaker.get()});
    if (parsed.options.phones) {
        settings.setPhonesWanted(true);
        if (parsed.options.phonesPort != 0) settings.setPhonesPort(parsed.options.phonesPort);
    }
    screen.startUp();
    // Controllers are read from the start, on the program's clock; a press during the splash
    // hands over as a key does.
    Cabinet cabinet(screen, clock, dialogs, parsed.options);

    const auto handOver = [&] {
        if (!screen.splashHandOverTimer->enabled()) return;
        screen.splashHandOverTimer->stop();
        splash.hide();
        cabinet.showScreen();
        screen.activateWindow();
        QTimer::singleShot(0, &cabinet, [&cabinet] { cabinet.reportStoredControls(); });
    };
    screen.splashHandOverTimer->setOnTimer(handOver);
    splash.onKey = handOver;
    QObject::connect(&cabinet.controllers(), &ControllerInput::pressed, &splash, handOver);
    QObject::connect(&screen, &QuizScreen::closed, &app, [&] {
        splash.close();
        QApplication::quit();
    });

    splash.show();
    return QApplication::exec();
}
