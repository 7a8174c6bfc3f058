// The program's entry: the splash window, then the game screen.
#include "Mmain.h"

#include "DesktopShell.h"
#include "QtClock.h"
#include "QtDialogs.h"
#include "QuizScreen.h"
#include "Settings.h"
#include "Splash.h"
#include "SystemMidiPlatform.h"

#include <QApplication>

int RunTrivora(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trivora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Trivora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/trivora.svg")));
    // The splash window is the main window and stays hidden after the hand-over; the
    // program ends when the game screen closes.
    QApplication::setQuitOnLastWindowClosed(false);

    TQtClock clock;
    TDesktopShell shell(TDesktopShell::FindHelpFile());
    TQtDialogs dialogs(&shell);
    TSettings settings;
    std::unique_ptr<TMidiPlatform> midi = MakeSystemMidiPlatform();

    TMM splash(dialogs, settings);
    // The synthesizer readies its audio output while sound is on, from the start and whenever
    // the player switches it on, so that even the first note plays at once.
    midi->setSoundOn(splash.Values().SoundWanted);
    settings.setSoundWantedListener([&midi](bool on) { midi->setSoundOn(on); });
    QuizScreen screen({clock,
                       dialogs,
                       shell,
                       settings,
                       *midi,
                       splash.Values().ProgramDir,
                       splash.Values().SoundWanted,
                       {}});
    screen.startUp();

    const auto handOver = [&] {
        if (!screen.splashHandOverTimer->Enabled()) return;
        screen.splashHandOverTimer->Stop();
        splash.hide();
        screen.show();
        screen.activateWindow();
    };
    screen.splashHandOverTimer->SetOnTimer(handOver);
    splash.OnKey = handOver;
    QObject::connect(&screen, &QuizScreen::closed, &app, [&] {
        splash.close();
        QApplication::quit();
    });

    splash.show();
    return QApplication::exec();
}
