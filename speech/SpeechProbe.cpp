// Speaks the lines of one question of a game, one after the other, and prints when each
// started and finished. With --cut, the second line starts while the first is still spoken.
//
//   trivora-speechprobe [--engine NAME] [--cut] [--timeout SECONDS] [LINE...]
//
// Exit status: 0 when every line finished, 3 when no speech engine can speak (the reason is
// printed), 4 when a line did not finish in time.
#include "FliteSpeaker.h"
#include "QtSpeaker.h"
#include "SpokenTexts.h"
#include "SystemSpeaker.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trivora-speechprobe"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Speaks one question of a game."));
    parser.addHelpOption();
    const QCommandLineOption engineOption(
        QStringLiteral("engine"),
        QStringLiteral("Speech engine to use: flite (our own output), qt-flite (Qt's Flite engine) "
                       "or a Qt engine's name; the program's choice when not given."),
        QStringLiteral("name"));
    const QCommandLineOption cutOption(QStringLiteral("cut"),
                                       QStringLiteral("Cut the first line off with the second."));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"),
                                           QStringLiteral("Seconds to wait for each line."),
                                           QStringLiteral("seconds"), QStringLiteral("30"));
    parser.addOptions({engineOption, cutOption, timeoutOption});
    parser.addPositionalArgument(QStringLiteral("lines"),
                                 QStringLiteral("Lines to speak instead of the question's."),
                                 QStringLiteral("[lines...]"));
    parser.process(app);

    const QString engine = parser.value(engineOption);
    std::unique_ptr<Speaker> speaker;
    if (engine.isEmpty())
        speaker = makeSystemSpeaker();
    else if (engine == QStringLiteral("flite"))
        speaker = std::make_unique<FliteSpeaker>();
    else if (engine == QStringLiteral("qt-flite"))
        speaker = std::make_unique<QtSpeaker>(QStringLiteral("flite"), nullptr);
    else
        speaker = std::make_unique<QtSpeaker>(engine, nullptr);
    if (!speaker->available()) {
        std::printf("unavailable: %s\n", qPrintable(speaker->unavailableReason()));
        return 3;
    }
    std::printf("engine: %s\n", speaker->metaObject()->className());

    QStringList lines = parser.positionalArguments();
    if (lines.isEmpty())
        lines = {
            SpokenTexts::turn(2, QStringLiteral("Anna")),
            SpokenTexts::question(QStringLiteral("Which planet is known as the red planet?")),
            SpokenTexts::answers({QStringLiteral("Venus"), QStringLiteral("Mars"),
                                  QStringLiteral("Jupiter"), QStringLiteral("Saturn")}),
            SpokenTexts::wrong(QStringLiteral("Mars")),
        };
    const int timeoutMs = parser.value(timeoutOption).toInt() * 1000;
    QElapsedTimer clock;
    clock.start();
    int next = 0;
    int status = 0;
    QTimer deadline;
    deadline.setSingleShot(true);

    auto sayNext = [&] {
        if (next == lines.size()) {
            app.quit();
            return;
        }
        std::printf("%6lld ms  say: %s\n", static_cast<long long>(clock.elapsed()),
                    qPrintable(lines[next]));
        std::fflush(stdout);
        speaker->say(lines[next++]);
        deadline.start(timeoutMs);
    };
    QObject::connect(speaker.get(), &Speaker::finished, &app, [&] {
        const QString error = speaker->lastError();
        std::printf("%6lld ms  finished%s\n", static_cast<long long>(clock.elapsed()),
                    error.isEmpty() ? ""
                                    : qPrintable(QStringLiteral(" by an engine error: ") + error));
        std::fflush(stdout);
        sayNext();
    });
    QObject::connect(&deadline, &QTimer::timeout, &app, [&] {
        std::printf("%6lld ms  no end of the line in time\n",
                    static_cast<long long>(clock.elapsed()));
        status = 4;
        app.quit();
    });
    if (parser.isSet(cutOption)) {
        // The first line is cut off after half a second; only the second may finish.
        sayNext();
        QTimer::singleShot(500, &app, sayNext);
    } else {
        QTimer::singleShot(0, &app, sayNext);
    }
    app.exec();
    // The speaker closes its audio output; the sound server's client thread is given a moment
    // to finish with it before the program's statics go (Qt 6.4's PulseAudio client may
    // otherwise abort at exit).
    speaker.reset();
    QTimer::singleShot(300, &app, &QCoreApplication::quit);
    app.exec();
    return status;
}
