// The program's entry: the splash window, then the game screen.
#include "Program.h"

#include "DesktopShell.h"
#include "QtClock.h"
#include "QtDialogs.h"
#include "QuizScreen.h"
#include "Settings.h"
#include "Speaker.h"
#include "Splash.h"
#include "SystemMidiPlatform.h"
#include "SystemSpeaker.h"

#include <QApplication>

int runTrivora(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trivora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Trivora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/trivora.svg")));
    // The splash window is the main window and stays hidden after the hand-over; the
    // program ends when the game screen closes.
    QApplication::setQuitOnLastWindowClosed(false);

    QtClock clock;
    DesktopShell shell(DesktopShell::findHelpFile());
    QtDialogs dialogs(&shell);
    Settings settings;
    std::unique_ptr<MidiPlatform> midi = makeSystemMidiPlatform();
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
                       speaker.get()});
    screen.startUp();

    const auto handOver = [&] {
        if (!screen.splashHandOverTimer->enabled()) return;
        screen.splashHandOverTimer->stop();
        splash.hide();
        screen.show();
        screen.activateWindow();
    };
    screen.splashHandOverTimer->setOnTimer(handOver);
    splash.onKey = handOver;
    QObject::connect(&screen, &QuizScreen::closed, &app, [&] {
        splash.close();
        QApplication::quit();
    });

    splash.show();
    return QApplication::exec();
}
