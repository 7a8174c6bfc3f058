#include "ProgramOptions.h"

#include <QCommandLineParser>

ProgramOptions::Parsed ProgramOptions::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Trivora, an arcade trivia machine for one to four players."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption fullScreen(
        QStringLiteral("fullscreen"),
        QStringLiteral("Fill the screen with the game (F11 leaves full screen)."));
    const QCommandLineOption kiosk(
        QStringLiteral("kiosk"),
        QStringLiteral("Run as an unattended cabinet: full screen, no menu bar, the keys that "
                       "close or leave the game ignored. Ctrl+Alt+Shift+Q ends it."));
    const QCommandLineOption scoresDatabase(
        QStringLiteral("scores-database"),
        QStringLiteral("Share the hall of fame with the venue's other cabinets on the PostgreSQL "
                       "server at URL (postgresql://user@host:port/dbname?sslmode=...); empty "
                       "keeps the scores on this machine. Overrides [Scores] Database= in "
                       "Trivora.conf."),
        QStringLiteral("URL"));
    const QCommandLineOption phones(
        QStringLiteral("phones"),
        QStringLiteral("Let phones on the local network join as buzzers, on PORT when given "
                       "(--phones or --phones=PORT). The choice is kept for the next start."),
        QStringLiteral("PORT"));
    parser.addOption(fullScreen);
    parser.addOption(kiosk);
    parser.addOption(scoresDatabase);
    parser.addOption(phones);

    // The port is optional: a bare "--phones" asks for the stored one.
    QStringList args = arguments;
    for (QString& a : args)
        if (a == QLatin1String("--phones")) a = QStringLiteral("--phones=0");

    Parsed parsed;
    if (!parser.parse(args)) {
        parsed.exitNow = true;
        parsed.exitStatus = 2;
        parsed.text = parser.errorText() + QStringLiteral("\n\n") + parser.helpText();
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.exitNow = true;
        parsed.exitStatus = 2;
        parsed.text = QStringLiteral("Unexpected argument '%1'.\n\n")
                          .arg(parser.positionalArguments().constFirst()) +
                      parser.helpText();
        return parsed;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        parsed.exitNow = true;
        parsed.text = parser.helpText();
        return parsed;
    }
    if (parser.isSet(phones)) {
        bool ok = false;
        const int port = parser.value(phones).toInt(&ok);
        if (!ok || port < 0 || port > 65535) {
            parsed.exitNow = true;
            parsed.exitStatus = 2;
            parsed.text =
                QStringLiteral("'%1' is not a port (1 to 65535).\n\n").arg(parser.value(phones)) +
                parser.helpText();
            return parsed;
        }
        parsed.options.phones = true;
        parsed.options.phonesPort = port;
    }
    parsed.options.kiosk = parser.isSet(kiosk);
    if (parser.isSet(scoresDatabase)) parsed.options.scoresDatabase = parser.value(scoresDatabase);
    parsed.options.fullScreen = parser.isSet(fullScreen) || parsed.options.kiosk;
    return parsed;
}

bool ProgramOptions::asksForHelp(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1))
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help") ||
            argument == QLatin1String("--help-all") || argument == QLatin1String("-?"))
            return true;
    return false;
}
